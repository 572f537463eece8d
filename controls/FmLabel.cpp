#include "controls/FmLabel.h"

#include "controls/FmFonts.h"
#include "controls/clmisc.h"

#include <QEvent>
#include <QPainter>
#include <cmath>
#include <numbers>

TFmLabel::TFmLabel(QWidget* parent)
    : QWidget(parent),
      fontColor_(SysColor(TSysColor::clWindowText)),
      color_(SysColor(TSysColor::clBtnFace)),
      shadowColor_(SysColor(TSysColor::clBtnShadow)),
      highlightColor_(SysColor(TSysColor::clBtnHighlight)),
      flyByColor_(SysColor(TSysColor::clHighlight)),
      blinkColor_(SysColor(TSysColor::clHighlight)),
      metrics_(&ScreenTextMetrics()) {
  borders_.outer = fsNone;
}

TFmLabel::~TFmLabel() { TFmBlinkList::Instance().Unregister(this); }

void TFmLabel::SetCaption(const QString& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  AdjustBounds();
  update();
}

void TFmLabel::SetFontColor(const QColor& color) {
  fontColor_ = color;
  update();
}

void TFmLabel::SetLabelFont(const QFont& font) {
  setFont(font);
  if (angle_ != 0 && !loading_) EnsureRotatableFont();
  AdjustBounds();
}

void TFmLabel::SetColor(const QColor& color) {
  color_ = color;
  update();
}

void TFmLabel::SetTransparent(bool on) {
  transparent_ = on;
  update();
}

void TFmLabel::SetAlignment(Qt::Alignment horizontal) {
  alignment_ = horizontal & Qt::AlignHorizontal_Mask;
  AdjustBounds();
  update();
}

void TFmLabel::SetLayout(Qt::Alignment vertical) {
  layout_ = vertical & Qt::AlignVertical_Mask;
  update();
}

void TFmLabel::SetWordWrap(bool on) {
  wordWrap_ = on;
  AdjustBounds();
  update();
}

void TFmLabel::SetAutoSize(bool on) {
  autoSize_ = on;
  AdjustBounds();
}

void TFmLabel::SetShowAccelChar(bool on) {
  showAccelChar_ = on;
  AdjustBounds();
  update();
}

void TFmLabel::SetAngle(int angle) {
  // A true modulo: every angle, negative ones included, lands in 0..359.
  angle = ((angle % 360) + 360) % 360;
  if (angle_ == angle) return;
  angle_ = angle;
  if (angle != 0 && !loading_) {
    rotation_ = roFlat;
    EnsureRotatableFont();
  }
  AdjustBounds();
  update();
}

void TFmLabel::SetRotation(TFmRotation rotation) {
  rotation_ = rotation;
  AdjustBounds();
  update();
}

void TFmLabel::SetCenterPoint(TFmCenterPoint point) {
  centerPoint_ = point;
  update();
}

void TFmLabel::SetTextStyle(TFmTextStyle style) {
  textStyle_ = style;
  AdjustBounds();
  update();
}

void TFmLabel::SetLightTextStyle(bool on) {
  lightTextStyle_ = on;
  update();
}

void TFmLabel::SetShadowDepth(int depth) {
  shadowDepth_ = qMax(0, depth);
  AdjustBounds();
  update();
}

void TFmLabel::SetShadowColor(const QColor& color) {
  shadowColor_ = color;
  update();
}

void TFmLabel::SetHighlightColor(const QColor& color) {
  highlightColor_ = color;
  update();
}

void TFmLabel::SetBlinking(bool on) {
  if (blinking_ == on) return;
  blinking_ = on;
  // Only blinking labels keep the shared timer running.
  if (on) {
    TFmBlinkList::Instance().Register(this);
  } else {
    TFmBlinkList::Instance().Unregister(this);
    blinkOn_ = false;
  }
  update();
}

void TFmLabel::SetBlinkColor(const QColor& color) {
  blinkColor_ = color;
  update();
}

void TFmLabel::BlinkPhase(bool on) {
  blinkOn_ = on;
  update();
}

void TFmLabel::SetBorders(const TFmBorders& borders) {
  borders_ = borders;
  AdjustBounds();
  update();
}

void TFmLabel::EndLoading() {
  loading_ = false;
  if (angle_ != 0) {
    rotation_ = roFlat;
    EnsureRotatableFont();
  }
  AdjustBounds();
}

void TFmLabel::SetTextMetrics(const TFmTextMetrics* metrics) {
  metrics_ = metrics != nullptr ? metrics : &ScreenTextMetrics();
  AdjustBounds();
}

void TFmLabel::EnsureRotatableFont() {
  if (IsOutlineFont(font())) return;
  QFont replacement = font();
  replacement.setFamily(RotationFallbackFamily());
  setFont(replacement);
}

QColor TFmLabel::CurrentTextColor() const {
  if (blinking_ && blinkOn_) return blinkColor_;
  if (flyByEnabled_ && hovered_) return flyByColor_;
  return fontColor_;
}

int TFmLabel::DrawFlags() const {
  int flags = int(alignment_) | Qt::TextExpandTabs;
  flags |= wordWrap_ ? int(Qt::TextWordWrap) : int(Qt::TextSingleLine);
  if (showAccelChar_) flags |= Qt::TextShowMnemonic;
  return flags;
}

QRect TFmLabel::TextRect(const QRect& inside) const {
  QRect r = inside;
  const int textHeight = metrics_->TextExtent(font(), DrawFlags(), caption_, r.width()).height();
  const int free = r.height() - textHeight;
  const int edgeGap = textStyle_ == tsShadow ? shadowDepth_ : 1;
  if (layout_ & Qt::AlignVCenter) r.setTop(r.top() + free / 2);
  if (layout_ & Qt::AlignBottom) r.setTop(r.top() + free - edgeGap);
  if (alignment_ & Qt::AlignRight) r.setRight(r.right() - edgeGap);
  return r;
}

void TFmLabel::PaintFlat(TFmCanvas& canvas, const QRect& r, const QColor& color) const {
  const int flags = DrawFlags() | Qt::AlignTop;
  const QFont f = font();
  if (!isEnabled()) {
    canvas.DrawText(r.translated(1, 1), flags, caption_, f, SysColor(TSysColor::clBtnHighlight));
    canvas.DrawText(r, flags, caption_, f, SysColor(TSysColor::clGrayText));
    return;
  }
  switch (textStyle_) {
    case tsRaised:
      if (!lightTextStyle_) canvas.DrawText(r.translated(1, 1), flags, caption_, f, shadowColor_);
      canvas.DrawText(r.translated(-1, -1), flags, caption_, f, highlightColor_);
      break;
    case tsRecessed:
      canvas.DrawText(r.translated(1, 1), flags, caption_, f, highlightColor_);
      if (!lightTextStyle_) canvas.DrawText(r.translated(-1, -1), flags, caption_, f, shadowColor_);
      break;
    case tsShadow:
      canvas.DrawText(r.translated(shadowDepth_, shadowDepth_), flags, caption_, f, shadowColor_);
      break;
    case tsNormal: break;
  }
  canvas.DrawText(r, flags, caption_, f, color);
}

void TFmLabel::PaintRotated(TFmCanvas& canvas, const QRect& r, const QColor& color) const {
  const TRotatedFont rotated = CreateRotatedFont(font(), angle_);
  const double w = metrics_->TextWidth(rotated.font, caption_);
  const double h = metrics_->LineHeight(rotated.font);
  const double radians = angle_ * std::numbers::pi / 180;
  const double c = std::cos(radians), s = std::sin(radians);
  const double boxWidth = std::abs(w * c) + std::abs(h * s);
  const double boxHeight = std::abs(w * s) + std::abs(h * c);
  // The turned text's box is placed in the rectangle by CenterPoint ...
  const int column = centerPoint_ % 3, row = centerPoint_ / 3;
  const double centerX = r.left() + (column == 0 ? boxWidth / 2 : column == 1 ? r.width() / 2.0 : r.width() - boxWidth / 2);
  const double centerY = r.top() + (row == 0 ? boxHeight / 2 : row == 1 ? r.height() / 2.0 : r.height() - boxHeight / 2);
  // ... and the base line starts half the text back from its centre, a quarter of the
  // text height below it, both turned with the text.
  const double dx = w / 2, dy = -h / 4;
  const QPointF origin(centerX - (dx * c + dy * s), centerY - (-dx * s + dy * c));
  if (isEnabled() && textStyle_ == tsShadow)
    canvas.DrawRotatedText(origin + QPointF(shadowDepth_, shadowDepth_), angle_, caption_, rotated.font, shadowColor_);
  canvas.DrawRotatedText(origin, angle_, caption_, rotated.font, isEnabled() ? color : SysColor(TSysColor::clGrayText));
}

void TFmLabel::PaintCurved(TFmCanvas& canvas, const QRect& r, const QColor& color) const {
  // Characters evenly along a circle through the label's centre, the text's middle at
  // the top of the circle turned by Angle.
  const QFont f = font();
  const double radius = qMax(1.0, qMin(r.width(), r.height()) / 2.0 - metrics_->LineHeight(f) / 2.0);
  const QPointF center = QRectF(r).center();
  const double total = metrics_->TextWidth(f, caption_) / radius;  // in radians
  double along = std::numbers::pi / 2 + angle_ * std::numbers::pi / 180 + total / 2;
  const QColor drawn = isEnabled() ? color : SysColor(TSysColor::clGrayText);
  for (const QChar ch : caption_) {
    const double step = metrics_->TextWidth(f, QString(ch)) / radius;
    const double at = along - step / 2;
    const QPointF point(center.x() + radius * std::cos(at), center.y() - radius * std::sin(at));
    canvas.DrawRotatedText(point, (at - std::numbers::pi / 2) * 180 / std::numbers::pi, QString(ch), f, drawn);
    along -= step;
  }
}

void TFmLabel::PaintTo(TFmCanvas& canvas) const {
  const QRect inside = borders_.Paint(canvas, rect());
  if (!transparent_) canvas.FillRect(inside, color_);
  if (caption_.isEmpty()) return;
  const QColor color = CurrentTextColor();
  if (rotation_ == roCurve)
    PaintCurved(canvas, inside, color);
  else if (rotation_ == roFlat && angle_ != 0)
    PaintRotated(canvas, inside, color);
  else
    PaintFlat(canvas, TextRect(inside), color);
}

QSize TFmLabel::TextBoxSize() const {
  const QRect frame = borders_.Inside(QRect(0, 0, 1000, 1000));
  const int frameWidth = 1000 - frame.width();
  const int frameHeight = 1000 - frame.height();
  const QSize text = metrics_->TextExtent(font(), DrawFlags(), caption_, qMax(1, width() - frameWidth));
  double w = text.width() + frameWidth;
  double h = text.height() + frameHeight;
  const bool turned = rotation_ == roFlat && angle_ != 0 && angle_ != 180;
  if (textStyle_ == tsShadow) {
    w += turned ? shadowDepth_ / 2 : shadowDepth_;
    h += turned ? shadowDepth_ / 2 : shadowDepth_;
  }
  if (turned) {
    // The box of the turned text; the sine and cosine of the whole angle, so a label
    // turned past 90 degrees is as tall as the text is long, not as wide.
    const double radians = angle_ * std::numbers::pi / 180;
    const double c = std::abs(std::cos(radians)), s = std::abs(std::sin(radians));
    const double turnedWidth = w * c + h * s;
    const double turnedHeight = w * s + h * c;
    w = std::nearbyint(turnedWidth);
    h = std::nearbyint(turnedHeight);
  }
  return {static_cast<int>(w), static_cast<int>(h) + 1};
}

QSize TFmLabel::sizeHint() const { return TextBoxSize(); }

void TFmLabel::AdjustBounds() {
  if (!autoSize_ || loading_) return;
  const QSize size = TextBoxSize();
  const int left = (alignment_ & Qt::AlignRight) ? geometry().right() + 1 - size.width() : x();
  setGeometry(left, y(), size.width(), size.height());
  updateGeometry();
}

void TFmLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::TextAntialiasing);
  TFmPainterCanvas canvas(painter);
  PaintTo(canvas);
}

void TFmLabel::enterEvent(QEnterEvent* event) {
  QWidget::enterEvent(event);
  hovered_ = true;
  if (flyByEnabled_) update();
  if (OnMouseEnter) OnMouseEnter();
}

void TFmLabel::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  hovered_ = false;
  if (flyByEnabled_) update();
  if (OnMouseLeave) OnMouseLeave();
}

void TFmLabel::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::EnabledChange) update();
  if (event->type() == QEvent::FontChange) AdjustBounds();
}
