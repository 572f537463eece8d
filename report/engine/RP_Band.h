#pragma once
// The run-time band: what a band view becomes while pages are built. One chain per band
// type on a page (each band owns the bands chained after it), with the links between
// headers, data bands, footers, groups and children, the counters behind LINE# and
// LINETHROUGH#, the aggregate values of a data band and the band's data set.
#include "report/engine/RP_Aggregates.h"
#include "report/engine/RP_DSet.h"
#include "report/engine/RP_Host.h"

#include <QStringList>
#include <memory>
#include <vector>

class TrpBandView;
class TrpDataset;
class TrpPageRun;
class TrpView;

class TrpBand : public TrpAggregateBand, public TrpScriptObject {
public:
  TrpBand(int type, TrpPageRun* page) : Type(type), Page(page) {}
  ~TrpBand() override;

  int Type;
  TrpPageRun* Page;
  TrpBandView* View = nullptr;
  int Flags = 0;
  // The chain of bands of the same type, in y order; the first band knows the last.
  std::unique_ptr<TrpBand> NextOwned;
  TrpBand* Next() const { return NextOwned.get(); }
  TrpBand* Prev = nullptr;
  TrpBand* LastBand = nullptr;
  // Group headers attached to a data band, outermost first.
  TrpBand* NextGroup = nullptr;
  TrpBand* PrevGroup = nullptr;
  TrpBand* FirstGroup = nullptr;
  TrpBand* LastGroup = nullptr;
  TrpBand* Child = nullptr;
  TrpAggregateBand* AggregateBand = nullptr;
  int LineNo = 1;           // LINE#
  int LineThrough = 1;      // LINETHROUGH#
  TrpValue LastGroupValue;  // empty until the group header printed
  TrpBand* Header = nullptr;
  TrpBand* Footer = nullptr;
  TrpBand* DataBand = nullptr;  // a group header's data band
  TrpAggregateValues Values;
  int ColumnCounter = 1;
  int SavedXOffset = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  int DesignY = 0;     // the band view's top: objects' tops are taken relative to it
  int MaxHeight = -1;  // the largest height measured while printing
  QString BandName;
  bool PrintIfSubsetEmpty = false, NewPageAfter = false, Stretched = false, Breaked = false,
       PrintChildIfInvisible = false, Visible = true;
  std::vector<TrpView*> Objects;
  QStringList Memo, Script;
  TrpDataset* DataSet = nullptr;
  std::unique_ptr<TrpDataset> OwnedDataSet;
  TrpDataset* CrossDataSet = nullptr;
  std::unique_ptr<TrpDataset> OwnedCrossDataSet;
  QString CrossSource;  // the name the cross data band gave for its columns, found or not
  QString GroupCondition;
  int NewPageRequests = 0, NewColumnRequests = 0;
  bool ScriptRun = false, RePrinting = false, Fits = true;
  bool CrossObjects = false;  // cross bands cut through it

  // The "None" band has no view: it exists when objects lie outside every band.
  bool Exists() const { return View != nullptr || (Type == rpBand::None && !Objects.empty()); }
  bool IsDataBand() const;
  // Sets the data set (or a group header's condition) from a view's data-source text.
  void SetDataSource(const QString& text);

  // --- TrpAggregateBand ---
  QString Name() const override { return BandName; }
  int BandType() const override { return Type; }
  bool HasCrossObjects() const override { return CrossObjects; }
  TrpAggregateBand* AggregateSource() const override { return AggregateBand; }
  void SetAggregateSource(TrpAggregateBand* band) override { AggregateBand = band; }
  TrpAggregateValues& Aggregates() override { return Values; }

  // --- scripts: LEFT, TOP, WIDTH, HEIGHT, VISIBLE, DATASOURCE ---
  bool HasProperty(const QString& name) override;
  void SetPropValue(const QString& name, const TrpValue& value) override;
  TrpValue GetPropValue(const QString& name) override;
  TrpValue DoMethod(const QString&, const QString&, const QString&, const QString&) override { return {}; }
};

namespace rpBandLevel {
// Header, data and footer types of levels 1 to 3 (level 0 holds zeros).
constexpr int Header[4] = {0, 4, 7, 10};
constexpr int Data[4] = {0, 5, 8, 11};
constexpr int Footer[4] = {0, 6, 9, 12};
}  // namespace rpBandLevel
