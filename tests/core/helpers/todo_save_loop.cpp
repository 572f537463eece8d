// Saves a large task store <saves> times, the old content (first) and the new one in
// turn, writes "<save number> <microseconds the save took>" to standard output after
// each completed save, and then waits to be killed. The crash test kills it at a moment
// timed from these lines; a kill that comes late finds the last save done, never a
// later one. Usage: todo_save_loop <file> <saves>
#include "CrashStores.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  const QString name = QString::fromLocal8Bit(argv[1]);
  const long saves = std::strtol(argv[2], nullptr, 10);
  TTdTodoHandler oldStore(name), newStore(name);
  crash_stores::Fill(oldStore, crash_stores::kOldCount);
  crash_stores::Fill(newStore, crash_stores::kNewCount);
  try {
    for (long n = 0; n < saves; ++n) {
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
  for (;;) ::pause();
}
