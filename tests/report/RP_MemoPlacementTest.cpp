// Where each wrapped line of a memo is drawn: block and line alignment, justification,
// rotated text, stopping at the bottom of a page, the runs of a justified line and the
// underline rows. Characters are 10 pixels wide, the font 13 high, the line step 15.
#include "FixedWidthMeasurer.h"
#include "report/engine/RP_MemoPlacement.h"

#include <gtest/gtest.h>

namespace {

const QChar kMark(kRpParagraphMark);

QStringList Lines(std::initializer_list<const char16_t*> lines) {
  QStringList out;
  for (const char16_t* line : lines) out << QString::fromUtf16(line).replace(u'¶', kMark);
  return out;
}

class PlacementTest : public ::testing::Test {
protected:
  std::vector<TrpPlacedLine> Place(const QStringList& lines, uint32_t alignment) {
    input_.alignment = alignment;
    input_.neededHeight = static_cast<int>(lines.size()) * input_.lineStep + 2 * input_.gapY;
    return rpPlaceLines(lines, input_, measurer_);
  }

  FixedWidthMeasurer measurer_;
  TrpPlacementInput input_ = [] {
    TrpPlacementInput in;
    in.rect = {0, 0, 101, 60};
    in.gapX = 2;
    in.gapY = 1;
    in.lineStep = 15;
    in.building = true;
    return in;
  }();
};

TEST_F(PlacementTest, HorizontalAlignmentOfEachLine) {
  struct Case {
    uint32_t alignment;
    int expectedX;
  };
  // 3 characters of 10 in 101 pixels with gaps of 2.
  for (const Case& c : {Case{rpMemoAlign::Left, 2}, Case{rpMemoAlign::Right, 101 - 2 - 30 - 1},
                        Case{rpMemoAlign::Center, 2 + 67 / 2}, Case{rpMemoAlign::Justify, 2}}) {
    const auto placed = Place(Lines({u"abc¶"}), c.alignment);
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_EQ(placed[0].x, c.expectedX) << c.alignment;
    EXPECT_EQ(placed[0].y, 1) << c.alignment;
    EXPECT_EQ(placed[0].text, QStringLiteral("abc"));
    EXPECT_EQ(placed[0].width, 30);
  }
}

TEST_F(PlacementTest, VerticalAlignmentOfTheBlock) {
  struct Case {
    uint32_t alignment;
    int firstY;
  };
  // Two lines need 2 × 15 + 2 = 32 of the 60.
  for (const Case& c : {Case{rpMemoAlign::Top, 1}, Case{rpMemoAlign::Middle, (60 - 32) / 2 + 1},
                        Case{rpMemoAlign::Bottom, 60 - 32 - 1 + 1}}) {
    const auto placed = Place(Lines({u"a", u"b¶"}), c.alignment);
    ASSERT_EQ(placed.size(), 2u);
    EXPECT_EQ(placed[0].y, c.firstY) << c.alignment;
    EXPECT_EQ(placed[1].y, c.firstY + 15) << c.alignment;
  }
  // Halves towards zero, also when the text is taller than the rectangle.
  input_.rect.bottom = 31;
  EXPECT_EQ(Place(Lines({u"a", u"b¶"}), rpMemoAlign::Middle)[0].y, (31 - 32) / 2 + 1);
}

TEST_F(PlacementTest, JustifySpreadsInnerLinesOnly) {
  const auto placed = Place(Lines({u"ab cd", u"ef gh¶", u"abcdefghi-", u"ij"}), rpMemoAlign::Justify);
  ASSERT_EQ(placed.size(), 4u);
  EXPECT_EQ(placed[0].justifyExtra, 101 - 4 - 50);  // inside a paragraph, with a blank
  EXPECT_EQ(placed[1].justifyExtra, 0);             // last line of its paragraph
  EXPECT_EQ(placed[2].justifyExtra, 0);             // no blank to spread over
  EXPECT_EQ(placed[3].justifyExtra, 0);
  // Only justified text is spread.
  EXPECT_EQ(Place(Lines({u"ab cd"}), rpMemoAlign::Left)[0].justifyExtra, 0);
}

TEST_F(PlacementTest, RotatedLinesRunUpwardInColumns) {
  input_.rect = {0, 0, 60, 100};
  struct Case {
    uint32_t alignment;
    int expectedY;
  };
  for (const Case& c : {Case{rpMemoAlign::Left, 100 - 1}, Case{rpMemoAlign::Right, 0 + 1 + 30},
                        Case{rpMemoAlign::Center, 100 - 1 - (100 - 2 - 30) / 2 - 1},
                        Case{rpMemoAlign::Justify, 100 - 1}}) {
    const auto placed = Place(Lines({u"abc", u"abc¶"}), rpMemoAlign::Rotated | c.alignment);
    ASSERT_EQ(placed.size(), 2u);
    EXPECT_EQ(placed[0].y, c.expectedY) << c.alignment;
    EXPECT_EQ(placed[0].x, 2);
    EXPECT_EQ(placed[1].x, 2 + 15);
  }
  // The block moves across: middle by half the free width, bottom to the right edge.
  EXPECT_EQ(Place(Lines({u"a¶"}), rpMemoAlign::Rotated | rpMemoAlign::Middle)[0].x, (60 - 17) / 2 + 2);
  EXPECT_EQ(Place(Lines({u"a¶"}), rpMemoAlign::Rotated | rpMemoAlign::Bottom)[0].x, 60 - 17 + 2);
  // A rotated justified line spreads over the height.
  EXPECT_EQ(Place(Lines({u"a b", u"c¶"}), rpMemoAlign::Rotated | rpMemoAlign::Justify)[0].justifyExtra, 100 - 2 - 30);
}

TEST_F(PlacementTest, StopAtBottomPlacesTheLinesThatFitAndAtLeastOne) {
  input_.stopAtBottom = true;
  input_.rect.bottom = 40;  // lines end at 16, 31, 46
  const QStringList lines = Lines({u"a", u"b", u"c", u"d¶"});
  EXPECT_EQ(Place(lines, rpMemoAlign::Top).size(), 2u);
  // The block is not moved down while splitting.
  EXPECT_EQ(Place(lines, rpMemoAlign::Bottom)[0].y, 1);
  input_.rect.bottom = 46;
  EXPECT_EQ(Place(lines, rpMemoAlign::Top).size(), 3u);
  input_.rect.bottom = 5;
  EXPECT_EQ(Place(lines, rpMemoAlign::Top).size(), 1u);
  input_.stopAtBottom = false;
  EXPECT_EQ(Place(lines, rpMemoAlign::Top).size(), 4u);
}

TEST_F(PlacementTest, AnUnexpandedFieldWiderThanTheMemoShowsRightAligned) {
  const QStringList field = Lines({u"[Tasks.Description]¶"});  // 190 wide
  input_.building = false;
  EXPECT_EQ(Place(field, rpMemoAlign::Left)[0].x, 101 - 2 - 190 - 1);
  input_.building = true;
  EXPECT_EQ(Place(field, rpMemoAlign::Left)[0].x, 2);
}

TEST(JustifiedRuns, ExtraSharedOverTheBlanks) {
  FixedWidthMeasurer measurer;
  const QString line = QStringLiteral("ab cd ef");
  // 5 over 2 blanks: the first takes 3, the second 2.
  EXPECT_EQ(rpJustifiedRuns(line, 5, measurer, false),
            (std::vector<TrpTextRun>{{0, 3, 0}, {3, 3, 33}, {6, 2, 65}}));
  // Mirrored in the 85 pixels of the spread line.
  EXPECT_EQ(rpJustifiedRuns(line, 5, measurer, true),
            (std::vector<TrpTextRun>{{0, 3, 55}, {3, 3, 22}, {6, 2, 0}}));
  // A no-break space is a blank too; a line without blanks is one run.
  EXPECT_EQ(rpJustifiedRuns(QStringLiteral("ab\u00A0c"), 4, measurer, false),
            (std::vector<TrpTextRun>{{0, 3, 0}, {3, 1, 34}}));
  EXPECT_EQ(rpJustifiedRuns(QStringLiteral("abc"), 4, measurer, false), (std::vector<TrpTextRun>{{0, 3, 0}}));
}

TEST(MemoDrawing, UnderlineRowsAndClipRectangle) {
  // 50 ÷ 15 = 3 rows, each round(2 × scale) + 13 below its line's top.
  EXPECT_EQ(rpUnderlineRows(10, 50, 1, 15, 1.0, 13), (std::vector<int>{10 + 1 + 2 + 13, 41, 56}));
  EXPECT_EQ(rpUnderlineRows(0, 50, 1, 15, 2.0, 13), (std::vector<int>{1 + 4 + 13, 33, 48}));
  EXPECT_TRUE(rpUnderlineRows(0, 10, 1, 15, 1.0, 13).empty());
  EXPECT_EQ(rpUnderlineRows(0, 3, 0, 0, 1.0, 0).size(), 3u);  // a step of 0 counts as 1
  EXPECT_EQ(rpMemoClipRect({10, 20, 110, 70}), (TrpRectI{11, 20, 108, 69}));
}

TEST(MemoExport, LinesShareNoInnerFrameSides) {
  const uint16_t all = 1 | 2 | 4 | 8;
  EXPECT_EQ(rpExportLineFrame(all, 0, 1), all);
  EXPECT_EQ(rpExportLineFrame(all, 0, 3), 1 | 4 | 8);  // first: no bottom
  EXPECT_EQ(rpExportLineFrame(all, 1, 3), 1 | 4);      // middle: neither
  EXPECT_EQ(rpExportLineFrame(all, 2, 3), 1 | 2 | 4);  // last: no top
  EXPECT_EQ(rpExportLineFrame(2, 0, 2), 0);
}

}  // namespace
