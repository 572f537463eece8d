#include "controls/FmSplit.h"
#include "QtPrinters.h"
#include "RecordingCanvas.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

struct Layout {
  QRect upper, bar, lower;
};

// A shown window to put splitters in: resizing a child of a shown window reaches it at
// once, as it does in the program; a hidden one gets its size when it is shown.
class Host {
public:
  explicit Host(bool shown = true) {
    window.resize(1200, 1200);
    if (shown) window.show();
  }
  TFmSplitter* New() {
    auto* splitter = new TFmSplitter(&window);
    splitter->show();
    return splitter;
  }
  QWidget window;
};

Layout LayoutOf(const TFmSplitter& splitter) {
  return {splitter.UpperLeft()->geometry(), splitter.BarRect(), splitter.LowerRight()->geometry()};
}

void ExpectLayout(const TFmSplitter& splitter, const Layout& expected, const std::string& label) {
  const Layout actual = LayoutOf(splitter);
  EXPECT_EQ(actual.upper, expected.upper) << label;
  EXPECT_EQ(actual.bar, expected.bar) << label;
  EXPECT_EQ(actual.lower, expected.lower) << label;
}

void ExpectNoNegativeSizes(const TFmSplitter& splitter, const std::string& label) {
  for (const QWidget* pane : {static_cast<const QWidget*>(splitter.UpperLeft()), static_cast<const QWidget*>(splitter.LowerRight())}) {
    EXPECT_GE(pane->width(), 0) << label;
    EXPECT_GE(pane->height(), 0) << label;
  }
}

TEST(FmSplitterLayout, PercentPlacesTheBarAtEverySize) {
  const struct {
    TFmOrientation orientation;
    QSize size;
    int percent;
    int barWidth;
    Layout expected;
  } cases[] = {
      // Stacked: the percentage is of the height less half the bar.
      {orVertical, {200, 400}, 80, 3, {{0, 0, 200, 319}, {0, 319, 200, 3}, {0, 322, 200, 78}}},
      {orVertical, {200, 400}, 0, 3, {{0, 0, 200, 0}, {0, 0, 200, 3}, {0, 3, 200, 397}}},
      {orVertical, {200, 400}, 100, 3, {{0, 0, 200, 397}, {0, 397, 200, 3}, {0, 400, 200, 0}}},
      // The notes-off state: no bar, the upper pane takes everything.
      {orVertical, {200, 400}, 100, 0, {{0, 0, 200, 400}, {0, 400, 200, 0}, {0, 400, 200, 0}}},
      {orHorizontal, {300, 50}, 50, 4, {{0, 0, 149, 50}, {149, 0, 4, 50}, {153, 0, 147, 50}}},
      // Just larger than the bar: the bar is pushed back, no pane goes negative.
      {orVertical, {200, 5}, 80, 3, {{0, 0, 200, 2}, {0, 2, 200, 3}, {0, 5, 200, 0}}},
  };
  Host host;
  for (const auto& c : cases) {
    TFmSplitter& splitter = *host.New();
    splitter.SetOrientation(c.orientation);
    splitter.SetSplitterWidth(c.barWidth);
    splitter.resize(c.size);
    splitter.SetPercent(c.percent);
    const std::string label = std::to_string(c.size.width()) + "x" + std::to_string(c.size.height()) + " at " +
                              std::to_string(c.percent) + "%";
    ExpectLayout(splitter, c.expected, label);
    EXPECT_EQ(splitter.Percent(), c.percent) << label;
    EXPECT_TRUE(splitter.UsePercent());
  }
}

TEST(FmSplitterLayout, PercentSetBeforeTheFirstSizeSurvivesIt) {
  // As the main window does: design-time values, then its own, all before the window
  // has its size.
  Host host(false);
  TFmSplitter& splitter = *host.New();
  splitter.SetOrientation(orVertical);
  splitter.SetMarginMin(100);
  splitter.SetPosition(300);
  splitter.SetSplitterWidth(3);
  splitter.SetPercent(80);
  EXPECT_EQ(splitter.Percent(), 80);

  host.window.show();
  for (const QSize size : {QSize(0, 0), QSize(10, 2), QSize(600, 500), QSize(600, 1000), QSize(600, 500)}) {
    splitter.resize(size);
    EXPECT_EQ(splitter.Percent(), 80) << size.height();
    ExpectNoNegativeSizes(splitter, std::to_string(size.height()));
  }
  ExpectLayout(splitter, {{0, 0, 600, 399}, {0, 399, 600, 3}, {0, 402, 600, 98}}, "600x500");
}

TEST(FmSplitterLayout, HiddenPaneLeavesTheWholeClientAreaToTheOther) {
  Host host;
  TFmSplitter& splitter = *host.New();
  splitter.SetBorderOuter(fsLowered);
  splitter.resize(300, 200);
  splitter.SetPosition(120);
  splitter.LowerRight()->hide();
  ExpectLayout(splitter, {{2, 2, 296, 196}, {}, splitter.LowerRight()->geometry()}, "lower hidden");
  splitter.LowerRight()->show();
  splitter.UpperLeft()->hide();
  EXPECT_EQ(splitter.LowerRight()->geometry(), QRect(2, 2, 296, 196));
  EXPECT_TRUE(splitter.BarRect().isEmpty());
  splitter.UpperLeft()->show();
  ExpectLayout(splitter, {{2, 2, 120, 196}, {122, 2, 4, 196}, {126, 2, 172, 196}}, "both shown");
}

TEST(FmSplitterLayout, MarginsAndBordersBoundThePosition) {
  const struct {
    int asked, marginMin, marginMax;
    TFrameStyle outer;
    int expected;
  } cases[] = {
      {10, 50, 0, fsNone, 50},       // below the lower margin
      {290, 0, 0, fsNone, 290},      // within reach
      {297, 0, 0, fsNone, 296},      // the far end less the bar
      {400, 0, 0, fsNone, 296},      // past the far end
      {400, 0, 40, fsNone, 256},     // the far margin
      {400, 0, 0, fsRaised, 292},    // twice the leading border
      {-20, 0, 0, fsNone, 0},
  };
  Host host;
  for (const auto& c : cases) {
    TFmSplitter& splitter = *host.New();
    splitter.resize(300, 100);
    splitter.SetBorderOuter(c.outer);
    splitter.SetMarginMin(c.marginMin);
    splitter.SetMarginMax(c.marginMax);
    splitter.SetPosition(c.asked);
    EXPECT_EQ(splitter.Position(), c.expected) << c.asked;
  }
}

TEST(FmSplitterLayout, FixedPaneKeepsItsSizeAcrossResizes) {
  Host host;
  TFmSplitter& upper = *host.New();
  upper.resize(300, 100);
  upper.SetPosition(200);
  upper.resize(150, 100);  // squeezed: the pane gives way
  EXPECT_EQ(upper.Position(), 146);
  upper.resize(400, 100);  // room again: back to the size it was given
  EXPECT_EQ(upper.Position(), 200);

  TFmSplitter& lower = *host.New();
  lower.SetFixedPane(fpLowerRight);
  lower.resize(300, 100);
  lower.SetPosition(200);
  lower.resize(500, 100);
  EXPECT_EQ(lower.LowerRight()->width(), 96);
  EXPECT_EQ(lower.Position(), 400);
}

TEST(FmSplitterLayout, PercentWhileLoadingIsOnlyStored) {
  TFmSplitter splitter;
  splitter.resize(300, 100);
  splitter.BeginLoading();
  splitter.SetUsePercent(true);
  splitter.SetPercent(30);
  EXPECT_EQ(splitter.Position(), 100);
  splitter.EndLoading();
  EXPECT_EQ(splitter.Position(), 89);  // 30% of 300 less half the bar
  EXPECT_EQ(splitter.UpperLeft()->width(), 89);
}

TEST(FmSplitterLayout, ChangingStyleOrHotSpotWidensTheBar) {
  TFmSplitter splitter;
  splitter.SetSplitterStyle(ssBump);
  EXPECT_EQ(splitter.SplitterWidth(), 6);
  splitter.SetSplitterWidth(2);
  EXPECT_EQ(splitter.SplitterWidth(), 6);
  splitter.SetHotSpotVisible(true);
  EXPECT_EQ(splitter.SplitterWidth(), 7);
}

class FmSplitterMouse : public ::testing::Test {
protected:
  void SetUp() override {
    splitter.resize(300, 100);
    splitter.SetPosition(100);
    splitter.OnChange = [this] { ++changes; };
    splitter.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&splitter));
    changes = 0;
  }

  void Drag(int fromX, int toX) {
    QTest::mousePress(&splitter, Qt::LeftButton, {}, QPoint(fromX, 10));
    QTest::mouseMove(&splitter, QPoint(toX, 10));
  }
  void Release(int x) { QTest::mouseRelease(&splitter, Qt::LeftButton, {}, QPoint(x, 10)); }

  TFmSplitter splitter;
  int changes = 0;
};

TEST_F(FmSplitterMouse, DragShowsTheDragBarAndAppliesOnRelease) {
  Drag(101, 131);
  EXPECT_TRUE(splitter.Dragging());
  EXPECT_EQ(splitter.DragBarRect(), QRect(130, 0, 4, 100));
  EXPECT_EQ(splitter.UpperLeft()->width(), 100);  // panes wait for the release
  Release(131);
  EXPECT_EQ(splitter.Position(), 130);
  EXPECT_EQ(splitter.UpperLeft()->width(), 130);
  EXPECT_EQ(splitter.Percent(), 44);  // 130 of 298
  EXPECT_EQ(changes, 1);
}

TEST_F(FmSplitterMouse, RealTimeDragMovesThePanesAtOnce) {
  splitter.SetRealTimeDrag(true);
  Drag(102, 62);
  EXPECT_EQ(splitter.UpperLeft()->width(), 60);
  EXPECT_EQ(splitter.BarRect(), QRect(60, 0, 4, 100));
  Release(62);
  EXPECT_EQ(splitter.Position(), 60);
  EXPECT_EQ(changes, 1);
}

TEST_F(FmSplitterMouse, VetoedDragLeavesTheBarWhereItWas) {
  std::vector<int> offered;
  splitter.OnChanging = [&offered](int position) {
    offered.push_back(position);
    return position < 120;
  };
  Drag(101, 151);
  Release(151);
  EXPECT_EQ(offered, std::vector<int>{150});
  EXPECT_EQ(splitter.Position(), 100);
  EXPECT_EQ(changes, 0);
}

TEST_F(FmSplitterMouse, LockedBarDoesNotMove) {
  splitter.SetLockBar(true);
  Drag(101, 151);
  Release(151);
  EXPECT_FALSE(splitter.Dragging());
  EXPECT_EQ(splitter.Position(), 100);
}

TEST_F(FmSplitterMouse, HotSpotCollapsesAndRestores) {
  splitter.SetMarginMin(30);
  splitter.SetHotSpotVisible(true);
  int clicks = 0;
  splitter.OnHotSpotClick = [&clicks] { ++clicks; };
  const QRect hotSpot = splitter.HotSpotRect();
  EXPECT_EQ(hotSpot, QRect(100, 30, 7, 40));  // 40% of the bar, centred

  QTest::mouseClick(&splitter, Qt::LeftButton, {}, hotSpot.center());
  EXPECT_TRUE(splitter.HotSpotClosed());
  EXPECT_EQ(splitter.Position(), 0);  // margins do not hold a collapsed bar
  EXPECT_EQ(clicks, 1);

  QTest::mouseClick(&splitter, Qt::LeftButton, {}, splitter.HotSpotRect().center());
  EXPECT_FALSE(splitter.HotSpotClosed());
  EXPECT_EQ(splitter.Position(), 100);
  EXPECT_EQ(clicks, 2);

  splitter.SetHotSpotDirection(hsdMax);
  QTest::mouseClick(&splitter, Qt::LeftButton, {}, splitter.HotSpotRect().center());
  EXPECT_EQ(splitter.Position(), 293);  // the far end less the bar
  // A press on the hot spot released elsewhere is no click.
  QTest::mousePress(&splitter, Qt::LeftButton, {}, splitter.HotSpotRect().center());
  QTest::mouseRelease(&splitter, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_TRUE(splitter.HotSpotClosed());
  EXPECT_EQ(clicks, 3);
}

TEST_F(FmSplitterMouse, DraggingACollapsedBarOpensIt) {
  splitter.SetHotSpotVisible(true);
  QTest::mouseClick(&splitter, Qt::LeftButton, {}, splitter.HotSpotRect().center());
  ASSERT_TRUE(splitter.HotSpotClosed());
  Drag(2, 50);
  Release(50);
  EXPECT_FALSE(splitter.HotSpotClosed());
  EXPECT_EQ(splitter.Position(), 48);
}

}  // namespace

namespace {

TEST_F(FmSplitterMouse, PercentFollowsADragAndThenHoldsAcrossResizes) {
  splitter.SetUsePercent(true);
  splitter.SetPercent(50);
  ASSERT_EQ(splitter.Position(), 149);
  Drag(150, 90);
  Release(90);
  EXPECT_EQ(splitter.Position(), 89);
  EXPECT_EQ(splitter.Percent(), 30);  // 89 of 298
  splitter.resize(600, 100);
  EXPECT_EQ(splitter.Percent(), 30);
  EXPECT_EQ(splitter.Position(), 179);  // 30% of 598
}

}  // namespace
