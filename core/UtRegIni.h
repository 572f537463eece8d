#pragma once
// Values kept either in the per-user store (registry mode) or in an INI file, behind
// one class. Set the sub-key (in INI mode the section) before each use.
#include "platform/Exception.h"
#include "platform/RegistryStore.h"

#include <QString>
#include <mutex>

// Message numbers of the class's message table.
enum UtRegIniMessage : int {
  UtNoRootKey = 1,
  UtCreateKeyFailed = 2,
  UtWriteRegistryFailed = 3,
  UtWriteIniFailed = 4,
  UtDeleteValueFailed = 5,
};

// The text of a message number; empty for a number the table lacks.
QString UtRegIniMessageText(int number);

class EUtException : public Exception {
public:
  EUtException(int errorNumber, QString message) : Exception(std::move(message)), errorNumber_(errorNumber) {}
  int ErrorNumber() const { return errorNumber_; }

private:
  int errorNumber_;
};

class TUtRegIni {
public:
  // rootName: in INI mode the file name; else the hive, upper-cased: "MACHINE",
  // "USERS", "ROOT", anything else the current user. Raises EUtException
  // "No Ini File or Primary Key specified" for an empty name.
  TUtRegIni(const QString& rootName, bool iniFile);
  TUtRegIni(const QString& rootName, bool iniFile, RegistryStore store);

  const QString& RootName() const { return rootName_; }
  bool IsIniFile() const { return iniFile_; }
  RegistryHive Hive() const { return hive_; }

  QString CurSubKey() const;
  void SetCurSubKey(const QString& subKey);

  // Raises EUtException: "Failed to create key" or "Failed to write value to Registry"
  // with a line "Error Code: " and the code; in INI mode "Failed to write value to INI file".
  void WriteString(const QString& name, const QString& value);
  QString ReadString(const QString& name, const QString& defaultValue) const;
  // Raises EUtException "Failed to create key" or "Unable to delete value from key" with
  // the error-code line; a missing value is such a failure in registry mode.
  void DeleteValue(const QString& name);

private:
  [[noreturn]] static void Raise(int number, int errorCode);

  QString rootName_;
  bool iniFile_;
  RegistryHive hive_ = RegistryHive::CurrentUser;
  RegistryStore store_;
  QString subKey_;
  mutable std::mutex lock_;
};
