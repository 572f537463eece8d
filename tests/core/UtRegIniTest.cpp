#include "core/UtAutoStart.h"
#include "core/UtRegIni.h"
#include "core/UtShFolder.h"
#include "support/TempDir.h"
#include "support/XdgHome.h"

#include <QCoreApplication>
#include <QFile>
#include <cerrno>
#include <gtest/gtest.h>

namespace {

const QString kRun = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Run");

EUtException Caught(const std::function<void()>& action) {
  try {
    action();
  } catch (const EUtException& e) {
    return e;
  }
  return EUtException(0, "no exception");
}

}  // namespace

TEST(UtRegIni, EmptyRootIsRefused) {
  const EUtException e = Caught([] { TUtRegIni(QString(), true); });
  EXPECT_EQ(e.Message(), "No Ini File or Primary Key specified");
  EXPECT_EQ(e.ErrorNumber(), UtNoRootKey);
  EXPECT_EQ(Caught([] { TUtRegIni(QString(), false); }).ErrorNumber(), UtNoRootKey);
}

TEST(UtRegIni, RootChoosesTheHive) {
  TempDir dir;
  struct Case {
    const char* root;
    RegistryHive hive;
  } cases[] = {{"MACHINE", RegistryHive::LocalMachine},
               {"machine", RegistryHive::LocalMachine},
               {"Users", RegistryHive::Users},
               {"ROOT", RegistryHive::ClassesRoot},
               {"Software", RegistryHive::CurrentUser}};
  for (const Case& c : cases) {
    const TUtRegIni registry(c.root, false, RegistryStore(dir.File("r.ini"), dir.File("auto")));
    EXPECT_EQ(registry.Hive(), c.hive) << c.root;
    EXPECT_EQ(registry.RootName(), QString(c.root).toUpper());
  }
}

TEST(UtRegIni, IniModeKeepsTheFileName) {
  TempDir dir;
  const QString name = dir.File("MixedCase.ini");
  TUtRegIni ini(name, true);
  ini.SetCurSubKey("Section");
  ini.WriteString("Key", "value");
  EXPECT_TRUE(QFile::exists(name));
  EXPECT_EQ(ini.ReadString("KEY", "d"), "value");
  ini.DeleteValue("key");
  ini.DeleteValue("key");  // already gone: nothing to do
  EXPECT_EQ(ini.ReadString("Key", "d"), "d");

  TUtRegIni lost(dir.File("missing/x.ini"), true);
  lost.SetCurSubKey("Section");
  const EUtException e = Caught([&] { lost.WriteString("Key", "value"); });
  EXPECT_EQ(e.Message(), "Failed to write value to INI file");
  EXPECT_EQ(e.ErrorNumber(), UtWriteIniFailed);
}

TEST(UtRegIni, RegistryModeWritesReadsAndDeletes) {
  TempDir dir;
  TUtRegIni registry("user", false, RegistryStore(dir.File("velmora/registry.ini"), dir.File("autostart")));
  registry.SetCurSubKey("Software\\BandReport");
  registry.WriteString("Left", "10");
  EXPECT_EQ(registry.ReadString("left", "d"), "10");
  registry.DeleteValue("LEFT");
  EXPECT_EQ(registry.ReadString("Left", "d"), "d");

  const EUtException missing = Caught([&] { registry.DeleteValue("Left"); });
  EXPECT_EQ(missing.Message(), QStringLiteral("Unable to delete value from key\nError Code: %1").arg(ENOENT));
  EXPECT_EQ(missing.ErrorNumber(), UtDeleteValueFailed);
}

TEST(UtRegIni, KeyThatCannotBeCreated) {
  TempDir dir;
  WriteAll(dir.File("velmora"), {});
  TUtRegIni registry("USER", false, RegistryStore(dir.File("velmora/registry.ini"), dir.File("autostart")));
  registry.SetCurSubKey("Software");
  const EUtException e = Caught([&] { registry.WriteString("x", "1"); });
  EXPECT_EQ(e.Message(), QStringLiteral("Failed to create key\nError Code: %1").arg(ENOTDIR));
  EXPECT_EQ(e.ErrorNumber(), UtCreateKeyFailed);
}

TEST(AutoStart, OnWritesTheEntryAndOffRemovesIt) {
  XdgHome home;
  const QString entry = home.ConfigHome() + "/autostart/velmora.desktop";
  SetAutoStart(true);
  ASSERT_TRUE(QFile::exists(entry));
  TUtRegIni registry("MACHINE", false);
  registry.SetCurSubKey(kRun);
  EXPECT_EQ(registry.ReadString("Velmora", ""), QCoreApplication::applicationFilePath());

  SetAutoStart(false);
  EXPECT_FALSE(QFile::exists(entry));
  SetAutoStart(false);  // nothing to delete: ignored
}

TEST(AutoStart, FailedWriteRaises) {
  XdgHome home;
  WriteAll(home.ConfigHome() + "/autostart", {});
  EXPECT_THROW(SetAutoStart(true), EUtException);
  SetAutoStart(false);
}

TEST(ShFolder, AppDataIsTheXdgDataHome) {
  XdgHome home;
  LoadShFolderApi();
  QString path;
  EXPECT_TRUE(GetFolderPathEx(CSIDL_APPDATA, 0, path));
  EXPECT_EQ(path, home.DataHome());
  EXPECT_EQ(GetLastFolderError(), 0u);
  EXPECT_EQ(GetSpecialFolderPath(CSIDL_APPDATA), home.DataHome());

  path = "untouched";
  EXPECT_FALSE(GetFolderPathEx(0x0005, 1, path));
  EXPECT_EQ(path, "untouched");
  EXPECT_EQ(GetLastFolderError(), ERROR_CALL_NOT_IMPLEMENTED);
  EXPECT_EQ(GetSpecialFolderPath(0x0005), QString());
}
