// The system's printers for real: the "PDF file" printer writes a file whose first
// page shows the text where it was drawn, and a print server queue that writes PDF
// files receives three pages with their texts once the server is through with the job.
// The queue test needs the print server that scripts/start-cups.sh sets up and is
// skipped, saying why, without it.
#include "ReportTestSupport.h"
#include "report/RP_QtPrinterBackend.h"
#include "report/engine/RP_BandView.h"
#include "report/engine/RP_Class.h"
#include "report/engine/RP_DSet.h"
#include "report/engine/RP_MemoView.h"
#include "report/engine/RP_Printer.h"
#include "report/engine/RP_PrinterPdfFile.h"
#include "support/TempDir.h"

#include <QDateTime>
#include <QDir>
#include <QDeadlineTimer>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <cups/cups.h>
#include <pwd.h>
#include <unistd.h>

namespace {

class QtPrinterBackendTest : public ReportEngineTest {
protected:
  void TearDown() override {
    rpSetPrinterBackend(nullptr);
    ReportEngineTest::TearDown();
  }

  // A report of A4 pages over "Rows": one row to a page, its text object at (left, top)
  // in report units, size width x height, in a font of that size.
  TrpMemoView* AddRowPage(const QString& text, QRect box, int fontSize) {
    report.SetOwner(&owner);
    report.SetShowProgress(false);
    rows = new TrpUserDataset(&owner);
    rows->setObjectName(QStringLiteral("Rows"));
    rows->SetRangeEnd(reCount);
    TrpPage* page = report.AddPage();
    auto* band = static_cast<TrpBandView*>(page->Add(std::make_unique<TrpBandView>()));
    band->SetBandType(rpBand::MasterData);
    band->SetGeometry(0, 0, 700, 1000);
    band->FormatPattern = QStringLiteral("Rows");
    auto* memo = static_cast<TrpMemoView*>(page->Add(std::make_unique<TrpMemoView>()));
    memo->SetGeometry(box.left(), box.top(), box.width(), box.height());
    memo->Font.name = QStringLiteral("DejaVu Sans");
    memo->Font.size = fontSize;
    memo->Memo = QStringList{text};
    return memo;
  }

  QObject owner;
  TrpUserDataset* rows = nullptr;  // owned by owner
  TrpReport report;
};

// Runs a tool to its end; its standard output, or nothing when it failed.
std::optional<QByteArray> RunTool(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
    return std::nullopt;
  return process.readAllStandardOutput();
}

void DrawPageText(QPainter& painter, const QString& text, const QRect& box) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(box.height() / 2);
  painter.setFont(font);
  painter.setPen(Qt::black);
  painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, text);
}

// The first page of a PDF file drawn at 40 dpi by poppler; a null image when it fails.
QImage FirstPageAt40Dpi(const QString& file, const QString& prefix) {
  if (!RunTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("40"), QStringLiteral("-f"),
                                           QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"),
                                           QStringLiteral("-singlefile"), QStringLiteral("-png"), file, prefix}))
    return QImage();
  return QImage(prefix + QStringLiteral(".png"));
}

// How many dark pixels lie inside the box and how many outside it.
std::pair<int, int> DarkPixelsInAndOut(const QImage& page, const QRect& box) {
  int inside = 0;
  int outside = 0;
  for (int y = 0; y < page.height(); ++y)
    for (int x = 0; x < page.width(); ++x) {
      if (qGray(page.pixel(x, y)) >= 128) continue;
      (box.contains(x, y) ? inside : outside)++;
    }
  return {inside, outside};
}

TEST_F(QtPrinterBackendTest, PdfFilePrinterPutsTheTextWhereItWasDrawn) {
  if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
    GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
  TrpQtPrinterBackend backend;
  TrpPrinter printer;
  printer.AttachPrinter(&backend);
  const int pdfIndex = static_cast<int>(printer.Printers.indexOf(QStringLiteral("PDF file")));
  ASSERT_EQ(pdfIndex, printer.VirtualIndex - 1);
  printer.SelectPrinterIndex(pdfIndex);
  printer.SetPageFormat(9, 0, 0, 0, -1, true);
  EXPECT_EQ(printer.PaperWidth, 2100);
  EXPECT_EQ(printer.PaperHeight, 2970);
  TrpPageInfo info;
  printer.FillPageInfo(info);
  EXPECT_EQ(info.PaperWidthPx, 9921);  // A4 at 1200 dpi, no unprintable margin
  EXPECT_EQ(info.OffsetXPx, 0);
  EXPECT_EQ(info.PrintWidth, 758);

  TempDir dir;
  const QString file = dir.File(QStringLiteral("report.pdf"));
  QString error;
  std::unique_ptr<TrpPrintJob> job = backend.BeginJob(QStringLiteral("Report"), file, error);
  ASSERT_TRUE(job) << error.toStdString();
  EXPECT_TRUE(backend.Printing());
  // One inch from the left and the top, four inches wide, one inch high.
  DrawPageText(job->Painter(), QStringLiteral("VELMORA"), QRect(1200, 1200, 4800, 1200));
  ASSERT_TRUE(job->End(error)) << error.toStdString();
  EXPECT_FALSE(backend.Printing());

  const QImage page = FirstPageAt40Dpi(file, dir.File(QStringLiteral("page")));
  ASSERT_FALSE(page.isNull());
  EXPECT_EQ(page.width(), 331);  // 210 mm at 40 dpi
  // The text box is (40, 40)-(200, 80) at 40 dpi.
  const auto [inside, outside] = DarkPixelsInAndOut(page, QRect(QPoint(38, 38), QPoint(202, 82)));
  EXPECT_GT(inside, 100);
  EXPECT_EQ(outside, 0);
}

TEST_F(QtPrinterBackendTest, APrintedReportPutsItsTitleWhereThePreparedPagePutIt) {
  if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
    GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
  TrpQtPrinterBackend backend;
  rpSetPrinterBackend(&backend);
  // One inch from the left and the top (92 units), four inches wide, one inch high.
  AddRowPage(QStringLiteral("VELMORA"), QRect(92, 92, 366, 92), 36);
  rows->SetRangeEndCount(1);
  report.UseDefaultPrinter = false;
  report.PrinterName = QStringLiteral("PDF file");
  ASSERT_TRUE(report.PrepareReport());
  ASSERT_EQ(report.EMFPages().Count(), 1);
  TempDir dir;
  report.PrintFileName = dir.File(QStringLiteral("report.pdf"));
  report.PrintPreparedReport(QString(), 1, true, TrpPageParity::All);
  ASSERT_TRUE(QFile::exists(report.PrintFileName));

  const QImage page = FirstPageAt40Dpi(report.PrintFileName, dir.File(QStringLiteral("page")));
  ASSERT_FALSE(page.isNull());
  EXPECT_EQ(page.width(), 331);  // 210 mm at 40 dpi
  // The text box is (40, 40)-(200, 80) at 40 dpi.
  const auto [inside, outside] = DarkPixelsInAndOut(page, QRect(QPoint(38, 38), QPoint(202, 82)));
  EXPECT_GT(inside, 50);
  EXPECT_EQ(outside, 0);
}

TEST_F(QtPrinterBackendTest, PdfFileCarriesPagesOfSeveralFormats) {
  if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
    GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
  TrpQtPrinterBackend backend;
  ASSERT_TRUE(backend.SetCurrentIndex(static_cast<int>(backend.Printers().size()) - 1));
  TempDir dir;
  const QString file = dir.File(QStringLiteral("formats.pdf"));
  QString error;
  std::unique_ptr<TrpPrintJob> job = backend.BeginJob(QStringLiteral("Formats"), file, error);
  ASSERT_TRUE(job) << error.toStdString();
  job->Painter().drawText(100, 100, QStringLiteral("A4"));
  TrpDeviceMode unknown;
  unknown.paperSize = 49;  // no paper has that code
  EXPECT_FALSE(job->NewPage(unknown));
  TrpDeviceMode a5Landscape;
  a5Landscape.paperSize = 11;
  a5Landscape.orientation = 2;
  ASSERT_TRUE(job->NewPage(a5Landscape));
  job->Painter().drawText(100, 100, QStringLiteral("A5"));
  ASSERT_TRUE(job->End(error)) << error.toStdString();

  const std::optional<QByteArray> info = RunTool(
      QStringLiteral("pdfinfo"), {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("3"), file});
  ASSERT_TRUE(info);
  const QString text = QString::fromUtf8(*info);
  EXPECT_TRUE(text.contains(QStringLiteral("Pages:           2"))) << text.toStdString();
  // Whole points: A4 is 595 x 842, A5 across is 595 x 420.
  EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Page +1 size: +595(\\.\\d+)? x 84[12]")))) << text.toStdString();
  EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Page +2 size: +595(\\.\\d+)? x 4(19|20)")))) << text.toStdString();
}

TEST_F(QtPrinterBackendTest, PdfFilePrinterWithoutAFileNameRefusesToStart) {
  TrpQtPrinterBackend backend;
  ASSERT_TRUE(backend.SetCurrentIndex(static_cast<int>(backend.Printers().size()) - 1));
  EXPECT_TRUE(backend.WritesFile());
  QString error;
  EXPECT_FALSE(backend.BeginJob(QStringLiteral("Report"), QString(), error));
  EXPECT_FALSE(error.isEmpty());
}

// The document goes straight into the file's place only when it ends: a job that is
// aborted, or cannot end, leaves the user's file as it was and no temporary file.
TEST_F(QtPrinterBackendTest, PdfFileReplacesTheFileOnlyWhenTheDocumentEnds) {
  TrpPdfOnlyBackend backend;
  TempDir dir;
  const QString file = dir.File(QStringLiteral("report.pdf"));
  WriteAll(file, "the user's old file");
  auto folderHolds = [&dir] { return QDir(dir.Path()).entryList(QDir::Files | QDir::Hidden); };
  QString error;
  {
    std::unique_ptr<TrpPrintJob> job = backend.BeginJob(QStringLiteral("Report"), file, error);
    ASSERT_TRUE(job) << error.toStdString();
    DrawPageText(job->Painter(), QStringLiteral("VELMORA"), QRect(1200, 1200, 4800, 1200));
    job->Abort();
  }
  EXPECT_EQ(ReadAll(file), "the user's old file");
  EXPECT_EQ(folderHolds(), QStringList{QStringLiteral("report.pdf")});
  {
    std::unique_ptr<TrpPrintJob> job = backend.BeginJob(QStringLiteral("Report"), file, error);
    ASSERT_TRUE(job) << error.toStdString();
    DrawPageText(job->Painter(), QStringLiteral("VELMORA"), QRect(1200, 1200, 4800, 1200));
  }  // dropped unfinished, as when the program gives up on it
  EXPECT_EQ(ReadAll(file), "the user's old file");
  EXPECT_EQ(folderHolds(), QStringList{QStringLiteral("report.pdf")});
  {
    std::unique_ptr<TrpPrintJob> job = backend.BeginJob(QStringLiteral("Report"), file, error);
    ASSERT_TRUE(job) << error.toStdString();
    DrawPageText(job->Painter(), QStringLiteral("VELMORA"), QRect(1200, 1200, 4800, 1200));
    ASSERT_TRUE(job->End(error)) << error.toStdString();
  }
  EXPECT_TRUE(ReadAll(file).startsWith("%PDF-"));
  EXPECT_EQ(folderHolds(), QStringList{QStringLiteral("report.pdf")});
  EXPECT_FALSE(backend.Printing());

  // A folder that is not there: the job does not start, and says why.
  const QString nowhere = dir.File(QStringLiteral("gone/report.pdf"));
  EXPECT_FALSE(backend.BeginJob(QStringLiteral("Report"), nowhere, error));
  EXPECT_TRUE(error.contains(QStringLiteral("gone"))) << error.toStdString();
  EXPECT_FALSE(backend.Printing());
}

TEST_F(QtPrinterBackendTest, TheEnginePrinterUsesTheSystemPrinters) {
  rpUseSystemPrinters();
  const QStringList printers = rpPrinter().Printers;
  rpSetPrinterBackend(nullptr);
  ASSERT_GE(printers.size(), 2);
  EXPECT_EQ(printers.mid(printers.size() - 2), (QStringList{QStringLiteral("PDF file"), QStringLiteral("Virtual printer")}));
  EXPECT_EQ(printers.mid(0, printers.size() - 2), QPrinterInfo::availablePrinterNames());
}

TEST_F(QtPrinterBackendTest, ARefusedJobComesBackWithThePrintServersText) {
  TempDir dir;
  const QString file = dir.File(QStringLiteral("job.pdf"));
  WriteAll(file, QByteArray("%PDF-1.4\n%%EOF\n"));
  QString error;
  EXPECT_FALSE(rpSpoolFile(QStringLiteral("velmora-no-such-queue"), file, QStringLiteral("Job"), QStringLiteral("A4"),
                           QString(), error));
  // Whether the server is up or not, its library says why in its own words.
  EXPECT_FALSE(error.isEmpty());
}

// Whether the print server is through with a job (printed, cancelled or aborted, or no
// longer listed); nothing when the server cannot be asked.
std::optional<bool> JobEnded(const char* queue, int jobId) {
  cups_job_t* jobs = nullptr;
  const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue, 0, CUPS_WHICHJOBS_ALL);
  if (count < 0) return std::nullopt;
  bool ended = true;
  for (int i = 0; i < count; ++i)
    if (jobs[i].id == jobId) ended = jobs[i].state >= IPP_JSTATE_CANCELED;
  cupsFreeJobs(count, jobs);
  return ended;
}

// The folder the print server's PDF queue writes the user's jobs into.
QString QueueFolder() {
  const passwd* user = getpwuid(getuid());
  return QString::fromLocal8Bit(user ? user->pw_dir : qgetenv("HOME").constData()) + QStringLiteral("/PDF");
}

TEST_F(QtPrinterBackendTest, PrintServerQueueReceivesThreePagesWithTheirTexts) {
  if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
    GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  TrpQtPrinterBackend backend;
  rpSetPrinterBackend(&backend);
  const int queue = static_cast<int>(rpPrinter().Printers.indexOf(QStringLiteral("PDF")));
  if (queue < 0) {
    GTEST_SKIP() << "no print server with a \"PDF\" queue is reachable; scripts/start-cups.sh starts one";
  }
  const QStringList texts{QStringLiteral("Velmora page one"), QStringLiteral("Velmora page two"),
                          QStringLiteral("Velmora page three")};
  AddRowPage(QStringLiteral("[Text]"), QRect(0, 0, 700, 60), 20);
  rows->SetRangeEndCount(3);
  report.OnGetValue = [this, &texts](const QString& name, TrpValue& value, bool& handled) {
    if (name.compare(QLatin1String("Text"), Qt::CaseInsensitive) != 0) return;
    value = TrpValue(texts.value(rows->RecNo()));
    handled = true;
  };
  report.UseDefaultPrinter = false;
  report.PrinterName = QStringLiteral("PDF");
  ASSERT_TRUE(report.PrepareReport());
  ASSERT_EQ(rpPrinter().PrinterIndex, queue) << "the PDF queue could not tell its settings";
  ASSERT_EQ(report.EMFPages().Count(), 3);

  const QString title = QStringLiteral("velmora-print-test-%1-%2")
                            .arg(QCoreApplication::applicationPid())
                            .arg(QDateTime::currentMSecsSinceEpoch());
  report.SetTitle(title);
  report.PrintPreparedReport(QString(), 1, true, TrpPageParity::All);

  // The queue writes the file while the server processes the job: follow the job until
  // the server is through with it, then read the file once. The bound only guards against
  // a server that hangs, far beyond what any machine takes.
  const int jobId = backend.SpooledJobId();
  ASSERT_NE(jobId, 0);
  const QDeadlineTimer safetyNet(std::chrono::minutes(10));
  for (;;) {
    const std::optional<bool> ended = JobEnded("PDF", jobId);
    ASSERT_TRUE(ended) << "the print server could not tell the state of job " << jobId << ": "
                       << cupsLastErrorString();
    if (*ended) break;
    ASSERT_FALSE(safetyNet.hasExpired()) << "job " << jobId << " is still in the queue";
    QTest::qWait(50);  // between two questions to the server
  }
  const QDir folder(QueueFolder());
  const QStringList files = folder.entryList({title + QStringLiteral("*.pdf")}, QDir::Files);
  ASSERT_FALSE(files.isEmpty()) << "no file of the job in " << folder.path().toStdString();
  const QString found = folder.filePath(files.front());
  const std::optional<QByteArray> text = RunTool(QStringLiteral("pdftotext"), {found, QStringLiteral("-")});
  QFile::remove(found);
  ASSERT_TRUE(text) << "pdftotext could not read " << found.toStdString();
  const QStringList pages = QString::fromUtf8(*text).split(u'\f', Qt::SkipEmptyParts);
  ASSERT_EQ(pages.size(), texts.size());
  for (qsizetype i = 0; i < texts.size(); ++i) EXPECT_EQ(pages[i].simplified(), texts[i]) << "page " << i + 1;
}

}  // namespace
