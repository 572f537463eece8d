#include "controls/FmLabel.h"
#include "QtPrinters.h"
#include "RecordingCanvas.h"

#include <QApplication>
#include <QEnterEvent>
#include <gtest/gtest.h>

namespace {

class Label : public ::testing::Test {
protected:
  void SetUp() override {
    label.SetTextMetrics(&metrics);
    label.SetColor(QColor(0xffa0a000));
    label.SetFontColor(QColor(0xff000010));
    label.SetShadowColor(QColor(0xff808080));
    label.SetHighlightColor(QColor(0xffffffff));
  }

  GridCanvas Paint() {
    GridCanvas canvas(label.width(), label.height(), DistinctPalette::Legend());
    label.PaintTo(canvas);
    return canvas;
  }

  // The text calls as "offset colour" pairs, relative to the plain text's place.
  static QStringList Copies(const GridCanvas& canvas) {
    QStringList copies;
    const QPoint base = canvas.texts.back().rect.topLeft();
    for (const auto& call : canvas.texts) {
      const QPoint d = call.rect.topLeft() - base;
      copies << QStringLiteral("%1,%2 %3").arg(d.x()).arg(d.y()).arg(call.color.name());
    }
    return copies;
  }

  DistinctPalette palette;
  FixedTextMetrics metrics;
  TFmLabel label;
};

TEST_F(Label, TextStylesDrawTheirCopiesInOrder) {
  const struct {
    TFmTextStyle style;
    bool light, enabled;
    QStringList copies;
  } cases[] = {
      {tsNormal, false, true, {"0,0 #000010"}},
      {tsRaised, false, true, {"1,1 #808080", "-1,-1 #ffffff", "0,0 #000010"}},
      {tsRaised, true, true, {"-1,-1 #ffffff", "0,0 #000010"}},  // light: no shadow copy
      {tsRecessed, false, true, {"1,1 #ffffff", "-1,-1 #808080", "0,0 #000010"}},
      {tsRecessed, true, true, {"1,1 #ffffff", "0,0 #000010"}},
      {tsShadow, false, true, {"2,2 #808080", "0,0 #000010"}},
      // Disabled: embossed grey whatever the style.
      {tsRaised, false, false, {"1,1 #ffffff", "0,0 " + SysColor(TSysColor::clGrayText).name()}},
  };
  label.SetCaption(QStringLiteral("Velmora"));
  for (const auto& c : cases) {
    label.SetTextStyle(c.style);
    label.SetLightTextStyle(c.light);
    label.setEnabled(c.enabled);
    EXPECT_EQ(Copies(Paint()), c.copies) << "style " << c.style << " light " << c.light;
  }
}

TEST_F(Label, AutoSizeMeasuresTextFramesShadowAndTurn) {
  const struct {
    int angle;
    TFmTextStyle style;
    TFrameStyle outer;
    QSize size;
  } cases[] = {
      {0, tsNormal, fsNone, {30, 13}},     // 5 characters of 6, a line of 12, plus one
      {0, tsShadow, fsNone, {32, 15}},
      {0, tsNormal, fsRaised, {34, 17}},
      {180, tsNormal, fsNone, {30, 13}},   // upside down: the same box
      {90, tsNormal, fsNone, {12, 31}},
      {270, tsShadow, fsNone, {13, 32}},   // turned: half the shadow
      {120, tsNormal, fsNone, {25, 33}},   // past 90 degrees it stands taller than wide
      {45, tsNormal, fsNone, {30, 31}},
  };
  for (const auto& c : cases) {
    TFmBorders borders;
    borders.outer = c.outer;
    label.SetBorders(borders);
    label.SetTextStyle(c.style);
    label.SetAngle(c.angle);
    label.SetCaption(QStringLiteral("Hello"));
    EXPECT_EQ(label.size(), c.size) << "angle " << c.angle << " style " << c.style;
  }
}

TEST_F(Label, AutoSizeKeepsTheRightEdgeOfRightAlignedText) {
  label.setGeometry(100, 10, 50, 20);
  label.SetAlignment(Qt::AlignRight);
  label.SetCaption(QStringLiteral("Hi"));
  EXPECT_EQ(label.geometry(), QRect(138, 10, 12, 13));
  label.SetAlignment(Qt::AlignLeft);
  label.SetCaption(QStringLiteral("Hello"));
  EXPECT_EQ(label.geometry(), QRect(138, 10, 30, 13));
}

TEST_F(Label, LayoutMovesTheTextDownAndAwayFromTheEdge) {
  label.SetAutoSize(false);
  label.resize(60, 40);
  label.SetCaption(QStringLiteral("Hi"));
  const struct {
    Qt::Alignment layout, alignment;
    TFmTextStyle style;
    QRect rect;
  } cases[] = {
      {Qt::AlignTop, Qt::AlignLeft, tsNormal, {0, 0, 60, 40}},
      {Qt::AlignVCenter, Qt::AlignLeft, tsNormal, {0, 14, 60, 26}},
      {Qt::AlignBottom, Qt::AlignLeft, tsNormal, {0, 27, 60, 13}},
      {Qt::AlignBottom, Qt::AlignRight, tsShadow, {0, 26, 58, 14}},
  };
  for (const auto& c : cases) {
    label.SetLayout(c.layout);
    label.SetAlignment(c.alignment);
    label.SetTextStyle(c.style);
    EXPECT_EQ(Paint().texts.back().rect, c.rect) << int(c.layout) << " " << c.style;
  }
}

TEST_F(Label, AngleIsKeptInAFullTurnAndSwitchesToFlatRotation) {
  const struct {
    int asked, kept;
  } cases[] = {{-30, 330}, {360, 0}, {725, 5}, {-720, 0}, {-361, 359}, {90, 90}};
  for (const auto& c : cases) {
    label.SetAngle(c.asked);
    EXPECT_EQ(label.Angle(), c.kept) << c.asked;
  }
  label.SetAngle(0);
  label.SetRotation(roNone);
  label.SetAngle(45);
  EXPECT_EQ(label.Rotation(), roFlat);

  // While loading, the switch waits for the end.
  TFmLabel loaded;
  loaded.BeginLoading();
  loaded.SetAngle(30);
  EXPECT_EQ(loaded.Rotation(), roNone);
  loaded.EndLoading();
  EXPECT_EQ(loaded.Rotation(), roFlat);
}

TEST_F(Label, TurnedTextIsCentredOnItsBox) {
  label.SetAutoSize(false);
  label.resize(100, 100);
  label.SetCaption(QStringLiteral("Turned"));  // 36 x 12
  label.SetAngle(90);
  const GridCanvas canvas = Paint();
  ASSERT_EQ(canvas.texts.size(), 1u);
  EXPECT_EQ(canvas.texts[0].angle, 90);
  // Turned a quarter: the base line runs upwards from below the centre.
  EXPECT_EQ(canvas.texts[0].origin, QPointF(53, 68));

  label.SetRotation(roCurve);
  EXPECT_EQ(Paint().texts.size(), 6u);  // one call per character
}

TEST_F(Label, FlyByAndBlinkChangeTheTextColour) {
  int enters = 0;
  label.OnMouseEnter = [&enters] { ++enters; };
  label.SetFlyByEnabled(true);
  label.SetFlyByColor(Qt::green);
  QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
  QApplication::sendEvent(&label, &enter);
  EXPECT_EQ(label.CurrentTextColor(), QColor(Qt::green));
  EXPECT_EQ(enters, 1);
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(&label, &leave);
  EXPECT_EQ(label.CurrentTextColor(), label.FontColor());

  TFmBlinkList& blinkList = TFmBlinkList::Instance();
  label.SetBlinkColor(Qt::red);
  label.SetBlinking(true);
  EXPECT_TRUE(blinkList.TimerRunning());
  // Both labels blink together on the one timer.
  TFmLabel second;
  second.SetBlinking(true);
  second.SetBlinkColor(Qt::blue);
  blinkList.Tick();
  const bool on = blinkList.PhaseOn();
  EXPECT_EQ(label.CurrentTextColor(), on ? QColor(Qt::red) : label.FontColor());
  EXPECT_EQ(second.CurrentTextColor(), on ? QColor(Qt::blue) : second.FontColor());
  if (!on) blinkList.Tick();
  EXPECT_EQ(label.CurrentTextColor(), QColor(Qt::red));
  label.SetBlinking(false);
  EXPECT_EQ(label.CurrentTextColor(), label.FontColor());
  second.SetBlinking(false);
  EXPECT_FALSE(blinkList.TimerRunning());

  label.SetBlinkIntervals(200, 800);
  EXPECT_EQ(second.BlinkIntervalOn(), 200);
  EXPECT_EQ(second.BlinkIntervalOff(), 800);
  label.SetBlinkIntervals(500, 500);
}

TEST_F(Label, StatusBordersWithoutBevelDrawNothing) {
  label.SetAutoSize(false);
  label.resize(6, 5);
  label.SetTransparent(true);
  for (const TFrameStyle style : {fsStatus, fsPopup}) {
    TFmBorders borders;
    borders.outer = style;
    borders.inner = style;
    borders.bevelWidth = 0;
    label.SetBorders(borders);
    EXPECT_EQ(Paint().Rows(), (QStringList{"......", "......", "......", "......", "......"}));
  }
}

}  // namespace
