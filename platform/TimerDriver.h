#pragma once
// Timers by small fixed ids behind a driver, so that tests fire them by hand instead of
// waiting for real time to pass. The tree and the application handler both run their
// timers through it; the program's drivers run Qt timers.
#include <functional>
#include <map>
#include <memory>

class QTimer;

// Intervals below this run at it, as on the platform the behaviour was designed for.
inline constexpr int kMinimumTimerInterval = 10;

class TTimerDriver {
public:
  virtual ~TTimerDriver() = default;
  // Starts or restarts timer `id`; an interval below the minimum runs at the minimum.
  virtual void Start(int id, int intervalMs) = 0;
  virtual void Stop(int id) = 0;
  virtual bool IsRunning(int id) const = 0;
  // The interval the timer was last started with (0 when never started).
  virtual int Interval(int id) const = 0;
};

// One Qt timer per id; each tick calls `fired` with the timer's id.
class TCallbackTimerDriver : public TTimerDriver {
public:
  explicit TCallbackTimerDriver(std::function<void(int id)> fired);
  ~TCallbackTimerDriver() override;
  TCallbackTimerDriver(const TCallbackTimerDriver&) = delete;
  TCallbackTimerDriver& operator=(const TCallbackTimerDriver&) = delete;

  void Start(int id, int intervalMs) override;
  void Stop(int id) override;
  bool IsRunning(int id) const override;
  int Interval(int id) const override;

private:
  std::function<void(int)> fired_;
  std::map<int, std::unique_ptr<QTimer>> timers_;
};
