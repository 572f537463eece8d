#pragma once
// The tree's timers by their fixed ids, behind a small driver so that tests fire them by
// hand instead of waiting. The default driver runs one Qt timer per id.
#include "platform/TimerDriver.h"

#include <QElapsedTimer>

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

// Milliseconds from a monotonic clock; tests replace it to drive animations.
using TLazyTreeClock = std::function<qint64()>;
inline TLazyTreeClock SystemLazyTreeClock() {
  auto started = std::make_shared<QElapsedTimer>();
  started->start();
  return [started] { return started->elapsed(); };
}
