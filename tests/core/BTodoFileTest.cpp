#include "TodoTestSupport.h"

#include "platform/BinaryStream.h"
#include "platform/Exception.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <vector>

namespace {

QByteArray Hex(const char* hex) { return QByteArray::fromHex(QByteArray(hex).replace(' ', "").replace('\n', "")); }



// A plain task and a weekly template, laid out field by field.
const QByteArray kFixture = Hex(
    "01000000 09000000"                                     // version, LastId
    "0000000000000000000000000000000000000000000000000000"  // 100 reserved bytes
    "0000000000000000000000000000000000000000000000000000"
    "0000000000000000000000000000000000000000000000000000"
    "00000000000000000000000000000000000000000000"
    "02000000"  // count
    // plain task
    "07000000 00000000 02000000 01000000"  // ID, Reserved, Category, Resource
    "05000000 436166c3a9"                  // Title "Café"
    "00000000"                             // Notes
    "03000000 01000000 00000000 28"        // Priority, Status, Type, Percent 40
    "00000000108ee240 00000000208ee240 0000000000000000"  // Created, Due, Completed
    "00000000 01000000 00000000188ee240"   // ReminderPath, ReminderType, ReminderDateTime
    "43000000 00000000"                    // Flags, Association
    "01000000 72"                          // reserved string 0: "r"
    "00000000 00000000 00000000 00000000 00000000 00000000 00000000 00000000 00000000"
    // template
    "09000000 00000000 00000000 00000000"
    "06000000 5765656b6c79"  // "Weekly"
    "00000000"
    "02000000 00000000 01000000 00"
    "00000000108ee240 00000000a08ee240 0000000000000000"
    "00000000 00000000 0000000000000000"
    "50000000 00000000"
    "01000000 02000000 09000000 03000000"                  // kind, interval, day mask, lead days
    "00000000408fe240 00000000809ae240 0000000000000000"  // first, last, last generated
    "00000000 00000000 00000000 00000000"                  // TemplateId, 3 reserved
    "00000000 00000000 00000000 00000000 00000000 00000000 00000000 00000000 00000000 00000000");

void AddFixtureTasks(TTdTodoHandler& store) {
  store.LastId = 9;
  TTdTodo* plain = store.AddTodo();
  plain->ID = 7;
  plain->Category = 2;
  plain->Resource = 1;
  plain->Title = QString::fromUtf8("Café");
  plain->Priority = 3;
  plain->Status = tsOpen;
  plain->Percent = 40;
  plain->Created = 38000.5;
  plain->Due = 38001;
  plain->Completed = 0;
  plain->ReminderType = 1;
  plain->ReminderDateTime = 38000.75;
  plain->Flags = tfFlagged | tfReminderActivated | tfOnlyOneOpen;
  plain->ReservedStrings[0] = "r";
  plain->TemplateId = 5;  // not stored for a plain task

  TTdTodo* weekly = store.AddTodo();
  weekly->ID = 9;
  weekly->Title = "Weekly";
  weekly->Priority = 2;
  weekly->Type = 1;
  weekly->Created = 38000.5;
  weekly->Due = 38005;
  weekly->Flags = tfIsTemplate | tfOnlyOneOpen;
  weekly->RecurKind = 1;
  weekly->RecurInterval = 2;
  weekly->RecurDayMask = 9;
  weekly->RecurLeadDays = 3;
  weekly->RecurFirstDate = 38010;
  weekly->RecurLastDate = 38100;
}

}  // namespace

TEST(TodoFile, LayoutByteForByte) {
  ASSERT_EQ(kFixture.size(), 112 + (125 + 5 + 1) + (125 + 6 + 56));
  TTdTodoHandler store("/nowhere/todo.tbl");
  AddFixtureTasks(store);
  EXPECT_EQ(store.SaveToBytes().toHex(' '), kFixture.toHex(' '));

  TTdTodoHandler loaded("/nowhere/todo.tbl");
  loaded.LoadFromBytes(kFixture);
  EXPECT_FALSE(loaded.Modified());
  EXPECT_EQ(loaded.LastId, 9);
  ASSERT_EQ(loaded.TaskCount(), 2);
  EXPECT_EQ(loaded.GetTodo(0)->TemplateId, 0) << "an instance's TemplateId lives in memory only";
  EXPECT_EQ(loaded.GetTodo(0)->Title, QString::fromUtf8("Café"));
  EXPECT_EQ(loaded.GetTodo(1)->RecurDayMask, 9);
  EXPECT_EQ(loaded.SaveToBytes(), kFixture);
}

TEST(TodoFile, EveryFieldRoundTrips) {
  ClockPin clock(38500.5);
  TempDir dir;
  const QString name = dir.File("todo.tbl");
  TTdTodoHandler store(name);
  store.LastId = 1234;
  FillEveryField(*store.AddTodo(), true);
  FillEveryField(*store.AddTodo(), false);
  store.AddTodo();  // defaults
  store.Save();

  TTdTodoHandler loaded(name);
  loaded.Load();
  EXPECT_EQ(loaded.LastId, 1234);
  ASSERT_EQ(loaded.TaskCount(), 3);
  ExpectSameTask(*loaded.GetTodo(0), *store.GetTodo(0));
  // Without the template bit the recurrence block stays behind.
  TTdTodo plain = *store.GetTodo(1);
  const TTdTodo& back = *loaded.GetTodo(1);
  EXPECT_EQ(back.TemplateId, 0);
  EXPECT_EQ(back.RecurKind, 0);
  EXPECT_EQ(back.RecurReserved, (std::array<int32_t, 3>{}));
  plain.TemplateId = back.TemplateId;
  plain.RecurKind = back.RecurKind;
  plain.RecurInterval = back.RecurInterval;
  plain.RecurDayMask = back.RecurDayMask;
  plain.RecurLeadDays = back.RecurLeadDays;
  plain.RecurFirstDate = back.RecurFirstDate;
  plain.RecurLastDate = back.RecurLastDate;
  plain.RecurLastGenerated = back.RecurLastGenerated;
  plain.RecurReserved = back.RecurReserved;
  ExpectSameTask(back, plain);
  ExpectSameTask(*loaded.GetTodo(2), *store.GetTodo(2));
}

TEST(TodoFile, ReservedHeaderIsCarried) {
  QByteArray bytes = kFixture;
  for (int i = 0; i < 100; ++i) bytes[8 + i] = char(i * 7);
  TTdTodoHandler store("/x/todo.tbl");
  store.LoadFromBytes(bytes);
  EXPECT_EQ(store.ReservedHeader(), bytes.mid(8, 100));
  EXPECT_EQ(store.SaveToBytes(), bytes);
}

TEST(TodoFile, SaveOnlyWhenModifiedAndKeepsSafetyCopy) {
  TempDir dir;
  const QString name = dir.File("todo.tbl");
  TTdTodoHandler store(name);
  store.Save();
  EXPECT_FALSE(QFile::exists(name)) << "an unmodified store writes nothing";

  store.AddTodo()->Title = "first";
  store.Save();
  EXPECT_FALSE(store.Modified());
  const QByteArray first = ReadAll(name);
  WriteAll(name, first + "tampered");
  store.Save();
  EXPECT_EQ(ReadAll(name), first + "tampered") << "not modified: not written";

  store.GetTodo(0)->Title = "second";
  store.SetModified(true);
  store.Save();
  EXPECT_EQ(ReadAll(dir.File("todo.~tbl")), first + "tampered");
  TTdTodoHandler loaded(name);
  loaded.Load();
  EXPECT_EQ(loaded.GetTodo(0)->Title, "second");
}

TEST(TodoFile, FailedSaveKeepsStoreModifiedAndOldFile) {
  TempDir dir;
  const QString name = dir.File("todo.tbl");
  TTdTodoHandler store(name);
  store.AddTodo()->Title = "kept";
  store.Save();
  const QByteArray before = ReadAll(name);
  // A folder in the way of the safety copy makes the save fail.
  ASSERT_TRUE(QDir(dir.Path()).mkpath("todo.~tbl/x"));
  store.AddTodo()->Title = "new";
  EXPECT_THROW(store.Save(), EWriteError);
  EXPECT_TRUE(store.Modified());
  EXPECT_EQ(store.TaskCount(), 2);
  EXPECT_EQ(ReadAll(name), before);
  EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no temporary file left";
}

TEST(TodoFile, MissingFileGivesEmptyStore) {
  TempDir dir;
  TTdTodoHandler store(dir.File("todo.tbl"));
  store.Load();
  EXPECT_EQ(store.TaskCount(), 0);
  EXPECT_EQ(store.LastId, 0);
  EXPECT_FALSE(store.Modified());
}

TEST(TodoFile, WrongVersionNamesTheFile) {
  TempDir dir;
  const QString name = dir.File("todo.tbl");
  QByteArray bytes = kFixture;
  bytes[0] = 2;
  WriteAll(name, bytes);
  TTdTodoHandler store(name);
  try {
    store.Load();
    FAIL() << "version 2 accepted";
  } catch (const ETodoFileError& e) {
    EXPECT_EQ(e.Message(), "Wrong version in Todo-file " + QDir::toNativeSeparators(name));
  }
  EXPECT_EQ(store.TaskCount(), 0);
}

TEST(TodoFile, CutFileRaisesReadErrorAndKeepsWholeRecords) {
  TempDir dir;
  const QString name = dir.File("todo.tbl");
  // Every cut inside the file, from the header to the last byte of the second record.
  for (qsizetype size = 0; size < kFixture.size(); ++size) {
    WriteAll(name, kFixture.left(size));
    TTdTodoHandler store(name);
    try {
      store.Load();
      FAIL() << "a file cut at " << size << " loaded";
    } catch (const EReadError& e) {
      EXPECT_TRUE(e.Message().contains(QDir::toNativeSeparators(name))) << e.Message().toStdString();
    }
    const int whole = size >= 112 + 131 ? 1 : 0;
    EXPECT_EQ(store.TaskCount(), whole) << size;
  }
}

TEST(TodoFile, HugeCountsAndLengthsRaiseWithoutAllocating) {
  QByteArray bytes = kFixture;
  bytes[108] = '\xff';
  bytes[109] = '\xff';
  bytes[110] = '\xff';
  bytes[111] = '\x7f';  // 2^31-1 records
  TTdTodoHandler store("/x/todo.tbl");
  EXPECT_THROW(store.LoadFromBytes(bytes), EReadError);
  EXPECT_EQ(store.TaskCount(), 2);

  QByteArray title = kFixture;
  title.replace(112 + 16, 4, Hex("ffffff7f"));  // title length 2^31-1
  TTdTodoHandler store2("/x/todo.tbl");
  EXPECT_THROW(store2.LoadFromBytes(title), EReadError);
  EXPECT_EQ(store2.TaskCount(), 0);
}

TEST(TodoFile, StringEdgeCases) {
  // A negative length is the empty string; text that is not UTF-8 is Windows-1252.
  QByteArray bytes = kFixture;
  bytes.replace(112 + 16, 9, Hex("feffffff"));
  TTdTodoHandler a("/x/todo.tbl");
  a.LoadFromBytes(bytes);
  EXPECT_EQ(a.GetTodo(0)->Title, QString());

  bytes = kFixture;
  bytes.replace(112 + 16, 9, Hex("04000000 43616680"));  // "Caf" + 0x80, the euro sign in 1252
  TTdTodoHandler b("/x/todo.tbl");
  b.LoadFromBytes(bytes);
  EXPECT_EQ(b.GetTodo(0)->Title, QString::fromUtf8("Caf€"));

  // A leading byte-order mark is text like any other and survives a round trip.
  TTdTodoHandler bom("/x/todo.tbl");
  bom.AddTodo()->Title = QString(QChar(0xFEFF)) + "x";
  TTdTodoHandler bomBack("/x/todo.tbl");
  bomBack.LoadFromBytes(bom.SaveToBytes());
  EXPECT_EQ(bomBack.GetTodo(0)->Title, bom.GetTodo(0)->Title);

  TTdTodoHandler c("/x/todo.tbl");
  c.AddTodo()->Title.clear();
  const QByteArray saved = c.SaveToBytes();
  EXPECT_EQ(saved.mid(112 + 16, 4), Hex("00000000")) << "the empty string is four zero bytes";
}

namespace {

// Enough tasks that the file is read through many windows and its texts are decoded
// beside the reading; every field varies, and a few tasks are templates.
void FillLargeStore(TTdTodoHandler& store, int count) {
  for (int i = 0; i < count; ++i) {
    TTdTodo* t = store.AddTodo();
    FillEveryField(*t, i % 50 == 0);
    t->ID = ++store.LastId;
    t->Title = QString::fromUtf8("Aufgabe %1 für Jürgen").arg(i);
    t->Notes = i % 2 ? QString() : QString::fromUtf8("Notiz € ").repeated(1 + i % 40);
    if (i % 3) t->ReminderPath.clear();
    if (i % 7) t->Association.clear();
    t->Due = 38000 + i % 400;
  }
}

// Each task as it comes back from a file of its own, which is read on one thread, and
// where each record ends in the file of the whole store.
struct OneByOne {
  std::vector<TTdTodo> tasks;
  std::vector<qsizetype> ends;
};

OneByOne ReloadOneByOne(const TTdTodoHandler& store) {
  constexpr qsizetype kHeader = TTdTodoHandler::kReservedHeaderSize + 12;
  OneByOne result;
  qsizetype end = kHeader;
  for (const auto& task : store.Todos()) {
    TTdTodoHandler single("/x/todo.tbl");
    single.AddTodo()->Assign(*task);
    const QByteArray bytes = single.SaveToBytes();
    TTdTodoHandler back("/x/todo.tbl");
    back.LoadFromBytes(bytes);
    result.tasks.push_back(*back.GetTodo(0));
    end += bytes.size() - kHeader;
    result.ends.push_back(end);
  }
  return result;
}

}  // namespace

TEST(TodoFile, LargeFileLoadsWhole) {
  ClockPin clock(38000.5);
  TempDir dir;
  const QString name = dir.File("todo.tbl");
  TTdTodoHandler saved(name);
  FillLargeStore(saved, 6000);
  saved.SetModified(true);
  saved.Save();
  ASSERT_GT(QFileInfo(name).size(), 1024 * 1024);
  const OneByOne expected = ReloadOneByOne(saved);

  TTdTodoHandler loaded(name);
  loaded.Load();
  ASSERT_EQ(loaded.TaskCount(), saved.TaskCount());
  for (int i = 0; i < saved.TaskCount(); ++i) ExpectSameTask(*loaded.GetTodo(i), expected.tasks[static_cast<size_t>(i)]);
  EXPECT_EQ(loaded.SaveToBytes(), ReadAll(name)) << "a save writes what the file holds";
}

TEST(TodoFile, LargeFileCutShortKeepsWholeRecordsWithTheirTexts) {
  ClockPin clock(38000.5);
  TempDir dir;
  const QString name = dir.File("todo.tbl");
  TTdTodoHandler saved(name);
  FillLargeStore(saved, 6000);
  const QByteArray bytes = saved.SaveToBytes();
  const OneByOne expected = ReloadOneByOne(saved);
  const std::vector<qsizetype>& ends = expected.ends;
  ASSERT_EQ(ends.back(), bytes.size());

  // Cuts inside a title, inside notes, at a record's end, and one byte before the last.
  const int lastWhole[] = {4999, 5200, 5500, 5998};
  const qsizetype into[] = {20, 40, 0, -1};
  for (size_t c = 0; c < std::size(lastWhole); ++c) {
    const int whole = lastWhole[c] + 1;
    const qsizetype cut = (into[c] < 0 ? bytes.size() : ends[static_cast<size_t>(lastWhole[c])]) + into[c];
    WriteAll(name, bytes.left(cut));
    TTdTodoHandler loaded(name);
    EXPECT_THROW(loaded.Load(), EReadError) << cut;
    ASSERT_EQ(loaded.TaskCount(), into[c] < 0 ? 5999 : whole) << cut;
    for (int i = loaded.TaskCount() - 3; i < loaded.TaskCount(); ++i)
      ExpectSameTask(*loaded.GetTodo(i), expected.tasks[static_cast<size_t>(i)]);
  }
}
