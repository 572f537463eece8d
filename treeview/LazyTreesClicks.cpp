// The mouse rules as far as they decide focus, selection, checks and a pending edit:
// press, release and double click over the nodes.
#include "treeview/LazyTreeAssert.h"
#include "treeview/LazyTrees.h"

#include <QApplication>

// The steps of a press: beside the nodes, the column a click focuses, the clearing of the
// selection before a plain click, a click with Ctrl or Shift.
struct TBaseLazyTree::TClickSteps {
  static void HandleEmptyClick(TBaseLazyTree& t, Qt::MouseButton button, TShiftState shift);
  static int ClickedColumn(const TBaseLazyTree& t, const THitInfo& hit);
  static void ClearSelectionForPlainClick(TBaseLazyTree& t, PLazyNode node);
  static void HandleModifierClick(TBaseLazyTree& t, PLazyNode node, TShiftState shift, bool mayDrag);
};

void TBaseLazyTree::HandleNodeClick(Qt::MouseButton button, TShiftState shift, const THitInfo& hit) {
  // A pending edit loses its timer and a running one ends before anything else happens.
  if (states_.Contains(tsEditPending)) {
    StopTimer(EditTimer);
    DoStateChange({}, {tsEditPending});
  }
  if (IsEditing() && !EndEditNode()) return;
  if (focusPolicy() != Qt::NoFocus && !hasFocus()) setFocus(Qt::MouseFocusReason);
  CancelHint();

  const TLTSelectionOptions selection = options_->SelectionOptions();
  const bool multi = selection.Contains(toMultiSelect);
  const bool ctrl = shift.Contains(ssCtrl);
  const bool shiftKey = shift.Contains(ssShift);
  PLazyNode node = hit.HitNode;

  if (!node) {
    TClickSteps::HandleEmptyClick(*this, button, shift);
    return;
  }
  if (button == Qt::LeftButton && hit.HitPositions.Contains(hpOnButton) && node->Has(nsHasChildren)) {
    ToggleExpanded(node);
    return;
  }
  if (button == Qt::LeftButton && hit.HitPositions.Contains(hpOnCheckBox) &&
      options_->MiscOptions().Contains(toCheckSupport)) {
    HandleCheckPress(node);
    return;
  }

  const int column = TClickSteps::ClickedColumn(*this, hit);
  const bool onContent = hit.HitPositions.Intersects({hpOnLabel, hpOnNormalIcon, hpOnStateIcon}) ||
                         selection.Contains(toFullRowSelect);
  const bool clickedFocused = button == Qt::LeftButton && node == focusedNode_ && column == focusedColumn_ &&
                              !ctrl && !shiftKey && onContent && !states_.Contains(tsLeftDblClick);
  if (!(ctrl || shiftKey) || selection_.IsEmpty()) selection_.SetLevel(static_cast<int>(LevelOfNode(node)));

  if (!multi || (!ctrl && !shiftKey)) TClickSteps::ClearSelectionForPlainClick(*this, node);

  const PLazyNode oldFocus = focusedNode_;
  const int oldColumn = focusedColumn_;
  if (column != focusedColumn_ && DoFocusChanging(focusedNode_, node, focusedColumn_, column)) focusedColumn_ = column;
  if (!ChangeFocus(node, true)) {
    focusedColumn_ = oldColumn;
    return;
  }
  if (focusedNode_ != oldFocus || focusedColumn_ != oldColumn) DoFocusChange(focusedNode_, focusedColumn_);

  if (multi && (ctrl || shiftKey)) {
    TClickSteps::HandleModifierClick(*this, node, shift, DoDragAllowed(node, focusedColumn_));
  } else {
    selection_.SetAnchor(node);
    if (!node->Has(nsSelected) && AddToSelection(node)) InvalidateNodeRow(node);
  }
  if (clickedFocused && CanEditCell(node, focusedColumn_)) DoStateChange({tsEditPending});
}

// A click beside the nodes clears the selection (unless it extends it) and may start a
// selection rectangle at the press.
void TBaseLazyTree::TClickSteps::HandleEmptyClick(TBaseLazyTree& t, Qt::MouseButton button, TShiftState shift) {
  const TLTSelectionOptions selection = t.options_->SelectionOptions();
  const bool multi = selection.Contains(toMultiSelect);
  if (!(multi && (shift.Contains(ssCtrl) || shift.Contains(ssShift)))) t.UnselectAll();
  if (button == Qt::LeftButton && multi && !selection.Contains(toDisableDrawSelection)) {
    t.DoStateChange({tsDrawSelPending});
    t.drawSelectionShift_ = shift;
    const QPoint start = t.input_->PressPosition() - QPoint(t.offsetX_, t.offsetY_);
    t.selectRectangle_ = QRect(start, start);
  }
}

// The focused column after a click: the clicked one when the label was hit or the whole
// row counts, the main column without extended focus.
int TBaseLazyTree::TClickSteps::ClickedColumn(const TBaseLazyTree& t, const THitInfo& hit) {
  const TLTSelectionOptions selection = t.options_->SelectionOptions();
  int column = t.focusedColumn_;
  if (hit.HitColumn >= 0 && (hit.HitPositions.Contains(hpOnLabel) || selection.Contains(toFullRowSelect) ||
                             t.options_->MiscOptions().Contains(toGridExtensions)))
    column = hit.HitColumn;
  if (!selection.Contains(toExtendedFocus) && t.ColumnCount() > 0) column = t.MainColumn();
  return column;
}

// A plain click (any click without multi-selection) selects only the clicked node; on
// a node that is part of a larger selection the clearing waits for the release, so the
// selection can still be dragged.
void TBaseLazyTree::TClickSteps::ClearSelectionForPlainClick(TBaseLazyTree& t, PLazyNode node) {
  if (!node->Has(nsSelected)) {
    if (!LazyTreeCheck(!t.states_.Contains(tsClearPending), "Pending and direct clearance are mutual exclusive!"))
      t.DoStateChange({}, {tsClearPending});
    const bool many = t.selection_.Count() > 1;
    t.UnselectAll();
    if (many) t.InvalidateTree();
  } else if (t.options_->SelectionOptions().Contains(toMultiSelect) && t.selection_.Count() > 1) {
    t.DoStateChange({tsClearPending});
  }
}

void TBaseLazyTree::TClickSteps::HandleModifierClick(TBaseLazyTree& t, PLazyNode node, TShiftState shift,
                                                     bool mayDrag) {
  const bool ctrl = shift.Contains(ssCtrl);
  const bool shiftKey = shift.Contains(ssShift);
  if (ctrl && shiftKey) {
    t.SelectRange(t.selection_.Anchor() ? t.selection_.Anchor() : node, node, true);
    t.InvalidateTree();
  } else if (shiftKey) {
    if (!t.selection_.Anchor()) t.selection_.SetAnchor(t.GetFirst());
    if (!t.selection_.Anchor()) return;
    t.SelectRange(t.selection_.Anchor(), node, false);
    t.InvalidateTree();
  } else {
    if (!t.options_->SelectionOptions().Contains(toSiblingSelectConstraint)) t.selection_.SetAnchor(node);
    if (mayDrag) {
      t.DoStateChange({tsToggleFocusedSelection});
      return;
    }
    if (node->Has(nsSelected))
      t.RemoveFromSelection(node);
    else
      t.AddToSelection(node);
    t.InvalidateNodeRow(node);
  }
}

void TBaseLazyTree::HandleNodeRelease(Qt::MouseButton button, TShiftState, const THitInfo& hit) {
  if (states_.Contains(tsMouseCheckPending)) {
    HandleCheckRelease(hit);
    return;
  }
  if (states_.Intersects({tsDrawSelPending, tsDrawSelecting})) {
    DoStateChange({}, {tsDrawSelPending, tsDrawSelecting});
    selectRectangle_ = QRect();
    InvalidateTree();
  }
  if (states_.Contains(tsToggleFocusedSelection)) {
    DoStateChange({}, {tsToggleFocusedSelection});
    if (hit.HitNode && hit.HitNode == focusedNode_) {
      if (focusedNode_->Has(nsSelected))
        RemoveFromSelection(focusedNode_);
      else
        AddToSelection(focusedNode_);
      InvalidateNodeRow(focusedNode_);
    }
  }
  if (states_.Contains(tsClearPending)) {
    DoStateChange({}, {tsClearPending});
    if (hit.HitNode && hit.HitNode == focusedNode_) {
      UnselectAll();
      AddToSelection(focusedNode_);
      selection_.SetAnchor(focusedNode_);
      InvalidateTree();
    }
  }
  if (states_.Contains(tsEditPending)) {
    if (button == Qt::LeftButton && hit.HitNode && hit.HitNode == focusedNode_ &&
        CanEditCell(focusedNode_, focusedColumn_))
      input_->StartTimer(EditTimer, edit_.Delay());
    else
      DoStateChange({}, {tsEditPending});
  }
}

void TBaseLazyTree::HandleNodeDblClick(Qt::MouseButton, TShiftState, const THitInfo& hit) {
  // A double click never starts an edit: the press before it may have made one pending.
  StopTimer(EditTimer);
  DoStateChange({}, {tsEditPending});
  PLazyNode node = hit.HitNode;
  if (!node) return;
  if (hit.HitPositions.Contains(hpOnButton)) {
    ToggleExpanded(node);
    return;
  }
  if (!options_->MiscOptions().Contains(toToggleOnDblClick) || !node->Has(nsHasChildren)) return;
  const bool onNode = hit.HitPositions.Intersects({hpOnLabel, hpOnNormalIcon, hpOnStateIcon});
  if (onNode || options_->SelectionOptions().Contains(toFullRowSelect)) ToggleExpanded(node);
}
