#include "core/UtAutoStart.h"

#include "core/UtRegIni.h"

#include <QCoreApplication>

namespace {

const QString kRunKey = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Run");
const QString kValueName = QStringLiteral("Velmora");

}  // namespace

void SetAutoStart(bool on) {
  TUtRegIni registry(QStringLiteral("MACHINE"), false);
  registry.SetCurSubKey(kRunKey);
  if (on) {
    registry.WriteString(kValueName, QCoreApplication::applicationFilePath());
    return;
  }
  try {
    registry.DeleteValue(kValueName);
  } catch (const EUtException&) {
  }
}
