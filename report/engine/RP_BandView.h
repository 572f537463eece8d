#pragma once
// The designed band: its type (kept in the frame-sides word, which bands do not use),
// its flags, child band, master, columns and data source (kept in the format-text
// field: a data set name, a record count, a group header's condition, or a cross data
// band's "name=source;" pairs). During a build the band generator hands it its run-time
// band, which some script names act on.
#include "report/engine/RP_View.h"

class TrpDataset;

namespace rpBandFlag {
constexpr int Stretched = 1, FormNewPage = 2, PrintIfSubsetEmpty = 4, Breaked = 8, OnFirstPage = 16,
              OnLastPage = 32, RepeatHeader = 64, PrintChildIfInvisible = 128;
}

class TrpBandView : public TrpView {
public:
  TrpBandView();

  QString ClassName() const override { return QStringLiteral("TrpBandView"); }

  int BandType() const { return FrameTyp & 0x7F; }
  void SetBandType(int type) { FrameTyp = static_cast<uint16_t>(type & 0x7F); }
  const QString& DataSource() const { return FormatPattern; }

  QString ChildBand;
  QString Master;
  int32_t Columns = 1;
  int32_t ColumnWidth = 200;
  int32_t ColumnGap = 20;
  int32_t ColumnBreakAfter = 1;

  // During a build: the run-time band (it answers LEFT, TOP, WIDTH, HEIGHT, VISIBLE
  // and DATASOURCE) and its data set (NEXT, PRIOR, FIRST, EOF). Null otherwise.
  TrpScriptObject* RunTimeBand = nullptr;
  TrpDataset* RunTimeDataSet = nullptr;

  void SetPropValue(const QString& name, const TrpValue& value) override;
  TrpValue GetPropValue(const QString& name) override;
  TrpValue DoMethod(const QString& name, const QString& p1, const QString& p2, const QString& p3) override;
  void DeclareProperties() override;

  // The designer's picture of the band: hatched, framed, with its type's name on a tab.
  void Draw(QPainter& canvas) override;
  void ReadFromStream(QIODevice& stream, int version) override;
  void WriteToStream(QIODevice& stream) override;

  // Whether band type offers the flag property of that bit.
  static bool OffersFlag(int bandType, int bit);
};
