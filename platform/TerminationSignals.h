#pragma once
// Turns the signals that ask a program to end (SIGTERM, SIGINT, SIGHUP) into a call on
// the event loop, so the program ends through its ordinary path and saves its data,
// instead of dying where it stands.
#include <QObject>

#include <functional>
#include <memory>

class QSocketNotifier;

class TerminationSignals : public QObject {
  Q_OBJECT

public:
  // From now on each of the signals calls `onSignal` on this thread's event loop. One
  // object at a time; the signals' earlier handling comes back when it is destroyed.
  explicit TerminationSignals(std::function<void()> onSignal, QObject* parent = nullptr);
  ~TerminationSignals() override;
  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;

private:
  void Drain();

  std::function<void()> onSignal_;
  std::unique_ptr<QSocketNotifier> notifier_;
};
