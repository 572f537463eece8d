// The engine's preview window on real widgets: layout at each zoom and window size, the
// keys and the wheel, the zoom menu, finding text across pages, and ".vrp" files loaded
// and saved through the file dialogs.
#include "ReportFakes.h"
#include "ReportTestSupport.h"
#include "report/RP_Ctrls.h"
#include "report/RP_PreviewForm.h"
#include "report/RP_PreviewPrint.h"
#include "report/RP_Srch.h"
#include "report/engine/RP_EMFPages.h"
#include "report/engine/RP_MemoView.h"
#include "support/FakeDesktop.h"
#include "support/TempDir.h"
#include "support/XdgHome.h"

#include <QAction>
#include <QCheckBox>
#include <QRadioButton>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

namespace {

class PreviewFormTest : public ReportEngineTest {
protected:
  void SetUp() override {
    ReportEngineTest::SetUp();
    rpLastScale() = {};
    paper.PaperWidth = 500;  // 180 × 270 report units, one pixel each at 100 %
    paper.PaperHeight = 750;
    // Page n (1-based) holds "Row n.1" ... "Row n.3"; page 4 says "needle" twice and
    // page 6 once, far down the page.
    for (int i = 0; i < 6; ++i) {
      pages.Add(paper);
      for (int row = 1; row <= 3; ++row) Memo(i, 20 * row, QStringLiteral("Row %1.%2").arg(i + 1).arg(row));
    }
    Memo(3, 100, QStringLiteral("a Needle here"));
    Memo(3, 140, QStringLiteral("another needle"));
    Memo(5, 240, QStringLiteral("last needle"));
    form.resize(500, 460);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.Connect(&pages);
  }
  void TearDown() override {
    form.Disconnect();
    rpLastScale() = {};
    ReportEngineTest::TearDown();
  }

  void Memo(int page, int top, const QString& text) {
    TrpMemoView memo;
    memo.SetGeometry(10, top, 160, 16);
    memo.Memo = QStringList{text};
    memo.Print(pages.PageStream(page));
  }
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(form.Box(), Qt::Key(key), modifiers);
  }
  int V() const { return form.VerticalBar()->value(); }
  int TopOf(int page) const { return form.Layout().Rects.at(size_t(page - 1)).top(); }
  QAction* ZoomItem(int tag) const {
    for (QAction* action : form.ZoomMenu()->actions())
      if (action->isCheckable() && action->data().toInt() == tag) return action;
    return nullptr;
  }
  QStringList TickedItems() const {
    QStringList ticked;
    for (QAction* action : form.ZoomMenu()->actions())
      if (action->isChecked()) ticked << action->text();
    return ticked;
  }
  // Answers the find window, once it is up, with a text and an origin.
  void AnswerFind(const QString& text, bool fromFirst, bool caseSensitive = false) {
    QTimer::singleShot(0, [=] {
      auto* dialog = qobject_cast<TrpPreviewSearchForm*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      dialog->Edit()->setText(text);
      (fromFirst ? dialog->FirstPage() : dialog->CurrentPage())->setChecked(true);
      dialog->CaseSensitive()->setChecked(caseSensitive);
      dialog->accept();
    });
  }

  XdgHome home;  // the window stores its position
  FakeDesktop desktop;
  FakeWindows windows;
  TrpPage paper;
  TrpEMFPages pages;
  TrpPreviewForm form;
};

TEST_F(PreviewFormTest, ZoomModesLayPagesOutForTheWindowSize) {
  struct Case {
    TrpZoomMode mode;
    double factor;
    QSize window;
    int perRow;
  };
  for (const Case& c : {Case{TrpZoomMode::Free, 1.0, {500, 460}, 2}, Case{TrpZoomMode::Free, 1.0, {800, 460}, 4},
                        Case{TrpZoomMode::PageWidth, 1.0, {500, 460}, 1},
                        Case{TrpZoomMode::OnePage, 1.0, {800, 700}, 1},
                        Case{TrpZoomMode::TwoPages, 1.0, {500, 460}, 2},
                        Case{TrpZoomMode::Free, 0.5, {800, 700}, 7}}) {
    form.resize(c.window);
    QApplication::sendPostedEvents();
    form.ApplyZoom(c.mode, c.factor);
    const QSize client = form.Box()->size();
    const std::vector<QRect>& rects = form.Layout().Rects;
    SCOPED_TRACE(testing::Message() << int(c.mode) << " " << c.window.width() << "x" << c.window.height());
    EXPECT_EQ(form.Layout().PagesPerRow, std::min(c.perRow, 6));
    ASSERT_EQ(rects.size(), 6u);
    if (c.mode == TrpZoomMode::PageWidth) {
      EXPECT_EQ(rects[0].width(), client.width() - 20);
    } else if (c.mode == TrpZoomMode::OnePage) {
      EXPECT_EQ(rects[0].height(), client.height() - 20);
    } else if (c.mode == TrpZoomMode::TwoPages) {
      EXPECT_EQ(rects[0].width() * 2, client.width() - 30);
    }
    // The zoom button shows the factor; the menu ticks the mode or the matching percentage.
    EXPECT_EQ(form.Tool(TrpPreviewTool::Zoom)->Caption(), QStringLiteral("%1%").arg(std::lround(form.Factor() * 100)));
    EXPECT_EQ(form.VerticalBar()->isEnabled(), form.Layout().VertMax > 0);
  }
  EXPECT_EQ(TickedItems(), QStringList{QStringLiteral("50%")});
}

TEST_F(PreviewFormTest, ZoomMenuItemsSetTheZoomAndTickThemselves) {
  EXPECT_EQ(TickedItems(), QStringList{QStringLiteral("100%")});
  QStringList visible;
  for (QAction* action : form.ZoomMenu()->actions())
    if (action->isVisible() && !action->isSeparator()) visible << action->text();
  EXPECT_EQ(visible, (QStringList{"200%", "150%", "100%", "75%", "50%", "25%", "10%", "&Page width", "&Whole page",
                                  "&Two pages"}));

  form.HorizontalBar()->setRange(0, 100);
  form.HorizontalBar()->setValue(40);
  ZoomItem(150)->trigger();
  EXPECT_DOUBLE_EQ(form.Factor(), 1.5);
  EXPECT_EQ(form.HorizontalBar()->value(), 0);
  EXPECT_EQ(TickedItems(), QStringList{QStringLiteral("150%")});
  EXPECT_DOUBLE_EQ(rpLastScale().Factor, 1.5);

  ZoomItem(2)->trigger();
  EXPECT_EQ(form.Mode(), TrpZoomMode::OnePage);
  EXPECT_EQ(rpLastScale().Mode, TrpZoomMode::OnePage);
  EXPECT_EQ(TickedItems(), QStringList{QStringLiteral("&Whole page")});

  // Space and the zoom button open the menu.
  Key(Qt::Key_Space);
  EXPECT_TRUE(form.ZoomMenu()->isVisible());
  form.ZoomMenu()->hide();
}

TEST_F(PreviewFormTest, KeysScrollTurnPagesAndCloseTheWindow) {
  QSignalSpy changed(form.VerticalBar(), &QScrollBar::valueChanged);
  Key(Qt::Key_Down);
  EXPECT_EQ(V(), 10);
  Key(Qt::Key_PageDown);
  EXPECT_EQ(V(), 210);
  Key(Qt::Key_PageDown, Qt::ControlModifier);
  EXPECT_EQ(form.CurrentPage(), 2);  // beside page 1: the view stays at the row's top
  EXPECT_EQ(V(), 0);
  Key(Qt::Key_PageDown, Qt::ControlModifier);
  EXPECT_EQ(form.CurrentPage(), 3);
  EXPECT_EQ(V(), TopOf(3) - 10);
  Key(Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(form.CurrentPage(), 6);
  EXPECT_EQ(form.StatusLine()->text(), QStringLiteral("Page 6/6"));
  Key(Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(V(), 0);
  EXPECT_EQ(form.CurrentPage(), 1);
  Key(Qt::Key_Home);  // without Ctrl not a key of the preview
  EXPECT_EQ(V(), 0);

  // The standalone window scrolls one small step a notch.
  QWheelEvent wheel(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, -240), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(form.Box(), &wheel);
  EXPECT_EQ(V(), 20);

  Key(Qt::Key_Escape);
  EXPECT_FALSE(form.isVisible());
}

TEST_F(PreviewFormTest, FindMarksHitsAcrossPagesAndF3GoesOn) {
  AnswerFind(QStringLiteral("needle"), true);
  Key(Qt::Key_F, Qt::ControlModifier);
  ASSERT_TRUE(form.HasHit());
  EXPECT_EQ(form.CurrentPage(), 4);
  EXPECT_EQ(form.StatusLine()->text(), QStringLiteral("Page 4/6"));
  // The hit lies where its memo is, and the view shows its page from the top.
  const QRect first = form.HitRect();
  EXPECT_NEAR(first.top(), 100, 4);
  EXPECT_NEAR(first.left(), 10, 4);
  EXPECT_EQ(V(), TopOf(4) - 10);
  // The hit is marked: its pixels are inverted (text dark on white becomes light on black).
  const QImage shot = form.Box()->grab().toImage();
  const QRect marked = form.HitRectInBox();
  ASSERT_TRUE(QRect(QPoint(0, 0), form.Box()->size()).contains(marked.center()));
  EXPECT_LT(shot.pixelColor(marked.left() + 1, marked.top() + 1).lightness(), 64);

  Key(Qt::Key_F3);  // the same page, after the previous hit
  EXPECT_EQ(form.CurrentPage(), 4);
  EXPECT_NEAR(form.HitRect().top(), 140, 4);
  Key(Qt::Key_F3);  // the next page that has it, far down: scrolled so the hit shows
  EXPECT_EQ(form.CurrentPage(), 6);
  const QRect inBox = form.HitRectInBox();
  EXPECT_GE(inBox.top(), 0);
  EXPECT_LE(inBox.bottom(), form.Box()->height());
  Key(Qt::Key_F3);  // past the last page: nothing marked
  EXPECT_FALSE(form.HasHit());
  EXPECT_EQ(form.CurrentPage(), 6);
}

TEST_F(PreviewFormTest, FindFromTheCurrentPageCaseSensitiveAndNotFound) {
  form.SetPage(5);
  AnswerFind(QStringLiteral("needle"), false);
  form.FindBtnClick();
  EXPECT_EQ(form.CurrentPage(), 6);

  form.SetPage(2);
  AnswerFind(QStringLiteral("Needle"), false, true);
  form.FindBtnClick();
  EXPECT_EQ(form.CurrentPage(), 4);
  EXPECT_NEAR(form.HitRect().top(), 100, 4);
  Key(Qt::Key_F3);
  EXPECT_FALSE(form.HasHit());  // no other capital "Needle"

  form.SetPage(1);
  AnswerFind(QStringLiteral("haystack"), true);
  form.FindBtnClick();
  EXPECT_FALSE(form.HasHit());
  EXPECT_EQ(form.CurrentPage(), 1);
}

TEST_F(PreviewFormTest, SaveAndLoadRoundTripThroughTheFileDialogs) {
  TempDir dir;
  form.SetPage(3);
  desktop.fileAnswers = {dir.File(QStringLiteral("list.txt"))};  // the extension becomes .vrp
  Key(Qt::Key_S, Qt::ControlModifier);
  ASSERT_TRUE(QFile::exists(dir.File(QStringLiteral("list.vrp"))));
  ASSERT_EQ(desktop.fileRequests.size(), 1u);
  EXPECT_EQ(desktop.fileRequests[0].filter, QStringLiteral("Report file (*.vrp)"));

  // Loading another set shows it from page 1.
  TrpEMFPages other;
  other.Add(paper);
  QByteArray one;
  {
    QBuffer buffer(&one);
    buffer.open(QIODevice::WriteOnly);
    other.WriteToStream(buffer);
  }
  QFile file(dir.File(QStringLiteral("one.vrp")));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(one);
  file.close();
  desktop.fileAnswers = {dir.File(QStringLiteral("one.vrp"))};
  Key(Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(form.PageCount(), 1);
  EXPECT_EQ(form.StatusLine()->text(), QStringLiteral("Page 1/1"));

  desktop.fileAnswers = {dir.File(QStringLiteral("list.vrp"))};
  form.LoadBtnClick();
  EXPECT_EQ(form.PageCount(), 6);
  EXPECT_EQ(form.CurrentPage(), 1);
  AnswerFind(QStringLiteral("last needle"), true);
  form.FindBtnClick();
  EXPECT_EQ(form.CurrentPage(), 6);  // the text came back with the pages
}

TEST_F(PreviewFormTest, ADamagedFileGivesTheLoadErrorAndKeepsThePagesShown) {
  TempDir dir;
  QFile file(dir.File(QStringLiteral("bad.vrp")));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(QByteArray("\x19\x00\x00\x00\x05\x00\x00\x00", 8));  // five pages promised, none there
  file.close();
  form.SetPage(2);
  desktop.fileAnswers = {dir.File(QStringLiteral("bad.vrp"))};
  Key(Qt::Key_O, Qt::ControlModifier);
  ASSERT_EQ(windows.log.size(), 1);
  EXPECT_TRUE(windows.log[0].startsWith(QStringLiteral("message:"))) << windows.log[0].toStdString();
  EXPECT_EQ(form.PageCount(), 6);
  EXPECT_EQ(form.CurrentPage(), 2);

  // A file that cannot be opened says why, too.
  desktop.fileAnswers = {dir.File(QStringLiteral("missing.vrp"))};
  form.LoadBtnClick();
  EXPECT_EQ(desktop.Calls(QStringLiteral("message:Error|")).size(), 1);
  EXPECT_EQ(form.PageCount(), 6);

  // Cancelling the dialog changes nothing.
  form.LoadBtnClick();
  EXPECT_EQ(form.PageCount(), 6);
}

TEST_F(PreviewFormTest, ToolBarShowsTheChosenButtons) {
  form.SetTools({TrpPreviewTool::Print, TrpPreviewTool::Exit});
  EXPECT_FALSE(form.Tool(TrpPreviewTool::Zoom)->isVisible());
  EXPECT_TRUE(form.Tool(TrpPreviewTool::Print)->isVisible());
  EXPECT_TRUE(form.Tool(TrpPreviewTool::Exit)->isVisible());
  EXPECT_EQ(form.Tool(TrpPreviewTool::Find)->toolTip(), QStringLiteral("Find text"));
  // Without printers, Ctrl+P does nothing.
  int printed = 0;
  form.OnPrint = [&] { ++printed; };
  form.SetPrintEnabled(false);
  Key(Qt::Key_P, Qt::ControlModifier);
  EXPECT_EQ(printed, 0);
  form.SetPrintEnabled(true);
  Key(Qt::Key_P, Qt::ControlModifier);
  EXPECT_EQ(printed, 1);
}

TEST_F(PreviewFormTest, PagesFarDownATallWindowArePainted) {
  form.resize(420, 2700);
  QApplication::sendPostedEvents();
  form.ApplyZoom(TrpZoomMode::Free, 2.0);  // one 360 x 540 page a row
  const QRect fifth = form.Layout().Rects.at(4);
  ASSERT_GT(fifth.top(), 2000);
  ASSERT_LT(fifth.top() + 30, form.Box()->height());
  const QImage shot = form.Box()->grab().toImage();
  EXPECT_TRUE(pages.Pages(4).InUse);
  EXPECT_EQ(shot.pixelColor(fifth.left() + 300, fifth.top() + 20), QColor(Qt::white));
}

TEST_F(PreviewFormTest, PrintingThroughTheReportKeepsThePage) {
  struct Target : TrpPreviewPrintTarget {
    TrpEMFPages* shown;
    QStringList printed;
    int DefaultCopies() const override { return 1; }
    bool DefaultCollate() const override { return true; }
    bool ShowPrintDialog() const override { return false; }
    bool CanRebuildForPrinter() const override { return false; }
    bool ChangePrinterAndRebuild(int, int) override { return false; }
    void PrintPreparedReport(const QString& range, int, bool, int, const QString& file) override {
      printed << range + u'|' + file;
    }
    TrpEMFPages* PreparedPages() override { return shown; }
  } target;
  target.shown = &pages;
  form.SetPrintTarget(&target);
  form.SetPage(3);
  desktop.fileAnswers = {QStringLiteral("/tmp/out.pdf")};  // the engine's printer is the PDF file printer
  form.Tool(TrpPreviewTool::Print)->OnClick();
  EXPECT_EQ(target.printed, QStringList{QStringLiteral("|/tmp/out.pdf")});
  EXPECT_EQ(form.CurrentPage(), 3);
  EXPECT_EQ(form.StatusLine()->text(), QStringLiteral("Page 3/6"));
}

}  // namespace
