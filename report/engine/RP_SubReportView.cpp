#include "report/engine/RP_SubReportView.h"

#include "report/engine/RP_Utils.h"

#include <QPainter>

TrpSubReportView::TrpSubReportView() {
  Typ = rpObjectType::SubReport;
  SetBaseName(QStringLiteral("SubReport"));
}

void TrpSubReportView::SetPropValue(const QString& name, const TrpValue& value) {
  if (name.toUpper() == QLatin1String("SUBPAGE")) {
    SubPage = static_cast<int32_t>(value.ToInteger());
  } else {
    TrpView::SetPropValue(name, value);
  }
}

TrpValue TrpSubReportView::GetPropValue(const QString& name) {
  if (name.toUpper() == QLatin1String("SUBPAGE")) return SubPage;
  return TrpView::GetPropValue(name);
}

void TrpSubReportView::Draw(QPainter& canvas) {
  BeginDraw(&canvas);
  CalcGaps();
  canvas.save();
  const QRect rect(Left, Top, Width, Height);
  canvas.fillRect(rect, Qt::white);
  canvas.setPen(QPen(Qt::black, 0));
  canvas.drawRect(rect.adjusted(0, 0, -1, -1));
  QFont font = TrpFont{}.ToQFont();
  font.setPointSize(8);
  canvas.setFont(font);
  canvas.drawText(QRect(Left + 2, Top + 2, Width - 2, Height - 2), Qt::AlignLeft | Qt::AlignTop, Name);
  canvas.restore();
  RestoreCoord();
}

void TrpSubReportView::WriteToStream(QIODevice& stream) {
  TrpView::WriteToStream(stream);
  rpWriteInt(stream, SubPage);
}

void TrpSubReportView::ReadFromStream(QIODevice& stream, int version) {
  TrpView::ReadFromStream(stream, version);
  SubPage = rpReadInt(stream);
}
