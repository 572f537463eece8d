#pragma once
// One timer for every blinking control: all of them switch together, and a screen of
// blinking labels costs one timer rather than one each.
#include <QObject>
#include <QTimer>
#include <vector>

class TFmBlinkClient {
public:
  virtual ~TFmBlinkClient() = default;
  virtual bool IsBlinking() const = 0;
  // Called on every phase change for a client that blinks.
  virtual void BlinkPhase(bool on) = 0;
};

class TFmBlinkList : public QObject {
  Q_OBJECT

public:
  // The shared list, made at the first use.
  static TFmBlinkList& Instance();

  void Register(TFmBlinkClient* client);
  void Unregister(TFmBlinkClient* client);

  int OnInterval() const { return onInterval_; }
  int OffInterval() const { return offInterval_; }
  void SetIntervals(int onMs, int offMs);
  bool PhaseOn() const { return phaseOn_; }
  bool TimerRunning() const { return timer_.isActive(); }

  // The timer's tick: flips the phase and tells each blinking client.
  void Tick();

private:
  explicit TFmBlinkList(QObject* parent);
  void UpdateTimer();

  std::vector<TFmBlinkClient*> clients_;
  QTimer timer_;
  int onInterval_ = 500;
  int offInterval_ = 500;
  bool phaseOn_ = false;
};
