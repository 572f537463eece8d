// The picture view: placing the picture in its rectangle, decoding every kind (the
// metafiles from hand-made fixtures), refusing pictures that claim too much, the record
// with its end offset, and loading from files and blobs.
#include "MetafileFixtures.h"
#include "ReportObjectsSupport.h"
#include "ReportTestSupport.h"
#include "report/engine/RP_Errors.h"
#include "report/engine/RP_PictureView.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

QByteArray Encoded(const QImage& image, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, format);
  return bytes;
}

QByteArray GreenPicture(int width, int height, const char* format) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::green);
  return Encoded(image, format);
}

QImage DrawView(TrpView& view) {
  QImage image(120, 120, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  view.Draw(painter);
  return image;
}

using PictureViewTest = ReportEngineTest;

TEST_F(PictureViewTest, PictureIsPlacedByStretchedKeepAspectAndCenter) {
  TrpPictureView view;
  view.Picture.Assign(rpGraphicKind::Bitmap, GreenPicture(200, 100, "PNG"));
  struct Case {
    int flags;
    QRect placed;
  };
  const Case cases[] = {
      {rpPictureFlag::Stretched, {0, 0, 100, 100}},
      {rpPictureFlag::Stretched | rpPictureFlag::KeepAspect, {0, 0, 100, 50}},
      {rpPictureFlag::Stretched | rpPictureFlag::KeepAspect | rpPictureFlag::Center, {0, 25, 100, 50}},
      {0, {0, 0, 200, 100}},
      {rpPictureFlag::Center, {-50, 0, 200, 100}},
  };
  for (const Case& c : cases) {
    view.Flags = static_cast<uint16_t>(c.flags);
    EXPECT_EQ(view.PictureRect(QRect(0, 0, 100, 100)), c.placed) << c.flags;
  }
}

TEST_F(PictureViewTest, EveryRasterKindDecodes) {
  struct Case {
    int kind;
    QByteArray bytes;
  };
  const Case cases[] = {{rpGraphicKind::Bitmap, GreenPicture(8, 4, "BMP")},
                        {rpGraphicKind::Bitmap, GreenPicture(8, 4, "PNG")},
                        {rpGraphicKind::Jpeg, GreenPicture(8, 4, "JPEG")},
                        {rpGraphicKind::Icon, GreenPicture(8, 4, "ICO")}};
  for (const Case& c : cases) {
    TrpGraphic graphic;
    graphic.Assign(c.kind, c.bytes);
    EXPECT_FALSE(graphic.IsEmpty()) << c.kind;
    EXPECT_EQ(graphic.Size(), QSize(8, 4)) << c.kind;
  }
}

TEST_F(PictureViewTest, MetafilesDrawTheirShapes) {
  struct Case {
    const char* name;
    QByteArray bytes;
    QRgb corner;
  };
  // A description offset with no description: the converter must not read from it.
  QByteArray emfStrayOffset = metafile::RedSquareEmf();
  emfStrayOffset[64] = static_cast<char>(emfStrayOffset.size() - 2);
  const Case cases[] = {{"wmf", metafile::RedSquareWmf(), qRgb(0, 0, 255)},
                        {"emf", metafile::RedSquareEmf(), qRgb(255, 255, 255)},
                        {"emf, stray description offset", emfStrayOffset, qRgb(255, 255, 255)}};
  for (const Case& c : cases) {
    TrpPictureView view;
    view.SetGeometry(0, 0, 100, 100);
    view.IsPrinting = true;
    view.Picture.Assign(rpGraphicKind::Metafile, c.bytes);
    ASSERT_FALSE(view.Picture.IsEmpty()) << c.name;
    const QImage image = DrawView(view);
    EXPECT_EQ(image.pixel(50, 50), qRgb(255, 0, 0)) << c.name;
    EXPECT_EQ(image.pixel(20, 80), qRgb(255, 0, 0)) << c.name;
    EXPECT_EQ(image.pixel(4, 4), c.corner) << c.name;
    EXPECT_EQ(image.pixel(96, 50), c.corner) << c.name;
    EXPECT_EQ(image.pixel(110, 110), qRgb(255, 255, 255)) << c.name;  // nothing outside the view
  }
}

TEST_F(PictureViewTest, PicturesClaimingTooMuchAreEmpty) {
  // A bitmap header of 20,000 x 20,000 pixels over a few bytes.
  QByteArray huge = GreenPicture(2, 2, "BMP");
  char x[4];
  qToLittleEndian<int32_t>(20000, x);
  huge.replace(18, 4, QByteArray(x, 4));
  huge.replace(22, 4, QByteArray(x, 4));
  const QByteArray png = GreenPicture(20, 20, "PNG");
  QByteArray wmfCut = metafile::RedSquareWmf();
  wmfCut.chop(6);  // its end record is gone
  QByteArray emfBad = metafile::RedSquareEmf();
  emfBad[88 + 4] = 0x7F;  // a record longer than the file
  QByteArray emfLongDescription = metafile::RedSquareEmf();
  emfLongDescription[60] = 0x7F;  // a description of 127 characters in an 88-byte header
  emfLongDescription[64] = 88;
  struct Case {
    int kind;
    QByteArray bytes;
  };
  const Case cases[] = {{rpGraphicKind::Bitmap, huge},
                        {rpGraphicKind::Bitmap, png.left(png.size() / 2)},
                        {rpGraphicKind::Jpeg, QByteArray("not a picture")},
                        {rpGraphicKind::Metafile, wmfCut},
                        {rpGraphicKind::Metafile, emfBad},
                        {rpGraphicKind::Metafile, emfLongDescription},
                        {rpGraphicKind::Metafile, QByteArray(30, '\0')}};
  for (const Case& c : cases) {
    TrpPictureView view;
    view.SetGeometry(0, 0, 100, 100);
    view.IsPrinting = true;
    view.Picture.Assign(c.kind, c.bytes);
    EXPECT_TRUE(view.Picture.IsEmpty()) << c.bytes.left(16).toHex().toStdString();
    // Drawn as the empty picture, with its caption.
    const QImage image = DrawView(view);
    int dark = 0;
    for (int y = 0; y < 30; ++y) {
      for (int px = 20; px < 100; ++px) dark += qGray(image.pixel(px, y)) < 100;
    }
    EXPECT_GT(dark, 10);
  }
}

TEST_F(PictureViewTest, RecordReadsTheGraphicUpToItsEndOffset) {
  TrpPictureView view;
  view.Name = QStringLiteral("Picture1");
  view.Picture.Assign(rpGraphicKind::Bitmap, GreenPicture(3, 3, "PNG"));
  const QByteArray bytes = WriteView(view) + QByteArray("next");
  ReadBuffer buffer(bytes);
  TrpPictureView copy;
  copy.ReadFromStream(buffer, kRpStreamVersion);
  EXPECT_EQ(buffer.read(4), QByteArray("next"));
  EXPECT_EQ(copy.Picture.Size(), QSize(3, 3));

  // An end offset behind the graphic's start or past the end, or an unknown kind.
  TrpPictureView empty;
  const QByteArray record = WriteView(empty);
  const qsizetype tail = record.size() - 6;
  for (const auto& patch : {std::pair<qsizetype, QByteArray>{tail, QByteArray("\x05", 1)},
                            {tail + 2, Bytes().i(3).data()},
                            {tail + 2, Bytes().i(record.size() + 1).data()}}) {
    QByteArray damaged = record;
    damaged.replace(patch.first, patch.second.size(), patch.second);
    ReadBuffer in(damaged);
    TrpPictureView target;
    EXPECT_THROW(target.ReadFromStream(in, kRpStreamVersion), ErpLoadError);
  }
}

TEST_F(PictureViewTest, LoadFromFileAndFromBlobs) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("logo.png"));
  {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(GreenPicture(5, 6, "PNG"));
  }
  TrpPictureView view;
  view.DoMethod(QStringLiteral("LoadFromFile"), u'\'' + path + u'\'', {}, {});
  EXPECT_EQ(view.Picture.Size(), QSize(5, 6));
  view.DoMethod(QStringLiteral("LOADFROMFILE"), QStringLiteral("'") + dir.filePath(QStringLiteral("none.png")) + u'\'', {},
                {});
  EXPECT_EQ(view.Picture.Kind(), rpGraphicKind::None);

  view.BlobType = rpBlobType::btJPG;
  view.LoadFromBlob(GreenPicture(7, 2, "JPEG"), false);
  EXPECT_EQ(view.Picture.Kind(), rpGraphicKind::Jpeg);
  EXPECT_EQ(view.Picture.Size(), QSize(7, 2));
  view.LoadFromBlob({}, true);
  EXPECT_TRUE(view.Picture.IsEmpty());
  EXPECT_EQ(rpGlobals().Constants().Variable(QStringLiteral("btWMF")).ToInteger(), 3);
}

}  // namespace
