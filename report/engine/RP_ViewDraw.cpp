// Drawing shared by every view: alignment inside the band, scaling for the target,
// background, frame and the frame's outer extent.
#include "report/engine/RP_Class.h"
#include "report/engine/RP_Page.h"
#include "report/engine/RP_View.h"

#include <QPainter>
#include <algorithm>

namespace {

// Drawn coordinates stay within +-2^29 units, so sums and differences of two of them
// (and QRect's own arithmetic) cannot overflow, whatever a stored record says.
constexpr int64_t kCoordLimit = int64_t(1) << 29;

int Coord(int64_t value) { return static_cast<int>(std::clamp(value, -kCoordLimit, kCoordLimit)); }

int Coord(double value) { return Coord(static_cast<int64_t>(rpRound(value))); }

}  // namespace

void TrpView::BeginDraw(QPainter* canvas) {
  canvas_ = canvas;
  if (TrpReport* report = Report()) report->SetCurrentView(this);
  ApplyBandAlign();
}

void TrpView::ApplyBandAlign() {
  if (BandAlign == rpBandAlign::None || BandAlign > rpBandAlign::Rest || !parent_) return;
  if (BandAlign == rpBandAlign::Bottom || BandAlign == rpBandAlign::Top) return;  // vertical: Print does those
  const int l = parent_->LeftMargin();
  const int r = parent_->RightMargin();
  // Neighbours on the same row (equal Top), nearest first on each side.
  const TrpView* leftNeighbour = nullptr;
  const TrpView* rightNeighbour = nullptr;
  for (const auto& object : parent_->Objects()) {
    const TrpView* other = object.get();
    if (other == this || other->Top != Top || other->Typ == rpObjectType::Band) continue;
    if (other->BandAlign == rpBandAlign::Left && other->Left < Left &&
        (!leftNeighbour || other->Left > leftNeighbour->Left)) {
      leftNeighbour = other;
    }
    if (other->BandAlign == rpBandAlign::Right && other->Left > Left &&
        (!rightNeighbour || other->Left < rightNeighbour->Left)) {
      rightNeighbour = other;
    }
  }
  const int64_t leftEdge = leftNeighbour ? int64_t(leftNeighbour->Left) + leftNeighbour->Width : l;
  const int64_t rightEdge = rightNeighbour ? int64_t(rightNeighbour->Left) - 1 : r;
  switch (BandAlign) {
    case rpBandAlign::Left:
      Left = Coord(leftEdge);
      break;
    case rpBandAlign::Right:
      Left = Coord(rightEdge - Width);
      break;
    case rpBandAlign::Center:
      Left = Coord(l + (int64_t(r) - l - Width) / 2);
      break;
    case rpBandAlign::Width:
      if (TrpReport* report = Report(); !report || !report->PrintingBand()) {
        Left = l;
        Width = Coord(int64_t(r) - l - 1);
      }
      break;
    case rpBandAlign::Rest:
      Left = Coord(leftEdge);
      Width = Coord((rightNeighbour ? int64_t(rightNeighbour->Left) : r) - Left);
      break;
    default:
      break;
  }
}

void TrpView::CalcGaps() {
  saved_ = {Left, Top, Width, Height, FrameWidth, GapX, GapY};
  if (!IsPrinting) {
    ScaleX = ScaleY = 1.0;
    OffsetX = OffsetY = 0;
  }
  const double sx = ScaleX, sy = ScaleY, fw = FrameWidth;
  Left = Coord(int64_t(rpRound(Left * sx)) + OffsetX);
  Top = Coord(int64_t(rpRound(Top * sy)) + OffsetY);
  Width = Coord(sx * Width);
  Height = Coord(sy * Height);
  FrameWidth = sx * fw;
  GapX = Coord(int64_t(rpRound(sx * fw / 2)) + rpRound(sx * saved_.gapX));
  GapY = Coord(int64_t(rpRound(sy * saved_.gapY)) + rpRound(sy * fw / 2) / 2);
  int64_t left = Left, top = Top;
  if (FrameTyp & rpFrameSide::Left) left += rpRound((sx * fw - 1) / 2);
  if (FrameTyp & rpFrameSide::Top) top += rpRound((sy * fw - 1) / 2);
  // Right and bottom are exclusive, one past the last pixel.
  int64_t right = int64_t(ScaledRight()) + 1;
  int64_t bottom = int64_t(ScaledBottom()) + 1;
  if (FrameTyp & rpFrameSide::Right) right -= rpRound(sx * fw / 2);
  if (FrameTyp & rpFrameSide::Bottom) bottom -= rpRound(sy * fw / 2);
  const int l = Coord(left), t = Coord(top);
  drawRect_ = QRect(l, t, Coord(right) - l, Coord(bottom) - t);
}

void TrpView::RestoreCoord() {
  Left = saved_.left;
  Top = saved_.top;
  Width = saved_.width;
  Height = saved_.height;
  FrameWidth = saved_.frameWidth;
  GapX = saved_.gapX;
  GapY = saved_.gapY;
}

int TrpView::ScaledRight() const { return Coord((double(saved_.left) + saved_.width) * ScaleX + OffsetX); }

int TrpView::ScaledBottom() const { return Coord((double(saved_.top) + saved_.height) * ScaleY + OffsetY); }

void TrpView::ShowBackground() {
  if (FirstPass || !canvas_) return;
  if (IsPrinting && FillColor == kRpNoColor) return;
  const QColor color = FillColor == kRpNoColor ? QColor(Qt::white) : rpToQColor(FillColor);
  const QRect rect = IsPrinting ? QRect(Left, Top, ScaledRight() - Left, ScaledBottom() - Top) : drawRect_;
  canvas_->fillRect(rect, color);
}

namespace {

Qt::PenStyle PenStyle(int style) {
  switch (style) {
    case rpFrameStyle::Dash:
      return Qt::DashLine;
    case rpFrameStyle::Dot:
      return Qt::DotLine;
    case rpFrameStyle::DashDot:
      return Qt::DashDotLine;
    case rpFrameStyle::DashDotDot:
      return Qt::DashDotDotLine;
    default:
      return Qt::SolidLine;
  }
}

}  // namespace

void TrpView::ShowFrame() {
  if (FirstPass || !canvas_ || FrameTyp == 0) return;
  QPainter& p = *canvas_;
  p.save();
  // A frame wider than any page is drawn as wide as a page can show.
  const int w = std::clamp(rpRound(FrameWidth), 1, 1000);
  const QColor color = rpToQColor(FrameColor);
  const QColor fill = FillColor == kRpNoColor ? QColor(Qt::white) : rpToQColor(FillColor);
  const int x0 = Left, y0 = Top, x1 = ScaledRight(), y1 = ScaledBottom();
  // One side: from a to b, moved across by d along its normal.
  struct Side {
    int flag;
    bool vertical;
    int at;
  };
  const Side sides[] = {{rpFrameSide::Right, true, x1},
                        {rpFrameSide::Left, true, x0},
                        {rpFrameSide::Bottom, false, y1},
                        {rpFrameSide::Top, false, y0}};
  auto line = [&](const Side& side, int d, const QPen& pen) {
    p.setPen(pen);
    if (side.vertical) {
      p.drawLine(side.at + d, y0, side.at + d, y1);
    } else {
      p.drawLine(x0, side.at + d, x1, side.at + d);
    }
  };
  const int style = FrameStyle > rpFrameStyle::Double ? rpFrameStyle::Solid : FrameStyle;
  for (const Side& side : sides) {
    if (!(FrameTyp & side.flag)) continue;
    if (style == rpFrameStyle::Double) {
      QPen outer(color, w, Qt::SolidLine, Qt::SquareCap);
      line(side, -w, outer);
      line(side, w, outer);
      line(side, 0, QPen(fill, w, Qt::SolidLine, Qt::SquareCap));
    } else if (style == rpFrameStyle::Solid) {
      line(side, 0, QPen(color, w, Qt::SolidLine, Qt::SquareCap));
    } else {
      // Patterned pens are one pixel wide: width-many lines side by side, the gaps in
      // the fill colour.
      p.setBackgroundMode(Qt::OpaqueMode);
      p.setBackground(fill);
      for (int i = 0; i < w; ++i) line(side, i - w / 2, QPen(color, 0, PenStyle(style), Qt::FlatCap));
    }
  }
  p.restore();
}

QRect TrpView::GetClipRgn(bool extended) const {
  const double fw = FrameWidth;
  int a = 0, b = 0;
  if (FrameStyle == rpFrameStyle::Double) {
    b = rpRound(1.5 * fw);
    a = rpRound(fw + (fw - 1) / 2);
  } else {
    b = rpRound(fw / 2);
    a = rpRound((fw - 1) / 2);
  }
  const int64_t left = (FrameTyp & rpFrameSide::Left) ? int64_t(Left) - b : Left;
  const int64_t top = (FrameTyp & rpFrameSide::Top) ? int64_t(Top) - b : Top;
  const int64_t right = int64_t(Left) + Width + ((FrameTyp & rpFrameSide::Right) ? a : 0) + 1;
  const int64_t bottom = int64_t(Top) + Height + ((FrameTyp & rpFrameSide::Bottom) ? a : 0) + 1;
  const int l = Coord(left), t = Coord(top);
  QRect rect(l, t, Coord(right) - l, Coord(bottom) - t);
  if (extended) rect.adjust(-10, -10, 10, 10);
  return rect;
}
