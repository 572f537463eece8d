// Wrapping a memo's text with a real font on the 96-dpi measuring canvas, as a build
// measures every memo it prints: 1k, 10k and 100k lines of mixed-length sentences in one
// memo, and one paragraph of the same size without a line break (where a layout that
// re-measured each line from its start would turn quadratic). Latin text with plain
// wrapping, Cyrillic text with syllable breaks. items_per_second is input lines (or
// 100-character pieces of the paragraph) per second; it should not fall as the count
// grows.
#include "report/engine/RP_MemoLayout.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

const char16_t* const kLatin[] = {u"task",   u"list",      u"report", u"the", u"a",          u"reminder",
                                  u"due",    u"tomorrow",  u"notes",  u"of",  u"category",   u"priority",
                                  u"status", u"completed", u"and",    u"to",  u"description", u"weekly"};
const char16_t* const kCyrillic[] = {u"задача",  u"список",    u"отчёт", u"и",     u"напоминание", u"срок",
                                     u"завтра",  u"заметки",   u"по",    u"категория", u"приоритет",
                                     u"состояние", u"выполнено", u"в",   u"описание", u"еженедельно"};

// A sentence of 3 to 30 words picked by a fixed sequence, so every run wraps the same
// text.
template <size_t N>
QString Sentence(uint32_t& seed, const char16_t* const (&words)[N]) {
  seed = seed * 1664525u + 1013904223u;
  const uint32_t count = 3 + (seed >> 16) % 28;
  QString sentence;
  for (uint32_t w = 0; w < count; ++w) {
    seed = seed * 1664525u + 1013904223u;
    if (w > 0) sentence += u' ';
    sentence += QString::fromUtf16(words[(seed >> 16) % N]);
  }
  return sentence + u'.';
}

QStringList Lines(int64_t count, bool cyrillic) {
  uint32_t seed = 12345;
  QStringList lines;
  lines.reserve(count);
  for (int64_t i = 0; i < count; ++i) lines << (cyrillic ? Sentence(seed, kCyrillic) : Sentence(seed, kLatin));
  return lines;
}

TrpMemoBox Box(bool wordBreak) {
  TrpMemoBox box;
  box.width = 240;
  box.height = 20;
  if (wordBreak) box.flags |= rpMemoFlag::WordBreak;
  return box;
}

const TrpFontMeasurer& Measurer() {
  static const TrpFontMeasurer measurer(QFont(QStringLiteral("DejaVu Sans")), rpMeasuringPixelHeight(10), 0);
  return measurer;
}

void BM_WrapMemoLines(benchmark::State& state) {
  const bool cyrillic = state.range(0) != 0;
  const QStringList lines = Lines(state.range(1), cyrillic);
  const TrpMemoBox box = Box(cyrillic);
  int64_t wrapped = 0;
  for (auto _ : state) {
    const TrpWrappedMemo memo = rpWrapMemo(lines, box, false, true, Measurer());
    wrapped = memo.lines.size();
    benchmark::DoNotOptimize(memo.neededHeight);
  }
  state.counters["wrapped_lines"] = static_cast<double>(wrapped);
  state.SetItemsProcessed(state.iterations() * state.range(1));
}

void BM_WrapOneParagraph(benchmark::State& state) {
  const bool cyrillic = state.range(0) != 0;
  const int64_t pieces = state.range(1);
  // The lines joined into one paragraph of about 100 characters per piece.
  QString paragraph = Lines(pieces * 2, cyrillic).join(u' ');
  paragraph.truncate(pieces * 100);
  const TrpMemoBox box = Box(cyrillic);
  for (auto _ : state) {
    const TrpWrappedMemo memo = rpWrapMemo({paragraph}, box, false, true, Measurer());
    benchmark::DoNotOptimize(memo.neededHeight);
  }
  state.SetItemsProcessed(state.iterations() * pieces);
}

void Counts(benchmark::internal::Benchmark* b) {
  b->ArgNames({"cyrillic", "count"});
  for (int cyrillic = 0; cyrillic < 2; ++cyrillic) {
    for (int64_t count : {1000, 10000, 100000}) b->Args({cyrillic, count});
  }
  b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_WrapMemoLines)->Apply(Counts);
BENCHMARK(BM_WrapOneParagraph)->Apply(Counts);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
