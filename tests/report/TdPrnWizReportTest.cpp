// The print wizard's report without a window: the column sizes over made-up font
// metrics, the bands and cells it designs, the paper, and the pages the engine builds
// from it over a list of rows.
#include "FixedWidthMeasurer.h"
#include "ReportTestSupport.h"
#include "report/TdPrnWizReport.h"
#include "report/TdPrnWizRun.h"
#include "report/engine/RP_BandView.h"
#include "report/engine/RP_ChBox.h"
#include "report/engine/RP_DSet.h"
#include "report/engine/RP_EMFPages.h"
#include "report/engine/RP_MemoView.h"
#include "report/engine/RP_Class.h"
#include "report/engine/RP_PageBuild.h"
#include "report/engine/RP_PictureView.h"
#include "treeview/LazyTreeImageList.h"

#include <map>

namespace {

using Row = std::map<int, QString>;

// Rows as a list; the cursor stands on one of them.
class ListRows : public TPrintRows {
public:
  explicit ListRows(std::vector<Row> rows) : rows_(std::move(rows)) {}
  void First() override { at_ = 0; }
  void Next() override { ++at_; }
  bool Eof() const override { return at_ >= rows_.size(); }
  QString Value(int code) override {
    const auto found = rows_[at_].find(code);
    return found == rows_[at_].end() ? QString() : found->second;
  }
  const Row* Current() const { return at_ < rows_.size() ? &rows_[at_] : nullptr; }
  int RowNumber() const { return static_cast<int>(at_); }

private:
  std::vector<Row> rows_;
  size_t at_ = 0;
};

TPrintColumnSizes Sizes(const std::vector<int>& printed, int gapMm, int titleMm, std::vector<Row> rows,
                        int headerCharWidth = 10) {
  FixedWidthMeasurer header(headerCharWidth, 15), normal(10, 13);
  ListRows list(std::move(rows));
  return CalcColumnSizes({printed, PrintHeaderCaptions(printed, false), gapMm, titleMm}, header, normal, list);
}

TEST(PrintColumnSizes, CellsFitTheirWidestValueAndHeadersTheirCaption) {
  struct Case {
    const char* what;
    std::vector<int> printed;
    int gapMm, titleMm, headerCharWidth;
    std::vector<Row> rows;
    std::vector<int> w, h, c;
  } cases[] = {
      {"text columns take the larger of caption and cells",
       {14, 23}, 0, 1000, 10, {{{14, "Pay rent"}, {23, "7"}}, {{14, "Call"}, {23, "12"}}},
       {90, 30}, {17, 17}, {90, 30}},
      {"a twin pair shares one header that covers both cells",
       {3, 4}, 5, 1000, 10, {{{4, "Home"}}},
       {44, 68}, {20, 17}, {112, 0}},
      {"a caption wider than the pair widens the text cell",
       {3, 4}, 5, 1000, 20, {{{4, "Home"}}},
       {44, 144}, {20, 17}, {188, 0}},
      {"twins apart keep their own headers",
       {3, 14, 4}, 0, 1000, 10, {{{4, "Home"}, {14, "A"}}},
       {90, 60, 90}, {20, 17, 17}, {90, 60, 90}},
      {"the check box is fixed and the title is capped",
       {5, 14}, 5, 10, 1, {{{14, "A long title of many letters"}}},
       {34, 36}, {24, 17}, {34, 36}},
      {"no rows: cells take the caption's width",
       {14, 22}, 0, 1000, 10, {},
       {60, 50}, {0, 0}, {60, 50}},
  };
  for (const Case& c : cases) {
    const TPrintColumnSizes s = Sizes(c.printed, c.gapMm, c.titleMm, c.rows, c.headerCharWidth);
    EXPECT_EQ(s.W, c.w) << c.what;
    EXPECT_EQ(s.H, c.h) << c.what;
    EXPECT_EQ(s.C, c.c) << c.what;
  }
}

class PrintReportTest : public ReportEngineTest {
protected:
  TrpBandView* BandOf(TrpPage& page, int type) {
    for (const auto& view : page.Objects())
      if (auto* band = dynamic_cast<TrpBandView*>(view.get()); band && band->BandType() == type) return band;
    return nullptr;
  }
  std::vector<TrpView*> CellsAt(TrpPage& page, int top) {
    std::vector<TrpView*> cells;
    for (const auto& view : page.Objects())
      if (!dynamic_cast<TrpBandView*>(view.get()) && view->Top == top) cells.push_back(view.get());
    return cells;
  }
  TPrintFonts fonts;
};

TEST_F(PrintReportTest, BandsAndCellsStandWhereTheColumnsSay) {
  TrpReport report;
  const std::vector<int> printed = {3, 4, 14, 15, 5};
  const TPrintColumnSizes sizes{{44, 68, 90, 200, 34}, {20, 17, 17, 17, 24}, {112, 0, 90, 90, 38}};
  TrpPage* page = BuildPrintReport(report, printed, PrintHeaderCaptions(printed, false), sizes, fonts);
  ASSERT_EQ(report.PageCount(), 1);

  TrpBandView* header = BandOf(*page, 2);
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(QRect(header->Left, header->Top, header->Width, header->Height), QRect(20, 20, 436, 24));
  EXPECT_TRUE(header->Stretched());
  std::vector<TrpView*> captions = CellsAt(*page, 20);
  ASSERT_EQ(captions.size(), 4u) << "no header for the notes";
  const struct {
    int x, width;
    const char* text;
  } expectedCaptions[] = {{20, 112, "Category"}, {132, 0, ""}, {132, 90, "Title"}, {222, 38, "OK"}};
  for (size_t i = 0; i < captions.size(); ++i) {
    EXPECT_EQ(captions[i]->Left, expectedCaptions[i].x) << i;
    EXPECT_EQ(captions[i]->Width, expectedCaptions[i].width) << i;
    EXPECT_EQ(captions[i]->Memo.value(0), expectedCaptions[i].text) << i;
  }

  TrpBandView* data = BandOf(*page, 5);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(QRect(data->Left, data->Top, data->Width, data->Height), QRect(20, 120, 436, 24));
  EXPECT_EQ(data->DataSource(), "rpUserDataSet");
  EXPECT_EQ(data->ChildBand, "NotesBand");
  std::vector<TrpView*> cells = CellsAt(*page, 120);
  ASSERT_EQ(cells.size(), 4u);
  EXPECT_NE(dynamic_cast<TrpPictureView*>(cells[0]), nullptr);
  EXPECT_EQ(cells[0]->Tag, "3");
  EXPECT_EQ(cells[1]->Memo, QStringList{"[4]"});
  EXPECT_EQ(cells[2]->Memo, QStringList{"[14]"});
  EXPECT_EQ(QRect(cells[2]->Left, cells[2]->Top, cells[2]->Width, cells[2]->Height), QRect(132, 120, 90, 17));
  EXPECT_NE(dynamic_cast<TrpCheckBoxView*>(cells[3]), nullptr);
  EXPECT_EQ(cells[3]->Memo, QStringList{"[5]"});
  EXPECT_EQ(cells[3]->Tag, "5");
  EXPECT_EQ(cells[3]->Left, 222);

  TrpBandView* notes = BandOf(*page, 21);
  ASSERT_NE(notes, nullptr);
  EXPECT_EQ(notes->Name, "NotesBand");
  EXPECT_EQ(QRect(notes->Left, notes->Top, notes->Width, notes->Height), QRect(20, 220, 236, 20));
  std::vector<TrpView*> notesCells = CellsAt(*page, 220);
  ASSERT_EQ(notesCells.size(), 1u);
  EXPECT_EQ(notesCells[0]->Memo, QStringList{"[15]"});
  EXPECT_TRUE(notesCells[0]->Stretched());
}

TEST_F(PrintReportTest, OnlyNotesGivesANotesBandOfNoWidthAndNoNotesNoBand) {
  TrpReport report;
  TrpPage* page = BuildPrintReport(report, {15}, PrintHeaderCaptions({}, false), {{80}, {17}, {80}}, fonts);
  ASSERT_NE(BandOf(*page, 21), nullptr);
  EXPECT_EQ(BandOf(*page, 21)->Width, 0);
  page = BuildPrintReport(report, {14}, PrintHeaderCaptions({}, false), {{80}, {17}, {80}}, fonts);
  EXPECT_EQ(report.PageCount(), 1) << "each build starts afresh";
  EXPECT_EQ(BandOf(*page, 21), nullptr);
  EXPECT_TRUE(BandOf(*page, 5)->ChildBand.isEmpty());
}

TEST_F(PrintReportTest, PaperAndMarginsInReportUnits) {
  TrpPage page;
  ApplyPrintPaper(page, {9, 7, 1, true, 10, 5, 0, 25});
  EXPECT_EQ(page.PaperSize, 9);
  EXPECT_EQ(page.Orientation, 1);
  EXPECT_EQ(page.Bin, 7);
  EXPECT_EQ(page.UseMargins, -1);
  EXPECT_EQ(page.MarginLeft, 36);
  EXPECT_EQ(page.MarginTop, 18);
  EXPECT_EQ(page.MarginRight, 0);
  EXPECT_EQ(page.MarginBottom, 90);
  EXPECT_GT(page.PaperWidth, page.PaperHeight) << "landscape";
  TrpPage plain;
  ApplyPrintPaper(plain, {11, std::nullopt, 0, false, 0, 0, 0, 0});
  EXPECT_EQ(plain.UseMargins, 0);
  EXPECT_EQ(plain.Bin, -1) << "no bin chosen: the default";
  EXPECT_EQ(plain.PaperSize, 11);
}

TEST_F(PrintReportTest, CellsTakeRowColoursAndPicturesTheirImage) {
  TrpMemoView memo;
  TrpPictureView picture;
  picture.Tag = QStringLiteral("22");
  EXPECT_EQ(CellCode(picture), 22);
  EXPECT_EQ(CellCode(memo), 0);
  ApplyCellLook(memo, true, 0x00FF00, 0, nullptr);
  EXPECT_EQ(memo.FillColor, kRpNoColor) << "the page header keeps its look";
  ApplyCellLook(memo, false, 0x00FF00, 0, nullptr);
  EXPECT_EQ(memo.FillColor, 0x00FF00);
  TLTImageList images(16, 16);
  QImage flag(16, 16, QImage::Format_ARGB32);
  for (int i = 0; i < 6; ++i) {
    flag.fill(QColor(40 * i, 0, 0));
    images.Add(flag);
  }
  ApplyCellLook(picture, false, 0x00FF00, 5, &images);
  EXPECT_EQ(picture.FillColor, kRpNoColor) << "pictures stay transparent";
  ASSERT_FALSE(picture.Picture.IsEmpty());
  EXPECT_EQ(picture.Picture.ToImage().pixelColor(8, 8), QColor(200, 0, 0));
  ApplyCellLook(picture, false, 0x00FF00, 0, &images);
  EXPECT_TRUE(picture.Picture.IsEmpty()) << "image 0 is no image";
}

// The engine builds the designed report over a list of rows: every row once, in order,
// with the header on every page; empty values print empty.
class CollectTexts : public TrpExportFilter {
public:
  void OnText(const TrpView&, const QString& text, const QRect&, uint16_t) override { texts << text; }
  void OnObject(TrpView&) override {}
  QStringList texts;
};

TEST_F(PrintReportTest, TheEngineBuildsEveryRowOnceInOrder) {
  std::vector<Row> rows;
  for (int i = 1; i <= 60; ++i)
    rows.push_back({{14, QStringLiteral("Task %1").arg(i)}, {23, QStringLiteral("n%1").arg(i)}, {15, i == 2 ? "Buy milk" : ""}});
  ListRows list(rows);
  QObject owner;
  auto* data = new TrpUserDataset(&owner);
  data->setObjectName(QStringLiteral("rpUserDataset"));
  data->OnFirst = [&] { list.First(); };
  data->OnNext = [&] { list.Next(); };
  data->OnCheckEOF = [&](bool& eof) { eof = list.Eof(); };

  TrpReport report(&owner);
  report.SetShowProgress(false);
  report.OnGetValue = [&](const QString& name, TrpValue& value, bool& handled) {
    if (!list.Current()) return;
    value = TrpValue(list.Value(name.toInt()));
    handled = true;
  };
  report.OnBeforePrint = [&](QStringList&, TrpView& view) {
    const bool header = report.Build()->CurrentBand->Type == rpBand::PageHeader;
    ApplyCellLook(view, header, list.RowNumber() % 2 == 0 ? 0x0000FF : 0x00FF00, 0, nullptr);
  };
  const std::vector<int> printed = {14, 23, 15};
  const TPrintColumnSizes sizes{{200, 50, 100}, {17, 17, 17}, {200, 50, 100}};
  TrpPage* page = BuildPrintReport(report, printed, PrintHeaderCaptions(printed, false), sizes, fonts);
  ApplyPrintPaper(*page, {9, std::nullopt, 0, false, 0, 0, 0, 0});
  ASSERT_TRUE(report.PrepareReport());
  TrpEMFPages& pages = report.EMFPages();
  ASSERT_GE(pages.Count(), 2);

  QStringList titles, all;
  int headers = 0;
  for (int i = 0; i < pages.Count(); ++i) {
    CollectTexts texts;
    pages.ExportPage(i, texts);
    all << texts.texts;
    headers += static_cast<int>(texts.texts.count(QStringLiteral("Title")));
    for (const QString& text : texts.texts)
      if (text.startsWith(QLatin1String("Task "))) titles << text;
  }
  EXPECT_EQ(headers, pages.Count()) << "the header on every page";
  QStringList expected;
  for (int i = 1; i <= 60; ++i) expected << QStringLiteral("Task %1").arg(i);
  EXPECT_EQ(titles, expected);
  EXPECT_EQ(all.count(QStringLiteral("Buy milk")), 1);
  EXPECT_FALSE(all.contains(QStringLiteral("15"))) << "empty notes print nothing, not the field's number";

  // Rows take their colours, the first row the odd one; captions keep none.
  std::map<QString, int32_t> fills;
  for (const auto& view : pages.PageToObjects(0)->Objects()) fills[view->Memo.value(0)] = view->FillColor;
  EXPECT_EQ(fills[QStringLiteral("Task 1")], 0x0000FF);
  EXPECT_EQ(fills[QStringLiteral("n1")], 0x0000FF);
  EXPECT_EQ(fills[QStringLiteral("Task 2")], 0x00FF00);
  EXPECT_EQ(fills[QStringLiteral("Buy milk")], 0x00FF00) << "the notes band follows its row";
  EXPECT_EQ(fills[QStringLiteral("Title")], kRpNoColor);
}

}  // namespace
