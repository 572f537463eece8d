// Prepared pages: the object streams the bands write, the prepared-report file with its
// older layouts, damage that must leave the shown pages alone, and culling.
#include "ReportFakes.h"
#include "ReportObjectsSupport.h"
#include "ReportTestSupport.h"
#include "report/engine/RP_EMFPages.h"
#include "report/engine/RP_LineView.h"
#include "report/engine/RP_MemoView.h"
#include "report/engine/RP_PictureView.h"

#include <QImage>

namespace {

class EMFPagesTest : public ReportEngineTest {
protected:
  void SetUp() override {
    ReportEngineTest::SetUp();
    paper.MarginLeft = 36;
    paper.MarginTop = 20;
    paper.Bin = 3;
  }

  // Prints a view into the page as a band would.
  static void PrintInto(TrpEMFPages& pages, int index, TrpView& view) { view.Print(pages.PageStream(index)); }

  // Two pages: a memo and a line on the first, nothing on the second.
  void Fill(TrpEMFPages& pages) {
    TrpMemoView memo;
    memo.Name = QStringLiteral("Memo1");
    memo.SetGeometry(10, 10, 200, 30);
    memo.Memo = QStringList{QStringLiteral("hello"), QStringLiteral("world")};
    TrpLineView line;
    line.Name = QStringLiteral("Line1");
    line.SetGeometry(0, 50, 300, 0);
    const int first = pages.Add(paper);
    PrintInto(pages, first, memo);
    PrintInto(pages, first, line);
    pages.Add(paper);
  }

  static QByteArray Save(TrpEMFPages& pages) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    pages.WriteToStream(buffer);
    return buffer.data();
  }
  static bool Load(TrpEMFPages& pages, const QByteArray& bytes) {
    ReadBuffer buffer(bytes);
    return pages.ReadFromStream(buffer);
  }

  FakeWindows windows;
  TrpPage paper;
};

TEST_F(EMFPagesTest, FileBytesForNoPageAndOnePage) {
  TrpEMFPages pages;
  pages.PrinterName = QStringLiteral("P");
  EXPECT_EQ(Save(pages), Bytes().b(25).b(0).s("P").i(0).b(88).data());

  pages.Add(paper);
  TrpLineView line;
  line.Name = QStringLiteral("L");
  PrintInto(pages, 0, line);
  const QByteArray objects = pages.Pages(0).Bytes;
  ASSERT_EQ(objects.at(0), 25);
  EXPECT_EQ(objects.at(1), rpObjectType::Line);

  Bytes expected;
  expected.b(25).b(0).s("P").i(1);
  const qsizetype pageStart = expected.size();
  const qsizetype pageEnd = pageStart + 4 + 2 + 8 + 1 + 4 + 1 + 16 + objects.size();
  expected.i(pageEnd).w(9).i(2100).i(2970).b(0).i(3).b(1).i(36).i(20).i(0).i(0).raw(objects).b(88);
  EXPECT_EQ(Save(pages), expected.data());
}

TEST_F(EMFPagesTest, FileRoundTripsPagesPaperAndObjects) {
  TrpEMFPages pages;
  pages.PrinterName = QStringLiteral("Office");
  Fill(pages);
  const QByteArray bytes = Save(pages);

  TrpEMFPages back;
  ASSERT_TRUE(Load(back, bytes)) << back.LastError().toStdString();
  EXPECT_EQ(Save(back), bytes);
  ASSERT_EQ(back.Count(), 2);
  EXPECT_EQ(back.PrinterName, QStringLiteral("Office"));
  EXPECT_EQ(back.Pages(0).MarginLeft, 36);
  EXPECT_EQ(back.Pages(0).Bin, 3);
  TrpPage* page = back.PageToObjects(0);
  ASSERT_EQ(page->Objects().size(), 2u);
  auto* memo = dynamic_cast<TrpMemoView*>(page->Objects()[0].get());
  ASSERT_NE(memo, nullptr);
  EXPECT_EQ(memo->Memo, (QStringList{QStringLiteral("hello"), QStringLiteral("world")}));
  EXPECT_FALSE(memo->PreparedMode);
  EXPECT_EQ(page->Objects()[1]->Typ, rpObjectType::Line);
  EXPECT_TRUE(back.PageToObjects(1)->Objects().empty());

  // Rewriting the stream from the rebuilt objects gives the same records.
  const QByteArray before = back.Pages(0).Bytes;
  back.ObjectsToPage(0);
  EXPECT_EQ(back.Pages(0).Bytes, before);
}

TEST_F(EMFPagesTest, VersionAndLayoutFollowTheFirstBytes) {
  // A page in the layout without bin and margins, holding no objects.
  auto oldPage = [](Bytes& file) {
    const qsizetype end = file.size() + 4 + 2 + 8 + 1 + 1 + 1;
    file.i(end).w(9).i(2100).i(2970).b(1).b(0).b(25);
  };
  struct Case {
    const char* name;
    Bytes file;
    bool loads;
    int bin;
  };
  std::vector<Case> cases;
  {
    Bytes f;  // no version byte: the first byte is the compressed flag
    f.b(0).s("P").i(1);
    oldPage(f);
    f.b(7);
    cases.push_back({"flag 0 without version", f, true, -1});
  }
  for (int flag : {1, 255}) {
    Bytes f;
    f.b(flag).s("P").i(1);
    oldPage(f);
    f.b(7);
    cases.push_back({"flag 1 or 255 without version", f, true, -1});
  }
  {
    Bytes f;  // version 24: bin and margins
    f.b(24).b(0).s("P").i(1);
    const qsizetype end = f.size() + 4 + 2 + 8 + 1 + 4 + 1 + 16 + 1;
    f.i(end).w(9).i(2100).i(2970).b(0).i(5).b(1).i(1).i(2).i(3).i(4).b(25).b(7);
    cases.push_back({"version 24", f, true, 5});
  }
  {
    Bytes f;  // version 25 with an unknown flag is no current file; as a legacy one it is damaged
    f.b(25).b(7).s("P").i(0).b(7);
    cases.push_back({"bad flag", f, false, 0});
  }
  {
    Bytes f;  // version 32 is no version; 32 as a flag means legacy, which this is not
    f.b(32).b(0).s("P").i(0).b(7);
    cases.push_back({"byte 32", f, false, 0});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TrpEMFPages pages;
    ASSERT_EQ(Load(pages, c.file.data()), c.loads) << pages.LastError().toStdString();
    if (!c.loads) continue;
    ASSERT_EQ(pages.Count(), 1);
    EXPECT_EQ(pages.Pages(0).Bin, c.bin);
    EXPECT_EQ(pages.GeneratorVersion, 7);
    EXPECT_EQ(pages.Pages(0).MarginTop, c.bin == -1 ? 0 : 2);
  }
}

TEST_F(EMFPagesTest, LegacyMetafilePageBecomesOnePictureOverThePage) {
  const QByteArray metafile("\xD7\xCD\xC6\x9A metafile bytes", 20);
  Bytes file;
  file.raw("HP LaserJet").b(13).raw("second").b(0).i(1);
  const qsizetype end = file.size() + 4 + 2 + 8 + 1 + 1 + metafile.size();
  file.i(end).w(9).i(2100).i(2970).b(0).b(1).raw(metafile);

  TrpEMFPages pages;
  ASSERT_TRUE(Load(pages, file.data())) << pages.LastError().toStdString();
  EXPECT_EQ(pages.PrinterName, QStringLiteral("HP LaserJet"));
  ASSERT_EQ(pages.Count(), 1);
  TrpPage* page = pages.PageToObjects(0);
  ASSERT_EQ(page->Objects().size(), 1u);
  auto* picture = dynamic_cast<TrpPictureView*>(page->Objects()[0].get());
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(QRect(picture->Left, picture->Top, picture->Width, picture->Height), QRect(0, 0, 756, 1069));
  EXPECT_EQ(picture->Picture.Kind(), rpGraphicKind::Metafile);
  EXPECT_EQ(picture->Picture.Data(), metafile);
}

TEST_F(EMFPagesTest, DamagedFilesKeepThePagesShown) {
  TrpEMFPages source;
  Fill(source);
  const QByteArray bytes = Save(source);

  TrpEMFPages shown;
  shown.Add(paper);
  TrpLineView line;
  PrintInto(shown, 0, line);
  const QByteArray shownBytes = shown.Pages(0).Bytes;
  for (qsizetype cut = 0; cut < bytes.size(); ++cut) {
    SCOPED_TRACE(cut);
    ASSERT_FALSE(Load(shown, bytes.left(cut)));
    ASSERT_EQ(shown.Count(), 1);
    ASSERT_EQ(shown.Pages(0).Bytes, shownBytes);
  }
  EXPECT_FALSE(shown.LastError().isEmpty());

  // Offsets backward or past the end, and records that are no objects.
  const qsizetype firstOffset = 1 + 1 + 3 + 4;
  for (int32_t offset : {0, int32_t(firstOffset), int32_t(bytes.size() + 1), -1}) {
    QByteArray damaged = bytes;
    qToLittleEndian(offset, damaged.data() + firstOffset);
    EXPECT_FALSE(Load(shown, damaged)) << offset;
  }
  QByteArray badType = bytes;
  badType[firstOffset + 36 + 1] = 7;  // the first object's type byte
  EXPECT_FALSE(Load(shown, badType));
  EXPECT_EQ(shown.Count(), 1);
  EXPECT_TRUE(Load(shown, bytes));
  EXPECT_EQ(shown.Count(), 2);
}

// Which objects of the rebuilt page were handed the canvas (Draw gives each drawn
// object its scales and the printing flag first).
std::vector<bool> DrawnObjects(TrpEMFPages& pages, int index) {
  std::vector<bool> drawn;
  for (const auto& view : pages.PageToObjects(index)->Objects()) drawn.push_back(view->IsPrinting);
  return drawn;
}

TEST_F(EMFPagesTest, DrawSkipsObjectsOutsideTheVisibleAreaExceptOnThePrinter) {
  TrpEMFPages pages;
  const int index = pages.Add(paper);
  struct Place {
    int left, top;
  };
  // Inside; 5 units past the right edge (within the 10-pixel margin); far outside.
  for (Place p : {Place{10, 10}, Place{105, 10}, Place{500, 500}}) {
    TrpLineView view;
    view.SetGeometry(p.left, p.top, 20, 20);
    PrintInto(pages, index, view);
  }
  QImage image(100, 100, QImage::Format_RGB32);
  QPainter painter(&image);
  const QRect pageRect(0, 0, 756, 1069);  // one pixel to a unit

  pages.Draw(index, painter, pageRect);
  EXPECT_EQ(pages.Pages(index).Page, nullptr) << "pages not in use draw nothing";
  pages.Pages(index).InUse = true;
  pages.Draw(index, painter, pageRect);
  EXPECT_EQ(DrawnObjects(pages, index), (std::vector<bool>{true, true, false}));
  pages.Pages(index).InUse = false;
  pages.Draw(index, painter, pageRect);  // frees the rebuilt page
  pages.Pages(index).InUse = true;
  pages.Draw(index, painter, pageRect, true);
  EXPECT_EQ(DrawnObjects(pages, index), (std::vector<bool>{true, true, true}));
  pages.Pages(index).InUse = false;
  pages.Draw(index, painter, pageRect);
  EXPECT_EQ(pages.Pages(index).Page, nullptr);
}

// On paper (a device of 300 dpi or more) the page's plain text is gathered and drawn
// in few pieces: it must land exactly where each memo on its own draws it, and stay
// under what is drawn after it (a filled memo over a text).
TEST_F(EMFPagesTest, TextGatheredOnPaperLandsWhereEachMemoDrawsIt) {
  TrpEMFPages pages;
  const int index = pages.Add(paper);
  struct Memo {
    QRect box;
    QStringList lines;
    int32_t color;
    int32_t fill;
  };
  const Memo memos[] = {
      {{10, 10, 200, 30}, {QStringLiteral("HIDDEN")}, 0, kRpNoColor},
      {{5, 5, 220, 40}, {}, 0, kRpWhite},  // covers the one before
      {{10, 60, 200, 60}, {QStringLiteral("Shown"), QStringLiteral("twice")}, 0, kRpNoColor},
      {{10, 130, 200, 30}, {QStringLiteral("Red")}, 0x0000FF, kRpNoColor},
      {{10, 160, 200, 30}, {QStringLiteral("Black again")}, 0, kRpNoColor},
  };
  for (const Memo& m : memos) {
    TrpMemoView memo;
    memo.SetGeometry(m.box.left(), m.box.top(), m.box.width(), m.box.height());
    memo.Memo = m.lines;
    memo.Font.size = 20;
    memo.Font.color = m.color;
    memo.FillColor = m.fill;
    PrintInto(pages, index, memo);
  }
  auto paperImage = [] {
    QImage image(300, 220, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(1200 / 0.0254));
    image.setDotsPerMeterY(qRound(1200 / 0.0254));
    image.fill(Qt::white);
    return image;
  };
  QImage gathered = paperImage();
  pages.Pages(index).InUse = true;
  {
    QPainter painter(&gathered);
    pages.Draw(index, painter, QRect(0, 0, 756, 1069), true);
  }
  QImage alone = paperImage();
  {
    QPainter painter(&alone);
    for (const auto& view : pages.Pages(index).Page->Objects()) view->Draw(painter);
  }
  EXPECT_TRUE(gathered == alone) << "the gathered text lands elsewhere";
  auto darkIn = [&gathered](const QRect& box) {
    int dark = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
      for (int x = box.left(); x <= box.right(); ++x) dark += qGray(gathered.pixel(x, y)) < 128;
    return dark;
  };
  EXPECT_EQ(darkIn(QRect(5, 5, 220, 40)), 0) << "the text under the filled memo shows";
  EXPECT_GT(darkIn(QRect(10, 60, 200, 60)), 0);
  EXPECT_GT(darkIn(QRect(10, 160, 200, 30)), 0);
  int red = 0;
  for (int y = 130; y < 160; ++y)
    for (int x = 10; x < 210; ++x) red += qRed(gathered.pixel(x, y)) > 128 && qGreen(gathered.pixel(x, y)) < 100;
  EXPECT_GT(red, 0);
}

TEST_F(EMFPagesTest, TheReportNeverKeepsAFreedPageAsCurrent) {
  TrpReport report;
  TrpEMFPages pages(&report);
  Fill(pages);
  QImage image(100, 100, QImage::Format_RGB32);
  QPainter painter(&image);
  for (int step = 0; step < 3; ++step) {
    SCOPED_TRACE(step);
    pages.Pages(0).InUse = true;
    pages.Draw(0, painter, QRect(0, 0, 756, 1069));
    ASSERT_NE(report.CurrentPage(), nullptr);
    if (step == 0) {
      pages.Pages(0).InUse = false;
      pages.Draw(0, painter, QRect(0, 0, 756, 1069));
    } else if (step == 1) {
      pages.Delete(0);
      Fill(pages);
    } else {
      pages.Clear();
    }
    EXPECT_EQ(report.CurrentPage(), nullptr);
  }
}

TEST_F(EMFPagesTest, AddInsertDeleteAndTheBeginPageNotice) {
  TrpEMFPages pages;
  std::vector<int> begun;
  pages.OnBeginPage = [&begun](int index) { begun.push_back(index); };
  EXPECT_EQ(pages.Add(paper), 0);
  EXPECT_EQ(pages.Add(paper), 1);
  EXPECT_EQ(begun, (std::vector<int>{0, 1}));
  TrpPage other;
  other.PaperSize = 1;
  pages.Insert(0, other);
  pages.Insert(99, other);
  ASSERT_EQ(pages.Count(), 4);
  EXPECT_EQ(pages.Pages(0).PaperSize, 1);
  EXPECT_EQ(pages.Pages(3).PaperSize, 1);
  EXPECT_EQ(pages.Pages(1).Bytes, QByteArray(1, 25));
  EXPECT_EQ(pages.Pages(1).PageInfo.PrintWidth, 756);
  pages.Delete(0);
  pages.Delete(42);
  EXPECT_EQ(pages.Count(), 3);
  pages.Clear();
  EXPECT_EQ(pages.Count(), 0);
}

TEST_F(EMFPagesTest, ClicksGoToTheTopmostObjectUnderThePoint) {
  TrpEMFPages pages;
  paper.UseMargins = -1;
  const int index = pages.Add(paper);
  for (const char* name : {"Below", "Above"}) {
    TrpLineView line;
    line.Name = QString::fromLatin1(name);
    line.SetGeometry(10, 10, 50, 50);
    PrintInto(pages, index, line);
  }
  QString clicked;
  pages.OnObjectClick = [&clicked](TrpView& view) { clicked = view.Name; };
  Qt::CursorShape cursor = Qt::ArrowCursor;
  EXPECT_TRUE(pages.ObjectClickAt(index, QPoint(20, 20), true, cursor));
  EXPECT_EQ(clicked, QStringLiteral("Above"));
  EXPECT_FALSE(pages.ObjectClickAt(index, QPoint(200, 200), true, cursor));
  EXPECT_FALSE(pages.ObjectClickAt(index, QPoint(20, 20), false, cursor)) << "no mouse-over handler";
}

TEST_F(EMFPagesTest, ExportSendsMemoLinesAndOtherObjects) {
  struct Filter : TrpExportFilter {
    QStringList texts;
    int objects = 0;
    void OnText(const TrpView&, const QString& text, const QRect&, uint16_t) override { texts << text; }
    void OnObject(TrpView&) override { ++objects; }
  } filter;
  TrpEMFPages pages;
  Fill(pages);
  pages.ExportPage(0, filter);
  EXPECT_EQ(filter.texts, (QStringList{QStringLiteral("hello"), QStringLiteral("world")}));
  EXPECT_EQ(filter.objects, 1);
  EXPECT_EQ(pages.Pages(0).Page, nullptr);
}

TEST_F(EMFPagesTest, TextsLongerThanARecordLineAreSplitNotCut) {
  TrpEMFPages pages;
  const int index = pages.Add(paper);
  TrpMemoView memo;
  const QString longLine = QString(40000, u'\u00e9') + QStringLiteral("end");  // 80003 bytes in UTF-8
  memo.Memo = QStringList{longLine};
  PrintInto(pages, index, memo);
  auto* back = dynamic_cast<TrpMemoView*>(pages.PageToObjects(index)->Objects().at(0).get());
  ASSERT_NE(back, nullptr);
  ASSERT_EQ(back->Memo.size(), 2);
  EXPECT_EQ(back->Memo.join(QString()), longLine);

  // Character boundaries: a pair of surrogates stays whole; the mark stays on the end.
  const QString pair = QStringLiteral("\U0001F600");
  const QString marked = QStringLiteral("ab") + pair + QChar(kRpParagraphMark);
  EXPECT_EQ(rpSplitLongLines({marked}, 4),
            (QStringList{QStringLiteral("ab"), pair, QString(QChar(kRpParagraphMark))}));
  EXPECT_EQ(rpSplitLongLines({QStringLiteral("abc")}, 4), QStringList{QStringLiteral("abc")});
}

}  // namespace
