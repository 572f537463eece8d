// Typical report expressions evaluated 1k, 100k and 1M times in a row, as a data band
// evaluates them once per record: a field times a field plus a constant, a condition
// with AND, and a text joined with FORMATFLOAT. Each is measured compiled once and
// evaluated every time (a script line, a band condition), and compiled at every
// evaluation (a memo field). items_per_second is evaluations per second; it should not
// fall as the count grows.
#include "report/engine/RP_Format.h"
#include "report/engine/RP_Globals.h"

#include <QLocale>
#include <benchmark/benchmark.h>

namespace {

const QString kExpressions[] = {
    QStringLiteral("[Qty] * [Price] + 10"),
    QStringLiteral("([Qty] > 5) and ([Price] < 100)"),
    QStringLiteral("'Total: ' + FORMATFLOAT('#,##0.00', [Qty] * [Price])"),
};

// The global parser with two fields that change with every record.
TrpParser& ParserWithFields(int64_t& record) {
  // United States formats for every benchmark of the program.
  static const TrpContextScope formats(
      TrpContext{rpFormatSettingsFromLocale(QLocale(QLocale::English, QLocale::UnitedStates)), nullptr, {}});
  rpResetGlobals();
  TrpGlobals& globals = rpGlobals();
  TrpParser& parser = globals.Parser();
  const QString qty = QStringLiteral("Qty");
  parser.OnGetValue = [&record, qty](const QString& name, TrpValue& value) {
    if (name == qty) {
      value = TrpValue(record % 11);
    } else {
      value = TrpValue(static_cast<double>(record % 97) + 0.5);
    }
  };
  parser.OnFunction = [&globals](const QString& name, const QString& p1, const QString& p2, const QString& p3,
                                 TrpValue& value) { globals.DefaultFunction(name, p1, p2, p3, value); };
  return parser;
}

void BM_EvaluateCompiled(benchmark::State& state) {
  int64_t record = 0;
  TrpParser& parser = ParserWithFields(record);
  const QString rpn = TrpParser::CompileExpression(kExpressions[state.range(0)]);
  const int64_t count = state.range(1);
  for (auto _ : state) {
    for (record = 0; record < count; ++record) benchmark::DoNotOptimize(parser.EvaluateRPN(rpn));
  }
  state.SetItemsProcessed(state.iterations() * count);
  rpResetGlobals();
}

void BM_CompileAndEvaluate(benchmark::State& state) {
  int64_t record = 0;
  TrpParser& parser = ParserWithFields(record);
  const QString source = kExpressions[state.range(0)];
  const int64_t count = state.range(1);
  for (auto _ : state) {
    for (record = 0; record < count; ++record) {
      benchmark::DoNotOptimize(parser.EvaluateRPN(TrpParser::CompileExpression(source)));
    }
  }
  state.SetItemsProcessed(state.iterations() * count);
  rpResetGlobals();
}

void Counts(benchmark::internal::Benchmark* b) {
  b->ArgNames({"expression", "evaluations"});
  for (int expression = 0; expression < 3; ++expression) {
    for (int64_t count : {1000, 100000, 1000000}) b->Args({expression, count});
  }
  b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_EvaluateCompiled)->Apply(Counts);
BENCHMARK(BM_CompileAndEvaluate)->Apply(Counts);

}  // namespace

BENCHMARK_MAIN();
