// The incremental search's text, start node and walk.
#include "treeview/LazyTreeIncrementalSearch.h"

namespace {
constexpr char16_t kBackspace = 8;
}

void TLazyTreeIncrementalSearch::Forget() {
  buffer_.clear();
  lastHit_ = nullptr;
}

void TLazyTreeIncrementalSearch::ForgetNode(PLazyNode node) {
  if (lastHit_ == node) lastHit_ = nullptr;
}

PLazyNode TLazyTreeIncrementalSearch::StartNode(PLazyNode focused, const TWalk& walk) const {
  PLazyNode start = start_ == ssLastHit ? lastHit_ : start_ == ssFocusedNode ? focused : nullptr;
  if (start && mode_ == isInitializedOnly && !start->Has(nsInitialized)) start = nullptr;
  if (start && mode_ == isVisibleOnly && !walk.InView(start)) start = nullptr;
  return start;
}

PLazyNode TLazyTreeIncrementalSearch::FindFrom(PLazyNode node, const QString& text, bool forward,
                                               const TWalk& walk) const {
  // The walk ends where it began; a begin that the walk cannot reach again (a node that
  // left the walk's order) ends it after one full round.
  const PLazyNode first = node;
  const PLazyNode wrapPoint = walk.Step(nullptr, forward);
  int wraps = 0;
  while (node) {
    const bool testable = mode_ != isInitializedOnly || node->Has(nsInitialized);
    if (testable && walk.Match(node, text) == 0) return node;
    PLazyNode next = walk.Step(node, forward);
    if (next == wrapPoint && ++wraps > 1) break;
    node = next;
    if (node == first) break;
  }
  return nullptr;
}

TLazyTreeIncrementalSearch::TOutcome TLazyTreeIncrementalSearch::TypeKey(QChar key, PLazyNode focused,
                                                                         const TWalk& walk) {
  const bool backspace = key.unicode() == kBackspace;
  // Backspace over the last character leaves the search running for the next key.
  if (backspace && buffer_.size() <= 1) return {};
  PLazyNode start = StartNode(focused, walk);
  bool forward = direction_ == sdForward;
  if (backspace) forward = !forward;

  QString text = buffer_;
  bool skipStart = text.isEmpty() || !start || backspace;
  if (text.size() == 1 && !backspace && key == text.at(0)) {
    // The same letter again: the start node wins when it matches it twice, otherwise the
    // next node that begins with the letter.
    if (start && walk.Match(start, text + key) == 0)
      text += key;
    else
      skipStart = true;
  } else if (backspace) {
    text.chop(1);
  } else {
    text += key;
  }

  PLazyNode node = !start ? walk.Step(nullptr, forward) : skipStart ? walk.Step(start, forward) : start;
  TOutcome outcome{true, FindFrom(node, text, forward, walk)};
  if (outcome.Found) {
    buffer_ = text;
    lastHit_ = outcome.Found;
  }
  return outcome;
}
