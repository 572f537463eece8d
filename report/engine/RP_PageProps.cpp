// A page's paper through the printer wrapper, and the names scripts read and set on it.
#include "report/engine/RP_Graphics.h"
#include "report/engine/RP_Page.h"
#include "report/engine/RP_PageBuild.h"

namespace {

TrpPaperSetter& PaperSetter() {
  static TrpPaperSetter setter;
  return setter;
}

// Tenths of a millimetre and report units (0.36 units per tenth).
int ToUnits(int tenths) { return rpRound(tenths / 10.0 * 18.0 / 5.0); }
int ToTenths(double units) { return rpRound(units * 10.0 * 5.0 / 18.0); }

}  // namespace

void rpSetPaperSetter(TrpPaperSetter setter) { PaperSetter() = std::move(setter); }

void TrpPage::ChangePaper(int size, int width, int height, int bin, int orientation) {
  TrpPaper paper{size, width, height, static_cast<uint8_t>(orientation), bin};
  if (const TrpPaperSetter& setter = PaperSetter()) {
    bool ok = false;
    try {
      ok = setter(paper);
    } catch (...) {
      ok = false;
    }
    if (!ok) {
      paper = TrpPaper{256, width, height, static_cast<uint8_t>(orientation), -1};
      try {
        setter(paper);
      } catch (...) {
        // Even a user size refused: keep the paper as asked.
      }
    }
  }
  PaperSize = paper.size;
  PaperWidth = paper.width;
  PaperHeight = paper.height;
  Orientation = paper.orientation;
  Bin = bin == -1 ? -1 : paper.bin;
}

void TrpPage::SetPropValue(const QString& name, const TrpValue& value) {
  const QString n = name.toUpper();
  const int v = static_cast<int>(value.ToInteger());
  const bool dialog = PageType == rpPageType::Dialog;
  if (n == QLatin1String("LEFT"))
    FormLeft = v;
  else if (n == QLatin1String("TOP"))
    FormTop = v;
  else if (n == QLatin1String("WIDTH") && dialog)
    FormWidth = v;
  else if (n == QLatin1String("HEIGHT") && dialog)
    FormHeight = v;
  else if (n == QLatin1String("WIDTH"))
    ChangePaper(256, ToTenths(value.ToFloat()), PaperHeight, Bin, Orientation);
  else if (n == QLatin1String("HEIGHT"))
    ChangePaper(256, PaperWidth, ToTenths(value.ToFloat()), Bin, Orientation);
  else if (n == QLatin1String("SIZE"))
    ChangePaper(v, PaperWidth, PaperHeight, Bin, Orientation);
  else if (n == QLatin1String("ORIENTATION"))
    ChangePaper(PaperSize, PaperWidth, PaperHeight, Bin, v);
  else if (n == QLatin1String("TYPE"))
    PageType = static_cast<uint8_t>(v);
  else if (n == QLatin1String("BORDERSTYLE"))
    BorderStyle = static_cast<TrpBorderStyle>(v);
  else if (n == QLatin1String("CAPTION"))
    Caption = value.ToString();
  else if (n == QLatin1String("NAME"))
    Name = value.ToString();
  else if (n == QLatin1String("COLOR"))
    Color = v;
  else if (n == QLatin1String("POSITION"))
    Position = static_cast<TrpPosition>(v);
  else if (n == QLatin1String("LEFTMARGIN"))
    MarginLeft = v;
  else if (n == QLatin1String("TOPMARGIN"))
    MarginTop = v;
  else if (n == QLatin1String("RIGHTMARGIN"))
    MarginRight = v;
  else if (n == QLatin1String("BOTTOMMARGIN"))
    MarginBottom = v;
  else if (n == QLatin1String("PRINTTOPREVPAGE"))
    PrintToPrevPage = value.ToBoolean() ? -1 : 0;
  else if (n == QLatin1String("STRETCHTOPRINTABLE"))
    UseMargins = value.ToBoolean() ? 0 : -1;
  else if (n == QLatin1String("COLUMNS"))
    Columns = v;
  else if (n == QLatin1String("COLUMNGAP"))
    ColumnGap = v;
  else if (n == QLatin1String("COLUMNWIDTH"))
    ColumnWidth = v;
  else if (n == QLatin1String("VISIBLE"))
    Visible = value.ToBoolean();
}

TrpValue TrpPage::GetPropValue(const QString& name) {
  const QString n = name.toUpper();
  const bool dialog = PageType == rpPageType::Dialog;
  if (n == QLatin1String("LEFT")) return TrpValue(FormLeft);
  if (n == QLatin1String("TOP")) return TrpValue(FormTop);
  if (n == QLatin1String("WIDTH")) return TrpValue(dialog ? FormWidth : ToUnits(PaperWidth));
  if (n == QLatin1String("HEIGHT")) return TrpValue(dialog ? FormHeight : ToUnits(PaperHeight));
  if (n == QLatin1String("TYPE")) return TrpValue(static_cast<int>(PageType));
  if (n == QLatin1String("BORDERSTYLE")) return TrpValue(static_cast<int>(BorderStyle));
  if (n == QLatin1String("CAPTION")) return TrpValue(Caption);
  if (n == QLatin1String("NAME")) return TrpValue(Name);
  if (n == QLatin1String("COLOR")) return TrpValue(static_cast<int>(Color));
  if (n == QLatin1String("POSITION")) return TrpValue(static_cast<int>(Position));
  if (n == QLatin1String("SIZE")) return TrpValue(static_cast<int>(PaperSize));
  if (n == QLatin1String("LEFTMARGIN")) return TrpValue(Run ? Run->LeftMargin() : static_cast<int>(MarginLeft));
  if (n == QLatin1String("TOPMARGIN")) return TrpValue(Run ? Run->TopMargin() : static_cast<int>(MarginTop));
  if (n == QLatin1String("RIGHTMARGIN")) return TrpValue(Run ? Run->RightMargin() : static_cast<int>(MarginRight));
  if (n == QLatin1String("BOTTOMMARGIN")) return TrpValue(Run ? Run->BottomMargin() : static_cast<int>(MarginBottom));
  if (n == QLatin1String("ORIENTATION")) return TrpValue(static_cast<int>(Orientation));
  if (n == QLatin1String("PRINTTOPREVPAGE")) return TrpValue(PrintToPrevPage != 0);
  if (n == QLatin1String("STRETCHTOPRINTABLE")) return TrpValue(UseMargins == 0);
  if (n == QLatin1String("COLUMNS")) return TrpValue(static_cast<int>(Columns));
  if (n == QLatin1String("COLUMNGAP")) return TrpValue(static_cast<int>(ColumnGap));
  if (n == QLatin1String("VISIBLE")) return TrpValue(Visible);
  return TrpValue::Null();
}

void TrpPage::DeclareProperties() {
  AddEnumProperty(QStringLiteral("Type"), QStringLiteral("ptReport;ptDialog"), {0, 1});
  AddProperty(QStringLiteral("Visible"), rpProp::Boolean);
  if (PageType == rpPageType::Dialog) {
    AddEnumProperty(QStringLiteral("BorderStyle"), QStringLiteral("bsDialog;bsSizeable"), {0, 1});
    AddProperty(QStringLiteral("Caption"), rpProp::Text);
    AddProperty(QStringLiteral("Color"), rpProp::Color);
    for (const char* n : {"Left", "Top", "Width", "Height"}) AddProperty(QString::fromLatin1(n), rpProp::Integer);
    AddEnumProperty(QStringLiteral("Position"), QStringLiteral("poDesigned;poScreenCenter"), {0, 1});
    AddProperty(QStringLiteral("OnActivate"), rpProp::Text, true);
    return;
  }
  AddProperty(QStringLiteral("Size"), rpProp::Integer);
  for (const char* n : {"Width", "Height", "LeftMargin", "TopMargin", "RightMargin", "BottomMargin", "Orientation"})
    AddProperty(QString::fromLatin1(n), rpProp::Integer);
  AddProperty(QStringLiteral("PrintToPrevPage"), rpProp::Boolean);
  AddProperty(QStringLiteral("StretchToPrintable"), rpProp::Boolean);
  for (const char* n : {"Columns", "ColumnWidth", "ColumnGap"}) AddProperty(QString::fromLatin1(n), rpProp::Integer);
  AddProperty(QStringLiteral("OnBeforePrint"), rpProp::Text, true);
}
