#pragma once
// Text of a printed page gathered into few glyph runs. A PDF gives every text output a
// graphics state, a colour and a font selection of its own; when the memos of a page
// draw nothing but plain shaped lines in one font and colour, their glyphs go out as one
// run with the same glyphs at the same places. Anything else drawn on the painter must
// come after the gathered text: whoever draws otherwise calls Flush first.
#include <QColor>
#include <QList>
#include <QPointF>
#include <QRawFont>
#include <QTransform>

class QPainter;
struct TrpShapedLine;

class TrpGlyphBatch {
public:
  // Gathers for `painter` until the scope ends, which draws what is left.
  explicit TrpGlyphBatch(QPainter& painter);
  ~TrpGlyphBatch();
  TrpGlyphBatch(const TrpGlyphBatch&) = delete;
  TrpGlyphBatch& operator=(const TrpGlyphBatch&) = delete;

  // The batch gathering for `painter`, if there is one.
  static TrpGlyphBatch* For(const QPainter& painter);

  // A shaped line whose baseline starts at `origin`, drawn in `color`. A font, colour
  // or painter transform other than the gathered one draws the gathered text first. O(glyphs of the line).
  void Add(const QRawFont& font, const QColor& color, QPointF origin, const TrpShapedLine& line);
  // Draws the gathered text now.
  void Flush();

private:
  QPainter& painter_;
  TrpGlyphBatch* outer_;
  QRawFont font_;
  QColor color_;
  QTransform transform_;
  QList<quint32> glyphs_;
  QList<QPointF> positions_;
};
