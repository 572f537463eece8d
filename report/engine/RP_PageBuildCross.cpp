// Cross-tab columns: a band cut by cross bands prints the cross header's objects, then
// the cross data band's objects once per record of its column data set, side by side,
// then the cross footer's after the last column. Columns that pass the page's right
// limit go on prepared pages to the right of it, opened once per page and shared by
// every band printed on that page, so a row's columns line up with the rows above.
#include "report/engine/RP_BandView.h"
#include "report/engine/RP_Class.h"
#include "report/engine/RP_DSet.h"
#include "report/engine/RP_PageBuild.h"

#include <QRegularExpression>
#include <algorithm>

void TrpPageRun::WriteAt(TrpView& view, int left, TrpBand& band, int bandY, int bandHeight) {
  const int designLeft = view.Left;
  view.Left = left;
  WriteObject(view, band, bandY, bandHeight);
  view.Left = designLeft;
}

int TrpPageRun::CrossSheet(int page, size_t sheet) {
  if (sheet == 0) return page;
  if (crossSheetsOf_ != page) {
    crossSheets_.clear();
    crossSheetsOf_ = page;
  }
  while (crossSheets_.size() < sheet) {
    const int index = build_.Sink().Add(page_);
    crossSheets_.push_back(index);
    // The sheet gets what a new page shows above its bands; its page footer comes with
    // the page's (PrintPageFooters takes every page from the current one on).
    const int savedY = CurY, savedX = XAdjust;
    TrpBand* const savedLast = LastPrinted;
    const bool wasStarting = startingPage_;
    startingPage_ = true;
    openingSheet_ = true;
    build_.PrepPage = index;
    XAdjust = LeftMargin();
    PrintBand(Band(rpBand::Overlay));
    CurY = TopMargin();
    TrpBand* header = Band(rpBand::PageHeader);
    if (page > 0 || (header->Flags & rpBandFlag::OnFirstPage)) PrintBand(header);
    build_.PrepPage = page;
    CurY = savedY;
    XAdjust = savedX;
    LastPrinted = savedLast;
    startingPage_ = wasStarting;
    openingSheet_ = false;
  }
  return crossSheets_[sheet - 1];
}

bool TrpPageRun::NumericCrossSource(const TrpBand& band) const {
  const TrpBand* crossData = Band(rpBand::CrossData);
  QString name = band.CrossSource;
  if (name.isEmpty() && crossData->View && !crossData->View->DataSource().contains(u';'))
    name = crossData->View->DataSource();
  static const QRegularExpression digits(QStringLiteral("^\\s*[0-9]+\\s*$"));
  return digits.match(name).hasMatch();
}

TrpDataset* TrpPageRun::CrossColumns(TrpBand& band) {
  TrpBand* crossData = Band(rpBand::CrossData);
  TrpDataset* columns = band.CrossDataSet ? band.CrossDataSet : crossData->DataSet;
  if (!NumericCrossSource(band)) return columns;
  if (columns) {
    columns->First();
    if (!columns->Eof()) return columns;
  }
  // A number that gives no columns (as "0" does) stands for "as many as the widest row":
  // the most columns a band had so far in this build.
  auto retry = std::make_unique<TrpUserDataset>();
  retry->SetRangeEnd(reCount);
  retry->SetRangeEndCount(build_.MaxCrossColumns);
  retry->Init();
  retryColumns_ = std::move(retry);
  return retryColumns_.get();
}

void TrpPageRun::PrintCrossColumns(TrpBand& band, int bandY, int bandHeight) {
  auto objectsOf = [&](int type) {
    std::vector<TrpView*> found;
    for (TrpView* view : band.Objects) {
      auto it = crossOf_.find(view);
      if (it != crossOf_.end() && it->second->Type == type) found.push_back(view);
    }
    return found;
  };
  for (TrpView* view : objectsOf(rpBand::CrossHeader)) WriteObject(*view, band, bandY, bandHeight);
  const int page = build_.PrepPage;
  // x is in design units; WriteObject moves it by the column offset of the page.
  const int shift = XAdjust - LeftMargin();
  size_t sheet = 0;
  int sheetStart = -1;  // the first column of a sheet prints there however wide
  int x = 0;
  // Moves to the next sheet when a column of that width passes the right limit (on a
  // sheet being opened the band stays there, clipped).
  auto place = [&](int width) {
    if (!openingSheet_ && x != sheetStart && x + shift + width > RightMargin()) {
      ++sheet;
      x = sheetStart = LeftMargin() - shift;
    }
    build_.PrepPage = CrossSheet(page, sheet);
  };
  TrpBand* data = Band(rpBand::CrossData);
  TrpBand* footer = Band(rpBand::CrossFooter);
  // The cross footer totals this row's columns only.
  if (footer->Exists()) ResetAggregates(*footer);
  if (data->Exists()) {
    x = sheetStart = data->X;
    TrpDataset* columns = CrossColumns(band);
    const std::vector<TrpView*> cells = objectsOf(rpBand::CrossData);
    if (columns) {
      if (build_.OnBeginColumn) build_.OnBeginColumn(band);
      columns->First();
      int column = 0;
      while (!columns->Eof() && !build_.Terminated) {
        build_.CrossColumn = ++column;
        int width = data->Width;
        if (build_.OnPrintColumn) build_.OnPrintColumn(column, width);
        RunBandScript(*data);
        if (!cells.empty()) place(width);
        for (TrpView* view : cells) WriteAt(*view, x + view->Left - data->X, band, bandY, bandHeight);
        Accumulate(*data);
        if (band.IsDataBand()) AccumulateColumn(band, column);
        x += width;
        columns->Next();
      }
      build_.MaxCrossColumns = std::max(build_.MaxCrossColumns, column);
      build_.CrossColumn = 0;
    }
  }
  if (footer->Exists()) {
    if (!data->Exists()) x = sheetStart = footer->X;
    const std::vector<TrpView*> totals = objectsOf(rpBand::CrossFooter);
    if (!totals.empty()) place(footer->Width);
    if (band.IsDataBand()) build_.CrossCellBand = footer;
    for (TrpView* view : totals)
      WriteAt(*view, x + view->Left - footer->X, band, bandY, bandHeight);
    build_.CrossCellBand = nullptr;
  }
  build_.PrepPage = page;
}
