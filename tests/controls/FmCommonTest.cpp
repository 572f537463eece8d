#include "controls/FmColors.h"
#include "controls/FmCommon.h"
#include "QtPrinters.h"
#include "RecordingCanvas.h"

#include <gtest/gtest.h>

namespace {

class FrameDrawing : public ::testing::Test {
protected:
  DistinctPalette palette;
};

TEST_F(FrameDrawing, EveryStyleDrawsItsLinesAndReturnsTheRectangleInside) {
  const struct {
    TFrameStyle style;
    int bevel;
    QStringList rows;
    QRect inside;
  } cases[] = {
      {fsNone, 1, {"......", "......", "......", "......", "......"}, QRect(0, 0, 6, 5)},
      {fsFlat, 1, {"XXXXXX", "X....X", "X....X", "X....X", "XXXXXX"}, QRect(1, 1, 4, 3)},
      {fsGroove, 1, {"SSSSSH", "SHHHSH", "SH..SH", "SSSSSH", "HHHHHH"}, QRect(2, 2, 2, 1)},
      {fsBump, 1, {"HHHHHS", "HSSSHS", "HS..HS", "HHHHHS", "SSSSSS"}, QRect(2, 2, 2, 1)},
      {fsLowered, 1, {"SSSSSH", "STTTLH", "ST..LH", "SLLLLH", "HHHHHH"}, QRect(2, 2, 2, 1)},
      {fsButtonDown, 1, {"TTTTTT", "TSSSST", "TS..ST", "TSSSST", "TTTTTT"}, QRect(2, 2, 2, 1)},
      {fsRaised, 1, {"LLLLLT", "LHHHST", "LH..ST", "LSSSST", "TTTTTT"}, QRect(2, 2, 2, 1)},
      {fsButtonUp, 1, {"HHHHHD", "HLLLSD", "HL..SD", "HSSSSD", "DDDDDD"}, QRect(2, 2, 2, 1)},
      {fsStatus, 1, {"SSSSSH", "S....H", "S....H", "S....H", "HHHHHH"}, QRect(1, 1, 4, 3)},
      {fsStatus, 2, {"SSSSSH", "SSSSHH", "SS..HH", "SHHHHH", "HHHHHH"}, QRect(2, 2, 2, 1)},
      {fsPopup, 1, {"HHHHHS", "H....S", "H....S", "H....S", "SSSSSS"}, QRect(1, 1, 4, 3)},
      // Without bevel the bevel styles take no room and draw nothing.
      {fsStatus, 0, {"......", "......", "......", "......", "......"}, QRect(0, 0, 6, 5)},
      {fsPopup, 0, {"......", "......", "......", "......", "......"}, QRect(0, 0, 6, 5)},
  };
  for (const auto& c : cases) {
    GridCanvas canvas(6, 5, DistinctPalette::Legend());
    const QRect inside = DrawFrame(canvas, QRect(0, 0, 6, 5), c.style, AllSides, c.bevel);
    EXPECT_EQ(canvas.Rows(), c.rows) << "style " << c.style << " bevel " << c.bevel << "\n"
                                     << canvas.Rows().join('\n').toStdString();
    EXPECT_EQ(inside, c.inside) << "style " << c.style;
    EXPECT_EQ(inside, ShrinkByFrame(QRect(0, 0, 6, 5), c.style, AllSides, c.bevel)) << "style " << c.style;
  }
}

TEST_F(FrameDrawing, LeftOutSidesTakeNoRoomAndEtchedLinesRunToTheEdge) {
  const struct {
    TFrameStyle style;
    TSides sides;
    QStringList rows;
    QRect inside;
  } cases[] = {
      {fsGroove, TSides(sdTop | sdLeft), {"SSSSSS", "SHHHHH", "SH....", "SH....", "SH...."}, QRect(2, 2, 4, 3)},
      {fsGroove, TSides(sdBottom), {"......", "......", "......", "SSSSSS", "HHHHHH"}, QRect(0, 0, 6, 3)},
      {fsRaised, TSides(sdRight | sdBottom), {"....ST", "....ST", "....ST", "SSSSST", "TTTTTT"}, QRect(0, 0, 4, 3)},
      {fsFlat, TSides(sdLeft), {"X.....", "X.....", "X.....", "X.....", "X....."}, QRect(1, 0, 5, 5)},
  };
  for (const auto& c : cases) {
    GridCanvas canvas(6, 5, DistinctPalette::Legend());
    const QRect inside = DrawFrame(canvas, QRect(0, 0, 6, 5), c.style, c.sides);
    EXPECT_EQ(canvas.Rows(), c.rows) << "style " << c.style << "\n" << canvas.Rows().join('\n').toStdString();
    EXPECT_EQ(inside, c.inside) << "style " << c.style;
  }
}

TEST_F(FrameDrawing, EditFrameClearsTwoLinesThenDrawsTheFrame) {
  GridCanvas flat(6, 5, DistinctPalette::Legend());
  DrawEditFrame(flat, QRect(0, 0, 6, 5), fsFlat, AllSides, QColor(0xffa0a000), SysColor(TSysColor::clWindow));
  EXPECT_EQ(flat.Rows(), (QStringList{"PPPPPP", "PWWWWP", "PW..WP", "PWWWWP", "PPPPPP"}));

  GridCanvas lowered(6, 5, DistinctPalette::Legend());
  DrawEditFrame(lowered, QRect(0, 0, 6, 5), fsLowered, AllSides, Qt::red, SysColor(TSysColor::clWindow));
  EXPECT_EQ(lowered.Rows(), (QStringList{"SSSSSH", "STTTLH", "ST..LH", "SLLLLH", "HHHHHH"}));

  // A coloured edit gets shades of its own colour rather than the palette's.
  const QColor yellow(250, 240, 120);
  GridCanvas colored(6, 5, {{yellow.rgb(), 'y'},
                            {ShadeColor(yellow, -50).rgb(), 'd'},
                            {ShadeColor(yellow, 100).rgb(), 'u'},
                            {ShadeColor(yellow, -100).rgb(), 'D'},
                            {ShadeColor(yellow, 50).rgb(), 'U'}});
  DrawEditFrame(colored, QRect(0, 0, 6, 5), fsLowered, AllSides, Qt::red, yellow);
  EXPECT_EQ(colored.Rows(), (QStringList{"dddddu", "dDDDUu", "dD..Uu", "dUUUUu", "uuuuuu"}));
}

TEST(FrameColors, HslRoundTripsAndClamps) {
  const struct {
    QColor rgb;
    THsl hsl;
  } cases[] = {
      {QColor(0, 0, 0), {0, 0, 0}},          {QColor(255, 255, 255), {0, 0, 240}},
      {QColor(255, 0, 0), {0, 240, 120}},    {QColor(0, 255, 0), {80, 240, 120}},
      {QColor(0, 0, 255), {160, 240, 120}},  {QColor(128, 128, 128), {0, 0, 120}},
      {QColor(255, 0, 255), {200, 240, 120}}, {QColor(192, 220, 192), {80, 69, 194}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RgbToHsl(c.rgb), c.hsl) << c.rgb.name().toStdString();
    const QColor back = HslToRgb(c.hsl);
    EXPECT_LE(std::abs(back.red() - c.rgb.red()) + std::abs(back.green() - c.rgb.green()) +
                  std::abs(back.blue() - c.rgb.blue()),
              6)  // the 0..240 scale loses a little
        << c.rgb.name().toStdString() << " came back as " << back.name().toStdString();
  }
  // Lightness beyond the scale is clamped, not wrapped: white stays white, black black.
  EXPECT_EQ(ShadeColor(QColor(240, 240, 240), 100), QColor(255, 255, 255));
  EXPECT_EQ(ShadeColor(QColor(20, 20, 20), -100), QColor(0, 0, 0));
  EXPECT_EQ(HslToRgb({300, 500, 999}), QColor(255, 255, 255));
  EXPECT_EQ(HslToRgb({-5, -5, -5}), QColor(0, 0, 0));
}

}  // namespace
