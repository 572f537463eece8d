#include "platform/AutostartEntry.h"
#include "platform/RegistryStore.h"
#include "support/TempDir.h"
#include "support/XdgHome.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <gtest/gtest.h>

namespace {

const QString kRun = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Run");


struct StoreFixture : ::testing::Test {
  TempDir dir;
  RegistryStore store{dir.File("velmora/registry.ini"), dir.File("autostart")};
};

}  // namespace

TEST_F(StoreFixture, ValuesRoundTripWhateverTheyHold) {
  const QString awkward = QStringLiteral(" [x]=\"a;b\" 'q' 100% @ \nline ");
  const QString key = QStringLiteral("Software\\Velmora\\Settings");
  EXPECT_EQ(store.WriteString(RegistryHive::CurrentUser, key, "Name", awkward), 0);
  EXPECT_EQ(store.WriteString(RegistryHive::CurrentUser, key, "", "default"), 0);
  EXPECT_EQ(store.WriteString(RegistryHive::CurrentUser, key, "a=b", "odd name"), 0);
  EXPECT_EQ(store.WriteString(RegistryHive::LocalMachine, key, "Name", "machine"), 0);

  EXPECT_EQ(store.ReadString(RegistryHive::CurrentUser, "\\SOFTWARE\\velmora\\\\settings\\", "NAME"), awkward);
  EXPECT_EQ(store.ReadString(RegistryHive::CurrentUser, key, ""), "default");
  EXPECT_EQ(store.ReadString(RegistryHive::CurrentUser, key, "A=B"), "odd name");
  EXPECT_EQ(store.ReadString(RegistryHive::LocalMachine, key, "Name"), "machine");
  EXPECT_EQ(store.ReadString(RegistryHive::Users, key, "Name"), std::nullopt);

  EXPECT_EQ(store.DeleteValue(RegistryHive::CurrentUser, key, "name"), 0);
  EXPECT_EQ(store.ReadString(RegistryHive::CurrentUser, key, "Name"), std::nullopt);
  EXPECT_EQ(store.DeleteValue(RegistryHive::CurrentUser, key, "Name"), ENOENT);
  EXPECT_EQ(store.ReadString(RegistryHive::CurrentUser, key, ""), "default");
}

TEST_F(StoreFixture, DamagedStoreLoadsWhatItCan) {
  QDir().mkpath(dir.File("velmora"));
  WriteAll(store.StoreFile(), QByteArray("\0\xff", 2) + "[[[\n[HKEY_CURRENT_USER\\A]\nv=%4\nw=%zz%41\n[HKEY_CURRENT_USER\\B");
  EXPECT_EQ(store.ReadString(RegistryHive::CurrentUser, "A", "v"), "%4");
  EXPECT_EQ(store.ReadString(RegistryHive::CurrentUser, "A", "w"), "%zzA");
  EXPECT_EQ(store.WriteString(RegistryHive::CurrentUser, "B", "x", "1"), 0);
  EXPECT_EQ(store.ReadString(RegistryHive::CurrentUser, "b", "X"), "1");
  EXPECT_EQ(store.ReadString(RegistryHive::CurrentUser, "A", "v"), "%4");
}

TEST_F(StoreFixture, FolderThatCannotBeMadeIsAnError) {
  WriteAll(dir.File("velmora"), {});
  EXPECT_EQ(store.CreateKey(RegistryHive::CurrentUser, "Software"), ENOTDIR);
  EXPECT_NE(store.WriteString(RegistryHive::CurrentUser, "Software", "x", "1"), 0);
}

TEST_F(StoreFixture, RunKeyValuesAreAutostartEntries) {
  const QString program = QStringLiteral("/opt/My Apps/velmora");
  EXPECT_TRUE(RegistryStore::IsAutostartKey("software\\microsoft\\WINDOWS\\currentversion\\run\\"));
  EXPECT_EQ(store.WriteString(RegistryHive::LocalMachine, kRun.toUpper(), "Velmora", program), 0);
  const QString entry = dir.File("autostart/velmora.desktop");
  EXPECT_EQ(QString::fromUtf8(ReadAll(entry)),
            "[Desktop Entry]\nType=Application\nName=Velmora\nExec=\"/opt/My Apps/velmora\"\n"
            "X-GNOME-Autostart-enabled=true\n");
  EXPECT_EQ(store.ReadString(RegistryHive::CurrentUser, kRun, "VELMORA"), program);
  EXPECT_FALSE(QFile::exists(store.StoreFile())) << "autostart values stay out of the store";

  EXPECT_EQ(store.DeleteValue(RegistryHive::LocalMachine, kRun, "Velmora"), 0);
  EXPECT_FALSE(QFile::exists(entry));
  EXPECT_EQ(store.DeleteValue(RegistryHive::LocalMachine, kRun, "Velmora"), ENOENT);
}

TEST_F(StoreFixture, AutostartNameCannotLeaveItsFolder) {
  EXPECT_EQ(store.WriteString(RegistryHive::LocalMachine, kRun, "../../Evil", "/bin/true"), 0);
  EXPECT_EQ(QFileInfo(store.AutostartEntryFile("../../Evil")).absolutePath(), QFileInfo(dir.File("autostart")).absoluteFilePath());
  EXPECT_EQ(store.ReadString(RegistryHive::LocalMachine, kRun, "../../Evil"), "/bin/true");
}

TEST(AutostartEntry, ExecQuotesWhatTheFormatReserves) {
  struct Case {
    QString program;
    QString execLine;
  } cases[] = {
      {"/usr/bin/velmora", "Exec=/usr/bin/velmora"},
      {"/opt/my apps/velmora", "Exec=\"/opt/my apps/velmora\""},
      {"/opt/a\"b$c`d", "Exec=\"/opt/a\\\\\"b\\\\$c\\\\`d\""},
      {"/opt/back\\slash", "Exec=\"/opt/back\\\\\\\\slash\""},
      {"/opt/100%/v", "Exec=/opt/100%%/v"},
      {QString::fromUtf8("/opt/grüße/v"), QString::fromUtf8("Exec=/opt/grüße/v")},
  };
  for (const Case& c : cases) {
    const QByteArray entry = AutostartEntryText("Velmora", c.program);
    EXPECT_TRUE(QString::fromUtf8(entry).split('\n').contains(c.execLine)) << entry.constData();
    EXPECT_EQ(AutostartEntryProgram(entry), c.program);
  }
  EXPECT_EQ(AutostartEntryProgram("[Other]\nExec=x\n"), std::nullopt);
}

TEST(RegistryStore, DefaultsFollowTheXdgConfigHome) {
  XdgHome home;
  RegistryStore store;
  EXPECT_EQ(store.StoreFile(), home.ConfigHome() + "/velmora/registry.ini");
  EXPECT_EQ(store.AutostartFolder(), home.ConfigHome() + "/autostart");
}
