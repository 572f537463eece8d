// The main window over 1k, 10k and 100k tasks: the start until the first rows are
// painted (goal for 100k: under 1 s), adding one task (goal: under one 16.7 ms frame), a
// key press moving the focus (goal: one frame), and the full save on the way out.
#include "ProgramBenchMain.h"
#include "RealisticTasks.h"
#include "core/TdApp.h"
#include "platform/AppContext.h"
#include "treeview/LazyStringTree.h"
#include "ui/TdMain.h"
#include "ui/TdMainDialogs.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <random>

namespace {

// Every editor is confirmed at once, with a title.
class ConfirmingDialogs : public TNotAvailableDialogs {
public:
  bool EditTodo(TTodoAppHandler&, TTdTodo& task, bool, bool) override {
    task.Title = QStringLiteral("Added in the benchmark");
    return true;
  }
};

struct Started {
  explicit Started(const QString& folder)
      : scope(ContextWith([&](TAppContext& c) { c.DataFolder = folder; })),
        handler(std::make_unique<TTodoAppHandler>(nullptr, TTodoAppTimings{0, 0})),
        form(std::make_unique<TTodoMainForm>(*handler, &dialogs)) {
    form->resize(800, 600);
    form->show();
    // The first rows on screen.
    form->TaskTree().grab();
  }
  ~Started() {
    form.reset();
    // What the start changed is not the benchmark's to keep.
    handler->TodoHandler().SetModified(false);
  }
  TAppContextScope scope;
  ConfirmingDialogs dialogs;
  std::unique_ptr<TTodoAppHandler> handler;
  std::unique_ptr<TTodoMainForm> form;
};

void WindowStart(benchmark::State& state) {
  const QString& folder = RealisticDataFolder(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto started = std::make_unique<Started>(folder);
    state.PauseTiming();
    started.reset();
    state.ResumeTiming();
  }
}

void AddOneTask(benchmark::State& state) {
  Started started(RealisticDataFolder(static_cast<int>(state.range(0))));
  for (auto _ : state) started.form->acAddTodo->trigger();
  started.handler->TodoHandler().SetModified(false);
}

void FocusDown(benchmark::State& state) {
  Started started(RealisticDataFolder(static_cast<int>(state.range(0))));
  TLazyStringTree& tree = started.form->TaskTree();
  for (auto _ : state) {
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(&tree, &down);
    // The moved focus painted, as the user sees it.
    tree.repaint();
    if (tree.FocusedNode() == tree.GetLast()) {
      state.PauseTiming();
      tree.SetFocusedNode(tree.GetFirst());
      state.ResumeTiming();
    }
  }
}

void ShutdownSave(benchmark::State& state) {
  Started started(RealisticDataFolder(static_cast<int>(state.range(0))));
  for (auto _ : state) {
    started.handler->TodoHandler().SetModified(true);
    started.handler->SaveAll();
  }
}

}  // namespace

BENCHMARK(WindowStart)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(AddOneTask)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(FocusDown)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(ShutdownSave)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return RunProgramBenchmarks(argc, argv); }
