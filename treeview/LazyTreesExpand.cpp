// Initialisation on demand, expand and collapse with their animation, the update bracket
// and the delivery of pending change notifications.
#include "treeview/LazyTreeAnimation.h"
#include "treeview/LazyTreeAssert.h"
#include "treeview/LazyTreeUpdateGuard.h"
#include "treeview/LazyTrees.h"

#include <QCoreApplication>

// The steps of the toggle animation and of telling the owner about changes.
struct TBaseLazyTree::TExpandSteps {
  static void RunToggleAnimation(TBaseLazyTree& t, PLazyNode node, int distance, bool expanding);
  static void FinishToggleAnimation(TBaseLazyTree& t);
  static void AdviseChangeEvent(TBaseLazyTree& t, bool structureChange, PLazyNode node, TChangeReason reason);
};

// ---- Initialisation -------------------------------------------------------------------

void TBaseLazyTree::InitializeNode(PLazyNode node) {
  if (!IsRealNode(node)) return;
  node->Include(nsInitialized);
  TLazyNodeInitStates states;
  DoInitNode(node->Parent == RootNode() ? nullptr : node->Parent, node, states);
  if (states.Contains(ivsDisabled)) node->Include(nsDisabled);
  if (states.Contains(ivsHasChildren)) node->Include(nsHasChildren);
  if (states.Contains(ivsSelected)) AddToSelection(node);
  if (states.Contains(ivsMultiline)) node->Include(nsMultiline);
  if (states.Contains(ivsExpanded) != node->Has(nsExpanded)) {
    if (states.Contains(ivsExpanded))
      ToggleExpanded(node);
    else if (node->Has(nsHasChildren))
      InitializeChildren(node);
  }
}

void TBaseLazyTree::InitializeChildren(PLazyNode node) {
  if (!IsRealNode(node) || !node->Has(nsHasChildren)) return;
  std::uint32_t count = node->ChildCount;
  DoInitChildren(node, count);
  if (count == 0) {
    DeleteNodeChildren(node, true);
    node->Exclude(nsHasChildren);
  } else {
    SetNodeChildCount(node, count);
  }
}

void TBaseLazyTree::ReinitializeNode(PLazyNode node, bool recursive) {
  if (IsRealNode(node)) {
    for (TLazyNodeState s : {nsChecking, nsCutOrCopy, nsDeleting, nsHeightMeasured}) node->Exclude(s);
    InitializeNode(node);
  }
  if (recursive) ReinitializeChildren(node, true);
}

void TBaseLazyTree::ReinitializeChildren(PLazyNode node, bool recursive) {
  if (!node) node = RootNode();
  InitializeChildren(node);
  for (PLazyNode run = node->FirstChild; run;) {
    PLazyNode next = run->NextSibling;  // an owner may delete the node it is asked about
    ReinitializeNode(run, recursive);
    run = next;
  }
}

void TBaseLazyTree::UninitializeNode(PLazyNode node) {
  if (IsEditing()) CancelEditNode();
  if (!IsRealNode(node)) {
    Clear();
    return;
  }
  DoReset(node);
  DeleteNodeChildren(node);
  for (TLazyNodeState s : {nsInitialized, nsChecking, nsCutOrCopy, nsDeleting, nsExpanded, nsHasChildren,
                           nsHeightMeasured})
    node->Exclude(s);
  InvalidateNodeRow(node);
}

// ---- Expand and collapse --------------------------------------------------------------

void TBaseLazyTree::SetExpanded(PLazyNode node, bool value) {
  if (IsRealNode(node) && node->Has(nsExpanded) != value) ToggleExpanded(node);
}

void TBaseLazyTree::ToggleExpanded(PLazyNode node) {
  if (!LazyTreeCheck(node != nullptr, "Node must not be nil.") || node == RootNode() || node->Has(nsDeleting)) return;
  const bool animate = options_->AnimationOptions().Contains(toAnimatedToggle) && updateCount_ == 0 &&
                       isVisible() && !QCoreApplication::closingDown();
  int animationDistance = 0;
  if (node->Has(nsExpanded)) {
    if (!DoCollapsing(node)) return;
    StopValidation();
    if (animate && !states_.Contains(tsCollapsing)) {
      CancelHint();
      animationDistance = static_cast<int>(node->TotalHeight - node->NodeHeight);
    }
    const unsigned hidden = IsNodeInView(node) ? store_.CountVisibleChildren(node) : 0;
    store_.UpdateTotalHeight(node, node->NodeHeight, false);
    store_.AddVisibleRows(-std::int64_t(hidden));
    node->Exclude(nsExpanded);
    DoCollapsed(node);
    if (options_->AutoOptions().Contains(toAutoFreeOnCollapse) && node->ChildCount > 0) {
      DeleteNodeChildren(node);
      node->Include(nsHasChildren);
    }
  } else {
    if (!DoExpanding(node)) return;
    StopValidation();
    if (!node->Has(nsInitialized)) {
      InitializeNode(node);
      if (node->Has(nsExpanded)) return;  // the owner's initial states opened it already
    }
    if (node->Has(nsHasChildren) && node->ChildCount == 0) InitializeChildren(node);
    std::int64_t childrenHeight = 0;
    for (PLazyNode run = node->FirstChild; run; run = run->NextSibling)
      if (run->Has(nsVisible)) childrenHeight += run->TotalHeight;
    if (animate && childrenHeight > 0 && !states_.Intersects({tsExpanding, tsPainting}) &&
        NodeTop(node) + offsetY_ + node->NodeHeight < ClientHeight() && GetNextVisibleRaw(node)) {
      CancelHint();
      animationDistance = static_cast<int>(std::min<std::int64_t>(childrenHeight, ClientHeight()));
    }
    node->Include(nsExpanded);
    store_.UpdateTotalHeight(node, static_cast<int>(childrenHeight), true);
    if (IsNodeInView(node)) store_.AddVisibleRows(store_.CountVisibleChildren(node));
    DoExpanded(node);
  }
  InvalidateCache();
  if (updateCount_ > 0) return;
  RestartValidation();
  if (node->ChildCount == 0) {
    InvalidateNodeRow(node);
    return;
  }
  UpdateScrollBars(true);
  if (node->Has(nsExpanded) && options_->AutoOptions().Contains(toAutoScrollOnExpand) && IsNodeInView(node)) {
    if (static_cast<int>(node->TotalHeight) > ClientHeight())
      SetOffsetY(-NodeTop(node));
    else if (PLazyNode last = GetLastVisibleRaw(node); last && last != node)
      ScrollIntoView(last, options_->SelectionOptions().Contains(toCenterScrollIntoView));
  }
  if (animationDistance > 0)
    TExpandSteps::RunToggleAnimation(*this, node, animationDistance, node->Has(nsExpanded));
  else
    InvalidateTree();
}

void TBaseLazyTree::ExpandAll(PLazyNode node) {
  // An empty tree has nothing to open; otherwise only nodes that have or may have children
  // are opened, so a lone leaf stays as it is.
  if (RootNode()->TotalCount < 2) return;
  if (!node) node = RootNode();
  TTreeUpdateGuard update(*this);
  DoStateChange({tsExpanding});
  PLazyNode run = node == RootNode() ? GetFirst() : node;
  while (run) {
    if (run->Has(nsHasChildren) && !run->Has(nsExpanded)) ToggleExpanded(run);
    PLazyNode next = GetNext(run);
    if (node != RootNode() && next && !NodeHasAncestor(next, node)) next = nullptr;
    run = next;
  }
  DoStateChange({}, {tsExpanding});
}

void TBaseLazyTree::CollapseAll(PLazyNode node) {
  if (RootNode()->TotalCount < 2) return;
  if (!node) node = RootNode();
  TTreeUpdateGuard update(*this);
  DoStateChange({tsCollapsing});
  // The expanded nodes in view, parents before children; closing them from the back
  // closes every child before its parent.
  QVector<PLazyNode> open;
  if (node != RootNode() && node->Has(nsExpanded) && node->ChildCount > 0) open.append(node);
  QVector<PLazyNode> pending{node};
  while (!pending.isEmpty()) {
    PLazyNode parent = pending.takeLast();
    for (PLazyNode run = parent->LastChild; run; run = run->PrevSibling)
      if (run->Has(nsVisible) && run->Has(nsExpanded) && run->ChildCount > 0) pending.append(run);
    if (parent != node) open.append(parent);
  }
  for (qsizetype i = open.size() - 1; i >= 0; --i) ToggleExpanded(open[i]);
  DoStateChange({}, {tsCollapsing});
}

// ---- Animation ------------------------------------------------------------------------

void TBaseLazyTree::TExpandSteps::RunToggleAnimation(TBaseLazyTree& t, PLazyNode node, int distance, bool expanding) {
  // The structure has changed already; the animation only moves the rows below the node
  // into their new place, and the exposed strip paints from the new structure.
  if (t.animation_) FinishToggleAnimation(t);
  t.animation_ = std::make_unique<TToggleAnimation>(distance, t.animationDuration_, t.input_->Now());
  t.animatedNode_ = node;
  t.animationExpanding_ = expanding;
  t.DoStateChange({tsInAnimation});
  t.input_->StartTimer(AnimationTimer, kMinimumTimerInterval);
}

void TBaseLazyTree::AnimationTick() {
  if (!animation_) {
    StopTimer(AnimationTimer);
    return;
  }
  const int step = animation_->NextStep(input_->Now());
  if (step > 0) AnimateToggleStep(animatedNode_, step, animationExpanding_);
  if (animation_->Finished() || QCoreApplication::closingDown()) TExpandSteps::FinishToggleAnimation(*this);
}

void TBaseLazyTree::TExpandSteps::FinishToggleAnimation(TBaseLazyTree& t) {
  t.StopTimer(AnimationTimer);
  t.animation_.reset();
  t.animatedNode_ = nullptr;
  t.DoStateChange({}, {tsInAnimation});
  t.InvalidateTree();
}

void TBaseLazyTree::AnimateToggleStep(PLazyNode node, int delta, bool expanding) {
  if (!node) return;
  const int top = NodeTop(node);
  if (top < 0) return;
  const int below = top + offsetY_ + node->NodeHeight;
  const QRect area(0, below, viewport()->width(), viewport()->height() - below);
  if (area.height() > 0) viewport()->scroll(0, expanding ? delta : -delta, area);
}

// ---- Update bracket -------------------------------------------------------------------

void TBaseLazyTree::BeginTreeUpdate() {
  if (destroying_) return;
  if (updateCount_ == 0) {
    DoUpdating(usBegin);
    SetWindowRedraw(false);
  } else {
    DoUpdating(usUpdate);
  }
  ++updateCount_;
  DoStateChange({tsUpdating});
}

void TBaseLazyTree::EndTreeUpdate() {
  if (updateCount_ > 0) --updateCount_;
  if (destroying_) return;
  if (updateCount_ == 0 && states_.Contains(tsUpdating)) {
    if (states_.Contains(tsUpdateHiddenChildrenNeeded)) {
      store_.RecomputeAllHiddenChildren(RootNode());
      DoStateChange({}, {tsUpdateHiddenChildrenNeeded});
    }
    DoStateChange({}, {tsUpdating});
    selection_.Pack();
    InvalidateCache();
    RestartValidation();
    UpdateScrollBars(false);
    if (states_.Contains(tsStructureChangePending))
      TExpandSteps::AdviseChangeEvent(*this, true, lastStructureChangeNode_, lastStructureChangeReason_);
    if (states_.Contains(tsChangePending)) TExpandSteps::AdviseChangeEvent(*this, false, lastChangedNode_, crIgnore);
    if (options_->AutoOptions().Contains(toAutoSort)) SortTree(SortColumn(), SortAscending(), true);
    SetWindowRedraw(true);
    InvalidateTree();
  }
  DoUpdating(updateCount_ == 0 ? usEnd : usUpdate);
}

void TBaseLazyTree::SetWindowRedraw(bool on) {
  if (isVisible()) viewport()->setUpdatesEnabled(on);
}

// ---- Change notification --------------------------------------------------------------

void TBaseLazyTree::StructureChange(PLazyNode node, TChangeReason reason) {
  if (states_.Contains(tsStructureChangePending) && lastStructureChangeReason_ != reason) reason = crAccumulated;
  lastStructureChangeNode_ = node;
  lastStructureChangeReason_ = reason;
  DoStateChange({tsStructureChangePending});
  if (updateCount_ == 0) TExpandSteps::AdviseChangeEvent(*this, true, node, reason);
}

void TBaseLazyTree::Change(PLazyNode node) {
  lastChangedNode_ = node;
  DoStateChange({tsChangePending});
  if (updateCount_ == 0) TExpandSteps::AdviseChangeEvent(*this, false, node, crIgnore);
}

void TBaseLazyTree::TExpandSteps::AdviseChangeEvent(TBaseLazyTree& t, bool structureChange, PLazyNode,
                                                    TChangeReason) {
  // Without a delay (or in synchronous mode) the owner hears at once; with one, each new
  // change restarts the wait, so a burst of changes reaches the owner once.
  if (t.changeDelay_ == 0 || t.states_.Contains(tsSynchMode)) {
    structureChange ? t.DeliverStructureChange() : t.DeliverChange();
    return;
  }
  t.input_->StartTimer(structureChange ? StructureChangeTimer : ChangeTimer, t.changeDelay_);
}

void TBaseLazyTree::DeliverStructureChange() {
  StopTimer(StructureChangeTimer);
  const PLazyNode node = lastStructureChangeNode_;
  const TChangeReason reason = lastStructureChangeReason_;
  lastStructureChangeNode_ = nullptr;
  lastStructureChangeReason_ = crIgnore;
  DoStateChange({}, {tsStructureChangePending});
  DoStructureChange(node, reason);
}

void TBaseLazyTree::DeliverChange() {
  StopTimer(ChangeTimer);
  const PLazyNode node = lastChangedNode_;
  lastChangedNode_ = nullptr;
  DoStateChange({}, {tsChangePending});
  DoChange(node);
}

void TBaseLazyTree::DoStateChange(TLazyTreeStates enter, TLazyTreeStates leave) {
  const bool changes = !(enter - states_).Empty() || states_.Intersects(leave);
  if (changes && OnStateChange && !destroying_) OnStateChange(this, enter, leave);
  states_ = (states_ + enter) - leave;
}
