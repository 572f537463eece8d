#pragma once
// The tree's interaction objects and their settings as the face offers them: the input
// controller with the timers and the clock, the incremental search and the edit session.
// A base of the control; it builds the input controller with the control's timer
// callback, and the control's files work on the three objects directly.
#include "treeview/LazyTreeEditSession.h"
#include "treeview/LazyTreeIncrementalSearch.h"
#include "treeview/LazyTreeInputController.h"

#include <functional>
#include <memory>

class TLazyTreeInteraction {
public:
  // ---- Timers and clock ----
  // Replaces the timer driver (tests fire timers by hand through the tree's HandleTimer).
  void SetTimerDriver(std::unique_ptr<TLazyTreeTimerDriver> Driver);
  TLazyTreeTimerDriver& Timers() { return input_->Timers(); }
  void SetClock(TLazyTreeClock Clock);
  // Milliseconds on the tree's clock (animations, auto-scroll and hint animation).
  qint64 Now() const { return input_->Now(); }
  void StopTimer(int Id) { input_->StopTimer(Id); }

  // ---- Incremental search; a changed setting ends the running search's timer ----
  QString SearchBuffer() const { return search_->Buffer(); }
  PLazyNode LastSearchHit() const { return search_->LastHit(); }
  TLTIncrementalSearch IncrementalSearch() const { return search_->Mode(); }
  void SetIncrementalSearch(TLTIncrementalSearch v);
  TLTSearchDirection IncrementalSearchDirection() const { return search_->Direction(); }
  void SetIncrementalSearchDirection(TLTSearchDirection v);
  TLTSearchStart IncrementalSearchStart() const { return search_->Start(); }
  void SetIncrementalSearchStart(TLTSearchStart v);
  int IncrementalSearchTimeout() const { return search_->Timeout(); }
  void SetIncrementalSearchTimeout(int v);

  // ---- In-place editing; a changed delay applies to a pending edit at once ----
  ILTEditLink* EditLink() const { return edit_.Link(); }
  int EditColumn() const { return edit_.Column(); }
  int EditDelay() const { return edit_.Delay(); }
  void SetEditDelay(int v);

protected:
  // Timer expiries go to TimerFired with the timer's id.
  explicit TLazyTreeInteraction(std::function<void(int Id)> TimerFired);
  // Outlives the control's own members: the control stops every timer and ends any edit
  // in its destructor, so nothing here calls back into it.
  ~TLazyTreeInteraction();
  TLazyTreeInteraction(const TLazyTreeInteraction&) = delete;
  TLazyTreeInteraction& operator=(const TLazyTreeInteraction&) = delete;

  // Keys, mouse, wheel and panning between events, and the timers (LazyTreeInputController.h).
  std::unique_ptr<TLazyTreeInputController> input_;
  // The incremental search's settings, text and last hit (LazyTreeIncrementalSearch.h).
  std::unique_ptr<TLazyTreeIncrementalSearch> search_ = std::make_unique<TLazyTreeIncrementalSearch>();
  // The edit link, the cell it edits and the edit delay (LazyTreeEditSession.h).
  TLazyTreeEditSession edit_;
};
