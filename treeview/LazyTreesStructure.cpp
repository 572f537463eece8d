// Node creation through the owner, child counts, insertion, deletion and moving; the blocks,
// links and running totals themselves are the node store's (LazyNodeStore).
#include "treeview/LazyTreeAssert.h"
#include "treeview/LazyTreeStream.h"
#include "treeview/LazyTreeUpdateGuard.h"
#include "treeview/LazyTrees.h"

#include <vector>

// The steps of unlinking and deleting nodes that only this file takes.
struct TBaseLazyTree::TStructureSteps {
  static void InternalDisconnectNode(TBaseLazyTree& t, PLazyNode node, bool keepFocus, bool reindex);
  static void RefuseWhileIterating(const TBaseLazyTree& t);
  static void ForgetPendingNode(TBaseLazyTree& t, PLazyNode node);
  // The steps of deleting one node around the deletion of its children: leaving the
  // selection and the references, then unlinking, OnFreeNode and freeing the block.
  static void BeginNodeDeletion(TBaseLazyTree& t, PLazyNode node);
  static void FinishNodeDeletion(TBaseLazyTree& t, PLazyNode node, bool reindex);
  // The end of DeleteNodeChildren for one node whose children are all gone.
  static void EndClearing(TBaseLazyTree& t, PLazyNode node, bool resetHasChildren);
  // Deletes every node at once, as DeleteNodeChildren of the root would with no
  // DoFreeNode to call: the tree's pointers into the nodes go, the blocks go together.
  static void DropAllNodes(TBaseLazyTree& t);
};

// ---- Blocks ---------------------------------------------------------------------------

PLazyNode TBaseLazyTree::MakeNewNode() {
  if (store_.NodeDataSize() == -1) store_.SetNodeDataSize(std::max(DoGetNodeDataSize(), 0));
  return store_.NewNode();
}

TBaseLazyTree* TBaseLazyTree::TreeFromNode(PLazyNode node) {
  if (!LazyTreeCheck(node != nullptr, "Node must not be nil.")) return nullptr;
  return static_cast<TBaseLazyTree*>(const_cast<void*>(TLazyNodeStore::OwnerOf(node)));
}

int TBaseLazyTree::ReserveInternalData(int size) { return store_.ReserveInternalData(size); }

void TBaseLazyTree::SetNodeDataSize(int value) {
  value = std::max(value, -1);
  if (value == NodeDataSize()) return;
  if (loading_) {
    store_.SetNodeDataSize(value);
    return;
  }
  const unsigned count = RootNodeCount();
  Clear();
  store_.SetNodeDataSize(value);
  if (count > 0) SetRootNodeCount(count);
}

// ---- Child counts ---------------------------------------------------------------------

unsigned TBaseLazyTree::RootNodeCount() const { return RootNode()->ChildCount; }
unsigned TBaseLazyTree::ChildCount(PLazyNode node) const { return node ? node->ChildCount : RootNode()->ChildCount; }
unsigned TBaseLazyTree::TotalCount() const { return RootNode()->TotalCount - 1; }

void TBaseLazyTree::SetRootNodeCount(unsigned value) {
  if (loading_) {
    storedRootCount_ = value;
    DoStateChange({tsNeedRootCountUpdate});
    return;
  }
  if (value == RootNode()->ChildCount) return;
  TTreeUpdateGuard update(*this);
  StopValidation();
  SetNodeChildCount(nullptr, value);
}

void TBaseLazyTree::SetNodeChildCount(PLazyNode node, unsigned newCount) {
  if (!node) node = RootNode();
  if (options_->MiscOptions().Contains(toReadOnly)) return;
  if (newCount == 0) {
    DeleteNodeChildren(node);
    return;
  }
  if (newCount == node->ChildCount) return;
  StopValidation();
  if (newCount < node->ChildCount) {
    while (node->ChildCount > newCount) DeleteNode(node->LastChild, true);
  } else {
    node->Include(nsHasChildren);
    const unsigned added = newCount - node->ChildCount;
    const bool measure = options_->MiscOptions().Contains(toVariableNodeHeight);
    std::uint32_t index = node->LastChild ? node->LastChild->Index + 1 : 0;
    std::int64_t addedHeight = 0;
    PLazyNode last = node->LastChild;
    for (unsigned i = 0; i < added; ++i) {
      PLazyNode child = MakeNewNode();
      child->Index = index++;
      child->Parent = node;
      child->PrevSibling = last;
      if (last)
        last->NextSibling = child;
      else
        node->FirstChild = child;
      last = child;
      if (measure) layouter_.MeasureDetached(child);
      addedHeight += child->NodeHeight;
    }
    node->LastChild = last;
    node->ChildCount = newCount;
    if (node->Has(nsExpanded)) store_.UpdateTotalHeight(node, static_cast<int>(addedHeight), true);
    if (store_.ChildrenShown(node)) store_.AddVisibleRows(added);
    store_.UpdateTotalCount(node, static_cast<int>(added), true);
    if (node != RootNode()) node->Exclude(nsAllChildrenHidden);
    if (options_->AutoOptions().Contains(toAutoSort) && updateCount_ == 0 && SortColumn() >= -1)
      SortChildren(node, SortColumn(), SortAscending(), true);
    InvalidateCache();
  }
  if (updateCount_ == 0) {
    RestartValidation();
    UpdateScrollBars(true);
    InvalidateTree();
  }
  StructureChange(node == RootNode() ? nullptr : node, crChildAdded);
}

// ---- Linking --------------------------------------------------------------------------

void TBaseLazyTree::InternalConnectNode(PLazyNode node, PLazyNode destination, TLTNodeAttachMode mode) {
  StopValidation();
  store_.Link(node, destination, mode);
}

void TBaseLazyTree::TStructureSteps::InternalDisconnectNode(TBaseLazyTree& t, PLazyNode node, bool keepFocus,
                                                           bool reindex) {
  if (!LazyTreeCheck(t.IsRealNode(node), "Node must neither be nil nor the root node.")) return;
  if (node == t.focusedNode_ && !keepFocus) {
    t.ChangeFocus(nullptr, false);
    t.focusedNode_ = nullptr;  // a refused edit end cannot keep a focus on a node that goes away
    t.DoFocusChange(t.focusedNode_, t.focusedColumn_);
  }
  if (node == t.selection_.Anchor()) t.selection_.SetAnchor(t.focusedNode_);
  if (node->Has(nsDeleting)) return;
  t.StopValidation();
  t.store_.Unlink(node, reindex);
}

PLazyNode TBaseLazyTree::InsertNode(PLazyNode destination, TLTNodeAttachMode mode) {
  if (mode == amNoWhere || options_->MiscOptions().Contains(toReadOnly)) return nullptr;
  if (!destination || destination == RootNode()) {
    destination = RootNode();
    if (mode == amInsertBefore) mode = amAddChildFirst;
    if (mode == amInsertAfter) mode = amAddChildLast;
  }
  PLazyNode node = MakeNewNode();
  if (options_->MiscOptions().Contains(toVariableNodeHeight)) layouter_.MeasureDetached(node);
  InternalConnectNode(node, destination, mode);
  InvalidateCache();
  if (updateCount_ == 0) {
    RestartValidation();
    UpdateScrollBars(true);
    InvalidateTree();
  }
  StructureChange(node, crNodeAdded);
  return node;
}

// ---- Deletion -------------------------------------------------------------------------

void TBaseLazyTree::TStructureSteps::RefuseWhileIterating(const TBaseLazyTree& t) {
  if (t.states_.Contains(tsIterating))
    throw ELazyTreeError(QStringLiteral("Deleting nodes during tree iteration leads to invalid pointers."),
                         hcTFTreeIterating);
}

void TBaseLazyTree::TStructureSteps::ForgetPendingNode(TBaseLazyTree& t, PLazyNode node) {
  // A pending notification must not outlive its node: a change is reported for the tree
  // as a whole, a structure change for the parent, where the change happened.
  if (t.lastChangedNode_ == node) t.lastChangedNode_ = nullptr;
  if (t.lastStructureChangeNode_ == node)
    t.lastStructureChangeNode_ = node->Parent == t.RootNode() ? nullptr : node->Parent;
  if (t.hotNode_ == node) t.hotNode_ = nullptr;
  if (t.input_->KeyCheckNode() == node) t.input_->TakeKeyCheckNode();
  if (t.animatedNode_ == node) t.animatedNode_ = nullptr;
  if (!t.drag_.selection.isEmpty()) t.drag_.selection.removeAll(node);
  if (t.drag_.dropTarget == node) {
    t.drag_.dropTarget = nullptr;
    t.drag_.dropMode = dmNowhere;
  }
  t.ForgetWorkingNode(node);
}

void TBaseLazyTree::DeleteNode(PLazyNode node, bool reindex) {
  if (!IsRealNode(node) || options_->MiscOptions().Contains(toReadOnly)) return;
  TStructureSteps::RefuseWhileIterating(*this);
  PLazyNode parent = node->Parent;
  const bool parentClearing = parent->Has(nsClearing);
  if (!parentClearing) StructureChange(parent == RootNode() ? nullptr : parent, crChildDeleted);
  TStructureSteps::BeginNodeDeletion(*this, node);
  DeleteNodeChildren(node, false);
  TStructureSteps::FinishNodeDeletion(*this, node, reindex);
  if (!parentClearing) {
    store_.UpdateHiddenChildren(parent);
    InvalidateCache();
    if (updateCount_ == 0) {
      RestartValidation();
      UpdateScrollBars(true);
      InvalidateTree();
    }
  }
}

void TBaseLazyTree::TStructureSteps::BeginNodeDeletion(TBaseLazyTree& t, PLazyNode node) {
  if (node->Has(nsSelected)) {
    if (t.updateCount_ > 0) {
      node->Exclude(nsSelected);
      t.selection_.MarkDeleted(node);
    } else {
      t.DoStateChange({tsSynchMode});
      t.RemoveFromSelection(node);
      t.DoStateChange({}, {tsSynchMode});
    }
  }
  if (t.states_.Contains(tsHint)) t.CancelHint();
  t.ForgetWorkingNode(node);  // before the focus moves: an open edit must not write into it
}

void TBaseLazyTree::TStructureSteps::FinishNodeDeletion(TBaseLazyTree& t, PLazyNode node, bool reindex) {
  InternalDisconnectNode(t, node, false, reindex);
  ForgetPendingNode(t, node);
  if (node->Has(nsInitialized) || node->Has(nsFreeNotify)) t.DoFreeNode(node);
  t.store_.FreeNode(node);
}

void TBaseLazyTree::DeleteNodeChildren(PLazyNode node, bool resetHasChildren) {
  if (!node) node = RootNode();
  if (!node->FirstChild || options_->MiscOptions().Contains(toReadOnly)) return;
  TStructureSteps::RefuseWhileIterating(*this);
  // The depth is the user's: the subtree is taken apart with a stack of the nodes whose
  // children are being deleted, not by recursion. Each node goes as DeleteNode would
  // take it, children first, from the last child to the first.
  struct Clearing {
    PLazyNode node;
    PLazyNode next;  // the child to delete next, nil when all are gone
    bool shown;
    bool resetHasChildren;
  };
  std::vector<Clearing> open;
  auto beginClearing = [&](PLazyNode n, bool reset) {
    ++updateCount_;  // a private bracket: no update events, but no repaints per child either
    StopValidation();
    n->Include(nsClearing);
    open.push_back({n, n->LastChild, !n->Has(nsDeleting) && store_.ChildrenShown(n), reset});
  };
  beginClearing(node, resetHasChildren);
  while (!open.empty()) {
    Clearing& top = open.back();
    if (PLazyNode child = top.next) {
      PLazyNode previous = child->PrevSibling;
      if (top.shown && child->Has(nsVisible)) store_.AddVisibleRows(-1 - std::int64_t(store_.CountVisibleChildren(child)));
      child->Include(nsDeleting);
      if (previous) previous->NextSibling = nullptr;
      top.next = previous;
      TStructureSteps::BeginNodeDeletion(*this, child);
      if (child->FirstChild)
        beginClearing(child, false);  // its children go first; it follows when they are gone
      else
        TStructureSteps::FinishNodeDeletion(*this, child, false);
      continue;
    }
    const Clearing done = top;
    open.pop_back();
    TStructureSteps::EndClearing(*this, done.node, done.resetHasChildren);
    if (!open.empty()) TStructureSteps::FinishNodeDeletion(*this, done.node, false);
  }
}

void TBaseLazyTree::TStructureSteps::DropAllNodes(TBaseLazyTree& t) {
  PLazyNode root = t.RootNode();
  if (!root->FirstChild) return;
  RefuseWhileIterating(t);
  ++t.updateCount_;  // the bracket DeleteNodeChildren keeps, which EndClearing closes
  t.StopValidation();
  root->Include(nsClearing);
  // What deleting the nodes one by one would leave behind, done for the few nodes the
  // tree still points at instead of for every node.
  if (t.states_.Contains(tsHint)) t.CancelHint();
  t.selection_.Clear(true);
  const PLazyNode held[] = {t.search_->LastHit(), t.input_->MouseCheckNode(), t.edit_.Node(), t.lastChangedNode_,
                            t.lastStructureChangeNode_, t.hotNode_, t.input_->KeyCheckNode(), t.animatedNode_,
                            t.drag_.dropTarget};
  for (PLazyNode node : held)
    if (t.IsRealNode(node)) ForgetPendingNode(t, node);
  t.drag_.selection.clear();
  EndClearing(t, root, true);
  t.store_.ReleaseBlocks();
}

void TBaseLazyTree::TStructureSteps::EndClearing(TBaseLazyTree& t, PLazyNode node, bool resetHasChildren) {
  node->Exclude(nsClearing);
  if (resetHasChildren) node->Exclude(nsHasChildren);
  if (node != t.RootNode()) node->Exclude(nsExpanded);
  node->ChildCount = 0;
  node->FirstChild = nullptr;
  node->LastChild = nullptr;
  if (node == t.RootNode()) {
    t.RootNode()->TotalHeight = static_cast<std::uint32_t>(t.DefaultNodeHeight());
    t.RootNode()->TotalCount = 1;
  } else if (!node->Has(nsDeleting)) {
    node->Exclude(nsAllChildrenHidden);
    t.store_.UpdateTotalHeight(node, node->NodeHeight, false);
    t.store_.UpdateTotalCount(node, 1, false);
  }
  --t.updateCount_;
  t.InvalidateCache();
  if (t.updateCount_ == 0) {
    t.RestartValidation();
    t.UpdateScrollBars(true);
    t.InvalidateTree();
  }
  if (!node->Has(nsDeleting)) t.StructureChange(node == t.RootNode() ? nullptr : node, crChildDeleted);
}

void TBaseLazyTree::DeleteSelectedItems() {
  if (selection_.IsEmpty() || options_->MiscOptions().Contains(toReadOnly)) return;
  TTreeUpdateGuard update(*this);
  const QVector<PLazyNode> nodes = SortedSelection(true);
  for (qsizetype i = nodes.size() - 1; i >= 1; --i) DeleteNode(nodes[i], nodes[i]->Parent != nodes[i - 1]->Parent);
  if (!nodes.isEmpty()) DeleteNode(nodes[0], true);
}

void TBaseLazyTree::Clear() {
  if (options_->MiscOptions().Contains(toReadOnly) && !destroying_) return;
  TTreeUpdateGuard update(*this);
  StopValidation();
  if (IsEditing()) CancelEditNode();
  if (states_.Intersects({tsCopyPending, tsCutPending})) {
    // The clipboard no longer holds anything of this tree's; a tree going away keeps its
    // flushed data there.
    if (!destroying_) EmptyClipboardOfThisTree();
    DoStateChange({}, {tsCopyPending, tsCutPending});
  }
  UnselectAll();
  focusedNode_ = nullptr;
  hotNode_ = nullptr;
  selection_.SetAnchor(nullptr);
  // A tree on its way out tells nobody but the owner's OnFreeNode of a freed node: a
  // descendant's DoFreeNode is out of reach in the base destructor (a descendant that
  // must see its nodes go clears the tree in its own destructor), and no state change
  // or structure event is heard any more.
  if (destroying_ && !OnFreeNode)
    TStructureSteps::DropAllNodes(*this);
  else
    DeleteNodeChildren(RootNode(), true);
  store_.SetVisibleCount(0);
  offsetX_ = 0;
  offsetY_ = 0;
}

// ---- Moving ---------------------------------------------------------------------------

PLazyNode TBaseLazyTree::CopyNodeInto(PLazyNode source, TBaseLazyTree& targetTree, PLazyNode target,
                                      TLTNodeAttachMode mode) {
  // The node travels in the tree stream's node format, so the owner's data moves with it
  // through OnSaveNode and OnLoadNode, and the target takes it as any other stream.
  TLazyTreeStream stream;
  WriteNodeChunk(stream, source);
  stream.SetPosition(0);
  if (!target || target == targetTree.RootNode()) target = targetTree.RootNode();
  PLazyNode copied = targetTree.MakeNewNode();
  targetTree.InternalConnectNode(copied, target, mode);
  try {
    targetTree.AddNodesFromStream(stream, kTreeStreamVersion, copied);
  } catch (...) {
    targetTree.DeleteNode(copied);
    throw;
  }
  return copied;
}

bool TBaseLazyTree::MoveNode(PLazyNode source, PLazyNode target, TLTNodeAttachMode mode, bool childrenOnly) {
  if (!IsRealNode(source)) return false;
  if (!LazyTreeCheck(TreeFromNode(source) == this, "The source tree must contain the source node.")) return false;
  if (mode == amNoWhere || options_->MiscOptions().Contains(toReadOnly)) return false;
  if (source == target && !(childrenOnly && (mode == amInsertBefore || mode == amInsertAfter))) return false;
  TStructureSteps::RefuseWhileIterating(*this);
  TBaseLazyTree* targetTree = target ? TreeFromNode(target) : this;
  if (!target || target == targetTree->RootNode()) {
    if (!target) mode = amAddChildLast;
    target = targetTree->RootNode();
    if (mode == amInsertBefore) mode = amAddChildFirst;
    if (mode == amInsertAfter) mode = amAddChildLast;
  }
  PLazyNode reportedTarget = target == targetTree->RootNode() ? nullptr : target;
  if (targetTree == this) {
    if (!DoNodeMoving(source, reportedTarget)) return false;
    const PLazyNode insertionParent = (mode == amAddChildFirst || mode == amAddChildLast) ? target : target->Parent;
    if (insertionParent == source || NodeHasAncestor(insertionParent, source) ||
        (!childrenOnly && (target == source || NodeHasAncestor(target, source))))
      throw ELazyTreeError(QStringLiteral("Target node cannot be a child node of the node to be moved."),
                           hcTFCannotMoveToChild);
    StopValidation();
    auto moveOne = [&](PLazyNode node) {
      PLazyNode oldParent = node->Parent;
      TStructureSteps::InternalDisconnectNode(*this, node, true, true);
      InternalConnectNode(node, target, mode);
      store_.UpdateHiddenChildren(oldParent);
      DoNodeMoved(node);
    };
    if (childrenOnly) {
      // Each child goes in at the same place, so the walk direction keeps their order.
      const bool backwards = mode == amInsertAfter || mode == amAddChildFirst;
      PLazyNode child = backwards ? source->LastChild : source->FirstChild;
      while (child) {
        PLazyNode next = backwards ? child->PrevSibling : child->NextSibling;
        moveOne(child);
        child = next;
      }
    } else {
      moveOne(source);
    }
  } else {
    if (!DoNodeMoving(source, reportedTarget)) return false;
    {
      TTreeUpdateGuard update(*targetTree);
      auto copyOne = [&](PLazyNode node) { targetTree->DoNodeMoved(CopyNodeInto(node, *targetTree, target, mode)); };
      if (childrenOnly) {
        const bool backwards = mode == amInsertAfter || mode == amAddChildFirst;
        for (PLazyNode child = backwards ? source->LastChild : source->FirstChild; child;
             child = backwards ? child->PrevSibling : child->NextSibling)
          copyOne(child);
      } else {
        copyOne(source);
      }
      targetTree->StructureChange(reportedTarget, crNodeMoved);
    }
    if (childrenOnly)
      DeleteNodeChildren(source);
    else
      DeleteNode(source);
    return true;
  }
  InvalidateCache();
  if (updateCount_ == 0) {
    RestartValidation();
    UpdateScrollBars(true);
    InvalidateTree();
  }
  StructureChange(source, crNodeMoved);
  return true;
}

void TBaseLazyTree::IterateSubtree(PLazyNode node, const std::function<void(PLazyNode, bool&)>& callback) {
  if (!node) node = RootNode();
  const bool wasIterating = states_.Contains(tsIterating);
  DoStateChange({tsIterating});
  bool abort = false;
  try {
    PLazyNode stop = node == RootNode() ? nullptr : node;
    PLazyNode run = node == RootNode() ? GetFirst() : node;
    while (run && !abort) {
      callback(run, abort);
      PLazyNode next = GetNext(run);
      // Leaving the subtree ends the walk.
      if (stop && next && !NodeHasAncestor(next, stop)) next = nullptr;
      run = next;
    }
  } catch (...) {
    if (!wasIterating) DoStateChange({}, {tsIterating});
    throw;
  }
  if (!wasIterating) DoStateChange({}, {tsIterating});
}
