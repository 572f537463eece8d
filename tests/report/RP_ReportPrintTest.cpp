// Printing a report's prepared pages: which pages go to the printer in which order for
// a page text, copies, collation and odd/even; what the user is told when nothing can
// be printed; and a printer change that fails.
#include "FakePrinterBackend.h"
#include "ReportComponentFixture.h"
#include "report/engine/RP_Printer.h"
#include "report/engine/RP_StringTable.h"

#include <QImage>
#include <QPainter>

namespace {

// A job that paints into an image and records its sheets.
class RecordingJob : public TrpPrintJob {
public:
  explicit RecordingJob(QStringList& log) : log_(log), image_(200, 300, QImage::Format_RGB32), painter_(&image_) {}
  QPainter& Painter() override { return painter_; }
  bool NewPage() override {
    log_ << QStringLiteral("sheet");
    return true;
  }
  bool NewPage(const TrpDeviceMode& format) override {
    log_ << QStringLiteral("sheet:%1").arg(format.paperSize);
    return true;
  }
  bool End(QString&) override {
    log_ << QStringLiteral("end");
    return true;
  }
  void Abort() override { log_ << QStringLiteral("abort"); }

private:
  QStringList& log_;
  QImage image_;
  QPainter painter_;
};

class RecordingBackend : public FakePrinterBackend {
public:
  RecordingBackend()
      : FakePrinterBackend({Named(QStringLiteral("Office"), true), Named(QStringLiteral("Broken"), false)}) {}
  static FakePrinter Named(const QString& name, bool selectable) {
    FakePrinter printer;
    printer.name = name;
    printer.selectable = selectable;
    return printer;
  }
  std::unique_ptr<TrpPrintJob> BeginJob(const QString& title, const QString&, QString&) override {
    log << QStringLiteral("begin:") + title;
    return std::make_unique<RecordingJob>(log);
  }
  QStringList log;
};

class ReportPrintTest : public ReportComponentTest {
protected:
  void SetUp() override {
    ReportComponentTest::SetUp();
    rpSetPrinterBackend(&backend);
    rows->SetRangeEndCount(10);
    AddRowBand(450, {QStringLiteral("row")});  // two rows to a page: five pages
    ASSERT_TRUE(report.PrepareReport());
    ASSERT_EQ(report.EMFPages().Count(), 5);
    report.OnProgress = [this](int page) { printed.push_back(page); };
  }
  void TearDown() override {
    rpSetPrinterBackend(nullptr);
    ReportComponentTest::TearDown();
  }

  RecordingBackend backend;
  std::vector<int> printed;
};

struct PrintCase {
  const char* pages;
  int copies;
  bool collate;
  TrpPageParity parity;
  std::vector<int> expected;
};

class PrintPagesTest : public ReportPrintTest, public ::testing::WithParamInterface<PrintCase> {};

TEST_P(PrintPagesTest, PagesGoToThePrinterInOrder) {
  const PrintCase& c = GetParam();
  report.PrintPreparedReport(QString::fromUtf8(c.pages), c.copies, c.collate, c.parity);
  EXPECT_EQ(printed, c.expected);
  EXPECT_TRUE(windows->log.isEmpty()) << windows->log.join(u'\n').toStdString();
  ASSERT_FALSE(backend.log.isEmpty());
  EXPECT_EQ(backend.log.front(), "begin:Untitled");
  EXPECT_EQ(backend.log.count(QStringLiteral("sheet")), static_cast<qsizetype>(c.expected.size()) - 1);
  EXPECT_EQ(backend.log.back(), "end");
}

INSTANTIATE_TEST_SUITE_P(Report, PrintPagesTest,
                         ::testing::Values(PrintCase{"", 1, true, TrpPageParity::All, {1, 2, 3, 4, 5}},
                                           PrintCase{" 1 , 3,4-12 ", 1, true, TrpPageParity::All, {1, 3, 4, 5}},
                                           PrintCase{"4-", 2, true, TrpPageParity::All, {4, 5, 4, 5}},
                                           PrintCase{"1-2", 2, false, TrpPageParity::All, {1, 1, 2, 2}},
                                           PrintCase{"1-3", 1, true, TrpPageParity::Even, {2}},
                                           PrintCase{"", 1, true, TrpPageParity::Odd, {1, 3, 5}},
                                           PrintCase{"1-2000000000", 1, true, TrpPageParity::All, {1, 2, 3, 4, 5}}));

struct RefusedCase {
  const char* pages;
  TrpPageParity parity;
  const char* message;
};

class RefusedPrintTest : public ReportPrintTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedPrintTest, NothingIsPrintedAndTheUserIsTold) {
  const RefusedCase& c = GetParam();
  report.PrintPreparedReport(QString::fromUtf8(c.pages), 1, true, c.parity);
  EXPECT_TRUE(printed.empty());
  EXPECT_TRUE(backend.log.isEmpty()) << backend.log.join(u' ').toStdString();
  ASSERT_EQ(windows->log.size(), 1);
  EXPECT_TRUE(windows->log[0].startsWith(QStringLiteral("message:") + QString::fromUtf8(c.message)))
      << windows->log[0].toStdString();
  EXPECT_TRUE(windows->log[0].endsWith(QStringLiteral("|Error|16")));
}

INSTANTIATE_TEST_SUITE_P(
    Report, RefusedPrintTest,
    ::testing::Values(RefusedCase{"3-1", TrpPageParity::All, "The pages asked for are not in the report"},
                      RefusedCase{"6-", TrpPageParity::All, "The pages asked for are not in the report"},
                      RefusedCase{"2", TrpPageParity::Odd, "The pages asked for are not in the report"},
                      RefusedCase{"1,x", TrpPageParity::All, "'x' is not a valid integer value"}));

TEST_F(ReportPrintTest, TheJobCarriesTheTitleAndStopsAfterThePageWhenStopped) {
  report.SetTitle(QStringLiteral("Tasks"));
  report.OnProgress = [this](int page) {
    printed.push_back(page);
    if (page == 2) report.Stop();
  };
  report.PrintPreparedReport(QString(), 1, true, TrpPageParity::All);
  EXPECT_EQ(printed, (std::vector<int>{1, 2}));
  EXPECT_EQ(backend.log, (QStringList{QStringLiteral("begin:Tasks"), QStringLiteral("sheet"), QStringLiteral("abort")}));
}

TEST_F(ReportPrintTest, AFailedPrinterChangeKeepsTheOldPrinterAndSaysSo) {
  ASSERT_EQ(rpPrinter().PrinterIndex, 0);
  EXPECT_FALSE(report.ChangePrinter(0, 1));
  EXPECT_EQ(windows->log, QStringList{QStringLiteral("message:Printer selected is not valid|Error|16")});
  EXPECT_EQ(rpPrinter().PrinterIndex, 0);
  EXPECT_EQ(report.PrinterName, "Office");
  EXPECT_TRUE(backend.log.isEmpty()) << "nothing printed";
}

TEST_F(ReportPrintTest, APrinterChangeReappliesEveryPagesPaper) {
  report.Page(0)->ChangePaper(11, 0, 0, -1, 1);  // A5 across
  backend.modesSet.clear();
  EXPECT_TRUE(report.ChangePrinter(0, 0));
  ASSERT_FALSE(backend.modesSet.empty());
  EXPECT_EQ(backend.modesSet.back().paperSize, 11);
  EXPECT_EQ(backend.modesSet.back().orientation, 2);
  EXPECT_EQ(report.PrinterName, "Office");
}

}  // namespace
