// A build with real text objects into the prepared pages: what the preview and the
// printer get is what the bands wrote, drawn and kept in a file alike.
#include "BandFormFixture.h"
#include "report/engine/RP_BandView.h"
#include "report/engine/RP_EMFPages.h"
#include "report/engine/RP_MemoLayout.h"
#include "report/engine/RP_MemoView.h"
#include "report/engine/RP_PageBuild.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <memory>

namespace {

class CollectTexts : public TrpExportFilter {
public:
  void OnText(const TrpView&, const QString& text, const QRect&, uint16_t) override { texts << text; }
  void OnObject(TrpView&) override {}
  QStringList texts;
};

int DarkPixels(const QImage& image, const QRect& area) {
  int dark = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) dark += qGray(image.pixel(x, y)) < 128;
  return dark;
}

class BuildToPreparedPagesTest : public BandFormTest {
protected:
  void SetUp() override {
    BandFormTest::SetUp();
    rows->SetRangeEndCount(25);
    NumberRecordsAs(QStringLiteral("ROW"), rows);
    auto* band = static_cast<TrpBandView*>(page->Add(std::make_unique<TrpBandView>()));
    band->SetBandType(rpBand::MasterData);
    band->Name = QStringLiteral("Data");
    band->SetGeometry(0, 0, 720, 60);
    band->FormatPattern = QStringLiteral("Rows");
    auto* memo = static_cast<TrpMemoView*>(page->Add(std::make_unique<TrpMemoView>()));
    memo->Name = QStringLiteral("Cell");
    memo->SetGeometry(0, 10, 300, 40);
    memo->Memo = QStringList{QStringLiteral("Task [ROW]")};
  }
};

TEST_F(BuildToPreparedPagesTest, RowsLandOnPagesThatDrawAndSurviveTheFile) {
  TrpEMFPages pages(&report);
  TrpReportBuild build(report, pages, &owner);
  build.BuildPages();
  ASSERT_EQ(pages.Count(), 2) << "fifteen rows of 60 units fill a page of 900";

  CollectTexts first;
  pages.ExportPage(0, first);
  ASSERT_EQ(first.texts.size(), 15);
  EXPECT_EQ(first.texts.front(), "Task 1");
  EXPECT_EQ(first.texts.back(), "Task 15");

  QImage image(720, 900, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    pages.Pages(0).InUse = true;
    pages.Draw(0, painter, image.rect());
  }
  EXPECT_GT(DarkPixels(image, QRect(0, 10, 300, 40)), 0) << "the first row's text";
  EXPECT_EQ(DarkPixels(image, QRect(400, 0, 320, 900)), 0) << "nothing right of the cells";

  QBuffer file;
  file.open(QIODevice::ReadWrite);
  pages.WriteToStream(file);
  file.seek(0);
  TrpEMFPages loaded(&report);
  ASSERT_TRUE(loaded.ReadFromStream(file)) << loaded.LastError().toStdString();
  ASSERT_EQ(loaded.Count(), 2);
  CollectTexts second;
  loaded.ExportPage(1, second);
  ASSERT_EQ(second.texts.size(), 10);
  EXPECT_EQ(second.texts.back(), "Task 25");
}

// A memo longer than its page in a band that may split: each page prints the lines
// that fit, at least one even where one is taller than the page, and the next page goes
// on with the first line that did not fit; every line prints once, in order.
class SplitMemoTest : public BandFormTest {};

TEST_F(SplitMemoTest, MemoCutAcrossPagesContinuesWithTheFirstLineThatDidNotFit) {
  struct Case {
    const char* name;
    int paperHeight;  // tenths of a millimetre
    int lines;
    int minPages;
  };
  for (const Case& c : {Case{"three pages and more", 1000, 60, 3}, Case{"a page lower than one line", 28, 5, 5}}) {
    SCOPED_TRACE(c.name);
    page->Clear();
    page->PaperHeight = c.paperHeight;
    rows->SetRangeEndCount(1);
    auto* band = static_cast<TrpBandView*>(page->Add(std::make_unique<TrpBandView>()));
    band->SetBandType(rpBand::MasterData);
    band->SetGeometry(0, 0, 720, 20);
    band->Flags = rpBandFlag::Stretched | rpBandFlag::Breaked;
    band->FormatPattern = QStringLiteral("Rows");
    auto* memo = static_cast<TrpMemoView*>(page->Add(std::make_unique<TrpMemoView>()));
    memo->Name = QStringLiteral("Notes");
    memo->SetGeometry(0, 0, 300, 20);
    QStringList text;
    for (int i = 1; i <= c.lines; ++i) text << QStringLiteral("line %1").arg(i);
    memo->Memo = text;

    TrpEMFPages pages(&report);
    TrpReportBuild build(report, pages, &owner);
    build.BuildPages();
    ASSERT_GE(pages.Count(), c.minPages);
    ASSERT_LE(pages.Count(), c.lines) << "at least one line a page";
    QStringList printed;
    for (int p = 0; p < pages.Count(); ++p) {
      const TrpPage* built = pages.PageToObjects(p);
      ASSERT_EQ(built->Objects().size(), 1u) << "page " << p + 1;
      QStringList lines = built->Objects().front()->Memo;
      rpTakeStoredLines(lines);
      ASSERT_FALSE(lines.isEmpty()) << "page " << p + 1;
      for (const QString& line : lines) printed << rpWithoutMark(line).toString();
    }
    EXPECT_EQ(printed, text);
  }
}

}  // namespace
