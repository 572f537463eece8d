#include "platform/ShellFolders.h"

#include <QStandardPaths>

QString ShellFolderPath(int folderId) {
  if (folderId != CSIDL_APPDATA) return {};
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}
