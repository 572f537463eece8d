// Feeds arbitrary bytes to the picture decoders (bitmap, icon, JPEG, PNG, WMF, EMF) and
// to the picture record. The first byte picks the kind or the record; a picture that
// cannot be decoded, or claims too much, must come out empty without a crash or a huge
// allocation.
#include "platform/Exception.h"
#include "report/engine/RP_PictureView.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void Setup() {
  static int argc = 1;
  static char name[] = "report_picture_fuzz";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Kept for the whole process: the placeholder's caption needs fonts.
  static QGuiApplication* app = new QGuiApplication(argc, argv);
  (void)app;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Setup();
  if (size == 0) return 0;
  const QByteArray bytes(reinterpret_cast<const char*>(data) + 1, static_cast<qsizetype>(size - 1));
  const int selector = data[0] % 6;
  TrpPictureView view;
  view.SetGeometry(0, 0, 64, 64);
  if (selector == 5) {
    QBuffer in;
    in.setData(bytes);
    in.open(QIODevice::ReadOnly);
    try {
      view.ReadFromStream(in, 25);
      if (in.pos() > in.size()) std::abort();
    } catch (const Exception&) {
      return 0;
    }
  } else {
    view.Picture.Assign(selector, bytes);
  }
  const QSize picture = view.Picture.Size();
  if (picture.width() > kRpMaxPictureSide || picture.height() > kRpMaxPictureSide) std::abort();
  QImage canvas(64, 64, QImage::Format_RGB32);
  canvas.fill(Qt::white);
  QPainter painter(&canvas);
  view.Draw(painter);
  return 0;
}
