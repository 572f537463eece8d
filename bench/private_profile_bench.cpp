// Loading settings files of growing size, and a save of all options: about 330 keys
// written through one document, then the bytes produced once.
#include "platform/PrivateProfile.h"

#include <benchmark/benchmark.h>

namespace {

QByteArray SettingsFile(int keys) {
  QByteArray bytes;
  for (int i = 0; i < keys; ++i) {
    if (i % 30 == 0) bytes += "[Section" + QByteArray::number(i / 30) + "]\n";
    bytes += "Key" + QByteArray::number(i) + "=" + QByteArray::number(i * 7) + "\n";
  }
  return bytes;
}

void BM_Load(benchmark::State& state) {
  const QByteArray bytes = SettingsFile(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(PrivateProfileFile::FromBytes(bytes));
}
BENCHMARK(BM_Load)->Arg(1000)->Arg(10000)->Arg(100000);

void BM_SaveAllOptions(benchmark::State& state) {
  const int keys = static_cast<int>(state.range(0));
  const QByteArray bytes = SettingsFile(keys);
  for (auto _ : state) {
    PrivateProfileFile document = PrivateProfileFile::FromBytes(bytes);
    for (int i = 0; i < keys; ++i)
      document.WriteString(QStringLiteral("Section%1").arg(i / 30), QStringLiteral("Key%1").arg(i), QString::number(i));
    benchmark::DoNotOptimize(document.ToBytes());
  }
}
BENCHMARK(BM_SaveAllOptions)->Arg(330)->Arg(10000)->Arg(100000);

}  // namespace

BENCHMARK_MAIN();
