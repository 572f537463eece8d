#pragma once
// Many timed triggers on one timer: the pool runs a single timer at a period that suits
// every trigger, and fires each trigger whose interval has (nearly) passed.
#include "controls/clbase.h"
#include "controls/clsr.h"

#include <cstdint>
#include <functional>
#include <vector>

class ENoTimersAvailable : public EClException {
public:
  ENoTimersAvailable() : EClException(ClStr::NoTimersAvailable) {}
};

class TClTimerPool;

// Trigger handler: the pool, the trigger's handle, its interval and the milliseconds
// it has run in total.
using TTriggerEvent = std::function<void(TClTimerPool& sender, int handle, int interval, int32_t elapsed)>;

// One trigger as the period is worked out from it.
struct TClTriggerTiming {
  int interval = 0;
  uint32_t lastTick = 0;
};

// The pool's timer period for its enabled triggers at tick count `now`: the shortest
// interval or remaining time, at least 55 ms, then lowered until every interval is a
// multiple of it (not below 55 ms). 0 without triggers.
int TimerPoolPeriod(const std::vector<TClTriggerTiming>& enabled, uint32_t now);
// Milliseconds from `last` to `now` of a tick counter that wraps at 2^32 (one less
// across the wrap).
uint32_t TicksSince(uint32_t last, uint32_t now);

class TClTimerPool : public TClComponent {
  Q_OBJECT

public:
  // Milliseconds since some fixed moment, wrapping at 2^32.
  using Clock = std::function<uint32_t()>;

  explicit TClTimerPool(QObject* owner = nullptr);
  ~TClTimerPool() override;

  // The real clock unless a test puts its own in place.
  void SetClock(Clock clock) { clock_ = std::move(clock); }

  // A trigger that fires every `interval` ms (once, unless `repeating`); returns its
  // handle. Raises ENoTimersAvailable when the timer cannot be started.
  int Add(TTriggerEvent handler, int interval, bool repeating = true);
  // Unknown handles are ignored.
  void Remove(int handle);
  void SetTriggerEnabled(int handle, bool enabled);
  int Count() const { return static_cast<int>(triggers_.size()); }
  int EnabledCount() const { return enabledCount_; }
  int Period() const { return period_; }
  bool TimerRunning() const { return timerId_ != 0; }

  // What the timer runs: fires every enabled trigger that is due, in the order added.
  void Tick();

  TTriggerEvent OnAllTriggers;

protected:
  void timerEvent(QTimerEvent* event) override;

private:
  struct Trigger {
    int handle;
    int32_t totalElapsed;
    int interval;
    uint32_t lastTick;
    TTriggerEvent handler;
    bool enabled;
    bool repeating;
  };
  Trigger* Find(int handle);
  void Recalculate();
  void ResetTimer();

  Clock clock_;
  std::vector<Trigger> triggers_;
  int nextHandle_ = 1;
  int period_ = 0;
  int enabledCount_ = 0;
  int timerId_ = 0;
};
