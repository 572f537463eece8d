#pragma once
// A timer driver that only records: a test starts nothing real and fires a timer by
// calling its owner's handler itself, so no test waits for time to pass.
#include "platform/TimerDriver.h"

#include <algorithm>
#include <map>

class FakeTimers : public TTimerDriver {
public:
  void Start(int id, int interval) override {
    running[id] = true;
    intervals[id] = std::max(interval, kMinimumTimerInterval);
    ++starts[id];
  }
  void Stop(int id) override { running[id] = false; }
  bool IsRunning(int id) const override {
    auto it = running.find(id);
    return it != running.end() && it->second;
  }
  int Interval(int id) const override {
    auto it = intervals.find(id);
    return it == intervals.end() ? 0 : it->second;
  }
  std::map<int, bool> running;
  std::map<int, int> intervals;
  std::map<int, int> starts;
};
