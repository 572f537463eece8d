#include "core/TdAppTestSupport.h"

#include "core/BTodo.h"
#include "core/TdApp.h"
#include "support/FakeDesktop.h"
#include "controls/FolderDialog.h"
#include "controls/UtBrowsr.h"
#include "ui/TdBackup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using DateTime::EncodeDateTime;

namespace {

TEST(BackupNameTest, DateBeforeTheFileName) {
  EXPECT_EQ(BackupCopyName("/b/", QDate(2024, 1, 31), "todo.tbl"), "/b/20240131_todo.tbl");
  EXPECT_EQ(BackupCopyName("/b/", QDate(2024, 12, 5), "archive.tbl"), "/b/20241205_archive.tbl");
}

class BackupTest : public ::testing::Test {
protected:
  TempDir dir;
  QString db = dir.File("db/");
  QString backup = dir.File("backup/");
  const QDate day{2024, 1, 31};

  void SetUp() override {
    QDir().mkpath(db);
    QDir().mkpath(backup);
    for (const char* name : {"todo.tbl", "cat.tbl", "res.tbl", "type.tbl"})
      WriteAll(db + name, QByteArray("bytes of ") + name);
  }
};

TEST_F(BackupTest, CopiesTheFourTablesAndTheArchiveWhenThereIsOne) {
  TBackupResult result = CopyTableFiles(db, backup, day);
  ASSERT_TRUE(result.Ok) << result.Reason.toStdString();
  EXPECT_EQ(result.Copies.size(), 4);
  EXPECT_EQ(ReadAll(backup + "20240131_cat.tbl"), "bytes of cat.tbl");

  WriteAll(db + "archive.tbl", "archived");
  WriteAll(db + "todo.tbl", "newer tasks");
  result = CopyTableFiles(db, backup, day);
  ASSERT_TRUE(result.Ok);
  EXPECT_EQ(result.Copies.size(), 5);
  EXPECT_EQ(ReadAll(backup + "20240131_archive.tbl"), "archived");
  EXPECT_EQ(ReadAll(backup + "20240131_todo.tbl"), "newer tasks") << "the day's copy is replaced";
}

TEST_F(BackupTest, FailuresNameTheFileAndTheReason) {
  QFile::remove(db + "res.tbl");
  TBackupResult result = CopyTableFiles(db, backup, day);
  EXPECT_FALSE(result.Ok);
  EXPECT_EQ(result.File, db + "res.tbl");
  EXPECT_FALSE(result.Reason.isEmpty());

  WriteAll(db + "res.tbl", "r");
  WriteAll(dir.File("plain"), "a file, not a folder");
  result = CopyTableFiles(db, dir.File("plain/"), day);
  EXPECT_FALSE(result.Ok);
  EXPECT_EQ(result.File, dir.File("plain/20240131_todo.tbl"));
  EXPECT_FALSE(result.Reason.isEmpty());
}

class BackupActionTest : public ::testing::Test {
protected:
  FakeDesktop desktop;
  DataFolderPin data;
  ClockPin clock{EncodeDateTime(2024, 1, 31, 9, 0)};
  TempDir target;
};

TEST_F(BackupActionTest, SavesEveryStoreFirstThenReportsSuccess) {
  TTodoAppHandler handler(nullptr, TTodoAppTimings{25000, 0});
  handler.TodoHandler().AddTodo()->Title = QStringLiteral("not saved yet");
  EXPECT_TRUE(RunBackup(handler, target.Path()));
  EXPECT_EQ(handler.Options().BackupFolder, target.Path() + "/");
  const QByteArray copy = ReadAll(target.File("20240131_todo.tbl"));
  EXPECT_TRUE(copy.contains("not saved yet")) << "the unsaved task is in the copy";
  EXPECT_EQ(copy, data.Read("todo.tbl"));
  EXPECT_FALSE(ReadAll(target.File("20240131_type.tbl")).isEmpty());
  ASSERT_FALSE(desktop.Messages().empty());
  EXPECT_EQ(desktop.Messages().back().text, "Data files successfully backuped to " + target.Path() + "/");
  EXPECT_EQ(desktop.Messages().back().icon, Msg::Information);
}

TEST_F(BackupActionTest, AFailureIsReportedNotSuccess) {
  TTodoAppHandler handler(nullptr, TTodoAppTimings{25000, 0});
  WriteAll(target.File("plain"), "x");
  EXPECT_FALSE(RunBackup(handler, target.File("plain")));
  ASSERT_FALSE(desktop.Messages().empty());
  EXPECT_TRUE(desktop.Messages().back().text.startsWith("The backup failed: " + target.File("plain/20240131_todo.tbl")));
  EXPECT_EQ(desktop.Messages().back().icon, Msg::Critical);
}

// Chooses a folder, or cancels; remembers where the picker opened.
class ChosenFolder : public FolderDialogHost, public FolderDialogWindow {
public:
  explicit ChosenFolder(std::optional<QString> folder) : folder_(std::move(folder)), scope_(*this) {}
  std::optional<FolderChoice> Run(const FolderDialogRequest&, FolderDialogEvents& events) override {
    events.Initialized(*this);
    events.Closed();
    if (!folder_) return std::nullopt;
    return FolderChoice{*folder_, *folder_, 0};
  }
  void SetCaption(const QString&) override {}
  void SetSelection(const QString& path) override { openedAt = path; }
  void SetStatusText(const QString&) override {}
  QSize Size() const override { return {400, 300}; }
  void Move(const QPoint&) override {}
  QString openedAt;

private:
  std::optional<QString> folder_;
  FolderDialogsScope scope_;
};

TEST_F(BackupActionTest, ThePickerOpensAtTheLastBackupFolder) {
  TTodoAppHandler handler(nullptr, TTodoAppTimings{25000, 0});
  handler.OptionsHandler().Options().BackupFolder = target.Path() + "/";
  TUtBrowser browser;
  {
    ChosenFolder cancel(std::nullopt);
    EXPECT_FALSE(ExecuteBackup(handler, browser));
    EXPECT_TRUE(desktop.Messages().empty()) << "a cancel shows nothing";
    EXPECT_EQ(QDir::cleanPath(cancel.openedAt), QDir::cleanPath(target.Path()));
  }
  ChosenFolder choose(target.Path());
  EXPECT_TRUE(ExecuteBackup(handler, browser));
  EXPECT_TRUE(QFileInfo::exists(target.File("20240131_todo.tbl")));
}

}  // namespace
