// The preview control on a real widget: turning pages, the keys and the wheel moving
// the view and the current page, painting through the prepared pages, and the page
// images kept until the zoom changes.
#include "ReportFakes.h"
#include "ReportTestSupport.h"
#include "report/RP_Preview.h"
#include "report/engine/RP_EMFPages.h"
#include "report/engine/RP_LineView.h"
#include "report/engine/RP_MemoView.h"

#include <QApplication>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

namespace {

class PreviewTest : public ReportEngineTest {
protected:
  void SetUp() override {
    ReportEngineTest::SetUp();
    rpLastScale() = {};
    paper.PaperWidth = 500;  // 180 × 270 report units, one pixel each at 100 %
    paper.PaperHeight = 750;
    for (int i = 0; i < 6; ++i) pages.Add(paper);
    TrpLineView line;
    line.Name = QStringLiteral("Line1");
    line.SetGeometry(0, 50, 180, 0);
    line.Print(pages.PageStream(0));
    TrpMemoView memo;
    memo.Name = QStringLiteral("Memo1");
    memo.SetGeometry(20, 100, 100, 30);
    memo.Print(pages.PageStream(0));
    preview.resize(500, 400);
    preview.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));
    preview.Connect(&pages);
  }
  void TearDown() override {
    preview.Clear();
    rpLastScale() = {};
    ReportEngineTest::TearDown();
  }

  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(preview.Box(), Qt::Key(key), modifiers);
  }
  void Wheel(int delta) {
    QWheelEvent event(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(preview.Box(), &event);
  }
  int V() const { return preview.VerticalBar()->value(); }
  int H() const { return preview.HorizontalBar()->value(); }
  int TopOf(int page) const { return preview.Layout().Rects.at(size_t(page - 1)).top(); }

  FakeWindows windows;
  TrpPage paper;
  TrpEMFPages pages;
  TrpPreview preview;
};

TEST_F(PreviewTest, ConnectShowsPageOneTwoPerRow) {
  EXPECT_EQ(preview.CurrentPage(), 1);
  EXPECT_EQ(preview.GetAllPages(), 6);
  EXPECT_EQ(preview.StatusText(), QStringLiteral("Page 1/6"));
  EXPECT_EQ(preview.Layout().PagesPerRow, 2);
  EXPECT_EQ(preview.Layout().Rects.at(0), QRect(10, 10, 180, 270));
  EXPECT_GT(preview.VerticalBar()->maximum(), 0);
  EXPECT_FALSE(preview.HorizontalBar()->isEnabled());
}

TEST_F(PreviewTest, SetPageScrollsToItsRowAndIgnoresPagesOutOfRange) {
  QSignalSpy changed(&preview, &TrpPreview::PageChanged);
  preview.SetPage(3);
  EXPECT_EQ(preview.CurrentPage(), 3);
  EXPECT_EQ(V(), TopOf(3) - 10);
  EXPECT_EQ(preview.StatusText(), QStringLiteral("Page 3/6"));
  ASSERT_EQ(changed.count(), 1);
  EXPECT_EQ(changed.at(0).at(0).toInt(), 3);

  for (int outside : {0, 7, -1}) {
    preview.SetPage(outside);
    EXPECT_EQ(preview.CurrentPage(), 3) << outside;
  }
  // The last row cannot reach the top; the page asked for stays current all the same.
  preview.Last();
  EXPECT_EQ(preview.CurrentPage(), 6);
  EXPECT_EQ(V(), preview.VerticalBar()->maximum());
  preview.Prev();
  EXPECT_EQ(preview.CurrentPage(), 5);
  preview.First();
  EXPECT_EQ(preview.CurrentPage(), 1);
  EXPECT_EQ(V(), 0);
  preview.Prev();
  EXPECT_EQ(preview.CurrentPage(), 1);
}

TEST_F(PreviewTest, KeysMoveTheBarsAndTurnPages) {
  Key(Qt::Key_Down);
  EXPECT_EQ(V(), 10);
  Key(Qt::Key_Up);
  EXPECT_EQ(V(), 0);
  Key(Qt::Key_PageDown);
  EXPECT_EQ(V(), 200);
  EXPECT_EQ(preview.CurrentPage(), 1);
  Key(Qt::Key_PageDown);  // the top row now lies in the second row of pages
  EXPECT_EQ(V(), 400);
  EXPECT_EQ(preview.CurrentPage(), 3);
  Key(Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(V(), 0);
  EXPECT_EQ(preview.CurrentPage(), 1);
  Key(Qt::Key_PageDown, Qt::ControlModifier);
  EXPECT_EQ(preview.CurrentPage(), 2);
  Key(Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(preview.CurrentPage(), 6);
  Key(Qt::Key_PageUp, Qt::ControlModifier);
  EXPECT_EQ(preview.CurrentPage(), 5);
  Key(Qt::Key_PageUp);
  EXPECT_EQ(V(), preview.VerticalBar()->maximum() - 200);

  preview.SetZoom(300);  // wider than the window: the sideways keys now move
  Key(Qt::Key_Right);
  EXPECT_EQ(H(), 10);
  Key(Qt::Key_Left);
  EXPECT_EQ(H(), 0);
}

TEST_F(PreviewTest, KeysDoNothingWithoutPages) {
  preview.Clear();
  EXPECT_EQ(preview.GetAllPages(), 0);
  EXPECT_EQ(preview.StatusText(), QString());
  Key(Qt::Key_End, Qt::ControlModifier);
  Key(Qt::Key_Down);
  EXPECT_EQ(preview.CurrentPage(), 0);
  EXPECT_EQ(V(), 0);
  preview.SetPage(1);
  EXPECT_EQ(preview.CurrentPage(), 0);
}

TEST_F(PreviewTest, WheelScrollsThreeSmallStepsANotchAndFollowsThePage) {
  QSignalSpy changed(&preview, &TrpPreview::PageChanged);
  Wheel(-120);
  EXPECT_EQ(V(), 30);
  Wheel(120);
  EXPECT_EQ(V(), 0);
  for (int i = 0; i < 10; ++i) Wheel(-120);
  EXPECT_EQ(V(), 300);
  EXPECT_EQ(preview.CurrentPage(), 3);
  ASSERT_EQ(changed.count(), 1);
  EXPECT_EQ(changed.at(0).at(0).toInt(), 3);
}

TEST_F(PreviewTest, PressSelectsThePageAndDragScrolls) {
  QWidget* box = preview.Box();
  const QPoint onSecond = preview.Layout().Rects.at(1).center();
  QTest::mousePress(box, Qt::LeftButton, Qt::NoModifier, onSecond);
  EXPECT_EQ(preview.CurrentPage(), 2);
  QTest::mouseMove(box, onSecond - QPoint(0, 60));
  EXPECT_EQ(V(), 60);
  QTest::mouseRelease(box, Qt::LeftButton, Qt::NoModifier, onSecond - QPoint(0, 60));
  QTest::mouseMove(box, onSecond);
  EXPECT_EQ(V(), 60);  // released: moving no longer scrolls

  // A double click selects the page under the pointer without starting a drag.
  const QPoint onThird = preview.Layout().Rects.at(2).center() - QPoint(0, V());
  QTest::mouseDClick(box, Qt::LeftButton, Qt::NoModifier, onThird);
  EXPECT_EQ(preview.CurrentPage(), 3);
}

TEST_F(PreviewTest, AnObjectTakingTheClickStopsTheDrag) {
  QStringList clicked;
  pages.OnObjectClick = [&](TrpView& view) { clicked << view.Name; };
  QWidget* box = preview.Box();
  const QRect first = preview.Layout().Rects.at(0);
  const QPoint onMemo(first.left() + 50, first.top() + 110);
  QTest::mousePress(box, Qt::LeftButton, Qt::NoModifier, onMemo);
  EXPECT_EQ(clicked, QStringList{QStringLiteral("Memo1")});
  QTest::mouseMove(box, onMemo - QPoint(0, 40));
  EXPECT_EQ(V(), 0);
  QTest::mouseRelease(box, Qt::LeftButton, Qt::NoModifier, onMemo - QPoint(0, 40));

  pages.OnMouseOverObject = [](TrpView&, Qt::CursorShape& cursor) { cursor = Qt::PointingHandCursor; };
  QTest::mouseMove(box, onMemo);
  EXPECT_EQ(box->cursor().shape(), Qt::PointingHandCursor);
  QTest::mouseMove(box, QPoint(first.left() + 90, first.top() + 200));  // off every object
  EXPECT_EQ(box->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(PreviewTest, ScrollBarsChoiceHidesTheOtherPanels) {
  preview.SetScrollBars(TrpScrollBars::Horizontal);
  EXPECT_FALSE(preview.VerticalBar()->isVisible());
  EXPECT_TRUE(preview.HorizontalBar()->isVisible());
  preview.SetScrollBars(TrpScrollBars::Vertical);
  EXPECT_TRUE(preview.VerticalBar()->isVisible());
  EXPECT_FALSE(preview.HorizontalBar()->isVisible());
}

TEST_F(PreviewTest, PaintsPagesInViewThroughThePreparedPages) {
  const QImage shot = preview.Box()->grab().toImage();
  const QRect first = preview.Layout().Rects.at(0);
  EXPECT_EQ(shot.pixelColor(first.left() + 90, first.top() + 20), QColor(Qt::white));
  EXPECT_EQ(shot.pixelColor(first.left() - 5, first.top() + 20), QColor(128, 128, 128));
  bool lineDrawn = false;
  for (int y = first.top() + 48; y <= first.top() + 52; ++y) {
    lineDrawn = lineDrawn || shot.pixelColor(first.left() + 90, y).lightness() < 128;
  }
  EXPECT_TRUE(lineDrawn);
  // Pages in view hold their rebuilt objects; those out of view give them up.
  EXPECT_TRUE(pages.Pages(0).InUse);
  EXPECT_FALSE(pages.Pages(5).InUse);
  EXPECT_EQ(pages.Pages(5).Page, nullptr);
}

TEST_F(PreviewTest, PageImagesLastUntilTheZoomChanges) {
  preview.Box()->grab();
  EXPECT_TRUE(preview.IsPageCached(0));
  EXPECT_FALSE(preview.IsPageCached(5));

  preview.resize(520, 420);  // a new size at the same zoom keeps the images
  QApplication::sendPostedEvents();
  preview.Relayout();
  EXPECT_TRUE(preview.IsPageCached(0));

  preview.SetZoom(50);
  EXPECT_FALSE(preview.IsPageCached(0));
  const QImage shot = preview.Box()->grab().toImage();
  EXPECT_TRUE(preview.IsPageCached(5));  // at half size all six are in view
  const QRect first = preview.Layout().Rects.at(0);
  EXPECT_EQ(first.size(), QSize(90, 135));
  EXPECT_EQ(shot.pixelColor(first.left() + 45, first.top() + 10), QColor(Qt::white));

  preview.PageWidth();
  EXPECT_FALSE(preview.IsPageCached(0));
  preview.Box()->grab();
  preview.Connect(&pages);  // the pages may have changed: nothing kept
  EXPECT_FALSE(preview.IsPageCached(0));
}

TEST_F(PreviewTest, PageImagesOverTheBudgetDropThoseOutOfView) {
  // Room for about three pages: the two in view stay, pages scrolled away go first.
  preview.SetImageBudget(3 * 180 * 270 * 4);
  preview.Box()->grab();
  EXPECT_TRUE(preview.IsPageCached(0));
  EXPECT_TRUE(preview.IsPageCached(1));
  preview.SetPage(3);
  preview.Box()->grab();
  preview.SetPage(5);
  preview.Box()->grab();
  EXPECT_TRUE(preview.IsPageCached(4));
  EXPECT_TRUE(preview.IsPageCached(5));
  EXPECT_FALSE(preview.IsPageCached(0));
  EXPECT_FALSE(preview.IsPageCached(1));
  // Drawn again when it comes back into view.
  preview.First();
  const QImage shot = preview.Box()->grab().toImage();
  EXPECT_TRUE(preview.IsPageCached(0));
  const QRect first = preview.Layout().Rects.at(0);
  EXPECT_EQ(shot.pixelColor(first.left() + 90, first.top() + 20), QColor(Qt::white));
}

TEST_F(PreviewTest, ZoomIsRememberedForTheNextPreview) {
  preview.SetZoom(75);
  EXPECT_DOUBLE_EQ(preview.Zoom(), 0.75);
  EXPECT_EQ(rpLastScale().Mode, TrpZoomMode::Free);
  EXPECT_DOUBLE_EQ(rpLastScale().Factor, 0.75);
  preview.OnePage();
  EXPECT_EQ(rpLastScale().Mode, TrpZoomMode::OnePage);
  EXPECT_EQ(preview.Layout().PagesPerRow, 1);

  TrpPreview next;
  next.resize(500, 400);
  next.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&next));
  next.Connect(&pages);
  EXPECT_EQ(next.ZoomMode(), TrpZoomMode::OnePage);
  // The whole page fits the window's height.
  EXPECT_LE(next.Layout().Rects.at(0).bottom(), next.Box()->height() - 10);
  next.Clear();
}

TEST_F(PreviewTest, RightPressOpensTheControlsMenuOrElseTheZoomMenu) {
  QWidget* box = preview.Box();
  QTest::mousePress(box, Qt::RightButton, Qt::NoModifier, QPoint(50, 50));
  EXPECT_TRUE(preview.Form().ZoomMenu()->isVisible());
  preview.Form().ZoomMenu()->hide();

  QMenu own;
  own.addAction(QStringLiteral("Mine"));
  preview.SetPopupMenu(&own);
  QTest::mousePress(box, Qt::RightButton, Qt::NoModifier, QPoint(50, 50));
  EXPECT_TRUE(own.isVisible());
  EXPECT_FALSE(preview.Form().ZoomMenu()->isVisible());
  own.hide();
}

}  // namespace
