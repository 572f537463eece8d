// Incremental search: typed characters collect into a search text that the nodes are
// matched against, until the search timer runs out.
#include "platform/Desktop.h"
#include "treeview/LazyTrees.h"

namespace {
constexpr char16_t kBackspace = 8;
}

int TBaseLazyTree::SearchNodeText(PLazyNode node, const QString& text) { return DoIncrementalSearch(node, text); }

void TBaseLazyTree::ForgetSearchHit() {
  searchBuffer_.clear();
  lastSearchHit_ = nullptr;
}

void TBaseLazyTree::ForgetWorkingNode(PLazyNode node) {
  if (lastSearchHit_ == node) lastSearchHit_ = nullptr;
  if (input_->MouseCheckNode() == node) {
    input_->TakeMouseCheckNode();
    DoStateChange({}, {tsMouseCheckPending});
  }
  // An editor must never write into a node that is gone.
  if (editNode_ == node && IsEditing()) DropEditSilently();
}

// The next node of the walk in the search's mode, wrapping at either end.
PLazyNode TBaseLazyTree::SearchStep(PLazyNode node, bool forward) {
  switch (incrementalSearch_) {
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
  if (incrementalSearch_ == isNone) return;
  if (key.unicode() != 0) {
    // Typing drops an edit that a click made pending.
    if (states_.Contains(tsEditPending)) {
      StopTimer(EditTimer);
      DoStateChange({}, {tsEditPending});
    }
    DoStateChange({tsIncrementalSearching});
    const bool backspace = key.unicode() == kBackspace;
    // Backspace over the last character leaves the search running for the next key.
    if (!(backspace && searchBuffer_.size() <= 1)) {
      PLazyNode start = searchStart_ == ssLastHit ? lastSearchHit_ : searchStart_ == ssFocusedNode ? focusedNode_ : nullptr;
      if (start && incrementalSearch_ == isInitializedOnly && !start->Has(nsInitialized)) start = nullptr;
      if (start && incrementalSearch_ == isVisibleOnly && !IsNodeInView(start)) start = nullptr;
      bool forward = searchDirection_ == sdForward;
      if (backspace) forward = !forward;

      QString text = searchBuffer_;
      bool skipStart = text.isEmpty() || !start || backspace;
      if (text.size() == 1 && !backspace && key == text.at(0)) {
        // The same letter again: the focused node wins when it matches it twice,
        // otherwise the next node that begins with the letter.
        if (start && SearchNodeText(start, text + key) == 0)
          text += key;
        else
          skipStart = true;
      } else if (backspace) {
        text.chop(1);
      } else {
        text += key;
      }

      PLazyNode node = !start ? SearchStep(nullptr, forward) : skipStart ? SearchStep(start, forward) : start;
      PLazyNode found = nullptr;
      // The walk ends where it began; a begin that the walk cannot reach again (a node
      // that left the walk's order) ends it after one full round.
      const PLazyNode first = node;
      const PLazyNode wrapPoint = SearchStep(nullptr, forward);
      int wraps = 0;
      while (node) {
        const bool testable = incrementalSearch_ != isInitializedOnly || node->Has(nsInitialized);
        if (testable && SearchNodeText(node, text) == 0) {
          found = node;
          break;
        }
        PLazyNode next = SearchStep(node, forward);
        if (next == wrapPoint && ++wraps > 1) break;
        node = next;
        if (node == first) break;
      }
      if (found) {
        UnselectAll();
        searchBuffer_ = text;
        lastSearchHit_ = found;
        const PLazyNode old = focusedNode_;
        if (ChangeFocus(found, true) && focusedNode_ != old) DoFocusChange(focusedNode_, focusedColumn_);
        SetNodeSelected(found, true);
      } else {
        Desktop().Beep();
      }
    }
  }
  input_->StartTimer(SearchTimer, searchTimeout_);
}
