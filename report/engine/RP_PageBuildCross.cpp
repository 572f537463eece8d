// Cross-tab columns: a band cut by cross bands prints the cross header's objects, then
// the cross data band's objects once per record of its column data set, side by side,
// then the cross footer's after the last column.
#include "report/engine/RP_Class.h"
#include "report/engine/RP_DSet.h"
#include "report/engine/RP_PageBuild.h"

void TrpPageRun::WriteAt(TrpView& view, int left, TrpBand& band, int bandY, int bandHeight) {
  const int designLeft = view.Left;
  view.Left = left;
  WriteObject(view, band, bandY, bandHeight);
  view.Left = designLeft;
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
  TrpBand* data = Band(rpBand::CrossData);
  int x = data->Exists() ? data->X : 0;
  if (data->Exists()) {
    TrpDataset* columns = band.CrossDataSet ? band.CrossDataSet : data->DataSet;
    const std::vector<TrpView*> cells = objectsOf(rpBand::CrossData);
    if (columns) {
      if (build_.OnBeginColumn) build_.OnBeginColumn(band);
      columns->First();
      int column = 0;
      while (!columns->Eof() && !build_.Terminated) {
        build_.CrossColumn = ++column;
        RunBandScript(*data);
        int width = data->Width;
        if (build_.OnPrintColumn) build_.OnPrintColumn(column, width);
        for (TrpView* view : cells) WriteAt(*view, x + view->Left - data->X, band, bandY, bandHeight);
        Accumulate(*data);
        x += width;
        columns->Next();
      }
      build_.CrossColumn = 0;
    }
  }
  if (TrpBand* footer = Band(rpBand::CrossFooter); footer->Exists()) {
    for (TrpView* view : objectsOf(rpBand::CrossFooter))
      WriteAt(*view, x + view->Left - footer->X, band, bandY, bandHeight);
  }
}
