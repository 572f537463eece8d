// The navigation family. The plain operations initialise the nodes they reach (and create
// the children of a node that may have some before following them); the Raw variants
// never call the owner, for loops that must not trigger events.
#include "treeview/LazyTreeAssert.h"
#include "treeview/LazyTrees.h"

namespace {
constexpr const char* kNotRoot = "Node must not be the hidden root node.";

// Walk helpers shared by the plain and Raw variants: with `init` off they change nothing.
struct Walker {
  TBaseLazyTree* tree;
  PLazyNode root;
  bool init;

  PLazyNode Ready(PLazyNode node) const {
    if (init && node && node != root && !node->Has(nsInitialized)) tree->InitializeNode(node);
    return node;
  }
  void Children(PLazyNode node) const {
    if (init && node != root && node->Has(nsHasChildren) && node->ChildCount == 0) tree->InitializeChildren(node);
  }
  PLazyNode Visible(PLazyNode node) const { return node && Ready(node)->Has(nsVisible) ? node : nullptr; }
  PLazyNode FirstVisibleChild(PLazyNode node) const {
    Children(node);
    for (PLazyNode run = node->FirstChild; run; run = run->NextSibling)
      if (Visible(run)) return run;
    return nullptr;
  }
  PLazyNode LastVisibleChild(PLazyNode node) const {
    Children(node);
    for (PLazyNode run = node->LastChild; run; run = run->PrevSibling)
      if (Visible(run)) return run;
    return nullptr;
  }
  // Node itself or its deepest last visible descendant along expanded nodes.
  PLazyNode DeepestLastVisible(PLazyNode node) const {
    while (node == root || node->Has(nsExpanded)) {
      PLazyNode child = LastVisibleChild(node);
      if (!child) break;
      node = child;
    }
    return node;
  }
  PLazyNode DeepestLast(PLazyNode node) const {
    for (;;) {
      Ready(node);
      Children(node);
      if (!node->LastChild) return node;
      node = node->LastChild;
    }
  }
  PLazyNode Next(PLazyNode node) const {
    Ready(node);
    Children(node);
    if (node->FirstChild) return Ready(node->FirstChild);
    while (!node->NextSibling) {
      node = node->Parent;
      if (node == root) return nullptr;
    }
    return Ready(node->NextSibling);
  }
  PLazyNode Previous(PLazyNode node) const {
    if (node->PrevSibling) return Ready(DeepestLast(node->PrevSibling));
    return node->Parent == root ? nullptr : Ready(node->Parent);
  }
  // A node that is not in view stands for the outermost ancestor whose parent shows it:
  // display order continues from there without entering its children.
  PLazyNode ShownLevel(PLazyNode node, bool& inView) const {
    inView = tree->IsNodeInView(node);
    if (!inView)
      while (node->Parent != root && !(node->Parent->Has(nsExpanded) && tree->IsNodeInView(node->Parent)))
        node = node->Parent;
    return node;
  }
  PLazyNode NextVisible(PLazyNode node) const {
    bool inView;
    node = ShownLevel(node, inView);
    if (inView && node->Has(nsExpanded)) {
      Ready(node);
      if (PLazyNode child = FirstVisibleChild(node)) return child;
    }
    for (;;) {
      for (PLazyNode run = node->NextSibling; run; run = run->NextSibling)
        if (Visible(run)) return run;
      node = node->Parent;
      if (node == root) return nullptr;
    }
  }
  PLazyNode PreviousVisible(PLazyNode node) const {
    bool inView;
    PLazyNode level = ShownLevel(node, inView);
    // Inside a collapsed node in view, that node is the row just above.
    if (level != node && level->Has(nsVisible)) return Ready(level);
    node = level;
    for (PLazyNode run = node->PrevSibling; run; run = run->PrevSibling)
      if (Visible(run)) return DeepestLastVisible(run);
    return node->Parent == root ? nullptr : Ready(node->Parent);
  }
};
}  // namespace

#define PLAIN Walker{this, RootNode(), true}
#define RAW Walker{const_cast<TBaseLazyTree*>(this), RootNode(), false}

PLazyNode TBaseLazyTree::GetFirst() { return PLAIN.Ready(RootNode()->FirstChild); }
PLazyNode TBaseLazyTree::GetFirstRaw() const { return RootNode()->FirstChild; }

PLazyNode TBaseLazyTree::GetFirstInitializedNode() const {
  PLazyNode run = RootNode()->FirstChild;
  while (run && !run->Has(nsInitialized)) run = GetNextRaw(run);
  return run;
}

PLazyNode TBaseLazyTree::GetNext(PLazyNode node) {
  if (!node || !LazyTreeCheck(node != RootNode(), kNotRoot)) return nullptr;
  return PLAIN.Next(node);
}

PLazyNode TBaseLazyTree::GetNextRaw(PLazyNode node) const {
  if (!node || !LazyTreeCheck(node != RootNode(), kNotRoot)) return nullptr;
  return RAW.Next(node);
}

PLazyNode TBaseLazyTree::GetNextInitializedNode(PLazyNode node) const {
  do node = GetNextRaw(node);
  while (node && !node->Has(nsInitialized));
  return node;
}

PLazyNode TBaseLazyTree::GetPrevious(PLazyNode node) {
  if (!node || !LazyTreeCheck(node != RootNode(), kNotRoot)) return nullptr;
  LazyTreeCheck(node->Has(nsInitialized), "Node must already be initialized.");
  return PLAIN.Previous(node);
}

PLazyNode TBaseLazyTree::GetPreviousRaw(PLazyNode node) const {
  if (!node || !LazyTreeCheck(node != RootNode(), kNotRoot)) return nullptr;
  return RAW.Previous(node);
}

PLazyNode TBaseLazyTree::GetLast(PLazyNode node) {
  PLazyNode last = PLAIN.DeepestLast(node ? node : RootNode());
  return last == RootNode() ? nullptr : last;
}

PLazyNode TBaseLazyTree::GetLastRaw(PLazyNode node) const {
  PLazyNode last = RAW.DeepestLast(node ? node : RootNode());
  return last == RootNode() ? nullptr : last;
}

PLazyNode TBaseLazyTree::GetFirstChildNode(PLazyNode node) {
  if (!node) node = RootNode();
  PLAIN.Ready(node);
  PLAIN.Children(node);
  return PLAIN.Ready(node->FirstChild);
}

PLazyNode TBaseLazyTree::GetLastChildNode(PLazyNode node) {
  if (!node) node = RootNode();
  PLAIN.Ready(node);
  PLAIN.Children(node);
  return PLAIN.Ready(node->LastChild);
}

PLazyNode TBaseLazyTree::GetLastChildRaw(PLazyNode node) const {
  if (!node) node = RootNode();
  return node->Has(nsHasChildren) ? node->LastChild : nullptr;
}

PLazyNode TBaseLazyTree::GetNextSiblingNode(PLazyNode node) {
  if (!node || !LazyTreeCheck(node != RootNode(), kNotRoot)) return nullptr;
  return PLAIN.Ready(node->NextSibling);
}

PLazyNode TBaseLazyTree::GetPreviousSiblingNode(PLazyNode node) {
  if (!node || !LazyTreeCheck(node != RootNode(), kNotRoot)) return nullptr;
  return PLAIN.Ready(node->PrevSibling);
}

PLazyNode TBaseLazyTree::GetFirstVisible() { return PLAIN.FirstVisibleChild(RootNode()); }
PLazyNode TBaseLazyTree::GetFirstVisibleRaw() const { return RAW.FirstVisibleChild(RootNode()); }

PLazyNode TBaseLazyTree::GetNextVisible(PLazyNode node) {
  if (!node || !LazyTreeCheck(node != RootNode(), kNotRoot)) return nullptr;
  return PLAIN.NextVisible(node);
}

PLazyNode TBaseLazyTree::GetNextVisibleRaw(PLazyNode node) const {
  if (!node || !LazyTreeCheck(node != RootNode(), kNotRoot)) return nullptr;
  return RAW.NextVisible(node);
}

PLazyNode TBaseLazyTree::GetPreviousVisibleNode(PLazyNode node) {
  if (!node || !LazyTreeCheck(node != RootNode(), kNotRoot)) return nullptr;
  LazyTreeCheck(node->Has(nsInitialized), "Node must already be initialized.");
  return PLAIN.PreviousVisible(node);
}

PLazyNode TBaseLazyTree::GetPreviousVisibleRaw(PLazyNode node) const {
  if (!node || !LazyTreeCheck(node != RootNode(), kNotRoot)) return nullptr;
  return RAW.PreviousVisible(node);
}

PLazyNode TBaseLazyTree::GetLastVisibleNode(PLazyNode node) {
  PLazyNode last = PLAIN.DeepestLastVisible(node ? node : RootNode());
  return last == RootNode() ? nullptr : last;
}

PLazyNode TBaseLazyTree::GetLastVisibleRaw(PLazyNode node) const {
  PLazyNode last = RAW.DeepestLastVisible(node ? node : RootNode());
  return last == RootNode() ? nullptr : last;
}

PLazyNode TBaseLazyTree::GetFirstVisibleChildNode(PLazyNode node) { return PLAIN.FirstVisibleChild(node ? node : RootNode()); }
PLazyNode TBaseLazyTree::GetLastVisibleChildRaw(PLazyNode node) const { return RAW.LastVisibleChild(node ? node : RootNode()); }

PLazyNode TBaseLazyTree::GetNextVisibleSiblingNode(PLazyNode node) {
  if (!LazyTreeCheck(IsRealNode(node), "Invalid parameter.")) return nullptr;
  for (PLazyNode run = node->NextSibling; run; run = run->NextSibling)
    if (PLAIN.Visible(run)) return run;
  return nullptr;
}

PLazyNode TBaseLazyTree::GetPreviousVisibleSiblingNode(PLazyNode node) {
  if (!LazyTreeCheck(IsRealNode(node), "Invalid parameter.")) return nullptr;
  for (PLazyNode run = node->PrevSibling; run; run = run->PrevSibling)
    if (PLAIN.Visible(run)) return run;
  return nullptr;
}

PLazyNode TBaseLazyTree::GetPreviousVisibleSiblingRaw(PLazyNode node) const {
  if (!LazyTreeCheck(IsRealNode(node), "Invalid parameter.")) return nullptr;
  for (PLazyNode run = node->PrevSibling; run; run = run->PrevSibling)
    if (run->Has(nsVisible)) return run;
  return nullptr;
}

PLazyNode TBaseLazyTree::GetNearestShownAncestor(PLazyNode node) const {
  if (!LazyTreeCheck(node != nullptr, "Node must not be nil.")) return nullptr;
  for (PLazyNode run = node->Parent; run && run != RootNode(); run = run->Parent)
    if (IsNodeInView(run)) return run;
  return nullptr;
}

#undef PLAIN
#undef RAW

// ---- Position and level ---------------------------------------------------------------

PLazyNode TBaseLazyTree::NodeAtPosition(int y, bool relative, int* nodeTop) {
  if (relative) y -= offsetY_;
  if (y < 0) y = 0;
  std::int64_t top = 0;
  PLazyNode run = RootNode()->FirstChild;
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
    while (!run->NextSibling && run->Parent != RootNode()) run = run->Parent;
    run = run->NextSibling;
  }
  if (nodeTop) *nodeTop = run ? static_cast<int>(top) : 0;
  return run;
}

int TBaseLazyTree::NodeTop(PLazyNode node) const {
  if (!IsRealNode(node) || !IsNodeInView(node)) return -1;
  if (states_.Contains(tsUseCache))
    if (const int top = NodeTopFromCache(node); top >= 0) return top;
  std::int64_t top = 0;
  for (PLazyNode run = node; run != RootNode(); run = run->Parent) {
    for (PLazyNode sibling = run->PrevSibling; sibling; sibling = sibling->PrevSibling)
      if (sibling->Has(nsVisible)) top += sibling->TotalHeight;
    if (run->Parent != RootNode()) top += run->Parent->NodeHeight;
  }
  return static_cast<int>(top);
}
