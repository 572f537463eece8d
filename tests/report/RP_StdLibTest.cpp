// The function libraries, the globals and the report-side interpreter.
#include "ReportFakes.h"
#include "ReportTestSupport.h"
#include "report/engine/RP_Errors.h"
#include "report/engine/RP_StdLib.h"
#include "report/engine/RP_StringTable.h"

namespace {

class LibraryTest : public ReportEngineTest {
protected:
  TrpValue Calc(const char* text) { return rpGlobals().Parser().Calc(QString::fromUtf8(text)); }
  void RunScript(const char* script) {
    TrpInterpretator& interpreter = rpGlobals().Interpreter();
    QStringList coded;
    QStringList errors;
    interpreter.CompileScript({QString::fromUtf8(script)}, coded, errors);
    ASSERT_TRUE(errors.isEmpty()) << errors.join(u'|').toStdString();
    interpreter.RunScript(coded);
  }
};

TEST_F(LibraryTest, StandardFunctions) {
  const struct {
    const char* expression;
    TrpValue expected;
  } cases[] = {
      {"LENGTH('abc')", int64_t{3}},
      {"LENGTH('')", int64_t{0}},
      {"LOWERCASE('AbÇ')", TrpValue(QStringLiteral("abç"))},
      {"UPPERCASE('abç')", TrpValue(QStringLiteral("ABÇ"))},
      {"NAMECASE('hELLO wORLD')", TrpValue(QStringLiteral("Hello world"))},
      {"NAMECASE('')", TrpValue(QStringLiteral(""))},
      {"MAXNUM(2, 3)", 3.0},
      {"MAXNUM(-1, -5)", -1.0},
      {"MINNUM(2, 2)", 2.0},
      {"MINNUM('b', 'a')", TrpValue(QStringLiteral("a"))},
      {"POS('b', 'abc')", int64_t{2}},
      {"POS('z', 'abc')", int64_t{0}},
      {"POS('', 'abc')", int64_t{0}},
      {"TRIM('  a b  ')", TrpValue(QStringLiteral("a b"))},
      {"DAYOF(STRTODATE('3/5/2024'))", int64_t{5}},
      {"MONTHOF(STRTODATE('3/5/2024'))", int64_t{3}},
      {"YEAROF(STRTODATE('3/5/2024'))", int64_t{2024}},
      {"DAYOF('12/25/2023')", int64_t{25}},
      {"FORMATDATETIME('yyyy-mm-dd', STRTODATE('3/5/2024'))", TrpValue(QStringLiteral("2024-03-05"))},
      {"FORMATFLOAT('#,##0.00', 1234.5)", TrpValue(QStringLiteral("1,234.50"))},
      {"'Sum: ' + FORMATFLOAT('0.0', 2 * 1.25)", TrpValue(QStringLiteral("Sum: 2.5"))},
      {"FORMATFLOAT('0', 2.5) + STR(ROUND(2.5))", TrpValue(QStringLiteral("32"))},  // only ROUND goes to even
      {"FORMATTEXT('000-0000', '5551234')", TrpValue(QStringLiteral("555-1234"))},
      {"FORMATTEXT('000-0000', '55')", TrpValue(QStringLiteral("55 -    "))},
      {"NoSuchFunction(1)", TrpValue(QStringLiteral("0"))},
  };
  for (const auto& c : cases) {
    TrpValue result;
    ASSERT_NO_THROW(result = Calc(c.expression)) << c.expression;
    EXPECT_TRUE(result.SameAs(c.expected)) << c.expression << ": " << ::testing::PrintToString(result);
  }
  EXPECT_THROW(Calc("DAYOF('someday')"), ErpError);
  EXPECT_THROW(Calc("FORMATFLOAT('0', 'x')"), ErpError);
}

TEST_F(LibraryTest, InputAndMessageBoxAskTheWindows) {
  EXPECT_EQ(Calc("INPUT('Name?', 'Bob')").ToString(), QStringLiteral("Bob"));  // no windows: the default
  EXPECT_EQ(Calc("MESSAGEBOX('Hi', 'Note', 0)").ToInteger(), 1);

  rpResetGlobals();
  FakeWindows windows;
  windows.inputAnswer = QStringLiteral("Ann");
  windows.messageAnswer = 6;
  EXPECT_EQ(Calc("INPUT('Name' + '?', 'Bob')").ToString(), QStringLiteral("Ann"));
  EXPECT_EQ(Calc("MESSAGEBOX('Go on?', 'Report', mb_YesNo + mb_IconQuestion)").ToInteger(), 6);
  EXPECT_EQ(windows.log, (QStringList{QStringLiteral("input:|Name?|Bob"), QStringLiteral("message:Go on?|Report|36")}));
  rpResetGlobals();
}

TEST_F(LibraryTest, FieldIsNullLooksTheFieldUp) {
  FakeHost host;
  auto* orders = new MemoryTable(&host.owner);
  orders->setObjectName(QStringLiteral("Orders"));
  orders->AddField(QStringLiteral("Note"), TrpFieldType::String);
  orders->AddField(QStringLiteral("Amount"), TrpFieldType::Float);
  orders->AddRow({{QStringLiteral("Amount"), TrpValue(5)}});
  rpGlobals().SetCurrentReport(&host);
  EXPECT_TRUE(Calc("FIELDISNULL('NoSuchSet.Field')").BooleanValue());
  EXPECT_TRUE(Calc("FIELDISNULL('Orders.Note')").BooleanValue());
  EXPECT_FALSE(Calc("FIELDISNULL('orders.AMOUNT')").BooleanValue());
  EXPECT_TRUE(Calc("FIELDISNULL('Orders.Missing')").BooleanValue());
  rpGlobals().SetCurrentReport(nullptr);
}

TEST_F(LibraryTest, ConstantsAndVariablesAnswerNames) {
  const struct {
    const char* name;
    TrpValue value;
  } cases[] = {
      {"clRed", 0xFF},
      {"CLRED", 0xFF},
      {"clTransparent", 0x1FFFFFFF},
      {"clScrollBar", int64_t{0xFF000000}},
      {"clInfoBk", int64_t{0xFF000018}},
      {"mrYes", 6},
      {"CRLF", TrpValue(QStringLiteral("\r\n"))},
      {"Null", TrpValue::Null()},
      {"fsStrikeOut", 8},
      {"frtaDown", 16},
      {"baRest", 7},
      {"psDouble", 5},
      {"mb_IconWarning", 48},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(Calc(c.name).SameAs(c.value)) << c.name << ": " << ::testing::PrintToString(Calc(c.name));
  }
  RunScript("begin Total := 2; Total := Total * 3 end");
  EXPECT_EQ(Calc("total + 1").ToInteger(), 7);
}

TEST_F(LibraryTest, AssignmentsReachTheReport) {
  FakeWindows windows;
  rpResetGlobals();
  FakeHost host;
  FakeObject memo;
  memo.properties.insert(QStringLiteral("VISIBLE"), TrpValue(true));
  host.objects[QStringLiteral("MEMO1")] = &memo;
  host.dictionary.insert(QStringLiteral("RATE"), TrpValue());
  rpGlobals().SetCurrentReport(&host);

  RunScript("begin Rate := 3; ModalResult := mrCancel; CurY := 120; Progress := 'Page 2'; "
            "Memo1.Visible := False; Memo1.Unknown := 1; Fresh := 'new' end");
  EXPECT_TRUE(host.dictionary.value(QStringLiteral("RATE")).SameAs(TrpValue(3.0)));
  EXPECT_EQ(host.modalResult, 2);
  EXPECT_EQ(host.curY, 120);
  ASSERT_NE(windows.progress, nullptr);
  EXPECT_EQ(windows.progress->second, QStringLiteral("Page 2"));
  EXPECT_GT(windows.progress->repaints, 0);
  EXPECT_TRUE(memo.properties.value(QStringLiteral("VISIBLE")).SameAs(TrpValue(false)));
  EXPECT_FALSE(memo.properties.contains(QStringLiteral("UNKNOWN")));
  // What is none of the report's names becomes a script variable.
  TrpVariables& variables = rpGlobals().Variables();
  EXPECT_EQ(variables.Variable(QStringLiteral("Memo1.Unknown")).ToInteger(), 1);
  EXPECT_EQ(variables.Variable(QStringLiteral("fresh")).ToString(), QStringLiteral("new"));
  EXPECT_EQ(variables.IndexOf(QStringLiteral("Rate")), -1);
  rpGlobals().SetCurrentReport(nullptr);
  rpResetGlobals();
}

class EchoLibrary : public TrpFunctionLibrary {
public:
  explicit EchoLibrary(QString className = QStringLiteral("EchoLibrary")) : className_(std::move(className)) {
    AddFunction(QStringLiteral("ECHO"));
    AddFunction(QStringLiteral("LENGTH"));  // already answered by the standard library
  }
  void CallLibraryFunction(int number, const QString& p1, const QString&, const QString&, TrpValue& value) override {
    value = TrpValue(QStringLiteral("echo%1:").arg(number) + p1);
  }
  QString ClassName() const override { return className_; }

private:
  QString className_;
};

TEST_F(LibraryTest, LibrariesRegisterOnceAndAnswerInOrder) {
  const size_t before = rpFunctionLibraries().size();
  rpRegisterFunctionLibrary<EchoLibrary>();
  rpRegisterFunctionLibrary<EchoLibrary>();
  EXPECT_EQ(rpFunctionLibraries().size(), before + 1);
  EXPECT_EQ(Calc("ECHO(1 + 1)").ToString(), QStringLiteral("echo0:1 + 1"));
  EXPECT_TRUE(Calc("LENGTH('ab')").SameAs(TrpValue(int64_t{2})));  // the first library that knows it
  ASSERT_NE(rpGlobals().InstalledFunctions().Find(QStringLiteral("echo")), nullptr);

  rpUnRegisterFunctionLibrary(QStringLiteral("EchoLibrary"));
  EXPECT_EQ(rpFunctionLibraries().size(), before);
  EXPECT_EQ(rpGlobals().InstalledFunctions().Find(QStringLiteral("ECHO")), nullptr);
  EXPECT_EQ(Calc("ECHO(1)").ToString(), QStringLiteral("0"));

  for (size_t i = rpFunctionLibraries().size(); i < 64; ++i) {
    rpRegisterFunctionLibrary([i] { return std::make_unique<EchoLibrary>(QStringLiteral("Echo%1").arg(i)); });
  }
  EXPECT_THROW(
      rpRegisterFunctionLibrary([] { return std::make_unique<EchoLibrary>(QStringLiteral("OneTooMany")); }),
      ErpError);
}

TEST_F(LibraryTest, DescriptionsOfFunctionsAndNames) {
  const TrpInstalledFunctions& installed = rpGlobals().InstalledFunctions();
  const TrpFunctionDescription* fieldIsNull = installed.Find(QStringLiteral("FIELDISNULL"));
  ASSERT_NE(fieldIsNull, nullptr);
  EXPECT_EQ(fieldIsNull->category, QStringLiteral("Database"));
  EXPECT_EQ(fieldIsNull->description, QStringLiteral("FIELDISNULL(<FieldName>)/Returns 'true' if DB-field is null"));
  for (const char* name : {"SUM", "FORMATFLOAT", "IF", "PAGE#", "DEC", "TOTALPAGES"}) {
    EXPECT_NE(installed.Find(QString::fromLatin1(name)), nullptr) << name;
  }
}

TEST_F(LibraryTest, GlobalTextsComeFromTheStringTable) {
  TrpGlobals& g = rpGlobals();
  EXPECT_EQ(g.DefaultCharset(), 1);
  EXPECT_EQ(g.BandName(rpBand::ReportTitle), QStringLiteral("Report title"));
  EXPECT_EQ(g.BandName(rpBand::CrossFooter), QStringLiteral("Cross footer"));
  EXPECT_EQ(g.BandName(rpBand::None), QStringLiteral("None"));
  EXPECT_EQ(g.BooleanFormats()[1], QStringLiteral("No;Yes"));
  EXPECT_EQ(g.DateFormats()[3], QStringLiteral("d mmmm yyyy"));
  EXPECT_EQ(g.TimeFormats()[2], QStringLiteral("hh:nn"));
  EXPECT_NE(g.CheckerBitmap().pixel(0, 0), g.CheckerBitmap().pixel(1, 0));
  EXPECT_EQ(g.CheckerBitmap().pixel(0, 0), g.CheckerBitmap().pixel(1, 1));
  EXPECT_EQ(g.Progress(), nullptr);  // no windows installed
}

TEST_F(LibraryTest, LoadStrAsksTheTranslationFirst) {
  EXPECT_EQ(rpLoadStr(rpStrings::BandName0 + 5), QStringLiteral("Master data"));
  EXPECT_EQ(rpLoadStr(rpStrings::NeedThen), QStringLiteral("Need \"then\" here"));
  EXPECT_EQ(rpLoadStr(54999), QString());
  rpLocale().SetLocalizer([](int id) { return id == rpStrings::NeedThen ? QStringLiteral("Es fehlt \"then\"") : QString(); });
  EXPECT_EQ(rpLoadStr(rpStrings::NeedThen), QStringLiteral("Es fehlt \"then\""));
  EXPECT_EQ(rpLoadStr(rpStrings::NeedDo), QStringLiteral("Need \"do\" here"));
}

TEST_F(LibraryTest, ResetStartsTheGlobalsAfresh) {
  rpGlobals().Variables().SetVariable(QStringLiteral("x"), TrpValue(1));
  rpResetGlobals();
  EXPECT_EQ(rpGlobals().Variables().Count(), 0);
}

}  // namespace
