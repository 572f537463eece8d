#include "controls/FmFonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QHash>

QString InstalledFamily(const QString& requested) {
  static const QHash<QString, QString> map{
      {QStringLiteral("ms sans serif"), QStringLiteral("Liberation Sans")},
      {QStringLiteral("arial"), QStringLiteral("Liberation Sans")},
      {QStringLiteral("times new roman"), QStringLiteral("Liberation Serif")},
      {QStringLiteral("courier new"), QStringLiteral("Liberation Mono")},
      {QStringLiteral("verdana"), QStringLiteral("DejaVu Sans")},
      {QStringLiteral("tahoma"), QStringLiteral("DejaVu Sans")},
  };
  return map.value(requested.toLower(), requested);
}

QFont MappedFont(const QString& requested, int pixelHeight, bool bold) {
  QFont font(InstalledFamily(requested));
  font.setPixelSize(pixelHeight);
  font.setBold(bold);
  return font;
}

bool IsOutlineFont(const QFont& font) {
  const QFontInfo info(font);
  return QFontDatabase::isSmoothlyScalable(info.family(), info.styleName());
}

QString RotationFallbackFamily() { return InstalledFamily(QStringLiteral("Verdana")); }
