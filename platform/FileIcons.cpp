#include "platform/FileIcons.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QMimeDatabase>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace FileIcons {
namespace {

QMimeType TypeForExtension(const QString& extension) {
  QString suffix = extension;
  if (suffix.startsWith(QLatin1Char('.'))) suffix.remove(0, 1);
  if (suffix.isEmpty()) return {};
  const QMimeType type =
      QMimeDatabase().mimeTypeForFile(QStringLiteral("file.") + suffix, QMimeDatabase::MatchExtension);
  return type.isDefault() ? QMimeType() : type;
}

// A sheet of paper with a folded corner, drawn at the size asked for.
QPixmap DrawDocument(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const qreal margin = size / 8.0;
  const qreal fold = size / 4.0;
  const QRectF page(margin, 0.5, size - 2 * margin, size - 1.0);
  QPainterPath sheet;
  sheet.moveTo(page.topLeft());
  sheet.lineTo(page.right() - fold, page.top());
  sheet.lineTo(page.right(), page.top() + fold);
  sheet.lineTo(page.bottomRight());
  sheet.lineTo(page.bottomLeft());
  sheet.closeSubpath();
  painter.setPen(QPen(QColor(96, 96, 96), 1.0));
  painter.setBrush(Qt::white);
  painter.drawPath(sheet);
  QPainterPath corner;
  corner.moveTo(page.right() - fold, page.top());
  corner.lineTo(page.right() - fold, page.top() + fold);
  corner.lineTo(page.right(), page.top() + fold);
  painter.setBrush(QColor(220, 220, 220));
  painter.drawPath(corner);
  return pixmap;
}

}  // namespace

QMimeType MimeTypeForFile(const QString& fileName) {
  const QFileInfo info(fileName);
  if (info.isFile()) return QMimeDatabase().mimeTypeForFile(info, QMimeDatabase::MatchDefault);
  return QMimeDatabase().mimeTypeForFile(fileName, QMimeDatabase::MatchExtension);
}

QString MimeTypeNameForExtension(const QString& extension) { return TypeForExtension(extension).name(); }

QString MimeTypeCommentForExtension(const QString& extension) { return TypeForExtension(extension).comment(); }

QIcon ThemeIconForFile(const QString& fileName) {
  const QMimeType type = MimeTypeForFile(fileName);
  for (const QString& name : {type.iconName(), type.genericIconName()}) {
    if (name.isEmpty()) continue;
    const QIcon icon = QIcon::fromTheme(name);
    if (!icon.isNull()) return icon;
  }
  return {};
}

QIcon IconFromIconFile(const QString& fileName) {
  QImageReader reader(fileName);
  const QImage image = reader.read();
  if (image.isNull()) return {};
  QIcon icon(fileName);
  return icon.availableSizes().isEmpty() ? QIcon(QPixmap::fromImage(image)) : icon;
}

QIcon FallbackFileIcon() {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return {};
  QIcon icon;
  for (int size : {16, 32, 48}) icon.addPixmap(DrawDocument(size));
  return icon;
}

}  // namespace FileIcons
