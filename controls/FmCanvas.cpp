#include "controls/FmCanvas.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

class ScreenMetrics : public TFmTextMetrics {
public:
  QSize TextExtent(const QFont& font, int flags, const QString& text, int wrapWidth) const override {
    const QFontMetrics metrics(font);
    if (text.isEmpty()) return {0, metrics.height()};
    const QRect bounds(0, 0, (flags & Qt::TextWordWrap) ? qMax(1, wrapWidth) : 0x3fffffff, 0x3fffffff);
    return metrics.boundingRect(bounds, flags & ~int(Qt::AlignHorizontal_Mask | Qt::AlignVertical_Mask), text).size();
  }
  int LineHeight(const QFont& font) const override { return QFontMetrics(font).height(); }
  int TextWidth(const QFont& font, const QString& text) const override {
    return QFontMetrics(font).horizontalAdvance(text);
  }
};

}  // namespace

const TFmTextMetrics& ScreenTextMetrics() {
  static const ScreenMetrics metrics;
  return metrics;
}

void TFmPainterCanvas::FillRect(const QRect& rect, const QColor& color) { painter_.fillRect(rect, color); }

void TFmPainterCanvas::FillPolygon(const QPolygon& polygon, const QColor& color) {
  painter_.save();
  painter_.setPen(Qt::NoPen);
  painter_.setBrush(color);
  painter_.drawPolygon(polygon);
  painter_.restore();
}

void TFmPainterCanvas::DrawText(const QRect& rect, int flags, const QString& text, const QFont& font,
                                const QColor& color) {
  painter_.save();
  painter_.setClipRect(rect, Qt::IntersectClip);
  painter_.setFont(font);
  painter_.setPen(color);
  painter_.drawText(rect, flags, text);
  painter_.restore();
}

void TFmPainterCanvas::DrawRotatedText(QPointF origin, qreal angle, const QString& text, const QFont& font,
                                       const QColor& color) {
  painter_.save();
  painter_.setFont(font);
  painter_.setPen(color);
  painter_.translate(origin);
  painter_.rotate(-angle);
  painter_.drawText(QPointF(0, 0), text);
  painter_.restore();
}
