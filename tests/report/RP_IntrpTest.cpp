// Scripts: their coded lines, their effects and their error texts.
#include "ReportTestSupport.h"
#include "report/engine/RP_Errors.h"
#include "report/engine/RP_Intrp.h"

namespace {

// Variables in a map, functions logged: the interpreter's virtual operations filled as
// a report fills them.
class RecordingInterpreter : public TrpInterpretator {
public:
  QHash<QString, TrpValue> variables;
  QStringList log;

  void GetValue(const QString& name, TrpValue& value) override { value = variables.value(name.toUpper(), TrpValue::Null()); }
  void SetValue(const QString& name, const TrpValue& value) override {
    variables.insert(name.toUpper(), value);
    log << name + QStringLiteral(":=") + value.ToString();
  }
  void RunFunction(const QString& name, const QString& p1, const QString& p2, const QString& p3,
                   TrpValue& value) override {
    log << name + u'(' + QStringList{p1, p2, p3}.join(u',') + u')';
    value = TrpValue(0);
  }
};

// A coded line as text: "if-not 3: x 1 >", "goto 4", "call: f(0)", "x := 1 ".
QString Describe(const QString& line) {
  auto target = [&line] { return QString::number(line[1].unicode() | (line[2].unicode() << 8)); };
  QString rpn;
  const QString body = line[0].unicode() == 1 ? line.mid(3) : line[0].unicode() == 3 ? line.mid(1) : line;
  for (QChar c : body) {
    rpn += c.unicode() < 32 ? QStringLiteral("{%1}").arg(c.unicode()) : QString(c);
  }
  switch (line[0].unicode()) {
    case 1: return QStringLiteral("if-not ") + target() + QStringLiteral(": ") + rpn;
    case 2: return QStringLiteral("goto ") + target() + (line.size() > 3 ? QStringLiteral(" ") + line.mid(3) : QString());
    case 3: return QStringLiteral("call: ") + rpn;
    default: return rpn;
  }
}

class InterpreterTest : public ReportEngineTest {
protected:
  QStringList Compile(const QString& script) {
    QStringList coded;
    errors.clear();
    interpreter.CompileScript(script.split(u'\n'), coded, errors);
    QStringList described;
    for (const QString& line : coded) described << Describe(line);
    return described;
  }
  void Run(const QString& script) {
    QStringList coded;
    interpreter.CompileScript(script.split(u'\n'), coded, errors);
    ASSERT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
    interpreter.RunScript(coded);
  }

  RecordingInterpreter interpreter;
  QStringList errors;
};

TEST_F(InterpreterTest, StatementsCompileToCodedLines) {
  const struct {
    const char* script;
    QStringList lines;
  } cases[] = {
      {"begin a := 1; b := a + 1 end", {"a 1 ", "b a 1 +"}},
      {"begin if x > 1 then y := 1 else y := 2 end", {"if-not 3: x 1 >", "y 1 ", "goto 4", "y 2 "}},
      {"if x then y := 1", {"if-not 2: x ", "y 1 "}},
      {"begin i := 1; while i <= 3 do i := i + 1 end",
       {"i 1 ", "if-not 4: i 3 {2}", "i i 1 +", "goto 1"}},
      {"repeat i := i + 1 until i > 3", {"i i 1 +", "if-not 0: i 3 >"}},
      {"for i := 1 to n - 1 do s := s + i",
       {"i 1 ", "if-not 5: i n 1 -{2}", "s s i +", "i i 1 +", "goto 1"}},
      {"begin NewPage; exit end", {"call: NewPage(0)", "call: exit(0)"}},
      {"begin A[i] := 5 end", {"call: SETARRAY(A, i, 5)"}},
      {"begin inc(i); Memo1.Memo.Add('x') end", {"call: inc(i)", "call: Memo1.Memo.Add('x')"}},
      {"begin 10: x := 1; goto 10 end", {"x 1 ", "goto 0 10"}},
      {"begin goto 99 end", {"goto 8224 99"}},
      {"begin end", {}},
      {"begin begin x := 1 end; y := 2 end", {"x 1 ", "y 2 "}},
      {"x := 1 y := 2", {"x 1 "}},  // without BEGIN only the first statement counts
      {"begin x := 1 { a comment } ; // another\n y := 'a{b}' end", {"x 1 ", "y 'a{b}' "}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Compile(QString::fromUtf8(c.script)), c.lines) << c.script;
    EXPECT_TRUE(errors.isEmpty()) << c.script << ": " << errors.join(u'|').toStdString();
  }
}

TEST_F(InterpreterTest, ErrorsNameLineAndColumnInTheSource) {
  const struct {
    const char* script;
    const char* error;
  } cases[] = {
      {"begin goto x end", "Line 1/12: \"goto\" label must be a number"},
      {"begin x := 1 y := 2 end", "Line 1/14: Need \";\" or \"end\" here"},
      {"if x y := 1", "Line 1/6: Need \"then\" here"},
      {"repeat x := 1 x", "Line 1/15: Need \";\" or \"until\" here"},
      {"while x y := 1", "Line 1/9: Need \"do\" here"},
      {"for i := 1 do x := 1", "Line 1/12: Need \"to\" here"},
      {"for i := 1 to 2 x := 1", "Line 1/17: Need \"do\" here"},
      {"begin x = 1 end", "Line 1/9: Need \":=\" here"},
      {"x := (1 + 2", "Line 1/12: Need \")\" here"},
      {"x := [a", "Line 1/6: Need \"]\" here"},
      {"x := f(1 2)", "Line 1/10: Need \",\" or \")\" here"},
      {"begin\n  { a comment\n    over lines }\n  x := 1\n  y := 2\nend", "Line 5/3: Need \";\" or \"end\" here"},
      {"begin // note\n x := 'open\nend", "Line 2/7: Invalid expression"},
  };
  for (const auto& c : cases) {
    Compile(QString::fromUtf8(c.script));
    EXPECT_EQ(errors, QStringList{QString::fromUtf8(c.error)}) << c.script;
  }
}

TEST_F(InterpreterTest, CompiledLinesStayAsFarAsTheyCame) {
  EXPECT_EQ(Compile(QStringLiteral("begin a := 1; b := 2 c end")), (QStringList{"a 1 ", "b 2 "}));
  EXPECT_EQ(errors.size(), 1);
}

TEST_F(InterpreterTest, SourceAndCodedMayBeOneList) {
  QStringList script{QStringLiteral("begin a := 1 end")};
  interpreter.CompileScript(script, script, errors);
  ASSERT_EQ(script.size(), 1);
  EXPECT_EQ(Describe(script[0]), QStringLiteral("a 1 "));
}

TEST_F(InterpreterTest, ScriptsRunToTheirEffects) {
  Run(QStringLiteral("begin i := 1; while i <= 3 do i := i + 1 end"));
  EXPECT_EQ(interpreter.variables.value(QStringLiteral("I")).ToInteger(), 4);

  Run(QStringLiteral("begin s := 0; for k := 1 to 4 do s := s + k end"));
  EXPECT_EQ(interpreter.variables.value(QStringLiteral("S")).ToInteger(), 10);

  Run(QStringLiteral("begin n := 0; repeat n := n + 2 until n >= 5 end"));
  EXPECT_EQ(interpreter.variables.value(QStringLiteral("N")).ToInteger(), 6);

  Run(QStringLiteral("begin if 2 > 1 then r := 'yes' else r := 'no' end"));
  EXPECT_EQ(interpreter.variables.value(QStringLiteral("R")).ToString(), QStringLiteral("yes"));

  Run(QStringLiteral("begin c := 0; 5: c := c + 1; if c < 3 then goto 5 end"));
  EXPECT_EQ(interpreter.variables.value(QStringLiteral("C")).ToInteger(), 3);
}

TEST_F(InterpreterTest, ExitEndsTheRunAndCallsDropTheirValue) {
  interpreter.log.clear();
  Run(QStringLiteral("begin NewPage; exit; x := 1 end"));
  EXPECT_EQ(interpreter.log, QStringList{QStringLiteral("NEWPAGE(0,,)")});
  EXPECT_FALSE(interpreter.variables.contains(QStringLiteral("X")));
}

TEST_F(InterpreterTest, AJumpToAnUnknownLabelEndsTheRun) {
  Run(QStringLiteral("begin x := 1; goto 7; x := 2 end"));
  EXPECT_EQ(interpreter.variables.value(QStringLiteral("X")).ToInteger(), 1);
}

TEST_F(InterpreterTest, RunTimeErrorsPropagateAndTheStepLimitStopsEndlessLoops) {
  QStringList coded;
  interpreter.CompileScript({QStringLiteral("begin x := 'a' * 2 end")}, coded, errors);
  EXPECT_THROW(interpreter.RunScript(coded), ErpError);

  interpreter.CompileScript({QStringLiteral("while 1 do x := 1")}, coded, errors);
  interpreter.SetStepLimit(1000);
  EXPECT_THROW(interpreter.RunScript(coded), EParserError);
}

TEST_F(InterpreterTest, DeepNestingIsAnErrorNotACrash) {
  QString script;
  for (int i = 0; i < 1000; ++i) script += QStringLiteral("begin ");
  Compile(script);
  EXPECT_EQ(errors.size(), 1);
  Compile(QStringLiteral("x := ") + QString(1000, u'('));
  EXPECT_EQ(errors.size(), 1);
}

TEST_F(InterpreterTest, AQuotedTextBeyondTheTextLimitIsACompileError) {
  Compile(QStringLiteral("begin\n x := '") + QString(rpMaxTextLength + 1, u'x') + QStringLiteral("'\nend"));
  EXPECT_EQ(errors, QStringList{QStringLiteral("Line 2/7: A quoted text is too long")});
}

TEST_F(InterpreterTest, SplitExpressionsFindsTheListedCalls) {
  QStringList coded;
  interpreter.CompileScript({QStringLiteral("begin if SUM([Qty]) > 1 then t := MAX(x, Band1) + Other(1); "
                                            "COUNT(Band1) end")},
                            coded, errors);
  ASSERT_TRUE(errors.isEmpty());
  QStringList found;
  interpreter.SplitExpressions(coded, {QStringLiteral("SUM"), QStringLiteral("MAX"), QStringLiteral("COUNT")}, {},
                               found);
  EXPECT_EQ(found, (QStringList{QStringLiteral("SUM([Qty])"), QStringLiteral("MAX(x, Band1)"),
                                QStringLiteral("COUNT(Band1)")}));
}

}  // namespace
