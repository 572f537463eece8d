// Cross-tab totals: a row's total over its columns in the cross footer, and per-column
// totals in a footer row under the columns.
#include "PageBuildFixture.h"
#include "report/engine/RP_PageBuild.h"

namespace {

class CrossTabTotalsTest : public PageBuildTest {
protected:
  // Two rows (ROW 1 and 2) over three columns (COL 1 to 3): cell ROW*COL, then the
  // row's total in the cross footer, and a master footer row under the columns.
  void SetUp() override {
    PageBuildTest::SetUp();
    SetRows(2);
    TrpUserDataset* columns = AddDataset(QStringLiteral("Cols"));
    columns->SetRangeEndCount(3);
    NumberRecordsAs(QStringLiteral("COL"), columns);
  }
  void AddCrossTab(const QString& rowTotal, const QString& columnTotal) {
    AddBand(rpBand::MasterData, "Data", 0, 20, 0, "Rows");
    AddBand(rpBand::MasterFooter, "End", 50, 20);
    AddBand(rpBand::CrossHeader, "Names", 0, 900)->SetGeometry(0, 0, 100, 900);
    AddBand(rpBand::CrossData, "Columns", 0, 900, 0, "Cols")->SetGeometry(100, 0, 80, 900);
    AddBand(rpBand::CrossFooter, "Totals", 0, 900)->SetGeometry(180, 0, 100, 900);
    AddText("Name", 0, 20, "row [ROW]");
    AddText("Cell", 0, 20, "[ROW*COL]", 100)->Width = 80;
    AddText("RowTotal", 0, 20, rowTotal, 180);
    AddText("ColTotal", 50, 20, columnTotal, 100)->Width = 80;
  }
};

TEST_F(CrossTabTotalsTest, CrossFooterTotalsEachRowAndFooterCellsEachColumn) {
  struct Case {
    const char* rowTotal;
    const char* columnTotal;
    QStringList rowTotals;     // per row
    QStringList columnTotals;  // per column
  };
  const std::vector<Case> cases = {
      {"[SUM(ROW*COL)]", "[SUM(ROW*COL)]", {"6", "12"}, {"3", "6", "9"}},
      {"[MAX(ROW*COL)]", "[MIN(ROW*COL)]", {"3", "6"}, {"1", "2", "3"}},
      {"[AVG(ROW*COL)]", "[MAX(ROW*COL)]", {"2", "4"}, {"2", "4", "6"}},
      {"[COUNT(Columns)]", "[COUNT(Data)]", {"3", "3"}, {"2", "2", "2"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rowTotal);
    page->Clear();
    sink.pages.clear();
    AddCrossTab(QString::fromUtf8(c.rowTotal), QString::fromUtf8(c.columnTotal));
    QStringList expected;
    for (int row = 1; row <= 2; ++row) {
      const int y = (row - 1) * 20;
      expected << QStringLiteral("1: Name 0,%1,100,20 row %2").arg(y).arg(row);
      for (int col = 1; col <= 3; ++col)
        expected << QStringLiteral("1: Cell %1,%2,80,20 %3").arg(20 + 80 * col).arg(y).arg(row * col);
      expected << QStringLiteral("1: RowTotal 340,%1,100,20 %2").arg(y).arg(c.rowTotals[row - 1]);
    }
    for (int col = 1; col <= 3; ++col)
      expected << QStringLiteral("1: ColTotal %1,40,80,20 %2").arg(20 + 80 * col).arg(c.columnTotals[col - 1]);
    TrpReportBuild build(report, sink, &owner);
    build.BuildPages();
    EXPECT_TRUE(build.CalcErrors.isEmpty()) << build.CalcErrors.join(u'\n').toStdString();
    EXPECT_EQ(Read(), expected);
  }
}

}  // namespace
