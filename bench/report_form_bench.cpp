// The report form stream beside QDataStream: a form with N line objects on one page
// (each with a name, two text lines and a tag) written to memory and read back, and the
// same fields of every object written and read with QDataStream. The form should stay
// within a small factor of QDataStream and grow linearly with N (see the BigO lines).
#include "report/engine/RP_Class.h"
#include "report/engine/RP_LineView.h"

#include <QBuffer>
#include <QDataStream>

#include <benchmark/benchmark.h>

namespace {

void Fill(TrpReport& report, int count) {
  TrpPage* page = report.AddPage();
  for (int i = 0; i < count; ++i) {
    auto line = std::make_unique<TrpLineView>();
    line->Name = QStringLiteral("Line") + QString::number(i + 1);
    line->SetGeometry(i % 700, i / 700 * 10, 100, 1);
    line->Memo = QStringList{QStringLiteral("[Field%1]").arg(i % 28), QStringLiteral("text")};
    line->Tag = QStringLiteral("tag");
    page->Add(std::move(line));
  }
}

QByteArray WriteForm(TrpReport& report) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  report.WriteToStream(buffer);
  return buffer.data();
}

// The record's fields, as QDataStream writes them.
void WriteFields(QDataStream& out, TrpView& v) {
  out << v.Name << quint8(2) << quint8(0) << v.Left << v.Top << v.Width << v.Height << v.Flags << v.FrameTyp
      << qint32(1) << v.FrameColor << v.FrameStyle << v.FillColor << v.Format << v.FormatPattern << v.Memo << v.Script
      << quint16(v.Visible) << v.Restrictions << v.Tag << v.GapX << v.GapY << v.BandAlign;
}

void ReadFields(QDataStream& in, TrpView& v) {
  quint8 major = 0, minor = 0;
  qint32 frameWidth = 0;
  quint16 visible = 0;
  in >> v.Name >> major >> minor >> v.Left >> v.Top >> v.Width >> v.Height >> v.Flags >> v.FrameTyp >> frameWidth >>
      v.FrameColor >> v.FrameStyle >> v.FillColor >> v.Format >> v.FormatPattern >> v.Memo >> v.Script >> visible >>
      v.Restrictions >> v.Tag >> v.GapX >> v.GapY >> v.BandAlign;
  v.FrameWidth = frameWidth;
  v.Visible = visible != 0;
}

void BM_FormWrite(benchmark::State& state) {
  TrpReport report;
  Fill(report, static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(WriteForm(report));
  state.SetComplexityN(state.range(0));
}

void BM_FormRead(benchmark::State& state) {
  TrpReport source;
  Fill(source, static_cast<int>(state.range(0)));
  const QByteArray bytes = WriteForm(source);
  for (auto _ : state) {
    TrpReport report;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    if (!report.ReadFromStream(buffer)) state.SkipWithError("the form did not read");
  }
  state.SetComplexityN(state.range(0));
}

void BM_DataStreamWrite(benchmark::State& state) {
  TrpReport report;
  Fill(report, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    for (const auto& view : report.Page(0)->Objects()) WriteFields(out, *view);
    benchmark::DoNotOptimize(bytes);
  }
  state.SetComplexityN(state.range(0));
}

void BM_DataStreamRead(benchmark::State& state) {
  TrpReport report;
  Fill(report, static_cast<int>(state.range(0)));
  QByteArray bytes;
  {
    QDataStream out(&bytes, QIODevice::WriteOnly);
    for (const auto& view : report.Page(0)->Objects()) WriteFields(out, *view);
  }
  for (auto _ : state) {
    QDataStream in(bytes);
    TrpPage page;
    for (int i = 0; i < state.range(0); ++i) {
      auto line = std::make_unique<TrpLineView>();
      ReadFields(in, *line);
      page.Add(std::move(line));
    }
  }
  state.SetComplexityN(state.range(0));
}

}  // namespace

BENCHMARK(BM_FormWrite)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(BM_DataStreamWrite)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(BM_FormRead)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(BM_DataStreamRead)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

BENCHMARK_MAIN();
