#include "core/UtShFolder.h"

namespace {

thread_local unsigned lastFolderError = 0;

}  // namespace

// The folders come from the XDG base directories, so there is nothing to load.
void LoadShFolderApi() {}

bool GetFolderPathEx(int folderId, int /*flagIndex*/, QString& path) {
  const QString folder = ShellFolderPath(folderId);
  if (folder.isEmpty()) {
    lastFolderError = ERROR_CALL_NOT_IMPLEMENTED;
    return false;
  }
  path = folder;
  lastFolderError = 0;
  return true;
}

unsigned GetLastFolderError() { return lastFolderError; }

QString GetSpecialFolderPath(int folderId) {
  QString path;
  return GetFolderPathEx(folderId, 0, path) ? path : QString();
}
