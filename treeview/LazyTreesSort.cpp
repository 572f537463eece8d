// Sorting of sibling chains through the owner's comparison.
//
// The sort is a top-down merge sort run straight on the linked chain: a run of n nodes is
// the first n div 2 sorted, then the remaining (n+1) div 2 sorted, then merged. The runs
// are taken off the front of the chain as the recursion reaches them, so finding a
// middle never walks the chain and no array of nodes is built. On equal keys the first
// run's node comes first, in both directions, so the sort is stable.
#include "treeview/LazyTrees.h"

namespace {

// A node and the data behind it span more than one cache line.
inline void Prefetch(PLazyNode node) {
  __builtin_prefetch(node);
  __builtin_prefetch(reinterpret_cast<const char*>(node) + 64);
}

template <typename Compare>
struct TChainSorter {
  bool ascending;
  Compare compare;
  QVector<PLazyNode>* descend;  // collects children with children of their own, when set
  std::uint32_t index = 0;
  PLazyNode last = nullptr;

  // The last merge puts every node in its final place: it numbers the nodes as it links
  // them instead of walking the scattered chain once more afterwards.
  void Place(PLazyNode node) {
    node->Index = index++;
    if (descend && node->Has(nsInitialized) && node->Has(nsHasChildren)) descend->append(node);
    last = node;
  }

  // Takes n nodes off the front of `stream` and returns them sorted, doubly linked.
  PLazyNode Sort(PLazyNode& stream, std::uint32_t n, bool final) {
    if (n == 1) {
      PLazyNode node = stream;
      stream = stream->NextSibling;
      node->NextSibling = nullptr;
      node->PrevSibling = nullptr;
      if (final) Place(node);
      return node;
    }
    PLazyNode first = Sort(stream, n / 2, false);
    PLazyNode second = Sort(stream, n - n / 2, false);
    return Merge(first, second, final);
  }

  PLazyNode Merge(PLazyNode a, PLazyNode b, bool final) {
    PLazyNode head = nullptr;
    PLazyNode tail = nullptr;
    auto link = [&](PLazyNode node) {
      node->PrevSibling = tail;
      if (tail)
        tail->NextSibling = node;
      else
        head = node;
      tail = node;
      if (final) Place(node);
    };
    while (a && b) {
      const int result = compare(a, b);
      // The second run's node goes first only when it is strictly before.
      const bool takeSecond = ascending ? result > 0 : result < 0;
      // The chains of large runs are scattered over memory: the node after the next one
      // is fetched while the owner compares, so the walk does not wait for it.
      if (takeSecond) {
        PLazyNode node = b;
        b = b->NextSibling;
        if (b) Prefetch(b->NextSibling);
        link(node);
      } else {
        PLazyNode node = a;
        a = a->NextSibling;
        if (a) Prefetch(a->NextSibling);
        link(node);
      }
    }
    // The rest of a run is linked within itself already.
    PLazyNode rest = a ? a : b;
    rest->PrevSibling = tail;
    tail->NextSibling = rest;
    if (final)
      for (PLazyNode run = rest; run; run = run->NextSibling) Place(run);
    return head;
  }
};

}  // namespace

void TBaseLazyTree::SortSiblings(PLazyNode node, int column, bool ascending) {
  auto compare = [this, column](PLazyNode a, PLazyNode b) { return DoCompare(a, b, column); };
  TChainSorter<decltype(compare)> sorter{ascending, compare, sortDescend_};
  PLazyNode stream = node->FirstChild;
  node->FirstChild = sorter.Sort(stream, node->ChildCount, true);
  node->LastChild = sorter.last;
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
