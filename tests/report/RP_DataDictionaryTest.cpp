// The data dictionary: its stream layouts (current, older tag, legacy) and its lookups
// of variables and fields.
#include "ReportFakes.h"
#include "ReportObjectsSupport.h"
#include "ReportTestSupport.h"
#include "report/engine/RP_DataDictionary.h"
#include "report/engine/RP_Errors.h"

namespace {

class DataDictionaryTest : public ReportEngineTest {
protected:
  void SetUp() override {
    ReportEngineTest::SetUp();
    rpGlobals().SetCurrentReport(&host);
    table = new MemoryTable(&host.owner);
    table->setObjectName(QStringLiteral("Table1"));
    table->AddField(QStringLiteral("Name"), TrpFieldType::String);
    table->AddField(QStringLiteral("Qty"), TrpFieldType::Integer);
    table->AddRow({{QStringLiteral("Name"), TrpValue(QStringLiteral("Ann"))}, {QStringLiteral("Qty"), TrpValue(3)}});
    // Names the parser meets are dictionary variables when the dictionary has them.
    rpGlobals().Parser().OnGetValue = [this](const QString& name, TrpValue& value) {
      if (dictionary.IsVariable(name)) {
        value = dictionary.GetValue(name);
      } else {
        rpGlobals().DefaultGetValue(name, value);
      }
    };
  }
  void TearDown() override {
    rpGlobals().SetCurrentReport(nullptr);
    ReportEngineTest::TearDown();
  }

  void Read(const QByteArray& bytes, int version = 25) {
    ReadBuffer buffer(bytes);
    dictionary.ReadFromStream(buffer, version);
    EXPECT_TRUE(buffer.atEnd());
  }

  FakeHost host;
  MemoryTable* table = nullptr;
  TrpDataDictionary dictionary;
};

TEST_F(DataDictionaryTest, CurrentLayoutRoundTrips) {
  dictionary.Variables.Append(QStringLiteral("Total"), QStringLiteral("Table1.Qty * 2"));
  dictionary.Variables.Append(QStringLiteral(" Group"), QString());
  dictionary.FieldAliases.Append(QStringLiteral("Orders"), QStringLiteral("Table1"));
  dictionary.BandDataSources.Append(QStringLiteral("MasterData1"), QStringLiteral("Orders"));
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  dictionary.WriteToStream(buffer);
  const QByteArray bytes = buffer.data();
  EXPECT_EQ(bytes.left(6), Bytes().w(0xFFFE).i(2).data());

  TrpDataDictionary copy = dictionary;
  dictionary.Clear();
  Read(bytes);
  EXPECT_TRUE(dictionary.Variables == copy.Variables);
  EXPECT_TRUE(dictionary.FieldAliases == copy.FieldAliases);
  EXPECT_TRUE(dictionary.BandDataSources == copy.BandDataSources);
}

TEST_F(DataDictionaryTest, OlderTagSwapsTheBlankAndDropsEmptyEntries) {
  Bytes older;
  older.w(0xFFFF);
  older.i(2).s("Group").s("").s(" Total").s("1");  // categories without, variables with the blank
  older.i(2).s("Table1.Name").s("").s("Nowhere.Field").s("");
  older.i(2).s("Band1").s("").s("Band2").s("Table1");
  Read(older.data());
  ASSERT_EQ(dictionary.Variables.Count(), 2);
  EXPECT_EQ(dictionary.Variables.Name(0), QStringLiteral(" Group"));
  EXPECT_EQ(dictionary.Variables.Name(1), QStringLiteral("Total"));
  ASSERT_EQ(dictionary.FieldAliases.Count(), 1);  // the one that resolves stays
  EXPECT_EQ(dictionary.FieldAliases.Name(0), QStringLiteral("Table1.Name"));
  ASSERT_EQ(dictionary.BandDataSources.Count(), 1);
  EXPECT_EQ(dictionary.BandDataSources.Name(0), QStringLiteral("Band2"));
}

TEST_F(DataDictionaryTest, LegacyLayoutMapsFieldEntries) {
  Bytes legacy;
  legacy.i(3);
  auto entry = [&legacy](int kind, int value, const char* dataSet, const char* field, const char* alias) {
    legacy.b(kind).i(value);
    for (const char* text : {dataSet, field, alias}) legacy.b(static_cast<int>(qstrlen(text))).raw(QByteArray(text));
  };
  entry(1, 0, "Table1", "Name", "Customer");
  entry(2, 1, "", "PAGE#", "PageNo");
  entry(3, 0, "", "", "Nothing");
  legacy.list({"People", " Customer", " PageNo", " Nothing"});
  Read(legacy.data());
  ASSERT_EQ(dictionary.Variables.Count(), 4);
  EXPECT_EQ(dictionary.Variables.Name(0), QStringLiteral(" People"));
  EXPECT_EQ(dictionary.Variables.Name(1), QStringLiteral("Customer"));
  EXPECT_EQ(dictionary.Variables.Value(1), QStringLiteral("Table1.\"Name\""));
  EXPECT_EQ(dictionary.Variables.Value(2), QStringLiteral("PAGE#"));
  EXPECT_EQ(dictionary.Variables.Value(3), QString());
}

TEST_F(DataDictionaryTest, DamagedCountsAreRefused) {
  for (const QByteArray& bytes : {Bytes().w(0xFFFE).i(1000000).data(), Bytes().w(0xFFFE).i(-1).data(),
                                  Bytes().i(50000000).data(), Bytes().w(0xFFFE).i(1).s("a").data()}) {
    ReadBuffer buffer(bytes);
    EXPECT_THROW(dictionary.ReadFromStream(buffer, 25), ErpLoadError) << bytes.toHex().toStdString();
  }
}

TEST_F(DataDictionaryTest, VariablesAndFieldsResolveAndAreCached) {
  dictionary.Variables.Append(QStringLiteral(" Group"), QString());
  dictionary.Variables.Append(QStringLiteral("Client"), QStringLiteral("Table1.Name"));
  dictionary.Variables.Append(QStringLiteral("Double"), QStringLiteral("Table1.Qty * 2"));
  dictionary.FieldAliases.Append(QStringLiteral("Orders"), QStringLiteral("Table1"));

  EXPECT_TRUE(dictionary.IsVariable(QStringLiteral("client")));
  EXPECT_EQ(dictionary.GetValue(QStringLiteral("Client")).ToString(), QStringLiteral("Ann"));
  EXPECT_EQ(table->opened, 1);  // the cached field opened its closed data set
  EXPECT_EQ(dictionary.GetValue(QStringLiteral("Double")).ToInteger(), 6);
  EXPECT_FALSE(dictionary.IsVariable(QStringLiteral("Group")));  // a category
  EXPECT_TRUE(dictionary.IsVariable(QStringLiteral("Orders.Qty")));  // through the alias
  EXPECT_EQ(dictionary.GetValue(QStringLiteral("Orders.Qty")).ToInteger(), 3);
  EXPECT_FALSE(dictionary.IsVariable(QStringLiteral("Orders.Missing")));

  // An engine variable of the same name wins over the stored text.
  rpGlobals().Variables().SetVariable(QStringLiteral("Double"), 99);
  EXPECT_EQ(dictionary.GetValue(QStringLiteral("Double")).ToInteger(), 99);
}

TEST_F(DataDictionaryTest, VariablesNamingEachOtherEndWithUndefinedSymbol) {
  dictionary.Variables.Append(QStringLiteral("A"), QStringLiteral("B"));
  dictionary.Variables.Append(QStringLiteral("B"), QStringLiteral("A + 1"));
  try {
    dictionary.GetValue(QStringLiteral("A"));
    FAIL();
  } catch (const EParserError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Undefined symbol"));
  }
  dictionary.Variables.Append(QStringLiteral("C"), QStringLiteral("2"));
  dictionary.Variables.Append(QStringLiteral("D"), QStringLiteral("C + C"));
  EXPECT_EQ(dictionary.GetValue(QStringLiteral("D")).ToInteger(), 4);  // a name used twice is no cycle
}

TEST_F(DataDictionaryTest, FieldNamesSplitAtTheLastDotOutsideQuotes) {
  struct Case {
    const char* text;
    const char* dataSet;
    const char* field;
  };
  for (const Case& c : {Case{"Table1.Name", "Table1", "Name"}, Case{"Form1.Table1.Name", "Form1.Table1", "Name"},
                        Case{"Table1.\"Unit.Price\"", "Table1", "\"Unit.Price\""}, Case{"Name", "", "Name"}}) {
    QString dataSet, field;
    TrpDataDictionary::SplitFieldName(QString::fromLatin1(c.text), dataSet, field);
    EXPECT_EQ(dataSet, QString::fromLatin1(c.dataSet)) << c.text;
    EXPECT_EQ(field, QString::fromLatin1(c.field)) << c.text;
  }
}

}  // namespace
