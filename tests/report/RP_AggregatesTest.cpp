// Aggregates: where their calls are found, how they register, accumulate and answer.
#include "ReportFakes.h"
#include "ReportTestSupport.h"
#include "report/engine/RP_Aggregates.h"
#include "report/engine/RP_Splitter.h"

namespace {

class AggregateTest : public ReportEngineTest {
protected:
  // Feeds records of one value through every entry.
  static void Feed(TrpAggregateValues& values, std::initializer_list<TrpValue> records, bool visible = true) {
    for (const TrpValue& record : records) values.Accumulate(visible, [&record](const QString&) { return record; });
  }
  TrpValue Calc(const char* text) { return rpGlobals().Parser().Calc(QString::fromUtf8(text)); }
};

TEST_F(AggregateTest, KeysSeparateTheirFieldsWithCharacterOne) {
  const QChar one(1);
  EXPECT_EQ(rpAggregateKey({}, QStringLiteral("Footer1"), rpAggregate::Sum, QStringLiteral("[Qty]"), QStringLiteral("1")),
            QStringLiteral("Footer1") + one + QChar(11) + one + QStringLiteral("[Qty]") + one + u'1' + one);
  EXPECT_TRUE(rpAggregateKey(QStringLiteral("0"), QStringLiteral("F"), rpAggregate::Count, {}, {})
                  .startsWith(QStringLiteral("0") + one + u'F'));
}

TEST_F(AggregateTest, ValuesAccumulatePerFunction) {
  const struct {
    int code;
    std::initializer_list<TrpValue> records;
    TrpValue expected;
  } cases[] = {
      {rpAggregate::Sum, {1, 2.5, 3}, 6.5},
      {rpAggregate::Sum, {}, 0},
      {rpAggregate::Count, {7, 8, 9}, int64_t{3}},
      {rpAggregate::Max, {-5, -2, -9}, -2},  // the true maximum of negative data
      {rpAggregate::Min, {4, 2, 8}, 2},
      {rpAggregate::Min, {}, TrpValue()},  // a group without records shows nothing
      {rpAggregate::Max, {}, TrpValue()},
      {rpAggregate::Avg, {}, TrpValue()},
      {rpAggregate::Avg, {1, 2, 6}, 3.0},
      {rpAggregate::Sum, {TrpValue::Null(), 2, TrpValue()}, int64_t{2}},  // null and empty count as 0
      {rpAggregate::Min, {TrpValue::Null(), 2}, 0},
  };
  for (const auto& c : cases) {
    TrpAggregateValues values;
    values.Register(QStringLiteral("k"), c.code, QStringLiteral("x"), QString());
    Feed(values, c.records);
    EXPECT_TRUE(values.Value(QStringLiteral("k")).SameAs(c.expected))
        << c.code << ": " << ::testing::PrintToString(values.Value(QStringLiteral("k")));
  }
}

TEST_F(AggregateTest, InvisibleRecordsCountOnlyWithTheFlagAndResetStartsOver) {
  TrpAggregateValues values;
  values.Register(QStringLiteral("visible"), rpAggregate::Sum, QStringLiteral("x"), QString());
  values.Register(QStringLiteral("always"), rpAggregate::Sum, QStringLiteral("x"), QStringLiteral("1"));
  values.Register(QStringLiteral("always"), rpAggregate::Sum, QStringLiteral("x"), QStringLiteral("1"));
  EXPECT_EQ(values.Size(), 2);
  Feed(values, {5}, false);
  Feed(values, {1}, true);
  EXPECT_EQ(values.Value(QStringLiteral("visible")).ToInteger(), 1);
  EXPECT_EQ(values.Value(QStringLiteral("always")).ToInteger(), 6);
  values.Reset();
  EXPECT_EQ(values.Value(QStringLiteral("always")).ToInteger(), 0);
  EXPECT_TRUE(values.Value(QStringLiteral("missing")).IsNull());
}

TEST_F(AggregateTest, EntriesWithOneExpressionEvaluateItOnce) {
  TrpAggregateValues values;
  values.Register(QStringLiteral("a"), rpAggregate::Sum, QStringLiteral("[Qty]"), QString());
  values.Register(QStringLiteral("b"), rpAggregate::Max, QStringLiteral("[Qty]"), QString());
  values.Register(QStringLiteral("c"), rpAggregate::Sum, QStringLiteral("[Price]"), QString());
  QStringList evaluated;
  values.Accumulate(true, [&evaluated](const QString& expression) {
    evaluated << expression;
    return TrpValue(1);
  });
  EXPECT_EQ(evaluated, (QStringList{QStringLiteral("[Qty]"), QStringLiteral("[Price]")}));
}

TEST_F(AggregateTest, CallsRegisterWhileBindingAndReadWhilePrinting) {
  FakeHost host;
  FakeBand data(QStringLiteral("MasterData1"), rpBand::MasterData);
  FakeBand footer(QStringLiteral("Footer1"), rpBand::MasterFooter);
  FakeBand detail(QStringLiteral("DetailData1"), rpBand::DetailData);
  rpGlobals().SetCurrentReport(&host);

  host.binding = true;
  host.current = &footer;
  host.examined = &detail;  // not the data band the footer totals: ignored
  Calc("SUM([Qty])");
  EXPECT_EQ(detail.Aggregates().Size(), 0);
  host.examined = &data;
  Calc("SUM([Qty]) + COUNT(MasterData1) + MAX([Qty], OtherBand)");
  EXPECT_EQ(data.Aggregates().Size(), 2);
  EXPECT_EQ(footer.AggregateSource(), &data);

  Feed(data.Aggregates(), {3, 4});
  host.binding = false;
  EXPECT_EQ(Calc("SUM([Qty])").ToInteger(), 7);
  EXPECT_EQ(Calc("COUNT(MasterData1)").ToInteger(), 2);
  EXPECT_EQ(Calc("MAX([Qty], OtherBand)").ToString(), QStringLiteral("0"));  // never registered
  rpGlobals().SetCurrentReport(nullptr);
}

TEST_F(AggregateTest, SplitterFindsCallsThroughBracketsArgumentsAndVariables) {
  QStringList found;
  const QHash<QString, QString> variables{{QStringLiteral("Total"), QStringLiteral("SUM([Amount])")},
                                          {QStringLiteral("Loop"), QStringLiteral("[Loop] + COUNT(B)")}};
  TrpFunctionSplitter splitter({QStringLiteral("SUM"), QStringLiteral("COUNT"), QStringLiteral("AVG")},
                               [&variables](const QString& name, QString& text) {
                                 if (!variables.contains(name)) return false;
                                 text = variables.value(name);
                                 return true;
                               },
                               found);
  splitter.Split(QStringLiteral("'SUM(x)'"));
  splitter.Split(QStringLiteral("[Total] + IF(AVG([x]) > 1, 'SUM(y)', Sum(z))"));
  splitter.Split(QStringLiteral("Loop"));
  EXPECT_EQ(found, (QStringList{QStringLiteral("SUM([Amount])"), QStringLiteral("AVG([x])"), QStringLiteral("Sum(z)"),
                                QStringLiteral("COUNT(B)")}));
}

}  // namespace
