#pragma once
// Wall-clock timing shared by the timed benchmark programs: one measured call, and the
// median of several.
#include <QElapsedTimer>

#include <algorithm>
#include <functional>
#include <vector>

inline double Ms(const std::function<void()>& body) {
  QElapsedTimer timer;
  timer.start();
  body();
  return timer.nsecsElapsed() / 1e6;
}

inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}
