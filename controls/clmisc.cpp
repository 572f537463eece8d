#include "controls/clmisc.h"

#include "controls/FmFonts.h"

#include <QApplication>
#include <QFontMetrics>
#include <QRegularExpression>
#include <QSet>

namespace {

const QString kGap = QStringLiteral("/.../");
const QString kEllipsis = QStringLiteral("...");

// The longest head of `text` that fits with "..." after it, as single-line drawing with
// an end ellipsis shows it.
QString ElideAtEnd(const QString& text, int width, const TextWidthFn& textWidth) {
  for (qsizetype keep = text.size(); keep > 0; --keep) {
    const QString candidate = text.left(keep) + kEllipsis;
    if (textWidth(candidate) <= width) return candidate;
  }
  return kEllipsis;
}

}  // namespace

QString ShortenPathToWidth(const QString& path, int width, const TextWidthFn& textWidth) {
  if (width == 0 || textWidth(path) <= width) return path;

  // A folder path ("/a/b/c/") keeps its last folder in place of a file name.
  QString trimmed = path;
  QString trailing;
  if (trimmed.size() > 1 && trimmed.endsWith(QLatin1Char('/'))) {
    trimmed.chop(1);
    trailing = QStringLiteral("/");
  }
  const qsizetype slash = trimmed.lastIndexOf(QLatin1Char('/'));
  if (slash < 0) return ElideAtEnd(path, width, textWidth);
  QString folders = trimmed.left(slash);
  const QString name = trimmed.mid(slash + 1) + trailing;

  QString candidate = folders + kGap + name;
  // The root ("" before the first "/") or a relative path's first folder stays.
  while (textWidth(candidate) > width) {
    const qsizetype cut = folders.lastIndexOf(QLatin1Char('/'));
    if (cut < 0) break;
    folders.truncate(cut);
    candidate = folders + kGap + name;
  }
  if (textWidth(candidate) <= width) return candidate;
  return ElideAtEnd(candidate, width, textWidth);
}

QString ShortenPathToWidth(const QString& path, int width) {
  const QFontMetrics metrics(QApplication::font("QMenu"));
  return ShortenPathToWidth(path, width, [&metrics](const QString& text) { return metrics.horizontalAdvance(text); });
}

int ShiftFlagsFromModifiers(Qt::KeyboardModifiers modifiers) {
  int flags = 0;
  if (modifiers & Qt::ShiftModifier) flags |= sfShift;
  if (modifiers & Qt::ControlModifier) flags |= sfCtrl;
  if (modifiers & Qt::AltModifier) flags |= sfAlt;
  return flags;
}

int GetShiftFlags() { return ShiftFlagsFromModifiers(QGuiApplication::queryKeyboardModifiers()); }

TRotatedFont CreateRotatedFont(const QFont& font, int angle) {
  QFont rotated(font.family());
  if (font.pixelSize() > 0)
    rotated.setPixelSize(font.pixelSize());
  else
    rotated.setPointSizeF(font.pointSizeF());
  rotated.setWeight(font.bold() ? QFont::Bold : QFont::Normal);
  rotated.setItalic(font.italic());
  rotated.setUnderline(font.underline());
  rotated.setStrikeOut(font.strikeOut());
  rotated.setFixedPitch(font.fixedPitch());
  rotated.setStyleHint(font.styleHint());
  return {rotated, angle * 10};
}

int DefaultEpoch(QDate today) {
  const int year = today.year();
  return year - year % 100;
}

QString UniqueComponentName(const QObject& form, const QString& base) {
  static const QRegularExpression identifier(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
  if (!identifier.match(base).hasMatch())
    throw EInvalidComponentName(QStringLiteral("\"%1\" is not a valid component name").arg(base));
  QSet<QString> taken{form.objectName().toLower()};
  for (const QObject* child : form.findChildren<QObject*>()) taken.insert(child->objectName().toLower());
  for (int number = 1;; ++number) {
    const QString name = base + QString::number(number);
    if (!taken.contains(name.toLower())) return name;
  }
}

QCursor LoadClCursor(const QString& name) {
  if (name.endsWith(QLatin1String("HOTSPOT"))) return QCursor(Qt::PointingHandCursor);
  if (name == QLatin1String("FMSPLIT_HORZ")) return QCursor(Qt::SplitHCursor);
  if (name == QLatin1String("FMSPLIT_VERT")) return QCursor(Qt::SplitVCursor);
  return QCursor(Qt::ArrowCursor);
}
