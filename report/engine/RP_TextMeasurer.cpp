#include "report/engine/RP_TextMeasurer.h"

#include <algorithm>
#include <cmath>

namespace {

QFont AtPixelHeight(QFont font, int pixelHeight) {
  font.setPixelSize(std::max(1, pixelHeight));
  font.setLetterSpacing(QFont::AbsoluteSpacing, 0);
  // Measuring must not depend on the screen the program happens to run on.
  font.setHintingPreference(QFont::PreferNoHinting);
  return font;
}

qsizetype CodePointCount(QStringView text) {
  qsizetype count = text.size();
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if (text[i].isHighSurrogate() && text[i + 1].isLowSurrogate()) {
      --count;
      ++i;
    }
  }
  return count;
}

}  // namespace

int rpMeasuringPixelHeight(double pointSize, double scale) {
  return static_cast<int>(std::nearbyint(pointSize * 96.0 / 72.0 * scale));
}

TrpFontMeasurer::TrpFontMeasurer(const QFont& font, int pixelHeight, int charExtra)
    : font_(AtPixelHeight(font, pixelHeight)), metrics_(font_), pixelHeight_(pixelHeight), charExtra_(charExtra) {}

double TrpFontMeasurer::Advance(char32_t c) const {
  if (c < 256) {
    if (!latin1Known_[c]) {
      latin1_[c] = metrics_.horizontalAdvance(QChar(static_cast<char16_t>(c)));
      latin1Known_[c] = true;
    }
    return latin1_[c];
  }
  const auto found = others_.constFind(c);
  if (found != others_.cend()) return *found;
  const double width = metrics_.horizontalAdvance(QString::fromUcs4(&c, 1));
  others_.insert(c, width);
  return width;
}

double TrpFontMeasurer::CharWidth(char32_t c) const { return Advance(c) + charExtra_; }

double TrpFontMeasurer::TextWidth(QStringView text) const {
  if (text.isEmpty()) return 0;
  return metrics_.horizontalAdvance(text.toString()) + static_cast<double>(charExtra_) * CodePointCount(text);
}

std::shared_ptr<const TrpFontMeasurer> rpSharedFontMeasurer(const QFont& font, int pixelHeight, int charExtra) {
  // More fonts than a report uses: past it the table starts again rather than grow.
  constexpr qsizetype kKept = 32;
  static QHash<QString, std::shared_ptr<const TrpFontMeasurer>> kept;
  const QString key = AtPixelHeight(font, pixelHeight).key() + u'|' + QString::number(pixelHeight) + u'|' +
                      QString::number(charExtra);
  const auto found = kept.constFind(key);
  if (found != kept.cend()) return *found;
  if (kept.size() >= kKept) kept.clear();
  auto measurer = std::make_shared<const TrpFontMeasurer>(font, pixelHeight, charExtra);
  kept.insert(key, measurer);
  return measurer;
}
