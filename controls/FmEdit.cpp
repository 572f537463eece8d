#include "controls/FmEdit.h"

#include "controls/FmColors.h"
#include "controls/FmFrameController.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPainter>

namespace {

// Width of the border the edit keeps for its own frame.
constexpr int kFrameMargin = 2;

}  // namespace

TFmCustomEdit::TFmCustomEdit(QWidget* parent) : QLineEdit(parent), frameColor_(SysColor(TSysColor::clBtnShadow)) {}

TFmCustomEdit::~TFmCustomEdit() {
  if (frameController_) frameController_->Unregister(this);
}

void TFmCustomEdit::ApplyFrameGeometry() {
  // Our frame takes the place of the style's, in the edit's outer two pixels.
  setFrame(!frameVisible_);
  const int margin = frameVisible_ ? kFrameMargin : 0;
  setContentsMargins(margin, margin, margin, margin);
  RepaintFrame();
}

void TFmCustomEdit::SetFrameVisible(bool on) {
  if (frameVisible_ == on) return;
  frameVisible_ = on;
  ApplyFrameGeometry();
}

void TFmCustomEdit::SetFrameStyle(TFrameStyle style) {
  frameStyle_ = style;
  RepaintFrame();
}

void TFmCustomEdit::SetFrameColor(const QColor& color) {
  frameColor_ = color;
  RepaintFrame();
}

void TFmCustomEdit::SetFrameSides(TSides sides) {
  frameSides_ = sides;
  RepaintFrame();
}

void TFmCustomEdit::SetFrameFlat(bool on) {
  frameFlat_ = on;
  if (on) {
    SetFrameVisible(true);
    if (!loading_) {
      frameSides_ = AllSides;
      frameStyle_ = frameFlatStyle_;
    }
  }
  UpdateFrameState();
}

void TFmCustomEdit::SetFrameFlatStyle(TFrameStyle style) {
  frameFlatStyle_ = style;
  UpdateFrameState();
}

void TFmCustomEdit::SetFrameFocusStyle(TFrameStyle style) {
  frameFocusStyle_ = style;
  UpdateFrameState();
}

void TFmCustomEdit::SetFrameController(TFmFrameController* controller) {
  if (frameController_ == controller) return;
  if (frameController_) frameController_->Unregister(this);
  frameController_ = controller;
  if (controller) controller->Register(this);
}

QColor TFmCustomEdit::Color() const { return palette().color(QPalette::Base); }

void TFmCustomEdit::SetColor(const QColor& color) {
  QPalette p = palette();
  p.setColor(QPalette::Base, color);
  setPalette(p);
  parentColor_ = false;
  RepaintFrame();
}

void TFmCustomEdit::SetParentColor(bool on) {
  parentColor_ = on;
  if (on && parentWidget()) {
    QPalette p = palette();
    p.setColor(QPalette::Base, parentWidget()->palette().color(QPalette::Window));
    setPalette(p);
  }
  RepaintFrame();
}

void TFmCustomEdit::EndLoading() {
  loading_ = false;
  UpdateFrameState();
}

TFrameStyle TFmCustomEdit::CurrentFrameStyle() const {
  if (!frameFlat_) return frameStyle_;
  return (hasFocus() || hovered_) ? frameFocusStyle_ : frameFlatStyle_;
}

void TFmCustomEdit::UpdateFrameState() { RepaintFrame(); }

void TFmCustomEdit::RepaintFrame() { update(); }

void TFmCustomEdit::PaintFrame(TFmCanvas& canvas) const {
  if (!frameVisible_) return;
  DrawEditFrame(canvas, rect(), CurrentFrameStyle(), frameSides_, frameColor_, Color());
}

void TFmCustomEdit::paintEvent(QPaintEvent* event) {
  QLineEdit::paintEvent(event);
  if (!frameVisible_) return;
  QPainter painter(this);
  TFmPainterCanvas canvas(painter);
  PaintFrame(canvas);
}

bool TFmCustomEdit::HandleTabOnEnter(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (!enter || !tabOnEnter_) return false;
  // Posted, as a typed Tab would arrive: the focus moves once this key is done with.
  QCoreApplication::postEvent(this, new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier));
  event->accept();
  return true;
}

void TFmCustomEdit::keyPressEvent(QKeyEvent* event) {
  if (HandleTabOnEnter(event)) return;
  QLineEdit::keyPressEvent(event);
}

void TFmCustomEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  UpdateFrameState();
}

void TFmCustomEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  UpdateFrameState();
}

void TFmCustomEdit::enterEvent(QEnterEvent* event) {
  QLineEdit::enterEvent(event);
  hovered_ = true;
  UpdateFrameState();
  if (OnMouseEnter) OnMouseEnter();
}

void TFmCustomEdit::leaveEvent(QEvent* event) {
  QLineEdit::leaveEvent(event);
  hovered_ = false;
  UpdateFrameState();
  if (OnMouseLeave) OnMouseLeave();
}

void TFmCustomEdit::changeEvent(QEvent* event) {
  QLineEdit::changeEvent(event);
  if (event->type() == QEvent::PaletteChange && parentColor_ && parentWidget()) {
    const QColor parentColor = parentWidget()->palette().color(QPalette::Window);
    if (palette().color(QPalette::Base) != parentColor) SetParentColor(true);
  }
  if (event->type() == QEvent::ParentChange && parentColor_) SetParentColor(true);
  if (event->type() == QEvent::PaletteChange) RepaintFrame();
}
