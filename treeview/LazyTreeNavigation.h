#pragma once
// The tree control's navigation family, as a base of the control that needs no widget: it
// walks a node store it does not own. The plain operations make the nodes they reach
// ready (initialised, children created when a node may have some) through the control's
// readiness; the Raw variants never call it, for loops that must not trigger owner events.
// Row positions (NodeAtPosition, NodeTop) stay with the control and its layouter.
#include "treeview/LazyNodeStore.h"

class TNodeReadiness;
class TLazyNodeWalker;
class TLazySelection;

class TLazyTreeNavigation {
public:
  TLazyTreeNavigation(const TLazyTreeNavigation&) = delete;
  TLazyTreeNavigation& operator=(const TLazyTreeNavigation&) = delete;

  PLazyNode GetFirst();
  PLazyNode GetFirstRaw() const;
  PLazyNode GetFirstInitializedNode() const;
  PLazyNode GetNext(PLazyNode Node);
  PLazyNode GetNextRaw(PLazyNode Node) const;
  PLazyNode GetNextInitializedNode(PLazyNode Node) const;
  PLazyNode GetPrevious(PLazyNode Node);
  PLazyNode GetPreviousRaw(PLazyNode Node) const;
  PLazyNode GetLast(PLazyNode Node = nullptr);
  PLazyNode GetLastRaw(PLazyNode Node = nullptr) const;
  PLazyNode GetFirstChildNode(PLazyNode Node);
  PLazyNode GetLastChildNode(PLazyNode Node);
  PLazyNode GetLastChildRaw(PLazyNode Node) const;
  PLazyNode GetNextSiblingNode(PLazyNode Node);
  PLazyNode GetPreviousSiblingNode(PLazyNode Node);
  PLazyNode GetFirstVisible();
  PLazyNode GetFirstVisibleRaw() const;
  PLazyNode GetNextVisible(PLazyNode Node);
  PLazyNode GetNextVisibleRaw(PLazyNode Node) const;
  PLazyNode GetPreviousVisibleNode(PLazyNode Node);
  PLazyNode GetPreviousVisibleRaw(PLazyNode Node) const;
  PLazyNode GetLastVisibleNode(PLazyNode Node = nullptr);
  PLazyNode GetLastVisibleRaw(PLazyNode Node = nullptr) const;
  PLazyNode GetFirstVisibleChildNode(PLazyNode Node);
  PLazyNode GetLastVisibleChildRaw(PLazyNode Node) const;
  PLazyNode GetNextVisibleSiblingNode(PLazyNode Node);
  PLazyNode GetPreviousVisibleSiblingNode(PLazyNode Node);
  PLazyNode GetPreviousVisibleSiblingRaw(PLazyNode Node) const;
  // Selected nodes in tree order (walked, so they are made ready like GetNext's).
  PLazyNode GetFirstSelectedNode();
  PLazyNode GetNextSelectedNode(PLazyNode Node);
  PLazyNode GetNearestShownAncestor(PLazyNode Node) const;
  // A node is in view when it and every ancestor below the root are visible and every
  // ancestor is expanded. O(depth).
  bool IsNodeInView(PLazyNode Node) const { return navStore_->IsNodeInView(Node); }
  unsigned LevelOfNode(PLazyNode Node) const { return navStore_->LevelOfNode(Node); }
  bool NodeHasAncestor(PLazyNode Node, PLazyNode PotentialParent) const {
    return TLazyNodeStore::NodeHasAncestor(Node, PotentialParent);
  }

protected:
  TLazyTreeNavigation() = default;
  ~TLazyTreeNavigation() = default;
  // Once, before the first navigation; all three outlive this object's use.
  void AttachNavigation(const TLazyNodeStore& Store, TNodeReadiness& Readiness, const TLazySelection& Selection);

private:
  // A walk that makes what it reaches ready, and one that only reads.
  TLazyNodeWalker PlainWalk() const;
  TLazyNodeWalker RawWalk() const;
  PLazyNode HiddenRoot() const { return navStore_->Root(); }

  const TLazyNodeStore* navStore_ = nullptr;
  TNodeReadiness* navReadiness_ = nullptr;
  const TLazySelection* navSelection_ = nullptr;
};
