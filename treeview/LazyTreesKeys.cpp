// The tree's key commands: the key table (LazyTreeKeyTable) says which command a key
// means, and each command has a small handler here.
#include "platform/ApplicationError.h"
#include "platform/HelpRequest.h"
#include "treeview/LazyTreeKeyTable.h"
#include "treeview/LazyTrees.h"

// What a command did with its key.
struct TBaseLazyTree::TKeyOutcome {
  enum TKind { Taken, Declined, NotMine, Move } kind;
  PLazyNode target = nullptr;  // for Move: where the focus goes (nil: nowhere)
};

// The handlers, one per command; a nested class, so they work on the tree as the tree.
struct TBaseLazyTree::TKeyCommands {
  using O = TKeyOutcome;
  using C = TTreeKeyCommand;
  using THandler = O (*)(TBaseLazyTree&, TShiftState);
  struct TRow {
    C command;
    THandler handler;
  };

  static O Taken() { return {O::Taken}; }
  static O MoveTo(PLazyNode node) { return {O::Move, node}; }

  static O Run(TBaseLazyTree& t, C command, TShiftState shift) {
    static const TRow kRows[] = {
        {C::Copy, [](TBaseLazyTree& t, TShiftState) { return t.CopyToClipboard(), Taken(); }},
        {C::Cut, [](TBaseLazyTree& t, TShiftState) { return t.CutToClipboard(), Taken(); }},
        {C::Paste, [](TBaseLazyTree& t, TShiftState) { return RunGuarded([&t] { t.PasteFromClipboard(); }), Taken(); }},
        {C::FocusParent, FocusParent},
        {C::NextColumn, [](TBaseLazyTree& t, TShiftState) { return StepColumn(t, false); }},
        {C::PreviousColumn, [](TBaseLazyTree& t, TShiftState) { return StepColumn(t, true); }},
        {C::ScrollPageUp, [](TBaseLazyTree& t, TShiftState) { return ScrollBy(t, 0, t.ClientHeight()); }},
        {C::ScrollPageDown, [](TBaseLazyTree& t, TShiftState) { return ScrollBy(t, 0, -t.ClientHeight()); }},
        {C::PageUp, [](TBaseLazyTree& t, TShiftState) { return Page(t, false); }},
        {C::PageDown, [](TBaseLazyTree& t, TShiftState) { return Page(t, true); }},
        {C::ScrollToLeftEdge, [](TBaseLazyTree& t, TShiftState) { return ScrollToEdge(t, false); }},
        {C::ScrollToRightEdge, [](TBaseLazyTree& t, TShiftState) { return ScrollToEdge(t, true); }},
        {C::FocusFirst, [](TBaseLazyTree& t, TShiftState) { return MoveTo(t.GetFirstVisible()); }},
        {C::FocusLast, [](TBaseLazyTree& t, TShiftState) { return MoveTo(t.GetLastVisibleNode()); }},
        {C::ScrollLeft, [](TBaseLazyTree& t, TShiftState) { return ScrollBy(t, t.appearance_.indent, 0); }},
        {C::ScrollRight, [](TBaseLazyTree& t, TShiftState) { return ScrollBy(t, -t.appearance_.indent, 0); }},
        {C::CollapseOrParent, CollapseOrParent},
        {C::ExpandOrChild, ExpandOrChild},
        {C::ScrollLineUp, [](TBaseLazyTree& t, TShiftState) { return ScrollBy(t, 0, t.DefaultNodeHeight()); }},
        {C::ScrollLineDown, [](TBaseLazyTree& t, TShiftState) { return ScrollBy(t, 0, -t.DefaultNodeHeight()); }},
        {C::FocusUp, [](TBaseLazyTree& t, TShiftState) { return StepRow(t, false); }},
        {C::FocusDown, [](TBaseLazyTree& t, TShiftState) { return StepRow(t, true); }},
        {C::Cancel, Cancel},
        {C::PressCheck, PressCheck},
        {C::SelectAll, [](TBaseLazyTree& t, TShiftState) { return t.SelectAllNodes(true), Taken(); }},
        {C::PopupMenu, PopupMenu},
        {C::ExpandSubtree, [](TBaseLazyTree& t, TShiftState) { return OnFocused(t, &TBaseLazyTree::ExpandAll); }},
        {C::ExpandAll, [](TBaseLazyTree& t, TShiftState) { return t.ExpandAll(nullptr), Taken(); }},
        {C::FitColumns, [](TBaseLazyTree& t, TShiftState) { return t.FitColumnsToContent(), Taken(); }},
        {C::Expand, [](TBaseLazyTree& t, TShiftState) { return Fold(t, true); }},
        {C::CollapseAll, [](TBaseLazyTree& t, TShiftState) { return t.CollapseAll(nullptr), Taken(); }},
        {C::RestoreColumns, [](TBaseLazyTree& t, TShiftState) { return t.RestoreColumnWidths(), Taken(); }},
        {C::Collapse, [](TBaseLazyTree& t, TShiftState) { return Fold(t, false); }},
        {C::CollapseSubtree, [](TBaseLazyTree& t, TShiftState) { return OnFocused(t, &TBaseLazyTree::CollapseAll); }},
        {C::Help, Help},
        {C::Edit, Edit},
        {C::Swallow, [](TBaseLazyTree&, TShiftState) { return Taken(); }},
    };
    for (const TRow& row : kRows)
      if (row.command == command) return row.handler(t, shift);
    return {O::NotMine};
  }

  static O ScrollBy(TBaseLazyTree& t, int dx, int dy) {
    if (dx) t.SetOffsetX(t.offsetX_ + dx);
    if (dy) t.SetOffsetY(t.offsetY_ + dy);
    return Taken();
  }
  static O ScrollToEdge(TBaseLazyTree& t, bool right) {
    if (t.focusedNode_) t.ScrollIntoView(t.focusedNode_, false);
    t.SetOffsetX(right ? -t.rangeX_ : 0);
    return Taken();
  }
  static O OnFocused(TBaseLazyTree& t, void (TBaseLazyTree::*action)(PLazyNode)) {
    if (t.focusedNode_) (t.*action)(t.focusedNode_);
    return Taken();
  }
  static O FocusParent(TBaseLazyTree& t, TShiftState) {
    PLazyNode node = t.focusedNode_;
    if (node && node->Parent != t.RootNode()) return MoveTo(node->Parent);
    return {O::NotMine};
  }
  // Tab walks the focusable columns, and on from the last one to the next row.
  static O StepColumn(TBaseLazyTree& t, bool back) {
    if (!t.wantTabs_ || !t.options_->SelectionOptions().Contains(toExtendedFocus) || t.ColumnCount() == 0)
      return {O::Declined};
    int column = back ? t.PreviousVisibleColumn(t.focusedColumn_) : t.NextVisibleColumn(t.focusedColumn_);
    while (column >= 0 && !t.ColumnCanFocus(column))
      column = back ? t.PreviousVisibleColumn(column) : t.NextVisibleColumn(column);
    if (column >= 0) {
      t.SetFocusedColumn(column);
    } else if (PLazyNode node = t.focusedNode_) {
      PLazyNode next = back ? t.GetPreviousVisibleNode(node) : t.GetNextVisible(node);
      if (next) {
        t.FocusAndSelect(next, {});
        t.SetFocusedColumn(back ? t.LastVisibleColumn() : t.FirstVisibleColumn());
      }
    }
    return Taken();
  }
  // As many rows as fit into the window.
  static O Page(TBaseLazyTree& t, bool down) {
    PLazyNode target = t.focusedNode_;
    if (!target) return MoveTo(down ? t.GetLastVisibleNode() : t.GetFirstVisible());
    int room = t.ClientHeight();
    while (PLazyNode next = down ? t.GetNextVisible(target) : t.GetPreviousVisibleNode(target)) {
      room -= next->NodeHeight;
      if (room < 0) break;
      target = next;
    }
    return MoveTo(target);
  }
  static O StepRow(TBaseLazyTree& t, bool down) {
    PLazyNode node = t.focusedNode_;
    return MoveTo(node ? (down ? t.GetNextVisible(node) : t.GetPreviousVisibleNode(node))
                       : (down ? t.GetFirstVisible() : t.GetLastVisibleNode()));
  }
  static O CollapseOrParent(TBaseLazyTree& t, TShiftState) {
    PLazyNode node = t.focusedNode_;
    if (!node) return Taken();
    if (node->Has(nsExpanded) && node->ChildCount > 0)
      t.ToggleExpanded(node);
    else if (node->Parent != t.RootNode())
      return MoveTo(node->Parent);
    return {O::NotMine};
  }
  static O ExpandOrChild(TBaseLazyTree& t, TShiftState) {
    PLazyNode node = t.focusedNode_;
    if (!node) return Taken();
    if (!node->Has(nsExpanded) && node->Has(nsHasChildren))
      t.ToggleExpanded(node);
    else if (node->Has(nsExpanded))
      return MoveTo(t.GetFirstVisibleChildNode(node));
    return {O::NotMine};
  }
  static O Fold(TBaseLazyTree& t, bool expand) {
    PLazyNode node = t.focusedNode_;
    if (node && node->Has(nsExpanded) != expand) t.ToggleExpanded(node);
    return Taken();
  }
  static O Cancel(TBaseLazyTree& t, TShiftState) {
    if (t.states_.Contains(tsDrawSelecting))
      t.DoStateChange({}, {tsDrawSelecting, tsDrawSelPending});
    else if (t.IsEditing())
      t.CancelEditNode();
    return Taken();
  }
  // Space presses the check box; the change comes when it is released (keyReleaseEvent).
  static O PressCheck(TBaseLazyTree& t, TShiftState) {
    PLazyNode node = t.focusedNode_;
    if (!t.options_->MiscOptions().Contains(toCheckSupport) || !node || node->Has(nsDisabled) ||
        node->CheckType == ctNone || t.states_.Contains(tsMouseCheckPending))
      return {O::NotMine};
    TCheckState next = t.CheckStateAfterClick(TCheckType(node->CheckType), TCheckState(node->CheckState));
    if (t.DoChecking(node, next)) {
      t.input_->BeginKeyCheck(node, next);
      t.DoStateChange({tsKeyCheckPending});
      t.InvalidateNodeRow(node);
    }
    return Taken();
  }
  static O PopupMenu(TBaseLazyTree& t, TShiftState) {
    if (PLazyNode node = t.focusedNode_) {
      const QRect r = t.GetDisplayRect(node, t.focusedColumn_, false);
      t.ShowPopupAt(node, t.focusedColumn_, r.center());
    } else {
      t.ShowPopupAt(nullptr, -1, t.viewport()->rect().center());
    }
    return Taken();
  }
  static O Help(TBaseLazyTree& t, TShiftState) {
    if (t.OnGetHelpContext) {
      const int context = t.DoGetHelpContext(t.focusedNode_, t.focusedColumn_);
      if (context != 0) ShowHelpContext(context);
    }
    return Taken();
  }
  static O Edit(TBaseLazyTree& t, TShiftState) {
    PLazyNode node = t.focusedNode_;
    if (node && t.CanEdit(node, t.focusedColumn_)) RunGuarded([&] { t.EditNode(node, t.focusedColumn_); });
    return Taken();
  }
};

bool TBaseLazyTree::HandleKeyDown(int key, TShiftState shift, const QString& text) {
  if (states_.Contains(tsIncrementalSearching) && IsSearchEditKey(key)) {
    IncrementalSearchKey(key == Qt::Key_Backspace ? QChar(8) : text.at(0));
    return true;
  }
  const TKeyOutcome outcome = TKeyCommands::Run(*this, LazyTreeKeyCommand(key, shift), shift);
  switch (outcome.kind) {
    case TKeyOutcome::Taken:
      return true;
    case TKeyOutcome::Declined:
      return false;
    case TKeyOutcome::Move:
      if (outcome.target) {
        if (focusedColumn_ < 0 && MainColumn() >= 0) focusedColumn_ = MainColumn();
        FocusAndSelect(outcome.target, shift);
      }
      return true;
    case TKeyOutcome::NotMine:
      break;
  }
  // A printable key no command took starts or continues an incremental search.
  const QChar first = text.isEmpty() ? QChar() : text.at(0);
  if (first.isPrint() && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt) && search_->Enabled()) {
    DoStateChange({tsIncrementalSearchPending});
    IncrementalSearchKey(first);
    DoStateChange({}, {tsIncrementalSearchPending});
    return true;
  }
  return key == Qt::Key_Backspace || key == Qt::Key_Left || key == Qt::Key_Right;
}
