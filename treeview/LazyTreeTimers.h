#pragma once
// The tree's timers by their fixed ids, behind a small driver so that tests fire them by
// hand instead of waiting. The default driver runs one Qt timer per id on the tree.
#include "platform/TimerDriver.h"

#include <QBasicTimer>
#include <QElapsedTimer>
#include <QObject>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>

enum TLazyTreeTimer : int {
  ExpandTimer = 1,             // a drag hovering over a collapsed node
  EditTimer = 2,               // a click on the focused node of an editable tree
  HeaderTimer = 3,             // header hot tracking
  ScrollTimer = 4,             // auto-scroll and wheel panning
  ChangeTimer = 5,             // delayed change notification
  StructureChangeTimer = 6,    // delayed structure change notification
  SearchTimer = 7,             // end of an incremental search
  AnimationTimer = 8,          // steps of the expand/collapse animation
};
inline constexpr int kLazyTreeTimerCount = 8;

// The tree's timers run through the driver seam the program's other timers use.
using TLazyTreeTimerDriver = TTimerDriver;

// Qt timers delivered to `target`'s timerEvent; `Fired` maps a Qt timer id back to ours.
class TQtTimerDriver : public TLazyTreeTimerDriver {
public:
  explicit TQtTimerDriver(QObject* target) : target_(target) {}
  void Start(int id, int intervalMs) override {
    intervals_[id - 1] = std::max(intervalMs, kMinimumTimerInterval);
    timers_[id - 1].start(intervals_[id - 1], target_);
  }
  void Stop(int id) override { timers_[id - 1].stop(); }
  bool IsRunning(int id) const override { return timers_[id - 1].isActive(); }
  int Interval(int id) const override { return intervals_[id - 1]; }
  // Our id for a Qt timer id, or 0 when it is none of ours.
  int Fired(int qtTimerId) const {
    for (int i = 0; i < kLazyTreeTimerCount; ++i)
      if (timers_[i].isActive() && timers_[i].timerId() == qtTimerId) return i + 1;
    return 0;
  }

private:
  QObject* target_;
  std::array<QBasicTimer, kLazyTreeTimerCount> timers_;
  std::array<int, kLazyTreeTimerCount> intervals_{};
};

// Milliseconds from a monotonic clock; tests replace it to drive animations.
using TLazyTreeClock = std::function<qint64()>;
inline TLazyTreeClock SystemLazyTreeClock() {
  auto started = std::make_shared<QElapsedTimer>();
  started->start();
  return [started] { return started->elapsed(); };
}
