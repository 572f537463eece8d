// The preview over a long task list: turning a page (goal: within one 16.7 ms frame at
// 500 prepared pages), both to a page drawn for the first time and to one whose image
// is kept, and showing the first page of a freshly connected set. 50, 500 and 5000
// pages show that neither grows with the set beyond its layout.
#include "ProgramBenchMain.h"
#include "report/RP_PreviewForm.h"
#include "report/engine/RP_EMFPages.h"
#include "tests/report/TaskListPages.h"

#include <QApplication>
#include <QImage>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <memory>

namespace {

// About 32 tasks to a page; made once per size.
TrpEMFPages& TaskList(int pageCount) {
  static std::map<int, std::unique_ptr<TrpEMFPages>> sets;
  auto& pages = sets[pageCount];
  if (!pages) {
    pages = std::make_unique<TrpEMFPages>();
    BuildTaskList(*pages, pageCount * 32);
  }
  return *pages;
}

struct ShownPreview {
  explicit ShownPreview(TrpEMFPages& pages) {
    rpLastScale() = {1.0, TrpZoomMode::PageWidth};
    form.resize(900, 1000);
    form.show();
    QApplication::processEvents();
    form.Connect(&pages);
    frame = QImage(form.Box()->size(), QImage::Format_ARGB32_Premultiplied);
    Paint();
  }
  ~ShownPreview() { form.Disconnect(); }
  // One frame of the page box, painted as the screen would ask for it.
  void Paint() { form.Box()->render(&frame); }
  TrpPreviewForm form;
  QImage frame;
};

// Each turn goes to a page not drawn before: its objects are rebuilt and drawn once.
// `warm`: the page images have filled their memory budget first, so each new image
// reuses one dropped (the steady state of a long session); cold: each takes fresh memory.
void TurnPageFirstTime(benchmark::State& state, bool warm) {
  TrpEMFPages& pages = TaskList(int(state.range(0)));
  ShownPreview shown(pages);
  const int start = warm ? std::min(pages.Count(), 80) : 1;
  int page = start;
  auto restart = [&] {
    shown.form.Connect(&pages);  // forget every image
    for (int p = 1; p <= start; ++p) {
      shown.form.SetPage(p);
      shown.Paint();
    }
    page = start;
  };
  restart();
  for (auto _ : state) {
    if (page == pages.Count()) {
      state.PauseTiming();
      restart();
      state.ResumeTiming();
    }
    shown.form.SetPage(++page);
    shown.Paint();
  }
}
void TurnPageFirstTimeCold(benchmark::State& state) { TurnPageFirstTime(state, false); }
void TurnPageFirstTimeWarm(benchmark::State& state) { TurnPageFirstTime(state, true); }

// Back and forth between two pages whose images are kept.
void TurnPageKept(benchmark::State& state) {
  TrpEMFPages& pages = TaskList(int(state.range(0)));
  ShownPreview shown(pages);
  int page = 1;
  for (auto _ : state) {
    page = page == 1 ? 2 : 1;
    shown.form.SetPage(page);
    shown.Paint();
  }
}

// Connecting the set and painting the first page: layout of every page, one page drawn.
void ShowFirstPage(benchmark::State& state) {
  TrpEMFPages& pages = TaskList(int(state.range(0)));
  ShownPreview shown(pages);
  for (auto _ : state) {
    shown.form.Connect(&pages);
    shown.Paint();
  }
}

}  // namespace

BENCHMARK(TurnPageFirstTimeCold)->Arg(50)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(TurnPageFirstTimeWarm)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(TurnPageKept)->Arg(50)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(ShowFirstPage)->Arg(50)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return RunProgramBenchmarks(argc, argv); }
