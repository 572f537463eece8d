#include "platform/BinaryStream.h"
#include "platform/Exception.h"
#include "platform/SafeFile.h"
#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>


TEST(SafeFile, BackupNames) {
  EXPECT_EQ(BackupFileName("/d/todo.tbl"), "/d/todo.~tbl");
  EXPECT_EQ(BackupFileName("/d/archive.tbl"), "/d/archive.~tbl");
  EXPECT_EQ(BackupFileName("/d.x/file"), "/d.x/file~");
}

TEST(SafeFile, WriteKeepsOldContentAsBackup) {
  TempDir dir;
  const QString name = dir.File("todo.tbl");
  WriteFileSafely(name, "first", true);
  EXPECT_FALSE(QFile::exists(dir.File("todo.~tbl")));
  WriteFileSafely(name, "second", true);
  WriteFileSafely(name, "third", true);
  EXPECT_EQ(ReadAll(name), "third");
  EXPECT_EQ(ReadAll(dir.File("todo.~tbl")), "second");
  EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files | QDir::Hidden).size(), 2) << "no temporary file left";
}

TEST(SafeFile, TemporaryFileOfAnInterruptedSaveIsRemoved) {
  TempDir dir;
  WriteFileSafely(dir.File(".todo.tbl.Ab12Cd"), "left by a killed save", false);
  WriteFileSafely(dir.File("todo.tbl"), "saved", true);
  EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files | QDir::Hidden), QStringList{"todo.tbl"});
}

TEST(SafeFile, FailedWriteLeavesFileAndRaises) {
  TempDir dir;
  EXPECT_THROW(WriteFileSafely(dir.File("missing/todo.tbl"), "x", true), EWriteError);
}

TEST(SafeFile, BackupFileReplacesOlderBackup) {
  TempDir dir;
  WriteFileSafely(dir.File("cat.tbl"), "new", false);
  WriteFileSafely(dir.File("cat.~tbl"), "old", false);
  BackupFile(dir.File("cat.tbl"));
  EXPECT_FALSE(QFile::exists(dir.File("cat.tbl")));
  EXPECT_EQ(ReadAll(dir.File("cat.~tbl")), "new");
  BackupFile(dir.File("cat.tbl"));  // a missing file is no error
}

TEST(BinaryStream, ReaderChecksEveryLength) {
  BinaryWriter w;
  w.WriteInt32(-7);
  w.WriteString(QString::fromUtf8("Grüße"));
  w.WriteString({});
  w.WriteDouble(45000.25);
  w.WriteUInt8(200);
  const QByteArray bytes = w.Take();
  BinaryReader r(bytes, "t.tbl");
  EXPECT_EQ(r.ReadInt32(), -7);
  EXPECT_EQ(r.ReadString(), QString::fromUtf8("Grüße"));
  EXPECT_EQ(r.ReadString(), QString());
  EXPECT_EQ(r.ReadDouble(), 45000.25);
  EXPECT_EQ(r.ReadUInt8(), 200);
  EXPECT_THROW(r.ReadUInt8(), EReadError);

  QByteArray huge;
  BinaryWriter hw;
  hw.WriteInt32(0x7fffffff);
  huge = hw.Take();
  BinaryReader hr(huge, "t.tbl");
  EXPECT_THROW(hr.ReadString(), EReadError);
}

TEST(BinaryStream, TextThatIsNotUtf8ReadsAsWindows1252) {
  EXPECT_EQ(DecodeFileText(QByteArray("caf\xe9 \x80", 6)), QString::fromUtf8("café €"));
  struct Case {
    QByteArray bytes;
    QString text;
  } cases[] = {
      {"caf\xc3\xa9", QString::fromUtf8("café")},
      {"\xef\xbb\xbfkeep the mark", QChar(0xFEFF) + QStringLiteral("keep the mark")},
      {"long ascii run and \xe2\x82\xac and \xf0\x9f\x98\x80", QString::fromUtf8("long ascii run and € and 😀")},
      {"overlong \xc0\xaf", QString::fromUtf8("overlong À¯")},
      {"surrogate \xed\xa0\x80", QString::fromUtf8("surrogate í\u00a0€")},
      {"cut \xe2\x82", QString::fromUtf8("cut â‚")},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeFileText(c.bytes), c.text) << c.bytes.toHex().constData();
}
