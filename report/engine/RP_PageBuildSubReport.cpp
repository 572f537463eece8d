// Sub-reports: the page a sub-report object names runs its data loop once, recording
// its steps; the steps are then replayed at the object's place, every sub-report of the
// band side by side, and when one needs more room the page they are printed on breaks
// and they continue on the next.
#include "report/engine/RP_Class.h"
#include "report/engine/RP_DSet.h"
#include "report/engine/RP_Globals.h"
#include "report/engine/RP_PageBuild.h"
#include "report/engine/RP_SubReportView.h"

#include <algorithm>

void TrpPageRun::Emit(TrpBand* band) {
  if (!band || !band->Exists()) return;
  if (Mode == 0) {
    PrintBand(band);
    return;
  }
  playList_.push_back({TrpPlayAction::Print, nullptr, band, band->LineNo, band->LineThrough});
  // The group test of the next record compares against what this header shows.
  if (band->Type == rpBand::GroupHeader) band->LastGroupValue = GroupValue(*band);
}

void TrpPageRun::Move(TrpDataset& data, TrpPlayAction::Kind kind) {
  switch (kind) {
    case TrpPlayAction::First:
      data.First();
      break;
    case TrpPlayAction::Next:
      data.Next();
      break;
    case TrpPlayAction::Prior:
      data.Prior();
      break;
    case TrpPlayAction::Print:
      return;
  }
  if (Mode == 1) playList_.push_back({kind, &data, nullptr, 0, 0});
}

void TrpPageRun::RecordSubReport() {
  Mode = 1;
  playList_.clear();
  playPos_ = 0;
  queue_.clear();
  Emit(Band(rpBand::ReportTitle));
  int deepest = 0;
  for (int level = 1; level <= 3; ++level) {
    if (Band(rpBandLevel::Data[level])->Exists()) deepest = level;
  }
  if (deepest > 0) DataLoop(1, deepest);
  Emit(Band(rpBand::ReportSummary));
}

bool TrpPageRun::Replay() {
  while (playPos_ < playList_.size() && !build_.Terminated) {
    const TrpPlayAction& action = playList_[playPos_];
    if (action.kind == TrpPlayAction::Print) {
      action.band->LineNo = action.line;
      action.band->LineThrough = action.lineThrough;
      if (PrintBand(action.band)) return false;  // does not fit: the same step on the next page
    } else {
      switch (action.kind) {
        case TrpPlayAction::First:
          action.data->First();
          break;
        case TrpPlayAction::Next:
          action.data->Next();
          break;
        default:
          action.data->Prior();
          break;
      }
    }
    ++playPos_;
  }
  return true;
}

void TrpPageRun::RunSubReports(TrpBand& band, int bandY, size_t first) {
  struct Running {
    TrpPageRun* run;
    TrpView* view;
    bool done;
  };
  std::vector<Running> subs;
  for (size_t i = first; i < band.Objects.size(); ++i) {
    auto* view = dynamic_cast<TrpSubReportView*>(band.Objects[i]);
    if (!view || !view->Visible) continue;
    TrpPageRun* run = build_.PageRun(view->SubPage);
    // A page cannot show itself, nor a page already showing it: that would never end.
    if (!run || run == this || run->inSubReport_ || !run->Initialized) continue;
    subs.push_back({run, view, false});
  }
  TrpPageRun* const mainPage = build_.CurrentPage;
  inSubReport_ = true;
  for (Running& sub : subs) {
    sub.run->inSubReport_ = true;
    build_.CurrentPage = sub.run;
    sub.run->RecordSubReport();
    sub.run->CurY = bandY + sub.view->Top - band.DesignY;
    sub.run->CurBottomY = CurBottomY;
    sub.run->XAdjust = XAdjust + sub.view->Left;
    sub.run->freshY_ = AtFreshPage() ? sub.run->CurY : -1;
  }
  int lowest = bandY + band.Height;
  for (;;) {
    bool needRoom = false;
    for (Running& sub : subs) {
      if (sub.done) continue;
      build_.CurrentPage = sub.run;
      sub.done = sub.run->Replay();
      lowest = std::max(lowest, sub.run->CurY);
      needRoom = needRoom || !sub.done;
    }
    build_.CurrentPage = mainPage;
    if (!needRoom || build_.Terminated) break;
    NewColumn(&band);
    lowest = CurY;
    for (Running& sub : subs) {
      if (sub.done) continue;
      sub.run->CurY = CurY;
      sub.run->CurBottomY = CurBottomY;
      sub.run->XAdjust = XAdjust + sub.view->Left;
      sub.run->freshY_ = CurY;
    }
  }
  for (Running& sub : subs) {
    sub.run->playList_.clear();
    sub.run->playPos_ = 0;
    sub.run->Mode = 0;
    sub.run->inSubReport_ = false;
  }
  inSubReport_ = false;
  build_.CurrentPage = mainPage;
  subReportEnd_ = lowest;
}
