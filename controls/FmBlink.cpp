#include "controls/FmBlink.h"

#include <QCoreApplication>
#include <QPointer>
#include <algorithm>

TFmBlinkList& TFmBlinkList::Instance() {
  // Owned by the application object, so it goes with the run.
  static QPointer<TFmBlinkList> list;
  if (list.isNull()) list = new TFmBlinkList(QCoreApplication::instance());
  return *list;
}

TFmBlinkList::TFmBlinkList(QObject* parent) : QObject(parent) {
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &TFmBlinkList::Tick);
}

void TFmBlinkList::Register(TFmBlinkClient* client) {
  if (std::find(clients_.begin(), clients_.end(), client) == clients_.end()) clients_.push_back(client);
  UpdateTimer();
}

void TFmBlinkList::Unregister(TFmBlinkClient* client) {
  std::erase(clients_, client);
  UpdateTimer();
}

void TFmBlinkList::SetIntervals(int onMs, int offMs) {
  onInterval_ = qMax(10, onMs);
  offInterval_ = qMax(10, offMs);
  if (timer_.isActive()) timer_.start(phaseOn_ ? onInterval_ : offInterval_);
}

void TFmBlinkList::Tick() {
  phaseOn_ = !phaseOn_;
  // A client may stop blinking (and unregister) while it is told: walk a copy.
  const std::vector<TFmBlinkClient*> clients = clients_;
  for (TFmBlinkClient* client : clients)
    if (std::find(clients_.begin(), clients_.end(), client) != clients_.end() && client->IsBlinking())
      client->BlinkPhase(phaseOn_);
  UpdateTimer();
}

void TFmBlinkList::UpdateTimer() {
  if (clients_.empty()) {
    timer_.stop();
    phaseOn_ = false;
  } else if (!timer_.isActive()) {
    timer_.start(phaseOn_ ? onInterval_ : offInterval_);
  }
}
