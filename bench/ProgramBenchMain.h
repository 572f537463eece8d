#pragma once
// The main of a benchmark over the program's windows: the heap as the program sets it
// at its start (every side runs under it), offscreen unless a platform is named, one
// application object.
#include "platform/ProcessHeap.h"

#include <QApplication>
#include <benchmark/benchmark.h>

inline int RunProgramBenchmarks(int argc, char** argv) {
  KeepLargeFreedBlocksForReuse();
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
