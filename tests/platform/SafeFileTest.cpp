#include "platform/Exception.h"
#include "platform/SafeFile.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <sys/stat.h>

namespace {

mode_t ModeOf(const QString& name) {
  struct stat info {};
  EXPECT_EQ(::stat(QFile::encodeName(name).constData(), &info), 0) << name.toStdString();
  return info.st_mode & 0777;
}

void SetMode(const QString& name, mode_t mode) { ASSERT_EQ(::chmod(QFile::encodeName(name).constData(), mode), 0); }

class UmaskPin {
public:
  explicit UmaskPin(mode_t mask) : saved_(::umask(mask)) {}
  ~UmaskPin() { ::umask(saved_); }

private:
  mode_t saved_;
};

}  // namespace

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

namespace {

struct FailureCase {
  const char* name;
  std::function<void(const TempDir&)> arrange;  // todo.tbl holds "old" already
  int error;                                    // the reason the message ends with
};

int FailingSync(int) {
  errno = EIO;
  return -1;
}

}  // namespace

// The message names the file and the reason of the step that failed, not of a call
// made while cleaning up after it.
TEST(SafeFile, FailuresRaiseWithTheirOwnReason) {
  const FailureCase cases[] = {
      {"missing folder", [](const TempDir& dir) { QDir(dir.File("sub")).removeRecursively(); }, ENOENT},
      {"folder in the way of the safety copy", [](const TempDir& dir) { QDir(dir.Path()).mkpath("sub/todo.~tbl/x"); },
       EISDIR},
      {"link loop",
       [](const TempDir& dir) {
         QFile::remove(dir.File("sub/todo.tbl"));
         QFile::link("todo.tbl", dir.File("sub/todo.tbl"));
       },
       ELOOP},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    ASSERT_TRUE(QDir(dir.Path()).mkpath("sub"));
    const QString name = dir.File("sub/todo.tbl");
    WriteFileSafely(name, "old", false);
    c.arrange(dir);
    const QByteArray before = ReadAll(name);
    try {
      WriteFileSafely(name, "new", true);
      ADD_FAILURE() << "saved";
    } catch (const EWriteError& e) {
      EXPECT_EQ(e.Message(), QStringLiteral("Cannot write file \"%1\". %2").arg(name, QString::fromLocal8Bit(std::strerror(c.error))));
    }
    EXPECT_EQ(ReadAll(name), before);
    if (QFileInfo(dir.File("sub")).isDir()) {
      EXPECT_EQ(QDir(dir.File("sub")).entryList({".todo.tbl.*"}, QDir::Files | QDir::Hidden), QStringList())
          << "no temporary file left";
    }
  }
}

// The content is in place, but the rename may not survive a power cut: the caller must
// hear of it like any other failed write.
TEST(SafeFile, AFailedSyncOfTheFolderIsAWriteError) {
  TempDir dir;
  const QString name = dir.File("todo.tbl");
  WriteFileSafely(name, "old", true);
  const FolderSyncScope failingSync(FailingSync);
  try {
    WriteFileSafely(name, "new", true);
    ADD_FAILURE() << "reported as saved";
  } catch (const EWriteError& e) {
    EXPECT_TRUE(e.Message().endsWith(QString::fromLocal8Bit(std::strerror(EIO)))) << e.Message().toStdString();
  }
}

TEST(SafeFile, TheSavedFileKeepsItsPermissions) {
  const mode_t modes[] = {0600, 0640, 0644, 0400};
  for (const mode_t mode : modes) {
    SCOPED_TRACE(mode);
    TempDir dir;
    const QString name = dir.File("todo.tbl");
    WriteFileSafely(name, "old", true);
    SetMode(name, mode);
    mode_t whileWritten = 0;
    WriteFileSafely(
        name,
        [&](const FileChunkWrite& write) {
          write("new");
          const QStringList temporary = QDir(dir.Path()).entryList({".todo.tbl.*"}, QDir::Files | QDir::Hidden);
          ASSERT_EQ(temporary.size(), 1);
          whileWritten = ModeOf(dir.File(temporary[0]));
        },
        true);
    EXPECT_EQ(ReadAll(name), "new");
    EXPECT_EQ(ModeOf(name), mode);
    EXPECT_EQ(whileWritten, mode_t(0600)) << "nobody else may read the content while it is written";
    EXPECT_EQ(ReadAll(dir.File("todo.~tbl")), "old");
    EXPECT_EQ(ModeOf(dir.File("todo.~tbl")), mode);
  }
}

TEST(SafeFile, ANewFileGetsTheUsualModeUnderTheUmask) {
  for (const mode_t mask : {mode_t(022), mode_t(077), mode_t(002)}) {
    SCOPED_TRACE(mask);
    const UmaskPin pin(mask);
    TempDir dir;
    WriteFileSafely(dir.File("todo.tbl"), "new", true);
    EXPECT_EQ(ModeOf(dir.File("todo.tbl")), 0666 & ~mask);
  }
}

// The user keeps the task file elsewhere and links to it: the link stays, the file it
// points to gets the new content, and the safety copy is made beside that file.
TEST(SafeFile, ASymbolicLinkIsWrittenThrough) {
  TempDir dir;
  ASSERT_TRUE(QDir(dir.Path()).mkpath("data/real"));
  const QString target = dir.File("data/real/todo.tbl");
  const QString link = dir.File("data/todo.tbl");
  WriteFileSafely(target, "old", false);
  SetMode(target, 0600);
  ASSERT_TRUE(QFile::link("real/todo.tbl", link));  // relative, as users make them

  WriteFileSafely(link, "new", true);
  EXPECT_TRUE(QFileInfo(link).isSymLink());
  EXPECT_EQ(QFile::symLinkTarget(link), target);
  EXPECT_EQ(ReadAll(target), "new");
  EXPECT_EQ(ReadAll(dir.File("data/real/todo.~tbl")), "old");
  EXPECT_EQ(ModeOf(target), mode_t(0600));
  EXPECT_FALSE(QFileInfo::exists(dir.File("data/todo.~tbl")));

  // A link whose file is not there yet: the file is made where the link points.
  const QString dangling = dir.File("data/later.tbl");
  ASSERT_TRUE(QFile::link("real/later.tbl", dangling));
  WriteFileSafely(dangling, "first", true);
  EXPECT_TRUE(QFileInfo(dangling).isSymLink());
  EXPECT_EQ(ReadAll(dir.File("data/real/later.tbl")), "first");
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

// A writer that streams into the device: nothing changes until Commit, and a writer
// dropped before it leaves the file, its copy and the folder as they were.
TEST(SafeFile, AWriterReplacesTheFileOnlyOnCommit) {
  TempDir dir;
  const QString name = dir.File("todo.tbl");
  WriteFileSafely(name, "old", true);
  SetMode(name, 0640);
  {
    SafeFileWriter writer(name, true);
    writer.Device().write("dropped");
  }
  EXPECT_EQ(ReadAll(name), "old");
  EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files | QDir::Hidden), QStringList{"todo.tbl"});
  {
    SafeFileWriter writer(name, true);
    writer.Device().write("new ");
    writer.Device().write(QByteArray(100000, 'x'));
    EXPECT_EQ(ReadAll(name), "old") << "not before Commit";
    writer.Commit();
  }
  EXPECT_EQ(ReadAll(name), "new " + QByteArray(100000, 'x'));
  EXPECT_EQ(ModeOf(name), mode_t(0640));
  EXPECT_EQ(ReadAll(dir.File("todo.~tbl")), "old");
  EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files | QDir::Hidden).size(), 2) << "no temporary file left";

  EXPECT_THROW(SafeFileWriter(dir.File("gone/todo.tbl"), false), EWriteError);
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
