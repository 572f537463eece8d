// Focus, the selection array and the node accessors (visibility, height, top node).
#include "treeview/LazyTreeAssert.h"
#include "treeview/LazyTrees.h"

#include <QGuiApplication>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>

namespace {
constexpr quintptr kMarked = 1;  // a slot of a node deleted during an update
quintptr Address(PLazyNode node) { return reinterpret_cast<quintptr>(node); }
PLazyNode NodeOf(quintptr slot) { return reinterpret_cast<PLazyNode>(slot & ~kMarked); }
}  // namespace

// ---- Selection array ------------------------------------------------------------------

int TBaseLazyTree::FindInSelection(PLazyNode node) const {
  const quintptr key = Address(node);
  auto it = std::lower_bound(selection_.cbegin(), selection_.cend(), key,
                             [](quintptr slot, quintptr k) { return (slot & ~kMarked) < k; });
  if (it == selection_.cend() || (*it & ~kMarked) != key) return -1;
  return static_cast<int>(it - selection_.cbegin());
}

void TBaseLazyTree::RemoveMarkedSelection(PLazyNode node) {
  const int index = FindInSelection(node);
  if (index >= 0) selection_[index] |= kMarked;
}

void TBaseLazyTree::PackSelection() {
  selection_.erase(std::remove_if(selection_.begin(), selection_.end(), [](quintptr s) { return (s & kMarked) != 0; }),
                   selection_.end());
}

bool TBaseLazyTree::AddToSelection(PLazyNode node) {
  if (!IsRealNode(node) || node->Has(nsSelected) || node->Has(nsDisabled)) return false;
  const TLTSelectionOptions options = options_->SelectionOptions();
  if (options.Contains(toLevelSelectConstraint)) {
    if (lastSelectionLevel_ < 0) lastSelectionLevel_ = static_cast<int>(LevelOfNode(node));
    if (static_cast<int>(LevelOfNode(node)) != lastSelectionLevel_) return false;
  }
  if (options.Contains(toSiblingSelectConstraint)) {
    if (!rangeAnchor_) rangeAnchor_ = node;
    if (node->Parent != rangeAnchor_->Parent) return false;
  }
  PackSelection();
  node->Include(nsSelected);
  const quintptr key = Address(node);
  selection_.insert(std::lower_bound(selection_.begin(), selection_.end(), key), key);
  Change(node);
  return true;
}

void TBaseLazyTree::RemoveFromSelection(PLazyNode node) {
  if (!LazyTreeCheck(node != nullptr, "Node must not be nil!") || !node->Has(nsSelected)) return;
  node->Exclude(nsSelected);
  const int index = FindInSelection(node);
  if (index >= 0) selection_.remove(index);
  if (selection_.isEmpty()) {
    rangeAnchor_ = nullptr;
    lastSelectionLevel_ = -1;
  }
  Change(node);
}

void TBaseLazyTree::UnselectAll() {
  if (selection_.isEmpty() || destroying_) return;
  if (updateCount_ == 0) InvalidateTree();
  if (updateCount_ > 0) PackSelection();
  for (quintptr slot : selection_) NodeOf(slot)->Exclude(nsSelected);
  rangeAnchor_ = nullptr;
  lastSelectionLevel_ = -1;
  selection_.clear();
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
  if (!rangeAnchor_) rangeAnchor_ = focusedNode_;
  InvalidateTree();
}

QVector<PLazyNode> TBaseLazyTree::SortedSelection(bool resolve) {
  // Sorting by the path of sibling indexes from the root gives tree order without walking
  // the unselected nodes.
  struct Entry {
    QVector<std::uint32_t> path;
    PLazyNode node;
  };
  QVector<Entry> entries;
  for (quintptr slot : selection_) {
    if (slot & kMarked) continue;
    PLazyNode node = NodeOf(slot);
    Entry e{{}, node};
    for (PLazyNode run = node; run != RootNode(); run = run->Parent) e.path.prepend(run->Index);
    entries.append(std::move(e));
  }
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.path < b.path; });
  QVector<PLazyNode> result;
  for (const Entry& e : entries) {
    if (resolve) {
      bool coveredByAncestor = false;
      for (PLazyNode run = e.node->Parent; run != RootNode() && !coveredByAncestor; run = run->Parent)
        coveredByAncestor = run->Has(nsSelected);
      if (coveredByAncestor) continue;
    }
    result.append(e.node);
  }
  return result;
}

PLazyNode TBaseLazyTree::GetFirstSelectedNode() {
  if (selection_.isEmpty()) return nullptr;
  return GetNextSelectedNode(nullptr);
}

PLazyNode TBaseLazyTree::GetNextSelectedNode(PLazyNode node) {
  for (PLazyNode run = node ? GetNext(node) : GetFirst(); run; run = GetNext(run))
    if (run->Has(nsSelected)) return run;
  return nullptr;
}

void TBaseLazyTree::SetNodeSelected(PLazyNode node, bool value) {
  if (!IsRealNode(node) || node->Has(nsSelected) == value) return;
  if (value) {
    if (selection_.isEmpty())
      rangeAnchor_ = node;
    else if (!options_->SelectionOptions().Contains(toMultiSelect))
      UnselectAll();
    AddToSelection(node);
    if ((focusedColumn_ < 0 || !IsColumnVisible(focusedColumn_)) && MainColumn() >= 0)
      focusedColumn_ = IsColumnVisible(MainColumn()) ? MainColumn() : FirstVisibleColumn();
    if (!rangeAnchor_) rangeAnchor_ = node;
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
  if (selection_.isEmpty()) rangeAnchor_ = focusedNode_;
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

void TBaseLazyTree::MeasureDetached(PLazyNode node) {
  int height = node->NodeHeight;
  DoMeasureItem(node, height);
  node->NodeHeight = static_cast<std::uint16_t>(std::clamp(height, 0, 0xFFFF));
  node->TotalHeight = node->NodeHeight;
  node->Include(nsHeightMeasured);
}

int TBaseLazyTree::NodeHeight(PLazyNode node) {
  if (!IsRealNode(node)) return 0;
  if (options_->MiscOptions().Contains(toVariableNodeHeight) && !node->Has(nsHeightMeasured)) {
    int height = node->NodeHeight;
    DoMeasureItem(node, height);
    node->Include(nsHeightMeasured);
    SetNodeHeight(node, height);
  }
  return node->NodeHeight;
}

void TBaseLazyTree::SetNodeHeight(PLazyNode node, int value) {
  value = std::clamp(value, 0, 0xFFFF);
  if (!IsRealNode(node) || node->NodeHeight == value || options_->MiscOptions().Contains(toReadOnly)) return;
  // Only rows in view are read by the cache's worker.
  const bool inView = IsNodeInView(node);
  if (inView) StopValidation();
  const int diff = value - node->NodeHeight;
  node->NodeHeight = static_cast<std::uint16_t>(value);
  UpdateTotalHeight(node, diff, true);
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
  const bool parentShows = ChildrenShown(parent);
  const unsigned before = VisibleCount();
  if (value) {
    node->Include(nsVisible);
    if (parent->Has(nsExpanded)) UpdateTotalHeight(parent, static_cast<int>(node->TotalHeight), true);
    if (parentShows) store_.AddVisibleRows(1 + std::int64_t(CountVisibleChildren(node)));
    if (parent != RootNode()) parent->Exclude(nsAllChildrenHidden);
  } else {
    if (parentShows) store_.AddVisibleRows(-1 - std::int64_t(CountVisibleChildren(node)));
    if (parent->Has(nsExpanded)) UpdateTotalHeight(parent, -static_cast<int>(node->TotalHeight), true);
    node->Exclude(nsVisible);
    // Inside an update the flags are recomputed once at its end, not once per hidden node.
    if (updateCount_ > 0)
      DoStateChange({tsUpdateHiddenChildrenNeeded});
    else
      UpdateHiddenChildren(parent);
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
