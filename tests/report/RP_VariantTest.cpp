// The value type's decision table (RP_Variant.h), row by row.
#include "ReportTestSupport.h"
#include "report/engine/RP_Errors.h"
#include "report/engine/RP_Variant.h"

#include <cmath>
#include <functional>

namespace {

const TrpValue E{};
const TrpValue N = TrpValue::Null();
TrpValue S(const char* text) { return TrpValue(QString::fromUtf8(text)); }
TrpValue D(double days) { return TrpValue::DateTime(days); }
const TrpValue kError = S("<error>");

struct OpCase {
  const char* name;
  std::function<TrpValue(const TrpValue&, const TrpValue&)> op;
  TrpValue left, right, expected;
};

class VariantTest : public ReportEngineTest {};

TrpValue Cmp(TrpOrder order) { return TrpValue(static_cast<int>(order)); }
TrpValue Compare(const TrpValue& a, const TrpValue& b) { return Cmp(rpCompare(a, b)); }
const TrpValue Less = Cmp(TrpOrder::Less), Equal = Cmp(TrpOrder::Equal), Greater = Cmp(TrpOrder::Greater);

TEST_F(VariantTest, OperationsFollowTheDecisionTable) {
  const int64_t big = INT64_MAX;
  const OpCase cases[] = {
      // + : null wins, texts join, numbers add, dates stay dates
      {"null+1", rpAdd, N, 1, N},
      {"'a'+null", rpAdd, S("a"), N, N},
      {"'a'+'b'", rpAdd, S("a"), S("b"), S("ab")},
      {"empty+'b'", rpAdd, E, S("b"), S("b")},
      {"empty+empty", rpAdd, E, E, 0},
      {"empty+2", rpAdd, E, 2, 2},
      {"'1'+2", rpAdd, S("1"), 2, int64_t{3}},
      {"'1.5'+2", rpAdd, S("1.5"), 2, 3.5},
      {"'x'+2", rpAdd, S("x"), 2, kError},
      {"1+2", rpAdd, 1, 2, int64_t{3}},
      {"1+2.5", rpAdd, 1, 2.5, 3.5},
      {"max+1", rpAdd, big, 1, static_cast<double>(big) + 1},
      {"true+1", rpAdd, true, 1, int64_t{0}},
      {"date+1", rpAdd, D(10), 1, D(11)},
      {"1+date", rpAdd, 1, D(10), D(11)},
      // - * : no joining of texts; date minus date is a number
      {"'5'-'2'", rpSubtract, S("5"), S("2"), int64_t{3}},
      {"date-date", rpSubtract, D(10), D(4), 6.0},
      {"date-1", rpSubtract, D(10), 1, D(9)},
      {"3*'2'", rpMultiply, 3, S("2"), int64_t{6}},
      {"date*2", rpMultiply, D(2), 2, 4.0},
      {"null*2", rpMultiply, N, 2, N},
      // / : a right side equal to 0 gives the integer 0
      {"10/4", rpDivide, 10, 4, 2.5},
      {"10/0", rpDivide, 10, 0, 0},
      {"10/0.0", rpDivide, 10, 0.0, 0},
      {"10/'0'", rpDivide, 10, S("0"), 0},
      {"10/false", rpDivide, 10, false, 0},
      {"10/empty", rpDivide, 10, E, 0},
      {"10/null", rpDivide, 10, N, N},
      // MOD rounds to integers, keeps the left sign, refuses 0
      {"10 mod 3", rpModulo, 10, 3, int64_t{1}},
      {"-7 mod 3", rpModulo, -7, 3, int64_t{-1}},
      {"7.5 mod 3", rpModulo, 7.5, 3, int64_t{2}},
      {"min mod -1", rpModulo, INT64_MIN, -1, int64_t{0}},
      {"1 mod 0", rpModulo, 1, 0, kError},
      // OR: logical on booleans, bitwise otherwise
      {"true or false", rpOr, true, false, true},
      {"5 or 2", rpOr, 5, 2, int64_t{7}},
      {"true or 2", rpOr, true, 2, int64_t{-1}},
      {"null or 1", rpOr, N, 1, N},
      // comparisons
      {"null=null", Compare, N, N, Equal},
      {"null<empty", Compare, N, E, Less},
      {"0>null", Compare, 0, N, Greater},
      {"empty='' ", Compare, E, S(""), Equal},
      {"empty=0", Compare, E, 0, Equal},
      {"'a'<'b'", Compare, S("a"), S("b"), Less},
      {"'a'<>'A'", Compare, S("a"), S("A"), Cmp(rpCompare(S("a"), S("A")))},
      {"'10'=10", Compare, S("10"), 10, Equal},
      {"'abc'=1", Compare, S("abc"), 1, kError},
      {"'true'=true", Compare, S("true"), true, Equal},
      {"true<false", Compare, true, false, Less},
      {"'1/2/2000'=date", Compare, S("1/2/2000"), D(Day(2000, 1, 2)), Equal},
      {"1=1.0", Compare, 1, 1.0, Equal},
      {"date>1", Compare, D(2), 1, Greater},
      // unary minus
      {"-null", [](const TrpValue& v, const TrpValue&) { return rpNegate(v); }, N, E, N},
      {"-empty", [](const TrpValue& v, const TrpValue&) { return rpNegate(v); }, E, E, 0},
      {"-true", [](const TrpValue& v, const TrpValue&) { return rpNegate(v); }, true, E, int64_t{1}},
      {"-'2'", [](const TrpValue& v, const TrpValue&) { return rpNegate(v); }, S("2"), E, int64_t{-2}},
      {"-date", [](const TrpValue& v, const TrpValue&) { return rpNegate(v); }, D(3), E, D(-3)},
      {"-min", [](const TrpValue& v, const TrpValue&) { return rpNegate(v); }, INT64_MIN, E, 9223372036854775808.0},
  };
  for (const OpCase& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.expected.SameAs(kError)) {
      EXPECT_THROW(c.op(c.left, c.right), ErpError);
      continue;
    }
    TrpValue result;
    ASSERT_NO_THROW(result = c.op(c.left, c.right));
    EXPECT_TRUE(result.SameAs(c.expected)) << ::testing::PrintToString(result) << " wanted "
                                           << ::testing::PrintToString(c.expected);
  }
}

TEST_F(VariantTest, ConversionsFollowTheDecisionTable) {
  struct TextCase {
    TrpValue value;
    const char* text;
  } texts[] = {
      {E, ""},
      {N, ""},
      {int64_t{-42}, "-42"},
      {2.5, "2.5"},
      {1.0 / 3, "0.333333333333333"},
      {1e20, "1E20"},
      {-1.5e-7, "-1.5E-7"},
      {0.00001, "0.00001"},
      {123456789012345.0, "123456789012345"},
      {true, "True"},
      {false, "False"},
      {D(Day(2024, 3, 5)), "3/5/2024"},
      {D(Day(2024, 3, 5) + 0.75), "3/5/2024 6:00:00 PM"},
  };
  for (const TextCase& c : texts) {
    EXPECT_EQ(c.value.ToString(), QString::fromUtf8(c.text)) << ::testing::PrintToString(c.value);
  }
  EXPECT_EQ(S(" 12 ").ToInteger(), 12);
  EXPECT_EQ(TrpValue(2.5).ToInteger(), 2);  // halves to even
  EXPECT_EQ(TrpValue(3.5).ToInteger(), 4);
  EXPECT_TRUE(S("TRUE").ToBoolean());
  EXPECT_FALSE(S("0").ToBoolean());
  EXPECT_THROW(S("maybe").ToBoolean(), ErpError);
  EXPECT_THROW(N.ToFloat(), ErpError);
  EXPECT_THROW(TrpValue(true).ToDateTime(), ErpError);
  EXPECT_DOUBLE_EQ(S("1/2/2000").ToDateTime(), Day(2000, 1, 2));
  EXPECT_DOUBLE_EQ(TrpValue(1e30).ToFloat(), 1e30);
  EXPECT_THROW(TrpValue(1e30).ToInteger(), ErpError);
}

TEST_F(VariantTest, TextToNumberFollowsTheLocaleSeparator) {
  TrpFormatSettings german = PinnedFormatSettings();
  german.DecimalSeparator = u',';
  const TrpContextScope germanScope(rpContextWith([&](TrpContext& c) { c.Formats = german; }));
  EXPECT_DOUBLE_EQ(S("1,5").ToFloat(), 1.5);
  EXPECT_THROW(S("1.5").ToFloat(), ErpError);
  EXPECT_EQ(TrpValue(2.25).ToString(), QStringLiteral("2,25"));
}

}  // namespace
