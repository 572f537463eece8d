#pragma once
// What a user waits for ends when a frame is on the screen: this watches a widget (a
// scroll area's viewport) for paint events and turns the event loop until one more has
// been handled. A paint event is sent while the window's update request is handled, and
// the backing store is flushed in that same request, so when the event loop returns
// after a paint the frame is complete.
//
// The wait blocks in the event loop (no sleeping, no polling); a watchdog timer ends a
// wait for a frame that never comes, and the count of turns is bounded as well.
#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <cstdio>

class TPaintWatch : public QObject {
public:
  explicit TPaintWatch(QWidget* watched) : watched_(watched) { watched_->installEventFilter(this); }
  ~TPaintWatch() override {
    if (watched_) watched_->removeEventFilter(this);
  }
  TPaintWatch(const TPaintWatch&) = delete;
  TPaintWatch& operator=(const TPaintWatch&) = delete;

  int Paints() const { return paints_; }

  // Turns the event loop until a paint beyond the first Seen has been handled. False
  // (and a note on stderr) when none came before the watchdog.
  bool WaitBeyond(int seen, int watchdogMs = 20000) {
    bool gaveUp = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&gaveUp] { gaveUp = true; });
    watchdog.start(watchdogMs);
    for (int turn = 0; paints_ <= seen && !gaveUp && turn < kMaxTurns; ++turn)
      QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    if (paints_ > seen) return true;
    std::fprintf(stderr, "no frame was painted within %d ms\n", watchdogMs);
    return false;
  }
  // The next frame from now.
  bool WaitForFrame() { return WaitBeyond(paints_); }

  // Handles whatever is pending until a turn of the loop brings no paint: what showing
  // or filling a widget left behind is not charged to the next measurement.
  void Settle() {
    for (int turn = 0; turn < kMaxTurns; ++turn) {
      const int before = paints_;
      QCoreApplication::processEvents(QEventLoop::AllEvents);
      QCoreApplication::sendPostedEvents();
      QCoreApplication::processEvents(QEventLoop::AllEvents);
      if (paints_ == before) return;
    }
  }

protected:
  bool eventFilter(QObject* object, QEvent* event) override {
    if (object == watched_ && event->type() == QEvent::Paint) ++paints_;
    return false;
  }

private:
  static constexpr int kMaxTurns = 100000;
  QPointer<QWidget> watched_;  // the watch may outlive the widget
  int paints_ = 0;
};
