// The navigation family over LazyNodeWalker: a walker per call, with the control's
// readiness for the plain operations and none for the Raw ones.
#include "treeview/LazyTreeNavigation.h"

#include "treeview/LazyNodeWalker.h"
#include "treeview/LazySelection.h"
#include "treeview/LazyTreeAssert.h"

namespace {
constexpr const char* kNotRoot = "Node must not be the hidden root node.";
}  // namespace

void TLazyTreeNavigation::AttachNavigation(const TLazyNodeStore& store, TNodeReadiness& readiness,
                                           const TLazySelection& selection) {
  navStore_ = &store;
  navReadiness_ = &readiness;
  navSelection_ = &selection;
}

TLazyNodeWalker TLazyTreeNavigation::PlainWalk() const { return TLazyNodeWalker(*navStore_, navReadiness_); }
TLazyNodeWalker TLazyTreeNavigation::RawWalk() const { return TLazyNodeWalker(*navStore_); }

PLazyNode TLazyTreeNavigation::GetFirst() { return PlainWalk().Ready(HiddenRoot()->FirstChild); }
PLazyNode TLazyTreeNavigation::GetFirstRaw() const { return HiddenRoot()->FirstChild; }

PLazyNode TLazyTreeNavigation::GetFirstInitializedNode() const {
  PLazyNode run = HiddenRoot()->FirstChild;
  while (run && !run->Has(nsInitialized)) run = GetNextRaw(run);
  return run;
}

PLazyNode TLazyTreeNavigation::GetNext(PLazyNode node) {
  if (!node || !LazyTreeCheck(node != HiddenRoot(), kNotRoot)) return nullptr;
  return PlainWalk().Next(node);
}

PLazyNode TLazyTreeNavigation::GetNextRaw(PLazyNode node) const {
  if (!node || !LazyTreeCheck(node != HiddenRoot(), kNotRoot)) return nullptr;
  return RawWalk().Next(node);
}

PLazyNode TLazyTreeNavigation::GetNextInitializedNode(PLazyNode node) const {
  do node = GetNextRaw(node);
  while (node && !node->Has(nsInitialized));
  return node;
}

PLazyNode TLazyTreeNavigation::GetPrevious(PLazyNode node) {
  if (!node || !LazyTreeCheck(node != HiddenRoot(), kNotRoot)) return nullptr;
  LazyTreeCheck(node->Has(nsInitialized), "Node must already be initialized.");
  return PlainWalk().Previous(node);
}

PLazyNode TLazyTreeNavigation::GetPreviousRaw(PLazyNode node) const {
  if (!node || !LazyTreeCheck(node != HiddenRoot(), kNotRoot)) return nullptr;
  return RawWalk().Previous(node);
}

PLazyNode TLazyTreeNavigation::GetLast(PLazyNode node) {
  PLazyNode last = PlainWalk().DeepestLast(node ? node : HiddenRoot());
  return last == HiddenRoot() ? nullptr : last;
}

PLazyNode TLazyTreeNavigation::GetLastRaw(PLazyNode node) const {
  PLazyNode last = RawWalk().DeepestLast(node ? node : HiddenRoot());
  return last == HiddenRoot() ? nullptr : last;
}

PLazyNode TLazyTreeNavigation::GetFirstChildNode(PLazyNode node) {
  if (!node) node = HiddenRoot();
  const TLazyNodeWalker walk = PlainWalk();
  walk.Ready(node);
  walk.Children(node);
  return walk.Ready(node->FirstChild);
}

PLazyNode TLazyTreeNavigation::GetLastChildNode(PLazyNode node) {
  if (!node) node = HiddenRoot();
  const TLazyNodeWalker walk = PlainWalk();
  walk.Ready(node);
  walk.Children(node);
  return walk.Ready(node->LastChild);
}

PLazyNode TLazyTreeNavigation::GetLastChildRaw(PLazyNode node) const {
  if (!node) node = HiddenRoot();
  return node->Has(nsHasChildren) ? node->LastChild : nullptr;
}

PLazyNode TLazyTreeNavigation::GetNextSiblingNode(PLazyNode node) {
  if (!node || !LazyTreeCheck(node != HiddenRoot(), kNotRoot)) return nullptr;
  return PlainWalk().Ready(node->NextSibling);
}

PLazyNode TLazyTreeNavigation::GetPreviousSiblingNode(PLazyNode node) {
  if (!node || !LazyTreeCheck(node != HiddenRoot(), kNotRoot)) return nullptr;
  return PlainWalk().Ready(node->PrevSibling);
}

PLazyNode TLazyTreeNavigation::GetFirstVisible() { return PlainWalk().FirstVisibleChild(HiddenRoot()); }
PLazyNode TLazyTreeNavigation::GetFirstVisibleRaw() const { return RawWalk().FirstVisibleChild(HiddenRoot()); }

PLazyNode TLazyTreeNavigation::GetNextVisible(PLazyNode node) {
  if (!node || !LazyTreeCheck(node != HiddenRoot(), kNotRoot)) return nullptr;
  return PlainWalk().NextVisible(node);
}

PLazyNode TLazyTreeNavigation::GetNextVisibleRaw(PLazyNode node) const {
  if (!node || !LazyTreeCheck(node != HiddenRoot(), kNotRoot)) return nullptr;
  return RawWalk().NextVisible(node);
}

PLazyNode TLazyTreeNavigation::GetPreviousVisibleNode(PLazyNode node) {
  if (!node || !LazyTreeCheck(node != HiddenRoot(), kNotRoot)) return nullptr;
  LazyTreeCheck(node->Has(nsInitialized), "Node must already be initialized.");
  return PlainWalk().PreviousVisible(node);
}

PLazyNode TLazyTreeNavigation::GetPreviousVisibleRaw(PLazyNode node) const {
  if (!node || !LazyTreeCheck(node != HiddenRoot(), kNotRoot)) return nullptr;
  return RawWalk().PreviousVisible(node);
}

PLazyNode TLazyTreeNavigation::GetLastVisibleNode(PLazyNode node) {
  PLazyNode last = PlainWalk().DeepestLastVisible(node ? node : HiddenRoot());
  return last == HiddenRoot() ? nullptr : last;
}

PLazyNode TLazyTreeNavigation::GetLastVisibleRaw(PLazyNode node) const {
  PLazyNode last = RawWalk().DeepestLastVisible(node ? node : HiddenRoot());
  return last == HiddenRoot() ? nullptr : last;
}

PLazyNode TLazyTreeNavigation::GetFirstVisibleChildNode(PLazyNode node) {
  return PlainWalk().FirstVisibleChild(node ? node : HiddenRoot());
}

PLazyNode TLazyTreeNavigation::GetLastVisibleChildRaw(PLazyNode node) const {
  return RawWalk().LastVisibleChild(node ? node : HiddenRoot());
}

PLazyNode TLazyTreeNavigation::GetNextVisibleSiblingNode(PLazyNode node) {
  if (!LazyTreeCheck(navStore_->IsRealNode(node), "Invalid parameter.")) return nullptr;
  const TLazyNodeWalker walk = PlainWalk();
  for (PLazyNode run = node->NextSibling; run; run = run->NextSibling)
    if (walk.Visible(run)) return run;
  return nullptr;
}

PLazyNode TLazyTreeNavigation::GetPreviousVisibleSiblingNode(PLazyNode node) {
  if (!LazyTreeCheck(navStore_->IsRealNode(node), "Invalid parameter.")) return nullptr;
  const TLazyNodeWalker walk = PlainWalk();
  for (PLazyNode run = node->PrevSibling; run; run = run->PrevSibling)
    if (walk.Visible(run)) return run;
  return nullptr;
}

PLazyNode TLazyTreeNavigation::GetPreviousVisibleSiblingRaw(PLazyNode node) const {
  if (!LazyTreeCheck(navStore_->IsRealNode(node), "Invalid parameter.")) return nullptr;
  for (PLazyNode run = node->PrevSibling; run; run = run->PrevSibling)
    if (run->Has(nsVisible)) return run;
  return nullptr;
}

PLazyNode TLazyTreeNavigation::GetFirstSelectedNode() {
  if (navSelection_->IsEmpty()) return nullptr;
  return GetNextSelectedNode(nullptr);
}

PLazyNode TLazyTreeNavigation::GetNextSelectedNode(PLazyNode node) {
  for (PLazyNode run = node ? GetNext(node) : GetFirst(); run; run = GetNext(run))
    if (run->Has(nsSelected)) return run;
  return nullptr;
}

PLazyNode TLazyTreeNavigation::GetNearestShownAncestor(PLazyNode node) const {
  if (!LazyTreeCheck(node != nullptr, "Node must not be nil.")) return nullptr;
  for (PLazyNode run = node->Parent; run && run != HiddenRoot(); run = run->Parent)
    if (IsNodeInView(run)) return run;
  return nullptr;
}

