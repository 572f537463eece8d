// A band split across pages: what fits is printed, stretchable objects are cut, the
// rest moves on to the next page. An object taller than a fresh page is printed clipped
// there and counted as done, so no band makes the build take pages for ever.
#include "report/engine/RP_Class.h"
#include "report/engine/RP_PageBuild.h"

#include <algorithm>

namespace {

struct Piece {
  TrpView* view;
  int top;     // relative to the band's top on the current page
  int height;  // what is left of it
  bool pending;
};

}  // namespace

void TrpPageRun::DrawSplit(TrpBand& band) {
  const int measured = band.Stretched ? std::max(CalcStretchedHeight(band), band.Height) : band.Height;
  // A sub-report's page cannot take pages of its own: what does not fit is clipped.
  if (Mode == 1 || CurY + measured <= CurBottomY - ColumnFooterHeight()) {
    DrawObjects(band, CurY, measured);
    CurY += measured;
    return;
  }
  std::vector<Piece> pieces;
  for (TrpView* view : band.Objects) {
    int height = view->Height;
    if (auto* stretcheable = dynamic_cast<TrpStretcheable*>(view); stretcheable && view->Stretched()) {
      build_.Report().SetCurrentView(view);
      height = std::max(height, stretcheable->CalcHeight());
    }
    int top = view->Top - band.DesignY;
    if (view->BandAlign == rpBandAlign::Bottom) top = measured - height;
    pieces.push_back({view, top, height, true});
  }
  auto print = [&](Piece& piece, int height, int bandY) {
    TrpView& view = *piece.view;
    const int top = view.Top, fullHeight = view.Height;
    const uint8_t align = view.BandAlign;
    view.Top = band.DesignY + piece.top;
    view.Height = height;
    view.BandAlign = rpBandAlign::None;  // already placed
    WriteObject(view, band, bandY, height);
    view.Top = top;
    view.Height = fullHeight;
    view.BandAlign = align;
  };
  int bandY = CurY;
  int lastEnd = 0;
  for (;;) {
    const bool fresh = AtFreshPage();
    const int usable = CurBottomY - ColumnFooterHeight() - bandY - 2;
    lastEnd = 0;
    bool anyPending = false;
    for (Piece& piece : pieces) {
      if (!piece.pending) continue;
      if (usable < 1 && fresh) {
        piece.pending = false;  // no room at all on an empty page: nothing of it can show
        continue;
      }
      const int top = std::max(piece.top, 0);
      if (top >= usable) {
        anyPending = true;
        continue;
      }
      const int end = piece.top + piece.height;
      if (end <= usable) {
        print(piece, end - top, bandY);
        piece.pending = false;
        lastEnd = std::max(lastEnd, end);
        continue;
      }
      auto* stretcheable = dynamic_cast<TrpStretcheable*>(piece.view);
      const int space = usable - top;
      if (stretcheable && piece.view->Stretched() && space >= stretcheable->MinHeight()) {
        // The part that fits here; the rest continues at the top of the next page.
        piece.top = top;
        print(piece, space, bandY);
        piece.height = end - usable;
        piece.top = usable;
        lastEnd = usable;
        anyPending = true;
      } else if (top > 0 || !fresh) {
        piece.top = std::max(piece.top, usable);
        anyPending = true;
      } else {
        // Taller than a fresh page: clipped here and done.
        piece.top = top;
        print(piece, space, bandY);
        piece.pending = false;
        lastEnd = usable;
      }
    }
    if (!anyPending || build_.Terminated) break;
    for (Piece& piece : pieces) piece.top -= usable;
    NewColumn(&band);
    bandY = CurY;
    freshY_ = CurY;
  }
  band.Y = bandY;
  CurY = bandY + lastEnd;
}
