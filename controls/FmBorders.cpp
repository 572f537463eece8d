#include "controls/FmBorders.h"

namespace {

QRect LessSides(const QRect& rect, TSides sides, int width) {
  return rect.adjusted(sides & sdLeft ? width : 0, sides & sdTop ? width : 0, sides & sdRight ? -width : 0,
                       sides & sdBottom ? -width : 0);
}

}  // namespace

QRect TFmBorders::Inside(const QRect& rect, bool withBand) const {
  QRect r = LessSides(rect, frameSides, 1);
  r = ShrinkByFrame(r, outer, sides, bevelWidth);
  if (withBand) r = LessSides(r, AllSides, width);
  return ShrinkByFrame(r, inner, sides, bevelWidth);
}

int TFmBorders::LeadingExtent(bool vertical) const {
  const TSide side = vertical ? sdTop : sdLeft;
  const int frame = (frameSides & side) ? 1 : 0;
  const int borders = (sides & side) ? FrameWidth(outer, bevelWidth) + FrameWidth(inner, bevelWidth) : 0;
  return frame + borders + width;
}

QRect TFmBorders::PaintBorder(TFmCanvas& canvas, const QRect& rect, TFrameStyle style) const {
  switch (style) {
    case fsFlat: return DrawSides(canvas, rect, sides, flatColor, flatColor);
    case fsStatus:
      DrawSides(canvas, rect, sides, shadow, highlight, bevelWidth);
      return ShrinkByFrame(rect, style, sides, bevelWidth);
    case fsPopup:
      DrawSides(canvas, rect, sides, highlight, shadow, bevelWidth);
      return ShrinkByFrame(rect, style, sides, bevelWidth);
    default: return DrawFrame(canvas, rect, style, sides, bevelWidth);
  }
}

QRect TFmBorders::Paint(TFmCanvas& canvas, const QRect& rect) const {
  QRect r = DrawSides(canvas, rect, frameSides, flatColor, flatColor);
  r = PaintBorder(canvas, r, outer);
  if (width > 0) r = DrawSides(canvas, r, AllSides, color, color, width);
  return PaintBorder(canvas, r, inner);
}
