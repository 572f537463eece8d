#include "controls/clurl.h"
#include "QtPrinters.h"
#include "support/FakeDesktop.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class LinkLabel : public ::testing::Test {
protected:
  void SetUp() override {
    window.resize(300, 100);
    link = new TClURL(&window);
    link->move(10, 10);
    link->SetFontColor(Qt::black);
    link->SetURL(QStringLiteral("https://example.org/velmora"));
    link->CursorPosition = [this] { return cursor; };
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }

  void MoveInside() {
    cursor = link->mapToGlobal(QPoint(2, 2));
    // Sent straight to the label: the application drops a move to where the pointer
    // already was, as it would be in the next test.
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), QPointF(cursor), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(link, &move);
  }
  void Leave() {
    cursor = window.mapToGlobal(QPoint(-500, -500));  // out of the window altogether
    link->CheckHover();
  }

  FakeDesktop desktop;
  QWidget window;
  TClURL* link = nullptr;
  QPoint cursor;
};

TEST_F(LinkLabel, ShowsTheUrlUntilACaptionIsGiven) {
  EXPECT_EQ(link->text(), "https://example.org/velmora");
  EXPECT_TRUE(link->UnderlineURL());
  link->SetCaption(QStringLiteral("Our web site"));
  EXPECT_EQ(link->text(), "Our web site");
  link->SetURL(QStringLiteral("mailto:team@example.org"));
  EXPECT_EQ(link->text(), "Our web site");
  EXPECT_EQ(TClURL::About(), "v4.06");
}

TEST_F(LinkLabel, LightsUpWhileThePointerIsOverIt) {
  MoveInside();
  EXPECT_EQ(link->FontColor(), QColor(Qt::red));
  EXPECT_TRUE(link->HoverTimerRunning());
  link->CheckHover();  // still inside: nothing changes
  EXPECT_EQ(link->FontColor(), QColor(Qt::red));
  Leave();
  EXPECT_EQ(link->FontColor(), QColor(Qt::black));
  EXPECT_FALSE(link->HoverTimerRunning());
}

TEST_F(LinkLabel, ClickOpensTheAddressCutTo1023Characters) {
  int clicks = 0;
  link->OnClick = [&clicks] { ++clicks; };
  const QString longUrl = QStringLiteral("https://example.org/") + QString(1480, QLatin1Char('a'));
  link->SetURL(longUrl);
  QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(2, 2));
  ASSERT_EQ(desktop.Calls("open:").size(), 1);
  EXPECT_EQ(desktop.Calls("open:")[0], "open:" + longUrl.left(1023));
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(desktop.Calls("beep").isEmpty());

  desktop.openResult = false;  // nothing could open it: a beep, no message
  QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(2, 2));
  EXPECT_EQ(desktop.Calls("beep").size(), 1);
  EXPECT_TRUE(desktop.Calls("message:").isEmpty());

  link->SetCaption(QStringLiteral("Link"));
  link->SetURL(QString());
  desktop.Clear();
  QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(2, 2));
  EXPECT_TRUE(desktop.Log().isEmpty());
  EXPECT_EQ(clicks, 3);
}

TEST_F(LinkLabel, VisitedColourShowsOnceThePointerHasLeft) {
  link->SetUseVisitedColor(true);
  link->SetVisitedColor(Qt::darkMagenta);
  MoveInside();
  QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(2, 2));
  EXPECT_EQ(link->FontColor(), QColor(Qt::red));
  Leave();
  EXPECT_EQ(link->FontColor(), QColor(Qt::darkMagenta));
  MoveInside();
  Leave();
  EXPECT_EQ(link->FontColor(), QColor(Qt::darkMagenta));
}

TEST_F(LinkLabel, DefaultColourMeansTheFontColourOfTheMoment) {
  link->SetFontColor(Qt::darkGreen);
  link->SetHighlightColor(QColor());
  EXPECT_EQ(link->HighlightColor(), QColor(Qt::darkGreen));
}

}  // namespace
