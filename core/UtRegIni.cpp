#include "core/UtRegIni.h"

#include "platform/PrivateProfile.h"

#include <cerrno>
#include <utility>

namespace {

struct Message {
  int number;
  const char* text;
};

constexpr Message kMessages[] = {
    {UtNoRootKey, "No Ini File or Primary Key specified"},
    {UtCreateKeyFailed, "Failed to create key"},
    {UtWriteRegistryFailed, "Failed to write value to Registry"},
    {UtWriteIniFailed, "Failed to write value to INI file"},
    {UtDeleteValueFailed, "Unable to delete value from key"},
};

RegistryHive HiveOf(const QString& root) {
  if (root == QLatin1String("MACHINE")) return RegistryHive::LocalMachine;
  if (root == QLatin1String("USERS")) return RegistryHive::Users;
  if (root == QLatin1String("ROOT")) return RegistryHive::ClassesRoot;
  return RegistryHive::CurrentUser;
}

constexpr int kIniStringBuffer = 4096;

}  // namespace

QString UtRegIniMessageText(int number) {
  for (const Message& message : kMessages)
    if (message.number == number) return QString::fromLatin1(message.text);
  return {};
}

TUtRegIni::TUtRegIni(const QString& rootName, bool iniFile) : TUtRegIni(rootName, iniFile, RegistryStore()) {}

// File names keep their spelling: unlike the hive names they are case-sensitive here.
TUtRegIni::TUtRegIni(const QString& rootName, bool iniFile, RegistryStore store)
    : rootName_(iniFile ? rootName : rootName.toUpper()), iniFile_(iniFile), store_(std::move(store)) {
  if (rootName.isEmpty()) throw EUtException(UtNoRootKey, UtRegIniMessageText(UtNoRootKey));
  if (!iniFile_) hive_ = HiveOf(rootName_);
}

void TUtRegIni::Raise(int number, int errorCode) {
  QString text = UtRegIniMessageText(number);
  if (number != UtWriteIniFailed) text += QStringLiteral("\nError Code: %1").arg(errorCode);
  throw EUtException(number, text);
}

QString TUtRegIni::CurSubKey() const {
  std::lock_guard guard(lock_);
  return subKey_;
}

void TUtRegIni::SetCurSubKey(const QString& subKey) {
  std::lock_guard guard(lock_);
  subKey_ = subKey;
}

void TUtRegIni::WriteString(const QString& name, const QString& value) {
  std::lock_guard guard(lock_);
  if (iniFile_) {
    if (!WritePrivateProfileString(subKey_, name, value, rootName_)) Raise(UtWriteIniFailed, 0);
    return;
  }
  if (const int error = store_.CreateKey(hive_, subKey_)) Raise(UtCreateKeyFailed, error);
  if (const int error = store_.WriteString(hive_, subKey_, name, value)) Raise(UtWriteRegistryFailed, error);
}

QString TUtRegIni::ReadString(const QString& name, const QString& defaultValue) const {
  std::lock_guard guard(lock_);
  if (iniFile_) return GetPrivateProfileString(subKey_, name, defaultValue, kIniStringBuffer, rootName_);
  return store_.ReadString(hive_, subKey_, name).value_or(defaultValue);
}

void TUtRegIni::DeleteValue(const QString& name) {
  std::lock_guard guard(lock_);
  if (iniFile_) {
    // Like a profile write without a value: a missing key is already deleted.
    errno = 0;
    try {
      PrivateProfileFile file(rootName_);
      if (file.DeleteKey(subKey_, name)) file.UpdateFile();
    } catch (const EWriteError&) {
      Raise(UtDeleteValueFailed, errno ? errno : EIO);
    }
    return;
  }
  if (const int error = store_.CreateKey(hive_, subKey_)) Raise(UtCreateKeyFailed, error);
  if (const int error = store_.DeleteValue(hive_, subKey_, name)) Raise(UtDeleteValueFailed, error);
}
