// A list of N rows of 6 columns from data to a finished PDF file: through the report
// component (build of the prepared pages, then printing them to the "PDF file"
// printer), beside (a) the same rows laid out by hand with QPainter on QPdfWriter and
// (b) a QTextDocument table printed to QPdfWriter, on the same A4 pages. The report
// should stay within 2x of (a), far ahead of (b), and grow linearly with N. Peak memory
// is the process's (peak_rss_MB): run one case at a time (--benchmark_filter) to read
// it per case.
#include "platform/ProcessHeap.h"
#include "report/engine/RP_BandView.h"
#include "report/engine/RP_Class.h"
#include "report/engine/RP_DSet.h"
#include "report/engine/RP_Globals.h"
#include "report/engine/RP_MemoView.h"
#include "report/engine/RP_Printer.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <sys/resource.h>

#include <algorithm>
#include <vector>

#include <benchmark/benchmark.h>

namespace {

constexpr int kColumns = 6;
constexpr int kRowHeight = 18;  // report units, about 5 mm
constexpr int kColumnWidth = 120;

// The cell texts: a row number, a title, two dates, a category and a state.
QString Cell(int row, int column) {
  switch (column) {
    case 0: return QString::number(row + 1);
    case 1: return QStringLiteral("Task number %1 of the list").arg(row + 1);
    case 2: return QStringLiteral("2024-03-%1").arg(row % 28 + 1, 2, 10, QLatin1Char('0'));
    case 3: return QStringLiteral("2024-04-%1").arg(row % 28 + 1, 2, 10, QLatin1Char('0'));
    case 4: return QStringLiteral("Category %1").arg(row % 7);
    default: return row % 3 ? QStringLiteral("open") : QStringLiteral("done");
  }
}

void ReportPeak(benchmark::State& state) {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

QString PdfFile(const QTemporaryDir& dir) { return dir.filePath(QStringLiteral("list.pdf")); }

void BM_ReportToPdf(benchmark::State& state) {
  const int rowCount = static_cast<int>(state.range(0));
  QTemporaryDir dir;
  QObject owner;
  TrpReport report(&owner);
  report.SetShowProgress(false);
  auto* rows = new TrpUserDataset(&owner);  // owned by owner
  rows->setObjectName(QStringLiteral("Rows"));
  rows->SetRangeEnd(reCount);
  rows->SetRangeEndCount(rowCount);
  TrpPage* page = report.AddPage();
  page->MarginLeft = page->MarginTop = page->MarginRight = page->MarginBottom = 36;
  auto* band = static_cast<TrpBandView*>(page->Add(std::make_unique<TrpBandView>()));
  band->SetBandType(rpBand::MasterData);
  band->SetGeometry(0, 40, 720, kRowHeight);
  band->FormatPattern = QStringLiteral("Rows");
  for (int c = 0; c < kColumns; ++c) {
    auto* memo = static_cast<TrpMemoView*>(page->Add(std::make_unique<TrpMemoView>()));
    memo->SetGeometry(36 + c * kColumnWidth, 40, kColumnWidth, kRowHeight);
    memo->Memo = QStringList{QStringLiteral("[C%1]").arg(c + 1)};
  }
  report.OnGetValue = [rows](const QString& name, TrpValue& value, bool& handled) {
    if (name.size() != 2 || name[0].toUpper() != u'C') return;
    value = TrpValue(Cell(rows->RecNo(), name[1].digitValue() - 1));
    handled = true;
  };
  report.PrintFileName = PdfFile(dir);
  for (auto _ : state) {
    if (!report.PrepareReport()) state.SkipWithError("the build failed");
    report.PrintPreparedReport(QString(), 1, true, TrpPageParity::All);
  }
  state.counters["pages"] = report.EMFPages().Count();
  state.SetComplexityN(rowCount);
  ReportPeak(state);
}

// The same page geometry in the writer's pixels: A4 at 1200 dpi with the report's
// 36-unit margins, rows of 18 units, and the text at the size the report prints its
// 10-point memos (10 points of a 96-dpi canvas in units of 1/91.6 inch).
void BM_QPainterToPdf(benchmark::State& state) {
  const int rowCount = static_cast<int>(state.range(0));
  QTemporaryDir dir;
  for (auto _ : state) {
    QPdfWriter writer(PdfFile(dir));
    writer.setResolution(1200);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    const double px = 1200 / 91.6256157635468;
    const int rowPx = qRound(kRowHeight * px), colPx = qRound(kColumnWidth * px);
    const int top = qRound(40 * px), left = qRound(36 * px), bottom = writer.height() - qRound(36 * px);
    QPainter painter(&writer);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(qRound(10 * 96 / 72.0 * px));
    painter.setFont(font);
    int y = top;
    for (int r = 0; r < rowCount; ++r) {
      if (y + rowPx > bottom) {
        writer.newPage();
        y = top;
      }
      for (int c = 0; c < kColumns; ++c)
        painter.drawText(QRect(left + c * colPx, y, colPx, rowPx), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                         Cell(r, c));
      y += rowPx;
    }
  }
  state.SetComplexityN(rowCount);
  ReportPeak(state);
}

void BM_TextDocumentToPdf(benchmark::State& state) {
  const int rowCount = static_cast<int>(state.range(0));
  QTemporaryDir dir;
  for (auto _ : state) {
    QTextDocument document;
    document.setUndoRedoEnabled(false);  // nothing to undo: the table is built once
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(10 * 96 / 91.6256157635468);
    document.setDefaultFont(font);
    QTextCursor cursor(&document);
    QTextTableFormat format;
    format.setBorder(0);
    format.setCellPadding(0);
    // One edit block: the document is laid out once when printed, not after each cell.
    cursor.beginEditBlock();
    QTextTable* table = cursor.insertTable(rowCount, kColumns, format);
    for (int r = 0; r < rowCount; ++r)
      for (int c = 0; c < kColumns; ++c) table->cellAt(r, c).firstCursorPosition().insertText(Cell(r, c));
    cursor.endEditBlock();
    QPdfWriter writer(PdfFile(dir));
    writer.setResolution(1200);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    document.print(&writer);
  }
  state.SetComplexityN(rowCount);
  ReportPeak(state);
}

}  // namespace

// Each case runs three times and the fastest run counts, so that a busy moment of the
// machine falls on one run rather than on one side of the comparison.
static double Fastest(const std::vector<double>& runs) { return *std::min_element(runs.begin(), runs.end()); }

BENCHMARK(BM_ReportToPdf)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond)->Iterations(1)
    ->Repetitions(3)->ComputeStatistics("min", Fastest)->DisplayAggregatesOnly(true)->Complexity(benchmark::oN);
BENCHMARK(BM_QPainterToPdf)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond)->Iterations(1)
    ->Repetitions(3)->ComputeStatistics("min", Fastest)->DisplayAggregatesOnly(true)->Complexity(benchmark::oN);
// 100,000 rows take the text document minutes: 1k and 10k only.
BENCHMARK(BM_TextDocumentToPdf)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1)
    ->Repetitions(3)->ComputeStatistics("min", Fastest)->DisplayAggregatesOnly(true);

// Fonts, the PDF writer and the text layout are made ready once before any case, so the
// first case measured does not pay for the whole program's start.
static void WarmUp() {
  QBuffer file;
  file.open(QIODevice::WriteOnly);
  QPdfWriter writer(&file);
  QFont font(QStringLiteral("Arial"));
  font.setPointSize(10);
  {
    QPainter painter(&writer);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, 2000, 400), Qt::TextWordWrap, Cell(0, 1));
  }
  QTextDocument document;
  document.setDefaultFont(font);
  document.setPlainText(Cell(0, 1));
  QBuffer other;
  other.open(QIODevice::WriteOnly);
  QPdfWriter again(&other);
  document.print(&again);
}

int main(int argc, char** argv) {
  KeepLargeFreedBlocksForReuse();  // as the program does at its start; every side runs under it
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
  QGuiApplication app(argc, argv);
  WarmUp();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
