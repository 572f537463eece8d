// The application handler's start, save-all and shut-down.
#include "TdAppTestSupport.h"
#include "TodoTestSupport.h"

#include "core/BCat.h"
#include "core/BRes.h"
#include "core/BType.h"
#include "core/TdApp.h"
#include "support/FakeDesktop.h"

#include <QFileInfo>

namespace {

const QByteArray kWrongVersion("\x02\0\0\0", 4);

QByteArray CategoryFile(const QString& name) {
  TTdCategoryHandler store(QStringLiteral("/x/cat.tbl"));
  store.Load();
  store.AddCategory()->Name = name;
  return store.SaveToBytes();
}

// Resources have no image index: a category file is no resource file.
QByteArray ResourceFile(const QString& name) {
  TTdResourceHandler store(QStringLiteral("/x/res.tbl"));
  store.Load();
  store.AddResource()->Name = name;
  return store.SaveToBytes();
}

QByteArray TodoFile(const QStringList& titles) {
  TTdTodoHandler store(QStringLiteral("/x/todo.tbl"));
  for (const QString& title : titles) {
    TTdTodo* t = store.AddTodo();
    t->ID = ++store.LastId;
    t->Title = title;
  }
  return store.SaveToBytes();
}

// Every store has something to write.
void ModifyAll(TTodoAppHandler& app) {
  app.TodoHandler().AddTodo()->Title = QStringLiteral("new");
  app.TodoHandler().SetModified(true);
  app.TypeHandler().AddType()->Name = QStringLiteral("new type");
  app.ResourceHandler().AddResource()->Name = QStringLiteral("new resource");
  app.CategoryHandler().AddCategory()->Name = QStringLiteral("new category");
}

class AppHandlerTest : public ::testing::Test {
protected:
  FakeDesktop desktop;
  DataFolderPin data;
  FakeMainLink link;
};

}  // namespace

TEST_F(AppHandlerTest, FirstStartCreatesTheFoldersAndWritesOnlyAtTheEnd) {
  const QString database = data.Root() + QStringLiteral("/db/a/b/");
  {
    data.WriteSettings(QStringLiteral("[General]\nSpecialDbLocation=1\nDatabaseFolder=%1\n").arg(database));
    const auto before = data.Snapshot();
    TTodoAppHandler app(&link);
    EXPECT_TRUE(QFileInfo(database).isDir()) << "created with its missing parents";
    EXPECT_EQ(app.TodoHandler().FileName(), database + QStringLiteral("todo.tbl"));
    EXPECT_EQ(app.CategoryHandler().FileName(), database + QStringLiteral("cat.tbl"));
    EXPECT_EQ(app.ResourceHandler().FileName(), database + QStringLiteral("res.tbl"));
    EXPECT_EQ(app.TypeHandler().FileName(), database + QStringLiteral("type.tbl"));
    EXPECT_GT(app.CategoryHandler().Count(), 0) << "default entries";
    EXPECT_EQ(data.Snapshot(), before) << "starting writes nothing";
  }
  // The lists got their default entries and are written; the empty task store is not.
  for (const char* name : {"cat.tbl", "res.tbl", "type.tbl"})
    EXPECT_TRUE(QFileInfo::exists(database + QString::fromLatin1(name))) << name;
  EXPECT_FALSE(QFileInfo::exists(database + QStringLiteral("todo.tbl")));
  EXPECT_TRUE(QFileInfo::exists(data.File(QStringLiteral("pendra.ini")))) << "the settings stay in the data folder";
}

TEST_F(AppHandlerTest, DataFolderIsCreatedWhenMissing) {
  ASSERT_FALSE(QFileInfo::exists(data.Folder()));
  TTodoAppHandler app(nullptr);
  EXPECT_TRUE(QFileInfo(data.Folder()).isDir());
  EXPECT_EQ(app.TodoHandler().FileName(), data.File(QStringLiteral("todo.tbl")));
}

TEST_F(AppHandlerTest, LoadsTheStoresAndTheirAssociationIcons) {
  data.Write(QStringLiteral("cat.tbl"), CategoryFile(QStringLiteral("Garden")));
  TTdTodoHandler todos(data.File(QStringLiteral("todo.tbl")));
  for (const char* association : {"/d/a.doc", "", "/d/b.pdf", "/d/c.DOC"}) {
    TTdTodo* t = todos.AddTodo();
    t->ID = ++todos.LastId;
    t->Association = QString::fromLatin1(association);
  }
  todos.SetModified(true);
  todos.Save();

  TTodoAppHandler app(&link);
  EXPECT_EQ(app.CategoryHandler().NameOf(app.CategoryHandler().Count() - 1), QStringLiteral("Garden"));
  ASSERT_EQ(app.TodoHandler().TaskCount(), 4);
  EXPECT_EQ(link.log, QStringList({"image", "image"})) << "one image per extension";
  EXPECT_EQ(app.AssociationIconIndex(*app.TodoHandler().GetTodo(0)), 60);
  EXPECT_EQ(app.AssociationIconIndex(*app.TodoHandler().GetTodo(2)), 61);
  EXPECT_EQ(app.AssociationIconIndex(*app.TodoHandler().GetTodo(3)), 60);
}

namespace {

struct DamageCase {
  const char* name;
  const char* firstDamaged;  // this file and every one loaded after it are damaged
  const char* message;       // the expected error, before the file's path
};

const QStringList kLoadOrder = {"cat.tbl", "res.tbl", "type.tbl", "todo.tbl"};

class StartFailureTest : public AppHandlerTest, public ::testing::WithParamInterface<DamageCase> {};

}  // namespace

// Later files are damaged too: the message names the first one, so the files are read
// in order and the start stops there.
TEST_P(StartFailureTest, TheFirstDamagedFileStopsTheStartAndNothingIsWritten) {
  const DamageCase& c = GetParam();
  data.WriteSettings(QStringLiteral("[General]\nLeft=5\n"));
  bool damaged = false;
  for (const QString& name : kLoadOrder) {
    damaged = damaged || name == QLatin1String(c.firstDamaged);
    if (name == QLatin1String("todo.tbl")) data.Write(name, damaged ? kWrongVersion : TodoFile({"a", "b"}));
    else if (name == QLatin1String("res.tbl")) data.Write(name, damaged ? kWrongVersion : ResourceFile(QStringLiteral("x")));
    else data.Write(name, damaged ? kWrongVersion : CategoryFile(QStringLiteral("x")));
  }
  const auto before = data.Snapshot();

  try {
    TTodoAppHandler app(&link);
    FAIL() << "the start went on";
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), QString::fromLatin1(c.message) + data.File(QString::fromLatin1(c.firstDamaged)));
  }
  EXPECT_EQ(data.Snapshot(), before) << "no table file and no settings written";
  EXPECT_TRUE(desktop.Log().isEmpty()) << desktop.Log().join(QLatin1Char(',')).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Files, StartFailureTest,
    ::testing::Values(DamageCase{"Categories", "cat.tbl", "Wrong version in Category-file "},
                      DamageCase{"Resources", "res.tbl", "Wrong version in Resource-file "},
                      DamageCase{"Types", "type.tbl", "Wrong version in Type-file "},
                      DamageCase{"Tasks", "todo.tbl", "Wrong version in Todo-file "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AppHandlerTest, ATaskFileCutShortStopsTheStart) {
  const QByteArray whole = TodoFile({"first", "second"});
  data.Write(QStringLiteral("todo.tbl"), whole.left(whole.size() - 7));
  EXPECT_THROW(TTodoAppHandler app(&link), EReadError);
  EXPECT_FALSE(QFileInfo::exists(data.File(QStringLiteral("cat.tbl")))) << "the lists' defaults are not written";
  EXPECT_FALSE(QFileInfo::exists(data.File(QStringLiteral("pendra.ini"))));
}

TEST_F(AppHandlerTest, SaveAllWritesTheStoresThenTheSettingsWithTheWindowBounds) {
  TTodoAppHandler app(&link);
  ModifyAll(app);
  link.log.clear();

  EXPECT_TRUE(app.SaveAll());
  EXPECT_EQ(desktop.Log(), QStringList({"wait:on", "wait:off"}));
  EXPECT_EQ(link.log, QStringList({"status?", "bounds?", "status=Ready"}));
  EXPECT_FALSE(app.TodoHandler().Modified());
  EXPECT_FALSE(app.CategoryHandler().Modified());
  for (const QString& name : kLoadOrder) EXPECT_TRUE(QFileInfo::exists(data.File(name))) << name.toStdString();

  TTdAppOptionsHandler saved(data.File(QStringLiteral("pendra.ini")));
  saved.ReadOptions();
  EXPECT_EQ(saved.Options().Left, 10);
  EXPECT_EQ(saved.Options().Top, 20);
  EXPECT_EQ(saved.Options().Width, 640);
  EXPECT_EQ(saved.Options().Height, 480);
}

TEST_F(AppHandlerTest, WithoutAWindowTheStoredBoundsAreKept) {
  data.WriteSettings(QStringLiteral("[General]\nLeft=33\nTop=44\nWidth=700\nHeight=500\n"));
  TTodoAppHandler(nullptr).SaveAll();
  TTdAppOptionsHandler saved(data.File(QStringLiteral("pendra.ini")));
  saved.ReadOptions();
  EXPECT_EQ(saved.Options().Left, 33);
  EXPECT_EQ(saved.Options().Top, 44);
  EXPECT_EQ(saved.Options().Width, 700);
  EXPECT_EQ(saved.Options().Height, 500);
}

namespace {

// Save order: todo.tbl, type.tbl, res.tbl, cat.tbl, pendra.ini.
const QStringList kSaveOrder = {"todo.tbl", "type.tbl", "res.tbl", "cat.tbl", "pendra.ini"};

class SaveFailureTest : public AppHandlerTest, public ::testing::WithParamInterface<const char*> {};

}  // namespace

// A file that cannot be written (a folder stands in its place) stops the save there:
// what comes before it is saved, what comes after it is not; cursor and status text
// are restored and the error reaches the caller.
TEST_P(SaveFailureTest, StopsAtTheFailingFile) {
  const QString failing = QString::fromLatin1(GetParam());
  TTodoAppHandler app(&link);
  ModifyAll(app);
  ASSERT_TRUE(QDir().mkpath(data.File(failing)));
  link.log.clear();

  try {
    app.SaveAll();
    FAIL() << "the save went through";
  } catch (const EWriteError& error) {
    EXPECT_TRUE(error.Message().contains(failing)) << error.Message().toStdString();
  }
  EXPECT_EQ(desktop.WaitDepth(), 0);
  EXPECT_EQ(desktop.Log(), QStringList({"wait:on", "wait:off"}));
  EXPECT_EQ(link.log.last(), QStringLiteral("status=Ready"));

  const bool modified[] = {app.TodoHandler().Modified(), app.TypeHandler().Modified(),
                           app.ResourceHandler().Modified(), app.CategoryHandler().Modified()};
  const qsizetype failAt = kSaveOrder.indexOf(failing);
  for (qsizetype i = 0; i < kSaveOrder.size(); ++i) {
    const bool saved = QFileInfo(data.File(kSaveOrder[i])).isFile();
    EXPECT_EQ(saved, i < failAt) << kSaveOrder[i].toStdString();
    if (i < 4) {
      EXPECT_EQ(modified[i], i >= failAt) << kSaveOrder[i].toStdString();
    }
  }
  // Out of the way again, the next save writes the rest.
  ASSERT_TRUE(QDir(data.File(failing)).removeRecursively());
  EXPECT_TRUE(app.SaveAll());
  for (const QString& name : kSaveOrder) EXPECT_TRUE(QFileInfo(data.File(name)).isFile()) << name.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Files, SaveFailureTest,
                         ::testing::Values("todo.tbl", "type.tbl", "res.tbl", "cat.tbl", "pendra.ini"),
                         [](const auto& info) {
                           std::string name = info.param;
                           name[name.find('.')] = '_';
                           return name;
                         });

TEST_F(AppHandlerTest, DestroyingSavesAndShowsAFailureInsteadOfRaising) {
  auto app = std::make_unique<TTodoAppHandler>(&link);
  ModifyAll(*app);
  ASSERT_TRUE(QDir().mkpath(data.File(QStringLiteral("type.tbl"))));
  EXPECT_NO_THROW(app.reset());
  ASSERT_EQ(desktop.Messages().size(), 1u);
  EXPECT_EQ(desktop.Messages()[0].caption, QStringLiteral("Application Error"));
  EXPECT_TRUE(desktop.Messages()[0].text.contains(QStringLiteral("type.tbl")));
  EXPECT_TRUE(QFileInfo(data.File(QStringLiteral("todo.tbl"))).isFile()) << "saved before the failing file";
  EXPECT_FALSE(QFileInfo::exists(data.File(QStringLiteral("res.tbl"))));
}

TEST_F(AppHandlerTest, ArchivesClosedTasksBesideTheTaskFile) {
  TTodoAppHandler app(&link);
  for (int32_t status : {tsOK, tsOpen, tsCancelled}) {
    TTdTodo* t = app.TodoHandler().AddTodo();
    t->ID = ++app.TodoHandler().LastId;
    t->SetStatus(status);
  }
  EXPECT_EQ(app.ClosedCount(), 2);
  EXPECT_EQ(app.ArchiveClosed(), 2);
  EXPECT_EQ(app.ClosedCount(), 0);
  TTdTodoHandler archive(data.File(QStringLiteral("archive.tbl")));
  archive.Load();
  EXPECT_EQ(archive.TaskCount(), 2);
}
