#pragma once
// The border set a framed panel and a framed label share: one-pixel frame lines, an
// outer border, a band of border colour, an inner border. Both controls paint and lay
// out through this one description, so their borders cannot drift apart.
#include "controls/FmCanvas.h"
#include "controls/FmColors.h"
#include "controls/FmCommon.h"

struct TFmBorders {
  TFrameStyle outer = fsRaised;
  TFrameStyle inner = fsNone;
  int width = 0;  // the band between outer and inner border
  TSides sides = AllSides;
  QColor color = SysColor(TSysColor::clBtnFace);
  QColor highlight = SysColor(TSysColor::clBtnHighlight);
  QColor shadow = SysColor(TSysColor::clBtnShadow);
  QColor flatColor = Qt::black;
  int bevelWidth = 1;
  TSides frameSides;  // one-pixel lines in the flat colour, outside everything else

  // `rect` less the frame lines, the outer border, the band (when `withBand`) and the
  // inner border.
  QRect Inside(const QRect& rect, bool withBand = true) const;
  // Pixels taken on the left (horizontal) or top (vertical) edge.
  int LeadingExtent(bool vertical) const;
  // Paints every border and returns the rectangle left inside them.
  QRect Paint(TFmCanvas& canvas, const QRect& rect) const;

private:
  QRect PaintBorder(TFmCanvas& canvas, const QRect& rect, TFrameStyle style) const;
};
