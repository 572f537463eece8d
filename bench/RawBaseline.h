#pragma once
// What both store benchmarks measure on and compare with: one raw baseline (the same
// files read whole with read(2)), the same page-cache and memory states for both sides,
// process CPU time (every thread, the text decoder's included), and the ratios of each
// side to the baseline printed at the end of the run.
#include "RealisticTasks.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <malloc.h>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

enum class Cache { Warm, Cold };
// Fresh: what a read builds lands in memory new to the process, as at a start, and pays
// the page faults of first touching it. Warm: in memory the process used before, as a
// second load in a running program; this is the cost of the work itself.
enum class Memory { Fresh, Warm };

inline const char* CacheName(Cache cache) { return cache == Cache::Warm ? "warm-cache" : "cold-cache"; }
inline const char* MemoryName(Memory memory) { return memory == Memory::Fresh ? "fresh-memory" : "warm-memory"; }

// The states compared: a start with the files in the page cache, the same in a running
// program, and a start after a reboot.
constexpr std::pair<Cache, Memory> kStates[] = {
    {Cache::Warm, Memory::Fresh}, {Cache::Warm, Memory::Warm}, {Cache::Cold, Memory::Fresh}};

inline void UseMemory(Memory memory) {
  // Fixed thresholds (setting one turns off the allocator's own adjustment): fresh gives
  // large blocks straight from the system and returns what is freed; warm keeps it all
  // in the heap for the next round.
  const int threshold = memory == Memory::Fresh ? 128 * 1024 : 32 * 1024 * 1024;
  ::mallopt(M_MMAP_THRESHOLD, threshold);
  ::mallopt(M_TRIM_THRESHOLD, memory == Memory::Fresh ? 128 * 1024 : 1 << 30);
}

// The baseline: each file read whole into a buffer of its own.
inline QList<QByteArray> ReadFilesRaw(const QStringList& files) {
  QList<QByteArray> contents;
  for (const QString& name : files) {
    const int fd = ::open(QFile::encodeName(name).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) continue;
    QByteArray bytes(QFile(name).size(), Qt::Uninitialized);
    qsizetype done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::read(fd, bytes.data() + done, static_cast<size_t>(bytes.size() - done));
      if (n <= 0) break;
      done += n;
    }
    ::close(fd);
    contents.append(std::move(bytes));
  }
  return contents;
}

// Times read() in the given state. Dropping the files from the page cache and freeing
// what was built are not timed; one untimed round first lets a warm heap grow.
template <typename Read>
void TimeReads(benchmark::State& state, Cache cache, Memory memory, const QStringList& files, Read read) {
  UseMemory(memory);
  { const auto warmUp = read(); }
  ::malloc_trim(0);
  for (auto _ : state) {
    if (cache == Cache::Cold) {
      state.PauseTiming();
      for (const QString& name : files) EvictFromCache(name);
      state.ResumeTiming();
    }
    {
      const auto built = read();
      benchmark::DoNotOptimize(built);
      state.PauseTiming();
    }
    if (memory == Memory::Fresh) ::malloc_trim(0);
    state.ResumeTiming();
  }
}

// Registers fn for every state and size, as "<name>/<cache>/<memory>/<size>", timed on
// the wall clock with the process's CPU time beside it. Without readsFiles the
// cold-cache state is left out.
inline void RegisterStates(const std::string& name, const std::function<void(benchmark::State&, Cache, Memory)>& fn,
                           const std::vector<int>& sizes, bool readsFiles = true) {
  for (const auto& [cache, memory] : kStates) {
    if (!readsFiles && cache == Cache::Cold) continue;
    const std::string full = name + "/" + CacheName(cache) + "/" + MemoryName(memory);
    auto* b = benchmark::RegisterBenchmark(full.c_str(), [fn, cache = cache, memory = memory](benchmark::State& s) {
      fn(s, cache, memory);
    });
    for (int size : sizes) b->Arg(size);
    b->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
  }
}

// The console report, then each measured side against the baseline of the same state
// and size: its wall time and its CPU time divided by the baseline's. The ratios with a
// warm heap (what a running program pays; the goals are set on these) come first, those
// with fresh memory (as at a start) after them.
class RatioReporter : public benchmark::ConsoleReporter {
public:
  struct Comparison {
    std::string baseline;
    std::vector<std::string> sides;
  };

  RatioReporter(std::string baseline, std::vector<std::string> sides)
      : comparisons_{{std::move(baseline), std::move(sides)}} {}
  explicit RatioReporter(std::vector<Comparison> comparisons) : comparisons_(std::move(comparisons)) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration && !run.error_occurred)
        times_[run.benchmark_name()] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
    ConsoleReporter::ReportRuns(runs);
  }

  void PrintRatios() const {
    PrintRatios(false, "warm heap: a running program, the figure the goals are set on");
    PrintRatios(true, "fresh memory: as at a start");
  }

private:
  void PrintRatios(bool freshMemory, const char* title) const {
    for (const Comparison& comparison : comparisons_) {
      bool first = true;
      for (const auto& [name, times] : times_) {
        if ((name.find("/fresh-memory/") != std::string::npos) != freshMemory) continue;
        for (const std::string& side : comparison.sides) {
          if (name.rfind(side + "/", 0) != 0) continue;
          const auto base = times_.find(comparison.baseline + name.substr(side.size()));
          if (base == times_.end() || base->second.first <= 0 || base->second.second <= 0) continue;
          if (first) {
            std::printf("\nRatios to %s, %s (wall time, process CPU time):\n", comparison.baseline.c_str(), title);
            first = false;
          }
          std::printf("  %-72s %7.2fx wall  %7.2fx cpu\n", name.c_str(), times.first / base->second.first,
                      times.second / base->second.second);
        }
      }
    }
  }

  std::vector<Comparison> comparisons_;
  std::map<std::string, std::pair<double, double>> times_;
};

// main() of a benchmark with ratios.
inline int RunWithRatios(int argc, char** argv, RatioReporter& reporter) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
