// Bulk selection, cut and copy marks and the standard edit actions.
#include "treeview/LazyTreeAssert.h"
#include "treeview/LazyTreeUpdateGuard.h"
#include "treeview/LazyTrees.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>


// ---- Bulk selection -------------------------------------------------------------------

bool TBaseLazyTree::AddToSelection(const QVector<PLazyNode>& nodes, bool forceInsert) {
  const TLTSelectionOptions options = options_->SelectionOptions();
  const bool levelConstraint = options.Contains(toLevelSelectConstraint);
  const bool siblingConstraint = options.Contains(toSiblingSelectConstraint);
  QVector<PLazyNode> added;
  added.reserve(nodes.size());
  for (PLazyNode node : nodes) {
    // A node listed twice, or selected already, is never entered twice.
    if (!IsRealNode(node) || node->Has(nsSelected)) continue;
    if (!forceInsert && (node->Has(nsDisabled) || !selection_.Admits(node, levelConstraint, siblingConstraint)))
      continue;
    node->Include(nsSelected);
    added.append(node);
  }
  if (added.isEmpty()) return false;
  selection_.Merge(std::move(added));
  Change(nullptr);
  return true;
}

// ---- Cut and copy marks ---------------------------------------------------------------

namespace {
// False when there was nothing to put there.
bool PutOnClipboard(std::unique_ptr<QMimeData> data) {
  if (!data) return false;
  QGuiApplication::clipboard()->setMimeData(data.release());
  return true;
}
}  // namespace

void TBaseLazyTree::CopySelectedToClipboard() {
  if (selection_.IsEmpty()) return;
  CancelCutCopyMarks();
  if (!PutOnClipboard(CreateClipboardData(false))) return;
  selection_.MarkCutCopy();
  DoStateChange({tsCopyPending});
  InvalidateTree();
}

void TBaseLazyTree::CutSelectedToClipboard() {
  if (selection_.IsEmpty() || options_->MiscOptions().Contains(toReadOnly)) return;
  CancelCutCopyMarks();
  if (!PutOnClipboard(CreateClipboardData(true))) return;
  selection_.MarkCutCopy();
  DoStateChange({tsCutPending});
  InvalidateTree();
}

void TBaseLazyTree::CancelCutCopyMarks() {
  if (!states_.Intersects({tsCutPending, tsCopyPending})) return;
  selection_.ClearCutCopyMarks();
  DoStateChange({}, {tsCutPending, tsCopyPending});
  InvalidateTree();
}

QVector<PLazyNode> TBaseLazyTree::SortedCutCopySet(bool resolve) { return selection_.CutCopySet(resolve); }

PLazyNode TBaseLazyTree::GetFirstCutCopyNode() { return GetNextCutCopyNode(nullptr); }

PLazyNode TBaseLazyTree::GetNextCutCopyNode(PLazyNode node) {
  if (!states_.Intersects({tsCutPending, tsCopyPending})) return nullptr;
  if (node == RootNode()) return GetNextRaw(node);  // reports the wrong call
  return selection_.NextCutCopyNode(node);
}

void TBaseLazyTree::DeleteMarkedCutNodes() {
  if (!states_.Contains(tsCutPending)) return;
  // Marked descendants of a marked node go with it; deleting from the back keeps the
  // nodes still to come alive.
  const QVector<PLazyNode> marked = SortedCutCopySet(true);
  {
    TTreeUpdateGuard update(*this);
    for (qsizetype i = marked.size() - 1; i >= 0; --i) DeleteNode(marked[i]);
  }
  DoStateChange({}, {tsCutPending});
}

// ---- Edit actions ---------------------------------------------------------------------

bool TBaseLazyTree::EditActionEnabled(TLTEditAction action) {
  switch (action) {
    case eaSelectAll:
      return options_->SelectionOptions().Contains(toMultiSelect) && VisibleCount() > 0;
    case eaCopy:
    case eaCut:
      return !selection_.IsEmpty() && !ClipboardFormatEtcs().isEmpty();
    case eaDelete:
      return !selection_.IsEmpty();
    case eaPaste:
      return true;
  }
  return false;
}

bool TBaseLazyTree::ExecuteEditAction(TLTEditAction action) {
  if (!EditActionEnabled(action)) return false;
  const bool readOnly = options_->MiscOptions().Contains(toReadOnly);
  switch (action) {
    case eaSelectAll:
      SelectAllNodes(false);
      return true;
    case eaCopy:
      CopySelectedToClipboard();
      return true;
    case eaCut:
      if (!readOnly) CutSelectedToClipboard();
      return !readOnly;
    case eaPaste:
      if (!readOnly) PasteFromClipboard();
      return !readOnly;
    case eaDelete:
      if (!readOnly) DeleteSelectedItems();
      return !readOnly;
  }
  return false;
}
