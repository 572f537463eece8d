#pragma once
// Colours and fonts as the engine stores them: colours as 0x00BBGGRR words with the
// system colours 0xFF0000nn and a "no colour" value; fonts by the names reports were
// designed with, drawn with metric-compatible free fonts.
#include <QColor>
#include <QFont>
#include <QString>
#include <cstdint>

// A fill colour that means "no fill".
constexpr int32_t kRpNoColor = 0x1FFFFFFF;
constexpr int32_t kRpWhite = 0xFFFFFF;
// The window-face system colour.
constexpr int32_t kRpBtnFace = static_cast<int32_t>(0xFF00000Fu);

QColor rpToQColor(int32_t color);

// The one place where the font names of stored reports meet the fonts of this system:
// "Arial" is drawn as "Liberation Sans" and so on; other names pass through.
QString rpFontFamily(const QString& storedName);

// Font style bits as the scripts' constants fsBold ... fsStrikeOut.
namespace rpFontStyle {
constexpr int Italic = 1, Bold = 2, Underline = 4, StrikeOut = 8;
}

// A font of a report object: the name as stored, its size in points, style bits,
// colour and character set.
struct TrpFont {
  QString name = QStringLiteral("Arial");
  int size = 10;
  int style = 0;
  int32_t color = 0;
  int charset = 1;

  // Pixel height given: -round(size * 96 / 72 * scale) on a screen canvas.
  QFont ToQFont(int pixelHeight = 0) const;
};

class TrpValue;
// "FONT.NAME", "FONT.SIZE", "FONT.STYLE", "FONT.COLOR" (name upper case); false when
// the name is none of them.
bool rpSetFontProp(TrpFont& font, const QString& name, const TrpValue& value);
bool rpGetFontProp(const TrpFont& font, const QString& name, TrpValue& value);

// Nearest integer, halves to even, as the Parts' "round".
int rpRound(double value);
