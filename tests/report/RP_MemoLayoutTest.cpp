// The memo's text layout over a measuring canvas with fixed widths (10 pixels a
// character unless a case says otherwise): wrapping and paragraph marks, WrapMemo's
// heights, the split of a memo across pages, MinHeight, RemainHeight and CalcWidth.
#include "FixedWidthMeasurer.h"
#include "ReportTestSupport.h"
#include "report/engine/RP_MemoLayout.h"

namespace {

// Paragraph marks shown as ¶, lines joined with |.
QString Show(const QStringList& lines) {
  QStringList shown;
  for (QString line : lines) shown << line.replace(QChar(kRpParagraphMark), u'¶');
  return shown.join(u'|');
}

QStringList Marked(const QString& shown) {
  QStringList lines = shown.split(u'|');
  for (QString& line : lines) line.replace(u'¶', QChar(kRpParagraphMark));
  return lines;
}

struct WrapCase {
  const char* name;
  QString text;
  double width;
  bool wordBreak;
  QString expected;
};

class WrapLineTest : public ::testing::TestWithParam<WrapCase> {};

TEST_P(WrapLineTest, LinesAndMarks) {
  const WrapCase& c = GetParam();
  FixedWidthMeasurer measurer;
  TrpLineWrapper wrapper(measurer, c.width, c.wordBreak);
  QStringList out;
  wrapper.WrapLine(c.text, out);
  EXPECT_EQ(Show(out), c.expected) << c.name;
}

const QString kEmoji = QStringLiteral("😀");

INSTANTIATE_TEST_SUITE_P(
    Cases, WrapLineTest,
    ::testing::Values(
        WrapCase{"fits exactly", QStringLiteral("hello"), 50, false, QStringLiteral("hello¶")},
        WrapCase{"empty line", QString(), 50, false, QStringLiteral("¶")},
        WrapCase{"breaks at the blank", QStringLiteral("hello world"), 50, false, QStringLiteral("hello|world¶")},
        WrapCase{"the last of several blanks", QStringLiteral("aa  bb"), 40, false, QStringLiteral("aa |bb¶")},
        WrapCase{"over-long word cut where it overflows", QStringLiteral("abcdefgh"), 30, false,
                 QStringLiteral("abc|def|gh¶")},
        WrapCase{"a leading blank is no break", QStringLiteral(" abcdef"), 30, false, QStringLiteral(" ab|cde|f¶")},
        WrapCase{"word after the blank still too long", QStringLiteral("ab cdefgh"), 30, false,
                 QStringLiteral("ab|cde|fgh¶")},
        WrapCase{"width below one character", QStringLiteral("abc"), 5, false, QStringLiteral("a|b|c¶")},
        WrapCase{"no width at all", QStringLiteral("ab"), 0, false, QStringLiteral("a|b¶")},
        WrapCase{"negative width", QStringLiteral("ab"), -20, false, QStringLiteral("a|b¶")},
        WrapCase{"one character wider than the line", QStringLiteral("W"), 5, false, QStringLiteral("W¶")},
        WrapCase{"CR LF ends a paragraph", QStringLiteral("one\r\ntwo"), 100, false, QStringLiteral("one¶|two¶")},
        WrapCase{"a run of breaks is one", QStringLiteral("a\n\r\nb"), 100, false, QStringLiteral("a¶|b¶")},
        WrapCase{"a break at the end adds no line", QStringLiteral("a\r\n"), 100, false, QStringLiteral("a¶")},
        WrapCase{"breaks and wrapping together", QStringLiteral("ab cd\nef"), 30, false,
                 QStringLiteral("ab|cd¶|ef¶")},
        WrapCase{"surrogate pairs stay whole", kEmoji + kEmoji + kEmoji, 15, false,
                 kEmoji + u'|' + kEmoji + u'|' + kEmoji + u'¶'},
        WrapCase{"surrogate pairs two to a line", kEmoji + kEmoji + kEmoji, 20, false,
                 kEmoji + kEmoji + u'|' + kEmoji + u'¶'},
        // Syllable breaks: молоко may break after мо and моло.
        WrapCase{"the last syllable that fits with its hyphen", QStringLiteral("молоко"), 50, true,
                 QStringLiteral("моло-|ко¶")},
        WrapCase{"an earlier syllable when the later is too wide", QStringLiteral("молоко"), 40, true,
                 QStringLiteral("мо-|локо¶")},
        WrapCase{"no syllable break without WordBreak", QStringLiteral("молоко"), 40, false,
                 QStringLiteral("моло|ко¶")},
        WrapCase{"syllable of the word after the blank", QStringLiteral("дорога молоко"), 100, true,
                 QStringLiteral("дорога мо-|локо¶")},
        WrapCase{"the blank when no syllable fits", QStringLiteral("дорога молоко"), 80, true,
                 QStringLiteral("дорога|молоко¶")},
        WrapCase{"a word without syllables is cut", QStringLiteral("abcdefgh"), 30, true,
                 QStringLiteral("abc|def|gh¶")},
        WrapCase{"a syllable-broken line starts the next at the break", QStringLiteral("молокомолоко"), 50, true,
                 QStringLiteral("моло-|комо-|локо¶")}),
    [](const ::testing::TestParamInfo<WrapCase>& info) { return "Case" + std::to_string(info.index); });

TEST(WrapLine, CharacterExtraCountsPerCharacter) {
  // Three characters of 10 plus 2 extra each are 36 wide.
  FixedWidthMeasurer measurer(10, 13, 2);
  QStringList out;
  TrpLineWrapper(measurer, 35, false).WrapLine(QStringLiteral("abc"), out);
  EXPECT_EQ(Show(out), QStringLiteral("ab|c¶"));
  out.clear();
  TrpLineWrapper(measurer, 36, false).WrapLine(QStringLiteral("abc"), out);
  EXPECT_EQ(Show(out), QStringLiteral("abc¶"));
}

TEST(WrapLine, NarrowAndWideCharactersMeasuredEach) {
  FixedWidthMeasurer measurer;
  measurer.With(U'i', 4).With(U'W', 16);
  QStringList out;
  TrpLineWrapper(measurer, 30, false).WrapLine(QStringLiteral("iiiiiiiWW"), out);
  // 7 × 4 = 28 fits, the first W makes 44; two W make 32.
  EXPECT_EQ(Show(out), QStringLiteral("iiiiiii|W|W¶"));
}

class WrapMemoTest : public ::testing::Test {
protected:
  FixedWidthMeasurer measurer_;  // pixel height 13, so the step is 15 with LineSpacing 2
  TrpMemoBox box_ = [] {
    TrpMemoBox box;
    box.width = 54;  // 50 for the text between the gaps of 2
    box.height = 40;
    return box;
  }();
};

TEST_F(WrapMemoTest, WrapsEachLineAndCountsTheHeight) {
  const TrpWrappedMemo memo =
      rpWrapMemo({QStringLiteral("hello world"), QString(), QStringLiteral("abc")}, box_, false, true, measurer_);
  EXPECT_EQ(Show(memo.lines), QStringLiteral("hello|world¶|¶|abc¶"));
  EXPECT_EQ(memo.lineStep, 15);
  EXPECT_EQ(memo.neededHeight, 4 * 15 + 2 * 1);
}

TEST_F(WrapMemoTest, WithoutWordWrapEachLineIsOneParagraph) {
  box_.flags = rpMemoFlag::Stretched;
  const TrpWrappedMemo memo = rpWrapMemo({QStringLiteral("hello world")}, box_, false, true, measurer_);
  EXPECT_EQ(Show(memo.lines), QStringLiteral("hello world¶"));
}

TEST_F(WrapMemoTest, MarkedLinesAreTakenAsTheyAre) {
  const QStringList stored = Marked(QStringLiteral("hello wide text|x¶"));
  const TrpWrappedMemo memo = rpWrapMemo(stored, box_, true, true, measurer_);
  EXPECT_EQ(memo.lines, stored);
  EXPECT_EQ(memo.neededHeight, 2 * 15 + 2);
}

TEST_F(WrapMemoTest, AnUnexpandedFieldStaysWholeOutsideABuild) {
  const QStringList field{QStringLiteral("[Tasks.Description]")};
  EXPECT_EQ(Show(rpWrapMemo(field, box_, false, false, measurer_).lines), QStringLiteral("[Tasks.Description]¶"));
  EXPECT_EQ(rpWrapMemo(field, box_, false, true, measurer_).lines.size(), 4);
}

TEST_F(WrapMemoTest, RotatedTextWrapsOnTheHeightAndSpansTheHorizontalGaps) {
  box_.alignment = rpMemoAlign::Rotated;
  box_.height = 32;  // 30 between the gaps of 1
  box_.gapX = 3;
  const TrpWrappedMemo memo = rpWrapMemo({QStringLiteral("abcdef")}, box_, false, true, measurer_);
  EXPECT_EQ(Show(memo.lines), QStringLiteral("abc|def¶"));
  EXPECT_EQ(memo.neededHeight, 2 * 15 + 2 * 3);
}

TEST_F(WrapMemoTest, ANegativeLineSpacingStillAdvances) {
  box_.lineSpacing = -40;
  const TrpWrappedMemo memo = rpWrapMemo({QStringLiteral("a"), QStringLiteral("b")}, box_, false, true, measurer_);
  EXPECT_EQ(memo.lineStep, 1);
  EXPECT_EQ(memo.neededHeight, 2 + 2);
}

TEST(MemoSplit, ThePrintedPartReadsBackAsWrapped) {
  const QStringList wrapped = Marked(QStringLiteral("aa|bb¶|cc|dd¶"));
  const TrpMemoSplit split = rpSplitPrinted(wrapped, 1);
  EXPECT_EQ(Show(split.printed), QStringLiteral("aa|¶"));
  EXPECT_EQ(Show(split.rest), QStringLiteral("bb¶|cc|dd¶"));

  QStringList stored = split.printed;
  EXPECT_TRUE(rpTakeStoredLines(stored));
  EXPECT_EQ(Show(stored), QStringLiteral("aa"));

  // A part that ends a paragraph needs no extra mark.
  EXPECT_EQ(Show(rpSplitPrinted(wrapped, 2).printed), QStringLiteral("aa|bb¶"));
  // Lines stored by a writer that did not wrap are wrapped again.
  QStringList plain{QStringLiteral("plain")};
  EXPECT_FALSE(rpTakeStoredLines(plain));
  EXPECT_EQ(plain, QStringList{QStringLiteral("plain")});
}

TEST(MemoHeights, MinHeightIsOneLineWithGapsAndFrame) {
  struct Case {
    int pixelHeight, lineSpacing, gapY;
    double frameWidth;
    int expected;
  };
  for (const Case& c : {Case{13, 2, 1, 1.0, 2 + 2 + 2 + 13}, Case{13, 2, 1, 1.5, 3 + 2 + 2 + 13},
                        Case{13, 2, 1, 1.25, 2 + 2 + 2 + 13},  // round(2.5) is 2
                        Case{13, 0, 0, 0.0, 13}, Case{13, -20, 1, 1.0, 2 + 2 + 1}}) {
    EXPECT_EQ(rpMemoMinHeight(c.pixelHeight, c.lineSpacing, c.gapY, c.frameWidth), c.expected)
        << c.pixelHeight << " " << c.lineSpacing << " " << c.gapY << " " << c.frameWidth;
  }
}

TEST(MemoHeights, RemainHeightLeavesWholeLinesAbove) {
  struct Case {
    int height;
    double frameWidth;
    int gapY, step, expected;
  };
  for (const Case& c : {Case{100, 1.0, 1, 15, 4 + 6}, Case{64, 1.0, 1, 15, 4}, Case{78, 1.0, 1, 15, 4 + 14},
                        Case{3, 1.0, 1, 15, 3},  // too low for a line: all of it
                        Case{100, 1.0, 1, 0, 4}, Case{50, 0.0, 0, 10, 0}}) {
    const int remain = rpMemoRemainHeight(c.height, c.frameWidth, c.gapY, c.step);
    EXPECT_EQ(remain, c.expected) << c.height << " " << c.step;
  }
}

TEST(MemoWidth, WidestLineInReportUnits) {
  FixedWidthMeasurer measurer;
  // round(widest + frame + 2 × GapX + 1)
  EXPECT_EQ(rpMemoCalcWidth(Marked(QStringLiteral("abc¶|abcdef¶")), measurer, 1.0, 1.0, 2), 60 + 1 + 4 + 1);
  EXPECT_EQ(rpMemoCalcWidth({QStringLiteral("ab\r\nabcd\rx")}, measurer, 1.0, 1.0, 2), 40 + 6);
  EXPECT_EQ(rpMemoCalcWidth({}, measurer, 1.0, 1.0, 2), 6);
  // Measured with the font of a 2× drawing, brought back to units.
  FixedWidthMeasurer twice(20);
  // 60 ÷ 2 + 1.5 + 4 + 1 = 36.5, and halves go to the even neighbour.
  EXPECT_EQ(rpMemoCalcWidth({QStringLiteral("abc")}, twice, 2.0, 1.5, 2), 36);
}

TEST(MemoWidth, AutoWidthKeepsTheRightEdgeOfRightAlignedText) {
  struct Case {
    uint32_t alignment;
    int expectedLeft;
  };
  // A memo at 100, 80 wide, that needs 50.
  for (const Case& c : {Case{rpMemoAlign::Left, 100}, Case{rpMemoAlign::Center, 100},
                        Case{rpMemoAlign::Right, 130}, Case{rpMemoAlign::Justify, 130},
                        Case{rpMemoAlign::Right | rpMemoAlign::Rotated, 100}}) {
    EXPECT_EQ(rpAutoWidthLeft(100, 80, 50, c.alignment), c.expectedLeft) << c.alignment;
  }
  EXPECT_EQ(rpAutoWidthLeft(100, 80, 120, rpMemoAlign::Right), 60);  // growing moves it left
}

}  // namespace
