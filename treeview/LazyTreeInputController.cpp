// The input controller's state: timers, wheel notches, pending checks and the panning
// picture.
#include "treeview/LazyTreeInputController.h"

#include "treeview/LazyTreeDrawing.h"

#include <QBitmap>
#include <QPainter>
#include <QWidget>

#include <cstdlib>

// The small window that marks where wheel panning started: the panning picture for the
// directions the view can move, shaped to the picture's own pixels.
class TLazyPanningWindow : public QWidget {
public:
  TLazyPanningWindow(QWidget* parent, const QString& pictureName) : QWidget(parent), picture_(BuiltInImage(pictureName)) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    resize(picture_.isNull() ? QSize(28, 28) : picture_.size());
    if (!picture_.isNull()) {
      // The picture's magenta background is no part of the window.
      const QImage mask = picture_.createMaskFromColor(qRgb(255, 0, 255), Qt::MaskOutColor);
      setMask(QBitmap::fromImage(mask));
    }
  }

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.drawImage(0, 0, picture_);
  }

private:
  QImage picture_;
};

TLazyTreeInputController::TLazyTreeInputController(std::function<void(int Id)> Fired)
    : timers_(std::make_unique<TCallbackTimerDriver>(std::move(Fired))) {}

TLazyTreeInputController::~TLazyTreeInputController() { EndPanning(); }

void TLazyTreeInputController::StopTimer(int id) {
  if (timers_ && timers_->IsRunning(id)) timers_->Stop(id);
}

void TLazyTreeInputController::RestartIfRunning(int id, int intervalMs) {
  if (timers_->IsRunning(id)) timers_->Start(id, intervalMs);
}

int TLazyTreeInputController::TakeWheelNotches(int angleDelta) {
  wheelRemainder_ += angleDelta;
  const int notches = wheelRemainder_ / 120;
  wheelRemainder_ %= 120;
  return notches;
}

void TLazyTreeInputController::StartPanning(QWidget* viewport, QPoint position, const QString& pictureName) {
  EndPanning();
  panningStart_ = position;
  auto* window = new TLazyPanningWindow(viewport, pictureName);  // owned by the viewport, deleted on stop
  window->move(position - window->rect().center());
  window->show();
  panningWindow_ = window;
}

void TLazyTreeInputController::EndPanning() { delete panningWindow_.data(); }

bool TLazyTreeInputController::MovedSincePanningStart(QPoint position) const {
  return (position - panningStart_).manhattanLength() > kPanningDeadZone;
}

int TLazyTreeInputController::PanningSpeed(int distance) {
  if (std::abs(distance) <= kPanningDeadZone) return 0;
  return (distance - (distance > 0 ? kPanningDeadZone : -kPanningDeadZone)) / 4;
}

QString TLazyTreeInputController::PanningCursorName(int dx, int dy, bool horizontal, bool vertical) {
  if (std::abs(dx) <= kPanningDeadZone && std::abs(dy) <= kPanningDeadZone)
    return horizontal && vertical ? QStringLiteral("LT_MOVEALL")
           : horizontal           ? QStringLiteral("LT_MOVEEW")
                                  : QStringLiteral("LT_MOVENS");
  if (horizontal && vertical) {
    if (dx < -8) return dy < -8 ? QStringLiteral("LT_MOVENW") : dy < 9 ? QStringLiteral("LT_MOVEW") : QStringLiteral("LT_MOVESW");
    if (dx < 9) return dy < 0 ? QStringLiteral("LT_MOVEN") : QStringLiteral("LT_MOVES");
    return dy < -8 ? QStringLiteral("LT_MOVENE") : dy < 9 ? QStringLiteral("LT_MOVEE") : QStringLiteral("LT_MOVESE");
  }
  if (horizontal) return dx < 0 ? QStringLiteral("LT_MOVEW") : QStringLiteral("LT_MOVEE");
  return dy < 0 ? QStringLiteral("LT_MOVEN") : QStringLiteral("LT_MOVES");
}

void TLazyTreeInputController::RaisePanningWindow() {
  if (panningWindow_) panningWindow_->raise();
}
