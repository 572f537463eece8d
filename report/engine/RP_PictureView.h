#pragma once
// A picture on the report: bitmap, icon, JPEG, PNG or metafile, from the form, a data
// field (by BlobType) or a file (LOADFROMFILE).
//
// Record tail: graphic kind (byte), BlobType (byte), the end offset (i32, absolute,
// just after the graphic's bytes, patched once they are written), the bytes.
#include "report/engine/RP_Graphic.h"
#include "report/engine/RP_View.h"

namespace rpPictureFlag {
constexpr int Stretched = 1, Center = 2, KeepAspect = 4;
}
namespace rpBlobType {
constexpr int btBMP = 0, btJPG = 1, btICO = 2, btWMF = 3;
}

class TrpPictureView : public TrpView {
public:
  // Also registers btBMP ... btWMF as constants for expressions.
  TrpPictureView();
  QString ClassName() const override { return QStringLiteral("TrpPictureView"); }

  TrpGraphic Picture;
  uint8_t BlobType = rpBlobType::btBMP;

  void SetPropValue(const QString& name, const TrpValue& value) override;
  TrpValue GetPropValue(const QString& name) override;
  TrpValue DoMethod(const QString& name, const QString& p1, const QString& p2, const QString& p3) override;
  void DeclareProperties() override;

  // A blob field's bytes; the graphic follows BlobType, a null field clears it.
  void LoadFromBlob(const QByteArray& data, bool isNull);
  void GetBlob(TrpField& field) override { LoadFromBlob(field.BlobData(), field.IsNull()); }

  void Draw(QPainter& canvas) override;
  // Where the graphic goes inside rect (Stretched, KeepAspect, Center).
  QRect PictureRect(const QRect& rect) const;
  void ReadFromStream(QIODevice& stream, int version) override;
  void WriteToStream(QIODevice& stream) override;
};
