// Dragging a splitter bar in real-time mode, where every pointer move lays out both
// panes and the children in them: our splitter next to QSplitter with the same children,
// in the same run, with the ratio printed at the end. The target is under 1 ms a move.
#include "controls/FmSplit.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSplitter>
#include <QVBoxLayout>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

// A pane's content that lays itself out: a form of labels and edits in a box layout.
QWidget* MakeForm(int rows) {
  auto* form = new QWidget;
  auto* layout = new QVBoxLayout(form);
  for (int i = 0; i < rows; ++i) {
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Field %1").arg(i)));
    row->addWidget(new QLineEdit(QStringLiteral("Value %1").arg(i)));
    layout->addLayout(row);
  }
  layout->addStretch();
  return form;
}

void FillPane(QWidget* pane, int rows) {
  auto* layout = new QVBoxLayout(pane);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(MakeForm(rows));
}

// A mouse event for `target` at `global` (screen coordinates).
void Send(QWidget* target, QEvent::Type type, QPoint global, Qt::MouseButtons buttons) {
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent event(type, QPointF(target->mapFromGlobal(global)), QPointF(global), button, buttons, Qt::NoModifier);
  QApplication::sendEvent(target, &event);
}

// Moves back and forth over 200 pixels so every move changes the layout.
int NextX(int step) { return 300 + (step % 200 < 100 ? step % 100 : 100 - step % 100) * 2; }

void BM_FmSplitterDrag(benchmark::State& state) {
  QWidget window;
  window.resize(1000, 600);
  auto* splitter = new TFmSplitter(&window);
  splitter->setGeometry(window.rect());
  splitter->SetRealTimeDrag(true);
  splitter->SetPosition(300);
  FillPane(splitter->UpperLeft(), static_cast<int>(state.range(0)));
  FillPane(splitter->LowerRight(), static_cast<int>(state.range(0)));
  window.show();
  QCoreApplication::processEvents();
  const auto at = [splitter](int x) { return splitter->mapToGlobal(QPoint(x, 300)); };
  Send(splitter, QEvent::MouseButtonPress, at(301), Qt::LeftButton);
  int step = 1;
  const bool paint = state.range(1) != 0;
  for (auto _ : state) {
    Send(splitter, QEvent::MouseMove, at(NextX(step++) + 1), Qt::LeftButton);
    if (paint) QCoreApplication::processEvents();
  }
  Send(splitter, QEvent::MouseButtonRelease, at(NextX(step) + 1), Qt::NoButton);
}

void BM_QSplitterDrag(benchmark::State& state) {
  QWidget window;
  window.resize(1000, 600);
  auto* splitter = new QSplitter(&window);
  splitter->setGeometry(window.rect());
  splitter->setOpaqueResize(true);
  splitter->setHandleWidth(4);
  for (int i = 0; i < 2; ++i) {
    auto* pane = new QWidget;
    FillPane(pane, static_cast<int>(state.range(0)));
    splitter->addWidget(pane);
  }
  splitter->setSizes({300, 696});
  window.show();
  QCoreApplication::processEvents();
  // The handle is what QSplitter drags by; it reads the pointer in screen coordinates.
  QSplitterHandle* handle = splitter->handle(1);
  const auto at = [splitter](int x) { return splitter->mapToGlobal(QPoint(x, 300)); };
  Send(handle, QEvent::MouseButtonPress, at(301), Qt::LeftButton);
  int step = 1;
  const bool paint = state.range(1) != 0;
  for (auto _ : state) {
    Send(handle, QEvent::MouseMove, at(NextX(step++) + 1), Qt::LeftButton);
    if (paint) QCoreApplication::processEvents();
  }
  Send(handle, QEvent::MouseButtonRelease, at(NextX(step) + 1), Qt::NoButton);
}

// Rows of form in each pane; 0 = layout only, 1 = layout and painting.
#define DRAG_ARGS ->Args({10, 0})->Args({40, 0})->Args({10, 1})->Args({40, 1})->Unit(benchmark::kMicrosecond)
BENCHMARK(BM_FmSplitterDrag) DRAG_ARGS;
BENCHMARK(BM_QSplitterDrag) DRAG_ARGS;

// Prints the usual table, then ours against QSplitter for each argument set.
class RatioReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
      const std::string name = run.benchmark_name();
      const auto slash = name.find('/');
      times_[name.substr(slash)][name.substr(0, slash)] = run.GetAdjustedRealTime();
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\nper move (us), ours vs QSplitter:\n");
    for (const auto& [args, byName] : times_) {
      const auto ours = byName.find("BM_FmSplitterDrag");
      const auto peer = byName.find("BM_QSplitterDrag");
      if (ours == byName.end() || peer == byName.end()) continue;
      std::printf("  %-12s ours %8.1f  QSplitter %8.1f  ratio %.2f\n", args.c_str(), ours->second, peer->second,
                  ours->second / peer->second);
    }
  }

private:
  std::map<std::string, std::map<std::string, double>> times_;
};

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
