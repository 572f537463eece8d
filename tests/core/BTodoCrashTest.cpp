// A save killed at any moment leaves a file that loads whole, with the old or the new
// content: a child process saves a large store over and over and is killed at random.
#include "TodoTestSupport.h"

#include "platform/SafeFile.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>

#include <chrono>
#include <csignal>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void FillLargeStore(TTdTodoHandler& store, int count) {
  for (int i = 0; i < count; ++i) {
    TTdTodo* t = store.AddTodo();
    t->ID = ++store.LastId;
    t->Title = QStringLiteral("Task %1: call the supplier about the order").arg(i);
    t->Notes = QString(150, QLatin1Char('n')) + QString::number(i);
    t->Due = 38000 + i % 400;
  }
}


// Temporary files of killed saves; they hold nothing the user saved.
void RemoveLeftovers(const QString& folder) {
  QDir dir(folder);
  for (const QString& name : dir.entryList({".todo.tbl.*"}, QDir::Files | QDir::Hidden)) dir.remove(name);
}

}  // namespace

TEST(TodoCrash, KilledSaveLeavesOldOrNewFileWhole) {
  TempDir dir;
  const QString name = dir.File("todo.tbl");
  TTdTodoHandler oldStore(name), newStore(name);
  FillLargeStore(oldStore, 20000);
  FillLargeStore(newStore, 20001);
  const QByteArray oldBytes = oldStore.SaveToBytes(), newBytes = newStore.SaveToBytes();
  oldStore.Save();

  const auto start = std::chrono::steady_clock::now();
  oldStore.SetModified(true);
  oldStore.Save();
  const auto saveMicros =
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count();

  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 rng(seed);
  std::uniform_int_distribution<long> delay(0, 3 * std::max<long>(saveMicros, 1000));

  bool sawOld = false, sawNew = false;
  for (int round = 0; round < 40 || (!(sawOld && sawNew) && round < 200); ++round) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      try {
        for (;;) {
          newStore.SetModified(true);
          newStore.Save();
          oldStore.SetModified(true);
          oldStore.Save();
        }
      } catch (...) {
        _exit(3);
      }
    }
    usleep(static_cast<useconds_t>(delay(rng)));
    kill(pid, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child failed on its own, round " << round;

    const QByteArray bytes = ReadAll(name);
    ASSERT_TRUE(bytes == oldBytes || bytes == newBytes) << "round " << round << ": " << bytes.size() << " bytes";
    sawOld |= bytes == oldBytes;
    sawNew |= bytes == newBytes;
    TTdTodoHandler loaded(name);
    loaded.Load();
    EXPECT_EQ(loaded.TaskCount(), bytes == oldBytes ? 20000 : 20001);
    // The safety copy is briefly absent while a save replaces it, never partial.
    if (QFile::exists(BackupFileName(name))) {
      const QByteArray backup = ReadAll(BackupFileName(name));
      EXPECT_TRUE(backup == oldBytes || backup == newBytes) << "round " << round;
    }
    RemoveLeftovers(dir.Path());
  }
  EXPECT_TRUE(sawOld && sawNew) << "the kills never fell between two saves";
}
