#include "treeview/LazyTreeInteraction.h"

#include <utility>

TLazyTreeInteraction::TLazyTreeInteraction(std::function<void(int Id)> timerFired)
    : input_(std::make_unique<TLazyTreeInputController>(std::move(timerFired))) {}

TLazyTreeInteraction::~TLazyTreeInteraction() = default;

void TLazyTreeInteraction::SetTimerDriver(std::unique_ptr<TLazyTreeTimerDriver> driver) {
  input_->SetTimerDriver(std::move(driver));
}

void TLazyTreeInteraction::SetClock(TLazyTreeClock clock) { input_->SetClock(std::move(clock)); }

void TLazyTreeInteraction::SetIncrementalSearch(TLTIncrementalSearch v) {
  if (v == search_->Mode()) return;
  search_->SetMode(v);
  StopTimer(SearchTimer);
}

void TLazyTreeInteraction::SetIncrementalSearchDirection(TLTSearchDirection v) {
  search_->SetDirection(v);
  StopTimer(SearchTimer);
}

void TLazyTreeInteraction::SetIncrementalSearchStart(TLTSearchStart v) {
  search_->SetStart(v);
  StopTimer(SearchTimer);
}

void TLazyTreeInteraction::SetIncrementalSearchTimeout(int v) {
  search_->SetTimeout(v);
  StopTimer(SearchTimer);
}

void TLazyTreeInteraction::SetEditDelay(int v) {
  edit_.SetDelay(v);
  input_->RestartIfRunning(EditTimer, v);
}
