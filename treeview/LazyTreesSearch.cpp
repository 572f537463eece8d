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

struct TBaseLazyTree::TSearchSteps {
  // The next node of the walk in the search's mode, wrapping at either end.
  static PLazyNode SearchStep(TBaseLazyTree& t, PLazyNode node, bool forward);
};

PLazyNode TBaseLazyTree::TSearchSteps::SearchStep(TBaseLazyTree& t, PLazyNode node, bool forward) {
  switch (t.search_->Mode()) {
    case isInitializedOnly:
      if (node) node = forward ? t.GetNextRaw(node) : t.GetPreviousRaw(node);
      return node ? node : forward ? t.GetFirstRaw() : t.GetLastRaw();
    case isVisibleOnly:
      if (node) node = forward ? t.GetNextVisible(node) : t.GetPreviousVisibleNode(node);
      return node ? node : forward ? t.GetFirstVisible() : t.GetLastVisibleNode();
    default:
      if (node) node = forward ? t.GetNext(node) : t.GetPrevious(node);
      return node ? node : forward ? t.GetFirst() : t.GetLast();
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
        [this](PLazyNode node, bool forward) { return TSearchSteps::SearchStep(*this, node, forward); },
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
