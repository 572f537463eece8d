// The picture view.
#include "report/engine/RP_PictureView.h"

#include "report/engine/RP_Errors.h"
#include "report/engine/RP_Globals.h"
#include "report/engine/RP_StringTable.h"
#include "report/engine/RP_Utils.h"

#include <QFileInfo>
#include <QPainter>

namespace {

[[noreturn]] void PictureDamaged() { throw ErpLoadError(rpLoadStr(rpStrings::UnsupportedFormat)); }

int KindOfBlob(int blobType) {
  switch (blobType) {
    case rpBlobType::btJPG:
      return rpGraphicKind::Jpeg;
    case rpBlobType::btICO:
      return rpGraphicKind::Icon;
    case rpBlobType::btWMF:
      return rpGraphicKind::Metafile;
    default:
      return rpGraphicKind::Bitmap;
  }
}

}  // namespace

TrpPictureView::TrpPictureView() {
  Typ = rpObjectType::Picture;
  Flags = rpPictureFlag::Stretched | rpPictureFlag::KeepAspect;
  SetBaseName(QStringLiteral("Picture"));
  TrpVariables& constants = rpGlobals().Constants();
  constants.SetVariable(QStringLiteral("btBMP"), rpBlobType::btBMP);
  constants.SetVariable(QStringLiteral("btJPG"), rpBlobType::btJPG);
  constants.SetVariable(QStringLiteral("btICO"), rpBlobType::btICO);
  constants.SetVariable(QStringLiteral("btWMF"), rpBlobType::btWMF);
}

void TrpPictureView::DeclareProperties() {
  TrpView::DeclareProperties();
  AddProperty(QStringLiteral("Picture"), rpProp::WithEditor, true);
  AddProperty(QStringLiteral("Stretched"), rpProp::Boolean);
  AddProperty(QStringLiteral("Center"), rpProp::Boolean);
  AddProperty(QStringLiteral("KeepAspect"), rpProp::Boolean);
  AddProperty(QStringLiteral("DataField"), rpProp::Text, true);
  AddEnumProperty(QStringLiteral("BlobType"), QStringLiteral("btBMP;btJPG;btICO;btWMF"), {0, 1, 2, 3});
}

void TrpPictureView::SetPropValue(const QString& name, const TrpValue& value) {
  const QString n = name.toUpper();
  auto flag = [this, &value](int bit) { Flags = value.ToBoolean() ? (Flags | bit) : (Flags & ~bit); };
  if (n == QLatin1String("CENTER")) {
    flag(rpPictureFlag::Center);
  } else if (n == QLatin1String("KEEPASPECT")) {
    flag(rpPictureFlag::KeepAspect);
  } else if (n == QLatin1String("BLOBTYPE")) {
    BlobType = static_cast<uint8_t>(value.ToInteger());
  } else if (n == QLatin1String("PICTURE")) {
    // A file name, as LOADFROMFILE takes it once evaluated.
    const QString file = value.ToString();
    if (file.isEmpty() || !QFileInfo::exists(file) || !Picture.LoadFromFile(file)) Picture.Clear();
  } else {
    TrpView::SetPropValue(name, value);
  }
}

TrpValue TrpPictureView::GetPropValue(const QString& name) {
  const QString n = name.toUpper();
  if (n == QLatin1String("CENTER")) return (Flags & rpPictureFlag::Center) != 0;
  if (n == QLatin1String("KEEPASPECT")) return (Flags & rpPictureFlag::KeepAspect) != 0;
  if (n == QLatin1String("BLOBTYPE")) return static_cast<int>(BlobType);
  if (n == QLatin1String("PICTURE")) return !Picture.IsEmpty();
  return TrpView::GetPropValue(name);
}

TrpValue TrpPictureView::DoMethod(const QString& name, const QString& p1, const QString& p2, const QString& p3) {
  if (name.toUpper() == QLatin1String("LOADFROMFILE")) {
    const QString file = rpGlobals().Parser().Calc(p1).ToString();
    if (file.isEmpty() || !QFileInfo(file).isFile() || !Picture.LoadFromFile(file)) Picture.Clear();
    return TrpValue::Null();
  }
  return TrpView::DoMethod(name, p1, p2, p3);
}

void TrpPictureView::LoadFromBlob(const QByteArray& data, bool isNull) {
  if (isNull) {
    Picture.Clear();
  } else {
    Picture.Assign(KindOfBlob(BlobType), data);
  }
}

QRect TrpPictureView::PictureRect(const QRect& rect) const {
  const QSize size = Picture.Size();
  if (size.isEmpty()) return rect;
  QRect r = rect;
  if (Flags & rpPictureFlag::Stretched) {
    if (Flags & rpPictureFlag::KeepAspect) {
      const double kx = static_cast<double>(rect.width()) / size.width();
      const double ky = static_cast<double>(rect.height()) / size.height();
      if (kx >= ky) {
        r.setWidth(rpRound(size.width() * ky));
      } else {
        r.setHeight(rpRound(size.height() * kx));
      }
      if (Flags & rpPictureFlag::Center) r.translate((rect.width() - r.width()) / 2, (rect.height() - r.height()) / 2);
    }
  } else {
    r.setSize(QSize(rpRound(size.width() * ScaleX), rpRound(size.height() * ScaleY)));
    if (Flags & rpPictureFlag::Center) r.translate((rect.width() - r.width()) / 2, (rect.height() - r.height()) / 2);
  }
  return r;
}

void TrpPictureView::Draw(QPainter& canvas) {
  BeginDraw(&canvas);
  CalcGaps();
  ShowBackground();
  const QRect rect(Left, Top, Width, Height);
  if (!Picture.IsEmpty()) {
    canvas.save();
    canvas.setClipRect(rect);
    canvas.setRenderHint(QPainter::SmoothPixmapTransform);
    const bool printer = canvas.device() && canvas.device()->devType() == QInternal::Printer;
    Picture.Draw(canvas, PictureRect(rect), IsPrinting && printer);
    canvas.restore();
  } else if (!IsPrinting || Picture.Kind() != rpGraphicKind::None) {
    // The empty picture: outside a build, or where the bytes could not be decoded.
    canvas.save();
    canvas.setClipRect(rect);
    canvas.setPen(QPen(Qt::gray, 0));
    canvas.drawRect(Left + 1, Top + 2, 15, 15);
    canvas.drawLine(Left + 1, Top + 2, Left + 16, Top + 17);
    QFont font = TrpFont{}.ToQFont();
    font.setPointSize(8);
    canvas.setFont(font);
    canvas.setPen(Qt::black);
    canvas.drawText(QRect(Left + 20, Top + 3, std::max(0, Width - 20), std::max(0, Height - 3)),
                    Qt::AlignLeft | Qt::AlignTop, QStringLiteral("(Empty picture)"));
    canvas.restore();
  }
  ShowFrame();
  RestoreCoord();
}

void TrpPictureView::WriteToStream(QIODevice& stream) {
  TrpView::WriteToStream(stream);
  rpWriteByte(stream, static_cast<uint8_t>(Picture.Kind()));
  rpWriteByte(stream, BlobType);
  const qint64 offsetAt = stream.pos();
  rpWriteInt(stream, 0);
  if (stream.write(Picture.Data()) != Picture.Data().size()) throw EWriteError(rpLoadStr(rpStrings::StreamWriteError));
  const qint64 end = stream.pos();
  if (end > INT32_MAX || !stream.seek(offsetAt)) throw EWriteError(rpLoadStr(rpStrings::StreamWriteError));
  rpWriteInt(stream, static_cast<int32_t>(end));
  if (!stream.seek(end)) throw EWriteError(rpLoadStr(rpStrings::StreamWriteError));
}

void TrpPictureView::ReadFromStream(QIODevice& stream, int version) {
  TrpView::ReadFromStream(stream, version);
  const int kind = rpReadByte(stream);
  if (kind > rpGraphicKind::Jpeg) PictureDamaged();
  if (VersionMajor * 10 + VersionMinor > 10) BlobType = rpReadByte(stream);
  const qint64 end = rpReadInt(stream);
  if (end < stream.pos() || end > stream.size()) PictureDamaged();
  QByteArray bytes;
  if (kind != rpGraphicKind::None) {
    const qint64 length = end - stream.pos();
    bytes = stream.read(length);
    if (bytes.size() != length) PictureDamaged();
  }
  if (!stream.seek(end)) PictureDamaged();
  Picture.Assign(kind, std::move(bytes));
}
