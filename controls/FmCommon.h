#pragma once
// The border vocabulary of the framed panel, splitter, edit and label: frame styles,
// the sides they go on, and the routines that draw them and hand back the rectangle
// that is left inside.
#include "controls/FmCanvas.h"

#include <QColor>
#include <QFlags>
#include <QRect>

enum TFrameStyle {
  fsNone,
  fsFlat,
  fsGroove,
  fsBump,
  fsLowered,
  fsButtonDown,
  fsRaised,
  fsButtonUp,
  fsStatus,
  fsPopup,
};

enum TSide { sdLeft = 1, sdTop = 2, sdRight = 4, sdBottom = 8 };
Q_DECLARE_FLAGS(TSides, TSide)
Q_DECLARE_OPERATORS_FOR_FLAGS(TSides)
inline constexpr TSides AllSides = TSides(sdLeft | sdTop | sdRight | sdBottom);

// Colours of a frame's lines: the outer line's top-left and bottom-right colour, then the
// inner line's. One-line styles use only the outer pair.
struct TFrameColors {
  QColor outerTopLeft, outerBottomRight, innerTopLeft, innerBottomRight;
};

// Pixels a style takes on each side it is drawn on.
int FrameWidth(TFrameStyle style, int bevelWidth);
// `rect` less `style`'s width on each of `sides`.
QRect ShrinkByFrame(const QRect& rect, TFrameStyle style, TSides sides, int bevelWidth);

// One-pixel lines on `sides`: left and top in `topLeft`, right and bottom (on the
// rectangle's inner edge) in `bottomRight`, which owns the two corners it meets. Returns
// the rectangle less one pixel on each drawn side; `width` repeats it inwards.
QRect DrawSides(TFmCanvas& canvas, const QRect& rect, TSides sides, const QColor& topLeft, const QColor& bottomRight,
                int width = 1);

// The colours of each style in the desktop's palette.
TFrameColors SystemFrameColors(TFrameStyle style);
// The colours of each style made from shades of `base`.
TFrameColors ColoredFrameColors(TFrameStyle style, const QColor& base);

// Draws `style` on `sides` and returns the rectangle inside it.
QRect DrawFrame(TFmCanvas& canvas, const QRect& rect, TFrameStyle style, TSides sides, const TFrameColors& colors,
                int bevelWidth = 1);
// The same in the palette's colours.
QRect DrawFrame(TFmCanvas& canvas, const QRect& rect, TFrameStyle style, TSides sides, int bevelWidth = 1);

// An edit's border: two lines of the edit's own colour, then the frame: flat in
// `frameColor`, in the palette's colours on a window-coloured edit, else in shades of
// the edit's colour.
void DrawEditFrame(TFmCanvas& canvas, const QRect& window, TFrameStyle style, TSides sides, const QColor& frameColor,
                   const QColor& editColor);
