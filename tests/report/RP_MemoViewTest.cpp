// The memo view: its record tail in forms and prepared pages, forms with memos
// round-tripping, drawing where the placement says, and the build-time operations.
#include "ReportFakes.h"
#include "ReportObjectsSupport.h"
#include "ReportTestSupport.h"
#include "report/engine/RP_MemoPlacement.h"
#include "report/engine/RP_MemoView.h"

#include <QImage>

namespace {

class MemoViewTest : public ReportEngineTest {
protected:
  TrpMemoView* Place(TrpPage* page, const QString& name, QStringList lines) {
    auto* memo = static_cast<TrpMemoView*>(page->Add(std::make_unique<TrpMemoView>()));
    memo->Name = name;
    memo->SetGeometry(10, 10, 200, 40);
    memo->Memo = std::move(lines);
    return memo;
  }

  static void FillSample(TrpMemoView& memo) {
    memo.Name = QStringLiteral("M");
    memo.Font.name = QStringLiteral("Times");
    memo.Font.size = 12;
    memo.Font.style = rpFontStyle::Italic;
    memo.Font.color = 0x0000FF;
    memo.Font.charset = 204;
    memo.Alignment = rpMemoAlign::Center | rpMemoAlign::Bottom;
    memo.HighlightCondition = QStringLiteral("a>1");
    memo.LineSpacing = 5;
    memo.CharSpacing = 1;
  }

  FakeWindows windows;
  TrpReport report;
};

// The tail the memo adds after the common record.
Bytes SampleTail(bool form) {
  Bytes tail;
  tail.s("Times").i(12).w(rpFontStyle::Italic).i(0x0000FF).i(rpMemoAlign::Center | rpMemoAlign::Bottom).w(204);
  if (form) tail.w(rpFontStyle::Bold).i(0).i(0xFFFFFF).s("a>1");
  tail.i(5).i(1);
  return tail;
}

TEST_F(MemoViewTest, RecordTailInFormAndPreparedMode) {
  for (bool prepared : {false, true}) {
    SCOPED_TRACE(prepared ? "prepared" : "form");
    TrpMemoView memo;
    FillSample(memo);
    memo.PreparedMode = prepared;
    const QByteArray bytes = WriteView(memo);
    const Bytes tail = SampleTail(!prepared);
    ASSERT_GT(bytes.size(), tail.size());
    EXPECT_EQ(bytes.right(tail.size()), tail.data());

    TrpMemoView back;
    back.PreparedMode = prepared;
    ReadBuffer buffer(bytes);
    back.ReadFromStream(buffer, kRpStreamVersion);
    EXPECT_TRUE(buffer.atEnd());
    EXPECT_EQ(back.Font.name, QStringLiteral("Times"));
    EXPECT_EQ(back.Font.charset, 204);
    EXPECT_EQ(back.Alignment, memo.Alignment);
    EXPECT_EQ(back.LineSpacing, 5);
    EXPECT_EQ(back.CharSpacing, 1);
    EXPECT_EQ(back.HighlightCondition, prepared ? QString() : QStringLiteral("a>1"));
  }
}

TEST_F(MemoViewTest, Version23FormHasNoSpacingFields) {
  // Version 23: name, no version bytes, the block, fill, format, text, script and
  // visibility; no Restrictions, Tag, gaps or band alignment; then the memo's tail
  // without LineSpacing and CharSpacing.
  Bytes record;
  record.s("M").i(1).i(2).i(3).i(4).w(rpMemoFlag::Stretched).w(0).i(1).i(0).w(0).i(kRpNoColor);
  record.i(0).s("").list({"x"}).list({}).w(0xFFFF);
  record.s("Times").i(12).w(0).i(0).i(0).w(204).w(2).i(0).i(0xFFFFFF).s("");
  TrpMemoView back;
  ReadBuffer buffer(record.data());
  back.ReadFromStream(buffer, 23);
  EXPECT_TRUE(buffer.atEnd());
  EXPECT_EQ(back.Memo, QStringList{QStringLiteral("x")});
  EXPECT_EQ(back.Font.name, QStringLiteral("Times"));
  EXPECT_EQ(back.Font.charset, 204);
  EXPECT_EQ(back.LineSpacing, 2);
  EXPECT_EQ(back.Flags & rpMemoFlag::WordWrap, 0);
}

TEST_F(MemoViewTest, FormWithMemosRoundTripsByteForByte) {
  TrpPage* page = report.AddPage();
  TrpMemoView* memo = Place(page, QStringLiteral("Memo1"), {QStringLiteral("[Title]"), QStringLiteral("two")});
  memo->Alignment = rpMemoAlign::Justify;
  memo->HighlightCondition = QStringLiteral("1=1");
  Place(page, QStringLiteral("Memo2"), {});
  const QByteArray bytes = WriteReport(report);
  TrpReport other;
  ASSERT_TRUE(ReadReport(other, bytes)) << other.LastError().toStdString();
  EXPECT_EQ(WriteReport(other), bytes);
  auto* back = dynamic_cast<TrpMemoView*>(other.FindObject(QStringLiteral("Memo1")));
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->Alignment, rpMemoAlign::Justify);
  EXPECT_EQ(back->Memo.size(), 2);
}

TEST_F(MemoViewTest, NamedPropertiesReachFontFlagsAndLines) {
  TrpMemoView memo;
  memo.SetPropValue(QStringLiteral("Font.Size"), 14);
  memo.SetPropValue(QStringLiteral("wordbreak"), true);
  memo.SetPropValue(QStringLiteral("WordWrap"), false);
  memo.SetPropValue(QStringLiteral("Alignment"), 2);
  memo.DoMethod(QStringLiteral("LINES.ADD"), QStringLiteral("'x'"), QString(), QString());
  EXPECT_EQ(memo.Font.size, 14);
  EXPECT_EQ(memo.Flags, rpMemoFlag::Stretched | rpMemoFlag::WordBreak);
  EXPECT_EQ(memo.GetPropValue(QStringLiteral("ALIGNMENT")).ToInteger(), 2);
  EXPECT_EQ(memo.GetPropValue(QStringLiteral("Lines.Count")).ToInteger(), 1);
  EXPECT_TRUE(memo.FindProperty(QStringLiteral("RTLReading")));
}

// The painted text's dark pixels, as a bounding box.
QRect DarkBox(const QImage& image) {
  QRect box;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qGray(image.pixel(x, y)) < 128) box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

// The dark box of a memo drawn on a white image of that size.
QRect DrawnDarkBox(TrpMemoView& memo, const QSize& size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    memo.Draw(painter);
  }
  return DarkBox(image);
}

// Where the placement puts the one line "HHHH" of a memo without a frame in its
// rectangle (left, top, right, bottom in pixels), with the memo's font and alignment.
std::vector<TrpPlacedLine> PlaceAsTheMemoDoes(TrpMemoView& memo, const TrpRectI& rect, int pixels) {
  const TrpFontMeasurer measurer(memo.Font.ToQFont(), pixels, 0);
  TrpPlacementInput input;
  input.rect = rect;
  input.gapX = 2;  // GapX plus half the frame width, rounded to even (0)
  input.gapY = 1;
  input.lineStep = rpLineStep(2, pixels);
  input.neededHeight = memo.NeededHeight();
  input.alignment = memo.Alignment;
  return rpPlaceLines(QStringList{QStringLiteral("HHHH\x01")}, input, measurer);
}

TEST_F(MemoViewTest, DrawingPutsTheTextWherePlacementSays) {
  struct Case {
    const char* name;
    uint32_t alignment;
  };
  for (const Case& c : {Case{"left", rpMemoAlign::Left}, Case{"right", rpMemoAlign::Right},
                        Case{"centre", rpMemoAlign::Center}, Case{"middle", rpMemoAlign::Middle}}) {
    SCOPED_TRACE(c.name);
    TrpPage* page = report.AddPage();
    TrpMemoView* memo = Place(page, QStringLiteral("Memo"), {QStringLiteral("HHHH")});
    memo->Alignment = c.alignment;
    memo->Font.size = 20;
    const QRect dark = DrawnDarkBox(*memo, QSize(300, 100));
    ASSERT_FALSE(dark.isEmpty());

    // Where the placement says the line goes, with the same font and rectangle.
    const int pixels = rpMeasuringPixelHeight(20);
    const auto placed = PlaceAsTheMemoDoes(*memo, {10, 10, 211, 51}, pixels);
    ASSERT_EQ(placed.size(), 1u);
    const TrpPlacedLine& line = placed[0];
    EXPECT_NEAR(dark.left(), line.x, 3);
    EXPECT_NEAR(dark.right(), line.x + line.width, 4);
    EXPECT_GE(dark.top(), line.y);
    EXPECT_LE(dark.bottom(), line.y + pixels + 1);
  }
}

// A printer or a PDF (a device of 300 dpi or more) gets each line in one piece, and no
// clip when the lines fit: the text must land where a screen puts it word by word, and a
// line too long for the memo must still be cut at the memo's edge.
TEST_F(MemoViewTest, FineDevicesDrawWhereScreensDoAndStillClipOverflow) {
  struct Case {
    const char* name;
    const char* text;
  };
  for (const Case& c : {Case{"fits", "HH HH HH"}, Case{"overflows", "HHHHHH HHHHHH HHHHHH HHHHHH HHHHHH"}}) {
    SCOPED_TRACE(c.name);
    TrpPage* page = report.AddPage();
    TrpMemoView* memo = Place(page, QStringLiteral("Memo"), {QString::fromLatin1(c.text)});
    memo->Font.size = 20;
    memo->SetPropValue(QStringLiteral("wordwrap"), false);
    QRect dark[2];
    for (int k = 0; k < 2; ++k) {
      const int dotsPerMeter = qRound((k == 0 ? 96 : 1200) / 0.0254);
      QImage image(400, 100, QImage::Format_RGB32);
      image.setDotsPerMeterX(dotsPerMeter);
      image.setDotsPerMeterY(dotsPerMeter);
      image.fill(Qt::white);
      {
        QPainter painter(&image);
        memo->Draw(painter);
      }
      dark[k] = DarkBox(image);
      ASSERT_FALSE(dark[k].isEmpty());
    }
    EXPECT_NEAR(dark[1].left(), dark[0].left(), 1);
    EXPECT_NEAR(dark[1].right(), dark[0].right(), 1);
    EXPECT_EQ(dark[1].top(), dark[0].top());
    EXPECT_EQ(dark[1].bottom(), dark[0].bottom());
    EXPECT_LE(dark[1].right(), 10 + 200 - 2) << "clipped at the rectangle less 2 pixels";
  }
}

TEST_F(MemoViewTest, RotatedTextRunsUpwardFromWherePlacementSays) {
  TrpPage* page = report.AddPage();
  TrpMemoView* memo = Place(page, QStringLiteral("Memo"), {QStringLiteral("HHHH")});
  memo->SetGeometry(10, 10, 40, 200);
  memo->Alignment = rpMemoAlign::Rotated;
  memo->Font.size = 20;
  const QRect dark = DrawnDarkBox(*memo, QSize(100, 300));
  ASSERT_FALSE(dark.isEmpty());

  const int pixels = rpMeasuringPixelHeight(20);
  const auto placed = PlaceAsTheMemoDoes(*memo, {10, 10, 51, 211}, pixels);
  ASSERT_EQ(placed.size(), 1u);
  const TrpPlacedLine& line = placed[0];
  EXPECT_GE(dark.left(), line.x);
  EXPECT_LE(dark.right(), line.x + pixels + 1);
  EXPECT_NEAR(dark.bottom(), line.y, 3);
  EXPECT_NEAR(dark.top(), line.y - line.width, 4);
}

TEST_F(MemoViewTest, JustifiedLinesFillTheWidthButTheLastOfAParagraph) {
  TrpPage* page = report.AddPage();
  TrpMemoView* memo = Place(page, QStringLiteral("Memo"), {QStringLiteral("ii ii ii ii ii ii ii ii ii ii ii ii ii ii")});
  memo->SetGeometry(10, 10, 120, 100);
  memo->Alignment = rpMemoAlign::Justify;
  QImage image(200, 150, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    memo->Draw(painter);
  }
  ASSERT_GE(memo->Memo1.size(), 2);
  const int step = memo->LineStep();
  const int textRight = 10 + 120 - 2;  // the rectangle less GapX
  for (qsizetype k = 0; k < memo->Memo1.size(); ++k) {
    SCOPED_TRACE(k);
    const int top = 10 + 1 + static_cast<int>(k) * step;
    const QRect dark = DarkBox(image.copy(0, top, image.width(), step));
    ASSERT_FALSE(dark.isEmpty());
    EXPECT_NEAR(dark.left(), 10 + 2, 2);
    if (k + 1 < memo->Memo1.size()) {
      EXPECT_NEAR(dark.right(), textRight, 4) << "spread to the right edge";
    } else {
      EXPECT_LT(dark.right(), textRight - 10) << "the paragraph's last line stays as it is";
    }
  }
}

TEST_F(MemoViewTest, HeightsFollowTheWrappedLines) {
  TrpPage* page = report.AddPage();
  TrpMemoView* memo = Place(page, QStringLiteral("Memo"), {QStringLiteral("one"), QStringLiteral("two\nthree")});
  const int step = rpLineStep(2, rpMeasuringPixelHeight(10));
  EXPECT_EQ(memo->CalcHeight(), 3 * step + 2 * 1);  // GapY; half the frame width rounds to even (0)
  EXPECT_EQ(memo->MinHeight(), 2 + 2 + 2 + rpMeasuringPixelHeight(10));
  memo->Height = 2 + 2 + 3 * step + 1;
  EXPECT_EQ(memo->RemainHeight(), 2 + 2 + 1);
}

TEST_F(MemoViewTest, SuppressedRepeatsWriteNothingAndMeasureZero) {
  TrpPage* page = report.AddPage();
  TrpMemoView* memo = Place(page, QStringLiteral("Memo"), {QStringLiteral("same")});
  memo->Flags |= rpMemoFlag::Suppress;
  QBuffer stream;
  stream.open(QIODevice::WriteOnly);
  EXPECT_GT(memo->CalcHeight(), 0);
  memo->Print(stream);
  const qint64 once = stream.size();
  EXPECT_GT(once, 0);
  EXPECT_EQ(memo->CalcHeight(), 0);
  memo->Print(stream);
  EXPECT_EQ(stream.size(), once);
}

TEST_F(MemoViewTest, SplitPrintWritesTheLinesThatFitAndKeepsTheRest) {
  TrpPage* page = report.AddPage();
  TrpMemoView* memo =
      Place(page, QStringLiteral("Memo"), {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
  const int step = rpLineStep(2, rpMeasuringPixelHeight(10));
  memo->Height = 2 * step + 3;
  memo->CalcHeight();
  memo->DrawMode = rpMemoDrawMode::PrintPart;
  QBuffer stream;
  stream.open(QIODevice::WriteOnly);
  memo->Print(stream);
  EXPECT_EQ(memo->DrawMode, rpMemoDrawMode::Print);
  ASSERT_EQ(memo->Memo1.size(), 1);
  EXPECT_EQ(rpWithoutMark(memo->Memo1[0]), QStringLiteral("c"));

  // The part written reads back as two already wrapped lines.
  stream.close();
  stream.open(QIODevice::ReadOnly);
  EXPECT_EQ(rpReadByte(stream), rpObjectType::Memo);
  TrpMemoView back;
  back.PreparedMode = true;
  back.ReadFromStream(stream, kRpStreamVersion);
  QStringList lines = back.Memo;
  EXPECT_TRUE(rpTakeStoredLines(lines));
  EXPECT_EQ(lines.size(), 2);
}

TEST_F(MemoViewTest, HighlightAppliesForOneOutputOnly) {
  TrpPage* page = report.AddPage();
  TrpMemoView* memo = Place(page, QStringLiteral("Memo"), {QStringLiteral("x")});
  memo->HighlightCondition = QStringLiteral("1");
  memo->HighlightFill = 0x00FF00;
  QBuffer stream;
  stream.open(QIODevice::ReadWrite);
  memo->Print(stream);
  EXPECT_EQ(memo->FillColor, kRpNoColor);
  EXPECT_EQ(memo->Font.style, 0);
  stream.seek(1);
  TrpMemoView back;
  back.PreparedMode = true;
  back.ReadFromStream(stream, kRpStreamVersion);
  EXPECT_EQ(back.FillColor, 0x00FF00);
  EXPECT_EQ(back.Font.style, rpFontStyle::Bold);
}

TEST_F(MemoViewTest, MemoIsTheTextObjectOfForms) {
  std::unique_ptr<TrpView> view = rpCreateObject(rpObjectType::Memo, QString());
  EXPECT_NE(dynamic_cast<TrpMemoView*>(view.get()), nullptr);
  {
    TextObjectFactory standIn;
    EXPECT_EQ(dynamic_cast<TrpMemoView*>(rpCreateObject(rpObjectType::Memo, QString()).get()), nullptr);
  }
  EXPECT_NE(dynamic_cast<TrpMemoView*>(rpCreateObject(rpObjectType::Memo, QString()).get()), nullptr);
}

}  // namespace
