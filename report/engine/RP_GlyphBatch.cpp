#include "report/engine/RP_GlyphBatch.h"

#include "report/engine/RP_TextMeasurer.h"

#include <QGlyphRun>
#include <QPainter>

namespace {

// Printing runs on the one GUI thread; batches nest as scopes do.
TrpGlyphBatch* activeBatch = nullptr;

}  // namespace

TrpGlyphBatch::TrpGlyphBatch(QPainter& painter) : painter_(painter), outer_(activeBatch) { activeBatch = this; }

TrpGlyphBatch::~TrpGlyphBatch() {
  Flush();
  activeBatch = outer_;
}

TrpGlyphBatch* TrpGlyphBatch::For(const QPainter& painter) {
  return activeBatch && &activeBatch->painter_ == &painter ? activeBatch : nullptr;
}

void TrpGlyphBatch::Add(const QRawFont& font, const QColor& color, QPointF origin, const TrpShapedLine& line) {
  const QTransform& transform = painter_.worldTransform();
  if (!glyphs_.isEmpty() && (color != color_ || font != font_ || transform != transform_)) Flush();
  if (glyphs_.isEmpty()) {
    font_ = font;
    color_ = color;
    transform_ = transform;
  }
  glyphs_ += line.glyphs;
  for (const QPointF& position : line.positions) positions_.push_back(position + origin);
}

void TrpGlyphBatch::Flush() {
  if (glyphs_.isEmpty()) return;
  {
    QGlyphRun run;
    run.setRawFont(font_);
    run.setGlyphIndexes(glyphs_);
    run.setPositions(positions_);
    painter_.save();
    painter_.setPen(color_);
    painter_.setBackgroundMode(Qt::TransparentMode);
    painter_.drawGlyphRun(QPointF(), run);
    painter_.restore();
  }
  // The run is gone, so the lists keep their room for the next text.
  glyphs_.clear();
  positions_.clear();
}
