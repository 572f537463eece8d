// The editing life cycle of the base tree: which cell may be edited, starting an edit
// through an edit link, and ending it by accepting or cancelling.
#include "treeview/LazyTreeAssert.h"
#include "treeview/LazyTreeEditLink.h"
#include "treeview/LazyTrees.h"

bool TBaseLazyTree::CanEditCell(PLazyNode node, int column) { return DoCanEdit(node, column); }

bool TBaseLazyTree::EditCell(PLazyNode node, int column) {
  if (!LazyTreeCheck(node != nullptr, "Node must not be nil.")) return false;
  const bool validColumn = ColumnCount() > 0 ? column >= 0 && column < ColumnCount() : column == -1;
  if (!LazyTreeCheck(validColumn, "Column must be a valid column index (-1 if no header is shown)."))
    return false;
  if (IsEditing() || options_->MiscOptions().Contains(toReadOnly)) return IsEditing();
  SetFocusedNode(node);
  if (node == focusedNode_ && CanEditCell(node, column)) {
    edit_.SetColumn(column);
    if (!node->Has(nsInitialized)) InitializeNode(node);
    StartEdit();
  }
  return IsEditing();
}

std::shared_ptr<ILTEditLink> TBaseLazyTree::CreateEditLink() {
  std::shared_ptr<ILTEditLink> link;
  if (OnCreateEditor) {
    OnCreateEditor(this, focusedNode_, edit_.Column(), link);
    if (!link) throw ELazyTreeError(QStringLiteral("Edit link must not be nil."), hcTFEditLinkIsNil);
  }
  return link;
}

void TBaseLazyTree::StartEdit() {
  CancelHint();
  StopTimer(ScrollTimer);
  StopTimer(EditTimer);
  DoStateChange({}, {tsEditPending});
  if (!focusedNode_ || focusedNode_->Has(nsDisabled) || options_->MiscOptions().Contains(toReadOnly) || edit_.IsOpen())
    return;
  std::shared_ptr<ILTEditLink> link = CreateEditLink();
  if (!link) return;
  edit_.Open(link, focusedNode_);
  DoStateChange({tsEditing});
  ScrollIntoView(focusedNode_, options_->SelectionOptions().Contains(toCenterScrollIntoView), true);
  bool started = false;
  if (link->PrepareEditing(this, focusedNode_, edit_.Column())) {
    QRect bounds = GetDisplayRect(focusedNode_, edit_.Column(), true);
    link->SetEditorBounds(bounds);
    InvalidateNodeRow(focusedNode_);
    started = link->StartEditing();
  }
  if (!started) DoStateChange({}, {tsEditing});
  if (!IsEditing() && edit_.Link() == link.get()) {
    edit_.CloseIfRunBy(link);
    EditLinkReleased();
  }
}

bool TBaseLazyTree::FinishEdit() {
  bool ended = !IsEditing();
  if (IsEditing() && edit_.IsOpen()) {
    // Held here: the owner's events during the finish may end the edit a second time.
    std::shared_ptr<ILTEditLink> link = edit_.SharedLink();
    if (link->FinishEditing()) {
      DoStateChange({}, {tsEditing});
      edit_.CloseIfRunBy(link);
      EditLinkReleased();
      if (!destroying_) DoEndEdit();
      ended = true;
    }
  }
  DoStateChange({}, {tsEditPending});
  return ended;
}

bool TBaseLazyTree::AbortEdit() {
  StopTimer(EditTimer);
  DoStateChange({}, {tsEditPending});
  if (!IsEditing() || !edit_.IsOpen()) return false;
  if (destroying_) {
    DropEditSilently();
    return true;
  }
  std::shared_ptr<ILTEditLink> link = edit_.SharedLink();
  if (!link->AbortEditing()) return false;
  DoStateChange({}, {tsEditing});
  DoCancelEdit();
  edit_.CloseIfRunBy(link);
  EditLinkReleased();
  return true;
}

void TBaseLazyTree::DropEditSilently() {
  // No owner event here: the tree or the program is on its way out, or the node is gone.
  edit_.Drop();
  states_ -= TLazyTreeStates{tsEditing, tsEditPending};
  StopTimer(EditTimer);
}
