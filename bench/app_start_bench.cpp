// Starting the application handler (settings read, folders checked, the four stores
// loaded, association icons built) on a data folder of 1k, 10k and 100k tasks, next to
// reading the same files raw; warm and with the files dropped from the page cache, as
// after a reboot.
#include "RealisticTasks.h"
#include "core/BCat.h"
#include "core/BRes.h"
#include "core/BTodo.h"
#include "core/BType.h"
#include "core/TdApp.h"
#include "core/TdDataFolder.h"
#include "platform/AppContext.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <random>

namespace {

const QStringList kFiles = {"pendra.ini", "cat.tbl", "res.tbl", "type.tbl", "todo.tbl"};

// An image list that takes every icon.
class BenchLink : public TTdMainLink {
public:
  void TasksAdded(int) override {}
  QString StatusText() const override { return {}; }
  void SetStatusText(const QString&) override {}
  TWindowBounds WindowBounds() const override { return {0, 0, 800, 600}; }
  int AddTaskImage(const QIcon&) override { return next_++; }

private:
  int next_ = 60;
};

// A data folder of realistic tasks: short titles, notes on half of them, file links on
// some, reminders on some, a few templates; filled lookup lists and a settings file.
struct Fixture {
  QTemporaryDir dir;
  QString folder;
  qint64 bytes = 0;
};

Fixture& FixtureFor(int count) {
  static std::map<int, std::unique_ptr<Fixture>> fixtures;
  auto& f = fixtures[count];
  if (f) return *f;
  f = std::make_unique<Fixture>();
  f->folder = f->dir.path() + QStringLiteral("/");
  std::mt19937 rng(42);

  TTdCategoryHandler categories(f->folder + QStringLiteral("cat.tbl"));
  categories.Load();
  for (int i = 0; i < 12; ++i) categories.AddCategory()->Name = Words(rng, 2);
  categories.Save();
  TTdResourceHandler resources(f->folder + QStringLiteral("res.tbl"));
  resources.Load();
  for (int i = 0; i < 8; ++i) resources.AddResource()->Name = Words(rng, 1);
  resources.Save();
  TTdTypeHandler types(f->folder + QStringLiteral("type.tbl"));
  types.Load();
  types.Save();

  TTdTodoHandler todos(f->folder + QStringLiteral("todo.tbl"));
  AddRealisticTasks(todos, count, rng, true);
  todos.SetModified(true);
  todos.Save();

  const TAppContextScope dataFolder(ContextWith([&](TAppContext& c) { c.DataFolder = f->folder; }));
  TTdAppOptionsHandler options(f->folder + QStringLiteral("pendra.ini"));
  options.ReadOptions();
  options.WriteOptions(-1, -1, 800, 600);
  for (const QString& name : kFiles) f->bytes += QFile(f->folder + name).size();
  return *f;
}

void EvictAll(const Fixture& f) {
  for (const QString& name : kFiles) EvictFromCache(f.folder + name);
}

void Report(benchmark::State& state, const Fixture& f) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * f.bytes);
  state.counters["files_MB"] = static_cast<double>(f.bytes) / 1e6;
}

void RawRead(benchmark::State& state, bool cold) {
  Fixture& f = FixtureFor(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    if (cold) {
      state.PauseTiming();
      EvictAll(f);
      state.ResumeTiming();
    }
    for (const QString& name : kFiles) {
      QFile file(f.folder + name);
      file.open(QIODevice::ReadOnly);
      benchmark::DoNotOptimize(file.readAll());
    }
  }
  Report(state, f);
}

void AppStart(benchmark::State& state, bool cold) {
  Fixture& f = FixtureFor(static_cast<int>(state.range(0)));
  const TAppContextScope dataFolder(ContextWith([&](TAppContext& c) { c.DataFolder = f.folder; }));
  BenchLink link;
  for (auto _ : state) {
    if (cold) {
      state.PauseTiming();
      EvictAll(f);
      state.ResumeTiming();
    }
    auto app = std::make_unique<TTodoAppHandler>(&link);
    benchmark::DoNotOptimize(app->TodoHandler().TaskCount());
    // Shutting down (which saves the settings again) is not part of the start.
    state.PauseTiming();
    app.reset();
    state.ResumeTiming();
  }
  Report(state, f);
}

// The four stores loaded by themselves: what the handler adds is the rest of the start.
void BM_LoadStores(benchmark::State& state) {
  Fixture& f = FixtureFor(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto categories = std::make_unique<TTdCategoryHandler>(f.folder + QStringLiteral("cat.tbl"));
    categories->Load();
    auto resources = std::make_unique<TTdResourceHandler>(f.folder + QStringLiteral("res.tbl"));
    resources->Load();
    auto types = std::make_unique<TTdTypeHandler>(f.folder + QStringLiteral("type.tbl"));
    types->Load();
    auto todos = std::make_unique<TTdTodoHandler>(f.folder + QStringLiteral("todo.tbl"));
    todos->Load();
    benchmark::DoNotOptimize(todos->TaskCount());
    state.PauseTiming();
    todos.reset();
    state.ResumeTiming();
  }
  Report(state, f);
}

void BM_RawReadFiles(benchmark::State& state) { RawRead(state, false); }
void BM_RawReadFilesCold(benchmark::State& state) { RawRead(state, true); }
void BM_AppStart(benchmark::State& state) { AppStart(state, false); }
void BM_AppStartCold(benchmark::State& state) { AppStart(state, true); }

#define SIZES ->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_RawReadFiles) SIZES;
BENCHMARK(BM_RawReadFilesCold) SIZES;
BENCHMARK(BM_LoadStores) SIZES;
BENCHMARK(BM_AppStart) SIZES;
BENCHMARK(BM_AppStartCold) SIZES;

}  // namespace

// The handler's timers and the file-type icons need the application object.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
