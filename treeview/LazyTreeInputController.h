#pragma once
// The tree's input controller: what a key, a click, the wheel and wheel panning leave
// behind between two events, and the timers and clock the tree's delayed actions run
// on. The tree's event handlers decide what an event means; this object holds the
// state they share, so it is tested without a tree.
#include "treeview/LazyTreeTimers.h"
#include "treeview/LazyTreeTypes.h"

#include <QPoint>
#include <QPointer>
#include <QString>

#include <memory>
#include <utility>

class QWidget;
class TLazyPanningWindow;

class TLazyTreeInputController {
public:
  // Timer expiries go to Fired with the timer's id.
  explicit TLazyTreeInputController(std::function<void(int Id)> Fired);
  ~TLazyTreeInputController();
  TLazyTreeInputController(const TLazyTreeInputController&) = delete;
  TLazyTreeInputController& operator=(const TLazyTreeInputController&) = delete;

  // ---- Timers and clock ----
  TLazyTreeTimerDriver& Timers() { return *timers_; }
  void SetTimerDriver(std::unique_ptr<TLazyTreeTimerDriver> Driver) { timers_ = std::move(Driver); }
  void StartTimer(int Id, int IntervalMs) { timers_->Start(Id, IntervalMs); }
  // Stops a running timer; nothing for one that is not running.
  void StopTimer(int Id);
  bool TimerRunning(int Id) const { return timers_->IsRunning(Id); }
  // Restarts a running timer with a new interval (a changed delay takes effect at once).
  void RestartIfRunning(int Id, int IntervalMs);
  void SetClock(TLazyTreeClock Clock) { clock_ = std::move(Clock); }
  qint64 Now() const { return clock_(); }

  // ---- Mouse press ----
  // Viewport coordinates of the last press: drags and the selection rectangle start there.
  QPoint PressPosition() const { return pressPosition_; }
  void SetPressPosition(QPoint Position) { pressPosition_ = Position; }

  // ---- Wheel ----
  // Adds a wheel's angle (eighths of a degree) to what smaller moves left over and
  // answers the whole notches now due; the rest waits for the next move.
  int TakeWheelNotches(int AngleDelta);

  // ---- Pending checks: a box pressed with Space or the mouse changes on release ----
  void BeginKeyCheck(PLazyNode Node, TCheckState Next) {
    keyCheckNode_ = Node;
    keyCheckState_ = Next;
  }
  PLazyNode KeyCheckNode() const { return keyCheckNode_; }
  TCheckState KeyCheckState() const { return keyCheckState_; }
  // The node of the pending key check, which ends with it.
  PLazyNode TakeKeyCheckNode() { return std::exchange(keyCheckNode_, nullptr); }
  void BeginMouseCheck(PLazyNode Node, TCheckState Next) {
    mouseCheckNode_ = Node;
    mouseCheckState_ = Next;
  }
  TCheckState MouseCheckState() const { return mouseCheckState_; }
  PLazyNode MouseCheckNode() const { return mouseCheckNode_; }
  PLazyNode TakeMouseCheckNode() { return std::exchange(mouseCheckNode_, nullptr); }

  // ---- Wheel panning ----
  // Within this distance of the start, in either direction, the view stands still.
  static constexpr int kPanningDeadZone = 7;
  // Shows the panning picture centred on Position in Viewport and remembers the start.
  void StartPanning(QWidget* Viewport, QPoint Position, const QString& PictureName);
  // Removes the panning picture.
  void EndPanning();
  QPoint PanningStart() const { return panningStart_; }
  // The mouse moved past the dead zone since panning started.
  bool MovedSincePanningStart(QPoint Position) const;
  // Pixels a panning step moves for a distance from the start: 0 in the dead zone,
  // faster the further the mouse is.
  static int PanningSpeed(int Distance);
  // The cursor picture's name for an offset from the start and the directions the view
  // can move.
  static QString PanningCursorName(int Dx, int Dy, bool Horizontal, bool Vertical);
  // The panning picture stays above the rows that scroll under it.
  void RaisePanningWindow();

private:
  std::unique_ptr<TLazyTreeTimerDriver> timers_;
  TLazyTreeClock clock_ = SystemLazyTreeClock();
  QPoint pressPosition_;
  int wheelRemainder_ = 0;
  PLazyNode keyCheckNode_ = nullptr;
  TCheckState keyCheckState_ = csUncheckedNormal;
  PLazyNode mouseCheckNode_ = nullptr;
  TCheckState mouseCheckState_ = csUncheckedNormal;
  QPoint panningStart_;
  QPointer<TLazyPanningWindow> panningWindow_;
};
