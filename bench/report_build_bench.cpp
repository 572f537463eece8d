// Building the prepared pages of a task list: six columns with one memo per cell, a
// page header with the column titles and a page footer with "Page [PAGE#]", at 1k, 10k
// and 100k records (50 records a page). Beside it the same pages laid by hand: the same
// texts drawn with QPainter at the same places into one QPicture per page. Both sides
// ask the same function for the cell texts. items_per_second is records per second and
// should not fall as the count grows (page building is linear); the first run of a count
// also pays for the fresh memory its pages take, so compare repetitions
// (--benchmark_repetitions=2) at 100k. Counters: the bytes the prepared pages hold, the
// resident set after the build and its peak so far (run one count alone for a clean
// peak). The ratios of the two sides are printed at the end.
#include "platform/ProcessHeap.h"
#include "report/engine/RP_BandView.h"
#include "report/engine/RP_Class.h"
#include "report/engine/RP_DSet.h"
#include "report/engine/RP_EMFPages.h"
#include "report/engine/RP_Globals.h"
#include "report/engine/RP_MemoView.h"
#include "report/engine/RP_PageBuild.h"
#include "report/engine/RP_Graphics.h"
#include "report/engine/RP_TextMeasurer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPicture>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <malloc.h>
#include <map>
#include <memory>
#include <vector>

namespace {

constexpr int kColumns = 6;
constexpr int kColumnLeft[kColumns] = {0, 60, 340, 440, 560, 660};
constexpr int kColumnWidth[kColumns] = {60, 280, 100, 120, 100, 90};
const char* const kTitles[kColumns] = {"No", "Task", "Priority", "Due", "Category", "Done"};
constexpr int kHeaderHeight = 30, kRowHeight = 20, kFooterHeight = 30;
// A4 with no margins: 756 x 1069 units; 50 rows between header and footer.
constexpr int kPaperWidth = 2100, kPaperHeight = 2970;

QString CellText(int record, int column) {
  static const char* const priorities[] = {"Low", "Normal", "High"};
  static const char* const categories[] = {"Home", "Work", "Errands", "Health"};
  switch (column) {
    case 0:
      return QString::number(record + 1);
    case 1:
      return QStringLiteral("Task number %1 of the weekly list").arg(record + 1);
    case 2:
      return QString::fromLatin1(priorities[record % 3]);
    case 3:
      return QStringLiteral("%1/%2/2026").arg(record % 12 + 1).arg(record % 28 + 1);
    case 4:
      return QString::fromLatin1(categories[record % 4]);
    default:
      return QStringLiteral("%1%").arg(record * 7 % 101);
  }
}

double MegaBytes(const char* field) {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith(field))
      return line.mid(static_cast<int>(qstrlen(field))).trimmed().split(' ').value(0).toDouble() / 1024;
  }
  return 0;
}

// Milliseconds per build, by side and record count, for the ratios at the end.
std::map<int64_t, double> g_buildMs, g_stretchedMs, g_pictureMs;

class TaskListForm {
public:
  TaskListForm(int records, bool stretched) {
    rows_ = new TrpUserDataset(&owner_);  // owned by owner_
    rows_->setObjectName(QStringLiteral("Tasks"));
    rows_->SetRangeEnd(reCount);
    rows_->SetRangeEndCount(records);
    TrpPage* page = report.AddPage();
    page->UseMargins = 0;
    page->PaperWidth = kPaperWidth;
    page->PaperHeight = kPaperHeight;
    const int footerTop = 200;
    AddBand(*page, rpBand::PageHeader, 0, kHeaderHeight, rpBandFlag::OnFirstPage, {});
    AddBand(*page, rpBand::MasterData, 50, kRowHeight, stretched ? rpBandFlag::Stretched : 0, QStringLiteral("Tasks"));
    AddBand(*page, rpBand::PageFooter, footerTop, kFooterHeight, rpBandFlag::OnFirstPage | rpBandFlag::OnLastPage,
            {});
    for (int c = 0; c < kColumns; ++c) {
      AddMemo(*page, QStringLiteral("Title%1").arg(c), c, 5, QString::fromLatin1(kTitles[c]));
      AddMemo(*page, QStringLiteral("Cell%1").arg(c), c, 50, QStringLiteral("[C%1]").arg(c));
    }
    AddMemo(*page, QStringLiteral("PageNo"), 5, footerTop + 5, QStringLiteral("Page [PAGE#]"));
    rpGlobals().Parser().OnGetValue = [this](const QString& name, TrpValue& value) {
      const int column = name.size() == 2 && name[0].toUpper() == u'C' ? name[1].unicode() - u'0' : -1;
      if (column >= 0 && column < kColumns)
        value = TrpValue(CellText(rows_->RecNo(), column));
      else
        rpGlobals().DefaultGetValue(name, value);
    };
  }
  ~TaskListForm() { rpGlobals().Parser().OnGetValue = nullptr; }

  TrpReport report;
  QObject owner_;

private:
  static void AddBand(TrpPage& page, int type, int top, int height, int flags, const QString& source) {
    auto* band = static_cast<TrpBandView*>(page.Add(std::make_unique<TrpBandView>()));
    band->SetBandType(type);
    band->SetGeometry(0, top, 756, height);
    band->Flags = static_cast<uint16_t>(flags);
    band->FormatPattern = source;
  }
  static void AddMemo(TrpPage& page, const QString& name, int column, int top, const QString& text) {
    auto* memo = static_cast<TrpMemoView*>(page.Add(std::make_unique<TrpMemoView>()));
    memo->Name = name;
    memo->SetGeometry(kColumnLeft[column], top, kColumnWidth[column], kRowHeight);
    memo->Memo = QStringList{text};
  }

  TrpUserDataset* rows_ = nullptr;
};

void BM_BuildPreparedPages(benchmark::State& state) {
  const int records = static_cast<int>(state.range(0));
  const bool stretched = state.range(1) != 0;
  TaskListForm form(records, stretched);
  double totalMs = 0, bytes = 0, rss = 0;
  int pageCount = 0;
  for (auto _ : state) {
    TrpEMFPages pages(&form.report);
    QElapsedTimer timer;
    timer.start();
    TrpReportBuild build(form.report, pages, &form.owner_);
    build.BuildPages();
    totalMs += timer.nsecsElapsed() / 1e6;
    pageCount = pages.Count();
    bytes = 0;
    for (int i = 0; i < pages.Count(); ++i) bytes += pages.Pages(i).Bytes.size();
    rss = MegaBytes("VmRSS:");
    benchmark::DoNotOptimize(pageCount);
  }
  (stretched ? g_stretchedMs : g_buildMs)[records] = totalMs / static_cast<double>(state.iterations());
  state.counters["pages"] = pageCount;
  state.counters["prepared_MB"] = bytes / (1024 * 1024);
  state.counters["rss_MB"] = rss;
  state.counters["peak_rss_MB"] = MegaBytes("VmHWM:");
  state.SetItemsProcessed(state.iterations() * records);
}

// The same pages by hand: header titles, each row's six texts, the footer, one QPicture
// a page.
void BM_HandLaidPictures(benchmark::State& state) {
  const int records = static_cast<int>(state.range(0));
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(rpMeasuringPixelHeight(10));
  const int bottom = rpRound(kPaperHeight / 10.0 * 18.0 / 5.0) - kFooterHeight;
  double totalMs = 0;
  int pageCount = 0;
  for (auto _ : state) {
    QElapsedTimer timer;
    timer.start();
    std::vector<std::unique_ptr<QPicture>> pages;
    QPainter painter;
    int y = bottom;
    auto finishPage = [&] {
      painter.drawText(QPointF(5, bottom + 5 + 10), QStringLiteral("Page %1").arg(pages.size()));
      painter.end();
    };
    for (int record = 0; record < records; ++record) {
      if (y + kRowHeight > bottom) {
        if (painter.isActive()) finishPage();
        pages.push_back(std::make_unique<QPicture>());
        painter.begin(pages.back().get());
        painter.setFont(font);
        for (int c = 0; c < kColumns; ++c)
          painter.drawText(QPointF(kColumnLeft[c] + 2, 5 + 10), QString::fromLatin1(kTitles[c]));
        y = kHeaderHeight;
      }
      for (int c = 0; c < kColumns; ++c) painter.drawText(QPointF(kColumnLeft[c] + 2, y + 10), CellText(record, c));
      y += kRowHeight;
    }
    if (painter.isActive()) finishPage();
    totalMs += timer.nsecsElapsed() / 1e6;
    pageCount = static_cast<int>(pages.size());
    benchmark::DoNotOptimize(pageCount);
  }
  g_pictureMs[records] = totalMs / static_cast<double>(state.iterations());
  state.counters["pages"] = pageCount;
  state.SetItemsProcessed(state.iterations() * records);
}

void Counts(benchmark::internal::Benchmark* b) {
  b->ArgName("records");
  for (int64_t count : {1000, 10000, 100000}) b->Arg(count);
  b->Unit(benchmark::kMillisecond);
}

// stretched: the data band grows with its memos, so each cell is measured (expanded and
// wrapped with the real font) before it is written.
void BuildCounts(benchmark::internal::Benchmark* b) {
  b->ArgNames({"records", "stretched"});
  for (int stretched = 0; stretched < 2; ++stretched) {
    for (int64_t count : {1000, 10000, 100000}) b->Args({count, stretched});
  }
  b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_BuildPreparedPages)->Apply(BuildCounts);
BENCHMARK(BM_HandLaidPictures)->Apply(Counts);

}  // namespace

int main(int argc, char** argv) {
  KeepLargeFreedBlocksForReuse();  // as the program does at its start; every side runs under it
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
  QGuiApplication app(argc, argv);
  // Memory freed by one run stays with the process for the next, so the repetitions
  // measure the work and not the kernel handing out fresh pages (the first run of each
  // count still pays for them).
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  mallopt(M_MMAP_THRESHOLD, 1 << 30);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  for (const auto& [records, pictureMs] : g_pictureMs) {
    if (pictureMs <= 0) continue;
    for (const auto* side : {&g_buildMs, &g_stretchedMs}) {
      const auto build = side->find(records);
      if (build == side->end()) continue;
      std::printf("records %lld: prepared pages%s %.1f ms, hand-laid pictures %.1f ms, ratio %.2f\n",
                  static_cast<long long>(records), side == &g_stretchedMs ? " (stretched)" : "", build->second,
                  pictureMs, build->second / pictureMs);
    }
  }
  return 0;
}
