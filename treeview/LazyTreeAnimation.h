#pragma once
// The steps of the expand/collapse animation, run against a clock: the first step moves
// Distance / Duration pixels (at least one), every later step moves the node's rows to
// where a steady pace would have them by now, so the animation ends within Duration
// however late the steps come.
#include <QtGlobal>

#include <algorithm>
#include <cmath>

class TToggleAnimation {
public:
  TToggleAnimation(int distance, int duration, qint64 startMs)
      : distance_(std::max(distance, 0)), duration_(std::max(duration, 1)), start_(startMs) {}

  // Pixels to move at time nowMs; 0 once the whole distance is covered.
  int NextStep(qint64 nowMs) {
    if (Finished()) return 0;
    int step;
    const qint64 elapsed = nowMs - start_;
    if (moved_ == 0 && elapsed < duration_) {
      step = std::max(static_cast<int>(std::nearbyint(double(distance_) / duration_)), 1);
    } else if (elapsed >= duration_) {
      step = distance_ - moved_;
    } else {
      const int due = static_cast<int>(std::nearbyint(double(distance_) * double(elapsed) / duration_));
      step = std::max(due - moved_, 1);
    }
    step = std::min(step, distance_ - moved_);
    moved_ += step;
    return step;
  }
  bool Finished() const { return moved_ >= distance_; }
  int Moved() const { return moved_; }
  int Distance() const { return distance_; }

private:
  int distance_;
  int duration_;
  qint64 start_;
  int moved_ = 0;
};
