// A table file whose count does not match its records is refused like a file cut
// short: loading raises the read error naming the file, and nothing writes the file or
// its "~" copy afterwards, so a damaged count never costs the records it hides.
#include "core/BCat.h"
#include "core/BRes.h"
#include "core/BTodo.h"
#include "core/BType.h"
#include "core/UtFiles.h"
#include "platform/Exception.h"
#include "platform/SafeFile.h"
#include "support/TempDir.h"

#include <QDir>
#include <QtEndian>

#include <functional>

namespace {

QByteArray TwoTasks(bool closed) {
  TTdTodoHandler store(QStringLiteral("/x/todo.tbl"));
  for (const char* title : {"first", "second"}) {
    TTdTodo* t = store.AddTodo();
    t->ID = ++store.LastId;
    t->Title = QString::fromLatin1(title);
    t->Category = 2;
    if (closed) t->SetStatus(tsOK);
  }
  return store.SaveToBytes();
}

template <typename Handler>
QByteArray TwoEntries() {
  Handler h(QStringLiteral("/x/list.tbl"));
  h.Load();  // the default entries
  h.Items().Add()->Name = QStringLiteral("mine");
  return h.SaveToBytes();
}

// The error a file cut short gives: it names the file.
void ExpectReadError(const QString& name, const std::function<void()>& read) {
  try {
    read();
    ADD_FAILURE() << "read without an error";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Stream read error in file ") + FullPath(name));
  }
}

// Loads the file and then tries to write it, the way each store's users do.
template <typename Handler>
void LoadThenEditAndSave(const QString& name) {
  Handler h(name);
  ExpectReadError(name, [&] { h.Load(); });
  h.SetModified(true);
  EXPECT_THROW(h.Save(), EWriteError) << "a store that did not read its file whole writes nothing";
}

struct Damage {
  const char* name;
  int32_t countDelta;  // added to the count; 0 with setCount
  bool setCount;       // the count becomes countDelta itself
  const char* trailing;
};

struct TableFile {
  const char* name;
  qsizetype countOffset;
  std::function<QByteArray()> bytes;
  // Runs what reads the file in dir, expecting the read error.
  std::function<void(const QString& dir)> use;
};

const Damage kDamages[] = {
    {"CountTooSmall", -1, false, ""},
    {"NegativeCount", -1, true, ""},
    {"BytesAfterTheLastRecord", 0, false, "x"},
};

const TableFile kFiles[] = {
    {"todo.tbl", 108, [] { return TwoTasks(false); },
     [](const QString& dir) { LoadThenEditAndSave<TTdTodoHandler>(dir + "/todo.tbl"); }},
    {"archive.tbl", 108, [] { return TwoTasks(false); },
     [](const QString& dir) {
       TTdTodoHandler live(dir + "/todo.tbl");
       live.AddTodo()->SetStatus(tsOK);
       ExpectReadError(live.ArchiveFileName(), [&] { live.ArchiveClosed(); });
       EXPECT_EQ(live.TaskCount(), 1) << "the closed task stays in the live store";
       ExpectReadError(live.ArchiveFileName(), [&] { RenumberArchiveCategory(dir + "/", 1); });
     }},
    {"cat.tbl", 4, TwoEntries<TTdCategoryHandler>,
     [](const QString& dir) { LoadThenEditAndSave<TTdCategoryHandler>(dir + "/cat.tbl"); }},
    {"res.tbl", 4, TwoEntries<TTdResourceHandler>,
     [](const QString& dir) { LoadThenEditAndSave<TTdResourceHandler>(dir + "/res.tbl"); }},
    {"type.tbl", 4, TwoEntries<TTdTypeHandler>,
     [](const QString& dir) { LoadThenEditAndSave<TTdTypeHandler>(dir + "/type.tbl"); }},
};

QByteArray Damaged(const TableFile& file, const Damage& damage) {
  QByteArray bytes = file.bytes();
  char* count = bytes.data() + file.countOffset;
  const int32_t announced = qFromLittleEndian<int32_t>(count);
  qToLittleEndian<int32_t>(damage.setCount ? damage.countDelta : announced + damage.countDelta, count);
  return bytes + damage.trailing;
}

}  // namespace

TEST(TableFileDamage, ReadErrorAndTheFileAndItsCopyStayAsTheyWere) {
  for (const TableFile& file : kFiles) {
    for (const Damage& damage : kDamages) {
      SCOPED_TRACE(std::string(file.name) + " " + damage.name);
      TempDir dir;
      const QString name = dir.File(QString::fromLatin1(file.name));
      const QByteArray bytes = Damaged(file, damage);
      WriteAll(name, bytes);
      WriteAll(BackupFileName(name), "the safety copy");
      const QStringList before = QDir(dir.Path()).entryList(QDir::Files | QDir::Hidden);

      try {
        file.use(dir.Path());
      } catch (const Exception& e) {
        ADD_FAILURE() << "unexpected error: " << e.Message().toStdString();
      }

      EXPECT_EQ(ReadAll(name), bytes);
      EXPECT_EQ(ReadAll(BackupFileName(name)), "the safety copy");
      EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files | QDir::Hidden), before) << "no file written";
    }
  }
}
