#pragma once
// A form of one page over the whole paper (720 x 900 units) with the data set "Rows"
// for its bands to run over, shared by the tests that build pages from bands.
#include "ReportTestSupport.h"
#include "report/engine/RP_BandView.h"
#include "report/engine/RP_Class.h"
#include "report/engine/RP_DSet.h"
#include "report/engine/RP_Page.h"

#include <QObject>
#include <memory>

class BandFormTest : public ReportEngineTest {
public:  // table cases build their forms through it
  void SetUp() override {
    ReportEngineTest::SetUp();
    page = report.AddPage();
    page->UseMargins = 0;  // the whole paper: 720 x 900 units
    page->PaperWidth = 2000;
    page->PaperHeight = 2500;
    rows = AddDataset(QStringLiteral("Rows"));
  }

  // A band across the paper's width; source is its data set or group condition.
  TrpBandView* AddBand(int type, const QString& name, int top, int height, int flags = 0,
                       const QString& source = QString()) {
    auto* band = static_cast<TrpBandView*>(page->Add(std::make_unique<TrpBandView>()));
    band->SetBandType(type);
    band->Name = name;
    band->SetGeometry(0, top, 720, height);
    band->Flags = static_cast<uint16_t>(flags);
    band->FormatPattern = source;
    return band;
  }

  // A data set of that name counting its records; the test sets how many.
  TrpUserDataset* AddDataset(const QString& name) {
    auto* records = new TrpUserDataset(&owner);
    records->setObjectName(name);
    records->SetRangeEnd(reCount);
    return records;
  }

  // Scripts read field (upper case) as the number of the data set's current record,
  // from 1; every other name reaches what answered it before.
  static void NumberRecordsAs(const QString& field, TrpUserDataset* records) {
    TrpParser::GetValueEvent before = rpGlobals().Parser().OnGetValue;
    rpGlobals().Parser().OnGetValue = [field, records, before](const QString& name, TrpValue& value) {
      if (name.toUpper() == field)
        value = TrpValue(records->RecNo() + 1);
      else if (before)
        before(name, value);
      else
        rpGlobals().DefaultGetValue(name, value);
    };
  }

  TrpReport report;
  TrpPage* page = nullptr;
  QObject owner;
  TrpUserDataset* rows = nullptr;
};
