#pragma once
// Timing for the benchmark programs: one call's wall time, and the median of many.
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
