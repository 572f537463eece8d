// Loading and saving todo.tbl against reading and writing the same bytes raw, and the
// quick-filter tab builders, at 1k, 10k and 100k tasks. The pairs to compare:
// Load with RawRead, LoadCold with RawReadCold, Save with RawWriteSynced (a save
// flushes its file to disk).
#include "RealisticTasks.h"
#include "core/BTodo.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <malloc.h>
#include <map>
#include <random>

namespace {

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

enum class Cache { Warm, Cold };

// Times what read() builds from the file. Every read starts as in a program that has
// just started: the memory it fills is new to the process, so it pays the page faults a
// start pays. Cold drops the file from the page cache first, as after a reboot. Neither
// that nor freeing what was built is timed.
template <typename Read>
void TimeFreshReads(benchmark::State& state, Cache cache, Read read) {
  Fixture& f = FixtureFor(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    if (cache == Cache::Cold) {
      state.PauseTiming();
      EvictFromCache(f.file);
      state.ResumeTiming();
    }
    {
      const auto built = read(f);
      benchmark::DoNotOptimize(built);
      state.PauseTiming();
    }
    ::malloc_trim(0);
    state.ResumeTiming();
  }
  SetBytes(state, f);
}

QByteArray ReadRaw(const Fixture& f) {
  QFile file(f.file);
  file.open(QIODevice::ReadOnly);
  return file.readAll();
}

std::unique_ptr<TTdTodoHandler> LoadStore(const Fixture& f) {
  auto store = std::make_unique<TTdTodoHandler>(f.file);
  store->Load();
  return store;
}

void BM_RawRead(benchmark::State& state) { TimeFreshReads(state, Cache::Warm, ReadRaw); }
void BM_RawReadCold(benchmark::State& state) { TimeFreshReads(state, Cache::Cold, ReadRaw); }
void BM_Load(benchmark::State& state) { TimeFreshReads(state, Cache::Warm, LoadStore); }
void BM_LoadCold(benchmark::State& state) { TimeFreshReads(state, Cache::Cold, LoadStore); }

// Parsing alone, from bytes already in memory.
void BM_LoadFromBytes(benchmark::State& state) {
  TimeFreshReads(state, Cache::Warm, [](const Fixture& f) {
    auto store = std::make_unique<TTdTodoHandler>(f.file);
    store->LoadFromBytes(f.bytes);
    return store;
  });
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

#define SIZES ->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_RawRead) SIZES;
BENCHMARK(BM_RawReadCold) SIZES;
BENCHMARK(BM_LoadCold) SIZES;
BENCHMARK(BM_Load) SIZES;
BENCHMARK(BM_LoadFromBytes) SIZES;
BENCHMARK(BM_RawWrite) SIZES;
BENCHMARK(BM_RawWriteSynced) SIZES;
BENCHMARK(BM_Save) SIZES;
BENCHMARK(BM_SaveToBytes) SIZES;
BENCHMARK(BM_TabLists) SIZES;

}  // namespace

BENCHMARK_MAIN();
