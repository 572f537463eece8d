// Saves a large task store over and over, the old content (first) and the new one in
// turn, and writes "<save number> <microseconds the save took>" to standard output
// after each completed save. The crash test kills it at a moment timed from these
// lines. Usage: todo_save_loop <file>
#include "CrashStores.h"

#include <chrono>
#include <cstdio>
#include <exception>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const QString name = QString::fromLocal8Bit(argv[1]);
  TTdTodoHandler oldStore(name), newStore(name);
  crash_stores::Fill(oldStore, crash_stores::kOldCount);
  crash_stores::Fill(newStore, crash_stores::kNewCount);
  try {
    for (long n = 0;; ++n) {
      TTdTodoHandler& store = n % 2 == 0 ? oldStore : newStore;
      const auto start = std::chrono::steady_clock::now();
      store.SetModified(true);
      store.Save();
      const auto micros =
          std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count();
      // One write per line, unbuffered: the test reads each as soon as the save is done.
      const std::string line = std::to_string(n) + ' ' + std::to_string(micros) + '\n';
      if (::write(STDOUT_FILENO, line.data(), line.size()) != static_cast<ssize_t>(line.size())) return 4;
    }
  } catch (const std::exception&) {
    return 3;
  } catch (...) {
    return 3;
  }
}
