// A report shown in the preview: in a preview control on a window or in the engine's own
// window, with the report's buttons and zoom, finding its text, and printing it on the
// "PDF file" printer of a machine without printers.
#include "ReportComponentFixture.h"
#include "report/RP_Ctrls.h"
#include "report/RP_Preview.h"
#include "report/RP_PreviewForm.h"
#include "report/engine/RP_Printer.h"
#include "support/FakeDesktop.h"
#include "support/TempDir.h"
#include "support/XdgHome.h"

#include <QFile>
#include <QLabel>
#include <QTest>

namespace {

class PreviewReportTest : public ReportComponentTest {
protected:
  void SetUp() override {
    ReportComponentTest::SetUp();
    rpLastScale() = {};
    rpSetPrinterBackend(nullptr);  // the "PDF file" printer alone
    rows->SetRangeEndCount(60);  // two pages of 40-unit rows
    AddRowBand(40, {QStringLiteral("Water the plants")});
    ASSERT_TRUE(report.PrepareReport());
    ASSERT_GE(report.EMFPages().Count(), 2);
  }
  void TearDown() override {
    rpLastScale() = {};
    ReportComponentTest::TearDown();
  }

  XdgHome home;
  FakeDesktop desktop;
};

TEST_F(PreviewReportTest, AControlShowsTheReportWithItsButtonsAndZoom) {
  TrpPreview preview;
  preview.SetShowToolbar(true);
  preview.resize(600, 500);
  preview.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));
  report.SetPreview(&preview);
  report.SetPreviewButtons(rpButton(pbZoom) | rpButton(pbPrint) | rpButton(pbExit));
  report.SetInitialZoom(pzOnePage);
  report.ShowPreparedReport();

  EXPECT_TRUE(preview.ShowsPages());
  EXPECT_EQ(preview.GetAllPages(), report.EMFPages().Count());
  EXPECT_EQ(preview.ZoomMode(), TrpZoomMode::OnePage);
  TrpPreviewForm& form = preview.Form();
  EXPECT_EQ(form.ToolBar()->parentWidget(), &preview);
  EXPECT_TRUE(form.Tool(TrpPreviewTool::Print)->isVisible());
  EXPECT_FALSE(form.Tool(TrpPreviewTool::Save)->isVisible());
  EXPECT_FALSE(form.Tool(TrpPreviewTool::Exit)->isVisible());  // only in the window itself

  form.SetSearch(QStringLiteral("water the"), false, true);
  EXPECT_TRUE(form.FindNext());
  EXPECT_EQ(preview.CurrentPage(), 1);
  preview.Clear();
  EXPECT_FALSE(preview.ShowsPages());
}

TEST_F(PreviewReportTest, WithoutAControlTheEnginesWindowShowsThePages) {
  TrpContextScope windowed(rpContextWith([](TrpContext& c) {
    c.CreatePreviewWindow = [] { return std::make_unique<TrpPreviewForm>(); };
  }));
  report.SetModalPreview(false);
  report.SetTitle(QStringLiteral("Tasks"));
  report.ShowPreparedReport();
  auto* window = dynamic_cast<TrpPreviewForm*>(report.PreviewWindow());
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Preview - Tasks"));
  EXPECT_EQ(window->StatusLine()->text(), QStringLiteral("Page 1/%1").arg(report.EMFPages().Count()));
  EXPECT_TRUE(window->Tool(TrpPreviewTool::Exit)->isVisible());
  QTest::keyClick(window->Box(), Qt::Key_Escape);
  EXPECT_FALSE(window->isVisible());
}

TEST_F(PreviewReportTest, PrintingWithoutPrintersWritesAPdfFile) {
  TempDir dir;
  TrpPreview preview;
  preview.resize(600, 500);
  preview.show();
  report.SetPreview(&preview);
  report.SetShowPrintDialog(false);
  report.ShowPreparedReport();
  preview.SetPage(2);
  const QString file = dir.File(QStringLiteral("tasks.pdf"));
  desktop.fileAnswers = {file};
  QTest::keyClick(preview.Box(), Qt::Key_P, Qt::ControlModifier);
  EXPECT_TRUE(ReadAll(file).startsWith("%PDF"));
  // The preview shows the report's pages again, on the page it was on.
  EXPECT_EQ(preview.GetAllPages(), report.EMFPages().Count());
  EXPECT_EQ(preview.CurrentPage(), 2);
}

}  // namespace
