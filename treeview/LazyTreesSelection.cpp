// Focus, selecting single nodes and the node accessors (visibility, height, top node).
#include "treeview/LazyTreeAssert.h"
#include "treeview/LazyTrees.h"

#include <QGuiApplication>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>

// ---- Selection (the set itself is TLazySelection) -------------------------------------

bool TBaseLazyTree::AddToSelection(PLazyNode node) {
  if (!IsRealNode(node) || node->Has(nsSelected) || node->Has(nsDisabled)) return false;
  const TLTSelectionOptions options = options_->SelectionOptions();
  if (!selection_.Admits(node, options.Contains(toLevelSelectConstraint), options.Contains(toSiblingSelectConstraint)))
    return false;
  node->Include(nsSelected);
  selection_.Insert(node);
  Change(node);
  return true;
}

void TBaseLazyTree::RemoveFromSelection(PLazyNode node) {
  if (!LazyTreeCheck(node != nullptr, "Node must not be nil!") || !node->Has(nsSelected)) return;
  node->Exclude(nsSelected);
  selection_.Remove(node);
  Change(node);
}

void TBaseLazyTree::UnselectAll() {
  if (selection_.IsEmpty() || destroying_) return;
  if (updateCount_ == 0) InvalidateTree();
  selection_.Clear(updateCount_ > 0);
  DoStateChange({}, {tsClearPending});
  Change(nullptr);
}

void TBaseLazyTree::SelectAllNodes(bool visibleOnly) {
  if (!options_->SelectionOptions().Contains(toMultiSelect)) return;
  QVector<PLazyNode> collected;
  for (PLazyNode run = visibleOnly ? GetFirstVisible() : GetFirst(); run;
       run = visibleOnly ? GetNextVisible(run) : GetNext(run))
    if (!run->Has(nsSelected)) collected.append(run);
  if (!AddToSelection(collected)) return;
  if (!selection_.Anchor()) selection_.SetAnchor(focusedNode_);
  InvalidateTree();
}

QVector<PLazyNode> TBaseLazyTree::SortedSelection(bool resolve) { return selection_.InTreeOrder(resolve); }

void TBaseLazyTree::SetNodeSelected(PLazyNode node, bool value) {
  if (!IsRealNode(node) || node->Has(nsSelected) == value) return;
  if (value) {
    if (selection_.IsEmpty())
      selection_.SetAnchor(node);
    else if (!options_->SelectionOptions().Contains(toMultiSelect))
      UnselectAll();
    AddToSelection(node);
    if ((focusedColumn_ < 0 || !IsColumnVisible(focusedColumn_)) && MainColumn() >= 0)
      focusedColumn_ = IsColumnVisible(MainColumn()) ? MainColumn() : FirstVisibleColumn();
    if (!selection_.Anchor()) selection_.SetAnchor(node);
  } else {
    RemoveFromSelection(node);
  }
  if (IsNodeInView(node)) InvalidateNodeRow(node);
}

// ---- Focus ----------------------------------------------------------------------------

bool TBaseLazyTree::ChangeFocus(PLazyNode node, bool ask) {
  if (IsEditing() && !EndEditNode()) return false;
  if (node == RootNode()) node = nullptr;
  if (node != focusedNode_ && ask && !DoFocusChanging(focusedNode_, node, focusedColumn_, focusedColumn_))
    return false;
  if (node != focusedNode_) {
    PLazyNode old = focusedNode_;
    if (options_->AutoOptions().Contains(toAutoExpand) && old && node && old->Parent == node->Parent &&
        old->Has(nsExpanded))
      ToggleExpanded(old);
    else if (old)
      InvalidateNodeRow(old);
    focusedNode_ = node;
  }
  if (focusedNode_) {
    if (ColumnCount() > 0 && focusedColumn_ < 0) focusedColumn_ = 0;
    if (options_->AutoOptions().Contains(toAutoExpand) && !focusedNode_->Has(nsExpanded)) ToggleExpanded(focusedNode_);
    InvalidateNodeRow(focusedNode_);
    if (updateCount_ == 0) {
      const bool buttonDown = states_.Intersects({tsLeftButtonDown, tsMiddleButtonDown, tsRightButtonDown});
      ScrollIntoView(focusedNode_, options_->SelectionOptions().Contains(toCenterScrollIntoView) && !buttonDown,
                     !options_->AutoOptions().Contains(toDisableAutoscrollOnFocus));
    }
  }
  if (selection_.IsEmpty()) selection_.SetAnchor(focusedNode_);
  return true;
}

void TBaseLazyTree::SetFocusedNode(PLazyNode node) {
  if (node == RootNode()) node = nullptr;
  const PLazyNode old = focusedNode_;
  if (ChangeFocus(node, true) && focusedNode_ == node && node != old) DoFocusChange(node, focusedColumn_);
}

void TBaseLazyTree::SetFocusedColumn(int column) {
  if (column == focusedColumn_) return;
  if (!DoFocusChanging(focusedNode_, focusedNode_, focusedColumn_, column)) return;
  if (IsEditing()) EndEditNode();
  focusedColumn_ = column;
  if (focusedNode_) {
    ScrollIntoView(focusedNode_, options_->SelectionOptions().Contains(toCenterScrollIntoView),
                   !options_->AutoOptions().Contains(toDisableAutoscrollOnFocus));
    InvalidateNodeRow(focusedNode_);
  }
  DoFocusChange(focusedNode_, focusedColumn_);
}

// ---- Node accessors -------------------------------------------------------------------

void TBaseLazyTree::SetNodeHeight(PLazyNode node, int value) {
  value = std::clamp(value, 0, 0xFFFF);
  if (!IsRealNode(node) || node->NodeHeight == value || options_->MiscOptions().Contains(toReadOnly)) return;
  // Only rows in view are read by the cache's worker.
  const bool inView = IsNodeInView(node);
  if (inView) StopValidation();
  const int diff = value - node->NodeHeight;
  node->NodeHeight = static_cast<std::uint16_t>(value);
  store_.UpdateTotalHeight(node, diff, true);
  if (!inView) return;
  InvalidateCache();
  if (updateCount_ == 0) {
    RestartValidation();
    UpdateScrollBars(true);
    InvalidateFromNode(node);
  }
}

bool TBaseLazyTree::GetNodeVisible(PLazyNode node) {
  if (!node) node = RootNode();
  if (node != RootNode() && !node->Has(nsInitialized)) InitializeNode(node);
  return node->Has(nsVisible);
}

void TBaseLazyTree::SetNodeVisible(PLazyNode node, bool value) {
  if (!LazyTreeCheck(IsRealNode(node), "Invalid parameter.") || node->Has(nsVisible) == value) return;
  StopValidation();
  PLazyNode parent = node->Parent;
  const bool parentShows = store_.ChildrenShown(parent);
  const unsigned before = VisibleCount();
  if (value) {
    node->Include(nsVisible);
    if (parent->Has(nsExpanded)) store_.UpdateTotalHeight(parent, static_cast<int>(node->TotalHeight), true);
    if (parentShows) store_.AddVisibleRows(1 + std::int64_t(store_.CountVisibleChildren(node)));
    if (parent != RootNode()) parent->Exclude(nsAllChildrenHidden);
  } else {
    if (parentShows) store_.AddVisibleRows(-1 - std::int64_t(store_.CountVisibleChildren(node)));
    if (parent->Has(nsExpanded)) store_.UpdateTotalHeight(parent, -static_cast<int>(node->TotalHeight), true);
    node->Exclude(nsVisible);
    // Inside an update the flags are recomputed once at its end, not once per hidden node.
    if (updateCount_ > 0)
      DoStateChange({tsUpdateHiddenChildrenNeeded});
    else
      store_.UpdateHiddenChildren(parent);
  }
  InvalidateCache();
  if (VisibleCount() != before && updateCount_ == 0) {
    RestartValidation();
    UpdateScrollBars(true);
    InvalidateTree();
  }
}

void TBaseLazyTree::SetNodeFullyVisible(PLazyNode node, bool value) {
  if (!LazyTreeCheck(IsRealNode(node), "Invalid parameter")) return;
  SetNodeVisible(node, value);
  if (!value) return;
  for (PLazyNode run = node->Parent; run != RootNode(); run = run->Parent) {
    if (!run->Has(nsExpanded)) ToggleExpanded(run);
    if (!run->Has(nsVisible)) SetNodeVisible(run, true);
  }
}

void TBaseLazyTree::SetNodeDisabled(PLazyNode node, bool value) {
  if (!IsRealNode(node) || node->Has(nsDisabled) == value) return;
  node->Set(nsDisabled, value);
  InvalidateNodeRow(node);
}

void TBaseLazyTree::SetHasChildren(PLazyNode node, bool value) {
  if (!IsRealNode(node) || node->Has(nsHasChildren) == value) return;
  if (value) {
    node->Include(nsHasChildren);
  } else {
    DeleteNodeChildren(node, true);
    node->Exclude(nsHasChildren);
  }
  InvalidateNodeRow(node);
}

void TBaseLazyTree::SetNodeFreeNotify(PLazyNode node, bool value) {
  if (IsRealNode(node)) node->Set(nsFreeNotify, value);
}

PLazyNode TBaseLazyTree::TopNode() {
  PLazyNode node = NodeAtPosition(0, true);
  if (node && !node->Has(nsInitialized)) InitializeNode(node);
  return node;
}

void TBaseLazyTree::SetTopNode(PLazyNode node) {
  if (!IsRealNode(node)) return;
  for (PLazyNode run = node->Parent; run != RootNode(); run = run->Parent)
    if (!run->Has(nsExpanded)) ToggleExpanded(run);
  const int top = NodeTop(node);
  if (top >= 0) SetOffsetY(-top);
}

bool TBaseLazyTree::ScrollIntoView(PLazyNode node, bool center, bool horizontally) {
  if (!IsRealNode(node)) return false;
  const int before = offsetY_;  // opening an ancestor may scroll already
  QVector<PLazyNode> closed;
  for (PLazyNode run = node->Parent; run != RootNode(); run = run->Parent)
    if (!run->Has(nsExpanded)) closed.prepend(run);
  for (PLazyNode run : closed) ToggleExpanded(run);
  const bool columns = ColumnCount() > 0;
  // Measured without initialising the node: scrolling must not call the owner.
  const int top = NodeTop(node);
  if (top < 0) return false;
  QRect r(offsetX_, top + offsetY_, std::max(ClientWidth(), rangeX_), node->NodeHeight);
  if (columns && focusedColumn_ >= 0) {
    const QRect bounds = ColumnBounds(focusedColumn_);
    r.setLeft(bounds.left() + offsetX_);
    r.setWidth(bounds.width());
  }
  const int clientHeight = ClientHeight();
  int newOffsetY = offsetY_;
  bool result = false;
  if (r.top() < 0) {
    newOffsetY = offsetY_ - r.top() + (center ? clientHeight / 2 : 0);
  } else if (r.bottom() + 1 > clientHeight || center) {
    int target = center ? clientHeight / 2 : clientHeight;
    // A horizontal bar about to appear would cover the row again.
    const TScrollStyle bars = scrollBarOptions_->ScrollBars();
    if (!columns && (bars == ssHorizontal || bars == ssBoth) && !horizontalScrollBar()->isVisible() &&
        (scrollBarOptions_->AlwaysVisible() || rangeX_ > ClientWidth()))
      target -= style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    newOffsetY = offsetY_ + target - (r.bottom() + 1);
  }
  if (newOffsetY != offsetY_) SetOffsetY(newOffsetY);
  result = offsetY_ != before;
  if (horizontally && (r.left() < 0 || r.right() + 1 > ClientWidth())) {
    SetOffsetX(offsetX_ + ClientWidth() / 2 - (r.left() + r.width() / 2));
    result = true;
  }
  return result;
}
