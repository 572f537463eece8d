// A small task list over 25 records built into prepared pages and compared, as a
// readable dump, with golden/task-list-25.txt: title, page header, weekly groups with
// their totals, highlighted rows, page footers with the page number and the summary.
// Bands do not stretch, so no font metric decides where a page breaks.
//
// After a deliberate change of the output, rewrite the expected file with
//   VELMORA_UPDATE_GOLDEN=1 build/tests/report/test_report --gtest_filter='GoldenPages*'
// and read its diff before committing it.
#include "BandFormFixture.h"
#include "PreparedPagesDump.h"
#include "report/engine/RP_BandView.h"
#include "report/engine/RP_EMFPages.h"
#include "report/engine/RP_MemoView.h"
#include "report/engine/RP_PageBuild.h"

#include <QFile>
#include <memory>

namespace {

class GoldenPagesTest : public BandFormTest {
protected:
  void SetUp() override {
    BandFormTest::SetUp();
    page->PaperHeight = 1000;  // 360 units
    rows->SetRangeEndCount(25);
    // ROW counts from 1; a week holds seven tasks.
    rpGlobals().Parser().OnGetValue = [this](const QString& name, TrpValue& value) {
      const QString upper = name.toUpper();
      if (upper == QLatin1String("ROW"))
        value = TrpValue(rows->RecNo() + 1);
      else if (upper == QLatin1String("WEEK"))
        value = TrpValue(rows->RecNo() / 7 + 1);
      else
        rpGlobals().DefaultGetValue(name, value);
    };
  }

  TrpMemoView* AddMemo(const QString& name, int left, int top, int width, const QString& text) {
    auto* memo = static_cast<TrpMemoView*>(page->Add(std::make_unique<TrpMemoView>()));
    memo->Name = name;
    memo->SetGeometry(left, top, width, 20);
    memo->Memo = QStringList{text};
    return memo;
  }
};

TEST_F(GoldenPagesTest, TaskListOverTwentyFiveRecords) {
  using namespace rpBandFlag;
  AddBand(rpBand::ReportTitle, "Title", 0, 30);
  AddMemo("Caption", 0, 5, 400, "Tasks by week");
  AddBand(rpBand::PageHeader, "Head", 40, 20, OnFirstPage);
  AddMemo("HeadNo", 0, 40, 60, "No");
  AddMemo("HeadTask", 60, 40, 300, "Task");
  AddBand(rpBand::GroupHeader, "Week", 70, 20, 0, "[WEEK]");
  AddMemo("WeekName", 0, 70, 200, "Week [WEEK]");
  AddBand(rpBand::MasterData, "Data", 100, 20, 0, "Rows");
  AddMemo("No", 0, 100, 60, "[LINE#]");
  TrpMemoView* task = AddMemo("Task", 60, 100, 300, "Task [ROW]");
  task->HighlightCondition = QStringLiteral("ROW mod 5 = 0");
  task->HighlightFill = 0x00FF00;
  AddBand(rpBand::GroupFooter, "WeekEnd", 130, 20);
  AddMemo("WeekTotal", 60, 130, 300, "[COUNT(Data)] tasks, last [MAX(ROW)]");
  AddBand(rpBand::ReportSummary, "Summary", 160, 30);
  AddMemo("Total", 0, 165, 400, "[COUNT(Data)] tasks in all");
  AddBand(rpBand::PageFooter, "Foot", 200, 20, OnFirstPage | OnLastPage);
  AddMemo("PageNo", 600, 200, 100, "Page [PAGE#]");

  TrpEMFPages pages(&report);
  TrpReportBuild build(report, pages, &owner);
  build.BuildPages();
  ASSERT_TRUE(build.CalcErrors.isEmpty()) << build.CalcErrors.join(u'\n').toStdString();
  const QString actual = rpDumpPreparedPages(pages);

  QFile file(QStringLiteral(VELMORA_REPORT_GOLDEN "/task-list-25.txt"));
  if (qEnvironmentVariableIsSet("VELMORA_UPDATE_GOLDEN")) {
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(actual.toUtf8());
    GTEST_SKIP() << "rewrote " << file.fileName().toStdString();
  }
  ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
  const QStringList expected = QString::fromUtf8(file.readAll()).split(u'\n');
  const QStringList lines = actual.split(u'\n');
  for (qsizetype i = 0; i < std::max(expected.size(), lines.size()); ++i)
    EXPECT_EQ(lines.value(i), expected.value(i)) << "line " << i + 1;
}

}  // namespace
