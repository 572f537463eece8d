// The preview window's page set-up and help buttons on a report: the page set-up dialog
// (answered by the test) sees the first page's paper and margins and its choice reaches
// every page and the pages shown; the help button asks for help on the next control
// clicked.
#include "FakePrinterBackend.h"
#include "ReportComponentFixture.h"
#include "report/RP_Ctrls.h"
#include "report/RP_PreviewForm.h"
#include "report/RP_PreviewPageSetup.h"
#include "report/engine/RP_EMFPages.h"
#include "report/engine/RP_Printer.h"
#include "support/ContextPins.h"
#include "support/FakeDesktop.h"

#include <QTest>

namespace {

class PreviewPageSetupTest : public ReportComponentTest {
protected:
  void SetUp() override {
    ReportComponentTest::SetUp();
    rpLastScale() = {};
    rpSetPrinterBackend(&backend);
    rows->SetRangeEndCount(60);  // two pages of 40-unit rows
    AddRowBand(40, {QStringLiteral("Water the plants")});
    page->MarginLeft = 36;  // 10 mm
    page->MarginTop = 18;
    page->MarginRight = 72;
    page->MarginBottom = 0;
    second = report.AddPage();
    ASSERT_TRUE(report.PrepareReport());
    report.SetPreviewButtons(rpButton(pbZoom) | rpButton(pbPrint) | rpButton(pbPageSetup) | rpButton(pbHelp));
    form.resize(600, 500);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.ConnectReport(report);
  }
  void TearDown() override {
    form.Disconnect();
    rpPageSetupDialog() = savedDialog;
    rpSetPrinterBackend(nullptr);
    rpLastScale() = {};
    ReportComponentTest::TearDown();
  }
  // The dialog answers with `change` applied (or is cancelled); what it was shown is kept.
  void Answer(const std::function<void(TrpPageSetupChoice&)>& change, bool ok = true) {
    rpPageSetupDialog() = [=, this](TrpPageSetupChoice& choice, QWidget*) {
      ++asked;
      shown = choice;
      change(choice);
      return ok;
    };
  }
  void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(5, 5)); }

  FakeDesktop desktop;
  FakePrinterBackend backend{{NamedPrinter("Laser"), NamedPrinter("Ink"), NamedPrinter("Jammed", false)}};
  TrpPageSetupDialog savedDialog = rpPageSetupDialog();
  TrpPage* second = nullptr;
  TrpPreviewForm form;
  int asked = 0;
  TrpPageSetupChoice shown;
};

TEST_F(PreviewPageSetupTest, TheChoiceReachesEveryPageAndTheNewPagesAreShown) {
  form.SetPage(2);
  Answer([](TrpPageSetupChoice& choice) {
    choice.printerIndex = 1;
    choice.paper = {256, 2500, 2000, 1, -1};
    choice.margins = QMargins(2000, 500, 0, 1500);
  });
  Click(form.Tool(TrpPreviewTool::PageSetup));

  ASSERT_EQ(asked, 1);
  EXPECT_EQ(shown.printerIndex, 0);
  EXPECT_EQ(shown.paper.width, 2000);
  EXPECT_EQ(shown.paper.height, 2500);
  EXPECT_EQ(shown.margins, QMargins(1000, 500, 2000, 0));  // units x 500 / 18
  EXPECT_EQ(rpPrinter().PrinterIndex, 1);
  for (TrpPage* p : {page, second}) {
    EXPECT_EQ(p->MarginLeft, 72);  // hundredths of a millimetre x 18 / 500
    EXPECT_EQ(p->MarginTop, 18);
    EXPECT_EQ(p->MarginRight, 0);
    EXPECT_EQ(p->MarginBottom, 54);
    EXPECT_EQ(p->Orientation, 1);
  }
  // The report was built again on the new paper, and the window shows that build.
  EXPECT_EQ(form.Pages(), &report.EMFPages());
  ASSERT_GT(report.EMFPages().Count(), 0);
  EXPECT_EQ(form.PageCount(), report.EMFPages().Count());
  EXPECT_EQ(form.CurrentPage(), 1);
  EXPECT_EQ(form.StatusText(), QStringLiteral("Page 1/%1").arg(form.PageCount()));
}

TEST_F(PreviewPageSetupTest, ACancelOrAPrinterThatCannotBeUsedLeavesTheReportAlone) {
  struct Case {
    const char* name;
    int printer;
    bool ok;
  };
  for (const Case& c : {Case{"cancelled", 1, false}, Case{"printer refused", 2, true}}) {
    SCOPED_TRACE(c.name);
    form.SetPage(2);
    const int count = form.PageCount();
    Answer([&](TrpPageSetupChoice& choice) {
      choice.printerIndex = c.printer;
      choice.margins = QMargins(3000, 3000, 3000, 3000);
    }, c.ok);
    form.PageSetupBtnClick();
    EXPECT_EQ(rpPrinter().PrinterIndex, 0);
    EXPECT_EQ(page->MarginLeft, 36);
    EXPECT_EQ(second->MarginLeft, 0);
    EXPECT_EQ(form.PageCount(), count);
    EXPECT_EQ(form.CurrentPage(), 2);
  }
}

TEST_F(PreviewPageSetupTest, HelpAsksForTheNextControlClicked) {
  std::vector<int> asked;
  HelpPin help([&](int context) { asked.push_back(context); });
  form.Box()->setProperty("Tag", 4711);

  Click(form.Tool(TrpPreviewTool::Help));
  EXPECT_TRUE(form.InContextHelp());
  EXPECT_TRUE(asked.empty());
  Click(form.Box());
  EXPECT_EQ(asked, std::vector<int>{4711});
  EXPECT_FALSE(form.InContextHelp());
  Click(form.Box());  // an ordinary click again
  EXPECT_EQ(asked.size(), 1u);

  // A control without a tag asks for the contents; Esc leaves the mode without asking.
  form.HelpBtnClick();
  Click(form.StatusLine());
  EXPECT_EQ(asked, (std::vector<int>{4711, 0}));
  form.HelpBtnClick();
  QTest::keyClick(form.Box(), Qt::Key_Escape);
  EXPECT_FALSE(form.InContextHelp());
  EXPECT_TRUE(form.isVisible());  // Esc ended the help mode, not the window
  Click(form.Box());
  EXPECT_EQ(asked.size(), 2u);
}

}  // namespace
