#pragma once
// A placeholder naming the page whose content is printed at its position.
#include "report/engine/RP_View.h"

class TrpSubReportView : public TrpView {
public:
  TrpSubReportView();
  QString ClassName() const override { return QStringLiteral("TrpSubReportView"); }

  int32_t SubPage = 0;

  void SetPropValue(const QString& name, const TrpValue& value) override;
  TrpValue GetPropValue(const QString& name) override;
  // A white rectangle, a black frame and the object's name.
  void Draw(QPainter& canvas) override;
  void ReadFromStream(QIODevice& stream, int version) override;
  void WriteToStream(QIODevice& stream) override;
};
