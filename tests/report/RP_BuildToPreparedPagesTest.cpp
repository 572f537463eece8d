// A build with real text objects into the prepared pages: what the preview and the
// printer get is what the bands wrote, drawn and kept in a file alike.
#include "BandFormFixture.h"
#include "report/engine/RP_BandView.h"
#include "report/engine/RP_EMFPages.h"
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

}  // namespace
