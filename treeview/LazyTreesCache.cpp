// The tree's side of the position cache: halting and restarting its validation, the
// worker's build step, the two lookups and the walks that finish a lookup from its entry.
//
// States: a structural change halts first (tsStopValidation in, tsUseCache out, and a
// running walk waited for), then invalidates (tsValidationNeeded in) and, outside an
// update, restarts: the tree is queued and the worker reports tsValidating, then either
// tsUseCache (complete) or nothing new (stopped), leaving tsValidating and
// tsStopValidation. Costs: a lookup is a binary search over one entry per 2000 rows plus
// at most 2000 forward steps (whole subtrees are stepped over by their total height).
#include "treeview/LazyTreeCache.h"
#include "treeview/LazyTreeWorker.h"
#include "treeview/LazyTrees.h"

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

}  // namespace

// ---- Halting, invalidating, restarting --------------------------------------------------

void TBaseLazyTree::HaltCacheValidation() {
  // Whatever the worker reports from here on is about a structure that is about to change.
  ++cache_->generation;
  cache_->stop.store(true, std::memory_order_relaxed);
  DoStateChange({tsStopValidation}, {tsUseCache});
  TWorkerThread* worker = WorkerThread();
  const bool halted = worker && worker->HaltTree(this);
  // A report that would have left tsValidating is now stale: leave it here.
  DoStateChange(halted ? TLazyTreeStates{tsValidationNeeded} : TLazyTreeStates{}, {tsValidating});
}

void TBaseLazyTree::RestartCacheValidation() {
  HaltCacheValidation();
  if (destroying_) return;
  if (!states_.Contains(tsValidationNeeded)) {
    // Halted, but nothing changed since the last complete build: its entries still hold.
    if (cache_->complete) DoStateChange({tsUseCache}, {tsStopValidation});
    return;
  }
  if (CacheEntryCount(VisibleCount()) == 0) {
    // The worker would only empty the cache and report an incomplete build: the tree
    // stays in tsValidationNeeded and its lookups walk from the first row.
    cache_->entries.clear();
    DoStateChange({}, {tsStopValidation});
    return;
  }
  if (TWorkerThread* worker = WorkerThread()) worker->QueueTree(this);
}

void TBaseLazyTree::InvalidateCache() {
  HaltCacheValidation();
  cache_->complete = false;
  DoStateChange({tsValidationNeeded}, {tsUseCache});
}

void TBaseLazyTree::StopValidation() { HaltCacheValidation(); }
void TBaseLazyTree::RestartValidation() { RestartCacheValidation(); }

void TBaseLazyTree::ApplyCacheReport(std::uint64_t generation, TLazyTreeStates enter, TLazyTreeStates leave) {
  if (generation != cache_->generation || destroying_) return;
  if (enter.Contains(tsUseCache)) cache_->complete = true;
  DoStateChange(enter, leave);
}

const TCache& TBaseLazyTree::PositionCache() const { return cache_->entries; }

void TBaseLazyTree::SetCacheEntryObserver(std::function<void(unsigned Entry)> observer) {
  HaltCacheValidation();
  cache_->entryObserver = std::move(observer);
}

// ---- The worker's build step ------------------------------------------------------------

// The next row after node in display order, reading only links and the state word: the
// worker neither initialises nodes nor creates children.
static PLazyNode NextRowForWorker(PLazyNode node, PLazyNode root) {
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

bool TBaseLazyTree::BuildPositionCache() {
  TPositionCache& cache = *cache_;
  auto stopped = [&] { return cache.stop.load(std::memory_order_relaxed); };
  TCache& entries = cache.entries;
  entries.clear();
  if (stopped()) return false;
  const std::size_t size = CacheEntryCount(cache.visibleCount);
  if (size == 0) return false;
  entries.resize(size);
  // Heights are taken as they stand: measuring runs the owner's code, which belongs to
  // the tree's thread; painting measures and restarts the validation.
  PLazyNode node = RootNode()->FirstChild;
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
    node = NextRowForWorker(node, RootNode());
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

// ---- Lookups ----------------------------------------------------------------------------

TCacheEntry TBaseLazyTree::CacheEntryBeforeNode(PLazyNode node) const {
  const TCache& entries = cache_->entries;
  if (!states_.Contains(tsUseCache) || entries.empty() || !IsRealNode(node)) return {};
  std::ptrdiff_t low = 0, high = static_cast<std::ptrdiff_t>(entries.size()) - 1;
  while (low <= high) {
    const std::ptrdiff_t middle = (low + high) / 2;
    if (CompareTreeOrder(entries[middle].Node, node, RootNode()) > 0)
      high = middle - 1;
    else
      low = middle + 1;
  }
  return low > 0 ? entries[low - 1] : TCacheEntry{};
}

TCacheEntry TBaseLazyTree::CacheEntryAtOrAbove(std::uint32_t y) const {
  const TCache& entries = cache_->entries;
  if (!states_.Contains(tsUseCache) || entries.empty()) return {};
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

int TBaseLazyTree::NodeTopFromCache(PLazyNode node) const {
  const TCacheEntry entry = CacheEntryBeforeNode(node);
  if (!entry.Node) return -1;
  // Forward from the entry: into the subtree that holds the node, over every other one.
  std::int64_t top = entry.AbsoluteTop;
  PLazyNode run = entry.Node;
  while (run != node) {
    if (NodeHasAncestor(node, run)) {
      top += run->NodeHeight;
      run = run->FirstChild;
      continue;
    }
    if (run->Has(nsVisible)) top += run->TotalHeight;
    while (!run->NextSibling) {
      run = run->Parent;
      if (run == RootNode()) return -1;  // not after the entry: the cache does not describe this tree
    }
    run = run->NextSibling;
  }
  return static_cast<int>(top);
}
