#pragma once
// The text object's layout, without the object: paragraph marks, the flag and alignment
// bits, line wrapping (WrapLine with the syllable break of RP_BreakWord.h), WrapMemo and
// the height and width arithmetic the band builder needs. Everything measures through a
// TrpTextMeasurer (RP_TextMeasurer.h), so it runs without a window and against a fake.
//
// How the memo view uses it:
// - Expanding: rpExpandVariables (RP_MemoExpand.h) with the report's memo expression
//   hook as the value callback, unless the TextOnly flag is set.
// - Measuring (CalcHeight, Print, Draw step 2): build a TrpFontMeasurer for the memo's
//   font at rpMeasuringPixelHeight(size) with CharSpacing as the character extra, fill a
//   TrpMemoBox from the view (size, gaps, LineSpacing, flags, alignment) and call
//   rpWrapMemo; its lines become the expanded lines, its neededHeight is CalcHeight's
//   answer (0 when Suppress holds back a repeated text). Draw first passes the stored
//   lines through rpTakeStoredLines to learn whether they already carry their marks.
// - MinHeight and RemainHeight are rpMemoMinHeight and rpMemoRemainHeight.
// - Drawing (DrawText): a measurer for the drawing font (on the screen pixel height
//   rpMeasuringPixelHeight(size, scale y); on a printer the font keeps its point size,
//   rpMeasuringPixelHeight(size, printer dpi / 96); extra round(CharSpacing × scale
//   x)), then rpPlaceLines (RP_MemoPlacement.h) says where each line goes; a justified
//   line is drawn as the runs of rpJustifiedRuns. The painter's font carries the same
//   pixel size and the extra as absolute letter spacing; rotated text is drawn with the
//   painter turned by -90 degrees around each line's start.
// - Splitting (draw mode 2): the lines rpPlaceLines placed with stopAtBottom are the
//   part printed on this page; rpSplitPrinted gives that part and the rest.
// - AutoWidth: rpMemoCalcWidth gives the new width (rotated: height), rpAutoWidthLeft
//   the new left.
// - Export: each placed line goes to the filter with rpExportLineFrame's sides.
//
// Costs: wrapping is O(characters) for the whole memo: a character is measured at most
// twice (a quick pass finds the lines that fit), no line is re-measured from its start,
// and memory beyond the output is one line's widths. Placement is O(characters) too.
#include "report/engine/RP_TextMeasurer.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <vector>

// Flags word of a memo; the names are its property names.
namespace rpMemoFlag {
constexpr uint16_t Stretched = 1 << 0;
constexpr uint16_t WordWrap = 1 << 1;
constexpr uint16_t WordBreak = 1 << 2;
constexpr uint16_t AutoWidth = 1 << 3;
constexpr uint16_t TextOnly = 1 << 4;
constexpr uint16_t Suppress = 1 << 5;
constexpr uint16_t HideZeros = 1 << 6;
constexpr uint16_t Underlines = 1 << 7;
constexpr uint16_t RTLReading = 1 << 8;
// A new memo's flags.
constexpr uint16_t Default = Stretched | WordWrap;
}  // namespace rpMemoFlag

// Alignment word of a memo: bits 0-1 horizontal, bit 2 rotated, bits 3-4 vertical.
namespace rpMemoAlign {
constexpr uint32_t Left = 0, Right = 1, Center = 2, Justify = 3, HorizontalMask = 3;
constexpr uint32_t Rotated = 4;
constexpr uint32_t Top = 0, Middle = 8, Bottom = 16, VerticalMask = 24;
}  // namespace rpMemoAlign

// A wrapped line that ends its paragraph carries this one trailing character. Lines in
// the middle of a paragraph, and those ending in a syllable break's "-", carry none.
constexpr char16_t kRpParagraphMark = 1;
bool rpEndsParagraph(QStringView line);
// The line without its trailing mark.
QStringView rpWithoutMark(QStringView line);

// The distance from one line to the next: LineSpacing plus the font's pixel height; never
// below 1, so a negative spacing cannot stall a page or divide by zero.
int rpLineStep(int lineSpacing, int pixelHeight);

// WrapLine: one expanded line into wrapped lines of at most `width` pixels.
// - A line without CR or LF that fits, or is one character, is output with its mark.
// - CR and LF end a paragraph; a run of them counts as one break.
// - A line breaks at its last blank before the character that overflows (the blank is
//   dropped); with no blank, at that character, which starts the next line; with
//   wordBreak, a syllable break of the overflowing word that still fits with its "-" is
//   taken first.
// - Every line holds at least one character (never half a surrogate pair), so a width
//   at or below one character still ends, a character to a line.
// Reuses its buffers across calls; O(length of the line).
class TrpLineWrapper {
public:
  TrpLineWrapper(const TrpTextMeasurer& measurer, double width, bool wordBreak);
  void WrapLine(QStringView line, QStringList& out);

private:
  // The width of line[from, to), both at or after the window's base.
  double Width(qsizetype from, qsizetype to);
  // Forgets the widths before `start` (the line before it is output).
  void MoveBase(qsizetype start);
  bool TakeSyllableBreak(qsizetype start, qsizetype wordStart, qsizetype current, QStringList& out, qsizetype& next);

  const TrpTextMeasurer& measurer_;
  double width_;
  bool wordBreak_;
  double hyphenWidth_;
  // The text being wrapped, and a window of running widths over it: cumulative_[k] is
  // the width of the text before unit base_ + k, counted from where the window started.
  // The window holds only the output line being built, so memory stays at one line
  // however long the paragraph.
  QStringView line_;
  qsizetype base_ = 0;
  std::vector<double> cumulative_;
};

// The geometry and settings of a memo that wrapping reads (report units, which are the
// measuring canvas's pixels).
struct TrpMemoBox {
  int width = 0;
  int height = 0;
  int gapX = 2;
  int gapY = 1;
  int lineSpacing = 2;
  uint16_t flags = rpMemoFlag::Default;
  uint32_t alignment = 0;
};

struct TrpWrappedMemo {
  QStringList lines;  // paragraph ends marked
  int lineStep = 1;
  // lines × step + both gaps across the lines (GapY, or GapX for rotated text).
  int neededHeight = 0;
};

// WrapMemo. The width available to a line is width − 2 × GapX (rotated: height − 2 ×
// GapY). Lines that already carry their marks are taken as they are; otherwise each is
// wrapped when WordWrap is on, else marked. Outside a build a memo of one line that is
// too wide and starts with "[" (an unexpanded field shown in a preview) stays whole.
TrpWrappedMemo rpWrapMemo(const QStringList& expanded, const TrpMemoBox& box, bool alreadyMarked, bool building,
                          const TrpTextMeasurer& measurer);

// Lines stored in a prepared page: true when they already carry their marks, and then a
// last line that is only a mark (added by rpSplitPrinted) is removed.
bool rpTakeStoredLines(QStringList& lines);

// The first `printed` wrapped lines for this page, with a lone mark line added when none
// of them carries a mark (so that the stored part reads back as already wrapped), and
// the lines left for the next page.
struct TrpMemoSplit {
  QStringList printed;
  QStringList rest;
};
TrpMemoSplit rpSplitPrinted(const QStringList& wrapped, qsizetype printed);

// MinHeight: one line with its gaps and frame: round(2 × frame width) + LineSpacing +
// 2 × GapY + the font's pixel height.
int rpMemoMinHeight(int pixelHeight, int lineSpacing, int gapY, double frameWidth);
// RemainHeight: the space at the bottom of a memo cut to `height` that holds no whole
// line: 2 × GapY + round(2 × frame width) + (the rest modulo the line step); a memo too
// low for one line is all such space.
int rpMemoRemainHeight(int height, double frameWidth, int gapY, int lineStep);

// CalcWidth: the widest of the lines (marks removed, CR and LF breaking lines), measured
// with the drawing font at scale x, back in report units plus the frame and both gaps:
// round(widest ÷ scale x + frame width + 2 × GapX + 1).
int rpMemoCalcWidth(const QStringList& lines, const TrpTextMeasurer& measurer, double scaleX, double frameWidth,
                    int gapX);

// AutoWidth's new left: right-aligned and justified text keeps its right edge, so x
// moves by the difference; any other (and rotated text, whose height changes instead)
// keeps its left.
int rpAutoWidthLeft(int left, int oldWidth, int newWidth, uint32_t alignment);
