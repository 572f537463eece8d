// Moving the database folder: every table file reaches the new folder byte for byte
// before anything in the old one goes, a failure leaves everything as it was, and the
// same folder under another name is no move at all.
#include "core/TdAppTestSupport.h"

#include "FakeMainDialogs.h"
#include "core/BCat.h"
#include "core/BRes.h"
#include "core/BTodo.h"
#include "core/BType.h"
#include "core/TdApp.h"
#include "core/UtFiles.h"
#include "platform/Exception.h"
#include "support/FakeDesktop.h"
#include "treeview/LazyStringTree.h"
#include "ui/TdDbFolderMove.h"
#include "ui/TdMain.h"

#include <QAction>
#include <QFile>

namespace {

class DbFolderMoveTest : public ::testing::Test {
protected:
  DbFolderMoveTest() {
    QDir().mkpath(Old());
    // Five table files, each with bytes of its own.
    for (const QString& name : DatabaseTableFiles()) WriteAll(Old() + name, ("bytes of " + name).toUtf8());
  }
  QString Old() const { return dir.File(QStringLiteral("old/")); }
  QString New() const { return dir.File(QStringLiteral("new/")); }

  FakeDesktop desktop;
  TempDir dir;
};

}  // namespace

TEST_F(DbFolderMoveTest, CopiesEveryTableFileByteForByte) {
  const TDbFolderCopyResult result = CopyTableFiles(Old(), New());
  EXPECT_TRUE(result.Ok) << result.Message.toStdString();
  EXPECT_EQ(result.Copied, DatabaseTableFiles());
  for (const QString& name : DatabaseTableFiles()) EXPECT_EQ(ReadAll(New() + name), ReadAll(Old() + name)) << name.toStdString();
}

TEST_F(DbFolderMoveTest, AFailedCopyRemovesTheCopiesAndLeavesTheOldFolderWhole) {
  const auto before = ReadAll(Old() + QStringLiteral("res.tbl"));
  int calls = 0;
  const TDbFolderCopyResult result = CopyTableFiles(Old(), New(), [&](const QString& source, const QString& target) {
    if (++calls == 3) {
      WriteAll(target, "half");  // a copy cut short
      throw Exception(QStringLiteral("disk full"));
    }
    CopyFileByStream(source, target);
  });
  EXPECT_FALSE(result.Ok);
  EXPECT_TRUE(result.Message.contains(QStringLiteral("res.tbl"))) << result.Message.toStdString();
  EXPECT_TRUE(QDir(New()).entryList(QDir::Files).isEmpty()) << "the copies made are gone";
  for (const QString& name : DatabaseTableFiles()) EXPECT_TRUE(QFileInfo::exists(Old() + name)) << name.toStdString();
  EXPECT_EQ(ReadAll(Old() + QStringLiteral("res.tbl")), before);
}

TEST_F(DbFolderMoveTest, ACopyThatReadsBackWrongIsAFailure) {
  const TDbFolderCopyResult result = CopyTableFiles(Old(), New(), [](const QString& source, const QString& target) {
    WriteAll(target, ReadAll(source) + "x");
  });
  EXPECT_FALSE(result.Ok);
  EXPECT_TRUE(QDir(New()).entryList(QDir::Files).isEmpty());
}

TEST_F(DbFolderMoveTest, TableFilesTheNewFolderHoldsAreKept) {
  QDir().mkpath(New());
  WriteAll(New() + QStringLiteral("todo.tbl"), "the new folder's tasks");
  const TDbFolderCopyResult result = CopyTableFiles(Old(), New());
  ASSERT_TRUE(result.Ok);
  EXPECT_FALSE(result.Copied.contains(QStringLiteral("todo.tbl")));
  EXPECT_EQ(ReadAll(New() + QStringLiteral("todo.tbl")), QByteArray("the new folder's tasks"));
}

TEST_F(DbFolderMoveTest, RemovingLeavesNoTableFileNorSafetyCopy) {
  RemoveTableFiles(Old());
  EXPECT_TRUE(QDir(Old()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(DbFolderMoveTest, TheSameFolderUnderAnotherNameIsRecognised) {
  const QString link = dir.File(QStringLiteral("link"));
  ASSERT_TRUE(QFile::link(dir.File(QStringLiteral("old")), link));
  EXPECT_TRUE(SameFolder(Old(), link + QStringLiteral("/")));
  EXPECT_TRUE(SameFolder(Old(), dir.File(QStringLiteral("old/../old"))));
  EXPECT_TRUE(SameFolder(Old(), dir.File(QStringLiteral("old"))));
  EXPECT_FALSE(SameFolder(Old(), New()));
  EXPECT_FALSE(SameFolder(New(), dir.File(QStringLiteral("new2/"))));
}

// ---- Through the options dialog --------------------------------------------------------

namespace {

class OptionsFolderMoveTest : public ::testing::Test {
protected:
  // A task in the data folder's todo.tbl, an archived one in archive.tbl.
  OptionsFolderMoveTest() {
    QDir().mkpath(data.Folder());
    WriteStore(data.File(QStringLiteral("todo.tbl")), QStringLiteral("Water the plants"));
    WriteStore(data.File(QStringLiteral("archive.tbl")), QStringLiteral("Paid the rent"));
    handler = std::make_unique<TTodoAppHandler>();
    // All four stores on disk, so the move has five files to carry.
    handler->CategoryHandler().SetModified(true);
    handler->ResourceHandler().SetModified(true);
    handler->TypeHandler().SetModified(true);
    handler->SaveAll();
    form = std::make_unique<TTodoMainForm>(*handler, &dialogs);
  }

  static void WriteStore(const QString& file, const QString& title) {
    TTdTodoHandler store(file);
    store.AddTodo()->Title = title;
    store.SetModified(true);
    store.Save();
  }

  // Chooses `folder` in the options dialog.
  void ChooseFolder(const QString& folder) {
    dialogs.onOptions = [folder](TTdAppOptions& o) {
      o.SpecialDbLocation = true;
      o.DatabaseFolder = folder;
      return true;
    };
    form->acEditTodoOptions->trigger();
  }

  QString Target() const { return data.Root() + QStringLiteral("/elsewhere/"); }

  FakeDesktop desktop;
  DataFolderPin data;
  FakeMainDialogs dialogs;
  std::unique_ptr<TTodoAppHandler> handler;
  std::unique_ptr<TTodoMainForm> form;
};

}  // namespace

TEST_F(OptionsFolderMoveTest, MovesTheFilesAndGoesOnWithTheUnsavedTasks) {
  handler->TodoHandler().AddTodo()->Title = QStringLiteral("Not saved yet");
  handler->TodoHandler().SetModified(true);
  form->TasksAdded(1);
  ChooseFolder(Target());

  EXPECT_TRUE(desktop.Calls(QStringLiteral("message:")).isEmpty());
  EXPECT_EQ(handler->Options().DatabaseFolder, Target());
  EXPECT_EQ(handler->TodoHandler().FileName(), Target() + QStringLiteral("todo.tbl"));
  for (const QString& name : DatabaseTableFiles()) {
    EXPECT_TRUE(QFileInfo::exists(Target() + name)) << name.toStdString();
    EXPECT_FALSE(QFileInfo::exists(data.File(name))) << name.toStdString();
  }
  EXPECT_EQ(handler->TodoHandler().TaskCount(), 2) << "what was not saved came along";
  EXPECT_EQ(form->TaskTree().RootNodeCount(), 2u);
  EXPECT_TRUE(QFileInfo::exists(data.File(QStringLiteral("pendra.ini")))) << "the settings stay";
  TTdAppOptionsHandler settings(data.File(QStringLiteral("pendra.ini")));
  settings.ReadOptions();
  EXPECT_EQ(settings.Options().DatabaseFolder, Target()) << "the settings name the new folder at once";
  EXPECT_EQ(desktop.WaitDepth(), 0);
}

TEST_F(OptionsFolderMoveTest, ANewFolderWithTasksIsUsedAsItIs) {
  QDir().mkpath(Target());
  WriteStore(Target() + QStringLiteral("todo.tbl"), QStringLiteral("Already there"));
  ChooseFolder(Target());
  ASSERT_EQ(handler->TodoHandler().TaskCount(), 1);
  EXPECT_EQ(handler->TodoHandler().GetTodo(0)->Title, QStringLiteral("Already there"));
  EXPECT_EQ(form->TasksInTreeOrder().front()->Title, QStringLiteral("Already there"));
  EXPECT_FALSE(QFileInfo::exists(data.File(QStringLiteral("todo.tbl"))));
}

TEST_F(OptionsFolderMoveTest, AFolderThatCannotBeMadeLeavesEverythingAsItWas) {
  const auto before = data.Snapshot();
  WriteAll(data.Root() + QStringLiteral("/a-file"), "not a folder");
  ChooseFolder(data.Root() + QStringLiteral("/a-file/sub/"));
  ASSERT_EQ(desktop.Messages().size(), 1u);
  EXPECT_EQ(desktop.Messages()[0].caption, QStringLiteral("Message"));
  EXPECT_EQ(handler->Options().DatabaseFolder, data.Folder()) << "the options keep the old folder";
  EXPECT_EQ(handler->TodoHandler().FileName(), data.File(QStringLiteral("todo.tbl")));
  for (const QString& name : {QStringLiteral("todo.tbl"), QStringLiteral("archive.tbl")})
    EXPECT_EQ(data.Read(name), before.value(data.File(name))) << name.toStdString();
  EXPECT_EQ(handler->TodoHandler().TaskCount(), 1);
  TTdAppOptionsHandler settings(data.File(QStringLiteral("pendra.ini")));
  settings.ReadOptions();
  EXPECT_EQ(settings.Options().DatabaseFolder, data.Folder()) << "the settings never named the new folder";
}

TEST_F(OptionsFolderMoveTest, ADamagedTaskFileInTheNewFolderStopsTheMove) {
  QDir().mkpath(Target());
  WriteAll(Target() + QStringLiteral("todo.tbl"), QByteArray("\x07\0\0\0", 4));
  ChooseFolder(Target());
  ASSERT_EQ(desktop.Messages().size(), 1u);
  EXPECT_TRUE(desktop.Messages()[0].text.contains(QStringLiteral("Wrong version")));
  EXPECT_TRUE(QFileInfo::exists(data.File(QStringLiteral("todo.tbl"))));
  EXPECT_FALSE(QFileInfo::exists(Target() + QStringLiteral("cat.tbl"))) << "the copies are taken back";
  EXPECT_EQ(handler->Options().DatabaseFolder, data.Folder());
  EXPECT_EQ(form->TasksInTreeOrder().size(), 1u);
}

TEST_F(OptionsFolderMoveTest, TheSameFolderByASymlinkIsNoMove) {
  const QString link = data.Root() + QStringLiteral("/link");
  ASSERT_TRUE(QFile::link(QDir::cleanPath(data.Folder()), link));
  handler->SaveAll();
  const auto before = data.Snapshot();
  ChooseFolder(link + QStringLiteral("/"));
  EXPECT_TRUE(desktop.Calls(QStringLiteral("message:")).isEmpty());
  EXPECT_EQ(handler->TodoHandler().FileName(), data.File(QStringLiteral("todo.tbl")));
  for (const QString& name : DatabaseTableFiles())
    EXPECT_EQ(data.Read(name), before.value(data.File(name))) << name.toStdString();
}
