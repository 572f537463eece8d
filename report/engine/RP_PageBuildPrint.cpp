// Printing one band: its script and requests, the fit test and page breaks, stretching,
// columns, and writing its objects into the current prepared page.
#include "report/engine/RP_BandView.h"
#include "report/engine/RP_Class.h"
#include "report/engine/RP_DSet.h"
#include "report/engine/RP_Errors.h"
#include "report/engine/RP_Globals.h"
#include "report/engine/RP_MemoView.h"
#include "report/engine/RP_Page.h"
#include "report/engine/RP_PageBuild.h"

#include <algorithm>

namespace {

bool KeepsOwnY(int type) { return type == rpBand::PageFooter || type == rpBand::Overlay || type == rpBand::None; }

// Bands a new page or column prints itself: a break from inside them would start the
// next page from within starting this one, so they print where they are, clipped.
bool StartsPages(int type) {
  return KeepsOwnY(type) || type == rpBand::PageHeader || type == rpBand::ColumnHeader || type == rpBand::ColumnFooter;
}

}  // namespace

bool TrpPageRun::MayBreak(const TrpBand& band) const { return !StartsPages(band.Type) && !startingPage_; }

void TrpPageRun::RunBandScript(TrpBand& band) {
  if (band.ScriptRun || !band.View || band.View->Script.isEmpty()) return;
  try {
    rpGlobals().Interpreter().RunScript(band.View->Script);
  } catch (const ErpError& error) {
    build_.ReportCalcError(error.Message());
  }
}

TrpValue TrpPageRun::GroupValue(TrpBand& header) {
  try {
    return rpGlobals().Parser().Calc(header.GroupCondition);
  } catch (const ErpError& error) {
    // A condition that cannot be computed never changes: the group does not break.
    build_.ReportCalcError(error.Message());
    return TrpValue::Null();
  }
}

int TrpPageRun::ColumnFooterHeight() const {
  const TrpBand* footer = Band(rpBand::ColumnFooter);
  return footer && footer->Exists() && !summaryAfterColumnFooter_ ? footer->Height : 0;
}

bool TrpPageRun::PrintBand(TrpBand* band) {
  if (!band || !band->Exists()) return false;
  const bool savedBreaked = band->Breaked;
  TrpBand* const previousCurrent = build_.CurrentBand;
  build_.CurrentBand = band;
  build_.Report().SetCurrentView(band->View);
  band->MaxHeight = -1;
  band->NewPageRequests = band->NewColumnRequests = 0;
  if (build_.OnBeginBand) build_.OnBeginBand(*band);
  if (LastPrinted && LastPrinted != band && LastPrinted->ColumnCounter > 1) {
    // The previous band was laid out in columns: continue below its row.
    XAdjust = LastPrinted->SavedXOffset;
    CurY += LastPrinted->Height;
    LastPrinted->ColumnCounter = 1;
  }
  RunBandScript(*band);
  if (build_.Terminated) {
    build_.CurrentBand = previousCurrent;
    return false;
  }
  if (MayBreak(*band)) {
    for (int i = 0; i < band->NewPageRequests; ++i) StartNewPage(band);
    for (int i = 0; i < band->NewColumnRequests; ++i) NewColumn(band);
  }

  bool broke = false;
  if (band->Visible) {
    if (band->Type == rpBand::ColumnHeader) ColumnTop = CurY;
    if (band->Type == rpBand::PageFooter) band->Y = CurBottomY;
    band->MaxHeight = std::max(band->MaxHeight, band->Height);
    if (MayBreak(*band) && !band->Breaked) {
      const int height = MeasureHeight(*band);
      if (CurY + height > CurBottomY) {
        if (AtFreshPage()) {
          // Nothing gained by a new page: print it split (or clipped) here.
          band->Breaked = true;
        } else {
          if (Mode == 1) {
            band->Breaked = savedBreaked;
            build_.CurrentBand = previousCurrent;
            return true;
          }
          CheckNewPage(CurY, 10000, false);
          broke = true;
          if (CurY + height > CurBottomY) band->Breaked = true;
        }
      }
    }
    // A data band with bands after it that have no data set of their own draws them too.
    DrawBand(*band);
    if (band->IsDataBand() && band->DataSet) {
      for (TrpBand* next = band->Next(); next && !next->DataSet; next = next->Next()) DrawBand(*next);
    }
    PrintBand(band->Child);
    if (!band->IsDataBand() && band->Type != rpBand::GroupHeader && band->NewPageAfter && band->Visible &&
        MayBreak(*band))
      StartNewPage(nullptr);
  } else {
    if (band->PrintChildIfInvisible) PrintBand(band->Child);
    if (band->IsDataBand()) Accumulate(*band);
  }
  if (!band->RePrinting) {
    if (band->Type == rpBand::GroupHeader) {
      band->LastGroupValue = GroupValue(*band);
    } else if (band->Type != rpBand::PageFooter || build_.PrepPage >= build_.Sink().Count() - 1) {
      ResetAggregates(*band);
    }
  }
  if (build_.OnEndBand) build_.OnEndBand(*band);
  band->Breaked = savedBreaked;
  build_.CurrentBand = previousCurrent;
  return broke;
}

int TrpPageRun::CalcStretchedHeight(TrpBand& band) {
  int height = band.Height;
  for (TrpView* view : band.Objects) {
    auto* stretcheable = dynamic_cast<TrpStretcheable*>(view);
    if (!stretcheable || !view->Stretched() || (band.CrossObjects && crossOf_.count(view))) continue;
    build_.Report().SetCurrentView(view);
    height = std::max(height, view->Top - band.DesignY + stretcheable->CalcHeight());
  }
  // Cross-tab cells may grow differently in each column: the tallest counts.
  TrpBand* crossData = Band(rpBand::CrossData);
  if (band.CrossObjects && band.Type != rpBand::PageFooter && crossData && crossData->Exists()) {
    TrpDataset* columns = CrossColumns(band);
    if (!columns) return height;
    if (build_.OnBeginColumn) build_.OnBeginColumn(band);
    columns->First();
    int column = 0;
    while (!columns->Eof() && !build_.Terminated) {
      build_.CrossColumn = ++column;
      if (build_.OnPrintColumn) {
        int width = crossData->Width;
        build_.OnPrintColumn(column, width);
      }
      for (TrpView* view : band.Objects) {
        auto it = crossOf_.find(view);
        auto* stretcheable = dynamic_cast<TrpStretcheable*>(view);
        if (it == crossOf_.end() || !stretcheable || !view->Stretched()) continue;
        build_.Report().SetCurrentView(view);
        height = std::max(height, view->Top - band.DesignY + stretcheable->CalcHeight());
      }
      columns->Next();
    }
    build_.MaxCrossColumns = std::max(build_.MaxCrossColumns, column);
    build_.CrossColumn = 0;
  }
  return height;
}

int TrpPageRun::MeasureHeight(TrpBand& band) {
  int height = band.Stretched ? CalcStretchedHeight(band) : band.Height;
  if (band.IsDataBand() && band.DataSet && band.Next() && !band.Next()->DataSet) {
    for (TrpBand* next = band.Next(); next && !next->DataSet; next = next->Next())
      height += next->Stretched ? CalcStretchedHeight(*next) : next->Height;
  }
  band.MaxHeight = std::max(band.MaxHeight, height);
  return height;
}

bool TrpPageRun::WriteObject(TrpView& view, TrpBand& band, int bandY, int bandHeight) {
  const int left = view.Left, top = view.Top;
  // Design x positions are page positions: the first column keeps them.
  view.Left += XAdjust - LeftMargin();
  view.Top = view.Top - band.DesignY + bandY;
  build_.Report().SetCurrentView(&view);
  const TrpPrintBand printBand{band.Type, band.X, bandY, band.Width, bandHeight};
  view.FirstPass = !build_.FinalPass;
  bool written = true;
  try {
    // A memo runs the handler itself, after its script and only for its whole text.
    auto* memo = dynamic_cast<TrpMemoView*>(&view);
    if (!memo) build_.BeforePrint(view);
    const bool whole = !memo || memo->DrawMode != rpMemoDrawMode::PrintPart;
    view.Print(build_.Sink().PageStream(build_.PrepPage), &printBand);
    if (view.Typ == rpObjectType::Memo && whole && view.Visible) build_.NotifyMemoPrinted(view);
  } catch (const ErpError& error) {
    // A bad expression or script: reported with the others, the build goes on.
    build_.ReportCalcError(error.Message());
    written = false;
  }
  view.FirstPass = false;
  view.Left = left;
  view.Top = top;
  return written;
}

void TrpPageRun::DrawObjects(TrpBand& band, int bandY, int bandHeight) {
  for (size_t i = 0; i < band.Objects.size(); ++i) {
    TrpView* view = band.Objects[i];
    if (view->Typ == rpObjectType::SubReport) {
      if (!view->Visible) continue;
      if (band.CrossObjects) PrintCrossColumns(band, bandY, bandHeight);
      RunSubReports(band, bandY, i);
      return;
    }
    if (band.CrossObjects && crossOf_.count(view)) continue;
    if (!WriteObject(*view, band, bandY, bandHeight)) return;  // the rest of the band is left out
  }
  if (band.CrossObjects) PrintCrossColumns(band, bandY, bandHeight);
}

void TrpPageRun::DrawBand(TrpBand& band) {
  if (!band.Exists()) return;
  if (!KeepsOwnY(band.Type)) band.Y = CurY;
  subReportEnd_ = -1;
  if (band.Breaked && MayBreak(band)) {
    DrawSplit(band);
  } else if (band.Stretched) {
    const int height = std::max(CalcStretchedHeight(band), band.Height);
    std::vector<std::pair<TrpView*, int>> heights;
    for (TrpView* view : band.Objects) {
      if (!view->Stretched() || view->Height <= 0) continue;
      heights.emplace_back(view, view->Height);
      view->Height = height - (view->Top - band.DesignY);
    }
    if (MayBreak(band) && CheckNewPage(CurY, height, false)) band.Y = CurY;
    DrawObjects(band, band.Y, height);
    for (auto& [view, h] : heights) view->Height = h;
    CurY = band.Y + height;
    if (subReportEnd_ >= 0) CurY = subReportEnd_;
  } else {
    if (MayBreak(band) && CheckNewPage(CurY, band.Height, false)) band.Y = CurY;
    DrawObjects(band, band.Y, band.Height);
    if (!KeepsOwnY(band.Type)) CurY = band.Y + band.Height;
    if (subReportEnd_ >= 0) CurY = subReportEnd_;
  }
  // A data band laid out in several columns across the page.
  if (band.IsDataBand() && band.View && band.View->Columns > 1 && band.View->ColumnBreakAfter == 1) {
    if (band.ColumnCounter == 1) band.SavedXOffset = XAdjust;
    if (band.ColumnCounter < band.View->Columns) {
      ++band.ColumnCounter;
      XAdjust = band.SavedXOffset + (band.View->ColumnWidth + band.View->ColumnGap) * (band.ColumnCounter - 1);
      CurY -= band.Height;
    } else {
      XAdjust = band.SavedXOffset;
      band.ColumnCounter = 1;
    }
    LastPrinted = &band;
  } else {
    LastPrinted = &band;
  }
  if (band.IsDataBand()) Accumulate(band);
}

bool TrpPageRun::CheckNewPage(int y, int height, bool noBreak) {
  if (build_.CurrentBand && build_.CurrentBand->Type == rpBand::ColumnFooter) return false;
  if (CurBottomY >= y + height + ColumnFooterHeight()) return false;
  // At the top of a page just started a break would only start another: print here.
  if (AtFreshPage() || startingPage_) return false;
  if (!noBreak) NewColumn(build_.CurrentBand);
  return true;
}

void TrpPageRun::NewColumn(TrpBand* band) {
  if (Mode == 1) return;  // a sub-report's page breaks with the page it is printed on
  TrpBand* current = build_.CurrentBand;
  if (ColPos < ColumnCount - 1) {
    const bool wasStarting = startingPage_;
    startingPage_ = true;
    PrintBand(Band(rpBand::ColumnFooter));
    ++ColPos;
    ++CurColumn;
    XAdjust += ColumnWidth + ColumnGap;
    CurY = ColumnTop;
    PrintBand(Band(rpBand::ColumnHeader));
    freshY_ = CurY;
    startingPage_ = wasStarting;
  } else {
    NewPage();
  }
  build_.CurrentBand = current;
  if (!band) return;
  // Repeated headers: the groups outside the band, then the data band's own header.
  if (band->Type == rpBand::GroupHeader || band->IsDataBand()) {
    TrpBand* data = band->IsDataBand() ? band : band->DataBand;
    if (data && !Closing) {
      for (TrpBand* g = data->FirstGroup; g && g != band; g = g->NextGroup) {
        if (!(g->Flags & rpBandFlag::RepeatHeader)) continue;
        g->RePrinting = true;
        PrintBand(g);
        g->RePrinting = false;
      }
    }
    if (band->IsDataBand() && band->Header && (band->Header->Flags & rpBandFlag::RepeatHeader)) {
      band->Header->RePrinting = true;
      PrintBand(band->Header);
      band->Header->RePrinting = false;
    }
    build_.CurrentBand = current;
    freshY_ = CurY;
  }
}

void TrpPageRun::NewPage() {
  if (Mode == 1) return;
  TrpBand* current = build_.CurrentBand;
  const bool wasStarting = startingPage_;
  startingPage_ = true;
  if (!Closing) PrintBand(Band(rpBand::ColumnFooter));
  PrintPageFooters();
  CurBottomY = BottomMargin();
  AddPreparedPage();
  build_.Append = false;
  ColPos = 0;
  XAdjust = LeftMargin();
  PrintBand(Band(rpBand::Overlay));
  CurY = TopMargin();
  PrintBand(Band(rpBand::PageHeader));
  PrintBand(Band(rpBand::ColumnHeader));
  freshY_ = CurY;
  startingPage_ = wasStarting;
  build_.CurrentBand = current;
}

void TrpPageRun::PrintPageFooters() {
  ColPos = 0;
  XAdjust = LeftMargin();
  TrpBand* footer = Band(rpBand::PageFooter);
  if (build_.PrepPage > 0 || (footer->Flags & rpBandFlag::OnFirstPage)) {
    const int count = build_.Sink().Count();
    for (int index = build_.PrepPage; index < count; ++index) {
      if (build_.Append && build_.AppendFooter) continue;
      build_.PrepPage = index;
      if (build_.OnEndPage) build_.OnEndPage(index);
      PrintBand(footer);
    }
  }
  build_.PrepPage = build_.Sink().Count();
}

void TrpPageRun::Accumulate(TrpBand& band) {
  const bool visible = band.Visible;
  try {
    band.Values.Accumulate(visible, [](const QString& expression) { return rpGlobals().Parser().Calc(expression); });
  } catch (const ErpError& error) {
    build_.ReportCalcError(error.Message());
  }
}

void TrpPageRun::AccumulateColumn(TrpBand& band, int column) {
  try {
    band.Values.AccumulateColumn(column, band.Visible,
                                 [](const QString& expression) { return rpGlobals().Parser().Calc(expression); });
  } catch (const ErpError& error) {
    build_.ReportCalcError(error.Message());
  }
}

void TrpPageRun::ResetAggregates(TrpBand& band) {
  if (auto* source = band.AggregateSource()) source->Aggregates().ResetBand(band.Name());
}

void TrpPageRun::ShowBandByName(const QString& name) {
  for (const auto& chain : bands_) {
    for (TrpBand* band = chain.get(); band; band = band->Next()) {
      if (band->Exists() && band->BandName.compare(name, Qt::CaseInsensitive) == 0) {
        PrintBand(band);
        return;
      }
    }
  }
}
