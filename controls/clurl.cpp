#include "controls/clurl.h"

#include "platform/Desktop.h"

#include <QCursor>
#include <QMouseEvent>
#include <QTimer>

TClURL::TClURL(QWidget* parent) : QLabel(parent), CursorPosition([] { return QCursor::pos(); }) {
  setCursor(Qt::PointingHandCursor);
  setMouseTracking(true);
  SetUnderlineURL(true);
}

TClURL::~TClURL() = default;

void TClURL::UpdateText() {
  setText(caption_.isEmpty() ? url_ : caption_);
  adjustSize();
}

void TClURL::SetCaption(const QString& caption) {
  caption_ = caption;
  UpdateText();
}

void TClURL::SetURL(const QString& url) {
  url_ = url;
  if (caption_.isEmpty()) UpdateText();
}

void TClURL::SetHighlightColor(const QColor& color) {
  highlightColor_ = color.isValid() ? color : FontColor();
  savedColor_.reset();
}

void TClURL::SetVisitedColor(const QColor& color) {
  visitedColor_ = color.isValid() ? color : FontColor();
  savedColor_.reset();
}

void TClURL::SetUnderlineURL(bool on) {
  QFont f = font();
  f.setUnderline(on);
  setFont(f);
}

QColor TClURL::FontColor() const { return palette().color(QPalette::WindowText); }

void TClURL::SetFontColor(const QColor& color) {
  QPalette p = palette();
  p.setColor(QPalette::WindowText, color);
  setPalette(p);
}

void TClURL::mousePressEvent(QMouseEvent* event) {
  QLabel::mousePressEvent(event);
  if (event->button() == Qt::LeftButton) pressed_ = true;
}

void TClURL::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  if (click) Click();
}

void TClURL::Click() {
  if (!url_.isEmpty() && !Desktop().OpenUrl(url_.left(kMaxUrlLength))) Desktop().Beep();
  if (OnClick) OnClick();
  if (useVisitedColor_) savedColor_ = visitedColor_;
}

void TClURL::mouseMoveEvent(QMouseEvent* event) {
  QLabel::mouseMoveEvent(event);
  if (!rect().contains(event->position().toPoint()) || hoverTimer_) return;
  if (!savedColor_) savedColor_ = FontColor();
  SetFontColor(highlightColor_);
  hoverTimer_ = std::make_unique<QTimer>();
  connect(hoverTimer_.get(), &QTimer::timeout, this, &TClURL::CheckHover);
  hoverTimer_->start(kHoverInterval);
}

void TClURL::CheckHover() {
  if (!hoverTimer_) return;
  if (rect().contains(mapFromGlobal(CursorPosition()))) return;
  hoverTimer_.reset();
  if (savedColor_) SetFontColor(*savedColor_);
  update();
}
