// Views whose text is one bracketed data field take their value from that field when
// their band prints: plain fields through the expression, blob fields through the
// view's own reading (a memo's text, a picture's graphic).
#include "ReportComponentFixture.h"
#include "report/engine/RP_DBSet.h"
#include "report/engine/RP_MemoLayout.h"
#include "report/engine/RP_PictureView.h"

#include <QBuffer>
#include <QImage>

namespace {

// A graphic field: a bitmap of the row's size, or null.
class PhotoField : public MemoryField {
public:
  PhotoField(MemoryTable& table, std::vector<QSize> sizes)
      : MemoryField(table, QStringLiteral("Photo"), TrpFieldType::Graphic), table_(table), sizes_(std::move(sizes)) {}
  bool IsNull() const override { return Size().isEmpty(); }
  QByteArray BlobData() const override {
    if (IsNull()) return {};
    QImage image(Size(), QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
  }

private:
  QSize Size() const { return table_.Eof() ? QSize() : sizes_.at(static_cast<size_t>(table_.row)); }
  MemoryTable& table_;
  std::vector<QSize> sizes_;
};

class CustomerTable : public MemoryTable {
public:
  using MemoryTable::MemoryTable;
  std::unique_ptr<PhotoField> photo;
  QStringList FieldNames() const override { return MemoryTable::FieldNames() << QStringLiteral("Photo"); }
  TrpField* FindField(const QString& name) const override {
    if (photo && name.compare(QStringLiteral("Photo"), Qt::CaseInsensitive) == 0) return photo.get();
    return MemoryTable::FindField(name);
  }
};

class BoundFieldTest : public ReportComponentTest {
protected:
  void SetUp() override {
    ReportComponentTest::SetUp();
    table = new CustomerTable(&owner);
    table->AddField(QStringLiteral("Name"), TrpFieldType::String);
    table->AddField(QStringLiteral("Notes"), TrpFieldType::Memo);
    table->AddRow({{QStringLiteral("Name"), TrpValue(QStringLiteral("Ann"))},
                   {QStringLiteral("Notes"), TrpValue(QStringLiteral("first\r\nsecond"))}});
    table->AddRow({{QStringLiteral("Name"), TrpValue(QStringLiteral("Bob"))}});
    table->photo = std::make_unique<PhotoField>(*table, std::vector<QSize>{QSize(4, 3), QSize()});
    auto* customers = new TrpDBDataSet(&owner);
    customers->setObjectName(QStringLiteral("Customers"));
    customers->SetDataSet(table);
  }

  // A master data band over the customers holding one memo of that text.
  TrpMemoView* AddCustomerBand(const QString& text) {
    TrpMemoView* memo = AddRowBand(40, {text});
    static_cast<TrpBandView*>(page->Objects().front().get())->FormatPattern = QStringLiteral("Customers");
    return memo;
  }

  CustomerTable* table = nullptr;
};

TEST_F(BoundFieldTest, MemoOfOneFieldPrintsItsValueForEachRecord) {
  const struct {
    const char* text;
    bool textOnly;
    QStringList expected;
  } cases[] = {
      {"[Name]", false, {"Ann", "Bob"}},
      {"[Client]", false, {"Ann", "Bob"}},  // a field alias of the dictionary
      {"[Name] (customer)", false, {"Ann (customer)", "Bob (customer)"}},
      // A memo field's text takes the brackets' place; what follows them stays.
      {"[Notes]", false, {"first", "second"}},
      {"[Notes] (notes)", false, {"first", "second (notes)", " (notes)"}},
      {"[Name]", true, {"[Name]", "[Name]"}},  // text only: no field
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(QStringLiteral("%1 text only %2").arg(QString::fromLatin1(c.text)).arg(c.textOnly).toStdString());
    report.Clear();
    page = report.AddPage();
    report.Dictionary.FieldAliases.Append(QStringLiteral("Client"), QStringLiteral("Customers.Name"));
    TrpMemoView* memo = AddCustomerBand(QString::fromLatin1(c.text));
    if (c.textOnly) memo->Flags |= rpMemoFlag::TextOnly;
    ASSERT_TRUE(report.PrepareReport()) << windows->log.join(u'\n').toStdString();
    EXPECT_EQ(AllTexts(), c.expected);
    // The binding lasts for the build only.
    EXPECT_EQ(memo->BoundDataSet, nullptr);
  }
}

TEST_F(BoundFieldTest, PictureOfAGraphicFieldShowsEachRecordsPicture) {
  AddCustomerBand(QStringLiteral("[Name]"));
  auto* picture = static_cast<TrpPictureView*>(page->Add(std::make_unique<TrpPictureView>()));
  picture->Name = QStringLiteral("Photo");
  picture->SetGeometry(0, 0, 40, 30);
  picture->Memo = QStringList{QStringLiteral("[Photo]")};
  picture->BlobType = rpBlobType::btBMP;
  ASSERT_TRUE(report.PrepareReport());

  std::vector<QSize> sizes;
  TrpPage* prepared = report.EMFPages().PageToObjects(0);
  ASSERT_NE(prepared, nullptr);
  for (const auto& object : prepared->Objects()) {
    if (auto* shown = dynamic_cast<TrpPictureView*>(object.get())) sizes.push_back(shown->Picture.Size());
  }
  // The second record's field is null: its picture is empty, not the first one's.
  EXPECT_EQ(sizes, (std::vector<QSize>{QSize(4, 3), QSize()}));
}

}  // namespace
