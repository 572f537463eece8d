// Colour words and font names of stored reports.
#include "report/engine/RP_Graphics.h"

#include "report/engine/RP_Variant.h"

#include <QGuiApplication>
#include <QPalette>
#include <array>
#include <cmath>

namespace {

// The classic system colours, for a canvas where no palette stands behind them.
constexpr std::array<uint32_t, 25> kSystemColors = {
    0xC8C8C8, 0x000000, 0x99B4D1, 0xBFCDDB, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000, 0x000000, 0x000000,
    0xB4B4B4, 0xF4F7FC, 0xABABAB, 0x0078D7, 0xFFFFFF, 0xF0F0F0, 0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000,
    0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000, 0xFFFFE1};

}  // namespace

QColor rpToQColor(int32_t color) {
  const auto word = static_cast<uint32_t>(color);
  if ((word & 0xFF000000u) == 0xFF000000u) {
    const uint32_t index = word & 0xFF;
    if (index == 15 && qGuiApp) return QGuiApplication::palette().color(QPalette::Button);
    if (index < kSystemColors.size()) return QColor::fromRgb(kSystemColors[index]);
    return Qt::black;
  }
  if (color == kRpNoColor) return Qt::transparent;
  return QColor(static_cast<int>(word & 0xFF), static_cast<int>((word >> 8) & 0xFF), static_cast<int>((word >> 16) & 0xFF));
}

QString rpFontFamily(const QString& storedName) {
  // Wingdings: the check box draws its marks from DejaVu Sans's symbols instead.
  static const std::array<std::pair<const char*, const char*>, 7> kMap = {{{"Arial", "Liberation Sans"},
                                                                           {"Wingdings", "DejaVu Sans"},
                                                                           {"Helvetica", "Liberation Sans"},
                                                                           {"Times New Roman", "Liberation Serif"},
                                                                           {"Times", "Liberation Serif"},
                                                                           {"Courier New", "Liberation Mono"},
                                                                           {"Courier", "Liberation Mono"}}};
  for (const auto& [from, to] : kMap) {
    if (storedName.compare(QLatin1String(from), Qt::CaseInsensitive) == 0) return QString::fromLatin1(to);
  }
  return storedName;
}

QFont TrpFont::ToQFont(int pixelHeight) const {
  QFont font(rpFontFamily(name));
  if (pixelHeight > 0) {
    font.setPixelSize(pixelHeight);
  } else if (size > 0) {
    font.setPointSize(size);
  }
  font.setBold(style & rpFontStyle::Bold);
  font.setItalic(style & rpFontStyle::Italic);
  font.setUnderline(style & rpFontStyle::Underline);
  font.setStrikeOut(style & rpFontStyle::StrikeOut);
  return font;
}

bool rpSetFontProp(TrpFont& font, const QString& name, const TrpValue& value) {
  if (name == QLatin1String("FONT.NAME")) {
    font.name = value.ToString();
  } else if (name == QLatin1String("FONT.SIZE")) {
    font.size = static_cast<int>(value.ToInteger());
  } else if (name == QLatin1String("FONT.STYLE")) {
    font.style = static_cast<int>(value.ToInteger()) & 0x0F;
  } else if (name == QLatin1String("FONT.COLOR")) {
    font.color = static_cast<int32_t>(value.ToInteger());
  } else {
    return false;
  }
  return true;
}

bool rpGetFontProp(const TrpFont& font, const QString& name, TrpValue& value) {
  if (name == QLatin1String("FONT.NAME")) {
    value = TrpValue(font.name);
  } else if (name == QLatin1String("FONT.SIZE")) {
    value = TrpValue(font.size);
  } else if (name == QLatin1String("FONT.STYLE")) {
    value = TrpValue(font.style);
  } else if (name == QLatin1String("FONT.COLOR")) {
    value = TrpValue(static_cast<int64_t>(font.color));
  } else {
    return false;
  }
  return true;
}

int rpRound(double value) {
  const double r = rpRoundHalfEven(value);
  if (r >= 2147483647.0) return INT32_MAX;
  if (r <= -2147483648.0) return INT32_MIN;
  return static_cast<int>(r);
}
