#pragma once
// The check-box object: a cross or a check mark in its rectangle when the value of its
// first text line is true (not "0"). An add-in class, stored as type 10 with its class
// name; the engine's add-in table always holds it.
#include "report/engine/RP_View.h"

#include <QImage>

namespace rpCheckStyle {
constexpr int csCross = 0, csCheck = 1;
}

class TrpCheckBoxView : public TrpView {
public:
  // Also (re)defines the script variables csCross and csCheck.
  TrpCheckBoxView();
  QString ClassName() const override { return QStringLiteral("TrpCheckBoxView"); }

  uint8_t CheckStyle = rpCheckStyle::csCross;
  int32_t CheckColor = 0;

  void SetPropValue(const QString& name, const TrpValue& value) override;
  TrpValue GetPropValue(const QString& name) override;
  void DeclareProperties() override;

  void Draw(QPainter& canvas) override;
  // The mark shows: always outside a build or prepared page, else when the first
  // working line is set and does not begin with "0".
  bool ShowsMark() const;
  QString ExportText() const override;
  void ReadFromStream(QIODevice& stream, int version) override;
  void WriteToStream(QIODevice& stream) override;

protected:
  // The first line's value, rounded half to even, as decimal text.
  void BeforeWrite() override;
};

// The designer's picture of the class (any neutral image serves).
QImage rpCheckBoxBitmap();
