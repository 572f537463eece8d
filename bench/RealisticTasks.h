#pragma once
// What the benchmarks measure on: stores of realistic tasks (short titles, notes on
// half of them, links and reminders on some, a few templates), and files dropped from
// the page cache as after a reboot, which is what a start pays.
#include "core/BTodo.h"

#include <QFile>
#include <QTemporaryDir>
#include <QString>

#include <fcntl.h>
#include <map>
#include <memory>
#include <random>
#include <unistd.h>

inline QString Words(std::mt19937& rng, int count) {
  static const char* const kWords[] = {"call",   "supplier", "invoice", "meeting", "review",
                                       "draft",  "order",    "Müller",  "report",  "budget",
                                       "fix",    "printer",  "café",    "plan",    "team"};
  QString text;
  for (int i = 0; i < count; ++i) {
    if (i) text += QLatin1Char(' ');
    text += QString::fromUtf8(kWords[rng() % std::size(kWords)]);
  }
  return text;
}

// Appends count tasks. Links are local files with one of a few extensions when
// fileLinks is set (so association icons have work to do), web addresses otherwise.
inline void AddRealisticTasks(TTdTodoHandler& store, int count, std::mt19937& rng, bool fileLinks) {
  static const char* const kExtensions[] = {".pdf", ".doc", ".odt", ".txt", ".xlsx", ".png"};
  const TDateTime now = DateTime::Now();
  for (int i = 0; i < count; ++i) {
    TTdTodo* t = store.AddTodo();
    t->ID = ++store.LastId;
    t->Title = Words(rng, 3 + static_cast<int>(rng() % 6));
    if (rng() % 2) t->Notes = Words(rng, 10 + static_cast<int>(rng() % 40));
    t->Category = static_cast<int32_t>(rng() % 12);
    t->Resource = static_cast<int32_t>(rng() % 8);
    t->Type = static_cast<int32_t>(rng() % 6);
    t->Priority = static_cast<int32_t>(rng() % 5);
    t->Status = static_cast<int32_t>(rng() % 6);
    t->Created = now - static_cast<int>(rng() % 900);
    t->Due = now + static_cast<int>(rng() % 800) - 200 + 0.375;
    if (fileLinks && rng() % 6 == 0)
      t->Association = QStringLiteral("/home/user/docs/") + Words(rng, 1) +
                       QString::fromLatin1(kExtensions[rng() % std::size(kExtensions)]);
    else if (!fileLinks && rng() % 8 == 0)
      t->Association = QStringLiteral("https://example.org/wiki/") + Words(rng, 2);
    if (rng() % 5 == 0) {
      t->SetReminderActivated(true);
      t->ReminderType = 1 + static_cast<int32_t>(rng() % 7);
      t->ReminderDateTime = t->Due - 1;
    }
    if (rng() % 50 == 0) t->SetIsTemplate(true);
  }
}

inline void EvictFromCache(const QString& name) {
  const int fd = ::open(QFile::encodeName(name).constData(), O_RDONLY);
  if (fd < 0) return;
  ::fdatasync(fd);
  ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
  ::close(fd);
}

// A data folder with `count` realistic tasks saved in its task file, made once per size
// and kept for the whole run.
inline const QString& RealisticDataFolder(int count) {
  struct Folder {
    QTemporaryDir dir;
    QString path;
  };
  static std::map<int, std::unique_ptr<Folder>> folders;
  auto& f = folders[count];
  if (!f) {
    f = std::make_unique<Folder>();
    f->path = f->dir.path() + QStringLiteral("/");
    std::mt19937 rng(42);
    TTdTodoHandler todos(f->path + QStringLiteral("todo.tbl"));
    AddRealisticTasks(todos, count, rng, false);
    todos.SetModified(true);
    todos.Save();
  }
  return f->path;
}
