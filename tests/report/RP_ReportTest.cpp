// The report component: what a build answers for names, formats and functions, one and
// two passes, builds that cannot nest or hang, the preview, and the form property.
#include "ReportComponentFixture.h"
#include "report/engine/RP_PageBuild.h"
#include "report/engine/RP_PreviewView.h"
#include "report/engine/RP_StringTable.h"

#include "support/CaseName.h"
#include "support/TempDir.h"

#include <QBuffer>
#include <QFile>

namespace {

constexpr uint32_t Fmt(uint32_t category, uint32_t kind, uint32_t decimals, char16_t separator) {
  return (category << 24) | (kind << 16) | (decimals << 8) | separator;
}

// --- names ---

struct NameCase {
  const char* what;
  const char* memo;
  // OnGetValue: the name it knows, its answer, whether it says it handled it.
  const char* answers;
  const char* answer;
  bool handled;
  const char* expected;
};

class VariableResolutionTest : public ReportComponentTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(VariableResolutionTest, FirstSourceThatHasTheNameWins) {
  const NameCase& c = GetParam();
  rows->SetRangeEndCount(1);
  report.Dictionary.Variables.Append(QStringLiteral("Notes"), QStringLiteral("15"));
  report.Dictionary.Variables.Append(QStringLiteral("Total"), QStringLiteral("2 + 3"));
  report.InfoName = QStringLiteral("Tasks");
  report.OnGetValue = [&c](const QString& name, TrpValue& value, bool& handled) {
    if (name.compare(QLatin1String(c.answers), Qt::CaseInsensitive) != 0) return;
    value = TrpValue(QString::fromUtf8(c.answer));
    handled = c.handled;
  };
  AddRowBand(60, {QString::fromUtf8(c.memo)});
  ASSERT_TRUE(report.PrepareReport()) << windows->log.join(u'\n').toStdString();
  EXPECT_EQ(AllTexts(), QStringList{QString::fromUtf8(c.expected)});
}

INSTANTIATE_TEST_SUITE_P(
    Report, VariableResolutionTest,
    ::testing::Values(NameCase{"dictionary", "[Total]", "", "", false, "5"},
                      NameCase{"handled empty prints empty", "<[Notes]>", "Notes", "", true, "<>"},
                      NameCase{"unhandled empty falls through", "<[Notes]>", "Notes", "", false, "<15>"},
                      NameCase{"an answer beats the dictionary", "[Total]", "Total", "7", false, "7"},
                      NameCase{"an answer beats the build's names", "[PAGE#]", "PAGE#", "x", true, "x"},
                      NameCase{"an expression", "[Total * 2]", "", "", false, "10"},
                      NameCase{"report information", "[REPORTNAME]", "", "", false, "Tasks"},
                      NameCase{"a view's property", "[Cell.Width]", "", "", false, "700"}),
    [](const auto& info) { return CaseName(info.param.what); });

TEST_F(ReportComponentTest, ANameThatMeetsItselfStopsTheBuildWithUndefinedSymbol) {
  rows->SetRangeEndCount(1);
  report.Dictionary.Variables.Append(QStringLiteral("Loop"), QStringLiteral("Nowhere"));
  AddRowBand(60, {QStringLiteral("[Nowhere]")});
  EXPECT_FALSE(report.PrepareReport());
  EXPECT_EQ(report.EMFPages().Count(), 0);
  ASSERT_EQ(windows->log.size(), 1);
  EXPECT_TRUE(windows->log[0].startsWith(QStringLiteral("message:Undefined symbol \"Nowhere\""), Qt::CaseInsensitive))
      << windows->log[0].toStdString();
  EXPECT_TRUE(windows->log[0].endsWith(QStringLiteral("|Error|16")));
}

// --- passes ---

TEST_F(ReportComponentTest, TotalPagesIsZeroInOnePassAndTheCountInTwo) {
  rows->SetRangeEndCount(25);  // 15 rows of 60 units to a page of 900: two pages
  AddRowBand(60, {QStringLiteral("[PAGE#]/[TOTALPAGES]")});
  for (const bool twoPass : {false, true}) {
    report.TwoPass = twoPass;
    ASSERT_TRUE(report.PrepareReport());
    ASSERT_EQ(report.EMFPages().Count(), 2);
    EXPECT_EQ(PageTexts(0).front(), twoPass ? "1/2" : "1/0");
    EXPECT_EQ(PageTexts(1).back(), twoPass ? "2/2" : "2/0");
  }
}

TEST_F(ReportComponentTest, TheProgressWindowCountsPagesAgainstTheFirstPassTotal) {
  report.SetShowProgress(true);
  report.SetTitle(QStringLiteral("Tasks"));
  report.TwoPass = true;
  rows->SetRangeEndCount(12);
  AddRowBand(900, {QStringLiteral("row")});
  QStringList labels;  // at the end of the third page: in the first pass, then the final one
  report.OnEndPage = [&](int index) {
    if (index == 2) labels << windows->progress->first;
  };
  ASSERT_TRUE(report.PrepareReport());
  ASSERT_EQ(report.EMFPages().Count(), 12);
  EXPECT_EQ(windows->progress->caption, "Preparing report - Tasks");
  EXPECT_EQ(labels, (QStringList{QStringLiteral("Performing 1st pass:  3"), QStringLiteral("Processing page:  3 from 12")}));
}

TEST_F(ReportComponentTest, WhatScriptsChangeInTheDesignIsUndoneAfterTheBuild) {
  TrpMemoView* memo = AddRowBand(60, {QStringLiteral("row")});
  memo->Script = QStringList{QStringLiteral("Cell.Width := 100")};
  ASSERT_TRUE(report.PrepareReport());
  ASSERT_EQ(report.PageCount(), 1);
  EXPECT_EQ(report.FindObject(QStringLiteral("Cell"))->Width, 700);
}

// Between margins 36 and 684: aligned to the width, an object spans them, though inside
// a band only a cross band would give it a width.
TEST_F(ReportComponentTest, ObjectsAlignedToTheirBandTakeTheirPlaceBeforeTheBuild) {
  struct Case {
    uint8_t align;
    int left, width;
  };
  const Case cases[] = {
      {rpBandAlign::Width, 36, 647},
      {rpBandAlign::Center, 335, 50},
      {rpBandAlign::None, 100, 50},
  };
  page->UseMargins = -1;
  page->MarginLeft = page->MarginRight = 36;
  rows->SetRangeEndCount(1);
  TrpMemoView* memo = AddRowBand(60, {QStringLiteral("row")});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.align);
    memo->SetGeometry(100, 0, 50, 20);
    memo->BandAlign = c.align;
    ASSERT_TRUE(report.PrepareReport());
    TrpPage* prepared = report.EMFPages().PageToObjects(0);
    ASSERT_NE(prepared->FindObject(QStringLiteral("Cell")), nullptr);
    EXPECT_EQ(prepared->FindObject(QStringLiteral("Cell"))->Left, c.left);
    EXPECT_EQ(prepared->FindObject(QStringLiteral("Cell"))->Width, c.width);
  }
}

TEST_F(ReportComponentTest, ABuildCannotStartWhileOneRuns) {
  AddRowBand(60, {QStringLiteral("row")});
  std::optional<bool> nested;
  report.OnBeginDoc = [&] { nested = report.PrepareReport(); };
  EXPECT_TRUE(report.PrepareReport());
  ASSERT_TRUE(nested.has_value());
  EXPECT_FALSE(*nested);
  EXPECT_EQ(report.EMFPages().Count(), 1);
  EXPECT_FALSE(TrpReport::Busy());
}

// --- scripts that never end ---

TEST_F(ReportComponentTest, AnEndlessScriptStopsAtTheStepLimitWithoutTheProgressWindow) {
  TrpMemoView* memo = AddRowBand(60, {QStringLiteral("row")});
  memo->Script = QStringList{QStringLiteral("while 1 = 1 do a := 1")};
  report.ScriptStepLimit = 10000;
  EXPECT_FALSE(report.PrepareReport());
  EXPECT_EQ(report.EMFPages().Count(), 0);
  ASSERT_EQ(windows->log.size(), 1);
  EXPECT_TRUE(windows->log[0].contains(rpLoadStr(rpStrings::ScriptRunsTooLong))) << windows->log[0].toStdString();
}

// A progress window whose user presses Cancel as soon as it serves events.
class CancelledProgress : public FakeProgress {
public:
  void ProcessEvents() override {
    FakeProgress::ProcessEvents();
    // Pressed once the script runs (it sets its variable first).
    if (OnCancel && rpGlobals().Variables().IndexOf(QStringLiteral("a")) >= 0) OnCancel();
  }
  bool Run(std::function<void()> work) override {
    work();
    return false;
  }
};

class CancellingWindows : public FakeWindows {
public:
  std::unique_ptr<TrpProgressView> CreateProgressWindow() override { return std::make_unique<CancelledProgress>(); }
};

TEST_F(ReportComponentTest, CancelInTheProgressWindowEndsAnEndlessScript) {
  windows.reset();
  windows = std::make_unique<CancellingWindows>();
  rpResetGlobals();
  report.SetShowProgress(true);
  TrpMemoView* memo = AddRowBand(60, {QStringLiteral("row")});
  memo->Script = QStringList{QStringLiteral("begin a := 1; while 1 = 1 do a := a + 1 end")};
  report.ScriptStepLimit = 10;  // not in force with the progress window up
  EXPECT_FALSE(report.PrepareReport());
  EXPECT_EQ(report.EMFPages().Count(), 0);
  EXPECT_TRUE(windows->log.isEmpty()) << windows->log.join(u'\n').toStdString();
}

// --- formats ---

struct FormatCase {
  TrpValue value;
  uint32_t format;
  const char* pattern;
  const char* expected;
};

class FormatValueTest : public ReportComponentTest, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(FormatValueTest, FormatsByCategoryAndKind) {
  const FormatCase& c = GetParam();
  EXPECT_EQ(report.FormatValue(c.value, c.format, QString::fromUtf8(c.pattern)), QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Report, FormatValueTest,
    ::testing::Values(FormatCase{TrpValue(QStringLiteral("abc")), 0, "", "abc"},
                      FormatCase{TrpValue(QStringLiteral("   ")), Fmt(1, 1, 2, u'.'), "", ""},
                      FormatCase{TrpValue(), Fmt(1, 1, 2, u'.'), "", ""},
                      FormatCase{TrpValue(1234.5), Fmt(1, 0, 2, u'.'), "", "1234.5"},
                      FormatCase{TrpValue(1234.5), Fmt(1, 1, 2, u','), "", "1234,50"},
                      FormatCase{TrpValue(1234.5), Fmt(1, 2, 2, u'.'), "", "1,234.5"},
                      FormatCase{TrpValue(1234.5), Fmt(1, 3, 2, u'.'), "", "1,234.50"},
                      FormatCase{TrpValue(2.5), Fmt(1, 4, 0, u'.'), "0.000", "2.500"},
                      FormatCase{TrpValue::DateTime(Day(2024, 3, 10)), Fmt(2, 4, 0, 0), "yyyy-mm-dd", "2024-03-10"},
                      FormatCase{TrpValue::DateTime(Day(2024, 3, 10)), Fmt(2, 3, 0, 0), "", "Sunday, March 10, 2024"},
                      FormatCase{TrpValue(0), Fmt(4, 1, 0, 0), "", "No"},
                      FormatCase{TrpValue(3), Fmt(4, 1, 0, 0), "", "Yes"},
                      FormatCase{TrpValue(0), Fmt(4, 4, 0, 0), "off;on", "off"},
                      FormatCase{TrpValue(QStringLiteral("n/a")), Fmt(1, 1, 2, u'.'), "", "n/a"}));

struct ExpressionCase {
  const char* expression;
  bool hideZeros;
  const char* expected;
};

class MemoExpressionTest : public ReportComponentTest, public ::testing::WithParamInterface<ExpressionCase> {};

TEST_P(MemoExpressionTest, TheHashSuffixChoosesTheFormat) {
  const ExpressionCase& c = GetParam();
  // A decimal comma in the locale: the format's own separator wins.
  TrpContextScope comma(rpContextWith([](TrpContext& context) { context.Formats->DecimalSeparator = u','; }));
  TrpMemoView* memo = AddRowBand(60, {});
  memo->Format = Fmt(1, 1, 1, u',');  // the view's own format, used without a suffix
  if (c.hideZeros) memo->Flags |= rpMemoFlag::HideZeros;
  report.SetCurrentView(memo);
  EXPECT_EQ(report.ExpressionText(QString::fromUtf8(c.expression)), QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Report, MemoExpressionTest,
                         ::testing::Values(ExpressionCase{"1234.5 #N0.00", false, "1234.50"},
                                           ExpressionCase{"1234.5 #N0,000", false, "1234,500"},
                                           ExpressionCase{"1234.5 #2.0", false, "1234.5"},
                                           ExpressionCase{"1234.5 #N#,##0.0", false, "1,234.5"},
                                           ExpressionCase{"0 #BNo;Yes", false, "No"},
                                           ExpressionCase{"1 #BNo;Yes", false, "Yes"},
                                           ExpressionCase{"1234.5", false, "1234,5"},
                                           ExpressionCase{"0", true, ""},
                                           ExpressionCase{"'0'", true, "0,0"}));

// --- before print ---

// The handler sees a memo's text before its expressions are expanded; a text it
// rewrites is printed as it stands, one it leaves is expanded.
TEST_F(ReportComponentTest, BeforePrintSeesTheTextAndWhatItWritesIsNotExpanded) {
  for (bool rewrite : {false, true}) {
    SCOPED_TRACE(rewrite);
    rows->SetRangeEndCount(2);
    page->Clear();
    AddRowBand(60, {QStringLiteral("[1+1]")});
    QStringList seen;
    report.OnBeforePrint = [&](QStringList& memo, TrpView&) {
      seen << memo.join(u'|');
      if (rewrite) memo = QStringList{QStringLiteral("said [1+1]")};
    };
    ASSERT_TRUE(report.PrepareReport());
    const QString printed = rewrite ? QStringLiteral("said [1+1]") : QStringLiteral("2");
    EXPECT_EQ(AllTexts(), (QStringList{printed, printed}));
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_EQ(seen.count(QStringLiteral("[1+1]")), seen.size());
  }
}

// --- functions and procedures ---

TEST_F(ReportComponentTest, SuppressedRepeatsStartOverWithEachDetailLoopAndEachBuild) {
  rows->SetRangeEndCount(2);
  AddRowBand(20, {QStringLiteral("order")});
  TrpUserDataset* items = AddDataset(QStringLiteral("Items"));
  items->SetRangeEndCount(2);
  auto* detail = static_cast<TrpBandView*>(page->Add(std::make_unique<TrpBandView>()));
  detail->SetBandType(rpBand::DetailData);
  detail->SetGeometry(0, 50, 720, 20);
  detail->FormatPattern = QStringLiteral("Items");
  auto* item = static_cast<TrpMemoView*>(page->Add(std::make_unique<TrpMemoView>()));
  item->SetGeometry(0, 50, 700, 20);
  item->Memo = QStringList{QStringLiteral("same")};
  item->Flags |= rpMemoFlag::Suppress;
  const QStringList once = {"order", "same", "order", "same"};
  ASSERT_TRUE(report.PrepareReport());
  EXPECT_EQ(AllTexts(), once);
  ASSERT_TRUE(report.PrepareReport());
  EXPECT_EQ(AllTexts(), once);
}

TEST_F(ReportComponentTest, ArraysLiveInScriptVariablesByIndex) {
  TrpValue ignored;
  report.CallFunction(QStringLiteral("SETARRAY"), QStringLiteral("Totals"), QStringLiteral("1 + 1"),
                      QStringLiteral("40 + 2"), ignored);
  report.CallFunction(QStringLiteral("SETARRAY"), QStringLiteral("Totals"), QStringLiteral("'k'"),
                      QStringLiteral("'text'"), ignored);
  TrpValue second, keyed, missing;
  report.CallFunction(QStringLiteral("GETARRAY"), QStringLiteral("Totals"), QStringLiteral("2"), QString(), second);
  report.CallFunction(QStringLiteral("GETARRAY"), QStringLiteral("Totals"), QStringLiteral("'k'"), QString(), keyed);
  report.CallFunction(QStringLiteral("GETARRAY"), QStringLiteral("Totals"), QStringLiteral("3"), QString(), missing);
  EXPECT_EQ(second.ToString(), "42");
  EXPECT_EQ(keyed.ToString(), "text");
  EXPECT_EQ(missing.ToString(), "0") << "a function's result starts as \"0\"";
  EXPECT_GE(rpGlobals().Variables().IndexOf(QStringLiteral("Arr_Totals_2")), 0);
}

TEST_F(ReportComponentTest, UnknownFunctionsReachOnUserFunctionWithTheirValues) {
  QStringList calls;
  report.OnUserFunction = [&](const QString& name, const TrpValue& p1, const TrpValue& p2, const TrpValue&,
                              TrpValue& value) {
    calls << name + u':' + p1.ToString() + u',' + p2.ToString();
    value = TrpValue(QStringLiteral("done"));
  };
  TrpValue value;
  report.CallFunction(QStringLiteral("MYFUNC"), QStringLiteral("1 + 2"), QStringLiteral("'b'"), QString(), value);
  EXPECT_EQ(calls, QStringList{QStringLiteral("MYFUNC:3,b")});
  EXPECT_EQ(value.ToString(), "done");
}

TEST_F(ReportComponentTest, StopReportEndsTheBuildAndKeepsItsPages) {
  rows->SetRangeEndCount(40);
  TrpMemoView* memo = AddRowBand(60, {QStringLiteral("row")});
  memo->Script = QStringList{QStringLiteral("if PAGE# = 2 then StopReport")};
  EXPECT_TRUE(report.PrepareReport());
  EXPECT_EQ(report.EMFPages().Count(), 2);
}

// --- preview ---

class FakePreviewWindow : public TrpPreviewWindow {
public:
  explicit FakePreviewWindow(QStringList& log) : log_(log) {}
  void ConnectReport(TrpReport& report) override {
    log_ << QStringLiteral("connect:%1").arg(report.EMFPages().Count());
    shows_ = true;
  }
  void Disconnect() override {
    log_ << QStringLiteral("disconnect");
    shows_ = false;
  }
  bool ShowsPages() const override { return shows_; }
  void ShowWindow(const QString& caption, bool modal, bool mdi) override {
    log_ << QStringLiteral("show:%1:%2:%3").arg(caption).arg(modal).arg(mdi);
  }

private:
  QStringList& log_;
  bool shows_ = false;
};

TEST_F(ReportComponentTest, ShowPreparedReportOpensThePreviewWindowOrConnectsTheAssignedPreview) {
  QStringList log;
  TrpContextScope previews(rpContextWith([&log](TrpContext& c) {
    c.CreatePreviewWindow = [&log]() -> std::unique_ptr<TrpPreviewWindow> {
      return std::make_unique<FakePreviewWindow>(log);
    };
  }));
  AddRowBand(60, {QStringLiteral("row")});
  report.ShowPreparedReport();
  EXPECT_TRUE(log.isEmpty()) << "nothing without prepared pages";

  ASSERT_TRUE(report.PrepareReport());
  report.ShowPreparedReport();
  EXPECT_EQ(log, (QStringList{QStringLiteral("connect:1"), QStringLiteral("show:Preview:1:0")}));
  ASSERT_NE(report.PreviewWindow(), nullptr);

  log.clear();
  report.SetTitle(QStringLiteral("Tasks"));
  report.SetModalPreview(false);
  report.ShowPreparedReport();
  EXPECT_EQ(log, (QStringList{QStringLiteral("connect:1"), QStringLiteral("show:Preview - Tasks:0:0")}));

  log.clear();
  FakePreviewWindow assigned(log);
  report.SetPreview(&assigned);
  report.ShowPreparedReport();
  EXPECT_EQ(log, QStringList{QStringLiteral("connect:1")});
  report.ComponentRemoved(static_cast<TrpPreviewView*>(&assigned));
  EXPECT_EQ(report.Preview(), nullptr);
}

// --- export ---

class RecordingFilter : public TrpReportExportFilter {
public:
  bool OnBeforeExport(const QString&) override { return !veto; }
  void OnBeginDoc(QIODevice& file) override { file.write("begin;"); }
  void OnBeginPage(int index) override { File->write(QByteArray::number(index) + '['); }
  void OnText(const TrpView&, const QString& text, const QRect&, uint16_t) override { File->write(text.toUtf8()); }
  void OnObject(TrpView&) override {}
  void OnEndPage(int) override { File->write("];"); }
  void OnEndDoc() override { File->write("end"); }
  bool veto = false;
};

TEST_F(ReportComponentTest, ExportRunsTheFilterOverEveryPageIntoTheFile) {
  rows->SetRangeEndCount(2);
  AddRowBand(900, {QStringLiteral("row [LINE#]")});
  ASSERT_TRUE(report.PrepareReport());
  TempDir dir;
  const QString file = dir.File(QStringLiteral("export.txt"));
  RecordingFilter filter;
  filter.veto = true;
  EXPECT_FALSE(report.ExportTo(filter, file));
  EXPECT_FALSE(QFile::exists(file));

  filter.veto = false;
  QString after;
  filter.OnAfterExport = [&after](const QString& name) { after = name; };
  ASSERT_TRUE(report.ExportTo(filter, file));
  EXPECT_EQ(ReadAll(file), QByteArray("begin;0[row 1];1[row 2];end"));
  EXPECT_EQ(after, file);
}

// --- the component in its owner's form ---

TEST_F(ReportComponentTest, TheReportFormPropertyHoldsTheFormOnlyWhenStoredInTheForm) {
  AddRowBand(60, {QStringLiteral("row")});
  EXPECT_EQ(report.WriteReportFormProperty(), QByteArray("\x19\0\0\0", 4));

  report.SetStoreInDFM(true);
  const QByteArray property = report.WriteReportFormProperty();
  QBuffer form;
  form.open(QIODevice::WriteOnly);
  report.WriteToStream(form);
  ASSERT_GT(form.size(), 0);
  const qint64 size = form.size();
  EXPECT_EQ(property.left(8), QByteArray("\x19\0\0\0", 4) + QByteArray(reinterpret_cast<const char*>(&size), 4));
  EXPECT_EQ(property.mid(8), form.data());

  TrpReport loaded;
  loaded.SetStoreInDFM(true);
  QBuffer in;
  in.setData(property);
  in.open(QIODevice::ReadOnly);
  ASSERT_TRUE(loaded.ReadReportFormProperty(in));
  EXPECT_EQ(loaded.PageCount(), 0) << "read once the owner has loaded";
  loaded.Loaded();
  ASSERT_EQ(loaded.PageCount(), 1);
  EXPECT_NE(loaded.FindObject(QStringLiteral("Cell")), nullptr);

  QBuffer shortBytes;
  shortBytes.setData(property.left(10));
  shortBytes.open(QIODevice::ReadOnly);
  EXPECT_FALSE(loaded.ReadReportFormProperty(shortBytes));
}

}  // namespace
