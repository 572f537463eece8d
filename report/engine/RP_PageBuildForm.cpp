// The build's outer loops: passes over the report's pages, forming one page, and the
// data loop that walks data bands over their data sets with group breaks.
#include "report/engine/RP_BandView.h"
#include "report/engine/RP_Class.h"
#include "report/engine/RP_DSet.h"
#include "report/engine/RP_Errors.h"
#include "report/engine/RP_Globals.h"
#include "report/engine/RP_MemoView.h"
#include "report/engine/RP_Page.h"
#include "report/engine/RP_PageBuild.h"

#include <QBuffer>

namespace {

// The first pass of a two-pass build only counts pages: its records go nowhere.
class CountingSink : public TrpPageSink {
public:
  int Add(const TrpPage&) override { return count_++; }
  QIODevice& PageStream(int) override {
    buffer_.buffer().clear();
    buffer_.seek(0);
    return buffer_;
  }
  int Count() const override { return count_; }
  CountingSink() { buffer_.open(QIODevice::ReadWrite); }

private:
  int count_ = 0;
  QBuffer buffer_;
};

}  // namespace

TrpReportBuild::TrpReportBuild(TrpReport& report, TrpPageSink& sink, QObject* owner)
    : report_(report), sink_(&sink), owner_(owner) {}

TrpReportBuild::~TrpReportBuild() { End(); }

void TrpReportBuild::Begin() {
  if (begun_) return;
  begun_ = true;
  DoublePass = report_.TwoPass;
  Terminated = false;
  HookParser();
  // Cancel in the progress window stops the build after the band being printed.
  if (TrpProgressView* progress = rpGlobals().Progress()) {
    previousCancel_ = progress->OnCancel;
    progress->OnCancel = [this] { Terminated = true; };
  }
}

void TrpReportBuild::End() {
  if (!begun_) return;
  begun_ = false;
  UnhookParser();
  if (TrpProgressView* progress = rpGlobals().Progress()) progress->OnCancel = std::move(previousCancel_);
  previousCancel_ = nullptr;
}

void TrpReportBuild::RunPass(bool finalPass) {
  FinalPass = finalPass;
  if (finalPass) {
    OnePass();
    if (!DoublePass) TotalPages = sink_->Count();
    return;
  }
  TrpPageSink* finalSink = sink_;
  CountingSink counter;
  sink_ = &counter;
  struct Restore {
    TrpReportBuild& build;
    TrpPageSink* sink;
    ~Restore() { build.sink_ = sink; }
  } restore{*this, finalSink};
  OnePass();
  TotalPages = counter.Count();
}

void TrpReportBuild::BuildPages() {
  Begin();
  struct Ender {
    TrpReportBuild& build;
    ~Ender() { build.End(); }
  } ender{*this};
  if (DoublePass) {
    RunPass(false);
    Terminated = false;
  }
  RunPass(true);
}

void TrpReportBuild::OnePass() {
  PrepPage = sink_->Count();
  Append = AppendFooter = false;
  if (pages_.empty()) {
    for (int i = 0; i < report_.PageCount(); ++i)
      pages_.push_back(std::make_unique<TrpPageRun>(*report_.Page(i), *this));
  }
  std::vector<TrpPageRun*> reportPages, dialogPages;
  for (const auto& page : pages_) {
    (page->Page().PageType == rpPageType::Dialog ? dialogPages : reportPages).push_back(page.get());
  }
  // Names resolved to data fields by an earlier build may name data sets gone since.
  report_.Dictionary.ClearCache();
  if (!(DoublePass && FinalPass)) {
    MemoNotices.clear();
    for (TrpPageRun* page : reportPages) page->Skip = false;
    DialogCancelled = false;
    // Dialog pages first, in page order, until one is cancelled.
    for (TrpPageRun* page : dialogPages) {
      CurrentPage = page;
      report_.SetCurrentPage(&page->Page());
      page->InitReport();
      if (DialogCancelled) break;
    }
  }
  if (!DialogCancelled) {
    // A multiple report forms its pages once per record of the report's data set.
    TrpDataset* multiple = MultipleReport ? ReportDataset : nullptr;
    if (multiple) {
      multiple->Init();
      multiple->First();
    }
    for (TrpPageRun* page : reportPages) page->InitReport();
    for (TrpPageRun* page : reportPages) page->BindDataSources();
    if (OnProgress) OnProgress(PrepPage + 1);
    do {
      FormPages(reportPages);
      if (multiple && !Terminated) multiple->Next();
    } while (multiple && !Terminated && !multiple->Eof());
    for (TrpPageRun* page : reportPages) page->DoneReport();
    if (multiple) multiple->Exit();
  }
  for (TrpPageRun* page : dialogPages) page->DoneReport();
  CurrentPage = nullptr;
  CurrentBand = nullptr;
  report_.SetCurrentPage(nullptr);
  report_.SetCurrentView(nullptr);
}

void TrpReportBuild::FormPages(const std::vector<TrpPageRun*>& reportPages) {
  for (size_t i = 0; i < reportPages.size() && !Terminated; ++i) {
    TrpPageRun* page = reportPages[i];
    CurrentPage = page;
    report_.SetCurrentPage(&page->Page());
    page->PageNumber = PositionOf(*page);
    if (!page->Page().Visible) {
      page->RunPageScript();
      continue;
    }
    if (page->Skip) continue;
    page->Mode = 0;
    page->FormPage();
    Append = false;
    if (i + 1 < reportPages.size() && reportPages[i + 1]->Page().PrintToPrevPage) {
      PrepPage = std::max(0, PrepPage - 1);
      Append = true;
    } else {
      PrepPage = sink_->Count();
      if (OnProgress) OnProgress(PrepPage + 1);
    }
  }
}

int TrpReportBuild::PositionOf(const TrpPageRun& page) const {
  // Dialog pages count: the position is the page's place in the report.
  for (size_t i = 0; i < pages_.size(); ++i) {
    if (pages_[i].get() == &page) return static_cast<int>(i) + 1;
  }
  return 0;
}

void TrpPageRun::AddPreparedPage() {
  build_.PrepPage = build_.Sink().Add(page_);
  freshY_ = -1;
  crossSheets_.clear();  // a new page below opens sheets of its own
  crossSheetsOf_ = -1;
  // Lets the progress window repaint and serve Cancel once per page.
  if (build_.OnProgress)
    build_.OnProgress(build_.PrepPage + 1);
  else if (TrpProgressView* progress = rpGlobals().Progress())
    progress->ProcessEvents();
}

void TrpPageRun::FormPage() {
  TrpBand* master = Band(rpBand::MasterData);
  if (!build_.PrintIfEmpty) {
    bool empty = !master->DataSet;
    if (!empty) {
      master->DataSet->First();
      empty = master->DataSet->Eof();
    }
    if (empty) {
      if (build_.Append) build_.PrepPage = build_.Sink().Count();
      return;
    }
  }
  Closing = false;
  if (Mode == 0) RunPageScript();
  if (build_.Append && build_.SavedY == build_.SavedBottom) {
    build_.Append = build_.AppendFooter = false;
    build_.PrepPage = build_.Sink().Count();
  }
  CurBottomY = build_.Append && build_.AppendFooter ? build_.SavedBottom : BottomMargin();
  ColPos = 0;
  XAdjust = LeftMargin();
  if (build_.Append && build_.Sink().Count() > 0) {
    CurY = build_.SavedY;
  } else {
    AddPreparedPage();
    CurY = TopMargin();
    PrintBand(Band(rpBand::Overlay));
    PrintBand(Band(rpBand::None));
  }
  // A manual build leaves every band to its handler.
  const bool manual = Mode == 0 && static_cast<bool>(build_.OnManualBuild);
  if (!manual && !PrintBand(Band(rpBand::ReportTitle))) {
    if (Band(rpBand::PageHeader)->Flags & rpBandFlag::OnFirstPage) PrintBand(Band(rpBand::PageHeader));
    PrintBand(Band(rpBand::ColumnHeader));
  }
  freshY_ = CurY;
  int deepest = 0;
  for (int level = 1; level <= 3 && !manual; ++level) {
    if (Band(rpBandLevel::Data[level])->Exists()) deepest = level;
  }
  if (!manual && deepest > 0) DataLoop(1, deepest);
  if (Mode == 0) {
    if (manual) {
      build_.OnManualBuild(page_);
    } else {
      Closing = true;
      PrintBand(Band(rpBand::ColumnFooter));
      // The column footer is printed already: the summary may use its room.
      summaryAfterColumnFooter_ = true;
      PrintBand(Band(rpBand::ReportSummary));
      summaryAfterColumnFooter_ = false;
      Closing = false;
    }
    build_.SavedY = ColPos > 0 ? BottomMargin() : CurY;
    build_.SavedBottom = CurBottomY;
    ColPos = 0;
    XAdjust = LeftMargin();
    TrpBand* footer = Band(rpBand::PageFooter);
    const int savedFlags = footer->Flags;
    if (!manual && ((build_.PrepPage == 0 && (footer->Flags & rpBandFlag::OnFirstPage)) ||
                    (footer->Flags & rpBandFlag::OnLastPage))) {
      footer->Flags |= rpBandFlag::OnFirstPage;
      build_.AppendFooter = footer->Exists();
      PrintPageFooters();
    }
    footer->Flags = savedFlags;
    if (build_.OnEndPage) build_.OnEndPage(build_.PrepPage);
    ++build_.PrepPage;
  }
  LastPrinted = nullptr;
}

void TrpPageRun::FlushQueue() {
  std::vector<TrpBand*> bands;
  bands.swap(queue_);
  for (TrpBand* band : bands) Emit(band);
}

void TrpPageRun::StartNewPage(TrpBand* band) {
  ColPos = ColumnCount - 1;
  NewColumn(band);
}

void TrpPageRun::DataLoop(int level, int deepest) {
  for (TrpBand* band = Band(rpBandLevel::Data[level]); band && band->Exists(); band = band->Next()) {
    TrpDataset* data = band->DataSet;
    if (!data) continue;
    Move(*data, TrpPlayAction::First);
    band->LineNo = 1;
    band->LineThrough = 1;
    for (TrpView* view : band->Objects) {
      if (auto* memo = dynamic_cast<TrpMemoView*>(view)) memo->ForgetLastPrinted();
    }
    for (TrpBand* g = band->FirstGroup; g; g = g->NextGroup) {
      g->LineNo = g->LineThrough = 0;
      g->LastGroupValue = TrpValue();
    }
    if (data->Eof()) {
      // Nothing of this set to show: a pending record of the level above stays queued for
      // its own loop to drop (or print when it prints with an empty subset).
      if (queue_.empty()) Emit(band->Footer);
      continue;
    }
    for (TrpBand* g = band->FirstGroup; g; g = g->NextGroup) {
      ++g->LineNo;
      ++g->LineThrough;
      Queue(g);
    }
    Queue(band->Header);
    if (band->Footer) ResetAggregates(*band->Footer);
    while (!data->Eof() && !build_.Terminated) {
      Queue(band);
      if (band->PrintIfSubsetEmpty) FlushQueue();
      bool printed = true;
      if (level < deepest) {
        DataLoop(level + 1, deepest);
        if (!queue_.empty()) {
          if (band->PrintIfSubsetEmpty) {
            FlushQueue();
          } else {
            queue_.pop_back();
            printed = false;
          }
        }
      } else {
        FlushQueue();
      }
      Move(*data, TrpPlayAction::Next);
      // Group change, outermost group first.
      TrpBand* breaking = nullptr;
      for (TrpBand* g = band->FirstGroup; g && !breaking; g = g->NextGroup) {
        if (data->Eof() || g->LastGroupValue.IsEmpty() || GroupChanged(*g)) breaking = g;
      }
      if (breaking) {
        const bool atEnd = data->Eof();
        // Footers show the last record of their group.
        const bool steppedBack = data->RecNo() > 0;
        if (steppedBack) Move(*data, TrpPlayAction::Prior);
        for (TrpBand* g = band->LastGroup; g && g != breaking; g = g->PrevGroup) {
          Queue(g->Footer);
          g->LastGroupValue = TrpValue();
        }
        Queue(breaking->Footer);
        FlushQueue();
        if (atEnd) {
          if (steppedBack) Move(*data, TrpPlayAction::Next);
          if (printed) ++CurPosition;
          break;
        }
        if (steppedBack) Move(*data, TrpPlayAction::Next);
        if (Mode == 0 && breaking->NewPageAfter && breaking->Visible) StartNewPage(nullptr);
        for (TrpBand* g = breaking; g; g = g->NextGroup) {
          ++g->LineNo;
          ++g->LineThrough;
          Queue(g);
        }
        band->LineNo = 0;
      }
      if (printed) {
        ++CurPosition;
        ++band->LineNo;
        ++band->LineThrough;
        if (Mode == 0 && !data->Eof() && band->NewPageAfter && band->Visible) StartNewPage(band);
      }
    }
    if (!queue_.empty()) {
      queue_.pop_back();
    } else {
      Emit(band->Footer);
    }
  }
}

void TrpPageRun::RunPageScript() {
  if (page_.Script.isEmpty()) return;
  if (!pageScriptCompiled_) {
    QStringList errors;
    pageScript_.clear();
    rpGlobals().Interpreter().CompileScript(page_.Script, pageScript_, errors);
    pageScriptCompiled_ = true;
  }
  RunCompiled(pageScript_);
}

void TrpPageRun::ExecuteScript(const QStringList& lines) {
  if (lines.isEmpty()) return;
  QStringList coded, errors;
  rpGlobals().Interpreter().CompileScript(lines, coded, errors);
  for (const QString& error : errors) build_.ReportCalcError(error);
  if (!errors.isEmpty()) return;  // half a script could do half its work
  TrpPageRun* const previous = build_.CurrentPage;
  build_.CurrentPage = this;
  build_.Report().SetCurrentPage(&page_);
  RunCompiled(coded);
  build_.CurrentPage = previous;
  build_.Report().SetCurrentPage(previous ? &previous->Page() : nullptr);
}

void TrpPageRun::RunCompiled(const QStringList& coded) {
  try {
    rpGlobals().Interpreter().RunScript(coded);
  } catch (const ErpError& error) {
    build_.ReportCalcError(error.Message());
  }
}

bool TrpPageRun::GroupChanged(TrpBand& header) {
  const TrpValue now = GroupValue(header);
  try {
    return !rpEquals(now, header.LastGroupValue);
  } catch (const ErpError& error) {
    build_.ReportCalcError(error.Message());
    return false;
  }
}
