#pragma once
// What the framed controls draw with and measure with. Painting code talks to these
// interfaces rather than to QPainter, so a test can record the geometry and the colours
// of a paint without depending on installed fonts.
#include <QColor>
#include <QFont>
#include <QPointF>
#include <QPolygon>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

class TFmCanvas {
public:
  virtual ~TFmCanvas() = default;
  virtual void FillRect(const QRect& rect, const QColor& color) = 0;
  virtual void FillPolygon(const QPolygon& polygon, const QColor& color) = 0;
  // Text inside `rect` with Qt alignment and text flags (Qt::TextWordWrap,
  // Qt::TextShowMnemonic, Qt::TextExpandTabs, Qt::TextSingleLine), clipped to `rect`.
  virtual void DrawText(const QRect& rect, int flags, const QString& text, const QFont& font, const QColor& color) = 0;
  // Text on its base line from `origin`, turned counter-clockwise by `angle` degrees.
  virtual void DrawRotatedText(QPointF origin, qreal angle, const QString& text, const QFont& font,
                               const QColor& color) = 0;
};

// Measures text as the canvas would draw it.
class TFmTextMetrics {
public:
  virtual ~TFmTextMetrics() = default;
  // Size of `text` drawn with `flags`; word-wrapped text breaks at `wrapWidth`.
  virtual QSize TextExtent(const QFont& font, int flags, const QString& text, int wrapWidth) const = 0;
  // Height of one line of the font.
  virtual int LineHeight(const QFont& font) const = 0;
  // Width of one line of text without wrapping.
  virtual int TextWidth(const QFont& font, const QString& text) const = 0;
};

// The screen's metrics, through QFontMetrics.
const TFmTextMetrics& ScreenTextMetrics();

class TFmPainterCanvas : public TFmCanvas {
public:
  explicit TFmPainterCanvas(QPainter& painter) : painter_(painter) {}
  void FillRect(const QRect& rect, const QColor& color) override;
  void FillPolygon(const QPolygon& polygon, const QColor& color) override;
  void DrawText(const QRect& rect, int flags, const QString& text, const QFont& font, const QColor& color) override;
  void DrawRotatedText(QPointF origin, qreal angle, const QString& text, const QFont& font,
                       const QColor& color) override;

private:
  QPainter& painter_;
};
