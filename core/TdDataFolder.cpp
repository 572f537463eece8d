#include "core/TdDataFolder.h"

#include "core/UtShFolder.h"
#include "platform/AppContext.h"
#include "platform/Exception.h"

QString LookUpDefaultDataFolder() {
  LoadShFolderApi();
  const QString appData = GetSpecialFolderPath(CSIDL_APPDATA);
  if (appData.isEmpty())
    throw Exception(
        QStringLiteral("ShGetFolderPath function not available. Please contact Velmora Software support for help"));
  return appData + QStringLiteral("/velmora-software/velmora/");
}

QString DefaultDataFolder() {
  const QString& folder = AppContext().DataFolder;
  return folder.isEmpty() ? LookUpDefaultDataFolder() : folder;
}
