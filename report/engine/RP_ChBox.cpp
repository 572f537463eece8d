// The check-box object.
#include "report/engine/RP_ChBox.h"

#include "report/engine/RP_Globals.h"
#include "report/engine/RP_Utils.h"

#include <QPainter>

namespace {

bool IsTrueText(const QStringList& lines) {
  return !lines.isEmpty() && !lines.first().isEmpty() && !lines.first().startsWith(u'0');
}

}  // namespace

TrpCheckBoxView::TrpCheckBoxView() {
  FrameTyp = rpFrameSide::All;
  FrameWidth = 2;
  SetBaseName(QStringLiteral("Check"));
  TrpVariables& variables = rpGlobals().Variables();
  variables.SetVariable(QStringLiteral("csCross"), rpCheckStyle::csCross);
  variables.SetVariable(QStringLiteral("csCheck"), rpCheckStyle::csCheck);
}

void TrpCheckBoxView::DeclareProperties() {
  TrpView::DeclareProperties();
  AddEnumProperty(QStringLiteral("CheckStyle"), QStringLiteral("csCross;csCheck"), {0, 1});
  AddProperty(QStringLiteral("CheckColor"), rpProp::Color);
  AddProperty(QStringLiteral("DataField"), rpProp::Text, true);
}

void TrpCheckBoxView::SetPropValue(const QString& name, const TrpValue& value) {
  TrpView::SetPropValue(name, value);
  const QString n = name.toUpper();
  if (n == QLatin1String("CHECKSTYLE")) {
    CheckStyle = static_cast<uint8_t>(value.ToInteger());
  } else if (n == QLatin1String("CHECKCOLOR")) {
    CheckColor = static_cast<int32_t>(value.ToInteger());
  }
}

TrpValue TrpCheckBoxView::GetPropValue(const QString& name) {
  TrpValue value = TrpView::GetPropValue(name);
  const QString n = name.toUpper();
  if (n == QLatin1String("CHECKSTYLE")) value = static_cast<int>(CheckStyle);
  if (n == QLatin1String("CHECKCOLOR")) value = static_cast<int64_t>(CheckColor);
  return value;
}

bool TrpCheckBoxView::ShowsMark() const { return !IsPrinting || IsTrueText(Memo1); }

QString TrpCheckBoxView::ExportText() const { return IsTrueText(Memo) ? QStringLiteral("X") : QString(); }

void TrpCheckBoxView::Draw(QPainter& canvas) {
  BeginDraw(&canvas);
  Memo1 = Memo;
  CalcGaps();
  ShowBackground();
  if (ShowsMark() && !FirstPass && drawRect_.height() > 0) {
    canvas.save();
    // The symbol font's check (252) and cross (251), as the same marks of the font
    // that stands in for it.
    QFont font(rpFontFamily(QStringLiteral("Wingdings")));
    font.setPixelSize(drawRect_.height());
    canvas.setFont(font);
    canvas.setPen(rpToQColor(CheckColor));
    const QString mark = CheckStyle == rpCheckStyle::csCheck ? QString(QChar(0x2714)) : QString(QChar(0x2718));
    const int textWidth = canvas.fontMetrics().horizontalAdvance(mark);
    canvas.setClipRect(drawRect_);
    canvas.drawText(drawRect_.left() + (drawRect_.width() - textWidth) / 2, drawRect_.top() + canvas.fontMetrics().ascent(),
                    mark);
    canvas.restore();
  }
  ShowFrame();
  RestoreCoord();
}

void TrpCheckBoxView::BeforeWrite() {
  if (Memo1.isEmpty()) return;
  const TrpValue value = rpGlobals().Parser().Calc(Memo1.first());
  Memo1[0] = QString::number(value.ToInteger());
}

void TrpCheckBoxView::WriteToStream(QIODevice& stream) {
  TrpView::WriteToStream(stream);
  rpWriteByte(stream, CheckStyle);
  rpWriteInt(stream, CheckColor);
}

void TrpCheckBoxView::ReadFromStream(QIODevice& stream, int version) {
  TrpView::ReadFromStream(stream, version);
  if (version <= 23) return;
  CheckStyle = rpReadByte(stream);
  CheckColor = rpReadInt(stream);
}

QImage rpCheckBoxBitmap() {
  QImage image(16, 16, QImage::Format_ARGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setPen(Qt::black);
  p.drawRect(1, 1, 13, 13);
  p.drawLine(4, 8, 7, 11);
  p.drawLine(7, 11, 12, 4);
  return image;
}
