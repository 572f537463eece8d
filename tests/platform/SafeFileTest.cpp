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

TEST(SafeFile, ContentMadePieceByPiece) {
  TempDir dir;
  const QString name = dir.File("todo.tbl");
  WriteFileSafely(name, "old", true);
  WriteFileSafely(
      name,
      [](const FileChunkWrite& write) {
        write("new ");
        write(QByteArray(100000, 'x'));
      },
      true);
  EXPECT_EQ(ReadAll(name), "new " + QByteArray(100000, 'x'));
  EXPECT_EQ(ReadAll(dir.File("todo.~tbl")), "old");

  // Whatever stops the content half way, the saved file and its copy stay as they were.
  auto halfWay = [](const FileChunkWrite& write) {
    write("half");
    throw EWriteError("out of ideas");
  };
  EXPECT_THROW(WriteFileSafely(name, halfWay, true), EWriteError);
  EXPECT_EQ(ReadAll(name), "new " + QByteArray(100000, 'x'));
  EXPECT_EQ(ReadAll(dir.File("todo.~tbl")), "old");
  EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files | QDir::Hidden).size(), 2) << "no temporary file left";
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
