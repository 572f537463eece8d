// Sorting of sibling chains through the owner's comparison.
//
// The children are gathered into an array of node pointers, sorted there and relinked
// once in their new order: merging in an array reads the pointers from contiguous memory
// instead of chasing sibling links scattered over the pool. The sort is a top-down merge
// sort (a run of n is the first n div 2 sorted, then the remaining (n+1) div 2, then
// merged), so the owner is asked the same questions in the same order as when the chain
// itself was merged, and any answers, even inconsistent ones, keep every node in the
// array. On equal keys the first run's node comes first, in both directions: the sort is
// stable.
//
// When the owner keeps a number per node that its comparison orders by first
// (OnGetSortKey), the nodes are put in the order of those numbers by a radix sort and the
// owner compares only nodes with equal numbers, the same way as above within each run:
// the result is the order the comparison alone gives, in linear time.
#include "treeview/LazyTrees.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace {

// A node and the data behind it span more than one cache line.
inline void Prefetch(PLazyNode node) {
  __builtin_prefetch(node);
  __builtin_prefetch(reinterpret_cast<const char*>(node) + 64);
}

constexpr std::size_t kAhead = 8;

template <typename TakeSecond>
struct TArraySorter {
  TakeSecond takeSecond;  // whether b, of the later run, goes before a, of the earlier one
  std::vector<PLazyNode>& nodes;
  std::vector<PLazyNode> merged;

  void Sort(std::size_t first, std::size_t n) {
    if (n < 2) return;
    const std::size_t half = n / 2;
    Sort(first, half);
    Sort(first + half, n - half);
    Merge(first, first + half, first + n);
  }

  void Merge(std::size_t first, std::size_t middle, std::size_t end) {
    merged.clear();
    std::size_t a = first, b = middle;
    for (std::size_t i = 1; i <= kAhead; ++i) {
      if (a + i < middle) Prefetch(nodes[a + i]);
      if (b + i < end) Prefetch(nodes[b + i]);
    }
    while (a < middle && b < end) {
      // The nodes lie scattered over the pool: the one after the next of each run is
      // fetched while the owner compares, so the merge does not wait for it.
      if (takeSecond(nodes[a], nodes[b])) {
        merged.push_back(nodes[b++]);
        if (b + kAhead < end) Prefetch(nodes[b + kAhead]);
      } else {
        merged.push_back(nodes[a++]);
        if (a + kAhead < middle) Prefetch(nodes[a + kAhead]);
      }
    }
    // What remains of the later run is in place already.
    merged.insert(merged.end(), nodes.begin() + static_cast<std::ptrdiff_t>(a),
                  nodes.begin() + static_cast<std::ptrdiff_t>(middle));
    std::copy(merged.begin(), merged.end(), nodes.begin() + static_cast<std::ptrdiff_t>(first));
  }
};

struct TKeyedNode {
  std::uint64_t Key;
  PLazyNode Node;
};

// Stable: a least-significant-digit radix sort, sixteen bits a pass; a pass whose digit
// is the same for every node moves nothing and is skipped.
void SortByKey(std::vector<TKeyedNode>& items) {
  if (items.size() < 256) {
    std::stable_sort(items.begin(), items.end(), [](const TKeyedNode& a, const TKeyedNode& b) { return a.Key < b.Key; });
    return;
  }
  std::vector<TKeyedNode> buffer(items.size());
  std::vector<std::size_t> starts(1u << 16);
  for (int shift = 0; shift < 64; shift += 16) {
    std::fill(starts.begin(), starts.end(), 0);
    for (const TKeyedNode& item : items) ++starts[(item.Key >> shift) & 0xFFFF];
    if (starts[(items.front().Key >> shift) & 0xFFFF] == items.size()) continue;
    std::size_t start = 0;
    for (std::size_t& count : starts) start += std::exchange(count, start);
    for (const TKeyedNode& item : items) buffer[starts[(item.Key >> shift) & 0xFFFF]++] = item;
    items.swap(buffer);
  }
}

// Puts the nodes in the order of the owner's sort numbers and lists the runs of equal
// numbers (first, count); false, leaving the nodes alone, when a node has none.
template <typename GetKey>
bool OrderByKeys(std::vector<PLazyNode>& nodes, bool ascending, GetKey getKey,
                 std::vector<std::pair<std::size_t, std::size_t>>& equalRuns) {
  std::vector<TKeyedNode> keyed;
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    // The nodes lie scattered over the pool once sorted by something else: the owner
    // reads each one's data, so the ones a little ahead are fetched meanwhile.
    if (i + kAhead < nodes.size()) Prefetch(nodes[i + kAhead]);
    PLazyNode run = nodes[i];
    std::int64_t key = 0;
    if (!getKey(run, key)) return false;
    // Most owners keep no numbers: their sorts pay one question, not an array.
    if (keyed.empty()) keyed.reserve(nodes.size());
    // Signed numbers in unsigned order; a descending sort takes them the other way
    // round and stays stable, as the comparison sort does.
    const std::uint64_t ordered = static_cast<std::uint64_t>(key) ^ (std::uint64_t(1) << 63);
    keyed.push_back({ascending ? ordered : ~ordered, run});
  }
  SortByKey(keyed);
  for (std::size_t i = 0, first = 0; i < keyed.size(); ++i) {
    nodes[i] = keyed[i].Node;
    if (i + 1 == keyed.size() || keyed[i + 1].Key != keyed[i].Key) {
      if (i > first) equalRuns.emplace_back(first, i + 1 - first);
      first = i + 1;
    }
  }
  return true;
}

}  // namespace

// One sibling chain in the owner's order, relinked and renumbered.
struct TBaseLazyTree::TSortSteps {
  static void SortSiblings(TBaseLazyTree& t, PLazyNode node, int column, bool ascending);
};

void TBaseLazyTree::TSortSteps::SortSiblings(TBaseLazyTree& t, PLazyNode node, int column, bool ascending) {
  std::vector<PLazyNode> nodes;
  nodes.reserve(node->ChildCount);
  for (PLazyNode run = node->FirstChild; run; run = run->NextSibling) nodes.push_back(run);
  auto takeSecond = [&t, column, ascending](PLazyNode a, PLazyNode b) {
    const int result = t.DoCompare(a, b, column);
    return ascending ? result > 0 : result < 0;  // only when strictly before
  };
  TArraySorter<decltype(takeSecond)> sorter{takeSecond, nodes, {}};
  std::vector<std::pair<std::size_t, std::size_t>> equalRuns;
  auto ownerKey = [&t, column](PLazyNode run, std::int64_t& key) { return t.DoGetSortKey(run, column, key); };
  if (nodes.size() > 1 && OrderByKeys(nodes, ascending, ownerKey, equalRuns)) {
    for (auto [first, count] : equalRuns) sorter.Sort(first, count);
  } else {
    sorter.merged.reserve(nodes.size());
    sorter.Sort(0, nodes.size());
  }
  // One pass relinks and renumbers the nodes and lists those to descend into.
  PLazyNode previous = nullptr;
  std::uint32_t index = 0;
  for (PLazyNode run : nodes) {
    run->Index = index++;
    run->PrevSibling = previous;
    if (previous) previous->NextSibling = run;
    previous = run;
    if (t.sortDescend_ && run->Has(nsInitialized) && run->Has(nsHasChildren)) t.sortDescend_->append(run);
  }
  if (previous) previous->NextSibling = nullptr;
  node->FirstChild = nodes.empty() ? nullptr : nodes.front();
  node->LastChild = previous;
}

void TBaseLazyTree::SortChildren(PLazyNode node, int column, bool ascending, bool doInit) {
  // The cache's worker is halted only once links are about to change, so a sort that
  // ends early leaves a valid cache in use.
  if (states_.Contains(tsEditPending)) {
    StopTimer(EditTimer);
    DoStateChange({}, {tsEditPending});
  }
  if (IsEditing() && !EndEditNode()) return;
  if (!node) node = RootNode();
  if (!node->Has(nsHasChildren)) return;
  if (doInit) {
    if (node->ChildCount == 0) InitializeChildren(node);
    for (PLazyNode run = node->FirstChild; run; run = run->NextSibling)
      if (!run->Has(nsInitialized)) InitializeNode(run);
  }
  StopValidation();  // initialising may have restarted the cache's worker; the links change now
  if (node->ChildCount > 1) {
    TSortSteps::SortSiblings(*this, node, column, ascending);
    InvalidateCache();
  } else if (node->ChildCount == 1 && sortDescend_) {
    TSortSteps::SortSiblings(*this, node, column, ascending);  // compares nothing, only lists the child to descend into
  }
  if (updateCount_ == 0) {
    RestartValidation();
    InvalidateTree();
  }
}

void TBaseLazyTree::SortTree(int column, bool ascending, bool doInit) {
  // Sorting is an update of its own: nested sorts of the levels repaint once at the end,
  // and the auto-sort at the end of an update does not start it again.
  ++updateCount_;
  if (column >= -1) {
    // An explicit stack keeps deep trees off the call stack.
    QVector<PLazyNode> pending{RootNode()};
    QVector<PLazyNode> descend;
    while (!pending.isEmpty()) {
      PLazyNode node = pending.takeLast();
      descend.clear();
      sortDescend_ = &descend;
      SortChildren(node, column, ascending, doInit);
      sortDescend_ = nullptr;
      for (qsizetype i = descend.size() - 1; i >= 0; --i) pending.append(descend[i]);
    }
  }
  InvalidateCache();
  --updateCount_;
  if (updateCount_ == 0) {
    RestartValidation();
    InvalidateTree();
  }
}
