#include "controls/FmCommon.h"

#include "controls/FmColors.h"

int FrameWidth(TFrameStyle style, int bevelWidth) {
  switch (style) {
    case fsNone: return 0;
    case fsFlat: return 1;
    case fsStatus:
    case fsPopup: return qMax(0, bevelWidth);
    default: return 2;
  }
}

QRect ShrinkByFrame(const QRect& rect, TFrameStyle style, TSides sides, int bevelWidth) {
  const int w = FrameWidth(style, bevelWidth);
  return rect.adjusted(sides & sdLeft ? w : 0, sides & sdTop ? w : 0, sides & sdRight ? -w : 0,
                       sides & sdBottom ? -w : 0);
}

QRect DrawSides(TFmCanvas& canvas, const QRect& rect, TSides sides, const QColor& topLeft, const QColor& bottomRight,
                int width) {
  QRect r = rect;
  for (int i = 0; i < width && r.width() > 0 && r.height() > 0; ++i) {
    const int left = r.x(), top = r.y(), right = r.x() + r.width(), bottom = r.y() + r.height();
    if (sides & sdLeft) canvas.FillRect(QRect(left, top, 1, bottom - top), topLeft);
    if (sides & sdTop) canvas.FillRect(QRect(left, top, right - left, 1), topLeft);
    if (sides & sdRight) canvas.FillRect(QRect(right - 1, top, 1, bottom - top), bottomRight);
    if (sides & sdBottom) canvas.FillRect(QRect(left, bottom - 1, right - left, 1), bottomRight);
    r.adjust(sides & sdLeft ? 1 : 0, sides & sdTop ? 1 : 0, sides & sdRight ? -1 : 0, sides & sdBottom ? -1 : 0);
  }
  return r;
}

TFrameColors SystemFrameColors(TFrameStyle style) {
  const QColor shadow = SysColor(TSysColor::clBtnShadow);
  const QColor highlight = SysColor(TSysColor::clBtnHighlight);
  const QColor light = SysColor(TSysColor::cl3DLight);
  const QColor dark = SysColor(TSysColor::cl3DDkShadow);
  const QColor text = SysColor(TSysColor::clBtnText);
  switch (style) {
    case fsNone: return {};
    case fsFlat: {
      const QColor frame = SysColor(TSysColor::clWindowFrame);
      return {frame, frame, frame, frame};
    }
    case fsGroove: return {shadow, shadow, highlight, highlight};
    case fsBump: return {highlight, highlight, shadow, shadow};
    case fsLowered: return {shadow, highlight, text, light};
    case fsButtonDown: return {text, text, shadow, shadow};
    case fsRaised: return {light, text, highlight, shadow};
    case fsButtonUp: return {highlight, dark, light, shadow};
    case fsStatus: return {shadow, highlight, shadow, highlight};
    case fsPopup: return {highlight, shadow, highlight, shadow};
  }
  return {};
}

TFrameColors ColoredFrameColors(TFrameStyle style, const QColor& base) {
  const auto shade = [&base](int delta) { return ShadeColor(base, delta); };
  switch (style) {
    case fsNone: return {};
    case fsFlat: return {shade(-50), shade(-50), shade(-50), shade(-50)};
    case fsGroove: return {shade(-50), shade(-50), shade(100), shade(100)};
    case fsBump: return {shade(100), shade(100), shade(-50), shade(-50)};
    case fsLowered: return {shade(-50), shade(100), shade(-100), shade(50)};
    case fsRaised: return {shade(100), shade(-50), shade(50), shade(-100)};
    case fsStatus: return {shade(-50), shade(100), shade(-50), shade(100)};
    case fsPopup: return {shade(100), shade(-50), shade(100), shade(-50)};
    case fsButtonUp: return {shade(100), shade(-100), shade(40), shade(-50)};
    case fsButtonDown: return {shade(-100), shade(-100), shade(-50), shade(-50)};
  }
  return {};
}

namespace {

// An etched line: the inner colour one pixel in, the outer colour at the edge, and the
// two corners where both colours meet filled so that the line reads as one.
QRect DrawEtched(TFmCanvas& canvas, const QRect& rect, TSides sides, const QColor& outer, const QColor& inner) {
  const int left = rect.x(), top = rect.y(), right = rect.x() + rect.width(), bottom = rect.y() + rect.height();
  const QRect innerRect(QPoint(sides & sdLeft ? left + 1 : left, sides & sdTop ? top + 1 : top),
                        QPoint(right - 1, bottom - 1));
  const QRect outerRect(QPoint(left, top), QPoint(sides & sdRight ? right - 2 : right - 1,
                                                  sides & sdBottom ? bottom - 2 : bottom - 1));
  DrawSides(canvas, innerRect, sides, inner, inner);
  DrawSides(canvas, outerRect, sides, outer, outer);
  if ((sides & sdTop) && (sides & sdRight)) canvas.FillRect(QRect(right - 1, top, 1, 1), inner);
  if ((sides & sdLeft) && (sides & sdBottom)) canvas.FillRect(QRect(left, bottom - 1, 1, 1), inner);
  return ShrinkByFrame(rect, fsGroove, sides, 1);
}

}  // namespace

QRect DrawFrame(TFmCanvas& canvas, const QRect& rect, TFrameStyle style, TSides sides, const TFrameColors& colors,
                int bevelWidth) {
  if (rect.width() <= 0 || rect.height() <= 0) return ShrinkByFrame(rect, style, sides, bevelWidth);
  switch (style) {
    case fsNone: return rect;
    case fsFlat: return DrawSides(canvas, rect, sides, colors.outerTopLeft, colors.outerBottomRight);
    case fsGroove:
    case fsBump: return DrawEtched(canvas, rect, sides, colors.outerTopLeft, colors.innerTopLeft);
    case fsStatus:
    case fsPopup:
      DrawSides(canvas, rect, sides, colors.outerTopLeft, colors.outerBottomRight, bevelWidth);
      return ShrinkByFrame(rect, style, sides, bevelWidth);
    default: {
      const QRect inner = DrawSides(canvas, rect, sides, colors.outerTopLeft, colors.outerBottomRight);
      DrawSides(canvas, inner, sides, colors.innerTopLeft, colors.innerBottomRight);
      return ShrinkByFrame(rect, style, sides, bevelWidth);
    }
  }
}

QRect DrawFrame(TFmCanvas& canvas, const QRect& rect, TFrameStyle style, TSides sides, int bevelWidth) {
  return DrawFrame(canvas, rect, style, sides, SystemFrameColors(style), bevelWidth);
}

void DrawEditFrame(TFmCanvas& canvas, const QRect& window, TFrameStyle style, TSides sides, const QColor& frameColor,
                   const QColor& editColor) {
  DrawSides(canvas, window, AllSides, editColor, editColor, 2);
  if (style == fsFlat) {
    DrawSides(canvas, window, sides, frameColor, frameColor);
  } else if (editColor == SysColor(TSysColor::clWindow)) {
    DrawFrame(canvas, window, style, sides);
  } else {
    DrawFrame(canvas, window, style, sides, ColoredFrameColors(style, editColor));
  }
}
