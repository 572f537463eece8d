// A band split across pages: what fits is printed, stretchable objects are cut, the
// rest moves on to the next page. A memo is cut between its lines: each page prints the
// lines that fit (at least one on a fresh page, clipped when even that is too tall) and
// the next page goes on with the first line that did not fit, so no text is lost or
// printed twice. Any other object taller than a fresh page is printed clipped there and
// counted as done, so no band makes the build take pages for ever.
#include "report/engine/RP_Class.h"
#include "report/engine/RP_MemoView.h"
#include "report/engine/RP_PageBuild.h"

#include <algorithm>

namespace {

struct Piece {
  TrpView* view;
  TrpMemoView* memo;  // set for a visible stretched memo: it is cut between its lines
  int top;            // relative to the band's top on the current page
  int height;         // what is left of it
  bool pending;
  bool cut;  // part of it is printed: what is left continues where it stopped
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
    auto* memo = dynamic_cast<TrpMemoView*>(view);
    if (memo && (!memo->Stretched() || !memo->Visible)) memo = nullptr;
    pieces.push_back({view, memo, top, height, true, false});
  }
  int bandY = CurY;
  // Prints the piece at `top` with that height; `part`: a memo prints the lines that fit.
  auto print = [&](Piece& piece, int top, int height, bool part) {
    TrpView& view = *piece.view;
    const int designTop = view.Top, fullHeight = view.Height;
    const uint8_t align = view.BandAlign;
    view.Top = band.DesignY + top;
    view.Height = height;
    view.BandAlign = rpBandAlign::None;  // already placed
    if (part && piece.memo) piece.memo->DrawMode = rpMemoDrawMode::PrintPart;
    WriteObject(view, band, bandY, height);
    if (piece.memo) piece.memo->DrawMode = rpMemoDrawMode::Print;
    view.Top = designTop;
    view.Height = fullHeight;
    view.BandAlign = align;
  };
  // A memo's part printed: what is left of it, or done. A part that printed no line
  // (its text or script failed) ends the memo rather than take pages for ever.
  auto continueMemo = [&](Piece& piece, int usable, int end) {
    TrpMemoView& memo = *piece.memo;
    const qsizetype before = memo.PendingLines();
    print(piece, std::max(piece.top, 0), usable - std::max(piece.top, 0), true);
    const qsizetype after = memo.PendingLines();
    if (after == 0 || after >= before) {
      piece.pending = false;
      return;
    }
    const int rest = memo.PendingHeight();
    // The space below its last whole line pushes the objects under it down.
    const int pushed = rest - (end - usable);
    if (pushed > 0) {
      for (Piece& other : pieces) {
        if (&other != &piece && other.pending && other.top >= end) other.top += pushed;
      }
    }
    piece.top = usable;
    piece.height = rest;
    piece.cut = true;
  };
  int lastEnd = 0;
  for (;;) {
    const bool fresh = AtFreshPage();
    const int usable = CurBottomY - ColumnFooterHeight() - bandY - 2;
    lastEnd = 0;
    for (Piece& piece : pieces) {
      if (!piece.pending) continue;
      if (usable < 1 && fresh) {
        piece.pending = false;  // no room at all on an empty page: nothing of it can show
        continue;
      }
      const int top = std::max(piece.top, 0);
      if (top >= usable) continue;
      const int end = piece.top + piece.height;
      if (end <= usable) {
        // Whole, or the rest of a cut memo: its lines left, not its text again.
        print(piece, top, end - top, piece.cut);
        piece.pending = false;
        lastEnd = std::max(lastEnd, end);
        continue;
      }
      auto* stretcheable = dynamic_cast<TrpStretcheable*>(piece.view);
      const int space = usable - top;
      const bool fitsALine = stretcheable && piece.view->Stretched() && space >= stretcheable->MinHeight();
      if (piece.memo && (fitsALine || (fresh && top == 0))) {
        // The lines that fit, at least one on a fresh page.
        continueMemo(piece, usable, end);
        lastEnd = usable;
      } else if (fitsALine) {
        // The part that fits here; the rest continues at the top of the next page.
        print(piece, top, space, false);
        piece.height = end - usable;
        piece.top = usable;
        lastEnd = usable;
      } else if (top > 0 || !fresh) {
        piece.top = std::max(piece.top, usable);
      } else {
        // Taller than a fresh page: clipped here and done.
        print(piece, top, space, false);
        piece.pending = false;
        lastEnd = usable;
      }
    }
    const bool anyPending = std::any_of(pieces.begin(), pieces.end(), [](const Piece& p) { return p.pending; });
    if (!anyPending || build_.Terminated) break;
    for (Piece& piece : pieces) piece.top -= usable;
    NewColumn(&band);
    bandY = CurY;
    freshY_ = CurY;
  }
  band.Y = bandY;
  CurY = bandY + lastEnd;
}
