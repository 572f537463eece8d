// A band split across pages: what fits is printed, stretchable objects are cut, the
// rest moves on to the next page. A memo is cut between its lines: each page prints the
// lines that fit (at least one on a fresh page, clipped when even that is too tall) and
// the next page goes on with the first line that did not fit, so no text is lost or
// printed twice. Any other object taller than a fresh page is printed clipped there and
// counted as done, so no band makes the build take pages for ever.
// In a stretched band, a textless stretched object (a frame, a line) follows the band
// rather than its own content: on each page it is printed last, from its top down to
// where that page's piece of the band ends, so frames close around every piece.
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
  bool toBand = false;  // stretched to the band's height: printed last on each page
};

// A stretched object that only frames the band: it has no text of its own to cut and
// needs no more than its design height.
bool StretchesToBand(const TrpBand& band, TrpView& view, int contentHeight) {
  if (!band.Stretched || !view.Stretched() || view.Height <= 0 || contentHeight > view.Height) return false;
  if (!dynamic_cast<TrpStretcheable*>(&view)) return false;
  auto* memo = dynamic_cast<TrpMemoView*>(&view);
  return !memo || memo->Memo1.join(QString()).trimmed().isEmpty();
}

}  // namespace
void TrpPageRun::DrawSplit(TrpBand& band) {
  const int measured = band.Stretched ? std::max(CalcStretchedHeight(band), band.Height) : band.Height;
  // A sub-report's page cannot take pages of its own: what does not fit is clipped.
  if (Mode == 1 || CurY + measured <= CurBottomY - ColumnFooterHeight()) {
    // Fits: the stretched objects reach the band's height, as in an unsplit band.
    std::vector<std::pair<TrpView*, int>> heights;
    if (band.Stretched) {
      for (TrpView* view : band.Objects) {
        if (!view->Stretched() || view->Height <= 0) continue;
        heights.emplace_back(view, view->Height);
        view->Height = measured - (view->Top - band.DesignY);
      }
    }
    DrawObjects(band, CurY, measured);
    for (auto& [view, h] : heights) view->Height = h;
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
    const bool toBand = StretchesToBand(band, *view, height);
    if (memo && (!memo->Stretched() || !memo->Visible)) memo = nullptr;
    pieces.push_back({view, toBand ? nullptr : memo, top, height, true, false, toBand});
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
  const bool framed = std::any_of(pieces.begin(), pieces.end(), [](const Piece& p) { return p.toBand; });
  int bandLeft = measured;  // the band's measured height not yet covered by earlier pages
  for (;;) {
    const bool fresh = AtFreshPage();
    const int usable = CurBottomY - ColumnFooterHeight() - bandY - 2;
    lastEnd = 0;
    for (Piece& piece : pieces) {
      if (!piece.pending || piece.toBand) continue;
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
    const bool anyPending =
        std::any_of(pieces.begin(), pieces.end(), [](const Piece& p) { return p.pending && !p.toBand; });
    const bool last = !anyPending || build_.Terminated;
    // This page's piece of the band ends at the page's usable height, or on the last
    // page where its lowest object ended; frames reach down to what is left of the
    // band's measured height, as they would in an unsplit band.
    int pieceEnd = usable;
    if (last) pieceEnd = framed ? std::max(lastEnd, std::min(bandLeft, std::max(usable, 0))) : lastEnd;
    for (Piece& piece : pieces) {
      if (!piece.pending || !piece.toBand) continue;
      const int top = std::max(piece.top, 0);
      if (top < pieceEnd) print(piece, top, pieceEnd - top, false);
      if (last) piece.pending = false;
    }
    if (last) {
      lastEnd = pieceEnd;
      break;
    }
    bandLeft -= usable;
    for (Piece& piece : pieces) piece.top -= usable;
    NewColumn(&band);
    bandY = CurY;
    freshY_ = CurY;
  }
  band.Y = bandY;
  CurY = bandY + lastEnd;
}
