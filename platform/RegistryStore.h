#pragma once
// The per-user value store that stands in for the registry: one INI-shaped file,
// $XDG_CONFIG_HOME/velmora/registry.ini, with a section per hive and sub-key and a
// line per value. Sub-keys and value names match without regard to case.
//
// Values under "Software\Microsoft\Windows\CurrentVersion\Run" (any hive) are the
// programs started with the session: each is a desktop entry
// $XDG_CONFIG_HOME/autostart/<value name in lower case>.desktop.
//
// Operations return 0 or an error code (an errno value) for the caller's messages.
#include <QString>
#include <optional>

enum class RegistryHive { ClassesRoot, CurrentUser, LocalMachine, Users };

QString RegistryHiveName(RegistryHive hive);

class RegistryStore {
public:
  // The user's store and autostart folder, as the desktop session sees them.
  RegistryStore();
  RegistryStore(QString storeFile, QString autostartFolder);

  static QString DefaultStoreFile();
  static QString DefaultAutostartFolder();

  const QString& StoreFile() const { return storeFile_; }
  const QString& AutostartFolder() const { return autostartFolder_; }

  // Makes sure values can be stored under the sub-key (its folder exists).
  int CreateKey(RegistryHive hive, const QString& subKey) const;
  int WriteString(RegistryHive hive, const QString& subKey, const QString& name, const QString& value) const;
  std::optional<QString> ReadString(RegistryHive hive, const QString& subKey, const QString& name) const;
  // ENOENT when there is no such value.
  int DeleteValue(RegistryHive hive, const QString& subKey, const QString& name) const;

  static bool IsAutostartKey(const QString& subKey);
  // The desktop entry that holds a value of the autostart key.
  QString AutostartEntryFile(const QString& name) const;

private:
  QString storeFile_;
  QString autostartFolder_;
};
