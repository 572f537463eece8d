#pragma once
// The tree's incremental search: typed characters collect into a search text that the
// nodes are matched against, from where the last search ended or the focus stands, until
// the search timer runs out. It owns its settings, its text and its last hit; the tree
// supplies the walk over its nodes and the owner's comparison. No widget.
#include "treeview/LazyTreeControlTypes.h"
#include "treeview/LazyTreeTypes.h"

#include <QString>

#include <functional>

class TLazyTreeIncrementalSearch {
public:
  // What the search reaches of the tree.
  struct TWalk {
    // The next node in the search's mode from Node (nil: the first at that end), wrapping.
    std::function<PLazyNode(PLazyNode Node, bool Forward)> Step;
    // 0 when Node matches Text (the owner's OnIncrementalSearch).
    std::function<int(PLazyNode Node, const QString& Text)> Match;
    // Node is shown: every ancestor expanded and visible.
    std::function<bool(PLazyNode Node)> InView;
  };
  // What a typed character did.
  struct TOutcome {
    bool Searched = false;      // false: backspace over the last character waits for more
    PLazyNode Found = nullptr;  // nil after a search: nothing matched (the tree beeps)
  };

  TLTIncrementalSearch Mode() const { return mode_; }
  void SetMode(TLTIncrementalSearch Value) { mode_ = Value; }
  TLTSearchDirection Direction() const { return direction_; }
  void SetDirection(TLTSearchDirection Value) { direction_ = Value; }
  TLTSearchStart Start() const { return start_; }
  void SetStart(TLTSearchStart Value) { start_ = Value; }
  int Timeout() const { return timeout_; }
  void SetTimeout(int Value) { timeout_ = Value; }
  bool Enabled() const { return mode_ != isNone; }

  QString Buffer() const { return buffer_; }
  PLazyNode LastHit() const { return lastHit_; }
  // The search ends: its text and last hit are forgotten.
  void Forget();
  // A node about to be freed is no last hit any more.
  void ForgetNode(PLazyNode Node);

  // Key (backspace is 8) extends or shortens the text and walks from the start node in
  // the search's direction, once round, to the first node that matches. A hit becomes
  // the text and last hit; a miss leaves both as they were. O(nodes walked).
  TOutcome TypeKey(QChar Key, PLazyNode Focused, const TWalk& Walk);

private:
  // Where a search starts: the last hit or the focused node, when the mode reaches it.
  PLazyNode StartNode(PLazyNode Focused, const TWalk& Walk) const;
  // The first node from Node on (Node included) that matches Text, nil after one round.
  PLazyNode FindFrom(PLazyNode Node, const QString& Text, bool Forward, const TWalk& Walk) const;

  TLTIncrementalSearch mode_ = isNone;
  TLTSearchDirection direction_ = sdForward;
  TLTSearchStart start_ = ssFocusedNode;
  int timeout_ = 1000;
  QString buffer_;
  PLazyNode lastHit_ = nullptr;
};
