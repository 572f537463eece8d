// The build as the language's host: the names only a build can answer (LINE#, PAGE#,
// TOTALPAGES, ...), the requests scripts make of it (NEWPAGE, NEWCOLUMN, STOPREPORT,
// SHOWBAND) and the aggregates; everything else goes to the callbacks installed before.
#include "report/engine/RP_Class.h"
#include "report/engine/RP_Globals.h"
#include "report/engine/RP_Page.h"
#include "report/engine/RP_PageBuild.h"
#include "report/engine/RP_Utils.h"

void TrpReportBuild::HookParser() {
  TrpParser& parser = rpGlobals().Parser();
  previousGetValue_ = parser.OnGetValue;
  previousFunction_ = parser.OnFunction;
  parser.OnGetValue = [this](const QString& name, TrpValue& value) {
    if (ValueResolver)
      ValueResolver(name, value);
    else
      GetValue(name, value);
  };
  parser.OnFunction = [this](const QString& name, const QString& p1, const QString& p2, const QString& p3,
                             TrpValue& value) {
    if (FunctionResolver)
      FunctionResolver(name, p1, p2, p3, value);
    else
      Function(name, p1, p2, p3, value);
  };
  rpGlobals().SetCurrentReport(this);
}

void TrpReportBuild::UnhookParser() {
  if (!previousGetValue_ && !previousFunction_) return;
  TrpParser& parser = rpGlobals().Parser();
  parser.OnGetValue = std::move(previousGetValue_);
  parser.OnFunction = std::move(previousFunction_);
  previousGetValue_ = nullptr;
  previousFunction_ = nullptr;
  if (rpGlobals().CurrentReport() == this) rpGlobals().SetCurrentReport(nullptr);
}

bool TrpReportBuild::CounterValue(const QString& upper, TrpValue& value) {
  TrpPageRun* page = CurrentPage;
  if (upper == QLatin1String("PAGE#")) {
    value = TrpValue(PrepPage + 1);
  } else if (upper == QLatin1String("TOTALPAGES")) {
    value = TrpValue(TotalPages);
  } else if (upper == QLatin1String("LINE#") || upper == QLatin1String("LINETHROUGH#")) {
    // A footer shows the counters of its data band.
    TrpBand* band = CurrentBand;
    if (band && !band->IsDataBand() && band->Type != rpBand::GroupHeader && page) {
      for (int level = 1; level <= 3; ++level) {
        if (band->Type == rpBandLevel::Footer[level] || band->Type == rpBandLevel::Header[level])
          band = page->Band(rpBandLevel::Data[level]);
      }
    }
    value = TrpValue(band ? (upper == QLatin1String("LINE#") ? band->LineNo : band->LineThrough) : 0);
  } else if (upper == QLatin1String("COLUMN#")) {
    value = TrpValue(page ? page->CurColumn : 0);
  } else if (upper == QLatin1String("CURRENT#")) {
    value = TrpValue(page ? page->CurPosition : 0);
  } else {
    return false;
  }
  return true;
}

bool TrpReportBuild::PositionValue(const QString& upper, TrpValue& value) {
  TrpPageRun* page = CurrentPage;
  if (upper == QLatin1String("FINALPASS")) {
    value = TrpValue(FinalPass);
  } else if (upper == QLatin1String("CURY")) {
    value = TrpValue(page ? page->CurY : 0);
  } else if (upper == QLatin1String("FREESPACE")) {
    value = TrpValue(page ? page->CurBottomY - page->CurY : 0);
  } else if (upper == QLatin1String("PAGEHEIGHT")) {
    value = TrpValue(page ? page->Page().PaperHeightUnits() : 0);
  } else if (upper == QLatin1String("PAGEWIDTH")) {
    value = TrpValue(page ? page->Page().PaperWidthUnits() : 0);
  } else {
    return false;
  }
  return true;
}

bool TrpReportBuild::ScriptProcedure(const QString& upper, const QString& p1) {
  if (upper == QLatin1String("NEWPAGE")) {
    if (CurrentBand) ++CurrentBand->NewPageRequests;
  } else if (upper == QLatin1String("NEWCOLUMN")) {
    if (CurrentBand) ++CurrentBand->NewColumnRequests;
  } else if (upper == QLatin1String("STOPREPORT")) {
    Terminated = true;
  } else if (upper == QLatin1String("SHOWBAND")) {
    if (CurrentPage) CurrentPage->ShowBandByName(p1.trimmed());
  } else {
    return false;
  }
  return true;
}

void TrpReportBuild::GetValue(const QString& name, TrpValue& value) {
  const QString upper = name.toUpper();
  if (CounterValue(upper, value) || PositionValue(upper, value) || BoundFieldValue(name, value)) return;
  if (previousGetValue_)
    previousGetValue_(name, value);
  else
    rpGlobals().DefaultGetValue(name, value);
}

void TrpReportBuild::Function(const QString& name, const QString& p1, const QString& p2, const QString& p3,
                              TrpValue& value) {
  if (ScriptProcedure(name.toUpper(), p1)) return;
  if (previousFunction_)
    previousFunction_(name, p1, p2, p3, value);
  else
    rpGlobals().DefaultFunction(name, p1, p2, p3, value);
}

bool TrpReportBuild::BoundFieldValue(const QString& name, TrpValue& value) {
  const TrpView* view = report_.CurrentView();
  if (!view || !view->BoundDataSet || view->BoundName.isEmpty()) return false;
  if (name.trimmed().compare(view->BoundName.trimmed(), Qt::CaseInsensitive) != 0) return false;
  TrpField* field = view->BoundDataSet->FindField(view->BoundField);
  if (!field) return false;
  value = rpGetFieldValue(*field);
  return true;
}

void TrpReportBuild::BeforePrint(TrpView& view) {
  if (view.BoundDataSet && !view.BoundField.isEmpty()) {
    TrpTableDataSet* dataSet = view.BoundDataSet;
    if (!dataSet->Active()) dataSet->Open();
    if (TrpField* field = dataSet->FindField(view.BoundField); field && rpIsBlob(*field)) view.GetBlob(*field);
  }
  if (OnBeforePrint) OnBeforePrint(view);
}

bool TrpReportBuild::SetDictionaryVariable(const QString&, const TrpValue&) { return false; }

void TrpReportBuild::SetCurY(int y) {
  if (CurrentPage) CurrentPage->CurY = y;
}

TrpObjectProperty TrpReportBuild::GetObjectByName(const QString& text) { return rpGetObjectByName(report_, text); }

TrpDataset* TrpReportBuild::DataBandDataSet(int bandType) {
  if (!CurrentPage || bandType < 0 || bandType >= rpBand::Count) return nullptr;
  TrpBand* band = CurrentPage->Band(bandType);
  return band ? band->DataSet : nullptr;
}
