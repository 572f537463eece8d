// Node blocks, child counts with their running totals, insertion, deletion and moving.
#include "treeview/LazyTreeAssert.h"
#include "treeview/LazyTreeStream.h"
#include "treeview/LazyTreeUpdateGuard.h"
#include "treeview/LazyTrees.h"

#include <vector>
#include <cstring>

namespace {
constexpr int kInternalDataAlignment = alignof(void*);  // keeps the owner's data pointer-aligned
constexpr std::uint16_t kNewNodeStates = 1u << nsVisible;
}  // namespace

// ---- Blocks ---------------------------------------------------------------------------

void TBaseLazyTree::InitRootNode(int oldSize) {
  const int size = static_cast<int>(sizeof(TLazyNode)) + internalDataSize_;
  auto block = std::make_unique<std::byte[]>(size);  // zero-filled
  if (rootBlock_ && oldSize > 0) std::memcpy(block.get(), rootBlock_.get(), std::min(oldSize, size));
  rootBlock_ = std::move(block);
  root_ = reinterpret_cast<PLazyNode>(rootBlock_.get());
  root_->Index = 0;
  root_->ChildCount = 0;
  root_->NodeHeight = static_cast<std::uint16_t>(defaultNodeHeight_);
  root_->TotalHeight = static_cast<std::uint32_t>(defaultNodeHeight_);
  root_->TotalCount = 1;
  root_->States = 0;
  root_->Include(nsInitialized);
  root_->Include(nsExpanded);
  root_->Include(nsHasChildren);
  root_->Include(nsVisible);
  root_->Align = 50;
  // The root's parent link holds the tree: no node equals it, so upward walks stop at the root.
  root_->Parent = reinterpret_cast<PLazyNode>(this);
  root_->PrevSibling = root_;
  root_->NextSibling = root_;
  root_->FirstChild = nullptr;
  root_->LastChild = nullptr;
}

PLazyNode TBaseLazyTree::MakeNewNode() {
  if (nodeDataSize_ == -1) nodeDataSize_ = std::max(DoGetNodeDataSize(), 0);
  if (pool_.LiveBlocks() == 0)
    pool_.SetBlockSize(sizeof(TLazyNode) + static_cast<std::size_t>(internalDataSize_) +
                       static_cast<std::size_t>(std::max(nodeDataSize_, 0)));
  auto* node = static_cast<PLazyNode>(pool_.Allocate());
  node->TotalCount = 1;
  node->NodeHeight = static_cast<std::uint16_t>(defaultNodeHeight_);
  node->TotalHeight = node->NodeHeight;
  node->States = kNewNodeStates;
  node->Align = 50;
  return node;
}

void TBaseLazyTree::FreeNodeBlock(PLazyNode node) { pool_.Free(node); }

TBaseLazyTree* TBaseLazyTree::TreeFromNode(PLazyNode node) {
  if (!LazyTreeCheck(node != nullptr, "Node must not be nil.")) return nullptr;
  while (node->NextSibling != node) node = node->Parent;
  return reinterpret_cast<TBaseLazyTree*>(node->Parent);
}

int TBaseLazyTree::ReserveInternalData(int size) {
  if (!LazyTreeCheck(pool_.LiveBlocks() == 0, "Internal data allocation must be done before any node is created."))
    return -1;
  size = (std::max(size, 0) + kInternalDataAlignment - 1) / kInternalDataAlignment * kInternalDataAlignment;
  const int offset = static_cast<int>(sizeof(TLazyNode)) + internalDataSize_;
  const int oldSize = offset;
  internalDataSize_ += size;
  InitRootNode(oldSize);
  return offset;
}

void* TBaseLazyTree::GetNodeData(PLazyNode node) {
  if (!IsRealNode(node)) return nullptr;
  if (!LazyTreeCheck(nodeDataSize_ > 0, "NodeDataSize not initialized.")) return nullptr;
  return reinterpret_cast<std::byte*>(node) + sizeof(TLazyNode) + internalDataSize_;
}

void TBaseLazyTree::SetNodeDataSize(int value) {
  value = std::max(value, -1);
  if (value == nodeDataSize_) return;
  if (loading_) {
    nodeDataSize_ = value;
    return;
  }
  const unsigned count = RootNodeCount();
  Clear();
  nodeDataSize_ = value;
  if (count > 0) SetRootNodeCount(count);
}

// ---- Running totals -------------------------------------------------------------------

bool TBaseLazyTree::ChildrenShown(PLazyNode node) const {
  if (node == root_) return true;
  return node->Has(nsExpanded) && IsNodeInView(node);
}

unsigned TBaseLazyTree::CountVisibleChildren(PLazyNode node) const {
  if (node != root_ && !node->Has(nsExpanded)) return 0;
  unsigned count = 0;
  PLazyNode run = node->FirstChild;
  while (run) {
    if (run->Has(nsVisible)) {
      ++count;
      if (run->Has(nsExpanded) && run->FirstChild) {
        run = run->FirstChild;
        continue;
      }
    }
    while (!run->NextSibling) {
      run = run->Parent;
      if (run == node) return count;
    }
    run = run->NextSibling;
  }
  return count;
}

void TBaseLazyTree::UpdateTotalCount(PLazyNode node, int value, bool relative) {
  const std::int64_t diff = relative ? value : std::int64_t(value) - node->TotalCount;
  for (;;) {
    node->TotalCount = static_cast<std::uint32_t>(node->TotalCount + diff);
    if (node == root_) break;
    node = node->Parent;
  }
}

void TBaseLazyTree::UpdateTotalHeight(PLazyNode node, int value, bool relative) {
  const std::int64_t diff = relative ? value : std::int64_t(value) - node->TotalHeight;
  for (;;) {
    node->TotalHeight = static_cast<std::uint32_t>(node->TotalHeight + diff);
    if (node == root_ || !node->Has(nsVisible) || !node->Parent->Has(nsExpanded)) break;
    node = node->Parent;
  }
}

void TBaseLazyTree::UpdateHiddenChildren(PLazyNode node) {
  if (!IsRealNode(node)) return;
  bool allHidden = node->ChildCount > 0;
  for (PLazyNode run = node->FirstChild; run && allHidden; run = run->NextSibling)
    if (run->Has(nsVisible)) allHidden = false;
  node->Set(nsAllChildrenHidden, allHidden);
}

void TBaseLazyTree::RecomputeAllHiddenChildren(PLazyNode node) {
  for (PLazyNode run = node->FirstChild; run; run = run->NextSibling) {
    UpdateHiddenChildren(run);
    if (run->FirstChild) RecomputeAllHiddenChildren(run);
  }
}

// ---- Child counts ---------------------------------------------------------------------

unsigned TBaseLazyTree::RootNodeCount() const { return root_->ChildCount; }
unsigned TBaseLazyTree::ChildCount(PLazyNode node) const { return node ? node->ChildCount : root_->ChildCount; }
unsigned TBaseLazyTree::TotalCount() const { return root_->TotalCount - 1; }

void TBaseLazyTree::SetRootNodeCount(unsigned value) {
  if (loading_) {
    storedRootCount_ = value;
    DoStateChange({tsNeedRootCountUpdate});
    return;
  }
  if (value == root_->ChildCount) return;
  TTreeUpdateGuard update(*this);
  StopValidation();
  SetNodeChildCount(nullptr, value);
}

void TBaseLazyTree::SetNodeChildCount(PLazyNode node, unsigned newCount) {
  if (!node) node = root_;
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
      if (measure) MeasureDetached(child);
      addedHeight += child->NodeHeight;
    }
    node->LastChild = last;
    node->ChildCount = newCount;
    if (node->Has(nsExpanded)) UpdateTotalHeight(node, static_cast<int>(addedHeight), true);
    if (ChildrenShown(node)) visibleCount_ += added;
    UpdateTotalCount(node, static_cast<int>(added), true);
    if (node != root_) node->Exclude(nsAllChildrenHidden);
    if (options_->AutoOptions().Contains(toAutoSort) && updateCount_ == 0 && SortColumn() >= -1)
      SortChildren(node, SortColumn(), SortAscending(), true);
    InvalidateCache();
  }
  if (updateCount_ == 0) {
    RestartValidation();
    UpdateScrollBars(true);
    InvalidateTree();
  }
  StructureChange(node == root_ ? nullptr : node, crChildAdded);
}

// ---- Linking --------------------------------------------------------------------------

void TBaseLazyTree::InternalConnectNode(PLazyNode node, PLazyNode destination, TLTNodeAttachMode mode) {
  StopValidation();
  PLazyNode parent = nullptr;
  auto renumberFrom = [](PLazyNode run, std::uint32_t index) {
    for (; run; run = run->NextSibling) run->Index = index++;
  };
  switch (mode) {
    case amNoWhere:
      break;
    case amInsertBefore:
      parent = destination->Parent;
      node->PrevSibling = destination->PrevSibling;
      node->NextSibling = destination;
      destination->PrevSibling = node;
      if (node->PrevSibling)
        node->PrevSibling->NextSibling = node;
      else
        parent->FirstChild = node;
      renumberFrom(node, destination->Index);
      break;
    case amInsertAfter:
      parent = destination->Parent;
      node->PrevSibling = destination;
      node->NextSibling = destination->NextSibling;
      destination->NextSibling = node;
      if (node->NextSibling)
        node->NextSibling->PrevSibling = node;
      else
        parent->LastChild = node;
      renumberFrom(node, destination->Index + 1);
      break;
    case amAddChildFirst:
      parent = destination;
      node->PrevSibling = nullptr;
      node->NextSibling = parent->FirstChild;
      if (parent->FirstChild)
        parent->FirstChild->PrevSibling = node;
      else
        parent->LastChild = node;
      parent->FirstChild = node;
      renumberFrom(node, 0);
      break;
    case amAddChildLast:
      parent = destination;
      node->NextSibling = nullptr;
      node->PrevSibling = parent->LastChild;
      if (parent->LastChild)
        parent->LastChild->NextSibling = node;
      else
        parent->FirstChild = node;
      parent->LastChild = node;
      node->Index = node->PrevSibling ? node->PrevSibling->Index + 1 : 0;
      break;
  }
  for (TLazyNodeState s : {nsChecking, nsCutOrCopy, nsDeleting, nsClearing}) node->Exclude(s);
  if (!parent) return;
  node->Parent = parent;
  ++parent->ChildCount;
  parent->Include(nsHasChildren);
  UpdateTotalCount(parent, static_cast<int>(node->TotalCount), true);
  // A hidden node adds no height: only visible children count in a parent's total height.
  if (parent->Has(nsExpanded) && node->Has(nsVisible)) UpdateTotalHeight(parent, static_cast<int>(node->TotalHeight), true);
  if (IsNodeInView(node)) visibleCount_ += 1 + CountVisibleChildren(node);
  if (parent != root_) {
    if (node->Has(nsVisible))
      parent->Exclude(nsAllChildrenHidden);
    else if (parent->ChildCount == 1)
      parent->Include(nsAllChildrenHidden);
  }
}

void TBaseLazyTree::InternalDisconnectNode(PLazyNode node, bool keepFocus, bool reindex) {
  if (!LazyTreeCheck(IsRealNode(node), "Node must neither be nil nor the root node.")) return;
  if (node == focusedNode_ && !keepFocus) {
    ChangeFocus(nullptr, false);
    focusedNode_ = nullptr;  // a refused edit end cannot keep a focus on a node that goes away
    DoFocusChange(focusedNode_, focusedColumn_);
  }
  if (node == rangeAnchor_) rangeAnchor_ = focusedNode_;
  if (node->Has(nsDeleting)) return;
  StopValidation();
  node->Exclude(nsChecking);
  PLazyNode parent = node->Parent;
  const unsigned shown = IsNodeInView(node) ? 1 + CountVisibleChildren(node) : 0;
  --parent->ChildCount;
  UpdateTotalCount(parent, -static_cast<int>(node->TotalCount), true);
  if (parent->Has(nsExpanded) && node->Has(nsVisible))
    UpdateTotalHeight(parent, -static_cast<int>(node->TotalHeight), true);
  visibleCount_ -= shown;
  if (parent->ChildCount == 0) {
    parent->Exclude(nsHasChildren);
    parent->Exclude(nsAllChildrenHidden);
    if (parent != root_) parent->Exclude(nsExpanded);
  }
  if (node->PrevSibling)
    node->PrevSibling->NextSibling = node->NextSibling;
  else
    parent->FirstChild = node->NextSibling;
  if (node->NextSibling)
    node->NextSibling->PrevSibling = node->PrevSibling;
  else
    parent->LastChild = node->PrevSibling;
  if (reindex) {
    std::uint32_t index = node->Index;
    for (PLazyNode run = node->NextSibling; run; run = run->NextSibling) run->Index = index++;
  }
  node->PrevSibling = nullptr;
  node->NextSibling = nullptr;
}

PLazyNode TBaseLazyTree::InsertNode(PLazyNode destination, TLTNodeAttachMode mode) {
  if (mode == amNoWhere || options_->MiscOptions().Contains(toReadOnly)) return nullptr;
  if (!destination || destination == root_) {
    destination = root_;
    if (mode == amInsertBefore) mode = amAddChildFirst;
    if (mode == amInsertAfter) mode = amAddChildLast;
  }
  PLazyNode node = MakeNewNode();
  if (options_->MiscOptions().Contains(toVariableNodeHeight)) MeasureDetached(node);
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

void TBaseLazyTree::RefuseWhileIterating() const {
  if (states_.Contains(tsIterating))
    throw ELazyTreeError(QStringLiteral("Deleting nodes during tree iteration leads to invalid pointers."),
                         hcTFTreeIterating);
}

void TBaseLazyTree::ForgetPendingNode(PLazyNode node) {
  // A pending notification must not outlive its node: a change is reported for the tree
  // as a whole, a structure change for the parent, where the change happened.
  if (lastChangedNode_ == node) lastChangedNode_ = nullptr;
  if (lastStructureChangeNode_ == node) lastStructureChangeNode_ = node->Parent == root_ ? nullptr : node->Parent;
  if (hotNode_ == node) hotNode_ = nullptr;
  if (keyCheckNode_ == node) keyCheckNode_ = nullptr;
  if (animatedNode_ == node) animatedNode_ = nullptr;
  if (!dragSelection_.isEmpty()) dragSelection_.removeAll(node);
  if (dropTargetNode_ == node) {
    dropTargetNode_ = nullptr;
    lastDropMode_ = dmNowhere;
  }
  ForgetWorkingNode(node);
}

void TBaseLazyTree::DeleteNode(PLazyNode node, bool reindex) {
  if (!IsRealNode(node) || options_->MiscOptions().Contains(toReadOnly)) return;
  RefuseWhileIterating();
  PLazyNode parent = node->Parent;
  const bool parentClearing = parent->Has(nsClearing);
  if (!parentClearing) StructureChange(parent == root_ ? nullptr : parent, crChildDeleted);
  BeginNodeDeletion(node);
  DeleteNodeChildren(node, false);
  FinishNodeDeletion(node, reindex);
  if (!parentClearing) {
    UpdateHiddenChildren(parent);
    InvalidateCache();
    if (updateCount_ == 0) {
      RestartValidation();
      UpdateScrollBars(true);
      InvalidateTree();
    }
  }
}

void TBaseLazyTree::BeginNodeDeletion(PLazyNode node) {
  if (node->Has(nsSelected)) {
    if (updateCount_ > 0) {
      node->Exclude(nsSelected);
      RemoveMarkedSelection(node);
    } else {
      DoStateChange({tsSynchMode});
      RemoveFromSelection(node);
      DoStateChange({}, {tsSynchMode});
    }
  }
  if (states_.Contains(tsHint)) CancelHint();
  ForgetWorkingNode(node);  // before the focus moves: an open edit must not write into it
}

void TBaseLazyTree::FinishNodeDeletion(PLazyNode node, bool reindex) {
  InternalDisconnectNode(node, false, reindex);
  ForgetPendingNode(node);
  if (node->Has(nsInitialized) || node->Has(nsFreeNotify)) DoFreeNode(node);
  FreeNodeBlock(node);
}

void TBaseLazyTree::DeleteNodeChildren(PLazyNode node, bool resetHasChildren) {
  if (!node) node = root_;
  if (!node->FirstChild || options_->MiscOptions().Contains(toReadOnly)) return;
  RefuseWhileIterating();
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
    open.push_back({n, n->LastChild, !n->Has(nsDeleting) && ChildrenShown(n), reset});
  };
  beginClearing(node, resetHasChildren);
  while (!open.empty()) {
    Clearing& top = open.back();
    if (PLazyNode child = top.next) {
      PLazyNode previous = child->PrevSibling;
      if (top.shown && child->Has(nsVisible)) visibleCount_ -= 1 + CountVisibleChildren(child);
      child->Include(nsDeleting);
      if (previous) previous->NextSibling = nullptr;
      top.next = previous;
      BeginNodeDeletion(child);
      if (child->FirstChild)
        beginClearing(child, false);  // its children go first; it follows when they are gone
      else
        FinishNodeDeletion(child, false);
      continue;
    }
    const Clearing done = top;
    open.pop_back();
    EndClearing(done.node, done.resetHasChildren);
    if (!open.empty()) FinishNodeDeletion(done.node, false);
  }
}

void TBaseLazyTree::EndClearing(PLazyNode node, bool resetHasChildren) {
  node->Exclude(nsClearing);
  if (resetHasChildren) node->Exclude(nsHasChildren);
  if (node != root_) node->Exclude(nsExpanded);
  node->ChildCount = 0;
  node->FirstChild = nullptr;
  node->LastChild = nullptr;
  if (node == root_) {
    root_->TotalHeight = static_cast<std::uint32_t>(defaultNodeHeight_);
    root_->TotalCount = 1;
  } else if (!node->Has(nsDeleting)) {
    node->Exclude(nsAllChildrenHidden);
    UpdateTotalHeight(node, node->NodeHeight, false);
    UpdateTotalCount(node, 1, false);
  }
  --updateCount_;
  InvalidateCache();
  if (updateCount_ == 0) {
    RestartValidation();
    UpdateScrollBars(true);
    InvalidateTree();
  }
  if (!node->Has(nsDeleting)) StructureChange(node == root_ ? nullptr : node, crChildDeleted);
}

void TBaseLazyTree::DeleteSelectedItems() {
  if (selection_.isEmpty() || options_->MiscOptions().Contains(toReadOnly)) return;
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
  rangeAnchor_ = nullptr;
  DeleteNodeChildren(root_, true);
  visibleCount_ = 0;
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
  if (!target || target == targetTree.root_) target = targetTree.root_;
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
  RefuseWhileIterating();
  TBaseLazyTree* targetTree = target ? TreeFromNode(target) : this;
  if (!target || target == targetTree->root_) {
    if (!target) mode = amAddChildLast;
    target = targetTree->root_;
    if (mode == amInsertBefore) mode = amAddChildFirst;
    if (mode == amInsertAfter) mode = amAddChildLast;
  }
  PLazyNode reportedTarget = target == targetTree->root_ ? nullptr : target;
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
      InternalDisconnectNode(node, true, true);
      InternalConnectNode(node, target, mode);
      UpdateHiddenChildren(oldParent);
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
  if (!node) node = root_;
  const bool wasIterating = states_.Contains(tsIterating);
  DoStateChange({tsIterating});
  bool abort = false;
  try {
    PLazyNode stop = node == root_ ? nullptr : node;
    PLazyNode run = node == root_ ? GetFirst() : node;
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
