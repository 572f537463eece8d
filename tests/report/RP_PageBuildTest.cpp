// Band generation over a user data set into in-memory pages, read back as a dump of
// "page: name x,y,w,h text" lines.
#include "PageBuildFixture.h"
#include "report/engine/RP_BandView.h"
#include "report/engine/RP_DSet.h"
#include "report/engine/RP_PageBuild.h"
#include "report/engine/RP_SubReportView.h"

#include <QBuffer>
#include <QRegularExpression>
#include <memory>

namespace {

using rpBandFlag::OnFirstPage, rpBandFlag::OnLastPage;

TEST_F(PageBuildTest, OnePageWithHeaderMasterDataAndFooter) {
  AddBand(rpBand::PageHeader, "Header", 0, 40, OnFirstPage);
  AddText("Title", 10, 20, "Tasks");
  AddBand(rpBand::MasterData, "Data", 50, 30, 0, "Rows");
  AddText("Cell", 55, 20, "Row [ROW] line [LINE#]");
  AddBand(rpBand::PageFooter, "Footer", 200, 50, OnFirstPage | OnLastPage);
  AddText("PageNo", 210, 20, "Page [PAGE#]");
  EXPECT_EQ(Build(), (QStringList{"1: Title 0,10,100,20 Tasks", "1: Cell 0,45,100,20 Row 1 line 1",
                                  "1: Cell 0,75,100,20 Row 2 line 2", "1: Cell 0,105,100,20 Row 3 line 3",
                                  "1: PageNo 0,860,100,20 Page 1"}));
}

TEST_F(PageBuildTest, DataOverflowingAPageStartsNewPagesWithHeaderAndFooter) {
  // 900 units less a footer of 100: below a header of 100, seven rows of 100 fit.
  SetRows(10);
  AddBand(rpBand::PageHeader, "Header", 0, 100, 0);  // not on the first page
  AddText("Title", 0, 20, "Head [PAGE#]");
  AddBand(rpBand::MasterData, "Data", 100, 100, 0, "Rows");
  AddText("Cell", 110, 20, "[ROW]");                            // at 100 it would lie on the header's bottom line
  AddBand(rpBand::PageFooter, "Footer", 300, 100, OnLastPage);  // not on the first page
  AddText("PageNo", 300, 20, "Foot [PAGE#]");
  const QStringList dump = Build();
  ASSERT_EQ(sink.Count(), 2);
  QStringList expected;
  for (int row = 1; row <= 8; ++row)
    expected << QStringLiteral("1: Cell 0,%1,100,20 %2").arg((row - 1) * 100 + 10).arg(row);
  expected << "2: Title 0,0,100,20 Head 2"
           << "2: Cell 0,110,100,20 9"
           << "2: Cell 0,210,100,20 10"
           << "2: PageNo 0,800,100,20 Foot 2";
  EXPECT_EQ(dump, expected);
}

TEST_F(PageBuildTest, EmptyDataSetStillFormsThePageAndNoRecordPrints) {
  SetRows(0);
  AddBand(rpBand::MasterData, "Data", 0, 30, 0, "Rows");
  AddText("Cell", 0, 20, "[ROW]");
  AddBand(rpBand::MasterFooter, "Total", 100, 30);
  AddText("Sum", 100, 20, "n=[COUNT(Data)]");
  EXPECT_EQ(Build(), (QStringList{"1: Sum 0,0,100,20 n=0"}));
}

TEST_F(PageBuildTest, GroupsPrintHeadersAndFootersWithLineNumbersAndTotals) {
  SetRows(5);
  groups = {"A", "A", "B", "B", "B"};
  values = {1, 2, -5, -3, -4};
  AddBand(rpBand::GroupHeader, "GroupHead", 0, 20, 0, "[GRP]");
  AddText("Key", 0, 20, "[GRP] #[LINE#]");
  AddBand(rpBand::MasterData, "Data", 30, 20, 0, "Rows");
  AddText("Cell", 30, 20, "[ROW] line [LINE#]");
  AddBand(rpBand::GroupFooter, "GroupFoot", 60, 20);
  AddText("Total", 60, 20, "sum [SUM(ROW)] max [MAX(ROW)]");
  EXPECT_EQ(Build(),
            (QStringList{"1: Key 0,0,100,20 A #1", "1: Cell 0,20,100,20 1 line 1", "1: Cell 0,40,100,20 2 line 2",
                         "1: Total 0,60,100,20 sum 3 max 2", "1: Key 0,80,100,20 B #2",
                         "1: Cell 0,100,100,20 -5 line 1", "1: Cell 0,120,100,20 -3 line 2",
                         "1: Cell 0,140,100,20 -4 line 3", "1: Total 0,160,100,20 sum -12 max -3"}));
}

TEST_F(PageBuildTest, ChildBandFollowsEachRecord) {
  SetRows(2);
  AddBand(rpBand::MasterData, "Data", 0, 20, 0, "Rows")->ChildBand = "Notes";
  AddText("Cell", 0, 20, "[ROW]");
  AddBand(rpBand::Child, "Notes", 50, 10);
  AddText("Note", 50, 10, "note [ROW]");
  EXPECT_EQ(Build(), (QStringList{"1: Cell 0,0,100,20 1", "1: Note 0,20,100,10 note 1", "1: Cell 0,30,100,20 2",
                                  "1: Note 0,50,100,10 note 2"}));
}

TEST_F(PageBuildTest, StretchedBandGrowsToItsTallestObject) {
  SetRows(2);
  AddBand(rpBand::MasterData, "Data", 0, 30, rpBandFlag::Stretched, "Rows");
  auto* text = AddText<StretchView>("Text", 5, 20, "[ROW]");
  text->Flags = 1;  // stretched
  text->content = 100;
  AddText("Side", 0, 10, "side [ROW]", 200);
  // The stretched object follows the band's measured height (5 + 100).
  EXPECT_EQ(Build(), (QStringList{"1: Text 0,5,100,100 1", "1: Side 200,0,100,10 side 1", "1: Text 0,110,100,100 2",
                                  "1: Side 200,105,100,10 side 2"}));
}

TEST_F(PageBuildTest, ColumnsFillDownThenAcross) {
  SetRows(7);
  page->Columns = 3;
  page->ColumnGap = 20;     // width (720 - 40) / 3 = 226
  page->PaperHeight = 833;  // 300 units: three rows of 100 per column
  AddBand(rpBand::MasterData, "Data", 0, 100, 0, "Rows");
  AddText("Cell", 0, 20, "[ROW] col [COLUMN#]");
  const QStringList dump = Build();
  EXPECT_EQ(dump,
            (QStringList{"1: Cell 0,0,100,20 1 col 1", "1: Cell 0,100,100,20 2 col 1", "1: Cell 0,200,100,20 3 col 1",
                         "1: Cell 246,0,100,20 4 col 2", "1: Cell 246,100,100,20 5 col 2",
                         "1: Cell 246,200,100,20 6 col 2", "1: Cell 492,0,100,20 7 col 3"}));
}

TEST_F(PageBuildTest, FormNewPageGivesEachRecordItsPage) {
  AddBand(rpBand::MasterData, "Data", 0, 20, rpBandFlag::FormNewPage, "Rows");
  AddText("Cell", 0, 20, "[ROW] on [PAGE#]");
  EXPECT_EQ(Build(),
            (QStringList{"1: Cell 0,0,100,20 1 on 1", "2: Cell 0,0,100,20 2 on 2", "3: Cell 0,0,100,20 3 on 3"}));
}

TEST_F(PageBuildTest, TwoPassesKnowTheTotalPages) {
  report.TwoPass = true;
  AddBand(rpBand::MasterData, "Data", 0, 20, rpBandFlag::FormNewPage, "Rows");
  AddText("Cell", 0, 20, "[PAGE#] of [TOTALPAGES]");
  EXPECT_EQ(Build(),
            (QStringList{"1: Cell 0,0,100,20 1 of 3", "2: Cell 0,0,100,20 2 of 3", "3: Cell 0,0,100,20 3 of 3"}));
}

TEST_F(PageBuildTest, BreakableBandSplitsItsStretchedTextAcrossPages) {
  SetRows(1);
  AddBand(rpBand::MasterData, "Data", 0, 30, rpBandFlag::Stretched | rpBandFlag::Breaked, "Rows");
  auto* text = AddText<StretchView>("Text", 0, 20, "long");
  text->Flags = 1;
  text->content = 1500;
  AddText("After", 10, 10, "below");  // starts on the first page
  // Usable 900 - 2: the text is cut at 898, the rest (602) continues on page 2.
  EXPECT_EQ(Build(),
            (QStringList{"1: Text 0,0,100,898 long", "1: After 0,10,100,10 below", "2: Text 0,0,100,602 long"}));
}

// Frames stretched to a stretched band's height close around each page's piece of it
// when the band is split, and reach the band's height when it fits.
TEST_F(PageBuildTest, FramesOfASplitBandFollowEachPiece) {
  struct Case {
    const char* name;
    int content;
    QStringList expected;
  };
  const Case cases[] = {
      {"fits", 100, {"1: Text 0,0,100,100 long", "1: Frame 100,0,100,100 ", "1: Line 200,10,100,90 "}},
      // Usable 900 - 2: the text is cut at 898, the rest (602) continues on page 2.
      {"split",
       1500,
       {"1: Text 0,0,100,898 long", "1: Frame 100,0,100,898 ", "1: Line 200,10,100,888 ", "2: Text 0,0,100,602 long",
        "2: Frame 100,0,100,602 ", "2: Line 200,0,100,602 "}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    page->Clear();
    sink.pages.clear();
    SetRows(1);
    AddBand(rpBand::MasterData, "Data", 0, 30, rpBandFlag::Stretched | rpBandFlag::Breaked, "Rows");
    auto* text = AddText<StretchView>("Text", 0, 20, "long");
    text->Flags = 1;
    text->content = c.content;
    AddText("Frame", 0, 30, "", 100)->Flags = 1;
    AddText("Line", 10, 20, "", 200)->Flags = 1;
    EXPECT_EQ(Build(), c.expected);
  }
}

// Neither a band taller than a page nor an object taller than a page takes pages for
// ever: each is printed clipped on a fresh page.
TEST_F(PageBuildTest, TooTallBandsAndObjectsEndOnAFreshPage) {
  struct Case {
    const char* name;
    int flags;
  };
  for (const Case& c : {Case{"plain band", 0}, Case{"breakable band", rpBandFlag::Breaked}}) {
    SCOPED_TRACE(c.name);
    page->Clear();
    sink.pages.clear();
    SetRows(2);
    AddBand(rpBand::PageHeader, "Header", 0, 50, OnFirstPage);
    AddText("Title", 0, 10, "head");
    AddBand(rpBand::MasterData, "Data", 100, 2000, c.flags, "Rows");
    AddText("Huge", 100, 2000, "[ROW]");
    const QStringList dump = Build();
    EXPECT_EQ(dump, (QStringList{"1: Title 0,0,100,10 head", "1: Huge 0,50,100,848 1", "2: Title 0,0,100,10 head",
                                 "2: Huge 0,50,100,848 2"}));
  }
}

}  // namespace

namespace {

TEST_F(PageBuildTest, MasterWithEmptyDetailPrintsOnlyWithPrintIfSubsetEmpty) {
  TrpUserDataset* details = AddDataset(QStringLiteral("Details"));
  const QList<int> perMaster = {2, 0, 1};
  details->OnFirst = [&] { details->SetRangeEndCount(perMaster.value(rows->RecNo())); };
  for (bool printIfEmpty : {false, true}) {
    SCOPED_TRACE(printIfEmpty);
    page->Clear();
    sink.pages.clear();
    AddBand(rpBand::MasterData, "Master", 0, 20, printIfEmpty ? rpBandFlag::PrintIfSubsetEmpty : 0, "Rows");
    AddText("M", 0, 20, "master [ROW]");
    AddBand(rpBand::DetailData, "Detail", 30, 10, 0, "Details");
    AddText("D", 30, 10, "detail");
    AddBand(rpBand::MasterFooter, "End", 60, 10);
    AddText("F", 60, 10, "masters [COUNT(Master)]");
    QStringList expected{"1: M 0,0,100,20 master 1", "1: D 0,20,100,10 detail", "1: D 0,30,100,10 detail"};
    int y = 40;
    if (printIfEmpty) {
      expected << "1: M 0,40,100,20 master 2";
      y += 20;
    }
    expected << QStringLiteral("1: M 0,%1,100,20 master 3").arg(y)
             << QStringLiteral("1: D 0,%1,100,10 detail").arg(y + 20)
             << QStringLiteral("1: F 0,%1,100,10 masters %2").arg(y + 30).arg(printIfEmpty ? 3 : 2);
    EXPECT_EQ(Build(), expected);
  }
}

}  // namespace

namespace {

TEST_F(PageBuildTest, PaperRefusedByThePrinterIsRetriedAsAUserSize) {
  std::vector<TrpPaper> asked;
  rpSetPaperSetter([&](TrpPaper& paper) {
    asked.push_back(paper);
    if (paper.size != 256) return false;
    paper.width = 1000;  // the printer rounds
    return true;
  });
  page->ChangePaper(9, 2100, 2970, 3, 1);
  rpSetPaperSetter({});
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[1].size, 256);
  EXPECT_EQ(asked[1].bin, -1);
  EXPECT_EQ(page->PaperSize, 256);
  EXPECT_EQ(page->PaperWidth, 1000);
  EXPECT_EQ(page->PaperHeight, 2970);
  EXPECT_EQ(page->Orientation, 1);
  EXPECT_EQ(page->Bin, -1);
}

TEST_F(PageBuildTest, PageSizeAndMarginNamesForScripts) {
  page->PaperWidth = 2100;
  EXPECT_EQ(page->GetPropValue("width").ToInteger(), 756);  // 210 mm * 3.6
  page->SetPropValue("WIDTH", TrpValue(360));
  EXPECT_EQ(page->PaperWidth, 1000);
  page->SetPropValue("StretchToPrintable", TrpValue(false));
  EXPECT_EQ(page->UseMargins, -1);
  page->MarginBottom = 50;
  // While a build runs the bottom limit is the effective one: above the page footer.
  AddBand(rpBand::PageFooter, "Footer", 500, 100, OnFirstPage | OnLastPage);
  AddText("Limit", 500, 10, "[PAGE1.BOTTOMMARGIN]");
  WireParserToReport(report);
  EXPECT_EQ(Build(), (QStringList{"1: Limit 0,750,100,10 750"}));
  EXPECT_EQ(page->GetPropValue("BOTTOMMARGIN").ToInteger(), 50);
}

}  // namespace

namespace {

TEST_F(PageBuildTest, SubReportPrintsItsPageAtItsPlaceAndBreaksWithTheHostPage) {
  SetRows(1);
  TrpUserDataset* items = AddDataset(QStringLiteral("Items"));
  items->SetRangeEndCount(4);
  NumberRecordsAs(QStringLiteral("ITEM"), items);
  AddBand(rpBand::MasterData, "Data", 0, 50, 0, "Rows");
  AddText("M", 0, 10, "M [ROW]");
  auto* sub = static_cast<TrpSubReportView*>(page->Add(std::make_unique<TrpSubReportView>()));
  sub->SetGeometry(300, 20, 200, 20);
  sub->SubPage = 1;
  TrpPage* subPage = report.AddPage();
  subPage->UseMargins = 0;
  subPage->PaperWidth = 2000;
  subPage->PaperHeight = 2500;
  page = subPage;
  AddBand(rpBand::MasterData, "ItemData", 0, 300, 0, "Items");
  AddText("I", 0, 10, "I [ITEM]");
  // Two items of 300 fit below y 20 on a page of 900; the rest go to the next page.
  EXPECT_EQ(Build(), (QStringList{"1: M 0,0,100,10 M 1", "1: I 300,20,100,10 I 1", "1: I 300,320,100,10 I 2",
                                  "2: I 300,0,100,10 I 3", "2: I 300,300,100,10 I 4"}));
}

TEST_F(PageBuildTest, SubReportShowingItsOwnPageIsLeftOut) {
  SetRows(1);
  AddBand(rpBand::MasterData, "Data", 0, 50, 0, "Rows");
  AddText("M", 0, 10, "M [ROW]");
  auto* sub = static_cast<TrpSubReportView*>(page->Add(std::make_unique<TrpSubReportView>()));
  sub->SetGeometry(300, 20, 200, 20);
  sub->SubPage = 0;
  EXPECT_EQ(Build(), (QStringList{"1: M 0,0,100,10 M 1"}));
}

}  // namespace

namespace {

// A cell as tall as ten units per column number.
class ColumnHeightView : public TestTextView {
public:
  int CalcHeight() override {
    return 10 * static_cast<int>(rpGlobals().Parser().Calc(QStringLiteral("COL")).ToInteger());
  }
  int MinHeight() override { return 10; }
};

TEST_F(PageBuildTest, CrossTabPrintsOneColumnPerRecordBetweenHeaderAndFooter) {
  SetRows(2);
  TrpUserDataset* columns = AddDataset(QStringLiteral("Cols"));
  columns->SetRangeEndCount(3);
  NumberRecordsAs(QStringLiteral("COL"), columns);
  AddBand(rpBand::MasterData, "Data", 0, 20, 0, "Rows");
  AddBand(rpBand::CrossHeader, "Names", 0, 900)->SetGeometry(0, 0, 100, 900);
  AddBand(rpBand::CrossData, "Columns", 0, 900, 0, "Cols")->SetGeometry(100, 0, 80, 900);
  AddBand(rpBand::CrossFooter, "Totals", 0, 900)->SetGeometry(180, 0, 100, 900);
  AddText("Name", 0, 20, "row [ROW]");
  AddText("Cell", 0, 20, "[ROW].[COL]", 100)->Width = 80;
  AddText("End", 0, 20, "end", 180);
  EXPECT_EQ(Build(), (QStringList{"1: Name 0,0,100,20 row 1", "1: Cell 100,0,80,20 1.1", "1: Cell 180,0,80,20 1.2",
                                  "1: Cell 260,0,80,20 1.3", "1: End 340,0,100,20 end", "1: Name 0,20,100,20 row 2",
                                  "1: Cell 100,20,80,20 2.1", "1: Cell 180,20,80,20 2.2", "1: Cell 260,20,80,20 2.3",
                                  "1: End 340,20,100,20 end"}));
}

}  // namespace

namespace {

TEST_F(PageBuildTest, GroupHeaderRepeatsOnTheNextPageAndLineThroughRunsOn) {
  SetRows(5);
  groups = {"A", "A", "B", "B", "B"};
  page->PaperHeight = 333;  // 120 units
  AddBand(rpBand::GroupHeader, "GroupHead", 0, 20, rpBandFlag::RepeatHeader, "[GRP]");
  AddText("Key", 0, 20, "[GRP]");
  AddBand(rpBand::MasterData, "Data", 30, 20, 0, "Rows");
  AddText("Cell", 30, 20, "[LINE#]/[LINETHROUGH#]");
  EXPECT_EQ(Build(), (QStringList{"1: Key 0,0,100,20 A", "1: Cell 0,20,100,20 1/1", "1: Cell 0,40,100,20 2/2",
                                  "1: Key 0,60,100,20 B", "1: Cell 0,80,100,20 1/3", "1: Cell 0,100,100,20 2/4",
                                  "2: Key 0,0,100,20 B", "2: Cell 0,20,100,20 3/5"}));
}

TEST_F(PageBuildTest, PageWithPrintToPrevPageContinuesOnTheLastPreparedPage) {
  SetRows(2);
  AddBand(rpBand::MasterData, "Data", 0, 20, 0, "Rows");
  AddText("Cell", 0, 20, "first [ROW]");
  TrpPage* second = report.AddPage();
  second->UseMargins = 0;
  second->PaperWidth = 2000;
  second->PaperHeight = 2500;
  second->PrintToPrevPage = -1;
  page = second;
  AddBand(rpBand::ReportTitle, "Title", 0, 30);
  AddText("Next", 0, 30, "second");
  EXPECT_EQ(Build(),
            (QStringList{"1: Cell 0,0,100,20 first 1", "1: Cell 0,20,100,20 first 2", "1: Next 0,40,100,30 second"}));
}

}  // namespace

namespace {

// Forms whose bands would start pages from within starting a page, or print each other
// for ever: the build ends, every record printed once (none where the headers leave no
// room on the page at all).
TEST_F(PageBuildTest, FormsThatCouldLoopStillEnd) {
  struct Case {
    const char* name;
    std::function<void(PageBuildTest&)> form;
    int cells = 3;
  };
  const std::vector<Case> cases = {
      {"page header taller than the page",
       [](PageBuildTest& t) {
         t.AddBand(rpBand::PageHeader, "Header", 0, 2000, rpBandFlag::Stretched);
         t.AddText("Title", 0, 2000, "head");
       }},
      {"page header asking for a new page after it",
       [](PageBuildTest& t) {
         t.AddBand(rpBand::PageHeader, "Header", 0, 10, rpBandFlag::FormNewPage);
         t.AddText("Title", 0, 10, "head");
       }},
      {"page header whose child is taller than the page",
       [](PageBuildTest& t) {
         t.AddBand(rpBand::PageHeader, "Header", 0, 10)->ChildBand = "More";
         t.AddText("Title", 0, 10, "head");
         t.AddBand(rpBand::Child, "More", 3000, 2000, rpBandFlag::Breaked);
         t.AddText("Huge", 3000, 2000, "more");
       }},
      {"column header taller than the page",
       [](PageBuildTest& t) {
         t.page->Columns = 2;
         t.AddBand(rpBand::ColumnHeader, "Cols", 0, 2000);
         t.AddText("Title", 0, 2000, "cols");
       },
       0},
      {"child bands naming each other",
       [](PageBuildTest& t) {
         t.AddBand(rpBand::Child, "A", 5000, 10)->ChildBand = "B";
         t.AddBand(rpBand::Child, "B", 6000, 10)->ChildBand = "A";
         t.AddText("InA", 5000, 10, "a");
         static_cast<TrpBandView*>(t.page->FindObject("Data"))->ChildBand = "A";
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    page->Clear();
    page->Columns = 1;
    sink.pages.clear();
    SetRows(3);
    AddBand(rpBand::MasterData, "Data", 2500, 100, 0, "Rows");
    AddText("Cell", 2500, 10, "[ROW]");
    c.form(*this);
    const QStringList dump = Build();
    EXPECT_LE(sink.Count(), 4) << dump.join(u'\n').toStdString();
    EXPECT_EQ(dump.filter(QStringLiteral("Cell")).size(), c.cells) << dump.join(u'\n').toStdString();
  }
}

}  // namespace

namespace {

TEST_F(PageBuildTest, DataBandInSeveralColumnsLaysRecordsAcrossThenDown) {
  SetRows(4);
  auto* data = AddBand(rpBand::MasterData, "Data", 0, 20, 0, "Rows");
  data->Columns = 3;
  data->ColumnWidth = 200;
  data->ColumnGap = 20;
  AddText("Cell", 0, 20, "[ROW]");
  AddBand(rpBand::MasterFooter, "End", 50, 10);
  AddText("Total", 50, 10, "end");
  EXPECT_EQ(Build(), (QStringList{"1: Cell 0,0,100,20 1", "1: Cell 220,0,100,20 2", "1: Cell 440,0,100,20 3",
                                  "1: Cell 0,20,100,20 4", "1: Total 0,40,100,10 end"}));
}

}  // namespace

namespace {

TEST_F(PageBuildTest, PageScriptsRunBeforeTheirPageIsFormed) {
  SetRows(1);
  TrpPage* dialog = report.AddPage();
  dialog->PageType = rpPageType::Dialog;
  dialog->Script = QStringList{"Greeting := 'hello'"};
  page->Script = QStringList{"Greeting := Greeting + ' page'"};
  AddBand(rpBand::MasterData, "Data", 0, 20, 0, "Rows");
  AddText("Cell", 0, 20, "[Greeting]");
  EXPECT_EQ(Build(), (QStringList{"1: Cell 0,0,100,20 hello page"}));
}

TEST_F(PageBuildTest, PageKnowsItsPlaceInTheReportAndRunsScriptsAsItsOwn) {
  SetRows(1);
  page->PageType = rpPageType::Dialog;  // the first page is a dialog page without controls
  page = report.AddPage();
  page->UseMargins = 0;
  page->PaperWidth = 2000;
  page->PaperHeight = 2500;
  AddBand(rpBand::MasterData, "Data", 0, 20, 0, "Rows");
  AddText("Cell", 0, 20, "[Greeting]");
  int position = 0;
  TrpReportBuild build(report, sink, &owner);
  build.OnManualBuild = [&](TrpPage& built) {
    TrpPageRun& run = *built.Run;
    position = run.PageNumber;
    run.ExecuteScript({"Greeting := 'from the page'"});
    run.ExecuteScript({"Greeting := ('broken'"});  // does not compile: reported, not run
    rows->First();
    run.ShowBand(run.Band(rpBand::MasterData));
  };
  build.BuildPages();
  EXPECT_EQ(position, 2);
  EXPECT_EQ(build.CalcErrors.size(), 1);
  EXPECT_EQ(Read(), (QStringList{"1: Cell 0,0,100,20 from the page"}));
}

}  // namespace

namespace {

TEST_F(PageBuildTest, BandScriptsRequestNewPagesAndStopTheReport) {
  struct Case {
    const char* script;
    QStringList expected;
  };
  const std::vector<Case> cases = {
      {"if ROW = 2 then NewPage", {"1: Cell 0,0,100,20 1", "2: Cell 0,0,100,20 2", "2: Cell 0,20,100,20 3"}},
      {"if ROW = 2 then StopReport", {"1: Cell 0,0,100,20 1"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    page->Clear();
    sink.pages.clear();
    AddBand(rpBand::MasterData, "Data", 0, 20, 0, "Rows")->Script = QStringList{QString::fromUtf8(c.script)};
    AddText("Cell", 0, 20, "[ROW]");
    EXPECT_EQ(Build(), c.expected);
  }
}

}  // namespace

namespace {

TEST_F(PageBuildTest, BadExpressionIsReportedAndEndsOnlyItsBandsObjects) {
  SetRows(2);
  AddBand(rpBand::MasterData, "Data", 0, 20, 0, "Rows");
  AddText("Bad", 0, 20, "[1 +]");
  AddText("After", 0, 20, "after", 200);
  AddBand(rpBand::MasterFooter, "End", 50, 10);
  AddText("Total", 50, 10, "end");
  TrpReportBuild build(report, sink, &owner);
  build.BuildPages();
  EXPECT_EQ(build.CalcErrors.size(), 2);
  ASSERT_EQ(sink.Count(), 1);
  QBuffer buffer(sink.pages[0].get());
  buffer.open(QIODevice::ReadOnly);
  ASSERT_EQ(rpReadByte(buffer), rpObjectType::Memo);
  TestTextView view;
  view.PreparedMode = true;
  view.ReadFromStream(buffer, kRpStreamVersion);
  EXPECT_EQ(view.Memo, QStringList{"end"});
  EXPECT_TRUE(buffer.atEnd());
}

}  // namespace

namespace {

TEST_F(PageBuildTest, EmptyMasterDataFormsNoPageUnlessPrintIfEmpty) {
  SetRows(0);
  AddBand(rpBand::ReportTitle, "Title", 0, 20);
  AddText("Name", 0, 20, "title");
  AddBand(rpBand::MasterData, "Data", 50, 20);  // reads the report's own data set
  for (bool printIfEmpty : {true, false}) {
    SCOPED_TRACE(printIfEmpty);
    sink.pages.clear();
    TrpReportBuild build(report, sink, &owner);
    build.ReportDataset = rows;
    build.PrintIfEmpty = printIfEmpty;
    build.BuildPages();
    EXPECT_EQ(sink.Count(), printIfEmpty ? 1 : 0);
  }
}

}  // namespace

namespace {

TEST_F(PageBuildTest, NumberAsDataSourceGivesThatManyRecords) {
  AddBand(rpBand::MasterData, "Data", 0, 20, 0, "2");
  AddText("Cell", 0, 20, "line [LINE#]");
  EXPECT_EQ(Build(), (QStringList{"1: Cell 0,0,100,20 line 1", "1: Cell 0,20,100,20 line 2"}));
}

TEST_F(PageBuildTest, GroupWithFormNewPageStartsEachGroupOnItsPage) {
  SetRows(3);
  groups = {"A", "B", "B"};
  AddBand(rpBand::GroupHeader, "GroupHead", 0, 20, rpBandFlag::FormNewPage, "[GRP]");
  AddText("Key", 0, 20, "[GRP]");
  AddBand(rpBand::MasterData, "Data", 30, 20, 0, "Rows");
  AddText("Cell", 30, 20, "[ROW]");
  AddBand(rpBand::GroupFooter, "GroupFoot", 60, 20);
  AddText("Total", 60, 20, "n [COUNT(Data)]");
  EXPECT_EQ(Build(), (QStringList{"1: Key 0,0,100,20 A", "1: Cell 0,20,100,20 1", "1: Total 0,40,100,20 n 1",
                                  "2: Key 0,0,100,20 B", "2: Cell 0,20,100,20 2", "2: Cell 0,40,100,20 3",
                                  "2: Total 0,60,100,20 n 2"}));
}

}  // namespace

namespace {

TEST_F(PageBuildTest, StretchedBandWithCrossTabCellsTakesItsTallestColumn) {
  SetRows(2);
  TrpUserDataset* columns = AddDataset(QStringLiteral("Cols"));
  columns->SetRangeEndCount(3);
  NumberRecordsAs(QStringLiteral("COL"), columns);
  AddBand(rpBand::MasterData, "Data", 0, 20, rpBandFlag::Stretched, "Rows");
  AddBand(rpBand::CrossData, "Columns", 0, 900, 0, "Cols")->SetGeometry(100, 0, 80, 900);
  AddText("Name", 0, 20, "row [ROW]");
  auto* cell = AddText<ColumnHeightView>("Cell", 0, 10, "[COL]", 100);
  cell->Width = 80;
  cell->Flags = 1;
  EXPECT_EQ(Build(), (QStringList{"1: Name 0,0,100,20 row 1", "1: Cell 100,0,80,30 1", "1: Cell 180,0,80,30 2",
                                  "1: Cell 260,0,80,30 3", "1: Name 0,30,100,20 row 2", "1: Cell 100,30,80,30 1",
                                  "1: Cell 180,30,80,30 2", "1: Cell 260,30,80,30 3"}));
}

}  // namespace

namespace {

// Ten columns of 80 from x 100 on a page 720 wide: seven fit, the rest and the totals go
// on one page to the right, which both rows share, with its own header and footer
// ([PAGE#] 2 there).
TEST_F(PageBuildTest, CrossTabColumnsBeyondThePageWidthGoOnAPageToTheRight) {
  SetRows(2);
  TrpUserDataset* columns = AddDataset(QStringLiteral("Cols"));
  columns->SetRangeEndCount(10);
  NumberRecordsAs(QStringLiteral("COL"), columns);
  std::vector<int> widthsAsked;
  AddBand(rpBand::PageHeader, "Header", 0, 20, OnFirstPage);
  AddText("Title", 0, 20, "head [PAGE#]", 300);  // right of the cross bands
  AddBand(rpBand::MasterData, "Data", 30, 20, 0, "Rows");
  AddBand(rpBand::PageFooter, "Footer", 300, 20, OnFirstPage | OnLastPage);
  AddText("PageNo", 300, 20, "foot [PAGE#]", 600);
  AddBand(rpBand::CrossHeader, "Names", 0, 200)->SetGeometry(0, 0, 100, 200);
  AddBand(rpBand::CrossData, "Columns", 0, 200, 0, "Cols")->SetGeometry(100, 0, 80, 200);
  AddBand(rpBand::CrossFooter, "Totals", 0, 200)->SetGeometry(180, 0, 100, 200);
  AddText("Name", 30, 20, "row [ROW]");
  AddText("Cell", 30, 20, "[ROW].[COL]", 100)->Width = 80;
  AddText("End", 30, 20, "end", 180);
  // Both passes of a two-pass report open the sheet anew.
  report.TwoPass = true;
  TrpReportBuild build(report, sink, &owner);
  build.OnPrintColumn = [&](int column, int&) { widthsAsked.push_back(column); };
  build.BuildPages();
  QStringList expected{"1: Title 300,0,100,20 head 1"};
  QStringList right{"2: Title 300,0,100,20 head 2"};
  for (int row = 1; row <= 2; ++row) {
    const int y = 20 * row;
    expected << QStringLiteral("1: Name 0,%1,100,20 row %2").arg(y).arg(row);
    for (int col = 1; col <= 7; ++col)
      expected << QStringLiteral("1: Cell %1,%2,80,20 %3.%4").arg(100 + 80 * (col - 1)).arg(y).arg(row).arg(col);
    for (int col = 8; col <= 10; ++col)
      right << QStringLiteral("2: Cell %1,%2,80,20 %3.%4").arg(80 * (col - 8)).arg(y).arg(row).arg(col);
    right << QStringLiteral("2: End 240,%1,100,20 end").arg(y);
  }
  expected << "1: PageNo 600,880,100,20 foot 1";
  right << "2: PageNo 600,880,100,20 foot 2";
  // The pages are filled row by row, both at a time: compared page by page.
  const QStringList dump = Read();
  EXPECT_EQ(dump.filter(QRegularExpression("^1: ")), expected);
  EXPECT_EQ(dump.filter(QRegularExpression("^2: ")), right);
  EXPECT_EQ(sink.Count(), 2);
  EXPECT_EQ(widthsAsked.size(), 40u) << "once per column and row in each pass";
}

// A column wider than the page prints alone on its page, clipped: the sheets end.
TEST_F(PageBuildTest, CrossTabColumnWiderThanThePagePrintsOnePerPage) {
  SetRows(1);
  TrpUserDataset* columns = AddDataset(QStringLiteral("Cols"));
  columns->SetRangeEndCount(3);
  NumberRecordsAs(QStringLiteral("COL"), columns);
  AddBand(rpBand::MasterData, "Data", 0, 20, 0, "Rows");
  AddBand(rpBand::CrossData, "Columns", 0, 200, 0, "Cols")->SetGeometry(0, 0, 1000, 200);
  AddText("Cell", 0, 20, "[COL]")->Width = 1000;
  EXPECT_EQ(Build(), (QStringList{"1: Cell 0,0,1000,20 1", "2: Cell 0,0,1000,20 2", "3: Cell 0,0,1000,20 3"}));
}

TEST_F(PageBuildTest, MultipleReportFormsItsPagesOncePerRecordOfTheReportDataSet) {
  SetRows(2);
  TrpUserDataset* customers = AddDataset(QStringLiteral("Customers"));
  customers->SetRangeEndCount(3);
  NumberRecordsAs(QStringLiteral("CUSTOMER"), customers);
  AddBand(rpBand::ReportTitle, "Title", 0, 20);
  AddText("Who", 0, 20, "customer [CUSTOMER]");
  AddBand(rpBand::MasterData, "Data", 50, 20, 0, "Rows");
  AddText("Cell", 50, 20, "[ROW]");
  TrpReportBuild build(report, sink, &owner);
  build.ReportDataset = customers;
  build.MultipleReport = true;
  build.BuildPages();
  QStringList expected;
  for (int p = 1; p <= 3; ++p) {
    expected << QStringLiteral("%1: Who 0,0,100,20 customer %1").arg(p)
             << QStringLiteral("%1: Cell 0,20,100,20 1").arg(p) << QStringLiteral("%1: Cell 0,40,100,20 2").arg(p);
  }
  EXPECT_EQ(Read(), expected);
}

TEST_F(PageBuildTest, ManualBuildLeavesTheBandsToItsHandler) {
  SetRows(3);
  AddBand(rpBand::ReportTitle, "Title", 0, 20);
  AddText("Name", 0, 20, "title");
  AddBand(rpBand::PageHeader, "Header", 30, 20, OnFirstPage);
  AddText("Head", 30, 20, "head [PAGE#]");
  AddBand(rpBand::MasterData, "Data", 60, 20, 0, "Rows");
  AddText("Cell", 60, 20, "[ROW]");
  AddBand(rpBand::PageFooter, "Footer", 300, 20, OnFirstPage | OnLastPage);
  AddText("Foot", 300, 20, "foot");
  int calls = 0;
  {
    TrpReportBuild build(report, sink, &owner);
    build.OnManualBuild = [&](TrpPage& built) {
      ++calls;
      TrpPageRun& run = *built.Run;
      run.ShowBand(run.Band(rpBand::ReportTitle));
      for (rows->First(); !rows->Eof(); rows->Next()) {
        if (rows->RecNo() == 2) run.NewPage();
        run.ShowBand(run.Band(rpBand::MasterData));
      }
    };
    build.BuildPages();
  }
  EXPECT_EQ(calls, 1);
  // No header on the first page but the one a new page prints; the data loop, the
  // summary and the last page footer are the handler's.
  EXPECT_EQ(Read(), (QStringList{"1: Name 0,0,100,20 title", "1: Cell 0,20,100,20 1", "1: Cell 0,40,100,20 2",
                                 "1: Foot 0,880,100,20 foot", "2: Head 0,0,100,20 head 2", "2: Cell 0,20,100,20 3"}));
}

TEST_F(PageBuildTest, ObjectOutsideEveryBandPrintsAtItsPlaceOnTheFormedPage) {
  SetRows(2);
  AddBand(rpBand::MasterData, "Data", 0, 20, 0, "Rows");
  AddText("Cell", 0, 20, "Row [ROW]");
  AddText("Stamp", 500, 20, "draft");
  EXPECT_EQ(Build(), (QStringList{"1: Stamp 0,500,100,20 draft", "1: Cell 0,0,100,20 Row 1", "1: Cell 0,20,100,20 Row 2"}));
}

// Records the memos it is told about.
class NoticeView : public TestTextView {
public:
  QStringList notices;
  void OnMemoPrinted(TrpView& memo) override { notices << memo.Memo1.join(u'|'); }
};

TEST_F(PageBuildTest, ViewsAskingForNoticesHearOfEveryMemoWritten) {
  for (const bool twoPass : {false, true}) {
    SCOPED_TRACE(twoPass ? "two passes" : "one pass");
    report.Clear();
    page = report.AddPage();
    page->UseMargins = 0;
    sink.pages.clear();
    report.TwoPass = twoPass;
    SetRows(2);
    AddBand(rpBand::MasterData, "Data", 0, 20, 0, "Rows");
    AddText("Cell", 0, 20, "Row [ROW]");
    auto* listener = AddText<NoticeView>("Listener", 500, 20, "");
    listener->Flags = rpViewFlag::WantsMemoNotice;
    listener->Visible = false;  // hears, prints nothing
    auto* deaf = AddText<NoticeView>("Deaf", 500, 20, "");
    deaf->Visible = false;
    Build();
    // Each pass writes the memos once; the list is not filled twice.
    const QStringList pass = {"Row 1", "Row 2"};
    EXPECT_EQ(listener->notices, twoPass ? pass + pass : pass);
    EXPECT_TRUE(deaf->notices.isEmpty());
  }
}

TEST_F(PageBuildTest, NumericCrossSourceWithoutColumnsTakesTheMostColumnsOfARow) {
  const struct {
    const char* sources;
    int columns;
    int headerCells;
  } cases[] = {
      {"Head=0;Data=Cols", 3, 3},  // the header row, printed first, still gets every column
      {"Head=0;Data=Cols", 0, 0},
      {"Head=2;Data=Cols", 3, 2},      // a number that gives columns is its own count
      {"Head=Blank;Data=Cols", 3, 0},  // an empty named data set is not retried
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(QStringLiteral("%1 with %2 columns").arg(QString::fromLatin1(c.sources)).arg(c.columns).toStdString());
    report.Clear();
    page = report.AddPage();
    page->UseMargins = 0;
    sink.pages.clear();
    SetRows(2);
    delete owner.findChild<QObject*>(QStringLiteral("Cols"));
    delete owner.findChild<QObject*>(QStringLiteral("Blank"));
    AddDataset(QStringLiteral("Cols"))->SetRangeEndCount(c.columns);
    AddDataset(QStringLiteral("Blank"))->SetRangeEndCount(0);
    AddBand(rpBand::MasterHeader, "Head", 0, 20);
    AddBand(rpBand::MasterData, "Data", 30, 20, 0, "Rows");
    AddBand(rpBand::CrossData, "Columns", 0, 900, 0, c.sources)->SetGeometry(100, 0, 80, 900);
    AddText("Title", 0, 20, "title", 100)->Width = 80;
    AddText("Cell", 30, 20, "cell", 100)->Width = 80;
    const QStringList dump = Build();
    EXPECT_EQ(dump.filter(QStringLiteral(": Title ")).size(), c.headerCells);
    EXPECT_EQ(dump.filter(QStringLiteral(": Cell ")).size(), 2 * c.columns);
  }
}

}  // namespace
