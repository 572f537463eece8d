#include "report/engine/RP_MemoPlacement.h"

#include <algorithm>
#include <cmath>

namespace {

bool IsBlank(QChar c) { return c == u' ' || c == QChar(0xA0); }

// Whole pixels a text covers; the sums of a real font carry floating-point noise.
int WholePixels(double width) { return static_cast<int>(std::ceil(width - 1e-6)); }

}  // namespace

TrpRectI rpMemoClipRect(const TrpRectI& rect) {
  return {rect.left + 1, rect.top, rect.right - 2, rect.bottom - 1};
}

std::vector<TrpPlacedLine> rpPlaceLines(const QStringList& wrapped, const TrpPlacementInput& in,
                                        const TrpTextMeasurer& measurer) {
  std::vector<TrpPlacedLine> placed;
  const TrpRectI& r = in.rect;
  const bool rotated = (in.alignment & rpMemoAlign::Rotated) != 0;
  const uint32_t vertical = in.alignment & rpMemoAlign::VerticalMask;
  const int step = std::max(1, in.lineStep);

  // Where the block of lines starts across the lines.
  int blockStart = rotated ? r.left : r.top;
  if (rotated) {
    if (vertical == rpMemoAlign::Middle) blockStart += (r.Width() - in.neededHeight) / 2;
    if (vertical == rpMemoAlign::Bottom) blockStart = r.right - in.neededHeight;
  } else if (!in.stopAtBottom) {
    if (vertical == rpMemoAlign::Middle) blockStart += (r.Height() - in.neededHeight) / 2;
    if (vertical == rpMemoAlign::Bottom) blockStart = r.bottom - in.neededHeight - 1;
  }
  // The extent a line has along itself.
  const int along = rotated ? r.Height() : r.Width();
  const int gapAlong = rotated ? in.gapY : in.gapX;
  const int gapAcross = rotated ? in.gapX : in.gapY;

  placed.reserve(static_cast<size_t>(wrapped.size()));
  for (qsizetype k = 0; k < wrapped.size(); ++k) {
    const int across = blockStart + gapAcross + static_cast<int>(k) * step;
    if (in.stopAtBottom && !rotated && k > 0 && across + step > r.bottom) break;
    TrpPlacedLine line;
    line.index = k;
    line.text = rpWithoutMark(wrapped[k]).toString();
    line.width = WholePixels(measurer.TextWidth(line.text));
    uint32_t horizontal = in.alignment & rpMemoAlign::HorizontalMask;
    // A field shown unexpanded outside a build keeps its start in view at the right.
    if (!in.building && wrapped.size() == 1 && line.width > along && line.text.startsWith(u'[')) {
      horizontal = rpMemoAlign::Right;
    }
    const int free = along - 2 * gapAlong - line.width;
    if (horizontal == rpMemoAlign::Justify && !rpEndsParagraph(wrapped[k]) && free > 0 &&
        std::any_of(line.text.cbegin(), line.text.cend(), IsBlank)) {
      line.justifyExtra = free;
    }
    if (!rotated) {
      line.y = across;
      switch (horizontal) {
        case rpMemoAlign::Right: line.x = r.left + r.Width() - gapAlong - line.width - 1; break;
        case rpMemoAlign::Center: line.x = r.left + gapAlong + free / 2; break;
        default: line.x = r.left + gapAlong; break;
      }
    } else {
      line.x = across;
      switch (horizontal) {
        case rpMemoAlign::Right: line.y = r.top + gapAlong + line.width; break;
        case rpMemoAlign::Center: line.y = r.bottom - gapAlong - free / 2 - 1; break;
        default: line.y = r.bottom - gapAlong; break;
      }
    }
    placed.push_back(std::move(line));
  }
  return placed;
}

std::vector<TrpTextRun> rpJustifiedRuns(QStringView line, int extra, const TrpTextMeasurer& measurer,
                                        bool rightToLeft) {
  const auto blanks = std::count_if(line.cbegin(), line.cend(), IsBlank);
  std::vector<TrpTextRun> runs;
  std::vector<double> widths;
  qsizetype from = 0;
  double offset = 0;
  int blank = 0;
  for (qsizetype i = 0; i < line.size(); ++i) {
    if (!IsBlank(line[i]) && i + 1 < line.size()) continue;
    const qsizetype length = i + 1 - from;
    const double width = measurer.TextWidth(line.sliced(from, length));
    runs.push_back({from, length, static_cast<int>(std::lround(offset))});
    widths.push_back(width);
    offset += width;
    if (IsBlank(line[i]) && blanks > 0 && extra > 0) {
      offset += extra / blanks + (blank < extra % blanks ? 1 : 0);
      ++blank;
    }
    from = i + 1;
  }
  if (rightToLeft) {
    for (size_t k = 0; k < runs.size(); ++k) {
      runs[k].offset = static_cast<int>(std::lround(offset - runs[k].offset - widths[k]));
    }
  }
  return runs;
}

std::vector<int> rpUnderlineRows(int top, int height, int gapY, int lineStep, double scaleY, int pixelHeight) {
  const int step = std::max(1, lineStep);
  const int below = static_cast<int>(std::nearbyint(2 * scaleY)) + pixelHeight;
  std::vector<int> rows;
  for (int i = 0; i < height / step; ++i) rows.push_back(top + gapY + step * i + below);
  return rows;
}

uint16_t rpExportLineFrame(uint16_t frameTyp, qsizetype line, qsizetype lineCount) {
  constexpr uint16_t kBottom = 2, kTop = 8;
  if (lineCount <= 1) return frameTyp;
  uint16_t sides = frameTyp;
  if (line > 0) sides &= static_cast<uint16_t>(~kTop);
  if (line < lineCount - 1) sides &= static_cast<uint16_t>(~kBottom);
  return sides;
}
