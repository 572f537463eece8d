#pragma once
// A report component over the band form: one master data band over "Rows" with one text
// object, built through PrepareReport, and the texts its prepared pages hold.
#include "BandFormFixture.h"
#include "ReportFakes.h"
#include "report/engine/RP_BandView.h"
#include "report/engine/RP_MemoView.h"

#include <memory>

class CollectPageTexts : public TrpExportFilter {
public:
  void OnText(const TrpView&, const QString& text, const QRect&, uint16_t) override { texts << text; }
  void OnObject(TrpView&) override {}
  QStringList texts;
};

class ReportComponentTest : public BandFormTest {
protected:
  void SetUp() override {
    BandFormTest::SetUp();
    windows = std::make_unique<FakeWindows>();
    rpResetGlobals();  // made afresh with the fake windows
    report.SetOwner(&owner);
    report.SetShowProgress(false);
    rows->SetRangeEndCount(3);
  }
  void TearDown() override {
    windows.reset();
    BandFormTest::TearDown();
  }

  // A master data band over "Rows" of that height, holding one text object with lines.
  TrpMemoView* AddRowBand(int height, const QStringList& lines) {
    auto* band = static_cast<TrpBandView*>(page->Add(std::make_unique<TrpBandView>()));
    band->SetBandType(rpBand::MasterData);
    band->Name = QStringLiteral("Data");
    band->SetGeometry(0, 0, 720, height);
    band->FormatPattern = QStringLiteral("Rows");
    auto* memo = static_cast<TrpMemoView*>(page->Add(std::make_unique<TrpMemoView>()));
    memo->Name = QStringLiteral("Cell");
    memo->SetGeometry(0, 0, 700, std::min(height, 40));
    memo->Memo = lines;
    return memo;
  }

  // The text lines of a prepared page.
  QStringList PageTexts(int index) {
    CollectPageTexts texts;
    report.EMFPages().ExportPage(index, texts);
    return texts.texts;
  }
  QStringList AllTexts() {
    QStringList all;
    for (int i = 0; i < report.EMFPages().Count(); ++i) all << PageTexts(i);
    return all;
  }

  std::unique_ptr<FakeWindows> windows;
};
