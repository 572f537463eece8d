// The expression language: compiled forms, values, callbacks, errors, the scanners and
// the variable list.
#include "ReportTestSupport.h"
#include "report/engine/RP_Errors.h"
#include "report/engine/RP_Pars.h"

namespace {

// Operator codes shown by name, so expected texts read as the operators they are.
QString Readable(const QString& rpn) {
  static const char* const names[] = {"",      "{>=}",  "{<=}", "{<>}", "{OR}", "{AND}", "{INT}", "{FRAC}",
                                      "{8}",   "{NEG}", "{POS}", "{STR}", "{NOT}", "{MOD}", "{ROUND}"};
  QString out;
  for (QChar c : rpn) {
    if (c.unicode() >= 1 && c.unicode() <= 14) {
      out += QString::fromLatin1(names[c.unicode()]);
    } else {
      out += c;
    }
  }
  return out;
}

class ParserTest : public ReportEngineTest {
protected:
  void SetUp() override {
    ReportEngineTest::SetUp();
    parser.OnGetValue = [this](const QString& name, TrpValue& value) {
      names << name;
      if (values.contains(name)) value = values.value(name);
    };
    parser.OnFunction = [this](const QString& name, const QString& p1, const QString& p2, const QString& p3,
                               TrpValue& value) {
      calls << name + u'|' + p1 + u'|' + p2 + u'|' + p3;
      value = TrpValue(QStringLiteral("fn"));
    };
  }

  TrpParser parser;
  QHash<QString, TrpValue> values;
  QStringList names;
  QStringList calls;
};

TEST_F(ParserTest, CompilesToReversePolishText) {
  const struct {
    const char* source;
    const char* compiled;
  } cases[] = {
      {"2+3*4", "2 3 4 *+"},
      {"a = 1 and b = 2", "a 1 b {AND}=2 ="},
      {"(a = 1) and (b = 2)", "a 1 =b 2 ={AND}"},
      {"x - y - z", "x y -z -"},
      {"2*-3", "2 3 {NEG}*"},
      {"1+-2", "1 2 {NEG}+"},
      {"-5+2", "5 {NEG}2 +"},
      {"+5", "5 {POS}"},
      {"not 0 = 1", "0 {NOT}1 ="},
      {"INT(2.5)*2", "2.5 {INT}2 *"},
      {"frac 1 + str 2 + round 3", "1 {FRAC}2 {STR}+3 {ROUND}+"},
      {"10 mod 3", "10 3 {MOD}"},
      {"a or b", "a b {OR}"},
      {"a<>b", "a b {<>}"},
      {"a>=b", "a b {>=}"},
      {"a<=b", "a b {<=}"},
      {"'It''s' + x", "'It''s' x +"},
      {"[Name] + [Table.\"Field name\"]", "[Name] [Table.\"Field name\"] +"},
      {"COPY('a,b', 2, 3)+1", "COPY('a,b', 2, 3)1 +"},
      {"A[3]", "A[3] "},
      {"1,5", "1,5 "},
      {"1 ; ignored", "1 "},
      {"\r 1\r", "1 "},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Readable(TrpParser::CompileExpression(QString::fromUtf8(c.source))), QString::fromUtf8(c.compiled))
        << c.source;
  }
}

TEST_F(ParserTest, EvaluatesToTheLanguagesValues) {
  values.insert(QStringLiteral("A"), TrpValue(1));
  values.insert(QStringLiteral("B"), TrpValue(2));
  const struct {
    const char* source;
    TrpValue expected;
  } cases[] = {
      {"2+3*4", 14.0},
      {"", 0},
      {"1 2", 1.0},  // the bottom value is the result
      {"10/0", 0},
      {"10/4", 2.5},
      {"10 mod 3", int64_t{1}},
      {"-5+2", -3.0},
      {"2*-3", -6.0},
      {"1+-2", -1.0},
      {"- -2", 2.0},
      {"INT(2.9999999999999)", 3.0},
      {"INT(2.5)", 2.0},
      {"INT(-2.5)", -2.0},
      {"FRAC(-1.25)", -0.25},
      {"FRAC(2.99999999999)", 0.0},
      {"ROUND(2.5)", int64_t{2}},
      {"ROUND(3.5)", int64_t{4}},
      {"ROUND(-2.5)", int64_t{-2}},
      {"'It''s'", TrpValue(QStringLiteral("It's"))},
      {"'a''''b \"\"c'", TrpValue(QStringLiteral("a'b \"\"c"))},
      {"'a' + 'b'", TrpValue(QStringLiteral("ab"))},
      {"STR(1.5) + 'x'", TrpValue(QStringLiteral("1.5x"))},
      {"NOT 0", 1},
      {"NOT 5", 0},
      {"1 and 0", 0.0},
      {"2 and 3", 6.0},
      {"(a = 1) and (b = 2)", 1},
      {"a = 1 and b = 2", 0},  // groups as (a = (1 and b)) = 2
      {"a < b", 1},
      {"a >= b", 0},
      {"a <> b", 1},
      {"TRUE", true},
      {"false", false},
      {"1,5", 1.5},
      {"IF(1, 'a', 'b')", TrpValue(QStringLiteral("a"))},
      {"IF(0.5, 'a', 'b')", TrpValue(QStringLiteral("b"))},
      {"IF(TRUE, 'a', 'b')", TrpValue(QStringLiteral("a"))},
      {"IF(a > b, 'a', 'b')", TrpValue(QStringLiteral("b"))},
      {"COPY('abcdef', 2, 3)", TrpValue(QStringLiteral("bcd"))},
      {"COPY('abc', 0, 2)", TrpValue(QStringLiteral("ab"))},
      {"COPY('abc', 5, 1)", TrpValue(QStringLiteral(""))},
      {"STRTODATE('3/5/2024')", TrpValue::DateTime(Day(2024, 3, 5))},
      {"STRTOTIME('6:00 PM')", TrpValue::DateTime(0.75)},
      {"STRTODATE('1/2/2000') < STRTODATE('1/3/2000')", 1},
      // Nothing is a name the callback leaves null.
      {"Nothing + 1", TrpValue::Null()},
      {"Nothing / 0", TrpValue::Null()},
      {"INT(Nothing)", TrpValue::Null()},
      {"STR(Nothing)", TrpValue(QStringLiteral(""))},
      {"Nothing = Nothing", 1},
      {"Nothing < 0", 1},
      {"Nothing = 0", 0},
      {"NOT Nothing", 0},
  };
  for (const auto& c : cases) {
    TrpValue result;
    ASSERT_NO_THROW(result = parser.Calc(QString::fromUtf8(c.source))) << c.source;
    EXPECT_TRUE(result.SameAs(c.expected)) << c.source << ": " << ::testing::PrintToString(result);
  }
}

TEST_F(ParserTest, NamesAndFunctionsGoToTheCallbacks) {
  parser.Calc(QStringLiteral("[Name] + Name"));
  EXPECT_EQ(names, (QStringList{QStringLiteral("Name"), QStringLiteral("NAME")}));

  parser.Calc(QStringLiteral("f(1, 'x,y', G(2, (3)))"));
  parser.Calc(QStringLiteral("A[i + 1]"));
  parser.Calc(QStringLiteral("h()"));
  EXPECT_EQ(calls, (QStringList{QStringLiteral("F|1|'x,y'|G(2, (3))"), QStringLiteral("GETARRAY|A|i + 1|"),
                                QStringLiteral("H|||")}));
}

TEST_F(ParserTest, IfComputesOnlyTheChosenArgument) {
  EXPECT_EQ(parser.Calc(QStringLiteral("IF(1, 'a', Boom(1))")).ToString(), QStringLiteral("a"));
  EXPECT_EQ(parser.Calc(QStringLiteral("IF(0, Boom(1), 'b')")).ToString(), QStringLiteral("b"));
  EXPECT_TRUE(calls.isEmpty());
}

TEST_F(ParserTest, WithoutCallbacksNamesAndFunctionsAreNull) {
  TrpParser bare;
  EXPECT_TRUE(bare.Calc(QStringLiteral("Name")).IsNull());
  EXPECT_TRUE(bare.Calc(QStringLiteral("f(1)")).IsNull());
}

TEST_F(ParserTest, BadInputRaisesTheEnginesError) {
  const char* const failing[] = {
      "1.5.3",          // malformed number
      "'abc' = 1",      // text that is no number
      "*3",             // an operator without its operands
      "(1",             // an open parenthesis left over
      "STRTODATE('x')", // no date
      "COPY('abc', 1.5, 1)",
      "IF('x', 1, 2)",
      "10 mod 0",
  };
  for (const char* source : failing) {
    EXPECT_THROW(parser.Calc(QString::fromUtf8(source)), ErpError) << source;
  }
  try {
    parser.Calc(QStringLiteral("f(1"));
    FAIL() << "an unbalanced call was accepted";
  } catch (const EParserError& e) {
    EXPECT_TRUE(e.Message().isEmpty());
  }
}

TEST_F(ParserTest, NestingAndPendingValuesAreBounded) {
  QString nested = QStringLiteral("1");
  for (int i = 0; i < 100; ++i) nested = QStringLiteral("IF(1, ") + nested + QStringLiteral(", 0)");
  EXPECT_THROW(parser.Calc(nested), EParserError);

  QString deep = QStringLiteral("1");
  for (int i = 0; i < 5000; ++i) deep = QStringLiteral("1+(") + deep + u')';
  EXPECT_THROW(parser.Calc(deep), EParserError);

  // A modest nesting still works, and the parser is usable after an error.
  QString fine = QStringLiteral("1");
  for (int i = 0; i < 20; ++i) fine = QStringLiteral("IF(1, ") + fine + QStringLiteral(", 0)");
  EXPECT_DOUBLE_EQ(parser.Calc(fine).ToFloat(), 1.0);
}

// A literal longer than any text a value may hold is refused when it is read, before it
// is copied into values.
TEST_F(ParserTest, AQuotedTextBeyondTheTextLimitIsAnError) {
  const QString literal = u'\'' + QString(rpMaxTextLength + 1, u'x') + u'\'';
  try {
    parser.Calc(literal + QStringLiteral(" + 'a'"));
    ADD_FAILURE() << "no error";
  } catch (const EParserError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("A quoted text is too long"));
  }
  EXPECT_EQ(parser.Calc(QStringLiteral("'it''s'")).ToString(), QStringLiteral("it's"));
}

TEST_F(ParserTest, CompiledTextIsEvaluatedAgainWithFreshValues) {
  const QString rpn = TrpParser::CompileExpression(QStringLiteral("[Qty] * [Price] + 1"));
  values.insert(QStringLiteral("Qty"), TrpValue(2));
  values.insert(QStringLiteral("Price"), TrpValue(3));
  EXPECT_EQ(parser.EvaluateRPN(rpn).ToInteger(), 7);
  values.insert(QStringLiteral("Price"), TrpValue(10));
  EXPECT_EQ(parser.EvaluateRPN(rpn).ToInteger(), 21);
}

TEST(ScannerTest, GetBracketedTextSkipsQuotedBrackets) {
  const struct {
    const char* text;
    qsizetype from;
    const char* inner;
    qsizetype start, stop;
  } cases[] = {
      {"x [a[b]c] y", 0, "a[b]c", 2, 8},
      {"['a]'] ", 0, "'a]'", 0, 5},
      {"[\"a]\"]", 0, "\"a]\"", 0, 5},
      {"[\"it's]\"]", 0, "\"it's]\"", 0, 8},
      {"no bracket", 3, "", 3, 3},
      {"[open", 0, "open", 0, 5},
  };
  for (const auto& c : cases) {
    const QString text = QString::fromUtf8(c.text);
    qsizetype start = c.from;
    qsizetype stop = -1;
    EXPECT_EQ(GetBracketedText(text, start, stop), QString::fromUtf8(c.inner)) << c.text;
    EXPECT_EQ(start, c.start) << c.text;
    EXPECT_EQ(stop, c.stop) << c.text;
  }
}

TEST(ScannerTest, ReadIdentifierAndReadQuotedString) {
  qsizetype pos = 0;
  const QString text = QStringLiteral("  Table.\"Order no\"+x,y;z]w(");
  EXPECT_EQ(ReadIdentifier(text, pos), QStringLiteral("Table.\"Order no\""));
  EXPECT_EQ(text[pos], u'+');
  ++pos;
  EXPECT_EQ(ReadIdentifier(text, pos), QStringLiteral("x,y;z]w"));

  const QString quoted = QStringLiteral("'it''s' rest");
  pos = 0;
  EXPECT_EQ(ReadQuotedString(quoted, pos), QStringLiteral("'it''s'"));
  EXPECT_EQ(pos, 7);
  const QString open = QStringLiteral("'never closed");
  pos = 0;
  EXPECT_EQ(ReadQuotedString(open, pos), open);
}

TEST(ScannerTest, SplitArgumentsAtTheOuterCommas) {
  const QString text = QStringLiteral("F(a, G(b, c), 'd,(e', [x,y], extra) tail");
  qsizetype pos = 1;
  QString p1, p2, p3;
  SplitArguments(text, pos, p1, p2, p3);
  EXPECT_EQ(p1, QStringLiteral("a"));
  EXPECT_EQ(p2, QStringLiteral("G(b, c)"));
  EXPECT_EQ(p3, QStringLiteral("'d,(e'"));
  EXPECT_EQ(text.mid(pos), QStringLiteral(" tail"));

  pos = 0;
  const QString unbalanced = QStringLiteral("(a, (b)");
  EXPECT_THROW(SplitArguments(unbalanced, pos, p1, p2, p3), EParserError);
}

TEST(VariablesTest, NamesMatchWithoutCaseAndMissingReadsNull) {
  for (bool sorted : {false, true}) {
    TrpVariables v(sorted);
    v.SetVariable(QStringLiteral("Zeta"), TrpValue(1));
    v.SetVariable(QStringLiteral("alpha"), TrpValue(2));
    v.SetVariable(QStringLiteral("ZETA"), TrpValue(3));
    EXPECT_EQ(v.Count(), 2);
    EXPECT_EQ(v.Variable(QStringLiteral("zeta")).ToInteger(), 3);
    EXPECT_TRUE(v.Variable(QStringLiteral("missing")).IsNull());
    EXPECT_EQ(v.IndexOf(QStringLiteral("missing")), -1);
    EXPECT_EQ(v.Name(0), sorted ? QStringLiteral("alpha") : QStringLiteral("Zeta"));
    EXPECT_TRUE(v.Value(5).SameAs(TrpValue(0)));
    v.SetValue(5, TrpValue(9));
    EXPECT_EQ(v.Count(), 2);
    v.SetName(v.IndexOf(QStringLiteral("alpha")), QStringLiteral("Omega"));
    EXPECT_EQ(v.Variable(QStringLiteral("omega")).ToInteger(), 2);
    v.Delete(v.IndexOf(QStringLiteral("omega")));
    EXPECT_EQ(v.Count(), 1);
    v.Clear();
    EXPECT_EQ(v.Count(), 0);
  }
}

TEST(VariablesTest, SortingDropsDuplicateNames) {
  TrpVariables v;
  v.SetVariable(QStringLiteral("b"), TrpValue(1));
  v.SetVariable(QStringLiteral("a"), TrpValue(2));
  v.SetName(0, QStringLiteral("A"));
  v.SetSorted(true);
  EXPECT_EQ(v.Count(), 1);
  EXPECT_EQ(v.Variable(QStringLiteral("a")).ToInteger(), 1);
}

}  // namespace
