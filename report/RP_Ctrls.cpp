#include "report/RP_Ctrls.h"

#include <QDockWidget>
#include <QHash>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QToolBar>
#include <qdrawutil.h>

namespace {

// Buttons up to this size paint through one shared off-screen pixmap.
constexpr int kSharedBufferSide = 100;

QPixmap& SharedBuffer() {
  static QPixmap buffer(kSharedBufferSide, kSharedBufferSide);
  return buffer;
}

// Processed glyph images, shared by every button: keyed by the image's size, then by
// the glyph and the state.
QHash<QSize, QHash<QString, QPixmap>>& GlyphCache() {
  static QHash<QSize, QHash<QString, QPixmap>> cache;
  return cache;
}

QImage Emboss(const QImage& source, const QPalette& palette) {
  QImage mask(source.size(), QImage::Format_ARGB32);
  mask.fill(Qt::transparent);
  const QRgb face = palette.color(QPalette::Button).rgb();
  for (int y = 0; y < source.height(); ++y) {
    for (int x = 0; x < source.width(); ++x) {
      const QRgb c = source.pixel(x, y);
      if (qAlpha(c) != 0 && (c | 0xFF000000u) != (face | 0xFF000000u)) mask.setPixel(x, y, 0xFF000000u);
    }
  }
  QImage out(source.size(), QImage::Format_ARGB32);
  out.fill(Qt::transparent);
  QPainter p(&out);
  auto tinted = [&mask](const QColor& colour) {
    QImage t = mask;
    QPainter tp(&t);
    tp.setCompositionMode(QPainter::CompositionMode_SourceIn);
    tp.fillRect(t.rect(), colour);
    return t;
  };
  p.drawImage(1, 1, tinted(palette.color(QPalette::Light)));
  p.drawImage(0, 0, tinted(palette.color(QPalette::Dark)));
  return out;
}

QImage Greyed(const QImage& source, const QPalette& palette) {
  QImage out = source.convertToFormat(QImage::Format_ARGB32);
  const QRgb face = palette.color(QPalette::Button).rgb() | 0xFF000000u;
  for (int y = 0; y < out.height(); ++y) {
    for (int x = 0; x < out.width(); ++x) {
      const QRgb c = out.pixel(x, y);
      if (qAlpha(c) == 0 || (c | 0xFF000000u) == face) continue;
      out.setPixel(x, y, TrpSpeedButton::Grey(c));
    }
  }
  return out;
}

}  // namespace

TrpSpeedButton::TrpSpeedButton(QWidget* parent) : QWidget(parent) {
  resize(22, 22);
  setAttribute(Qt::WA_Hover);
  setMouseTracking(true);
}

QRgb TrpSpeedButton::Grey(QRgb colour) {
  const int g = (77 * qRed(colour) + 150 * qGreen(colour) + 29 * qBlue(colour)) / 256;
  return qRgba(g, g, g, qAlpha(colour));
}

void TrpSpeedButton::SetGlyph(const QPixmap& glyph) {
  glyph_ = glyph;
  numGlyphs_ = 1;
  if (!glyph.isNull() && glyph.height() > 0 && glyph.width() % glyph.height() == 0) {
    const int count = glyph.width() / glyph.height();
    if (count >= 1 && count < 5) numGlyphs_ = count;
  }
  update();
}

void TrpSpeedButton::SetCaption(const QString& caption) {
  caption_ = caption;
  update();
}

void TrpSpeedButton::SetLayout(GlyphLayout layout) {
  layout_ = layout;
  update();
}

void TrpSpeedButton::SetMargin(int margin) {
  margin_ = margin;
  update();
}

void TrpSpeedButton::SetSpacing(int spacing) {
  spacing_ = spacing;
  update();
}

void TrpSpeedButton::SetFlat(bool flat) {
  flat_ = flat;
  update();
}

void TrpSpeedButton::SetGrayedInactive(bool value) {
  grayedInactive_ = value;
  update();
}

void TrpSpeedButton::SetDown(bool down) {
  if (groupIndex_ == 0 || down == down_) return;
  if (down_ && !allowAllUp_) return;
  down_ = down;
  update();
  if (!down || !parentWidget()) return;
  for (QObject* sibling : parentWidget()->children()) {
    auto* other = qobject_cast<TrpSpeedButton*>(sibling);
    if (other && other != this && other->groupIndex_ == groupIndex_ && other->down_) {
      other->down_ = false;
      other->update();
    }
  }
}

TrpSpeedButton::DrawState TrpSpeedButton::State() const {
  if (!isEnabled()) return DrawState::Disabled;
  if (down_) return DrawState::Down;
  if (dragging_) return DrawState::Pressed;
  if (flat_ && grayedInactive_ && !mouseInside_) return DrawState::Inactive;
  return DrawState::Up;
}

QPixmap TrpSpeedButton::GlyphFor(DrawState state) const {
  if (glyph_.isNull()) return {};
  const int width = glyph_.width() / numGlyphs_;
  const QSize size(width, glyph_.height());
  const QString key = QString::number(glyph_.cacheKey()) + u'/' + QString::number(static_cast<int>(state));
  QHash<QString, QPixmap>& images = GlyphCache()[size];
  if (const auto it = images.constFind(key); it != images.constEnd()) return it.value();
  auto image = [&](int index) { return glyph_.copy(index * width, 0, width, glyph_.height()).toImage(); };
  QImage result;
  switch (state) {
    case DrawState::Disabled: result = numGlyphs_ >= 2 ? image(1) : Emboss(image(0), palette()); break;
    case DrawState::Pressed: result = numGlyphs_ >= 3 ? image(2) : image(0); break;
    case DrawState::Down: result = numGlyphs_ >= 4 ? image(3) : numGlyphs_ >= 3 ? image(2) : image(0); break;
    case DrawState::Inactive: result = Greyed(image(0), palette()); break;
    case DrawState::Up: result = image(0); break;
  }
  QPixmap pixmap = QPixmap::fromImage(result);
  images.insert(key, pixmap);
  return pixmap;
}

void TrpSpeedButton::paintEvent(QPaintEvent*) {
  if (width() <= kSharedBufferSide && height() <= kSharedBufferSide) {
    QPixmap& buffer = SharedBuffer();
    {
      QPainter p(&buffer);
      p.setClipRect(rect());
      Paint(p);
    }
    QPainter(this).drawPixmap(QPoint(0, 0), buffer, rect());
  } else {
    QPainter p(this);
    Paint(p);
  }
}

void TrpSpeedButton::Paint(QPainter& p) {
  const QPalette& pal = palette();
  const QRect r = rect();
  const DrawState state = State();
  const bool sunken = state == DrawState::Pressed || state == DrawState::Down;
  p.fillRect(r, pal.color(QPalette::Button));
  if (!flat_) qDrawWinButton(&p, r, pal, sunken);
  if (state == DrawState::Down) {
    QPixmap chequer(2, 2);
    chequer.fill(pal.color(QPalette::Button));
    QPainter cp(&chequer);
    cp.setPen(pal.color(QPalette::Light));
    cp.drawPoint(0, 0);
    cp.drawPoint(1, 1);
    p.fillRect(r.adjusted(2, 2, -2, -2), QBrush(chequer));
  }
  if (flat_ && (mouseInside_ || down_ || dragging_)) qDrawShadeRect(&p, r, pal, sunken, 1);

  const QPixmap image = GlyphFor(state);
  const QSize glyphSize = image.isNull() ? QSize() : image.size();
  const QSize textSize = caption_.isEmpty() ? QSize() : p.fontMetrics().size(Qt::TextSingleLine, caption_);
  const bool horizontal = layout_ == GlyphLayout::Left || layout_ == GlyphLayout::Right;
  const int gap = glyphSize.isEmpty() || textSize.isEmpty() ? 0 : spacing_;
  const int total = horizontal ? glyphSize.width() + gap + textSize.width() : glyphSize.height() + gap + textSize.height();
  const int extent = horizontal ? r.width() : r.height();
  const int start = margin_ < 0 ? (extent - total) / 2 : margin_;
  QPoint glyphAt, textAt;
  switch (layout_) {
    case GlyphLayout::Left:
      glyphAt = {start, (r.height() - glyphSize.height()) / 2};
      textAt = {start + glyphSize.width() + gap, (r.height() - textSize.height()) / 2};
      break;
    case GlyphLayout::Right:
      textAt = {start, (r.height() - textSize.height()) / 2};
      glyphAt = {start + textSize.width() + gap, (r.height() - glyphSize.height()) / 2};
      break;
    case GlyphLayout::Top:
      glyphAt = {(r.width() - glyphSize.width()) / 2, start};
      textAt = {(r.width() - textSize.width()) / 2, start + glyphSize.height() + gap};
      break;
    case GlyphLayout::Bottom:
      textAt = {(r.width() - textSize.width()) / 2, start};
      glyphAt = {(r.width() - glyphSize.width()) / 2, start + textSize.height() + gap};
      break;
  }
  const QPoint shift = state == DrawState::Pressed ? QPoint(1, 1) : QPoint();
  if (!image.isNull()) p.drawPixmap(glyphAt + shift, image);
  if (!caption_.isEmpty()) {
    p.setPen(pal.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    p.drawText(QRect(textAt + shift, textSize), Qt::AlignCenter, caption_);
  }
}

void TrpSpeedButton::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !isEnabled()) return;
  pressed_ = true;
  dragging_ = !down_;
  update();
}

void TrpSpeedButton::mouseMoveEvent(QMouseEvent* event) {
  if (!pressed_) return;
  const bool inside = rect().contains(event->position().toPoint());
  if (dragging_ != (inside && !down_)) {
    dragging_ = inside && !down_;
    update();
  }
}

void TrpSpeedButton::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !pressed_) return;
  const bool inside = rect().contains(event->position().toPoint());
  pressed_ = false;
  dragging_ = false;
  if (groupIndex_ != 0 && inside) SetDown(!down_);
  update();
  if (inside && OnClick) OnClick();
}

void TrpSpeedButton::enterEvent(QEnterEvent*) {
  mouseInside_ = true;
  update();
}

void TrpSpeedButton::leaveEvent(QEvent*) {
  mouseInside_ = false;
  update();
}

void TrpSpeedButton::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange) update();
  QWidget::changeEvent(event);
}

TrpAlign rpToolBarAlign(const QWidget* panel) {
  const QWidget* container = panel ? panel->parentWidget() : nullptr;
  if (const auto* bar = qobject_cast<const QToolBar*>(container)) {
    return bar->orientation() == Qt::Vertical ? TrpAlign::Top : TrpAlign::Left;
  }
  if (const auto* dock = qobject_cast<const QDockWidget*>(container)) {
    if (const auto* window = qobject_cast<const QMainWindow*>(dock->parentWidget())) {
      const Qt::DockWidgetArea area = window->dockWidgetArea(const_cast<QDockWidget*>(dock));
      if (area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea) return TrpAlign::Top;
    }
  }
  return TrpAlign::Left;
}

TrpTBButton::TrpTBButton(QWidget* parent) : TrpSpeedButton(parent) {
  SetFlat(true);
  align_ = rpToolBarAlign(parent);
}

bool TrpTBButton::event(QEvent* event) {
  if (event->type() == QEvent::ParentChange) align_ = rpToolBarAlign(parentWidget());
  return TrpSpeedButton::event(event);
}

TrpTBSeparator::TrpTBSeparator(QWidget* parent) : QWidget(parent) {
  resize(8, 8);
  align_ = rpToolBarAlign(parent);
}

void TrpTBSeparator::SetAlign(TrpAlign align) {
  align_ = align;
  update();
}

bool TrpTBSeparator::event(QEvent* event) {
  if (event->type() == QEvent::ParentChange) SetAlign(rpToolBarAlign(parentWidget()));
  return QWidget::event(event);
}

void TrpTBSeparator::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QPalette& pal = palette();
  if (align_ == TrpAlign::Top || align_ == TrpAlign::Bottom) {
    const int y = height() / 2 - 1;
    p.setPen(pal.color(QPalette::Dark));
    p.drawLine(0, y, width() - 1, y);
    p.setPen(pal.color(QPalette::Light));
    p.drawLine(0, y + 1, width() - 1, y + 1);
  } else {
    const int x = width() / 2 - 1;
    p.setPen(pal.color(QPalette::Dark));
    p.drawLine(x, 0, x, height() - 1);
    p.setPen(pal.color(QPalette::Light));
    p.drawLine(x + 1, 0, x + 1, height() - 1);
  }
}
