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
#include "treeview/LazyTrees.h"

#include <algorithm>
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

}  // namespace

void TBaseLazyTree::SortSiblings(PLazyNode node, int column, bool ascending) {
  std::vector<PLazyNode> nodes;
  nodes.reserve(node->ChildCount);
  for (PLazyNode run = node->FirstChild; run; run = run->NextSibling) nodes.push_back(run);
  auto takeSecond = [this, column, ascending](PLazyNode a, PLazyNode b) {
    const int result = DoCompare(a, b, column);
    return ascending ? result > 0 : result < 0;  // only when strictly before
  };
  TArraySorter<decltype(takeSecond)> sorter{takeSecond, nodes, {}};
  sorter.merged.reserve(nodes.size());
  sorter.Sort(0, nodes.size());
  // One pass relinks and renumbers the nodes and lists those to descend into.
  PLazyNode previous = nullptr;
  std::uint32_t index = 0;
  for (PLazyNode run : nodes) {
    run->Index = index++;
    run->PrevSibling = previous;
    if (previous) previous->NextSibling = run;
    previous = run;
    if (sortDescend_ && run->Has(nsInitialized) && run->Has(nsHasChildren)) sortDescend_->append(run);
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
    SortSiblings(node, column, ascending);
    InvalidateCache();
  } else if (node->ChildCount == 1 && sortDescend_) {
    SortSiblings(node, column, ascending);  // compares nothing, only lists the child to descend into
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
