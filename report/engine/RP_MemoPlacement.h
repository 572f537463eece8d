#pragma once
// Where DrawText puts each wrapped line of a memo: vertical alignment of the block,
// horizontal alignment (left, right, centre, justify) of each line, rotated text, the
// lines that fit when the page stops at the bottom, and the runs of a justified line.
// Pure arithmetic over measured widths; the memo view draws what it says.
#include "report/engine/RP_MemoLayout.h"

// A rectangle with edges as the drawing code keeps them: right and bottom lie just past
// the last pixel, so width = right − left.
struct TrpRectI {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  friend bool operator==(const TrpRectI&, const TrpRectI&) = default;
};

// The memo's drawing rectangle less 1 pixel on the left, 2 on the right and 1 at the
// bottom: every line is clipped to it.
TrpRectI rpMemoClipRect(const TrpRectI& rect);

struct TrpPlacementInput {
  TrpRectI rect;         // the drawing rectangle, device pixels
  int gapX = 0;          // gaps as scaled for drawing
  int gapY = 0;
  int lineStep = 1;      // round(LineSpacing × scale y) + the drawing font's pixel height
  int neededHeight = 0;  // WrapMemo's needed height × scale y
  uint32_t alignment = 0;
  bool stopAtBottom = false;  // place only the lines that fit (splitting across pages)
  bool building = false;
};

struct TrpPlacedLine {
  qsizetype index = 0;  // in the wrapped lines
  QString text;         // without its paragraph mark
  int width = 0;        // measured, whole pixels
  // Not rotated: the top-left corner of the text. Rotated: the text starts at (x, y)
  // and runs upward, its line filling the column to the right of x.
  int x = 0;
  int y = 0;
  // Pixels spread over the blanks of a justified line (see rpJustifiedRuns); 0 for
  // every other line.
  int justifyExtra = 0;
};

// DrawText's arithmetic for each line:
// - Block, not rotated (skipped when stopAtBottom): middle moves it down by half of
//   (rectangle height − needed height), bottom puts it at rectangle bottom − needed − 1;
//   line k's top is then y + GapY + k × step.
// - Block, rotated: middle moves x right by half of (width − needed), bottom puts x at
//   right − needed; column k starts at x + GapX + k × step.
// - Line, not rotated: left x + GapX; right x + width − GapX − text − 1; centre x + GapX
//   + (width − 2 × GapX − text) / 2; justify as left.
// - Line, rotated: left and justify start at bottom − GapY; right at top + GapY + text;
//   centre at bottom − GapY − (height − 2 × GapY − text) / 2 − 1.
// - A justified line that does not end its paragraph and holds blanks is spread over
//   the width left free (never squeezed).
// - Outside a build, a memo of one line wider than its rectangle that starts with "["
//   is right-aligned.
// - With stopAtBottom, placement stops before the first line whose bottom (top + step)
//   would pass the rectangle's bottom; the first line is always placed, so a page always
//   takes at least one line of a memo and splitting ends.
// Halves are taken towards zero. O(characters).
std::vector<TrpPlacedLine> rpPlaceLines(const QStringList& wrapped, const TrpPlacementInput& input,
                                        const TrpTextMeasurer& measurer);

// A piece of a justified line: `length` units from `start`, drawn `offset` pixels from
// the line's start (along the line: rightward, or upward for rotated text).
struct TrpTextRun {
  qsizetype start = 0;
  qsizetype length = 0;
  int offset = 0;
  friend bool operator==(const TrpTextRun&, const TrpTextRun&) = default;
};

// The line cut after each blank (32 or 160); `extra` pixels are shared out over the
// blanks, the first ones taking one more when it does not divide evenly. For
// right-to-left reading the runs are mirrored in the line's box, the first at its far
// end. Without blanks or extra the line is one run.
std::vector<TrpTextRun> rpJustifiedRuns(QStringView line, int extra, const TrpTextMeasurer& measurer,
                                        bool rightToLeft);

// DrawUnderlines: the y of each of the (height ÷ step) rules, at top + GapY + step × i +
// round(2 × scale y) + the font's pixel height; each runs from x to x + width − 1.
std::vector<int> rpUnderlineRows(int top, int height, int gapY, int lineStep, double scaleY, int pixelHeight);

// Exporting a memo of several lines gives each line the memo's frame sides (FrameTyp: 1
// right, 2 bottom, 4 left, 8 top) less the sides it shares with its neighbours: the
// first line loses the bottom, the last the top, the ones between both.
uint16_t rpExportLineFrame(uint16_t frameTyp, qsizetype line, qsizetype lineCount);
