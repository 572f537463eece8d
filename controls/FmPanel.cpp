#include "controls/FmPanel.h"

#include <QEvent>
#include <QPainter>

TFmCustomPanel::TFmCustomPanel(QWidget* parent) : QWidget(parent), color_(SysColor(TSysColor::clBtnFace)) {
  UpdateMargins();
}

#define FM_PANEL_BORDER_SETTER(Setter, field, Type)   \
  void TFmCustomPanel::Setter(Type value) {           \
    if (borders_.field == value) return;              \
    borders_.field = value;                           \
    UpdateMargins();                                  \
    BordersChanged();                                 \
    update();                                         \
  }

FM_PANEL_BORDER_SETTER(SetBorderOuter, outer, TFrameStyle)
FM_PANEL_BORDER_SETTER(SetBorderInner, inner, TFrameStyle)
FM_PANEL_BORDER_SETTER(SetBorderSides, sides, TSides)
FM_PANEL_BORDER_SETTER(SetBevelWidth, bevelWidth, int)
FM_PANEL_BORDER_SETTER(SetFrameSides, frameSides, TSides)
FM_PANEL_BORDER_SETTER(SetBorderColor, color, const QColor&)
FM_PANEL_BORDER_SETTER(SetBorderHighlight, highlight, const QColor&)
FM_PANEL_BORDER_SETTER(SetBorderShadow, shadow, const QColor&)
FM_PANEL_BORDER_SETTER(SetFlatColor, flatColor, const QColor&)

#undef FM_PANEL_BORDER_SETTER

void TFmCustomPanel::SetBorderWidth(int width) {
  width = qMax(0, width);
  if (borders_.width == width) return;
  borders_.width = width;
  UpdateMargins();
  BordersChanged();
  update();
}

void TFmCustomPanel::SetColor(const QColor& color) {
  if (color_ == color) return;
  color_ = color;
  update();
}

void TFmCustomPanel::SetCaption(const QString& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  update();
}

void TFmCustomPanel::SetAlignment(Qt::Alignment horizontal) {
  alignment_ = horizontal & Qt::AlignHorizontal_Mask;
  update();
}

void TFmCustomPanel::SetVerticalAlignment(Qt::Alignment vertical) {
  verticalAlignment_ = vertical & Qt::AlignVertical_Mask;
  update();
}

void TFmCustomPanel::BordersChanged() {}

void TFmCustomPanel::UpdateMargins() {
  const QRect inside = borders_.Inside(QRect(0, 0, 1000, 1000));
  setContentsMargins(inside.left(), inside.top(), 1000 - inside.right() - 1, 1000 - inside.bottom() - 1);
}

void TFmCustomPanel::PaintTo(TFmCanvas& canvas) const {
  const QRect inside = borders_.Paint(canvas, rect());
  canvas.FillRect(inside, color_);
  if (caption_.isEmpty()) return;
  const int flags = int(alignment_ | verticalAlignment_) | Qt::TextSingleLine;
  if (isEnabled()) {
    canvas.DrawText(inside, flags, caption_, font(), palette().color(QPalette::WindowText));
  } else {
    canvas.DrawText(inside.translated(1, 1), flags, caption_, font(), borders_.highlight);
    canvas.DrawText(inside, flags, caption_, font(), borders_.shadow);
  }
}

void TFmCustomPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  TFmPainterCanvas canvas(painter);
  PaintTo(canvas);
}

void TFmCustomPanel::enterEvent(QEnterEvent* event) {
  QWidget::enterEvent(event);
  if (OnMouseEnter) OnMouseEnter();
}

void TFmCustomPanel::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  if (OnMouseLeave) OnMouseLeave();
}

void TFmCustomPanel::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::EnabledChange) update();
}
