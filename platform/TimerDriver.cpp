#include "platform/TimerDriver.h"

#include <QTimer>

#include <algorithm>

TCallbackTimerDriver::TCallbackTimerDriver(std::function<void(int id)> fired) : fired_(std::move(fired)) {}

TCallbackTimerDriver::~TCallbackTimerDriver() = default;

void TCallbackTimerDriver::Start(int id, int intervalMs) {
  std::unique_ptr<QTimer>& timer = timers_[id];
  if (!timer) {
    timer = std::make_unique<QTimer>();
    QObject::connect(timer.get(), &QTimer::timeout, [this, id] { fired_(id); });
  }
  timer->start(std::max(intervalMs, kMinimumTimerInterval));
}

void TCallbackTimerDriver::Stop(int id) {
  auto it = timers_.find(id);
  if (it != timers_.end()) it->second->stop();
}

bool TCallbackTimerDriver::IsRunning(int id) const {
  auto it = timers_.find(id);
  return it != timers_.end() && it->second->isActive();
}

int TCallbackTimerDriver::Interval(int id) const {
  auto it = timers_.find(id);
  return it == timers_.end() ? 0 : it->second->interval();
}
