#include "core/UtFiles.h"
#include "platform/Exception.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QString MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Exception& e) {
    return e.Message();
  }
  return "no exception";
}


}  // namespace

TEST(UtFiles, EnsureDirectoryCreatesMissingParents) {
  TempDir dir;
  const QString nested = dir.File("a/b/c/");
  EnsureDirectory(nested);
  EXPECT_TRUE(DirectoryExists(dir.File("a/b/c")));
  EnsureDirectory(nested);  // existing: nothing to do
  EnsureDirectory("/");
}

TEST(UtFiles, EnsureDirectoryFailures) {
  TempDir dir;
  WriteAll(dir.File("blocker"), "x");
  EXPECT_EQ(MessageOf([] { EnsureDirectory(QString()); }), "Unable to create directory");
  EXPECT_EQ(MessageOf([&] { EnsureDirectory(dir.File("blocker/sub/")); }),
            "Unable to create directory \"" + dir.File("blocker/sub") + "\"");
  EXPECT_EQ(MessageOf([&] { EnsureDirectory(dir.File("blocker")); }),
            "Unable to create directory \"" + dir.File("blocker") + "\"");
}

TEST(UtFiles, CopyFileByStream) {
  TempDir dir;
  const QByteArray content("table\0bytes", 11);
  WriteAll(dir.File("todo.tbl"), content);
  WriteAll(dir.File("copy.tbl"), "an older and longer copy");
  CopyFileByStream(dir.File("todo.tbl"), dir.File("copy.tbl"));
  QFile copy(dir.File("copy.tbl"));
  ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
  EXPECT_EQ(copy.readAll(), content);

  EXPECT_TRUE(MessageOf([&] { CopyFileByStream(dir.File("missing.tbl"), dir.File("x.tbl")); })
                  .contains(dir.File("missing.tbl")));
  EXPECT_TRUE(MessageOf([&] { CopyFileByStream(dir.File("todo.tbl"), dir.File("no/x.tbl")); })
                  .contains(dir.File("no/x.tbl")));
}

TEST(UtFiles, Existence) {
  TempDir dir;
  WriteAll(dir.File("file"), "x");
  QDir(dir.Path()).mkdir("folder");
  QFile::link(dir.File("gone"), dir.File("dangling"));
  struct Case {
    QString name;
    bool file, folder;
  } cases[] = {
      {dir.File("file"), true, false},
      {dir.File("folder"), true, true},
      {dir.File("dangling"), true, false},
      {dir.File("missing"), false, false},
      {QString(), false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FileExists(c.name), c.file) << c.name.toStdString();
    EXPECT_EQ(DirectoryExists(c.name), c.folder) << c.name.toStdString();
  }
}

TEST(UtFiles, SystemDirHoldsTheCLibrary) {
  const QString folder = GetSystemDir();
  EXPECT_FALSE(folder.endsWith('/'));
  EXPECT_TRUE(QFile::exists(folder + "/libc.so.6")) << folder.toStdString();
}
