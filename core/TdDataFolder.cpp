#include "core/TdDataFolder.h"

#include "core/UtShFolder.h"
#include "platform/Exception.h"

namespace {

QString& Folder() {
  static QString folder;
  return folder;
}

}  // namespace

const QString& DefaultDataFolder() {
  QString& folder = Folder();
  if (folder.isEmpty()) {
    LoadShFolderApi();
    const QString appData = GetSpecialFolderPath(CSIDL_APPDATA);
    if (appData.isEmpty())
      throw Exception(QStringLiteral(
          "ShGetFolderPath function not available. Please contact Velmora Software support for help"));
    folder = appData + QStringLiteral("/velmora-software/velmora/");
  }
  return folder;
}

void SetDefaultDataFolder(const QString& folder) { Folder() = folder; }
