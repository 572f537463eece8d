// Stream helpers with their old layouts and damaged input, the small encodings, and the
// lookup of components, data sets and fields.
#include "ReportFakes.h"
#include "ReportTestSupport.h"
#include "report/engine/RP_Errors.h"
#include "report/engine/RP_Utils.h"

#include <QBuffer>

namespace {

QByteArray RawBytes(std::initializer_list<int> values) {
  QByteArray bytes;
  for (int v : values) bytes += static_cast<char>(v);
  return bytes;
}

template <class Write>
QByteArray Written(Write write) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  write(buffer);
  return buffer.data();
}

class StreamTest : public ReportEngineTest {
protected:
  QBuffer& Over(const QByteArray& bytes) {
    data_ = bytes;
    buffer_.close();
    buffer_.setBuffer(&data_);
    buffer_.open(QIODevice::ReadOnly);
    return buffer_;
  }

private:
  QByteArray data_;
  QBuffer buffer_;
};

TEST_F(StreamTest, StringsAndListsHaveTheirByteLayouts) {
  EXPECT_EQ(Written([](QIODevice& s) { rpWriteString(s, QString()); }), RawBytes({0, 0, 0}));
  EXPECT_EQ(Written([](QIODevice& s) { rpWriteString(s, QStringLiteral("ab")); }), RawBytes({2, 0, 'a', 'b', 0}));
  EXPECT_EQ(Written([](QIODevice& s) { rpWriteMemo(s, {QStringLiteral("a"), QStringLiteral("bc")}); }),
            RawBytes({2, 0, 1, 0, 'a', 13, 2, 0, 'b', 'c', 0}));
  EXPECT_EQ(Written([](QIODevice& s) { rpWriteMemo(s, {}); }), RawBytes({0, 0, 0}));
  EXPECT_EQ(Written([](QIODevice& s) {
              rpWriteWord(s, 0x1234);
              rpWriteInt(s, -2);
            }),
            RawBytes({0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF}));
}

TEST_F(StreamTest, WhatIsWrittenReadsBack) {
  const QString text = QStringLiteral("Größe ✓");
  const QStringList lines{QStringLiteral("one"), QString(), QStringLiteral("drei ü")};
  const QByteArray bytes = Written([&](QIODevice& s) {
    rpWriteString(s, text);
    rpWriteMemo(s, lines);
    rpWriteMemo(s, {});
    rpWriteInt(s, 123456);
  });
  QIODevice& in = Over(bytes);
  EXPECT_EQ(rpReadString(in), text);
  EXPECT_EQ(rpReadMemo(in), lines);
  EXPECT_EQ(rpReadMemo(in), QStringList());
  EXPECT_EQ(rpReadInt(in), 123456);
  EXPECT_TRUE(in.atEnd());
}

TEST_F(StreamTest, OlderLayoutsAndOlderTextRead) {
  EXPECT_EQ(rpReadOldString(Over(QByteArray("abc\0x", 5))), QStringLiteral("abc"));
  EXPECT_EQ(rpReadOldMemo(Over(QByteArray("a\rbc\0", 5))), (QStringList{QStringLiteral("a"), QStringLiteral("bc")}));
  EXPECT_EQ(rpReadOldMemo(Over(QByteArray("\0", 1))), QStringList());
  EXPECT_EQ(rpReadStringOfVersion(Over(QByteArray("ab\0", 3)), 22), QStringLiteral("ab"));
  EXPECT_EQ(rpReadStringOfVersion(Over(RawBytes({2, 0, 'a', 'b', 0})), 23), QStringLiteral("ab"));
  EXPECT_EQ(rpReadMemoOfVersion(Over(QByteArray("x\ry\0", 4)), 21), (QStringList{QStringLiteral("x"), QStringLiteral("y")}));
  // Bytes that are not UTF-8 are read as Windows-1252.
  EXPECT_EQ(rpReadString(Over(RawBytes({3, 0, 'c', 0xE9, 0x80, 0}))), QStringLiteral("cé€"));
  // A list whose end byte comes before its count is used up ends there.
  EXPECT_EQ(rpReadMemo(Over(RawBytes({3, 0, 1, 0, 'a', 0}))), QStringList{QStringLiteral("a")});
}

TEST_F(StreamTest, CutOrDamagedStreamsRaiseTheLoadError) {
  const QByteArray damagedStrings[] = {
      RawBytes({5, 0, 'a', 'b'}),          // shorter than its length
      RawBytes({1, 0, 'a'}),               // no end byte
      RawBytes({1, 0, 'a', 7}),            // end byte not 0
      RawBytes({2}),                       // length cut
      RawBytes({0xFF, 0xFF, 0xFF, 0xFF}),  // a length far beyond the stream
  };
  for (const QByteArray& bytes : damagedStrings) {
    EXPECT_THROW(rpReadString(Over(bytes)), ErpLoadError) << bytes.toHex().toStdString();
  }
  const QByteArray damagedLists[] = {
      RawBytes({2, 0, 1, 0, 'a', 13}),     // cut after a line
      RawBytes({1, 0, 1, 0, 'a', 13, 9}),  // more lines than counted
      RawBytes({0, 0, 5}),                 // empty list without its end byte
      RawBytes({1, 0, 9, 0, 'a'}),         // line shorter than its length
      RawBytes({0xFF, 0xFF, 0xFF, 0xFF}),
  };
  for (const QByteArray& bytes : damagedLists) {
    EXPECT_THROW(rpReadMemo(Over(bytes)), ErpLoadError) << bytes.toHex().toStdString();
  }
  EXPECT_THROW(rpReadOldString(Over("no end")), ErpLoadError);
  EXPECT_THROW(rpReadOldMemo(Over("a\rb")), ErpLoadError);
  EXPECT_THROW(rpReadInt(Over(RawBytes({1, 2, 3}))), ErpLoadError);
}

TEST_F(StreamTest, TextsTooLongForTheLayoutAreRefusedNotCut) {
  QBuffer out;
  out.open(QIODevice::WriteOnly);
  EXPECT_THROW(rpWriteString(out, QString(70000, u'x')), EWriteError);
  EXPECT_THROW(rpWriteMemo(out, QStringList(70000, QStringLiteral("x"))), EWriteError);
}

TEST_F(StreamTest, PasswordHexAndFormatWord) {
  EXPECT_EQ(rpPasswordToHex(QStringLiteral("ab1")), QStringLiteral("616231"));
  EXPECT_EQ(rpPasswordToHex(QString()), QString());
  EXPECT_EQ(rpHexToPassword(QStringLiteral("6162")), QStringLiteral("ab"));
  EXPECT_EQ(rpHexToPassword(QStringLiteral("6a6B")), QStringLiteral("jk"));
  EXPECT_EQ(rpHexToPassword(rpPasswordToHex(QStringLiteral("pässwört"))), QStringLiteral("pässwört"));
  EXPECT_THROW(rpHexToPassword(QStringLiteral("6G")), ErpLoadError);
  EXPECT_THROW(rpHexToPassword(QStringLiteral("616")), ErpLoadError);

  const uint32_t word = rpMakeFormat({rpFormatCategory::Number, 3, 4, u','});
  EXPECT_EQ(word, 0x0103042Cu);
  const TrpDisplayFormat back = rpSplitFormat(word);
  EXPECT_EQ(back.category, rpFormatCategory::Number);
  EXPECT_EQ(back.kind, 3);
  EXPECT_EQ(back.decimals, 4);
  EXPECT_EQ(back.separator, u',');
  EXPECT_EQ(rpDefaultFormat(), 0x0000022Eu);  // text, two decimals, "."
}

TEST_F(StreamTest, SmallTextHelpers) {
  EXPECT_DOUBLE_EQ(rpStrToFloat(QStringLiteral(" 1,5 ")), 1.5);
  EXPECT_DOUBLE_EQ(rpStrToFloat(QStringLiteral("1.5")), 1.5);
  TrpFormatSettings german = PinnedFormatSettings();
  german.DecimalSeparator = u',';
  const TrpContextScope germanScope(rpContextWith([&](TrpContext& c) { c.Formats = german; }));
  EXPECT_DOUBLE_EQ(rpStrToFloat(QStringLiteral(" 1.5 ")), 1.5);
  EXPECT_THROW(rpStrToFloat(QStringLiteral("1,5x")), EConvertError);
  EXPECT_EQ(rpSplitText(QStringLiteral("psSolid;psDash;")), (QStringList{QStringLiteral("psSolid"), QStringLiteral("psDash")}));
  EXPECT_EQ(rpUnquote(QStringLiteral("\"Order no\"")), QStringLiteral("Order no"));
  EXPECT_EQ(rpUnquote(QStringLiteral("\"\"")), QStringLiteral("\"\""));
  EXPECT_EQ(rpCreateRotatedFont(QFont(QStringLiteral("Arial"), 10)).escapement, 900);
}

class LookupTest : public ReportEngineTest {
protected:
  void SetUp() override {
    ReportEngineTest::SetUp();
    rpGlobals().SetCurrentReport(&host);
    form.setObjectName(QStringLiteral("Form1"));
    rpRegisterTopLevelComponent(&form);
    auto* frame = new QObject(&form);
    frame->setObjectName(QStringLiteral("Frame1"));
    inFrame = new MemoryTable(frame);
    inFrame->setObjectName(QStringLiteral("Table3"));
    inForm = new MemoryTable(&form);
    inForm->setObjectName(QStringLiteral("Table2"));
    local = new MemoryTable(&host.owner);
    local->setObjectName(QStringLiteral("Table1"));
    for (MemoryTable* table : {inFrame, inForm, local}) {
      table->AddField(QStringLiteral("Name"), TrpFieldType::String);
      table->AddField(QStringLiteral("Order no"), TrpFieldType::Integer);
    }
  }
  void TearDown() override {
    rpUnregisterTopLevelComponent(&form);
    rpGlobals().SetCurrentReport(nullptr);
    ReportEngineTest::TearDown();
  }

  FakeHost host;
  QObject form;
  MemoryTable* inFrame = nullptr;
  MemoryTable* inForm = nullptr;
  MemoryTable* local = nullptr;
};

TEST_F(LookupTest, ComponentsByPlainAndDottedNames) {
  EXPECT_EQ(rpFindComponent(&host.owner, QStringLiteral("table1")), local);
  EXPECT_EQ(rpFindComponent(nullptr, QStringLiteral("Form1.Table2")), inForm);
  EXPECT_EQ(rpFindComponent(nullptr, QStringLiteral("FORM1.frame1.Table3")), inFrame);
  try {
    rpFindComponent(&host.owner, QStringLiteral("Nope"));
    FAIL();
  } catch (const EClassNotFound& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Missing Nope"));
  }
  EXPECT_THROW(rpFindComponent(nullptr, QStringLiteral("Form2.Table2")), EClassNotFound);
}

TEST_F(LookupTest, DataSetAndFieldByName) {
  TrpDBDataSet master(&host.owner);
  master.SetDataSet(local);
  host.dataSets[rpBand::MasterData] = &master;
  host.bandType = rpBand::GroupFooter;

  const struct {
    const char* text;
    MemoryTable* dataSet;
    const char* field;
  } cases[] = {
      {"Name", local, "Name"},
      {"Table1.Name", local, "Name"},
      {"Table1.\"Order no\"", local, "Order no"},
      {"Form1.Table2.Name", inForm, "Name"},
      {"Form1.Frame1.Table3.Name", inFrame, "Name"},
      {"Table1.Missing", local, ""},
      {"Nowhere.Name", nullptr, ""},
  };
  for (const auto& c : cases) {
    const TrpDataSetAndField found = rpGetDataSetAndField(QString::fromUtf8(c.text));
    EXPECT_EQ(found.dataSet, c.dataSet) << c.text;
    EXPECT_EQ(found.fieldName, QString::fromUtf8(c.field)) << c.text;
  }
  host.bandType = rpBand::DetailData;  // no detail data set: the report's default, none here
  EXPECT_EQ(rpCurrentDataSet(), nullptr);
  host.defaultDataSet = &master;
  EXPECT_EQ(rpCurrentDataSet(), local);
}

TEST_F(LookupTest, FieldValuesOpenTheirDataSetAndReplaceNull) {
  local->AddField(QStringLiteral("Done"), TrpFieldType::Boolean);
  local->AddRow({{QStringLiteral("Order no"), TrpValue(7)}});
  EXPECT_TRUE(rpGetFieldValue(*local->FindField(QStringLiteral("Name"))).SameAs(TrpValue(QString())));
  EXPECT_TRUE(local->Active());
  EXPECT_TRUE(rpGetFieldValue(*local->FindField(QStringLiteral("Done"))).SameAs(TrpValue(false)));
  EXPECT_TRUE(rpGetFieldValue(*local->FindField(QStringLiteral("Order no"))).SameAs(TrpValue(7)));
  auto* field = static_cast<MemoryField*>(local->FindField(QStringLiteral("Order no")));
  field->textHandler = true;
  EXPECT_TRUE(rpGetFieldValue(*field).SameAs(TrpValue(QStringLiteral("<7>"))));
  EXPECT_FALSE(rpIsBlob(*field));
}

TEST_F(LookupTest, UserDataSetByNumberStopsAtItsCount) {
  TrpFoundDataSet found = rpGetDataSet(&host.owner, QStringLiteral("3"));
  ASSERT_NE(found.owned, nullptr);
  TrpDataset& data = *found.dataSet;
  EXPECT_EQ(data.RangeEnd(), reCount);
  int nexts = 0;
  data.OnNext = [&nexts] { ++nexts; };
  int records = 0;
  for (data.First(); !data.Eof() && records < 10; data.Next()) ++records;
  EXPECT_EQ(records, 3);
  EXPECT_EQ(nexts, 2);  // the step onto the end is no record
}

TEST_F(LookupTest, NamedDataSetsMustBeDataSets) {
  auto* user = new TrpUserDataset(&host.owner);
  user->setObjectName(QStringLiteral("Tasks"));
  bool ended = false;
  user->OnCheckEOF = [&ended](bool& eof) { eof = ended; };
  TrpFoundDataSet found = rpGetDataSet(&host.owner, QStringLiteral("tasks"));
  EXPECT_EQ(found.dataSet, user);
  EXPECT_EQ(found.owned, nullptr);
  EXPECT_FALSE(user->Eof());
  ended = true;
  EXPECT_TRUE(user->Eof());
  EXPECT_THROW(rpGetDataSet(&host.owner, QStringLiteral("Table1")), EClassNotFound);
  EXPECT_THROW(rpGetDataSet(&host.owner, QStringLiteral("Missing")), EClassNotFound);
}

TEST_F(LookupTest, DatabaseDataSetWalksItsTable) {
  for (int i = 0; i < 4; ++i) local->AddRow({{QStringLiteral("Name"), TrpValue(QString::number(i))}});
  TrpDBDataSet data;
  data.setObjectName(QStringLiteral("Orders"));
  EXPECT_THROW(data.Init(), ErpError);
  try {
    data.Init();
  } catch (const ErpError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Unable to open dataset Orders"));
  }
  TrpDataSource source;
  source.SetDataSet(local);
  data.SetDataSet(inForm);
  data.SetDataSource(&source);
  EXPECT_EQ(data.DataSet(), nullptr);
  EXPECT_EQ(data.TableDataSet(), local);

  data.Init();
  EXPECT_TRUE(local->Active());
  QStringList names;
  for (data.First(); !data.Eof(); data.Next()) names << local->FindField(QStringLiteral("Name"))->Value().ToString();
  EXPECT_EQ(names, (QStringList{"0", "1", "2", "3"}));

  // From the current record to itself: one record, and back there afterwards.
  local->row = 2;
  data.SetRangeBegin(rbCurrent);
  data.SetRangeEnd(reCurrent);
  data.SetCloseDataSource(true);
  data.Init();
  names.clear();
  for (data.First(); !data.Eof(); data.Next()) names << local->FindField(QStringLiteral("Name"))->Value().ToString();
  EXPECT_EQ(names, QStringList{"2"});
  local->row = 0;
  data.Exit();
  EXPECT_EQ(local->row, 2);
  EXPECT_FALSE(local->Active());

  delete local;
  local = nullptr;
  EXPECT_EQ(source.DataSet(), nullptr);  // the link is cleared with the table
}

}  // namespace
