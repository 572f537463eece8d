#include "platform/Exception.h"
#include "platform/PrivateProfile.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {



const QByteArray kSettings =
    "; written by hand\r\n"
    "[General]\r\n"
    "Left=10\r\n"
    "  Name  =  \"  quoted value  \"  \r\n"
    "Single='x'\r\n"
    "Mixed=\"abc'\r\n"
    "Empty=\r\n"
    "Dup=first\r\n"
    "Dup=second\r\n"
    "\r\n"
    "[ general ]\r\n"
    "Other=in the second block\r\n"
    "[Unknown]\r\n"
    "keep=me\r\n"
    "\r\n"
    "[Fonts]\r\n"
    "Name=Arial\r\n"
    "; trailing comment\r\n";

}  // namespace

TEST(PrivateProfile, ReadsLikeTheProfileFunctions) {
  const PrivateProfileFile ini = PrivateProfileFile::FromBytes(kSettings);
  struct Case {
    const char* section;
    const char* key;
    const char* defaultValue;
    int buffer;
    QString expected;
  } cases[] = {
      {"GENERAL", "left", "d", 100, "10"},
      {"General", "NAME", "d", 100, "  quoted value  "},
      {"General", "Single", "d", 100, "x"},
      {"General", "Mixed", "d", 100, "\"abc'"},
      {"General", "Empty", "d", 100, ""},
      {"General", "Dup", "d", 100, "first"},
      {"General", "Other", "d", 100, "d"},  // only the first section of a name counts
      {" fonts ", " name ", "d", 100, "Arial"},
      {"General", "Missing", "dflt  ", 100, "dflt"},
      {"Missing", "Left", "dflt", 100, "dflt"},
      {"General", "Name", "d", 5, "  qu"},
      {"General", "Left", "d", 1, ""},
      {"General", "Left", "d", 0, ""},
      {"General", "Missing", "abcdef", 3, "ab"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ini.ReadString(c.section, c.key, c.defaultValue, c.buffer), c.expected) << c.section << "/" << c.key;
}

TEST(PrivateProfile, WritesKeepTheRestOfTheFile) {
  PrivateProfileFile ini = PrivateProfileFile::FromBytes(kSettings);
  ini.WriteString("general", "LEFT", "20");
  ini.WriteString("General", "NewKey", "v");
  ini.WriteString("Fonts", "Size", "8");
  ini.WriteString("Brand", "New", "1");
  ini.WriteString("Brand", "Second", "line\r\nbreak");
  EXPECT_EQ(QString::fromUtf8(ini.ToBytes()),
            "; written by hand\n"
            "[General]\n"
            "Left=20\n"
            "  Name  =  \"  quoted value  \"  \n"
            "Single='x'\n"
            "Mixed=\"abc'\n"
            "Empty=\n"
            "Dup=first\n"
            "Dup=second\n"
            "NewKey=v\n"
            "\n"
            "[ general ]\n"
            "Other=in the second block\n"
            "[Unknown]\n"
            "keep=me\n"
            "\n"
            "[Fonts]\n"
            "Name=Arial\n"
            "Size=8\n"
            "; trailing comment\n"
            "[Brand]\n"
            "New=1\n"
            "Second=line  break\n");
  EXPECT_EQ(ini.ReadString("GENERAL", "newkey", "", 100), "v");
  EXPECT_EQ(ini.ReadString("General", "Left", "", 100), "20");
}

TEST(PrivateProfile, RewritingTheSameValueChangesNothing) {
  PrivateProfileFile ini = PrivateProfileFile::FromBytes(kSettings);
  ini.WriteString("General", "Left", "10");
  EXPECT_FALSE(ini.Modified());
  EXPECT_TRUE(ini.DeleteKey("GENERAL", "dup"));
  EXPECT_EQ(ini.ReadString("General", "Dup", "", 100), "second");
  EXPECT_FALSE(ini.DeleteKey("General", "Nothing"));
}

TEST(PrivateProfile, DamagedFileLoadsWhatItCan) {
  QByteArray bytes = QByteArray("garbage\0\x01", 9) + "\xff\xfe no equals\n[Broken\nlost=1\n[Ok]\nnoequals\n=novalue\n;k=comment\nk=v\n";
  bytes += QByteArray(1 << 20, 'x');
  bytes += "\n[Ok]\nk=other\n[]\nblank=section\nName=Gr\xfc\xdf" "e";
  PrivateProfileFile ini = PrivateProfileFile::FromBytes(bytes);
  EXPECT_EQ(ini.ReadString("Ok", "k", "d", 100), "v");
  EXPECT_EQ(ini.ReadString("Broken", "lost", "d", 100), "d");
  EXPECT_EQ(ini.ReadString("", "Name", "d", 100), QString::fromUtf8("Grüße"));  // Windows-1252 read
  ini.WriteString("Ok", "added", "1");
  const QByteArray written = ini.ToBytes();
  EXPECT_TRUE(written.startsWith(QByteArray("garbage\0\x01", 9)));
  EXPECT_TRUE(written.contains("\nk=v\nadded=1\n"));
  EXPECT_TRUE(written.endsWith(QString::fromUtf8("Name=Grüße\n").toUtf8()));
  EXPECT_EQ(PrivateProfileFile::FromBytes(written).ReadString("ok", "ADDED", "", 10), "1");
}

TEST(PrivateProfile, FreeFunctionsCreateAndKeepTheFile) {
  TempDir dir;
  const QString name = dir.File("pendra.ini");
  EXPECT_EQ(GetPrivateProfileString("General", "Left", "-1", 100, name), "-1");
  EXPECT_TRUE(WritePrivateProfileString("General", "Left", "5", name));
  EXPECT_TRUE(WritePrivateProfileString("general", "Top", "6", name));
  EXPECT_TRUE(WritePrivateProfileString("Fonts", "Name", "Arial", name));
  EXPECT_EQ(ReadAll(name), "[General]\nLeft=5\nTop=6\n[Fonts]\nName=Arial\n");
  EXPECT_EQ(GetPrivateProfileString("GENERAL", "TOP", "", 100, name), "6");
  EXPECT_FALSE(WritePrivateProfileString("General", "Left", "5", dir.File("missing/pendra.ini")));
}

TEST(PrivateProfile, UpdateFileRaisesAndNeverOverwritesWhatItCouldNotRead) {
  TempDir dir;
  PrivateProfileFile lost(dir.File("missing/pendra.ini"));
  lost.WriteString("General", "Left", "1");
  EXPECT_THROW(lost.UpdateFile(), EWriteError);

  // A name we cannot read as a file: writing it back would destroy it.
  ASSERT_TRUE(QDir(dir.Path()).mkdir("taken.ini"));
  PrivateProfileFile unreadable(dir.File("taken.ini"));
  unreadable.WriteString("General", "Left", "1");
  EXPECT_THROW(unreadable.UpdateFile(), EWriteError);
  EXPECT_TRUE(QFileInfo(dir.File("taken.ini")).isDir());
}

TEST(PrivateProfile, UpdateFileWritesOnlyChanges) {
  TempDir dir;
  const QString name = dir.File("pendra.ini");
  WriteAll(name, kSettings);
  PrivateProfileFile ini(name);
  ini.UpdateFile();
  EXPECT_EQ(ReadAll(name), kSettings) << "an unchanged document leaves the file as it is";
  ini.WriteString("General", "Left", "11");
  ini.UpdateFile();
  EXPECT_FALSE(ini.Modified());
  EXPECT_EQ(PrivateProfileFile(name).ReadString("General", "Left", "", 10), "11");
  EXPECT_FALSE(QFile::exists(dir.File("pendra.~ini")));
}
