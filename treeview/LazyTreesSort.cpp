// Sorting of sibling chains through the owner's comparison.
//
// The sort is a top-down merge sort run straight on the linked chain: a run of n nodes is
// the first n div 2 sorted, then the remaining (n+1) div 2 sorted, then merged. The runs
// are taken off the front of the chain as the recursion reaches them, so finding a
// middle never walks the chain and no array of nodes is built. On equal keys the first
// run's node comes first, in both directions, so the sort is stable.
#include "treeview/LazyTrees.h"

namespace {

template <typename Compare>
struct TChainSorter {
  bool ascending;
  Compare compare;

  // Takes n nodes off the front of `stream` and returns them sorted, linked through
  // NextSibling only (PrevSibling is rebuilt once at the end).
  PLazyNode Sort(PLazyNode& stream, std::uint32_t n) const {
    if (n == 1) {
      PLazyNode node = stream;
      stream = stream->NextSibling;
      node->NextSibling = nullptr;
      return node;
    }
    PLazyNode first = Sort(stream, n / 2);
    PLazyNode second = Sort(stream, n - n / 2);
    return Merge(first, second);
  }

  PLazyNode Merge(PLazyNode a, PLazyNode b) const {
    TLazyNode head{};
    PLazyNode tail = &head;
    while (a && b) {
      const int result = compare(a, b);
      // The second run's node goes first only when it is strictly before.
      const bool takeSecond = ascending ? result > 0 : result < 0;
      if (takeSecond) {
        tail->NextSibling = b;
        b = b->NextSibling;
      } else {
        tail->NextSibling = a;
        a = a->NextSibling;
      }
      tail = tail->NextSibling;
    }
    tail->NextSibling = a ? a : b;
    return head.NextSibling;
  }
};

}  // namespace

void TBaseLazyTree::SortSiblings(PLazyNode node, int column, bool ascending) {
  auto compare = [this, column](PLazyNode a, PLazyNode b) { return DoCompare(a, b, column); };
  TChainSorter<decltype(compare)> sorter{ascending, compare};
  PLazyNode stream = node->FirstChild;
  PLazyNode sorted = sorter.Sort(stream, node->ChildCount);
  node->FirstChild = sorted;
  PLazyNode previous = nullptr;
  std::uint32_t index = 0;
  for (PLazyNode run = sorted; run; run = run->NextSibling) {
    run->PrevSibling = previous;
    run->Index = index++;
    previous = run;
  }
  node->LastChild = previous;
}

void TBaseLazyTree::SortChildren(PLazyNode node, int column, bool ascending, bool doInit) {
  StopValidation();
  if (states_.Contains(tsEditPending)) {
    StopTimer(EditTimer);
    DoStateChange({}, {tsEditPending});
  }
  if (IsEditing() && !EndEditNode()) return;
  if (!node) node = root_;
  if (!node->Has(nsHasChildren)) return;
  if (doInit) {
    if (node->ChildCount == 0) InitializeChildren(node);
    for (PLazyNode run = node->FirstChild; run; run = run->NextSibling)
      if (!run->Has(nsInitialized)) InitializeNode(run);
  }
  if (node->ChildCount > 1) {
    SortSiblings(node, column, ascending);
    InvalidateCache();
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
    QVector<PLazyNode> pending{root_};
    while (!pending.isEmpty()) {
      PLazyNode node = pending.takeLast();
      SortChildren(node, column, ascending, doInit);
      for (PLazyNode child = node->LastChild; child; child = child->PrevSibling) {
        if (doInit && !child->Has(nsInitialized)) InitializeNode(child);
        if (child->Has(nsInitialized) && child->Has(nsHasChildren)) pending.append(child);
      }
    }
  }
  InvalidateCache();
  --updateCount_;
  if (updateCount_ == 0) {
    RestartValidation();
    InvalidateTree();
  }
}
