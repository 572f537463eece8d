// A page before and after a build: its bands made from the band views, objects placed
// in them, the links between bands, and the aggregates registered with data bands.
#include "report/engine/RP_BandView.h"
#include "report/engine/RP_Class.h"
#include "report/engine/RP_DSet.h"
#include "report/engine/RP_Errors.h"
#include "report/engine/RP_Globals.h"
#include "report/engine/RP_MemoView.h"
#include "report/engine/RP_Page.h"
#include "report/engine/RP_PageBuild.h"
#include "report/engine/RP_SubReportView.h"
#include "report/engine/RP_Utils.h"

#include <algorithm>
#include <unordered_set>

namespace {

bool InBand(const TrpView& view, const TrpBand& band) { return view.Top >= band.Y && view.Top <= band.Y + band.Height; }

// What a band takes from its view, whatever its type; the two know each other for the run.
void TakeDesign(TrpBand& band, TrpBandView& view) {
  band.View = &view;
  band.Memo = view.Memo;
  band.Script = view.Script;
  band.X = view.Left;
  band.Width = view.Width;
  band.Visible = view.Visible;
  band.BandName = view.Name;
  view.RunTimeBand = &band;
}

}  // namespace

TrpPageRun::~TrpPageRun() = default;

QObject* TrpPageRun::Owner() const { return build_.Owner(); }

int TrpPageRun::TopMargin() const { return page_.TopMargin(); }
int TrpPageRun::LeftMargin() const { return page_.LeftMargin(); }
int TrpPageRun::RightMargin() const { return page_.RightMargin(); }
int TrpPageRun::BottomMargin() const {
  int bottom = page_.BottomMargin();
  if (const TrpBand* footer = Band(rpBand::PageFooter); footer && footer->Exists()) bottom -= footer->Height;
  return bottom;
}

void TrpPageRun::InitReport() {
  if (page_.PageType == rpPageType::Dialog) {
    InitDialog();
    Initialized = true;
    return;
  }
  // What an earlier pass or build printed last is no reason to suppress a text now.
  for (const auto& object : page_.Objects()) {
    if (auto* memo = dynamic_cast<TrpMemoView*>(object.get())) memo->ForgetLastPrinted();
  }
  if (build_.DoublePass && build_.FinalPass && Initialized) {
    for (const auto& band : bands_) {
      if (band && band->DataSet) band->DataSet->First();
    }
    return;
  }
  for (int type = 0; type < rpBand::Count; ++type)
    bands_[static_cast<size_t>(type)] = std::make_unique<TrpBand>(type, this);
  PrepareObjects();
  page_.Run = this;
  CurColumn = 1;
  CurPosition = 1;
  Initialized = true;
}

void TrpPageRun::DoneReport() {
  if (build_.DoublePass && !build_.FinalPass) return;
  dialogForm_.reset();  // its controls go back to the hidden dialog form
  for (auto& [view, script] : savedScripts_) view->Script = script;
  savedScripts_.clear();
  for (const auto& object : page_.Objects()) {
    object->ClearBinding();
    if (auto* bandView = dynamic_cast<TrpBandView*>(object.get())) {
      bandView->RunTimeBand = nullptr;
      bandView->RunTimeDataSet = nullptr;
    }
  }
  for (auto& band : bands_) band.reset();
  page_.Run = nullptr;
  Initialized = false;
}

void TrpPageRun::PrepareObjects() {
  const auto& objects = page_.Objects();
  std::vector<bool> placed(objects.size(), false);
  // 1. Scripts compiled for the run; the designed text comes back in DoneReport.
  for (size_t i = 0; i < objects.size(); ++i) {
    TrpView& view = *objects[i];
    if (!view.Script.isEmpty()) {
      QStringList coded, errors;
      rpGlobals().Interpreter().CompileScript(view.Script, coded, errors);
      savedScripts_.emplace_back(&view, view.Script);
      view.Script = coded;
    }
    if (view.Flags & rpViewFlag::WantsMemoNotice) build_.MemoNotices.push_back(&view);
    if (auto* sub = dynamic_cast<TrpSubReportView*>(&view)) {
      // The page a sub-report shows is formed only through it.
      if (TrpPageRun* target = build_.PageRun(sub->SubPage); target && target != this) target->Skip = true;
    }
  }
  // 2. Cross bands cut down the page: each takes the objects lying across its width.
  crossOf_.clear();
  for (int type = rpBand::CrossHeader; type <= rpBand::CrossFooter; ++type) {
    for (const auto& object : objects) {
      auto* view = dynamic_cast<TrpBandView*>(object.get());
      if (!view || view->BandType() != type) continue;
      TrpBand* band = Band(type);
      TakeDesign(*band, *view);
      band->Flags = view->Flags;
      band->SetDataSource(view->DataSource());
      view->RunTimeDataSet = band->DataSet;
      for (const auto& other : objects) {
        if (dynamic_cast<TrpBandView*>(other.get())) continue;
        if (other->Left >= band->X && band->X + band->Width >= other->Left + other->Width) {
          band->Objects.push_back(other.get());
          crossOf_[other.get()] = band;
        }
      }
      break;
    }
  }
  // 3. One band per band view, chained by type in y order.
  for (int type = 0; type < rpBand::Count; ++type) {
    if (type == rpBand::None || (type >= rpBand::CrossHeader && type <= rpBand::CrossFooter)) continue;
    std::vector<TrpBandView*> views;
    for (const auto& object : objects) {
      auto* bandView = dynamic_cast<TrpBandView*>(object.get());
      if (bandView && bandView->BandType() == type) views.push_back(bandView);
    }
    // Stable: a later band moves forward only when strictly higher.
    std::stable_sort(views.begin(), views.end(),
                     [](const TrpBandView* a, const TrpBandView* b) { return a->Top < b->Top; });
    TrpBand* previous = nullptr;
    for (TrpBandView* view : views) {
      TrpBand* band = Band(type);
      if (previous) {
        previous->NextOwned = std::make_unique<TrpBand>(type, this);
        band = previous->NextOwned.get();
        band->Prev = previous;
      }
      TakeDesign(*band, *view);
      band->Y = view->Top;
      band->DesignY = view->Top;
      band->Height = view->Height;
      // Only the flags the band type offers: a page header asking for a new page after
      // itself would start pages for ever.
      int flags = 0;
      for (int bit = 0; bit < 8; ++bit) {
        if ((view->Flags & (1 << bit)) && TrpBandView::OffersFlag(type, bit)) flags |= 1 << bit;
      }
      band->Flags = flags;
      band->ColumnCounter = 1;
      band->Stretched = flags & rpBandFlag::Stretched;
      band->PrintIfSubsetEmpty = flags & rpBandFlag::PrintIfSubsetEmpty;
      band->PrintChildIfInvisible = flags & rpBandFlag::PrintChildIfInvisible;
      band->NewPageAfter = !Skip && (flags & rpBandFlag::FormNewPage);
      band->Breaked = !Skip && (flags & rpBandFlag::Breaked);
      band->SetDataSource(view->DataSource());
      if (type == rpBand::MasterData && !band->DataSet && !build_.MultipleReport) band->DataSet = build_.ReportDataset;
      view->RunTimeDataSet = band->DataSet;
      // Ordinary objects first, then sub-reports, each taken by the first band reaching it.
      for (int round = 0; round < 2; ++round) {
        for (size_t i = 0; i < objects.size(); ++i) {
          TrpView* object = objects[i].get();
          if (placed[i] || dynamic_cast<TrpBandView*>(object)) continue;
          const bool subReport = dynamic_cast<TrpSubReportView*>(object) != nullptr;
          if (subReport != (round == 1) || !InBand(*object, *band)) continue;
          placed[i] = true;
          band->Objects.push_back(object);
          if (crossOf_.count(object)) band->CrossObjects = true;
        }
      }
      previous = band;
    }
    if (previous) Band(type)->LastBand = previous;
  }
  // 4. Objects outside every band.
  TrpBand* none = Band(rpBand::None);
  for (size_t i = 0; i < objects.size(); ++i) {
    if (placed[i] || dynamic_cast<TrpBandView*>(objects[i].get())) continue;
    none->Objects.push_back(objects[i].get());
  }
  // 5. Headers and footers of each level.
  for (int level = 1; level <= 3; ++level) {
    TrpBand* firstData = Band(rpBandLevel::Data[level]);
    if (!firstData->Exists()) continue;
    for (TrpBand* header = Band(rpBandLevel::Header[level]); header && header->Exists(); header = header->Next()) {
      for (TrpBand* data = firstData; data; data = data->Next()) {
        if (header->Y + header->Height < data->Y) {
          if (!data->Header) data->Header = header;
          break;
        }
      }
    }
    for (TrpBand* footer = Band(rpBandLevel::Footer[level]); footer && footer->Exists(); footer = footer->Next()) {
      TrpBand* found = nullptr;
      for (TrpBand* data = firstData; data; data = data->Next()) {
        if (data->Y + data->Height <= footer->Y) found = data;
      }
      if (found && !found->Footer) found->Footer = footer;
    }
  }
  // 6. Group headers paired with footers from the inside out.
  std::vector<TrpBand*> headers, footers;
  for (TrpBand* b = Band(rpBand::GroupHeader); b && b->Exists(); b = b->Next()) headers.push_back(b);
  for (TrpBand* b = Band(rpBand::GroupFooter); b && b->Exists(); b = b->Next()) footers.push_back(b);
  for (size_t i = 0; i < headers.size() && i < footers.size(); ++i)
    headers[headers.size() - 1 - i]->Footer = footers[i];
  // 7. A cross data band naming "band=source;" pairs gives those bands their column source.
  if (TrpBand* crossData = Band(rpBand::CrossData);
      crossData->Exists() && crossData->View->DataSource().contains(u';')) {
    for (const QString& pair : crossData->View->DataSource().split(u';', Qt::SkipEmptyParts)) {
      const QString bandName = pair.section(u'=', 0, 0).trimmed();
      const QString source = pair.section(u'=', 1).trimmed();
      for (int type = rpBand::MasterHeader; type <= rpBand::Child; ++type) {
        for (TrpBand* b = Band(type); b && b->Exists(); b = b->Next()) {
          if (b->BandName.compare(bandName, Qt::CaseInsensitive) != 0) continue;
          b->CrossSource = source;
          try {
            TrpFoundDataSet found = rpGetDataSet(Owner(), source);
            b->CrossDataSet = found.dataSet;
            b->OwnedCrossDataSet = std::move(found.owned);
          } catch (...) {
            b->CrossDataSet = nullptr;  // an unknown source leaves the band without columns
          }
        }
      }
    }
  }
  // 8. Child links.
  for (const auto& band : bands_) {
    for (TrpBand* b = band.get(); b && b->Exists(); b = b->Next()) {
      // The "None" band has no view, so no child either.
      if (!b->View || b->View->ChildBand.isEmpty()) continue;
      auto* child = dynamic_cast<TrpBandView*>(page_.FindObject(b->View->ChildBand));
      if (!child || !child->RunTimeBand) continue;
      // A child chain that leads back to the band would print for ever: that link is left out.
      auto* candidate = static_cast<TrpBand*>(child->RunTimeBand);
      bool cycle = false;
      for (TrpBand* c = candidate; c && !cycle; c = c->Child) cycle = c == b;
      if (!cycle) b->Child = candidate;
    }
  }
  // 9. Each group header joins the group list of its data band, outermost first.
  for (TrpBand* header : headers) {
    TrpBand* data = Band(rpBand::MasterData);
    if (!header->View->Master.isEmpty()) {
      if (auto* master = dynamic_cast<TrpBandView*>(page_.FindObject(header->View->Master)))
        data = static_cast<TrpBand*>(master->RunTimeBand);
    }
    if (!data || !data->Exists()) continue;
    header->DataBand = data;
    header->PrevGroup = data->LastGroup;
    if (data->LastGroup)
      data->LastGroup->NextGroup = header;
    else
      data->FirstGroup = header;
    data->LastGroup = header;
  }
  // 10. Columns.
  ColumnCount = std::max(1, static_cast<int>(page_.Columns));
  ColumnGap = page_.ColumnGap;
  ColumnWidth = (RightMargin() - LeftMargin() - (ColumnCount - 1) * ColumnGap) / ColumnCount;
}

void TrpPageRun::BindDataFields() {
  TrpDataDictionary& dictionary = build_.Report().Dictionary;
  // A field named alone is looked up in the data set of its band on this page.
  TrpPageRun* const previousPage = build_.CurrentPage;
  build_.CurrentPage = this;
  std::unordered_set<TrpView*> seen;
  for (const auto& first : bands_) {
    for (TrpBand* band = first.get(); band && band->Exists(); band = band->Next()) {
      for (TrpView* view : band->Objects) {
        if (!seen.insert(view).second) continue;  // an object of a cross band is in two bands
        view->ClearBinding();
        if (view->Typ == rpObjectType::Memo && (view->Flags & rpMemoFlag::TextOnly)) continue;
        const QString text = view->Memo.join(QStringLiteral("\r\n"));
        const qsizetype close = text.lastIndexOf(u']');
        if (text.size() <= 2 || !text.startsWith(u'[') || close < 1) continue;
        const QString name = text.mid(1, close - 1);
        QString field = name;
        if (const int alias = dictionary.FieldAliases.IndexOf(name);
            alias >= 0 && !dictionary.FieldAliases.Value(alias).isEmpty())
          field = dictionary.FieldAliases.Value(alias);
        build_.CurrentBand = band;
        const TrpDataSetAndField found = rpGetDataSetAndField(field);
        if (!found.dataSet || found.fieldName.isEmpty()) continue;
        view->BoundDataSet = found.dataSet;
        view->BoundField = found.fieldName;
        view->BoundName = name;
      }
    }
  }
  build_.CurrentBand = nullptr;
  build_.CurrentPage = previousPage;
}

void TrpPageRun::CountCrossColumns() {
  TrpBand* crossData = Band(rpBand::CrossData);
  if (!crossData->Exists()) return;
  // Only a page with a numeric source that may be retried needs the count: walking a
  // data set runs its handlers.
  bool retries = false;
  for (const auto& first : bands_) {
    for (TrpBand* band = first.get(); band && band->Exists() && !retries; band = band->Next())
      retries = band->CrossObjects && NumericCrossSource(*band);
  }
  if (!retries) return;
  std::unordered_set<TrpDataset*> counted;
  for (const auto& first : bands_) {
    for (TrpBand* band = first.get(); band && band->Exists(); band = band->Next()) {
      if (!band->CrossObjects) continue;
      TrpDataset* columns = band->CrossDataSet ? band->CrossDataSet : crossData->DataSet;
      if (!columns || !counted.insert(columns).second) continue;
      int count = 0;
      for (columns->First(); !columns->Eof() && !build_.Terminated; columns->Next()) ++count;
      columns->First();
      build_.MaxCrossColumns = std::max(build_.MaxCrossColumns, count);
    }
  }
}

void TrpPageRun::BindDataSources() {
  if (build_.DoublePass && build_.FinalPass) return;
  // Footers that may total each data band's records.
  static const std::vector<int> masterTotals = {rpBand::PageFooter, rpBand::ColumnFooter, rpBand::MasterFooter,
                                                rpBand::GroupFooter, rpBand::ReportSummary};
  BindDataFields();
  CountCrossColumns();
  build_.binding_ = true;
  // Per data band type, the footers that may total it; the cross data band's records
  // are a row's columns, totalled in the cross footer.
  std::vector<std::pair<int, std::vector<int>>> totalled;
  for (int level = 1; level <= 3; ++level) {
    std::vector<int> types = masterTotals;
    if (level >= 2) types.push_back(rpBand::DetailFooter);
    if (level >= 3) types.push_back(rpBand::SubdetailFooter);
    totalled.emplace_back(rpBandLevel::Data[level], types);
  }
  totalled.emplace_back(rpBand::CrossData, std::vector<int>{rpBand::CrossFooter});
  for (const auto& [dataType, types] : totalled) {
    for (TrpBand* data = Band(dataType); data && data->Exists(); data = data->Next()) {
      build_.examined_ = data;
      for (int type : types) {
        for (TrpBand* band = Band(type); band && band->Exists(); band = band->Next()) {
          for (TrpBand* b = band; b; b = b->Child) {
            build_.CurrentBand = b;
            try {
              for (TrpView* object : b->Objects) {
                for (const QString& line : object->Memo) build_.Report().ExpandFields(line);
              }
            } catch (const ErpError& error) {
              // One bad text ends binding; the pages are still built.
              build_.ReportCalcError(error.Message());
              build_.binding_ = false;
              build_.examined_ = nullptr;
              build_.CurrentBand = nullptr;
              return;
            }
          }
        }
      }
    }
  }
  build_.binding_ = false;
  build_.examined_ = nullptr;
  build_.CurrentBand = nullptr;
}
