#include "core/UtVersion.h"
#include "support/TempDir.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

TEST(UtVersionInfo, TheProgramsOwnRecord) {
  TUtVersionInfo info;
  EXPECT_EQ(info.ProductName(), "Velmora");
  EXPECT_EQ(info.CompanyName(), "Velmora Software");
  EXPECT_EQ(info.FileVersion(), VELMORA_VERSION);
  EXPECT_TRUE(QRegularExpression(R"(^\d+\.\d+\.\d+$)").match(info.FileVersion()).hasMatch());
  EXPECT_EQ(info.ProductVersion(), info.FileVersion());
  EXPECT_TRUE(info.LegalCopyright().startsWith("Copyright"));
  const TFixedFileInfo fixed = info.FixedFileInfo();
  EXPECT_EQ(QString("%1.%2.%3").arg(fixed.major).arg(fixed.minor).arg(fixed.release), info.FileVersion());

  EXPECT_EQ(GetAppFileVersion(), info.FileVersion());
  EXPECT_EQ(GetAppProductVersion(), info.ProductVersion());
  EXPECT_EQ(GetAppLegalCopyright(), info.LegalCopyright());
}

TEST(UtVersionInfo, AFileWithoutARecordGivesEmptyValues) {
  TempDir dir;
  WriteAll(dir.File("other.bin"), "plain data");
  TUtVersionInfo info(dir.File("other.bin"));
  EXPECT_TRUE(info.ProductName().isEmpty());
  EXPECT_TRUE(info.FileVersion().isEmpty());
  EXPECT_TRUE(info.Comments().isEmpty());
  EXPECT_EQ(info.FixedFileInfo().major, 0);
}

TEST(UtVersionInfo, AMissingFileRaisesOnFirstUse) {
  TempDir dir;
  const QString missing = dir.File("gone.exe");
  TUtVersionInfo info(missing);  // nothing is read yet
  try {
    info.ProductName();
    FAIL() << "no error raised";
  } catch (const EUtVersionInfoError& error) {
    EXPECT_EQ(error.Number(), 1);
    EXPECT_TRUE(error.Message().contains(missing)) << error.Message().toStdString();
  }
}
