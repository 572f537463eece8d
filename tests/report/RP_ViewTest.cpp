// Report objects and views: the record in both layouts and older versions, the
// property protocol reached from scripts, alignment inside the band, scaling, unique
// names and drawing of frames, lines and check boxes.
#include "ReportObjectsSupport.h"
#include "ReportTestSupport.h"
#include "report/engine/RP_BandView.h"
#include "report/engine/RP_ChBox.h"
#include "report/engine/RP_DSet.h"
#include "report/engine/RP_Errors.h"
#include "report/engine/RP_Intrp.h"
#include "report/engine/RP_LineView.h"
#include "report/engine/RP_PictureView.h"
#include "report/engine/RP_SubReportView.h"

#include <QImage>

namespace {

class ViewTest : public ReportEngineTest {
protected:
  void SetUp() override {
    ReportEngineTest::SetUp();
    page = report.AddPage();
  }

  TestTextView* AddText(const QString& name, int left, int top, int width, int height) {
    auto* view = static_cast<TestTextView*>(page->Add(std::make_unique<TestTextView>()));
    view->Name = name;
    view->SetGeometry(left, top, width, height);
    return view;
  }

  void RunScript(const QStringList& source) {
    QStringList coded, errors;
    rpGlobals().Interpreter().CompileScript(source, coded, errors);
    ASSERT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
    rpGlobals().Interpreter().RunScript(coded);
  }

  TrpReport report;
  TrpPage* page = nullptr;
};

// The block from Left to FrameStyle and the fill colour of a view at (10, 20, 100, 30).
Bytes& Block(Bytes& b, int flags, int frameTyp, int frameWidth, int frameColor, int fill) {
  return b.i(10).i(20).i(100).i(30).w(flags).w(frameTyp).i(frameWidth).i(frameColor).w(0).i(fill);
}

TEST_F(ViewTest, TextObjectRecordInFormAndPreparedLayout) {
  TestTextView* view = AddText(QStringLiteral("Memo1"), 10, 20, 100, 30);
  view->FrameTyp = rpFrameSide::All;
  view->FrameWidth = 1.5;
  view->FrameColor = 0xFF;
  view->Memo = QStringList{QStringLiteral("a"), QStringLiteral("bc")};
  view->Memo1 = QStringList{QStringLiteral("x")};
  view->Script = QStringList{QStringLiteral("begin end")};

  Bytes form;
  form.s("Memo1").b(2).b(0);
  Block(form, 1, 15, 1500, 0xFF, kRpNoColor).i(0x22E).s("").list({"a", "bc"}).list({"begin end"}).w(0xFFFF);
  form.w(0).s("").i(2).i(1).b(0);
  EXPECT_EQ(WriteView(*view), form.data());

  view->PreparedMode = true;
  Bytes prepared;
  prepared.s("Memo1").b(2).b(0);
  Block(prepared, 1, 15, 1500, 0xFF, kRpNoColor).list({"x"}).w(0).s("").i(2).i(1).b(0);
  EXPECT_EQ(WriteView(*view), prepared.data());
}

TEST_F(ViewTest, ClassTailsAreWrittenAfterTheRecord) {
  Bytes base;
  auto record = [](const char* name, int minor, int flags, int frameTyp, int frameWidth, int fill, int format,
                   const char* pattern) {
    Bytes b;
    b.s(name).b(2).b(minor);
    Block(b, flags, frameTyp, frameWidth, 0, fill).i(format).s(pattern).list({}).list({}).w(0xFFFF);
    b.w(0).s("").i(2).i(1).b(0);
    return b;
  };

  TrpBandView band;
  band.Name = QStringLiteral("Band1");
  band.SetGeometry(10, 20, 100, 30);
  band.SetBandType(rpBand::MasterData);
  band.FormatPattern = QStringLiteral("Data");
  band.ChildBand = QStringLiteral("Child1");
  Bytes bandBytes = record("Band1", 1, 48, 5, 1, kRpNoColor, 0, "Data");
  bandBytes.s("Child1").i(1).i(200).i(20).i(1).s("");
  EXPECT_EQ(WriteView(band), bandBytes.data());

  TrpCheckBoxView check;
  check.Name = QStringLiteral("Check1");
  check.SetGeometry(10, 20, 100, 30);
  check.CheckStyle = rpCheckStyle::csCheck;
  check.CheckColor = 0xFF;
  Bytes checkBytes = record("Check1", 0, 1, 15, 2, kRpNoColor, 0x22E, "");
  checkBytes.b(1).i(0xFF);
  EXPECT_EQ(WriteView(check), checkBytes.data());

  TrpLineView line;
  line.Name = QStringLiteral("Line1");
  line.SetGeometry(10, 20, 100, 30);
  EXPECT_EQ(WriteView(line), record("Line1", 0, 1, 4, 1, kRpWhite, 0x22E, "").data());

  TrpSubReportView sub;
  sub.Name = QStringLiteral("SubReport1");
  sub.SetGeometry(10, 20, 100, 30);
  sub.SubPage = 3;
  Bytes subBytes = record("SubReport1", 0, 1, 0, 1, kRpNoColor, 0x22E, "");
  subBytes.i(3);
  EXPECT_EQ(WriteView(sub), subBytes.data());

  TrpPictureView picture;
  picture.Name = QStringLiteral("Picture1");
  picture.SetGeometry(10, 20, 100, 30);
  picture.BlobType = rpBlobType::btJPG;
  Bytes pictureBytes = record("Picture1", 0, 5, 0, 1, kRpNoColor, 0x22E, "");
  const qsizetype recordSize = pictureBytes.size();
  pictureBytes.b(0).b(1).i(recordSize + 2 + 4);  // kind 0 still carries its end offset
  EXPECT_EQ(WriteView(picture), pictureBytes.data());

  picture.Picture.Assign(rpGraphicKind::Bitmap, QByteArray("\x01\x02\x03", 3));
  Bytes withData = record("Picture1", 0, 5, 0, 1, kRpNoColor, 0x22E, "");
  withData.b(1).b(1).i(recordSize + 2 + 4 + 3).raw(QByteArray("\x01\x02\x03", 3));
  EXPECT_EQ(WriteView(picture), withData.data());
}

// Every class reads back what it wrote, byte for byte.
TEST_F(ViewTest, EveryViewClassRoundTripsItsRecord) {
  std::vector<std::unique_ptr<TrpView>> views;
  views.push_back(std::make_unique<TestTextView>());
  views.push_back(std::make_unique<TrpBandView>());
  views.push_back(std::make_unique<TrpSubReportView>());
  views.push_back(std::make_unique<TrpLineView>());
  views.push_back(std::make_unique<TrpCheckBoxView>());
  views.push_back(std::make_unique<TrpPictureView>());
  for (auto& view : views) {
    view->Name = view->ClassName() + u'1';
    view->SetGeometry(-5, 7, 300, 0x12345);
    view->FrameWidth = 20;
    view->FrameStyle = rpFrameStyle::Double;
    view->Memo = QStringList{QStringLiteral("[x]"), QString(), QStringLiteral("é")};
    view->Script = QStringList{QStringLiteral("begin"), QStringLiteral("end")};
    view->Visible = false;
    view->Restrictions = 3;
    view->Tag = QStringLiteral("[tag]");
    view->GapX = 4;
    view->BandAlign = rpBandAlign::Rest;
  }
  static_cast<TrpBandView&>(*views[1]).Master = QStringLiteral("Band7");
  static_cast<TrpPictureView&>(*views[5]).Picture.Assign(rpGraphicKind::Jpeg, QByteArray(50, 'j'));
  for (bool prepared : {false, true}) {
    for (auto& view : views) {
      SCOPED_TRACE(view->ClassName().toStdString() + (prepared ? " prepared" : " form"));
      view->PreparedMode = prepared;
      const QByteArray bytes = WriteView(*view);
      std::unique_ptr<TrpView> copy =
          view->Typ == rpObjectType::Memo ? std::make_unique<TestTextView>() : rpCreateObject(view->Typ, view->ClassName());
      copy->PreparedMode = prepared;
      ReadBuffer buffer(bytes);
      copy->ReadFromStream(buffer, kRpStreamVersion);
      EXPECT_TRUE(buffer.atEnd());
      EXPECT_EQ(WriteView(*copy), bytes);
      EXPECT_EQ(copy->FrameWidth, 20.0);
    }
  }
}

TEST_F(ViewTest, FrameWidthsReadBackUnchanged) {
  struct Case {
    double width;
    int32_t stored;
  };
  for (const Case& c : {Case{1, 1}, Case{1.5, 1500}, Case{10, 10}, Case{20, 20000}, Case{0.5, 500}, Case{0, 0}}) {
    EXPECT_EQ(rpEncodeFrameWidth(c.width), c.stored) << c.width;
    EXPECT_EQ(rpDecodeFrameWidth(c.stored), c.width) << c.width;
  }
  EXPECT_EQ(rpDecodeFrameWidth(2), 2.0);
}

TEST_F(ViewTest, OlderRecordsReadTheirOwnLayouts) {
  // Version 23: a name but no version bytes, no editing fields and no band alignment.
  Bytes v23;
  v23.s("Old");
  Block(v23, 1, 4, 1, 0, kRpNoColor).i(0).s("fmt").list({"a"}).list({"s"}).w(0).b(99);
  TestTextView a;
  ReadBuffer buffer(v23.data());
  a.ReadFromStream(buffer, 23);
  EXPECT_EQ(a.Name, QStringLiteral("Old"));
  EXPECT_EQ(a.FormatPattern, QStringLiteral("fmt"));
  EXPECT_EQ(a.Memo, QStringList{QStringLiteral("a")});
  EXPECT_FALSE(a.Visible);
  EXPECT_EQ(buffer.pos(), v23.size() - 1);  // the trailing byte belongs to the next record

  // Version 21: no name (a unique one is made), zero-terminated strings and lists, no
  // script.
  AddText(QStringLiteral("Memo1"), 0, 0, 1, 1);
  Bytes v21;
  Block(v21, 1, 0, 1, 0, kRpNoColor).i(0).raw(QByteArray("f\0", 2)).raw(QByteArray("l1\rl2\0", 6));
  auto* b = AddText(QString(), 0, 0, 1, 1);
  ReadBuffer old(v21.data());
  b->ReadFromStream(old, 21);
  EXPECT_EQ(b->Name, QStringLiteral("Memo2"));
  EXPECT_EQ(b->Memo, (QStringList{QStringLiteral("l1"), QStringLiteral("l2")}));
  EXPECT_TRUE(old.atEnd());
}

TEST_F(ViewTest, BandExtensionDependsOnFormAndObjectVersion) {
  Bytes record;
  record.s("Band1").b(2).b(0);
  Block(record, 48, 5, 1, 0, kRpNoColor).i(0).s("").list({}).list({}).w(0xFFFF).w(0).s("").i(2).i(1).b(0);
  record.s("Child").i(2).i(100).i(10).i(1);  // object version 2.0: no Master
  TrpBandView band;
  ReadBuffer buffer(record.data());
  band.ReadFromStream(buffer, 25);
  EXPECT_TRUE(buffer.atEnd());
  EXPECT_EQ(band.ChildBand, QStringLiteral("Child"));
  EXPECT_EQ(band.Columns, 2);
  EXPECT_TRUE(band.Master.isEmpty());
  EXPECT_EQ(band.BandType(), rpBand::MasterData);
}

TEST_F(ViewTest, InvisibleObjectWritesNothingIntoAPreparedPage) {
  TestTextView* view = AddText(QStringLiteral("Memo1"), 0, 0, 10, 10);
  view->Visible = false;
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  view->Print(buffer);
  EXPECT_TRUE(buffer.data().isEmpty());
}

TEST_F(ViewTest, PrintExpandsFieldsAndTagAndAlignsToTheBand) {
  WireParserToReport(report);
  rpGlobals().Variables().SetVariable(QStringLiteral("V"), 7);
  TestTextView* view = AddText(QStringLiteral("Memo1"), 0, 5, 10, 10);
  view->Memo = QStringList{QStringLiteral("n=[V+1]")};
  view->Tag = QStringLiteral("[V]");
  view->BandAlign = rpBandAlign::Bottom;
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  const TrpPrintBand band{rpBand::MasterData, 0, 100, 500, 40};
  view->Print(buffer, &band);

  TestTextView copy;
  copy.PreparedMode = true;
  buffer.close();
  buffer.open(QIODevice::ReadOnly);
  EXPECT_EQ(rpReadByte(buffer), rpObjectType::Memo);
  copy.ReadFromStream(buffer, kRpStreamVersion);
  EXPECT_EQ(copy.Memo, QStringList{QStringLiteral("n=8")});
  EXPECT_EQ(copy.Tag, QStringLiteral("7"));
  EXPECT_EQ(copy.Top, 130);
  EXPECT_EQ(view->Tag, QStringLiteral("[V]"));  // the object keeps its own
  EXPECT_EQ(view->Top, 5);
}

TEST_F(ViewTest, ScriptsReadWriteAndCallObjectProperties) {
  WireParserToReport(report);
  ObjectHost host(report);
  TestTextView* memo = AddText(QStringLiteral("Memo1"), 10, 20, 30, 40);
  memo->Memo = QStringList{QStringLiteral("first")};
  memo->Flags = 0x0F;
  RunScript({QStringLiteral("begin"), QStringLiteral("  Memo1.Left := Memo1.Width * 2;"),
             QStringLiteral("  Memo1.Stretched := false;"), QStringLiteral("  Memo1.Memo.Add('x' + 'y');"),
             QStringLiteral("  n := Memo1.Memo.IndexOf('xy');"), QStringLiteral("  Memo1.Memo.Delete(0);"),
             QStringLiteral("  c := Memo1.Memo.Count;"), QStringLiteral("  Memo1.Hide;"), QStringLiteral("end")});
  EXPECT_EQ(memo->Left, 60);
  EXPECT_EQ(memo->Flags, 0x0E);  // only bit 0 cleared
  EXPECT_EQ(memo->Memo, QStringList{QStringLiteral("xy")});
  EXPECT_EQ(rpGlobals().Variables().Variable(QStringLiteral("n")).ToInteger(), 1);
  EXPECT_EQ(rpGlobals().Variables().Variable(QStringLiteral("c")).ToInteger(), 1);
  EXPECT_FALSE(memo->Visible);

  TrpValue result;
  EXPECT_TRUE(rpStringListMethod(memo->Memo, QStringLiteral("MEMO"), QStringLiteral("SETINDEXPROPERTY"),
                                 QStringLiteral("Memo"), QStringLiteral("0"), QStringLiteral("z"), result));
  EXPECT_EQ(memo->GetPropValue(QStringLiteral("memo")).ToString(), QStringLiteral("z"));
  EXPECT_TRUE(memo->GetPropValue(QStringLiteral("NoSuchProperty")).IsNull());
  memo->SetPropValue(QStringLiteral("Memo"), QStringLiteral("a\r\nb\nc"));
  EXPECT_EQ(memo->Memo.size(), 3);
  EXPECT_EQ(memo->GetPropValue(QStringLiteral("DataField")).ToString(), QStringLiteral("a"));
}

TEST_F(ViewTest, ObjectsAreFoundByNamePageAndOwnProperty) {
  TestTextView* memo = AddText(QStringLiteral("Memo1"), 0, 0, 1, 1);
  report.AddPage();
  report.SetCurrentView(memo);
  const TrpObjectProperty pageProp = rpGetObjectByName(report, QStringLiteral("PAGE2.Visible"));
  EXPECT_EQ(pageProp.object, report.Page(1));
  EXPECT_EQ(pageProp.property, QStringLiteral("Visible"));
  EXPECT_EQ(rpGetObjectByName(report, QStringLiteral("memo1.Left")).object, memo);
  const TrpObjectProperty own = rpGetObjectByName(report, QStringLiteral("Memo.Count"));
  EXPECT_EQ(own.object, memo);
  EXPECT_EQ(own.property, QStringLiteral("Memo.Count"));
  EXPECT_EQ(rpGetObjectByName(report, QStringLiteral("Left")).property, QStringLiteral("Left"));
  EXPECT_EQ(rpGetObjectByName(report, QStringLiteral("Nobody.Left")).object, nullptr);
}

TEST_F(ViewTest, UniqueNamesTakeTheFirstFreeNumber) {
  AddText(QStringLiteral("Memo1"), 0, 0, 1, 1);
  AddText(QStringLiteral("Memo2"), 0, 0, 1, 1);
  TestTextView* view = AddText(QString(), 0, 0, 1, 1);
  view->CreateUniqueName();
  EXPECT_EQ(view->Name, QStringLiteral("Memo3"));

  for (int i = 4; i <= 10000; ++i) AddText(QStringLiteral("Memo") + QString::number(i), 0, 0, 1, 1);
  TestTextView* last = AddText(QString(), 0, 0, 1, 1);
  last->CreateUniqueName();
  EXPECT_TRUE(last->Name.isEmpty());
}

TEST_F(ViewTest, BandAlignmentPlacesBetweenMarginsAndNeighbours) {
  page->UseMargins = -1;
  page->PaperWidth = 1000;  // 360 units
  page->MarginLeft = 20;
  page->MarginRight = 40;  // printable 20 .. 320
  struct Case {
    int align;
    int left, width;
  };
  const Case cases[] = {{rpBandAlign::Left, 20, 50},
                        {rpBandAlign::Right, 270, 50},
                        {rpBandAlign::Center, 145, 50},
                        {rpBandAlign::Width, 20, 299},
                        {rpBandAlign::None, 100, 50}};
  for (const Case& c : cases) {
    TestTextView* view = AddText(QStringLiteral("A"), 100, 0, 50, 10);
    view->BandAlign = static_cast<uint8_t>(c.align);
    view->BeginDraw(nullptr);
    EXPECT_EQ(view->Left, c.left) << c.align;
    EXPECT_EQ(view->Width, c.width) << c.align;
    page->Clear();
  }
  // Neighbours on the same row: a left-aligned one, a right-aligned one, and the rest
  // between them.
  TestTextView* left = AddText(QStringLiteral("L"), 50, 0, 30, 10);
  left->BandAlign = rpBandAlign::Left;
  TestTextView* right = AddText(QStringLiteral("R"), 250, 0, 30, 10);
  right->BandAlign = rpBandAlign::Right;
  TestTextView* rest = AddText(QStringLiteral("M"), 150, 0, 10, 10);
  rest->BandAlign = rpBandAlign::Rest;
  TestTextView* other = AddText(QStringLiteral("O"), 150, 50, 10, 10);  // another row
  other->BandAlign = rpBandAlign::Left;
  left->BeginDraw(nullptr);
  right->BeginDraw(nullptr);
  rest->BeginDraw(nullptr);
  other->BeginDraw(nullptr);
  EXPECT_EQ(left->Left, 20);
  EXPECT_EQ(right->Left, 290);
  EXPECT_EQ(rest->Left, 50);
  EXPECT_EQ(rest->Width, 240);
  EXPECT_EQ(other->Left, 20);
}

TEST_F(ViewTest, CalcGapsScalesAndRestoreCoordUndoes) {
  struct Case {
    double sx, sy;
    int ox, oy;
    double frame;
    int frameTyp;
    QRect geometry, drawRect;
    int gapX, gapY;
  };
  const Case cases[] = {
      // Unscaled, no frame: the rectangle one past the edges; half a frame width of 0.5
      // rounds to 0.
      {1, 1, 0, 0, 1, 0, {10, 20, 100, 30}, {10, 20, 101, 31}, 2, 1},
      // Halves round to even: 10 * 1.25 = 12.5 -> 12, 30 * 1.25 = 37.5 -> 38.
      {1.25, 1.25, 5, 7, 2, 15, {17, 32, 125, 38}, {18, 33, 124, 37}, 3, 1},
      {0.5, 0.5, 0, 0, 3, rpFrameSide::Left | rpFrameSide::Top, {5, 10, 50, 15}, {5, 10, 51, 16}, 2, 0},
  };
  for (const Case& c : cases) {
    TestTextView* view = AddText(QStringLiteral("M"), 10, 20, 100, 30);
    view->IsPrinting = true;
    view->ScaleX = c.sx;
    view->ScaleY = c.sy;
    view->OffsetX = c.ox;
    view->OffsetY = c.oy;
    view->FrameWidth = c.frame;
    view->FrameTyp = static_cast<uint16_t>(c.frameTyp);
    view->CalcGaps();
    EXPECT_EQ(QRect(view->Left, view->Top, view->Width, view->Height), c.geometry) << c.sx;
    EXPECT_EQ(view->DrawRect(), c.drawRect) << c.sx;
    EXPECT_EQ(view->GapX, c.gapX) << c.sx;
    EXPECT_EQ(view->GapY, c.gapY) << c.sx;
    view->RestoreCoord();
    EXPECT_EQ(QRect(view->Left, view->Top, view->Width, view->Height), QRect(10, 20, 100, 30));
    EXPECT_EQ(view->FrameWidth, c.frame);
    EXPECT_EQ(view->GapX, 2);
    page->Clear();
  }
}

TEST_F(ViewTest, ClipRegionCoversTheFrame) {
  TestTextView view;
  view.SetGeometry(10, 10, 100, 50);
  view.FrameWidth = 3;
  view.FrameTyp = rpFrameSide::All;
  EXPECT_EQ(view.GetClipRgn(false), QRect(QPoint(8, 8), QPoint(111, 61)));
  EXPECT_EQ(view.GetClipRgn(true), QRect(QPoint(-2, -2), QPoint(121, 71)));
  view.FrameStyle = rpFrameStyle::Double;
  EXPECT_EQ(view.GetClipRgn(false), QRect(QPoint(6, 6), QPoint(114, 64)));
}

QImage Canvas() {
  QImage image(120, 120, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

TEST_F(ViewTest, FrameAndBackgroundDrawOnTheirSides) {
  TestTextView view;
  view.SetGeometry(10, 10, 50, 50);
  view.FrameTyp = rpFrameSide::Left | rpFrameSide::Bottom;
  view.FrameColor = 0xFF;  // red
  view.FillColor = 0xFF0000;  // blue
  QImage image = Canvas();
  {
    QPainter painter(&image);
    view.Draw(painter);
  }
  EXPECT_EQ(image.pixelColor(10, 30), QColor(Qt::red));  // left side
  EXPECT_EQ(image.pixelColor(30, 60), QColor(Qt::red));  // bottom side
  EXPECT_EQ(image.pixelColor(30, 30), QColor(Qt::blue));  // fill
  EXPECT_EQ(image.pixelColor(30, 10), QColor(Qt::blue));  // no top side
}

TEST_F(ViewTest, DoubleAndPatternedFramesDrawAcrossTheSide) {
  TestTextView view;
  view.SetGeometry(20, 20, 60, 60);
  view.FrameTyp = rpFrameSide::Left;
  view.FrameColor = 0xFF;  // red
  view.FillColor = 0x00FF00;  // green
  view.FrameWidth = 2;
  view.FrameStyle = rpFrameStyle::Double;
  QImage image = Canvas();
  {
    QPainter painter(&image);
    view.Draw(painter);
  }
  // Lines two units either side of the side, the fill colour between them.
  EXPECT_EQ(image.pixelColor(18, 50), QColor(Qt::red));
  EXPECT_EQ(image.pixelColor(22, 50), QColor(Qt::red));
  EXPECT_EQ(image.pixelColor(20, 50), QColor(Qt::green));

  view.FrameStyle = rpFrameStyle::Dash;
  view.FrameWidth = 3;
  image = Canvas();
  {
    QPainter painter(&image);
    view.Draw(painter);
  }
  // Three one-pixel dashed lines centred on the side: some of each column is red.
  for (int x : {19, 20, 21}) {
    int red = 0;
    for (int y = 20; y < 80; ++y) red += image.pixelColor(x, y) == QColor(Qt::red);
    EXPECT_GT(red, 10) << x;
    EXPECT_LT(red, 60) << x;
  }
}

TEST_F(ViewTest, LineTurnsHorizontalOrVertical) {
  struct Case {
    int width, height;
    bool vertical;
  };
  for (const Case& c : {Case{100, 100, true}, Case{100, 20, false}, Case{5, 80, true}}) {
    TrpLineView line;
    line.SetGeometry(10, 10, c.width, c.height);
    line.FrameColor = 0xFF;
    QImage image(200, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
      QPainter painter(&image);
      line.Draw(painter);
    }
    EXPECT_EQ(line.Width == 0, c.vertical);
    EXPECT_EQ(line.FrameTyp, c.vertical ? rpFrameSide::Left : rpFrameSide::Top);
    const QPoint probe = c.vertical ? QPoint(10, 10 + c.height / 2) : QPoint(10 + c.width / 2, 10);
    EXPECT_EQ(image.pixelColor(probe), QColor(Qt::red));
  }
}

// Dark pixels inside the box (the frame left out).
int MarkPixels(const QImage& image) {
  int dark = 0;
  for (int y = 14; y < 56; ++y) {
    for (int x = 14; x < 56; ++x) dark += qGray(image.pixel(x, y)) < 128;
  }
  return dark;
}

TEST_F(ViewTest, CheckBoxDrawsTheMarkOnlyForTrueValues) {
  struct Case {
    const char* line;
    bool mark;
  };
  for (const Case& c : {Case{"0", false}, Case{"", false}, Case{"1", true}, Case{"2", true}, Case{"-1", true}}) {
    TrpCheckBoxView box;
    box.SetGeometry(10, 10, 50, 50);
    box.IsPrinting = true;
    box.Memo = QStringList{QString::fromLatin1(c.line)};
    QImage image = Canvas();
    {
      QPainter painter(&image);
      box.Draw(painter);
    }
    EXPECT_EQ(MarkPixels(image) > 20, c.mark) << c.line;
  }
  TrpCheckBoxView design;  // outside a build the mark always shows
  design.SetGeometry(10, 10, 50, 50);
  QImage image = Canvas();
  {
    QPainter painter(&image);
    design.Draw(painter);
  }
  EXPECT_GT(MarkPixels(image), 20);
}

TEST_F(ViewTest, CheckBoxPreparesRoundedValuesAndExportsX) {
  struct Case {
    const char* expression;
    const char* stored;
    const char* exported;
  };
  for (const Case& c : {Case{"0.5", "0", ""}, Case{"0.75", "1", "X"}, Case{"1.5", "2", "X"}, Case{"3-3", "0", ""}}) {
    auto* box = static_cast<TrpCheckBoxView*>(page->Add(rpCreateObject(rpObjectType::AddIn, QStringLiteral("TrpCheckBoxView"))));
    box->Name = QStringLiteral("Check1");
    box->Memo = QStringList{QString::fromLatin1(c.expression)};
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    box->Print(buffer);
    buffer.close();
    buffer.open(QIODevice::ReadOnly);
    EXPECT_EQ(rpReadByte(buffer), rpObjectType::AddIn);
    EXPECT_EQ(rpReadString(buffer), QStringLiteral("TrpCheckBoxView"));
    TrpCheckBoxView copy;
    copy.PreparedMode = true;
    copy.ReadFromStream(buffer, kRpStreamVersion);
    EXPECT_EQ(copy.Memo, QStringList{QString::fromLatin1(c.stored)}) << c.expression;
    EXPECT_EQ(copy.ExportText(), QString::fromLatin1(c.exported)) << c.expression;
    page->Clear();
  }
}

TEST_F(ViewTest, CheckBoxDefaultsAndOldStreams) {
  TrpCheckBoxView box;
  EXPECT_EQ(box.Typ, rpObjectType::AddIn);
  EXPECT_EQ(box.FrameTyp, rpFrameSide::All);
  EXPECT_EQ(box.FrameWidth, 2.0);
  EXPECT_EQ(rpGlobals().Variables().Variable(QStringLiteral("csCheck")).ToInteger(), 1);
  const TrpPropRec* style = box.FindProperty(QStringLiteral("checkstyle"));
  ASSERT_NE(style, nullptr);
  EXPECT_EQ(style->enumNames, (QStringList{QStringLiteral("csCross"), QStringLiteral("csCheck")}));
  box.SetPropValue(QStringLiteral("CheckStyle"), 1);
  EXPECT_EQ(box.GetPropValue(QStringLiteral("CHECKSTYLE")).ToInteger(), 1);

  Bytes v23;
  v23.s("Check1");
  Block(v23, 1, 15, 2, 0, kRpNoColor).i(0).s("").list({"1"}).list({}).w(0xFFFF);
  TrpCheckBoxView old;
  ReadBuffer buffer(v23.data());
  old.ReadFromStream(buffer, 23);
  EXPECT_TRUE(buffer.atEnd());
  EXPECT_EQ(old.CheckStyle, rpCheckStyle::csCross);
  EXPECT_EQ(old.CheckColor, 0);
}

TEST_F(ViewTest, BandViewPropertiesFollowItsType) {
  TrpBandView band;
  band.SetBandType(0x80 | rpBand::PageFooter);
  EXPECT_EQ(band.BandType(), rpBand::PageFooter);
  EXPECT_NE(band.FindProperty(QStringLiteral("OnLastPage")), nullptr);
  EXPECT_EQ(band.FindProperty(QStringLiteral("ChildBand")), nullptr);
  EXPECT_EQ(band.FindProperty(QStringLiteral("FrameWidth")), nullptr);
  EXPECT_EQ(band.Flags, 48);

  TrpBandView data;
  data.SetBandType(rpBand::MasterData);
  EXPECT_NE(data.FindProperty(QStringLiteral("DataSource")), nullptr);
  EXPECT_EQ(data.FindProperty(QStringLiteral("OnLastPage")), nullptr);
  data.SetPropValue(QStringLiteral("FormNewPage"), true);
  data.SetPropValue(QStringLiteral("DataSource"), QStringLiteral("Table1"));
  EXPECT_EQ(data.Flags, 48 | rpBandFlag::FormNewPage);
  EXPECT_EQ(data.DataSource(), QStringLiteral("Table1"));
  EXPECT_TRUE(data.GetPropValue(QStringLiteral("EOF")).ToBoolean());

  TrpUserDataset records;
  records.SetRangeEnd(reCount);
  records.SetRangeEndCount(2);
  data.RunTimeDataSet = &records;
  data.DoMethod(QStringLiteral("FIRST"), {}, {}, {});
  EXPECT_FALSE(data.GetPropValue(QStringLiteral("EOF")).ToBoolean());
  data.DoMethod(QStringLiteral("next"), {}, {}, {});
  data.DoMethod(QStringLiteral("NEXT"), {}, {}, {});
  EXPECT_TRUE(data.GetPropValue(QStringLiteral("EOF")).ToBoolean());
}

TEST_F(ViewTest, GetBandFindsTheLastBandHoldingTheCorner) {
  auto* header = static_cast<TrpBandView*>(page->Add(std::make_unique<TrpBandView>()));
  header->SetGeometry(0, 0, 700, 50);
  auto* data = static_cast<TrpBandView*>(page->Add(std::make_unique<TrpBandView>()));
  data->SetGeometry(0, 40, 700, 50);
  EXPECT_EQ(AddText(QStringLiteral("A"), 10, 10, 5, 5)->GetBand(), header);
  EXPECT_EQ(AddText(QStringLiteral("B"), 10, 45, 5, 5)->GetBand(), data);
  EXPECT_EQ(AddText(QStringLiteral("C"), 10, 95, 5, 5)->GetBand(), nullptr);
}

TEST_F(ViewTest, FactoryCreatesByTypeAndClassName) {
  EXPECT_EQ(rpCreateObject(rpObjectType::Memo, {})->ClassName(), QStringLiteral("TrpMemoView"));
  {
    TextObjectFactory text;
    EXPECT_EQ(rpCreateObject(rpObjectType::Memo, {})->Typ, rpObjectType::Memo);
  }
  EXPECT_EQ(rpCreateObject(rpObjectType::Line, {})->Typ, rpObjectType::Line);
  EXPECT_EQ(rpCreateObject(7, {}), nullptr);
  const int before = rpCreateObject(rpObjectType::Band, {})->SerialNumber();
  EXPECT_EQ(rpCreateObject(rpObjectType::Band, {})->SerialNumber(), before + 1);
  try {
    rpCreateObject(rpObjectType::AddIn, QStringLiteral("TrpChartView"));
    FAIL();
  } catch (const EClassNotFound& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("TrpChartView"));
  }
  rpRegisterObject(QStringLiteral("TrpCheckBoxView"), {}, {}, {});  // already there: ignored
  EXPECT_EQ(rpAddInClasses().size(), 1u);
}

}  // namespace

namespace {

TEST(ReportGraphicsTest, StoredFontNamesAndColourWordsMapToThisSystem) {
  struct FontCase {
    const char* stored;
    const char* drawn;
  };
  for (const FontCase& c : {FontCase{"Arial", "Liberation Sans"}, FontCase{"times new roman", "Liberation Serif"},
                            FontCase{"Courier New", "Liberation Mono"}, FontCase{"Tahoma", "Tahoma"}}) {
    EXPECT_EQ(rpFontFamily(QString::fromLatin1(c.stored)), QString::fromLatin1(c.drawn)) << c.stored;
  }
  TrpFont font;
  font.style = rpFontStyle::Bold | rpFontStyle::Underline;
  const QFont qfont = font.ToQFont();
  EXPECT_EQ(qfont.family(), QStringLiteral("Liberation Sans"));
  EXPECT_TRUE(qfont.bold() && qfont.underline() && !qfont.italic());

  EXPECT_EQ(rpToQColor(0x0000FF), QColor(Qt::red));
  EXPECT_EQ(rpToQColor(0xFF0000), QColor(Qt::blue));
  EXPECT_EQ(rpToQColor(kRpNoColor).alpha(), 0);
  EXPECT_EQ(rpToQColor(static_cast<int32_t>(0xFF000005u)), QColor(Qt::white));  // clWindow
}

}  // namespace
