// The report form stream: whole forms round-trip, older versions load, and every kind
// of damage gives its message and leaves the report as it was.
#include "ReportFakes.h"
#include "ReportObjectsSupport.h"
#include "ReportTestSupport.h"
#include "report/engine/RP_BandView.h"
#include "report/engine/RP_ChBox.h"
#include "report/engine/RP_LineView.h"
#include "report/engine/RP_PictureView.h"
#include "report/engine/RP_StringTable.h"
#include "report/engine/RP_SubReportView.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

class FormStreamTest : public ReportEngineTest {
protected:
  void SetUp() override {
    ReportEngineTest::SetUp();
    for (TrpReport* r : {&report, &other}) r->Now = [] { return 45000.5; };
  }

  template <class T>
  T* Place(TrpPage* page, const QString& name, int left, int top) {
    auto* view = static_cast<T*>(page->Add(std::make_unique<T>()));
    view->Name = name;
    view->SetGeometry(left, top, 100, 20);
    return view;
  }

  // Two pages, one object of every class, a dictionary and the information block.
  void BuildSample(TrpReport& r) {
    TrpPage* first = r.AddPage();
    first->Name = QStringLiteral("Page1");
    first->MarginLeft = 36;
    first->Script = QStringList{QStringLiteral("begin end")};
    auto* band = Place<TrpBandView>(first, QStringLiteral("Band1"), 0, 0);
    band->SetBandType(rpBand::MasterData);
    band->ChildBand = QStringLiteral("Band2");
    auto* child = Place<TrpBandView>(first, QStringLiteral("Band2"), 0, 30);
    child->SetBandType(rpBand::Child);
    Place<TestTextView>(first, QStringLiteral("Memo1"), 5, 2)->Memo = QStringList{QStringLiteral("[Title]")};
    Place<TrpCheckBoxView>(first, QStringLiteral("Check1"), 120, 2)->CheckStyle = rpCheckStyle::csCheck;
    Place<TrpPictureView>(first, QStringLiteral("Picture1"), 240, 2)
        ->Picture.Assign(rpGraphicKind::Bitmap, QByteArray(40, 'p'));
    Place<TrpLineView>(first, QStringLiteral("Line1"), 0, 25);
    TrpPage* second = r.AddPage();
    second->Name = QStringLiteral("Page2");
    second->PageType = rpPageType::Dialog;
    second->Caption = QStringLiteral("Ask");
    Place<TrpSubReportView>(second, QStringLiteral("SubReport1"), 10, 10)->SubPage = 0;
    Place<TestTextView>(second, QStringLiteral("Memo2"), 10, 40);
    r.Dictionary.Variables.Append(QStringLiteral("Sum"), QStringLiteral("1+2"));
    r.Dictionary.Variables.Append(QStringLiteral(" Totals"), QString());
    r.Dictionary.FieldAliases.Append(QStringLiteral("Orders"), QStringLiteral("Table1"));
    r.Dictionary.BandDataSources.Append(QStringLiteral("Band1"), QStringLiteral("Orders"));
    r.InfoName = QStringLiteral("Sample");
    r.InfoAuthor = QStringLiteral("Tester");
    r.InfoCreateDate = 44000.25;
    r.TwoPass = true;
    r.PrinterName = rpLoadStr(rpStrings::VirtualPrinter);
  }

  TextObjectFactory text;
  FakeWindows windows;
  TrpReport report;
  TrpReport other;
};

TEST_F(FormStreamTest, WholeFormRoundTripsByteForByte) {
  BuildSample(report);
  const QByteArray bytes = WriteReport(report);
  ASSERT_TRUE(ReadReport(other, bytes)) << other.LastError().toStdString();
  EXPECT_EQ(WriteReport(other), bytes);

  ASSERT_EQ(other.PageCount(), 2);
  EXPECT_EQ(other.Page(0)->Objects().size(), 6u);
  EXPECT_EQ(other.Page(1)->PageType, rpPageType::Dialog);
  EXPECT_EQ(other.PrinterName, rpLoadStr(rpStrings::VirtualPrinter));
  EXPECT_EQ(other.InfoAuthor, QStringLiteral("Tester"));
  EXPECT_EQ(other.InfoLastChange, 45000.5);
  EXPECT_EQ(other.Dictionary.Variables.Value(0), QStringLiteral("1+2"));
  auto* check = dynamic_cast<TrpCheckBoxView*>(other.FindObject(QStringLiteral("Check1")));
  ASSERT_NE(check, nullptr);
  EXPECT_EQ(check->CheckStyle, rpCheckStyle::csCheck);
  EXPECT_EQ(other.FindObject(QStringLiteral("memo2"))->Parent(), other.Page(1));
  EXPECT_EQ(other.Page(1)->Report(), &other);
}

TEST_F(FormStreamTest, FormFrameLaysOutPagesObjectsDictionaryAndEnd) {
  TrpPage* page = report.AddPage();
  Place<TrpLineView>(page, QStringLiteral("Line1"), 0, 0);
  const QByteArray bytes = WriteReport(report);
  EXPECT_EQ(static_cast<uint8_t>(bytes[0]), 25);
  // Flags, printer "", the page marker.
  EXPECT_EQ(bytes.mid(1, 8), Bytes().w(1).w(0).s("").b(255).data());

  ReadBuffer buffer(bytes);
  buffer.seek(9);
  TrpPage copy;
  copy.ReadFromStream(buffer, 25);
  EXPECT_EQ(rpReadByte(buffer), rpObjectType::Line);
  EXPECT_EQ(rpReadByte(buffer), 0);  // page index
  const qint64 end = rpReadInt(buffer);
  TrpLineView line;
  line.ReadFromStream(buffer, 25);
  EXPECT_EQ(buffer.pos(), end);
  EXPECT_EQ(rpReadByte(buffer), 254);
  EXPECT_EQ(buffer.read(14), Bytes().w(0xFFFE).i(0).i(0).i(0).data());
  EXPECT_EQ(rpReadByte(buffer), 252);
}

TEST_F(FormStreamTest, CutFormsFailAndLeaveTheReportAsItWas) {
  BuildSample(report);
  const QByteArray bytes = WriteReport(report);
  TrpReport small;
  small.Now = report.Now;
  Place<TrpLineView>(small.AddPage(), QStringLiteral("Line1"), 0, 0);
  small.Dictionary.Variables.Append(QStringLiteral("V"), QStringLiteral("1"));
  const QByteArray smallBytes = WriteReport(small);

  BuildSample(other);
  const QByteArray before = WriteReport(other);
  for (const QByteArray* form : {&smallBytes, &bytes}) {
    for (qsizetype cut = 1; cut < form->size(); ++cut) {
      EXPECT_FALSE(ReadReport(other, form->left(cut))) << cut;
      ASSERT_EQ(WriteReport(other), before) << cut;
    }
  }
  EXPECT_EQ(other.LastError(), rpLoadStr(rpStrings::UnsupportedFormat));
  EXPECT_TRUE(windows.log.last().startsWith(QStringLiteral("message:Unsupported RPF format|Error|16")));
}

// Offsets patched into a copy of a one-object form.
class DamagedFormTest : public FormStreamTest {
protected:
  void SetUp() override {
    FormStreamTest::SetUp();
    TrpPage* page = report.AddPage();
    Place<TrpLineView>(page, QStringLiteral("Line1"), 0, 0);
    Place<TrpLineView>(page, QStringLiteral("Line2"), 0, 50);
    form = WriteReport(report);
    // The first object frame follows the page record.
    ReadBuffer buffer(form);
    buffer.seek(9);
    TrpPage copy;
    copy.ReadFromStream(buffer, 25);
    frame = buffer.pos();
    Place<TrpLineView>(other.AddPage(), QStringLiteral("Kept"), 1, 1);
    before = WriteReport(other);
  }
  void PatchInt(qsizetype at, int32_t value) {
    char x[4];
    qToLittleEndian(value, x);
    form.replace(at, 4, QByteArray(x, 4));
  }
  void ExpectRefused(const QString& message) {
    EXPECT_FALSE(ReadReport(other, form));
    EXPECT_EQ(other.LastError(), message);
    EXPECT_EQ(WriteReport(other), before);
  }

  QByteArray form, before;
  qsizetype frame = 0;
};

TEST_F(DamagedFormTest, OffsetsBackwardOrPastTheEndAreRefused) {
  const QString unsupported = rpLoadStr(rpStrings::UnsupportedFormat);
  for (int32_t offset : {0, static_cast<int32_t>(frame), static_cast<int32_t>(frame + 2), -5,
                         static_cast<int32_t>(form.size() + 1), INT32_MAX}) {
    SCOPED_TRACE(offset);
    const QByteArray good = form;
    PatchInt(frame + 2, offset);
    ExpectRefused(unsupported);
    form = good;
  }
}

TEST_F(DamagedFormTest, TypeBytesWithoutObjectsAndBadPageIndexesAreRefused) {
  for (int type : {5, 6, 7, 8, 9, 11, 200}) {
    const QByteArray good = form;
    form[frame] = static_cast<char>(type);
    ExpectRefused(rpLoadStr(rpStrings::UnsupportedFormat));
    form = good;
  }
  form[frame + 1] = 1;  // there is one page only
  ExpectRefused(rpLoadStr(rpStrings::UnsupportedFormat));
}

TEST_F(DamagedFormTest, DamagedRecordIsSkippedByItsEndOffset) {
  // The first line's record names a bad frame-width... rather: cut its name's terminator.
  const qsizetype nameEnd = frame + 6 + 2 + 5;  // type, page, offset, length, "Line1"
  ASSERT_EQ(form[nameEnd], '\0');
  form[nameEnd] = 'x';
  ASSERT_TRUE(ReadReport(other, form)) << other.LastError().toStdString();
  ASSERT_EQ(other.Page(0)->Objects().size(), 1u);
  EXPECT_EQ(other.Page(0)->Objects()[0]->Name, QStringLiteral("Line2"));
}

TEST_F(DamagedFormTest, UnknownClassesAreNamedInTheMessage) {
  // An add-in the engine does not have, in a frame of its own.
  Bytes unknown;
  unknown.b(10).s("TrpChartView").b(0);
  const qsizetype offsetAt = frame + unknown.size();
  unknown.i(0).raw(QByteArray(12, '\x07'));
  form.insert(frame, unknown.data());
  PatchInt(offsetAt, static_cast<int32_t>(frame + unknown.size()));
  // The frames behind it moved: their end offsets too.
  ReadBuffer buffer(form);
  for (qsizetype at = frame + unknown.size(); at < form.size() && static_cast<uint8_t>(form[at]) == rpObjectType::Line;) {
    buffer.seek(at + 2);
    const int32_t end = rpReadInt(buffer) + static_cast<int32_t>(unknown.size());
    PatchInt(at + 2, end);
    at = end;
  }
  ExpectRefused(rpLoadStr(rpStrings::NonPlugged) + QStringLiteral("\nTrpChartView\n") +
                rpLoadStr(rpStrings::IncludeComponents));
  EXPECT_TRUE(windows.log.last().contains(QStringLiteral("TrpChartView")));
}

TEST_F(FormStreamTest, NewerVersionsAndExtensionsAreRefused) {
  Place<TrpLineView>(other.AddPage(), QStringLiteral("Kept"), 1, 1);
  const QByteArray before = WriteReport(other);
  EXPECT_FALSE(ReadReport(other, Bytes().b(26).w(0).w(0).s("").b(252).data()));
  EXPECT_FALSE(ReadReport(other, Bytes().b(25).w(0).w(0).s("").b(253).b(0).data()));
  EXPECT_EQ(WriteReport(other), before);
}

TEST_F(FormStreamTest, EmptyStreamOnlyClearsTheDictionary) {
  BuildSample(other);
  EXPECT_TRUE(ReadReport(other, {}));
  EXPECT_EQ(other.PageCount(), 2);
  EXPECT_EQ(other.Dictionary.Variables.Count(), 0);
}

// A page record of version 21: no marker -1 (so no script), six skipped bytes, no bin,
// no page type or name.
Bytes& OldPage(Bytes& b) {
  b.b(255).i(9).i(2100).i(2970).i(10).i(20).i(30).i(40).b(1).raw(QByteArray(6, '\x05'));
  b.w(0).w(0xFFFF).i(1).i(0);
  return b.b(0).raw(QByteArray("Form\0", 5)).i(0).i(1).i(2).i(3).i(4).b(1);
}

TEST_F(FormStreamTest, FormWithoutVersionByteReadsWithTheOldestRules) {
  Bytes old;
  old.w(0).w(0).raw(QByteArray("Printer\0", 8));  // first byte 0: no version byte
  OldPage(old);
  OldPage(old);
  // A line on the second page: no name, no end offset, zero-terminated texts.
  old.b(rpObjectType::Line).b(1);
  old.i(5).i(6).i(7).i(8).w(1).w(4).i(1).i(0).w(0).i(kRpWhite).i(0).raw(QByteArray("\0", 1)).raw(QByteArray("a\0", 2));
  old.b(252);
  ASSERT_TRUE(ReadReport(other, old.data())) << other.LastError().toStdString();
  ASSERT_EQ(other.PageCount(), 2);
  EXPECT_EQ(other.Page(0)->Name, QStringLiteral("Page1"));
  EXPECT_EQ(other.Page(1)->Name, QStringLiteral("Page2"));
  EXPECT_EQ(other.Page(0)->Bin, -1);
  EXPECT_EQ(other.Page(0)->MarginBottom, 40);
  EXPECT_TRUE(other.Page(0)->Script.isEmpty());
  EXPECT_EQ(other.PrinterName, QStringLiteral("Printer"));
  ASSERT_EQ(other.Page(1)->Objects().size(), 1u);
  const TrpView& line = *other.Page(1)->Objects()[0];
  EXPECT_EQ(line.Name, QStringLiteral("Line1"));
  EXPECT_EQ(line.Memo, QStringList{QStringLiteral("a")});
  EXPECT_EQ(other.InfoName, QString());
}

TEST_F(FormStreamTest, UnknownClassInAnOldFormStopsWithItsName) {
  Bytes old;
  old.w(0).w(0).raw(QByteArray("\0", 1));
  OldPage(old);
  old.b(rpObjectType::AddIn).raw(QByteArray("TrpChartView\0", 13)).b(0).raw(QByteArray(40, '\x01'));
  EXPECT_FALSE(ReadReport(other, old.data()));
  EXPECT_EQ(other.LastError(), rpLoadStr(rpStrings::NonPlugged) + QStringLiteral("\nTrpChartView\n") +
                                   rpLoadStr(rpStrings::IncludeComponents));
  EXPECT_EQ(other.PageCount(), 0);
}

TEST_F(FormStreamTest, RenamedClassesAreReadAsTheirSuccessors) {
  // A framed memo is a memo followed by 8 more bytes.
  TestTextView memo;
  memo.Name = QStringLiteral("Framed1");
  Bytes form;
  form.b(25).w(0).w(0).s("").b(255);
  QBuffer pageBytes;
  pageBytes.open(QIODevice::WriteOnly);
  TrpPage().WriteToStream(pageBytes);
  form.raw(pageBytes.data());
  const QByteArray record = WriteView(memo);
  form.b(10).s("TrpFramedMemoView").b(0);
  form.i(form.size() + 4 + record.size() + 8);
  form.raw(record).raw(QByteArray(8, '\x01')).b(254).w(0xFFFE).i(0).i(0).i(0).b(252);
  for (int i = 0; i < 8; ++i) form.w(0);
  form.b(88).b(0).raw(QByteArray(16, '\0'));
  ASSERT_TRUE(ReadReport(other, form.data())) << other.LastError().toStdString();
  ASSERT_NE(other.FindObject(QStringLiteral("Framed1")), nullptr);
  EXPECT_EQ(other.FindObject(QStringLiteral("Framed1"))->Typ, rpObjectType::Memo);
}

TEST_F(FormStreamTest, ProtectedFormFromAFileAsksForItsPassword) {
  BuildSample(report);
  report.ReportProtected = true;
  report.ReportPassword = QStringLiteral("s3cret");
  const QByteArray bytes = WriteReport(report);
  EXPECT_TRUE(bytes.contains("733363726574"));  // the password in hexadecimal
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("form.rpf"));
  {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  struct Case {
    std::optional<QString> answer;
    bool kept;
  };
  for (const Case& c : {Case{QStringLiteral("s3cret"), true}, Case{QStringLiteral("S3CRET"), false},
                        Case{std::nullopt, false}}) {
    TrpReport target;
    target.FileName = path;
    int asked = 0;
    target.OnAskPassword = [&] {
      ++asked;
      return c.answer;
    };
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(target.ReadFromStream(file));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(target.PageCount(), c.kept ? 2 : 1);
    EXPECT_EQ(target.FileName, c.kept ? path : rpLoadStr(rpStrings::Untitled));
    EXPECT_EQ(target.InfoName, c.kept ? QStringLiteral("Sample") : QString());
  }
  // From memory (an undo copy of a build) nothing is asked.
  TrpReport memory;
  memory.OnAskPassword = [] { return std::optional<QString>(); };
  EXPECT_TRUE(ReadReport(memory, bytes));
  EXPECT_EQ(memory.PageCount(), 2);
}

}  // namespace
