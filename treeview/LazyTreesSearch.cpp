// Incremental search as the tree runs it: the keys that reach it, the walk in its mode,
// and what a hit does to focus and selection (the search itself is
// LazyTreeIncrementalSearch).
#include "platform/Desktop.h"
#include "treeview/LazyTreeIncrementalSearch.h"
#include "treeview/LazyTrees.h"

int TBaseLazyTree::SearchNodeText(PLazyNode node, const QString& text) { return DoIncrementalSearch(node, text); }

void TBaseLazyTree::ForgetSearchHit() { search_->Forget(); }

void TBaseLazyTree::ForgetWorkingNode(PLazyNode node) {
  search_->ForgetNode(node);
  if (input_->MouseCheckNode() == node) {
    input_->TakeMouseCheckNode();
    DoStateChange({}, {tsMouseCheckPending});
  }
  // An editor must never write into a node that is gone.
  if (edit_.Node() == node && IsEditing()) DropEditSilently();
}

// The next node of the walk in the search's mode, wrapping at either end.
PLazyNode TBaseLazyTree::SearchStep(PLazyNode node, bool forward) {
  switch (search_->Mode()) {
    case isInitializedOnly:
      if (node) node = forward ? GetNextRaw(node) : GetPreviousRaw(node);
      return node ? node : forward ? GetFirstRaw() : GetLastRaw();
    case isVisibleOnly:
      if (node) node = forward ? GetNextVisible(node) : GetPreviousVisibleNode(node);
      return node ? node : forward ? GetFirstVisible() : GetLastVisibleNode();
    default:
      if (node) node = forward ? GetNext(node) : GetPrevious(node);
      return node ? node : forward ? GetFirst() : GetLast();
  }
}

void TBaseLazyTree::IncrementalSearchKey(QChar key) {
  StopTimer(SearchTimer);
  if (!search_->Enabled()) return;
  if (key.unicode() != 0) {
    // Typing drops an edit that a click made pending.
    if (states_.Contains(tsEditPending)) {
      StopTimer(EditTimer);
      DoStateChange({}, {tsEditPending});
    }
    DoStateChange({tsIncrementalSearching});
    const TLazyTreeIncrementalSearch::TWalk walk{
        [this](PLazyNode node, bool forward) { return SearchStep(node, forward); },
        [this](PLazyNode node, const QString& text) { return SearchNodeText(node, text); },
        [this](PLazyNode node) { return IsNodeInView(node); }};
    const TLazyTreeIncrementalSearch::TOutcome outcome = search_->TypeKey(key, focusedNode_, walk);
    if (outcome.Found) {
      UnselectAll();
      const PLazyNode old = focusedNode_;
      if (ChangeFocus(outcome.Found, true) && focusedNode_ != old) DoFocusChange(focusedNode_, focusedColumn_);
      SetNodeSelected(outcome.Found, true);
    } else if (outcome.Searched) {
      Desktop().Beep();
    }
  }
  input_->StartTimer(SearchTimer, search_->Timeout());
}
