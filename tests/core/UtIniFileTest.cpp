#include "core/UtIniFile.h"
#include "platform/Exception.h"
#include "support/TempDir.h"

#include <QFile>
#include <climits>
#include <gtest/gtest.h>

TEST(ExtendedIniFile, TypedReads) {
  TempDir dir;
  const QString name = dir.File("pendra.ini");
  WriteAll(name,
           "[General]\nInt=42\nNeg= -3 \nHex=$10\nBad=12x\nBig=99999999999\nEmpty=\n"
           "On=1\nOff=0\nTwo=2\nWord=yes\n");
  const TExtendedIniFile ini(name);
  EXPECT_EQ(ini.FileName(), name);
  struct IntCase {
    const char* key;
    int value;
  } ints[] = {{"Int", 42}, {"neg", -3}, {"Hex", 16}, {"Bad", 7}, {"Big", 7}, {"Empty", 7}, {"Missing", 7}};
  for (const IntCase& c : ints) EXPECT_EQ(ini.ReadInteger("general", c.key, 7), c.value) << c.key;

  struct BoolCase {
    const char* key;
    bool whenDefaultFalse, whenDefaultTrue;
  } bools[] = {{"On", true, true},     {"Off", false, false},  {"Two", true, true},   {"Neg", true, true},
               {"Word", false, true}, {"Empty", false, true}, {"Missing", false, true}};
  for (const BoolCase& c : bools) {
    EXPECT_EQ(ini.ReadBool("General", c.key, false), c.whenDefaultFalse) << c.key;
    EXPECT_EQ(ini.ReadBool("General", c.key, true), c.whenDefaultTrue) << c.key;
  }
}

TEST(ExtendedIniFile, LongValuesSurviveReadIniString) {
  TempDir dir;
  const QString name = dir.File("pendra.ini");
  const QString long4095(4095, 'a');
  const QString long5000(5000, 'b');
  TExtendedIniFile writer(name);
  writer.WriteString("General", "DatabaseFolder", long4095);
  writer.WriteString("General", "TooLong", long5000);
  writer.UpdateFile();

  const TExtendedIniFile reader(name);
  EXPECT_EQ(reader.ReadIniString("General", "DatabaseFolder", ""), long4095);
  EXPECT_EQ(reader.ReadIniString("General", "TooLong", ""), long5000.left(4095));
  EXPECT_EQ(reader.ReadString("General", "DatabaseFolder", "").size(), 2047);
  EXPECT_EQ(reader.ReadIniString("General", "Missing", "default"), "default");
}

TEST(ExtendedIniFile, WritesGoOutInOneUpdate) {
  TempDir dir;
  const QString name = dir.File("pendra.ini");
  TExtendedIniFile ini(name);
  ini.WriteBool("General", "ConfirmExit", true);
  ini.WriteBool("General", "AlwaysOnTop", false);
  ini.WriteInteger("General", "Left", INT_MIN);
  ini.WriteString("Fonts", "NoneFontName", "MS Sans Serif");
  ini.WriteInteger("general", "left", -1);
  EXPECT_FALSE(QFile::exists(name));
  ini.UpdateFile();
  QFile file(name);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), "[General]\nConfirmExit=1\nAlwaysOnTop=0\nLeft=-1\n[Fonts]\nNoneFontName=MS Sans Serif\n");

  TExtendedIniFile lost(dir.File("missing/pendra.ini"));
  lost.WriteInteger("General", "Left", 1);
  EXPECT_THROW(lost.UpdateFile(), EWriteError);
}
