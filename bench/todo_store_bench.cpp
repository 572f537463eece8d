// Loading and saving todo.tbl against reading and writing the same bytes raw, the
// quick-filter tab builders, and deleting a selection of tasks, at 1k, 10k and 100k
// tasks (deletion up to 1M). Loads and raw reads run in the same states (see
// RawBaseline.h); Save compares with RawWriteSynced (a save flushes its file to disk),
// both with the process's CPU time beside the wall time, since the disk's wait is most
// of the wall time. The ratios are printed at the end, those with a warm heap first.
#include "RawBaseline.h"
#include "RealisticTasks.h"
#include "core/BTodo.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <deque>
#include <map>
#include <random>

namespace {

const std::vector<int> kSizes = {1000, 10000, 100000};

std::unique_ptr<TTdTodoHandler> MakeStore(const QString& fileName, int count) {
  std::mt19937 rng(42);
  auto store = std::make_unique<TTdTodoHandler>(fileName);
  AddRealisticTasks(*store, count, rng, false);
  return store;
}

struct Fixture {
  QTemporaryDir dir;
  QString file;
  QByteArray bytes;
};

Fixture& FixtureFor(int count) {
  static std::map<int, std::unique_ptr<Fixture>> fixtures;
  auto& f = fixtures[count];
  if (!f) {
    f = std::make_unique<Fixture>();
    f->file = f->dir.filePath(QStringLiteral("todo.tbl"));
    auto store = MakeStore(f->file, count);
    store->Save();
    f->bytes = store->SaveToBytes();
  }
  return *f;
}

void SetBytes(benchmark::State& state, const Fixture& f) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * f.bytes.size());
  state.counters["file_MB"] = f.bytes.size() / 1e6;
}

void RawRead(benchmark::State& state, Cache cache, Memory memory) {
  Fixture& f = FixtureFor(static_cast<int>(state.range(0)));
  TimeReads(state, cache, memory, {f.file}, [&] { return ReadFilesRaw({f.file}); });
  SetBytes(state, f);
}

void Load(benchmark::State& state, Cache cache, Memory memory) {
  Fixture& f = FixtureFor(static_cast<int>(state.range(0)));
  TimeReads(state, cache, memory, {f.file}, [&] {
    auto store = std::make_unique<TTdTodoHandler>(f.file);
    store->Load();
    return store;
  });
  SetBytes(state, f);
}

// Parsing alone, from bytes already in memory.
void LoadFromBytes(benchmark::State& state, Cache, Memory memory) {
  Fixture& f = FixtureFor(static_cast<int>(state.range(0)));
  TimeReads(state, Cache::Warm, memory, {}, [&] {
    auto store = std::make_unique<TTdTodoHandler>(f.file);
    store->LoadFromBytes(f.bytes);
    return store;
  });
  SetBytes(state, f);
}

void RawWrite(benchmark::State& state, bool sync) {
  Fixture& f = FixtureFor(static_cast<int>(state.range(0)));
  const QByteArray name = QFile::encodeName(f.dir.filePath(QStringLiteral("raw.tbl")));
  for (auto _ : state) {
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    benchmark::DoNotOptimize(::write(fd, f.bytes.constData(), static_cast<size_t>(f.bytes.size())));
    if (sync) ::fsync(fd);
    ::close(fd);
  }
  SetBytes(state, f);
}

void BM_RawWrite(benchmark::State& state) { RawWrite(state, false); }
void BM_RawWriteSynced(benchmark::State& state) { RawWrite(state, true); }

// Save writes safely: temporary file, fsync, safety copy, rename, folder sync.
void BM_Save(benchmark::State& state) {
  Fixture& f = FixtureFor(static_cast<int>(state.range(0)));
  TTdTodoHandler store(f.file);
  store.Load();
  for (auto _ : state) {
    store.SetModified(true);
    store.Save();
  }
  SetBytes(state, f);
}

void BM_SaveToBytes(benchmark::State& state) {
  Fixture& f = FixtureFor(static_cast<int>(state.range(0)));
  TTdTodoHandler store(f.file);
  store.Load();
  for (auto _ : state) benchmark::DoNotOptimize(store.SaveToBytes());
  SetBytes(state, f);
}

// Every tab list the main window builds, with counts.
void BM_TabLists(benchmark::State& state) {
  Fixture& f = FixtureFor(static_cast<int>(state.range(0)));
  TTdTodoHandler store(f.file);
  store.Load();
  TStringList categories;
  for (int i = 0; i < 12; ++i) categories.append({QStringLiteral("Category %1").arg(i), i});
  for (auto _ : state) {
    TStringList status, priority, cats = categories, days, weeks, months, years;
    store.AddStatusItems(status, true, true, false);
    store.AddPriorityItems(priority, true, true, true);
    store.AppendCategoryCounts(cats, true);
    store.FillDayGroups(days);
    store.AppendDayGroupCounts(days, true);
    store.FillWeekGroups(weeks);
    store.AppendWeekGroupCounts(weeks, true);
    store.FillMonthGroups(months);
    store.RemoveEmptyMonthGroups(months, true);
    store.FillYearGroups(years);
    store.AppendYearGroupCounts(years, true);
    benchmark::DoNotOptimize(years.size());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

// Deleting a selection of k tasks (range 1) spread over a store of n (range 0), one
// Delete each as the main window does, undo copies included. The store is as loaded
// (no gaps) before each selection; putting tasks back is not timed.
void BM_DeleteSelection(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0)), k = static_cast<int>(state.range(1));
  auto store = MakeStore(QStringLiteral("/bench/todo.tbl"), n);
  std::mt19937 rng(7);
  std::vector<TTdTodo*> selection;
  for (auto _ : state) {
    state.PauseTiming();
    store->Todos().Compact();
    selection.clear();
    for (int i = 0; i < k; ++i) selection.push_back(store->GetTodo(static_cast<int>(rng() % static_cast<unsigned>(n))));
    std::sort(selection.begin(), selection.end());
    selection.erase(std::unique(selection.begin(), selection.end()), selection.end());
    state.ResumeTiming();
    for (TTdTodo* task : selection) store->Delete(task);
    state.PauseTiming();
    while (store->TaskCount() < n) store->AddTodo();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * k);
}

// The same selection taken out of a plain vector the way the list did before it left
// gaps: a linear search for the task and an erase that moves every later one.
void BM_DeleteSelectionFromVector(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0)), k = static_cast<int>(state.range(1));
  std::vector<std::unique_ptr<TTdTodo>> items;
  for (int i = 0; i < n; ++i) items.push_back(std::make_unique<TTdTodo>(38000.0));
  std::mt19937 rng(7);
  std::vector<TTdTodo*> selection;
  std::deque<TTdTodo> undo;
  for (auto _ : state) {
    state.PauseTiming();
    selection.clear();
    for (int i = 0; i < k; ++i) selection.push_back(items[rng() % static_cast<unsigned>(n)].get());
    std::sort(selection.begin(), selection.end());
    selection.erase(std::unique(selection.begin(), selection.end()), selection.end());
    state.ResumeTiming();
    for (TTdTodo* task : selection) {
      const auto at = std::find_if(items.begin(), items.end(), [task](const auto& item) { return item.get() == task; });
      undo.push_back(*task);
      if (undo.size() > 10) undo.pop_front();
      items.erase(at);
    }
    state.PauseTiming();
    while (static_cast<int>(items.size()) < n) items.push_back(std::make_unique<TTdTodo>(38000.0));
    state.ResumeTiming();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * k);
}

#define SIZES ->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_RawWrite) SIZES;
BENCHMARK(BM_RawWriteSynced) SIZES->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_Save) SIZES->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_SaveToBytes) SIZES;
BENCHMARK(BM_TabLists) SIZES;
BENCHMARK(BM_DeleteSelection)
    ->ArgsProduct({{10000, 100000, 1000000}, {1, 1000}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteSelectionFromVector)
    ->ArgsProduct({{10000, 100000, 1000000}, {1, 1000}})
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  RegisterStates("RawRead", RawRead, kSizes);
  RegisterStates("Load", Load, kSizes);
  RegisterStates("LoadFromBytes", LoadFromBytes, kSizes, false);
  // A save runs in a program whose heap is warm: its ratios print with the warm ones.
  RatioReporter reporter({{"RawRead", {"Load", "LoadFromBytes"}}, {"BM_RawWriteSynced", {"BM_Save"}}});
  return RunWithRatios(argc, argv, reporter);
}
