// Lazy decoding and drawing of pictures.
#include "report/engine/RP_Graphic.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>

TrpGraphic::TrpGraphic() = default;

TrpGraphic::~TrpGraphic() = default;

void TrpGraphic::Assign(int kind, QByteArray data) {
  kind_ = data.isEmpty() ? rpGraphicKind::None : kind;
  data_ = kind_ == rpGraphicKind::None ? QByteArray() : std::move(data);
  decoded_ = false;
  image_ = QImage();
  svg_.reset();
  size_ = QSize();
}

bool TrpGraphic::LoadFromFile(const QString& fileName) {
  const QString suffix = QFileInfo(fileName).suffix().toLower();
  int kind = rpGraphicKind::None;
  if (suffix == QLatin1String("bmp") || suffix == QLatin1String("png")) {
    kind = rpGraphicKind::Bitmap;
  } else if (suffix == QLatin1String("ico")) {
    kind = rpGraphicKind::Icon;
  } else if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg")) {
    kind = rpGraphicKind::Jpeg;
  } else if (suffix == QLatin1String("wmf") || suffix == QLatin1String("emf")) {
    kind = rpGraphicKind::Metafile;
  }
  QFile file(fileName);
  if (kind == rpGraphicKind::None || !file.open(QIODevice::ReadOnly)) {
    Clear();
    return false;
  }
  Assign(kind, file.readAll());
  return !IsEmpty();
}

void TrpGraphic::Decode() const {
  if (decoded_) return;
  decoded_ = true;
  if (kind_ == rpGraphicKind::None) return;
  if (kind_ == rpGraphicKind::Metafile) {
    const QByteArray svg = rpIsEmf(data_) ? rpEmfToSvg(data_) : rpWmfToSvg(data_);
    if (svg.isEmpty()) return;
    auto renderer = std::make_unique<QSvgRenderer>(svg);
    const QSize size = renderer->defaultSize();
    if (!renderer->isValid() || size.isEmpty() || size.width() > kRpMaxPictureSide ||
        size.height() > kRpMaxPictureSide) {
      return;
    }
    svg_ = std::move(renderer);
    size_ = size;
    return;
  }
  QBuffer buffer;
  buffer.setData(data_);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  // The header's size is checked before any pixel is allocated.
  const QSize size = reader.size();
  if (!size.isValid() || size.isEmpty() || size.width() > kRpMaxPictureSide || size.height() > kRpMaxPictureSide) return;
  reader.setAllocationLimit(401);  // MB: 10,000 x 10,000 pixels of four bytes
  QImage image;
  if (!reader.read(&image) || image.isNull()) return;
  image_ = std::move(image);
  size_ = image_.size();
}

bool TrpGraphic::IsEmpty() const {
  Decode();
  return image_.isNull() && !svg_;
}

QSize TrpGraphic::Size() const {
  Decode();
  return size_;
}

void TrpGraphic::Draw(QPainter& painter, const QRect& target, bool printing) const {
  Decode();
  if (svg_) {
    svg_->render(&painter, QRectF(target));
  } else if (!image_.isNull()) {
    if (!printing) {
      painter.drawImage(target, image_);
      return;
    }
    // Transparent parts come out as the paper's white.
    QImage plain(image_.size(), QImage::Format_RGB888);
    plain.fill(Qt::white);
    QPainter(&plain).drawImage(0, 0, image_);
    painter.drawImage(target, plain);
  }
}

QImage TrpGraphic::ToImage() const {
  Decode();
  if (!svg_) return image_;
  QImage image(size_, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  svg_->render(&painter);
  return image;
}
