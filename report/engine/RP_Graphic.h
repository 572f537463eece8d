#pragma once
// A picture as report streams carry it: its kind and its bytes, decoded lazily and
// once. Bitmaps, icons, JPEG and PNG are read through QImageReader; Windows metafiles
// become SVG (WMF through libwmf, EMF through libemf2svg) drawn by QSvgRenderer. A
// picture that cannot be decoded, or claims more than 10,000 x 10,000 pixels, draws as
// the empty picture.
#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <memory>

class QPainter;
class QSvgRenderer;

// The graphic kind byte of a picture record.
namespace rpGraphicKind {
constexpr int None = 0, Bitmap = 1, Metafile = 2, Icon = 3, Jpeg = 4;
}

constexpr int kRpMaxPictureSide = 10000;

class TrpGraphic {
public:
  TrpGraphic();
  ~TrpGraphic();
  TrpGraphic(const TrpGraphic&) = delete;
  TrpGraphic& operator=(const TrpGraphic&) = delete;

  int Kind() const { return kind_; }
  const QByteArray& Data() const { return data_; }
  // Takes the bytes of a graphic of that kind; nothing is decoded yet.
  void Assign(int kind, QByteArray data);
  void Clear() { Assign(rpGraphicKind::None, {}); }
  // By the file's extension: .bmp .ico .jpg/.jpeg .png .wmf .emf; false (and empty)
  // when the file cannot be read or its extension is none of them.
  bool LoadFromFile(const QString& fileName);

  // Decodes on first use. Empty when there is nothing to draw.
  bool IsEmpty() const;
  QSize Size() const;
  // Stretched into target. For a printer a raster picture goes as plain 24-bit pixels,
  // whatever its own format, so drivers receive what they all understand.
  void Draw(QPainter& painter, const QRect& target, bool printing = false) const;
  // A raster copy (metafiles rendered at their own size).
  QImage ToImage() const;

private:
  void Decode() const;

  int kind_ = rpGraphicKind::None;
  QByteArray data_;
  mutable bool decoded_ = false;
  mutable QImage image_;
  mutable std::unique_ptr<QSvgRenderer> svg_;
  mutable QSize size_;
};

// A metafile as SVG text; empty when the bytes are no well-formed WMF or EMF.
QByteArray rpWmfToSvg(const QByteArray& wmf);
QByteArray rpEmfToSvg(const QByteArray& emf);
bool rpIsEmf(const QByteArray& bytes);
