// The header layout stream: round trips, older layouts, and streams that are cut or
// damaged, which fail and leave the layout as it was.
#include "TreeFixture.h"

#include "treeview/LazyTreeDrawing.h"
#include "treeview/LazyTreeHeader.h"

#include <QBuffer>
#include <QtEndian>

namespace {

// Builds layout bytes field by field.
struct Bytes {
  Bytes& Int(std::int32_t v) {
    char b[4];
    qToLittleEndian(v, b);
    data.append(b, 4);
    return *this;
  }
  Bytes& Text(const QString& s) {
    Int(std::int32_t(s.size()));
    for (QChar c : s) {
      char b[2];
      qToLittleEndian(c.unicode(), b);
      data.append(b, 2);
    }
    return *this;
  }
  // One column record of the given version: Width .. Options, then Tag and Alignment
  // (version > 0) and Color (version > 1).
  Bytes& Column(int version, const QString& text, int width, std::uint32_t options) {
    Text(text).Text(QString());
    for (int v : {width, 10, 10000, 0, -1, 0, 4, 4, 0}) Int(v);
    Int(std::int32_t(options));
    if (version > 0) Int(7).Int(taRightJustify);
    if (version > 1) Int(0x00336699);
    return *this;
  }
  // The header fields after the position array.
  Bytes& HeaderFields(int version) {
    Int(NoColumn).Int(0x00C0C0C0).Int(24).Int(int(TLTHeaderOptions{hoVisible, hoDrag}.Bits())).Int(hsFlatButtons);
    Int(0).Int(-13).Int(4);
    data.append("Mono");
    Int(2).Int(1);  // fixed pitch, bold
    if (version > 0) Int(1).Int(0).Int(sdDescending);
    return *this;
  }
  QByteArray data;
};

class Layout : public ::testing::Test {
protected:
  void SetUp() override { tree.resize(300, 200); }
  TLTHeader& Header() { return tree.Header(); }
  TLazyTreeColumns& Columns() { return tree.Columns(); }
  TCustomLazyDrawTree tree;
};

TEST_F(Layout, EverySettingSurvivesARoundTrip) {
  for (int i = 0; i < 3; ++i) Columns().Add();
  TLazyTreeColumn& c = *Columns()[1];
  c.SetText(QString::fromUtf8("Fällig ✓"));
  c.SetHint(QStringLiteral("When it is due"));
  c.SetMinWidth(20);
  c.SetMaxWidth(300);
  c.SetWidth(120);
  c.SetStyle(vsOwnerDraw);
  c.SetImageIndex(3);
  c.SetLayout(blGlyphTop);
  c.SetMargin(6);
  c.SetSpacing(2);
  c.SetBiDiMode(bdRightToLeft);
  c.SetOptions(TLTColumnOptions{coAllowClick, coVisible, coAutoSpring, coResizable});
  c.SetTag(42);
  c.SetAlignment(taCenter);
  c.SetColor(QColor(10, 20, 30));
  Columns()[2]->SetPosition(0);
  Header().SetAutoSizeIndex(2);
  Header().SetBackground(QColor(200, 100, 50));
  Header().SetHeight(22);
  Header().SetStyle(hsPlates);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(13);
  font.setItalic(true);
  font.setFixedPitch(false);
  Header().SetFont(font);
  Header().SetFontColor(QColor(1, 2, 3));
  Header().SetMainColumn(1);
  Header().SetSortColumn(2);
  Header().SetSortDirection(sdDescending);
  const QByteArray saved = Header().SaveLayout();

  TCustomLazyDrawTree other;
  other.Header().LoadLayout(saved);
  EXPECT_EQ(other.Header().SaveLayout(), saved);
  const TLazyTreeColumn& d = *other.Columns()[1];
  EXPECT_EQ(d.Text(), c.Text());
  EXPECT_EQ(d.Hint(), c.Hint());
  EXPECT_EQ(QVector<int>({d.Width(), d.MinWidth(), d.MaxWidth(), d.ImageIndex(), d.Margin(), d.Spacing(), d.Tag()}),
            QVector<int>({120, 20, 300, 3, 6, 2, 42}));
  EXPECT_EQ(d.Style(), vsOwnerDraw);
  EXPECT_EQ(d.Layout(), blGlyphTop);
  EXPECT_EQ(d.BiDiMode(), bdRightToLeft);
  EXPECT_EQ(d.Options(), c.Options());
  EXPECT_EQ(d.Alignment(), taCenter);
  EXPECT_EQ(d.Color(), QColor(10, 20, 30));
  EXPECT_EQ(other.Columns().PositionArray(), Columns().PositionArray());
  EXPECT_EQ(other.Header().AutoSizeIndex(), 2);
  EXPECT_EQ(other.Header().Background(), QColor(200, 100, 50));
  EXPECT_EQ(other.Header().Height(), 22);
  EXPECT_EQ(other.Header().Style(), hsPlates);
  EXPECT_EQ(other.Header().Font().family(), QStringLiteral("DejaVu Sans"));
  EXPECT_EQ(other.Header().Font().pixelSize(), 13);
  EXPECT_TRUE(other.Header().Font().italic());
  EXPECT_EQ(other.Header().FontColor(), QColor(1, 2, 3));
  EXPECT_EQ(other.Header().MainColumn(), 1);
  EXPECT_EQ(other.Header().SortColumn(), 2);
  EXPECT_EQ(other.Header().SortDirection(), sdDescending);
}

TEST_F(Layout, AStreamIsReadOnlyAsFarAsTheLayoutGoes) {
  Columns().Add()->SetWidth(77);
  QByteArray bytes = Header().SaveLayout();
  const qsizetype size = bytes.size();
  bytes.append("tail");
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  TCustomLazyDrawTree other;
  other.Header().LoadLayout(buffer);
  EXPECT_EQ(buffer.pos(), size);
  EXPECT_EQ(other.Columns()[0]->Width(), 77);
  // A failing read leaves the stream where it was.
  QByteArray cut = bytes.left(size - 5);
  QBuffer short_(&cut);
  short_.open(QIODevice::ReadOnly);
  EXPECT_THROW(other.Header().LoadLayout(short_), ELazyTreeError);
  EXPECT_EQ(short_.pos(), 0);
}

TEST_F(Layout, OlderLayoutsConvertTheirColumnOptions) {
  struct {
    int version;
    std::uint32_t stored;
    TLTColumnOptions expected;
  } cases[] = {
      // Before version 2: bits 4 to 6 move up one place.
      {-1, 0x7F, {coAllowClick, coDraggable, coEnabled, coParentBidiMode, coResizable, coShowDropMark, coVisible}},
      {1, 0x13, {coAllowClick, coDraggable, coResizable}},
      {2, 0x1EF, DefaultColumnOptions - TLTColumnOptions{coParentColor}},  // no spring yet
      {3, 0x1EF, DefaultColumnOptions - TLTColumnOptions{coParentColor} + TLTColumnOptions{coAutoSpring}},
  };
  for (const auto& t : cases) {
    Bytes b;
    if (t.version >= 0) b.Int(-1).Int(t.version);
    b.Int(1).Column(t.version, QStringLiteral("Title"), 90, t.stored).Int(0).HeaderFields(t.version);
    TCustomLazyDrawTree fresh;
    fresh.Header().SetSortColumn(-1);
    fresh.Header().LoadLayout(b.data);
    ASSERT_EQ(fresh.Columns().Count(), 1) << t.version;
    EXPECT_EQ(fresh.Columns()[0]->Options(), t.expected) << t.version;
    EXPECT_EQ(fresh.Columns()[0]->Width(), 90);
    EXPECT_EQ(fresh.Header().Height(), 24);
    EXPECT_TRUE(fresh.Header().Font().bold());
    EXPECT_TRUE(fresh.Header().Font().fixedPitch());
    EXPECT_EQ(fresh.Header().Font().pixelSize(), 13);
    // Tag and alignment from version 1, colour from version 2, sorting from version 1.
    EXPECT_EQ(fresh.Columns()[0]->Tag(), t.version > 0 ? 7 : 0) << t.version;
    EXPECT_EQ(fresh.Columns()[0]->Alignment(), t.version > 0 ? taRightJustify : taLeftJustify) << t.version;
    EXPECT_EQ(fresh.Columns()[0]->Color() == QColor(0x99, 0x66, 0x33), t.version > 1) << t.version;
    EXPECT_EQ(fresh.Header().SortDirection(), t.version > 0 ? sdDescending : sdAscending) << t.version;
  }
}

TEST_F(Layout, DamagedStreamsFailAndKeepTheLayout) {
  Columns().Add()->SetText(QStringLiteral("kept"));
  const QByteArray before = Header().SaveLayout();
  auto valid = [](auto edit) {
    Bytes b;
    b.Int(-1).Int(3).Int(2).Column(3, QStringLiteral("a"), 50, 0xFF).Column(3, QStringLiteral("b"), 60, 0xFF);
    edit(b);
    return b.data;
  };
  const QByteArray good = valid([](Bytes& b) { b.Int(1).Int(0).HeaderFields(3); });
  {
    TCustomLazyDrawTree check;
    check.Header().LoadLayout(good);
    ASSERT_EQ(check.Columns().Count(), 2);
  }
  struct {
    const char* what;
    QByteArray bytes;
  } cases[] = {
      {"a repeated position", valid([](Bytes& b) { b.Int(0).Int(0).HeaderFields(3); })},
      {"a position beyond the columns", valid([](Bytes& b) { b.Int(0).Int(2).HeaderFields(3); })},
      {"a negative position", valid([](Bytes& b) { b.Int(-1).Int(0).HeaderFields(3); })},
      {"an unknown version", Bytes().Int(-1).Int(4).Int(0).data},
      {"a negative version", Bytes().Int(-1).Int(-2).Int(0).data},
      {"a huge column count", Bytes().Int(-1).Int(3).Int(0x7FFFFFFF).data},
      {"a text longer than the stream", Bytes().Int(-1).Int(3).Int(1).Int(0x40000000).data},
      {"a negative text length", Bytes().Int(-1).Int(3).Int(1).Int(-3).Int(0).data},
      {"a huge width", Bytes().Int(-1).Int(3).Int(1).Column(3, "x", 0x7FFFFFF0, 0).Int(0).HeaderFields(3).data},
      {"an unknown column style", [] {
         Bytes b;
         b.Int(-1).Int(3).Int(1).Text("x").Text("");
         for (int v : {50, 10, 100, 9, -1, 0, 4, 4, 0, 0xFF, 0, 0, 0}) b.Int(v);
         return b.Int(0).HeaderFields(3).data;
       }()},
      {"a font name beyond the end", [] {
         Bytes b;
         b.Int(-1).Int(3).Int(0).Int(-1).Int(0).Int(17).Int(0).Int(0).Int(0).Int(-12).Int(1000);
         return b.data;
       }()},
  };
  for (const auto& t : cases) {
    EXPECT_THROW(Header().LoadLayout(t.bytes), ELazyTreeError) << t.what;
    EXPECT_EQ(Header().SaveLayout(), before) << t.what;
  }
  // Every cut of a good stream fails alike.
  for (qsizetype n = 0; n < good.size(); ++n) {
    EXPECT_THROW(Header().LoadLayout(good.left(n)), ELazyTreeError) << n;
    ASSERT_EQ(Header().SaveLayout(), before) << n;
  }
}

TEST_F(Layout, ANegativeCountMeansNoColumns) {
  Columns().Add();
  Header().LoadLayout(Bytes().Int(-1).Int(3).Int(-4).HeaderFields(3).data);
  EXPECT_EQ(Columns().Count(), 0);
  EXPECT_EQ(Header().MainColumn(), -1);
}

}  // namespace
