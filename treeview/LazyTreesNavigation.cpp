// The navigation family. The plain operations initialise the nodes they reach (and create
// the children of a node that may have some before following them); the Raw variants
// never call the owner, for loops that must not trigger events. Row positions
// (NodeAtPosition, NodeTop) are the layouter's.
#include "treeview/LazyNodeWalker.h"
#include "treeview/LazyTreeAssert.h"
#include "treeview/LazyTrees.h"

namespace {
constexpr const char* kNotRoot = "Node must not be the hidden root node.";

// The plain navigation initialises what it reaches through the control.
class PlainWalker final : TNodeReadiness, public TLazyNodeWalker {
public:
  PlainWalker(TBaseLazyTree* tree, const TLazyNodeStore& store) : TLazyNodeWalker(store, this), tree_(tree) {}

private:
  void InitializeNode(PLazyNode node) override { tree_->InitializeNode(node); }
  void InitializeChildren(PLazyNode node) override { tree_->InitializeChildren(node); }
  TBaseLazyTree* tree_;
};
}  // namespace

#define PLAIN PlainWalker(this, store_)
#define RAW TLazyNodeWalker(store_)

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
