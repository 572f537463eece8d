// Bulk selection, cut and copy marks and the standard edit actions.
#include "treeview/LazyTreeAssert.h"
#include "treeview/LazyTreeUpdateGuard.h"
#include "treeview/LazyTrees.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <algorithm>

// ---- Bulk selection -------------------------------------------------------------------

bool TBaseLazyTree::AddToSelection(const QVector<PLazyNode>& nodes, bool forceInsert) {
  const TLTSelectionOptions options = options_->SelectionOptions();
  QVector<quintptr> added;
  added.reserve(nodes.size());
  for (PLazyNode node : nodes) {
    // A node listed twice, or selected already, is never entered twice.
    if (!IsRealNode(node) || node->Has(nsSelected)) continue;
    if (!forceInsert) {
      if (node->Has(nsDisabled)) continue;
      if (options.Contains(toLevelSelectConstraint)) {
        if (lastSelectionLevel_ < 0) lastSelectionLevel_ = static_cast<int>(LevelOfNode(node));
        if (static_cast<int>(LevelOfNode(node)) != lastSelectionLevel_) continue;
      }
      if (options.Contains(toSiblingSelectConstraint)) {
        if (!rangeAnchor_) rangeAnchor_ = node;
        if (node->Parent != rangeAnchor_->Parent) continue;
      }
    }
    node->Include(nsSelected);
    added.append(reinterpret_cast<quintptr>(node));
  }
  if (added.isEmpty()) return false;
  // Nodes come from blocks handed out in order, so a walk in tree order is often sorted
  // by address already.
  if (!std::is_sorted(added.cbegin(), added.cend())) std::sort(added.begin(), added.end());
  PackSelection();
  const qsizetype oldSize = selection_.size();
  selection_.resize(oldSize + added.size());
  // Merges from the back so that the array grows in place.
  quintptr* entries = selection_.data();
  qsizetype i = oldSize - 1, j = added.size() - 1, k = selection_.size() - 1;
  while (j >= 0) entries[k--] = i >= 0 && entries[i] > added[j] ? entries[i--] : added[j--];
  Change(nullptr);
  return true;
}

// ---- Cut and copy marks ---------------------------------------------------------------

namespace {
// Puts the selection on the clipboard and marks it; false when nothing was put there.
bool MarkForClipboard(const QVector<quintptr>& selection, std::unique_ptr<QMimeData> data) {
  if (!data) return false;
  QGuiApplication::clipboard()->setMimeData(data.release());
  for (quintptr slot : selection) {
    auto* node = reinterpret_cast<PLazyNode>(slot & ~quintptr(1));
    if (!(slot & 1) && !node->Has(nsDisabled)) node->Include(nsCutOrCopy);
  }
  return true;
}
}  // namespace

void TBaseLazyTree::CopySelectedToClipboard() {
  if (selection_.isEmpty()) return;
  CancelCutCopyMarks();
  if (!MarkForClipboard(selection_, CreateClipboardData(false))) return;
  DoStateChange({tsCopyPending});
  InvalidateTree();
}

void TBaseLazyTree::CutSelectedToClipboard() {
  if (selection_.isEmpty() || options_->MiscOptions().Contains(toReadOnly)) return;
  CancelCutCopyMarks();
  if (!MarkForClipboard(selection_, CreateClipboardData(true))) return;
  DoStateChange({tsCutPending});
  InvalidateTree();
}

void TBaseLazyTree::CancelCutCopyMarks() {
  if (!states_.Intersects({tsCutPending, tsCopyPending})) return;
  for (PLazyNode run = GetFirstRaw(); run; run = GetNextRaw(run)) run->Exclude(nsCutOrCopy);
  DoStateChange({}, {tsCutPending, tsCopyPending});
  InvalidateTree();
}

QVector<PLazyNode> TBaseLazyTree::SortedCutCopySet(bool resolve) {
  QVector<PLazyNode> result;
  PLazyNode run = GetFirstRaw();
  while (run) {
    if (run->Has(nsCutOrCopy)) {
      result.append(run);
      if (resolve) {
        // The marked node stands for its whole subtree: go on after it.
        while (run && run != RootNode() && !run->NextSibling) run = run->Parent;
        run = run && run != RootNode() ? run->NextSibling : nullptr;
        continue;
      }
    }
    run = GetNextRaw(run);
  }
  return result;
}

PLazyNode TBaseLazyTree::GetFirstCutCopyNode() { return GetNextCutCopyNode(nullptr); }

PLazyNode TBaseLazyTree::GetNextCutCopyNode(PLazyNode node) {
  if (!states_.Intersects({tsCutPending, tsCopyPending})) return nullptr;
  for (PLazyNode run = node ? GetNextRaw(node) : GetFirstRaw(); run; run = GetNextRaw(run))
    if (run->Has(nsCutOrCopy)) return run;
  return nullptr;
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
      return !selection_.isEmpty() && !ClipboardFormatEtcs().isEmpty();
    case eaDelete:
      return !selection_.isEmpty();
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
