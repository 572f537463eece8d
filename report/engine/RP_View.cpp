// The view's fields, its named properties and methods, unique names and its band.
#include "report/engine/RP_View.h"

#include "report/engine/RP_BandView.h"
#include "report/engine/RP_Class.h"
#include "report/engine/RP_ObjectRegistry.h"
#include "report/engine/RP_Page.h"
#include "report/engine/RP_Utils.h"

#include <QRegularExpression>

TrpView::TrpView() : Format(rpDefaultFormat()), serial_(rpNextSerialNumber()) {}

TrpView::~TrpView() = default;

TrpReport* TrpView::Report() const { return parent_ ? parent_->Report() : nullptr; }

QStringList rpSplitLines(const QString& text) {
  static const QRegularExpression breaks(QStringLiteral("\r\n|\n|\r"));
  if (text.isEmpty()) return {};
  return text.split(breaks);
}

int32_t rpEncodeFrameWidth(double width) {
  if (width == std::floor(width) && width <= 10 && width >= -2147483648.0) return static_cast<int32_t>(width);
  return rpRound(width * 1000);
}

double rpDecodeFrameWidth(int32_t stored) {
  const double s = stored <= 10 ? stored * 1000.0 : stored;
  return s / 1000.0;
}

void TrpView::SetGeometry(int left, int top, int width, int height) {
  Left = left;
  Top = top;
  Width = width;
  Height = height;
}

void TrpView::DeclareProperties() {
  const bool framed = Typ != rpObjectType::Band && Typ != rpObjectType::SubReport;
  AddProperty(QStringLiteral("Name"), rpProp::Name);
  for (const char* name : {"Left", "Top", "Width", "Height"}) AddProperty(QString::fromLatin1(name), rpProp::Geometry);
  AddProperty(QStringLiteral("Flags"), rpProp::Integer);
  if (framed) {
    AddProperty(QStringLiteral("FrameTyp"), rpProp::FrameSides);
    AddProperty(QStringLiteral("FrameWidth"), rpProp::FrameWidth);
    AddProperty(QStringLiteral("FrameColor"), rpProp::Color);
  }
  AddEnumProperty(QStringLiteral("FrameStyle"), QStringLiteral("psSolid;psDash;psDot;psDashDot;psDashDotDot;psDouble"),
                  {0, 1, 2, 3, 4, 5});
  if (framed) AddProperty(QStringLiteral("FillColor"), rpProp::Color);
  AddProperty(QStringLiteral("Tag"), rpProp::Text, true);
  AddEnumProperty(QStringLiteral("BandAlign"),
                  QStringLiteral("baNone;baLeft;baRight;baCenter;baWidth;baBottom;baTop;baRest"),
                  {0, 1, 2, 3, 4, 5, 6, 7});
  AddProperty(QStringLiteral("Visible"), rpProp::Boolean);
  AddProperty(QStringLiteral("Memo"), rpProp::Text, true);
  AddProperty(QStringLiteral("Memo.Count"), rpProp::Integer);
  AddProperty(QStringLiteral("Restrictions"), rpProp::WithEditor, true);
}

void TrpView::SetPropValue(const QString& name, const TrpValue& value) {
  const QString n = name.toUpper();
  auto i32 = [&value] { return static_cast<int32_t>(value.ToInteger()); };
  if (n == QLatin1String("NAME")) {
    Name = value.ToString();
  } else if (n == QLatin1String("LEFT")) {
    Left = i32();
  } else if (n == QLatin1String("TOP")) {
    Top = i32();
  } else if (n == QLatin1String("WIDTH")) {
    Width = i32();
  } else if (n == QLatin1String("HEIGHT")) {
    Height = i32();
  } else if (n == QLatin1String("FLAGS")) {
    Flags = static_cast<uint16_t>(i32());
  } else if (n == QLatin1String("FRAMETYP")) {
    FrameTyp = static_cast<uint16_t>(i32());
  } else if (n == QLatin1String("FRAMEWIDTH")) {
    FrameWidth = value.ToFloat();
  } else if (n == QLatin1String("FRAMECOLOR")) {
    FrameColor = i32();
  } else if (n == QLatin1String("FRAMESTYLE")) {
    FrameStyle = static_cast<uint16_t>(i32());
  } else if (n == QLatin1String("FILLCOLOR")) {
    FillColor = i32();
  } else if (n == QLatin1String("VISIBLE")) {
    Visible = value.ToBoolean();
  } else if (n == QLatin1String("MEMO") || n == QLatin1String("DATAFIELD")) {
    Memo = rpSplitLines(value.ToString());
  } else if (n == QLatin1String("GAPX")) {
    GapX = i32();
  } else if (n == QLatin1String("GAPY")) {
    GapY = i32();
  } else if (n == QLatin1String("STRETCHED")) {
    Flags = value.ToBoolean() ? (Flags | 1) : (Flags & ~1);
  } else if (n == QLatin1String("BANDALIGN")) {
    BandAlign = static_cast<uint8_t>(i32());
  } else if (n == QLatin1String("TAG")) {
    Tag = value.ToString();
  }
}

TrpValue TrpView::GetPropValue(const QString& name) {
  const QString n = name.toUpper();
  if (n == QLatin1String("NAME")) return Name;
  if (n == QLatin1String("LEFT")) return Left;
  if (n == QLatin1String("TOP")) return Top;
  if (n == QLatin1String("WIDTH")) return Width;
  if (n == QLatin1String("HEIGHT")) return Height;
  if (n == QLatin1String("FLAGS")) return static_cast<int>(Flags);
  if (n == QLatin1String("FRAMETYP")) return static_cast<int>(FrameTyp);
  if (n == QLatin1String("FRAMEWIDTH")) return FrameWidth;
  if (n == QLatin1String("FRAMECOLOR")) return static_cast<int64_t>(FrameColor);
  if (n == QLatin1String("FRAMESTYLE")) return static_cast<int>(FrameStyle);
  if (n == QLatin1String("FILLCOLOR")) return static_cast<int64_t>(FillColor);
  if (n == QLatin1String("VISIBLE")) return Visible;
  if (n == QLatin1String("MEMO")) return Memo.join(QStringLiteral("\r\n"));
  if (n == QLatin1String("MEMO.COUNT")) return static_cast<int>(Memo.size());
  if (n == QLatin1String("DATAFIELD")) return Memo.isEmpty() ? QString() : Memo.first();
  if (n == QLatin1String("GAPX")) return GapX;
  if (n == QLatin1String("GAPY")) return GapY;
  if (n == QLatin1String("STRETCHED")) return Stretched();
  if (n == QLatin1String("BANDALIGN")) return static_cast<int>(BandAlign);
  if (n == QLatin1String("TAG")) return Tag;
  return TrpValue::Null();
}

TrpValue TrpView::DoMethod(const QString& name, const QString& p1, const QString& p2, const QString& p3) {
  TrpValue result = TrpValue::Null();
  if (rpStringListMethod(Memo, QStringLiteral("MEMO"), name, p1, p2, p3, result)) return result;
  const QString n = name.toUpper();
  if (n == QLatin1String("HIDE")) {
    Visible = false;
  } else if (n == QLatin1String("SHOW")) {
    Visible = true;
  }
  return result;
}

TrpValue TrpStretcheable::DoMethod(const QString& name, const QString& p1, const QString& p2, const QString& p3) {
  if (name.toUpper() == QLatin1String("CALCHEIGHT")) return CalcHeight();
  return TrpView::DoMethod(name, p1, p2, p3);
}

bool TrpView::NameInUse(const QString& name) const {
  const TrpReport* report = Report();
  return report && report->FindObject(name);
}

void TrpView::CreateUniqueName() {
  for (int i = 1; i <= 10000; ++i) {
    const QString candidate = baseName_ + QString::number(i);
    if (!NameInUse(candidate)) {
      SetPropValue(QStringLiteral("Name"), candidate);
      return;
    }
  }
  SetPropValue(QStringLiteral("Name"), QString());
}

TrpBandView* TrpView::GetBand() const {
  if (!parent_) return nullptr;
  TrpBandView* found = nullptr;
  for (const auto& object : parent_->Objects()) {
    auto* band = dynamic_cast<TrpBandView*>(object.get());
    if (!band) continue;
    const QRect rect(band->Left, band->Top, band->Width, band->Height);
    if (rect.contains(Left, Top)) found = band;
  }
  return found;
}
