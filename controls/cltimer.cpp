#include "controls/cltimer.h"

#include "platform/Application.h"

#include <QElapsedTimer>
#include <QTimerEvent>

#include <algorithm>
#include <climits>

namespace {

constexpr int kShortestPeriod = 55;
// A trigger this close to its interval fires now rather than a whole period late.
constexpr int kEarlyFiring = 27;

uint32_t SteadyTicks() {
  static QElapsedTimer started = [] {
    QElapsedTimer timer;
    timer.start();
    return timer;
  }();
  return static_cast<uint32_t>(started.elapsed());
}

}  // namespace

uint32_t TicksSince(uint32_t last, uint32_t now) { return now >= last ? now - last : (UINT32_MAX - last) + now; }

int TimerPoolPeriod(const std::vector<TClTriggerTiming>& enabled, uint32_t now) {
  if (enabled.empty()) return 0;
  int64_t period = INT_MAX;
  for (const TClTriggerTiming& trigger : enabled) {
    const int64_t remaining = int64_t{trigger.interval} - int64_t{TicksSince(trigger.lastTick, now)};
    period = std::min({period, int64_t{trigger.interval}, remaining});
  }
  period = std::max<int64_t>(period, kShortestPeriod);
  for (bool lowered = true; lowered;) {
    lowered = false;
    for (const TClTriggerTiming& trigger : enabled) {
      const int64_t remainder = trigger.interval % period;
      if (remainder == 0) continue;
      period -= remainder;
      if (period <= kShortestPeriod) return kShortestPeriod;
      lowered = true;
    }
  }
  return static_cast<int>(period);
}

TClTimerPool::TClTimerPool(QObject* owner) : TClComponent(owner), clock_(SteadyTicks) {}

TClTimerPool::~TClTimerPool() {
  if (timerId_ != 0) killTimer(timerId_);
}

TClTimerPool::Trigger* TClTimerPool::Find(int handle) {
  for (Trigger& trigger : triggers_) {
    if (trigger.handle == handle) return &trigger;
  }
  return nullptr;
}

int TClTimerPool::Add(TTriggerEvent handler, int interval, bool repeating) {
  const int handle = nextHandle_++;
  triggers_.push_back({handle, 0, interval, clock_(), std::move(handler), true, repeating});
  Recalculate();
  return handle;
}

void TClTimerPool::Remove(int handle) {
  const auto found =
      std::find_if(triggers_.begin(), triggers_.end(), [handle](const Trigger& t) { return t.handle == handle; });
  if (found == triggers_.end()) return;
  triggers_.erase(found);
  Recalculate();
}

void TClTimerPool::SetTriggerEnabled(int handle, bool enabled) {
  Trigger* trigger = Find(handle);
  if (trigger == nullptr || trigger->enabled == enabled) return;
  trigger->enabled = enabled;
  if (enabled) trigger->lastTick = clock_();
  Recalculate();
}

void TClTimerPool::Recalculate() {
  std::vector<TClTriggerTiming> enabled;
  for (const Trigger& trigger : triggers_) {
    if (trigger.enabled) enabled.push_back({trigger.interval, trigger.lastTick});
  }
  enabledCount_ = static_cast<int>(enabled.size());
  period_ = TimerPoolPeriod(enabled, clock_());
  ResetTimer();
}

void TClTimerPool::ResetTimer() {
  if (timerId_ != 0) killTimer(timerId_);
  timerId_ = 0;
  if (period_ == 0 || enabledCount_ == 0) return;
  timerId_ = startTimer(period_);
  if (timerId_ == 0) throw ENoTimersAvailable();
}

void TClTimerPool::Tick() {
  std::vector<int> handles;
  for (const Trigger& trigger : triggers_) handles.push_back(trigger.handle);
  // Handlers may add and remove triggers: each is looked up again before it fires.
  bool anyFired = false;
  for (const int handle : handles) {
    Trigger* trigger = Find(handle);
    if (trigger == nullptr || !trigger->enabled) continue;
    const uint32_t now = clock_();
    const uint32_t elapsed = TicksSince(trigger->lastTick, now);
    if (int64_t{elapsed} < int64_t{trigger->interval} - kEarlyFiring) continue;
    anyFired = true;
    trigger->lastTick = now;
    trigger->totalElapsed =
        static_cast<int32_t>(std::min<int64_t>(int64_t{trigger->totalElapsed} + elapsed, INT32_MAX));
    const int interval = trigger->interval;
    const int32_t total = trigger->totalElapsed;
    const bool repeating = trigger->repeating;
    // A copy: the handler may remove its own trigger while it runs.
    const TTriggerEvent handler = trigger->handler;
    if (handler) handler(*this, handle, interval, total);
    if (OnAllTriggers) OnAllTriggers(*this, handle, interval, total);
    if (!repeating) Remove(handle);
  }
  // The times left have changed with the firings.
  if (anyFired) Recalculate();
}

void TClTimerPool::timerEvent(QTimerEvent* event) {
  if (event->timerId() != timerId_) {
    TClComponent::timerEvent(event);
    return;
  }
  RunGuarded([this] { Tick(); });
}
