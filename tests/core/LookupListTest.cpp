#include "core/BCat.h"
#include "core/BRes.h"
#include "core/BTodo.h"
#include "core/BType.h"
#include "core/UtFiles.h"
#include "platform/Exception.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

QByteArray Hex(const char* hex) { return QByteArray::fromHex(hex); }




template <typename Handler>
QStringList Names(const Handler& h) {
  QStringList names;
  for (const auto& e : h.Items()) names << e->Name;
  return names;
}

template <typename Handler>
QList<int> Images(const Handler& h) {
  TImageIndexList images;
  h.GetImageIndexes(images);
  return images;
}

// "-- unknown --" (-1), "Home" (7)
const QByteArray kCatFile = Hex("01000000 02000000 0d000000") + "-- unknown --" + Hex("ffffffff 04000000") + "Home" +
                            Hex("07000000");
// "-- unknown --", "Anna"
const QByteArray kResFile = Hex("01000000 02000000 0d000000") + "-- unknown --" + Hex("04000000") + "Anna";
// "-- unknown --" (0), "Call" (35)
const QByteArray kTypeFile = Hex("01000000 02000000 0d000000") + "-- unknown --" + Hex("00000000 04000000") + "Call" +
                             Hex("23000000");

}  // namespace

TEST(LookupFiles, LayoutsByteForByte) {
  TempDir dir;
  TTdCategoryHandler cats(dir.File("cat.tbl"));
  cats.Load();
  TTdCategory* home = cats.AddCategory();
  home->Name = "Home";
  home->ImageIndex = 7;
  cats.Save();
  EXPECT_EQ(ReadAll(dir.File("cat.tbl")), kCatFile);
  EXPECT_FALSE(cats.Modified());

  TTdResourceHandler res(dir.File("res.tbl"));
  res.Load();
  res.AddResource()->Name = "Anna";
  res.Save();
  EXPECT_EQ(ReadAll(dir.File("res.tbl")), kResFile);

  WriteAll(dir.File("type.tbl"), kTypeFile);
  TTdTypeHandler types(dir.File("type.tbl"));
  types.Load();
  EXPECT_FALSE(types.Modified());
  EXPECT_EQ(Names(types), QStringList({"-- unknown --", "Call"}));
  EXPECT_EQ(Images(types), QList<int>({0, 35}));
  types.GetType(1)->Name = "Phone";
  types.SetModified(true);
  types.Save();
  EXPECT_EQ(ReadAll(dir.File("type.~tbl")), kTypeFile) << "the previous file is kept as the \"~\" copy";
  EXPECT_EQ(ReadAll(dir.File("type.tbl")), kTypeFile.left(29) + Hex("05000000") + "Phone" + Hex("23000000"));

  TTdCategoryHandler again(dir.File("cat.tbl"));
  again.Load();
  EXPECT_EQ(Names(again), QStringList({"-- unknown --", "Home"}));
  EXPECT_EQ(Images(again), QList<int>({-1, 7}));
}

TEST(LookupFiles, SaveWritesOnlyWhenModified) {
  TempDir dir;
  WriteAll(dir.File("cat.tbl"), kCatFile);
  TTdCategoryHandler cats(dir.File("cat.tbl"));
  cats.Load();
  cats.GetCategory(1)->Name = "changed without telling the handler";
  cats.Save();
  EXPECT_EQ(ReadAll(dir.File("cat.tbl")), kCatFile);
  EXPECT_FALSE(QFile::exists(dir.File("cat.~tbl")));
}

TEST(LookupFiles, MissingOrEmptyFilesGetTheDefaultLists) {
  TempDir dir;
  TTdCategoryHandler cats(dir.File("cat.tbl"));
  cats.Load();
  EXPECT_EQ(Names(cats), QStringList({"-- unknown --"}));
  EXPECT_EQ(Images(cats), QList<int>({-1}));
  EXPECT_TRUE(cats.Modified());
  cats.Save();
  EXPECT_EQ(QFileInfo(dir.File("cat.tbl")).size(), 4 + 4 + 4 + 13 + 4);

  TTdResourceHandler res(dir.File("res.tbl"));
  res.Load();
  EXPECT_EQ(Names(res), QStringList({"-- unknown --"}));
  res.Save();
  EXPECT_EQ(QFileInfo(dir.File("res.tbl")).size(), 4 + 4 + 4 + 13);

  const QStringList defaultTypes = {"-- unknown --", "Call", "Mail",    "Meet",  "Trash",   "Find", "Arrange", "Fix",
                                    "Buy",           "Invest", "Talk to", "Write", "Check", "Fix bug", "Idea"};
  const QList<int> defaultImages = {0, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48};
  TTdTypeHandler missing(dir.File("type.tbl"));
  missing.Load();
  EXPECT_EQ(Names(missing), defaultTypes);
  EXPECT_EQ(Images(missing), defaultImages);
  EXPECT_TRUE(missing.Modified());

  WriteAll(dir.File("empty.tbl"), Hex("01000000 00000000"));
  TTdTypeHandler empty(dir.File("empty.tbl"));
  empty.Load();
  EXPECT_EQ(Names(empty), defaultTypes);
  EXPECT_TRUE(empty.Modified());
  empty.Save();
  TTdTypeHandler reread(dir.File("empty.tbl"));
  reread.Load();
  EXPECT_EQ(Names(reread), defaultTypes);
  EXPECT_EQ(Images(reread), defaultImages);
}

template <typename Handler>
void ExpectWrongVersion(const QString& name, const QString& message) {
  WriteAll(name, Hex("02000000") + kCatFile.mid(4));
  Handler h(name);
  try {
    h.Load();
    ADD_FAILURE() << name.toStdString() << " loaded";
  } catch (const ELookupFileError& e) {
    EXPECT_EQ(e.Message(), message + FullPath(name));
  }
  EXPECT_EQ(h.Count(), 0) << "nothing more is read, no default added";
}

TEST(LookupFiles, WrongVersionNamesTheFileAndReadsNothing) {
  TempDir dir;
  ExpectWrongVersion<TTdCategoryHandler>(dir.File("cat.tbl"), "Wrong version in Category-file ");
  ExpectWrongVersion<TTdResourceHandler>(dir.File("res.tbl"), "Wrong version in Resource-file ");
  ExpectWrongVersion<TTdTypeHandler>(dir.File("type.tbl"), "Wrong version in Type-file ");
}

TEST(LookupFiles, CutFileKeepsTheEntriesReadSoFar) {
  TempDir dir;
  const QString name = dir.File("cat.tbl");
  WriteAll(name, kCatFile.left(kCatFile.size() - 2));
  TTdCategoryHandler cats(name);
  try {
    cats.Load();
    ADD_FAILURE() << "a cut file loaded";
  } catch (const EReadError& e) {
    EXPECT_TRUE(e.Message().contains(FullPath(name))) << e.Message().toStdString();
  }
  EXPECT_EQ(Names(cats), QStringList({"-- unknown --"}));

  // A count far beyond the bytes fails on the missing bytes, not on memory.
  WriteAll(name, Hex("01000000 ffffff7f 00000000 00000000"));
  TTdCategoryHandler huge(name);
  EXPECT_THROW(huge.Load(), EReadError);
  EXPECT_EQ(huge.Count(), 1);
}

TEST(LookupFiles, TextThatIsNotUtf8ReadsAsWindows1252) {
  TTdResourceHandler res("/x/res.tbl");
  res.LoadFromBytes(Hex("01000000 01000000 04000000") + "Ren\xE9");
  EXPECT_EQ(res.NameOf(0), QString::fromUtf8("René"));
  EXPECT_EQ(res.SaveToBytes(), Hex("01000000 01000000 05000000") + "Ren\xC3\xA9");
}

TEST(LookupLists, NamesAndTheBracketedNoneTexts) {
  TTdCategoryHandler cats("/x/cat.tbl");
  cats.LoadFromBytes(kCatFile);
  TTdResourceHandler res("/x/res.tbl");
  res.LoadFromBytes(kResFile);
  TTdTypeHandler types("/x/type.tbl");
  types.LoadFromBytes(kTypeFile);

  EXPECT_EQ(cats.NameOf(-1), "[no category]");
  EXPECT_EQ(res.NameOf(-1), "[no Resource]");
  EXPECT_EQ(types.NameOf(-1), "[no Type]");
  EXPECT_EQ(cats.NameOf(0), "-- unknown --");
  EXPECT_EQ(cats.NameOf(1), "Home");
  EXPECT_EQ(cats.NameOf(2), "[no category]") << "an id past the end names no entry";
  EXPECT_EQ(types.NameOf(-7), "[no Type]");
  cats.GetCategory(0)->Name = "Misc";
  EXPECT_EQ(cats.NameOf(0), "Misc");

  EXPECT_TRUE(cats.NameExists("HOME"));
  EXPECT_TRUE(res.NameExists("anna"));
  EXPECT_TRUE(types.NameExists("call"));
  EXPECT_FALSE(cats.NameExists("Hom"));
  EXPECT_FALSE(cats.NameExists(""));

  EXPECT_THROW(cats.GetCategory(2), ELookupListError);
  EXPECT_THROW(res.GetResource(-1), ELookupListError);
}

TEST(LookupLists, FillOperations) {
  TTdCategoryHandler cats("/x/cat.tbl");
  cats.LoadFromBytes(kCatFile);
  TTdResourceHandler res("/x/res.tbl");
  res.LoadFromBytes(kResFile);

  TStringList list{{"kept", 99}};
  cats.FillStrings(list, false);
  EXPECT_EQ(list, TStringList({{"kept", 99}, {"-- unknown --", -1}, {"Home", 7}}));
  list.clear();
  cats.FillStrings(list, true);
  EXPECT_EQ(list, TStringList({{"Home", 7}}));
  list.clear();
  res.FillStrings(list, false);
  EXPECT_EQ(list, TStringList({{"-- unknown --", 0}, {"Anna", 0}}));

  list.clear();
  res.FillNamesWithIds(list);
  EXPECT_EQ(list, TStringList({{"-- unknown --", 0}, {"Anna", 1}}));

  TImageIndexList images{5, 5, 5};
  cats.GetImageIndexes(images);
  EXPECT_EQ(images, QList<int>({-1, 7}));
}

TEST(LookupLists, EntryZeroCannotBeDeleted) {
  TTdCategoryHandler cats("/x/cat.tbl");
  cats.LoadFromBytes(kCatFile);
  TTdResourceHandler res("/x/res.tbl");
  res.LoadFromBytes(kResFile);
  TTdTypeHandler types("/x/type.tbl");
  types.LoadFromBytes(kTypeFile);

  auto message = [](const std::function<void()>& del) {
    try {
      del();
    } catch (const ELookupListError& e) {
      return e.Message();
    }
    return QStringLiteral("no error");
  };
  EXPECT_EQ(message([&] { cats.DeleteCategory(cats.GetCategory(0)); }), "Not allowed to delete \"unknown category\"");
  EXPECT_EQ(message([&] { res.DeleteResource(res.GetResource(0)); }), "Not allowed to delete \"unknown Resource\"");
  EXPECT_EQ(message([&] { types.DeleteType(types.GetType(0)); }), "Not allowed to delete \"unknown Type\"");
  EXPECT_EQ(cats.Count(), 2);
  EXPECT_EQ(res.Count(), 2);
  EXPECT_EQ(types.Count(), 2);
  EXPECT_FALSE(cats.Modified());
  EXPECT_FALSE(res.Modified());
  EXPECT_FALSE(types.Modified());

  TTdCategory stranger;
  cats.DeleteCategory(&stranger);
  EXPECT_EQ(cats.Count(), 2);
  EXPECT_FALSE(cats.Modified()) << "an entry not in the list is ignored";
}

TEST(LookupLists, AddAndDeleteShiftThePositions) {
  TTdTypeHandler types("/x/type.tbl");
  types.Load();  // no such file: the default types
  types.SetModified(false);
  TTdType* added = types.AddType();
  EXPECT_EQ(added->Name, "");
  EXPECT_EQ(added->ImageIndex, -1);
  EXPECT_TRUE(types.Modified());
  EXPECT_EQ(types.GetType(15), added);

  types.SetModified(false);
  types.DeleteType(types.GetType(1));
  EXPECT_TRUE(types.Modified());
  EXPECT_EQ(types.Count(), 15);
  EXPECT_EQ(types.NameOf(1), "Mail");
  EXPECT_EQ(types.GetType(14), added);
}

TEST(LookupLists, RenumberIdArray) {
  struct Case {
    QList<int32_t> ids;
    int32_t deleted;
    QList<int32_t> expected;
  } cases[] = {
      {{1, 3, 5}, 3, {1, 4}},
      {{1, 3, 5}, 2, {1, 2, 4}},
      {{}, 3, {}},
      {{5, 1}, 1, {4}},
      {{2, 2, 7}, 2, {6}},  // a repeated id goes with every copy
      {{1, 2}, 9, {1, 2}},
  };
  for (Case& c : cases) {
    QList<int32_t> ids = c.ids;
    TTdCategoryHandler::RenumberIdArray(ids, c.deleted);
    EXPECT_EQ(ids, c.expected) << "deleted " << c.deleted;
  }
}

// Deleting an entry the way the list editors do: the list, the live tasks, archive.tbl
// and the filter id lists all move together.
TEST(LookupLists, DeletingAnEntryRenumbersTasksArchiveAndIdLists) {
  TempDir dir;
  const QString folder = dir.Path() + "/";
  TTdCategoryHandler cats(folder + "cat.tbl");
  cats.Load();
  for (const char* name : {"Home", "Work", "Club"}) cats.AddCategory()->Name = name;
  cats.SetModified(false);

  auto fill = [](TTdTodoHandler& store, std::initializer_list<int32_t> categories) {
    for (int32_t c : categories) {
      TTdTodo* t = store.AddTodo();
      t->ID = ++store.LastId;
      t->Category = c;
      t->Resource = c;
      t->Type = c;
    }
  };
  TTdTodoHandler todos(folder + "todo.tbl");
  fill(todos, {0, 1, 2, 3, 2});
  todos.SetModified(false);
  TTdTodoHandler archive(folder + "archive.tbl");
  fill(archive, {3, 2, 1});
  archive.SetModified(true);
  archive.Save();
  QList<int32_t> include{1, 2, 3}, exclude{3};

  const int32_t k = 2;  // "Work"
  cats.DeleteCategory(cats.GetCategory(k));
  todos.RenumberCategory(k);
  RenumberArchiveCategory(folder, k);
  TTdCategoryHandler::RenumberIdArray(include, k);
  TTdCategoryHandler::RenumberIdArray(exclude, k);

  EXPECT_EQ(Names(cats), QStringList({"-- unknown --", "Home", "Club"}));
  EXPECT_TRUE(cats.Modified());
  QList<int32_t> live;
  for (const auto& t : todos.Todos()) live << t->Category;
  EXPECT_EQ(live, QList<int32_t>({0, 1, 0, 2, 0}));
  EXPECT_TRUE(todos.Modified());
  EXPECT_EQ(include, QList<int32_t>({1, 2}));
  EXPECT_EQ(exclude, QList<int32_t>({2}));

  TTdTodoHandler reread(folder + "archive.tbl");
  reread.Load();
  QList<int32_t> archived, others;
  for (const auto& t : reread.Todos()) archived << t->Category, others << t->Resource << t->Type;
  EXPECT_EQ(archived, QList<int32_t>({2, 0, 1}));
  EXPECT_EQ(others, QList<int32_t>({3, 3, 2, 2, 1, 1})) << "only the category moved";
  EXPECT_TRUE(QFile::exists(folder + "archive.~tbl"));
}

TEST(LookupLists, ArchiveRenumberingTouchesItsOwnFieldAndWritesOnlyOnChange) {
  TempDir dir;
  const QString folder = dir.Path() + "/";
  TTdTodoHandler archive(folder + "archive.tbl");
  TTdTodo* t = archive.AddTodo();
  t->Category = 4;
  t->Resource = 5;
  t->Type = 6;
  archive.Save();
  const QByteArray before = ReadAll(folder + "archive.tbl");

  // Ids above every task's: nothing changes, nothing is written.
  RenumberArchiveCategory(folder, 9);
  RenumberArchiveResource(folder, 9);
  RenumberArchiveType(folder, 9);
  EXPECT_EQ(ReadAll(folder + "archive.tbl"), before);
  EXPECT_FALSE(QFile::exists(folder + "archive.~tbl"));

  RenumberArchiveCategory(folder, 1);
  RenumberArchiveResource(folder, 5);
  RenumberArchiveType(folder, 2);
  TTdTodoHandler reread(folder + "archive.tbl");
  reread.Load();
  EXPECT_EQ(reread.GetTodo(0)->Category, 3);
  EXPECT_EQ(reread.GetTodo(0)->Resource, 0);
  EXPECT_EQ(reread.GetTodo(0)->Type, 5);

  // No archive yet: none is created.
  TempDir empty;
  RenumberArchiveType(empty.Path() + "/", 1);
  EXPECT_FALSE(QFile::exists(empty.File("archive.tbl")));
}
