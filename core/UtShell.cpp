#include "core/UtShell.h"

#include "platform/Desktop.h"
#include "platform/FileIcons.h"

#include <QFileInfo>

namespace {

// The longest command text the open call has ever taken.
constexpr int kMaxDocumentLength = 1023;

QIcon IconForFile(const QString& fileName) {
  const QFileInfo info(fileName);
  const QString extension = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix().toUpper();
  if (extension == QLatin1String(".ICO") && info.isFile()) {
    const QIcon own = FileIcons::IconFromIconFile(fileName);
    if (!own.isNull()) return own;
  }
  const QIcon themed = FileIcons::ThemeIconForFile(fileName);
  if (!themed.isNull()) return themed;
  return FileIcons::FallbackFileIcon();
}

}  // namespace

void OpenDocument(const QString& pathOrAddress) {
  if (pathOrAddress.isEmpty()) return;
  try {
    if (Desktop().OpenUrl(pathOrAddress.left(kMaxDocumentLength))) return;
  } catch (...) {
    // A failure to start anything is answered like any other failure: with the beep.
  }
  try {
    Desktop().Beep();
  } catch (...) {
  }
}

bool GetFileIcon(const QString& fileName, QIcon* largeIcon, QIcon* smallIcon) {
  QIcon icon;
  try {
    icon = IconForFile(fileName);
  } catch (...) {
    icon = QIcon();
  }
  if (largeIcon != nullptr) *largeIcon = icon;
  if (smallIcon != nullptr) *smallIcon = icon;
  return !icon.isNull();
}
