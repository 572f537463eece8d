// The layouter: measuring, row positions, and the tree's side of the position cache
// (halting and restarting its validation, the worker's build step, the two lookups and
// the walks that finish a lookup from its entry). A lookup through the cache is a binary
// search over one entry per 2000 rows plus at most 2000 forward steps (whole subtrees
// are stepped over by their total height).
#include "treeview/LazyTreeLayouter.h"

#include "treeview/LazyTreeWorker.h"

#include <algorithm>

namespace {

constexpr std::uint16_t kVisibleBit = 1u << nsVisible;
constexpr std::uint16_t kExpandedBit = 1u << nsExpanded;

bool VisibleForWorker(PLazyNode node) { return (node->LoadStates() & kVisibleBit) != 0; }

// Levels below the hidden root (top-level nodes are at 1).
unsigned Depth(PLazyNode node, PLazyNode root) {
  unsigned depth = 0;
  for (; node != root; node = node->Parent) ++depth;
  return depth;
}

// Negative when a comes before b in tree order, 0 for the same node, positive after. An
// ancestor comes before its descendants; siblings compare by their index.
int CompareTreeOrder(PLazyNode a, PLazyNode b, PLazyNode root) {
  if (a == b) return 0;
  unsigned da = Depth(a, root), db = Depth(b, root);
  PLazyNode ra = a, rb = b;
  while (da > db) ra = ra->Parent, --da;
  while (db > da) rb = rb->Parent, --db;
  if (ra == rb) return a == ra ? -1 : 1;  // one is the other's ancestor
  while (ra->Parent != rb->Parent) ra = ra->Parent, rb = rb->Parent;
  return ra->Index < rb->Index ? -1 : 1;
}

// The next row after node in display order, reading only links and the state word: the
// worker neither initialises nodes nor creates children.
PLazyNode NextRowForWorker(PLazyNode node, PLazyNode root) {
  if ((node->LoadStates() & kExpandedBit) != 0)
    for (PLazyNode child = node->FirstChild; child; child = child->NextSibling)
      if (VisibleForWorker(child)) return child;
  for (;;) {
    for (PLazyNode sibling = node->NextSibling; sibling; sibling = sibling->NextSibling)
      if (VisibleForWorker(sibling)) return sibling;
    node = node->Parent;
    if (node == root) return nullptr;
  }
}

}  // namespace

TLazyTreeLayouter::TLazyTreeLayouter(TLazyNodeStore& store, TLazyTreeLayoutHost& host) : store_(store), host_(host) {
  AcquireWorker();
}

TLazyTreeLayouter::~TLazyTreeLayouter() { ReleaseWorker(this); }

// ---- Heights ------------------------------------------------------------------------------

void TLazyTreeLayouter::Measure(PLazyNode node) {
  if (node->Has(nsHeightMeasured)) return;
  // Marked first: an owner that asks for the node's height while measuring it gets the
  // height as it stands instead of measuring again.
  node->Include(nsHeightMeasured);
  int height = node->NodeHeight;
  host_.MeasureItem(node, height);
  if (height != node->NodeHeight) host_.ApplyMeasuredHeight(node, height);
}

void TLazyTreeLayouter::MeasureDetached(PLazyNode node) {
  int height = node->NodeHeight;
  host_.MeasureItem(node, height);
  node->NodeHeight = static_cast<std::uint16_t>(std::clamp(height, 0, 0xFFFF));
  node->TotalHeight = node->NodeHeight;
  node->Include(nsHeightMeasured);
}

void TLazyTreeLayouter::LayOutRows(int top, int bottom) {
  const TLazyNodeWalker walker(store_, &host_);
  int rowTop = 0;
  PLazyNode node = NodeAtPosition(std::max(top, 0), &rowTop);
  while (node && rowTop <= bottom) {
    walker.Ready(node);
    Measure(node);
    rowTop += node->NodeHeight;
    node = walker.NextVisible(node);
  }
}

// ---- Positions ----------------------------------------------------------------------------

PLazyNode TLazyTreeLayouter::NodeAtPosition(int y, int* nodeTop) const {
  if (y < 0) y = 0;
  const PLazyNode root = store_.Root();
  std::int64_t top = 0;
  PLazyNode run = root->FirstChild;
  // A valid position cache starts the walk at most 2000 rows above the one sought.
  if (const TCacheEntry entry = CacheEntryAtOrAbove(static_cast<std::uint32_t>(y)); entry.Node) {
    run = entry.Node;
    top = entry.AbsoluteTop;
  }
  // Whole subtrees are stepped over by their total height; only the path to the row is entered.
  while (run) {
    if (run->Has(nsVisible)) {
      if (y < top + run->TotalHeight) {
        if (y < top + run->NodeHeight || !run->FirstChild) break;
        top += run->NodeHeight;
        run = run->FirstChild;
        continue;
      }
      top += run->TotalHeight;
    }
    // Past a last sibling the rows go on below its parent (a cached start may lie deep).
    while (!run->NextSibling && run->Parent != root) run = run->Parent;
    run = run->NextSibling;
  }
  if (nodeTop) *nodeTop = run ? static_cast<int>(top) : 0;
  return run;
}

int TLazyTreeLayouter::NodeTop(PLazyNode node) const {
  if (!store_.IsRealNode(node) || !store_.IsNodeInView(node)) return -1;
  if (UsesCache())
    if (const int top = NodeTopFromCache(node); top >= 0) return top;
  const PLazyNode root = store_.Root();
  std::int64_t top = 0;
  for (PLazyNode run = node; run != root; run = run->Parent) {
    for (PLazyNode sibling = run->PrevSibling; sibling; sibling = sibling->PrevSibling)
      if (sibling->Has(nsVisible)) top += sibling->TotalHeight;
    if (run->Parent != root) top += run->Parent->NodeHeight;
  }
  return static_cast<int>(top);
}

int TLazyTreeLayouter::NodeTopFromCache(PLazyNode node) const {
  const TCacheEntry entry = CacheEntryBeforeNode(node);
  if (!entry.Node) return -1;
  // Forward from the entry: into the subtree that holds the node, over every other one.
  std::int64_t top = entry.AbsoluteTop;
  PLazyNode run = entry.Node;
  while (run != node) {
    if (TLazyNodeStore::NodeHasAncestor(node, run)) {
      top += run->NodeHeight;
      run = run->FirstChild;
      continue;
    }
    if (run->Has(nsVisible)) top += run->TotalHeight;
    while (!run->NextSibling) {
      run = run->Parent;
      if (run == store_.Root()) return -1;  // not after the entry: the cache does not describe this tree
    }
    run = run->NextSibling;
  }
  return static_cast<int>(top);
}

// ---- Halting, invalidating, restarting ----------------------------------------------------

void TLazyTreeLayouter::HaltCacheValidation() {
  // Whatever the worker reports from here on is about a structure that is about to change.
  ++cache_.generation;
  cache_.stop.store(true, std::memory_order_relaxed);
  host_.ChangeLayoutStates({tsStopValidation}, {tsUseCache});
  TWorkerThread* worker = WorkerThread();
  const bool halted = worker && worker->HaltTree(this);
  // A report that would have left tsValidating is now stale: leave it here.
  host_.ChangeLayoutStates(halted ? TLazyTreeStates{tsValidationNeeded} : TLazyTreeStates{}, {tsValidating});
}

void TLazyTreeLayouter::RestartCacheValidation() {
  HaltCacheValidation();
  if (closing_) return;
  if (!host_.LayoutStates().Contains(tsValidationNeeded)) {
    // Halted, but nothing changed since the last complete build: its entries still hold.
    if (cache_.complete) host_.ChangeLayoutStates({tsUseCache}, {tsStopValidation});
    return;
  }
  if (CacheEntryCount(VisibleCount()) == 0) {
    // The worker would only empty the cache and report an incomplete build: the tree
    // stays in tsValidationNeeded and its lookups walk from the first row.
    cache_.entries.clear();
    host_.ChangeLayoutStates({}, {tsStopValidation});
    return;
  }
  if (TWorkerThread* worker = WorkerThread()) worker->QueueTree(this);
}

void TLazyTreeLayouter::InvalidateCache() {
  HaltCacheValidation();
  cache_.complete = false;
  host_.ChangeLayoutStates({tsValidationNeeded}, {tsUseCache});
}

void TLazyTreeLayouter::ApplyCacheReport(std::uint64_t generation, TLazyTreeStates enter, TLazyTreeStates leave) {
  if (generation != cache_.generation || closing_) return;
  if (enter.Contains(tsUseCache)) cache_.complete = true;
  host_.ChangeLayoutStates(enter, leave);
}

void TLazyTreeLayouter::SetCacheEntryObserver(std::function<void(unsigned Entry)> observer) {
  HaltCacheValidation();
  cache_.entryObserver = std::move(observer);
}

// ---- The worker's build step --------------------------------------------------------------

bool TLazyTreeLayouter::BuildPositionCache() {
  TPositionCache& cache = cache_;
  auto stopped = [&] { return cache.stop.load(std::memory_order_relaxed); };
  TCache& entries = cache.entries;
  entries.clear();
  if (stopped()) return false;
  const std::size_t size = CacheEntryCount(cache.visibleCount);
  if (size == 0) return false;
  entries.resize(size);
  // Heights are taken as they stand: measuring runs the owner's code, which belongs to
  // the tree's thread; the layout pass before painting measures and restarts the validation.
  const PLazyNode root = store_.Root();
  PLazyNode node = root->FirstChild;
  while (node && !VisibleForWorker(node)) node = node->NextSibling;
  std::uint64_t top = 0;
  std::size_t written = 0;
  unsigned counted = 0;
  PLazyNode last = nullptr;
  std::uint64_t lastTop = 0;
  while (node) {
    if (stopped()) return false;
    if (counted % kCacheThreshold == 0) {
      if (written == entries.size()) break;  // the visible count promised fewer rows; lookups walk the rest
      entries[written] = {node, static_cast<std::uint32_t>(top)};
      if (cache.entryObserver) cache.entryObserver(static_cast<unsigned>(written));
      ++written;
    }
    last = node;
    lastTop = top;
    top += node->NodeHeight;
    ++counted;
    node = NextRowForWorker(node, root);
  }
  if (stopped()) return false;
  if (written == 0) {
    entries.clear();
    return false;
  }
  if (!node && written < entries.size()) {
    // The walk found fewer rows than the visible count promised: the array ends with the
    // last row and its top, so lookups of that row and below the content still work.
    if (entries[written - 1].Node != last) entries[written++] = {last, static_cast<std::uint32_t>(lastTop)};
    entries.resize(written);
  }
  return counted > 1;
}

// ---- Lookups ------------------------------------------------------------------------------

TCacheEntry TLazyTreeLayouter::CacheEntryBeforeNode(PLazyNode node) const {
  const TCache& entries = cache_.entries;
  if (!UsesCache() || entries.empty() || !store_.IsRealNode(node)) return {};
  std::ptrdiff_t low = 0, high = static_cast<std::ptrdiff_t>(entries.size()) - 1;
  while (low <= high) {
    const std::ptrdiff_t middle = (low + high) / 2;
    if (CompareTreeOrder(entries[middle].Node, node, store_.Root()) > 0)
      high = middle - 1;
    else
      low = middle + 1;
  }
  return low > 0 ? entries[low - 1] : TCacheEntry{};
}

TCacheEntry TLazyTreeLayouter::CacheEntryAtOrAbove(std::uint32_t y) const {
  const TCache& entries = cache_.entries;
  if (!UsesCache() || entries.empty()) return {};
  std::ptrdiff_t low = 0, high = static_cast<std::ptrdiff_t>(entries.size()) - 1;
  while (low <= high) {
    const std::ptrdiff_t middle = (low + high) / 2;
    if (entries[middle].AbsoluteTop > y)
      high = middle - 1;
    else
      low = middle + 1;
  }
  return low > 0 ? entries[low - 1] : TCacheEntry{};
}
