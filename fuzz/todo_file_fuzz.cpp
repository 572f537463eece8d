// Feeds arbitrary bytes to the task-file loader. A file that loads must survive a save
// and a second load unchanged.
//
// The first byte chooses the way in: the bytes from memory; the bytes as a file, read
// through the reader's window; or a large file made of them, the first 112 bytes as
// its header and the rest repeated past a megabyte with the count multiplied to match,
// so the window refills across records and the texts are decoded on a second thread.
#include "core/BTodo.h"
#include "platform/AppContext.h"
#include "platform/Exception.h"

#include <QByteArray>
#include <QtEndian>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

constexpr qsizetype kHeaderSize = 112;
constexpr qsizetype kCountOffset = 108;
// Past the size from which the loader decodes on a second thread.
constexpr qsizetype kLargeFileSize = (1 << 20) + (1 << 18);

QByteArray Tiled(const QByteArray& bytes) {
  if (bytes.size() <= kHeaderSize) return bytes;
  const QByteArray records = bytes.mid(kHeaderSize);
  const qsizetype copies = (kLargeFileSize + records.size() - 1) / records.size();
  QByteArray file = bytes.left(kHeaderSize);
  const int64_t count = int64_t(qFromLittleEndian<int32_t>(file.constData() + kCountOffset)) * copies;
  const int32_t clamped = static_cast<int32_t>(std::clamp<int64_t>(count, INT32_MIN, INT32_MAX));
  qToLittleEndian(clamped, file.data() + kCountOffset);
  file.reserve(kHeaderSize + copies * records.size());
  for (qsizetype i = 0; i < copies; ++i) file += records;
  return file;
}

// A file in memory, so the loader reads it by name without touching the disk.
QString FileWith(const QByteArray& bytes) {
  static const int fd = ::memfd_create("todo.tbl", MFD_CLOEXEC);
  if (fd < 0 || ::ftruncate(fd, 0) != 0 || ::pwrite(fd, bytes.constData(), static_cast<size_t>(bytes.size()), 0) != bytes.size())
    std::abort();
  return QStringLiteral("/proc/self/fd/%1").arg(fd);
}

}  // namespace

// Inputs up to 64 KiB, beyond the default, so that a single input holds many records;
// an explicit -max_len still wins.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  for (int i = 1; i < *argc; ++i)
    if (std::strncmp((*argv)[i], "-max_len=", 9) == 0) return 0;
  static std::string maxLen = "-max_len=65536";
  static char** extended = new char*[static_cast<size_t>(*argc) + 2];
  for (int i = 0; i < *argc; ++i) extended[i] = (*argv)[i];
  extended[*argc] = maxLen.data();
  extended[*argc + 1] = nullptr;
  ++*argc;
  *argv = extended;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static const TAppContextScope clock(ContextWith([](TAppContext& c) { c.Clock = [] { return 38000.5; }; }));
  const QByteArray bytes(reinterpret_cast<const char*>(data) + 1, static_cast<qsizetype>(size) - 1);
  if (data[0] % 3 == 2) {
    // The records repeat, so a file that loads holds every one it announces.
    const QByteArray file = Tiled(bytes);
    TTdTodoHandler large(FileWith(file));
    try {
      large.Load();
    } catch (const Exception&) {
      return 0;
    }
    if (large.TaskCount() != qFromLittleEndian<int32_t>(file.constData() + kCountOffset)) std::abort();
    return 0;
  }

  TTdTodoHandler store(QStringLiteral("/fuzz/todo.tbl"));
  bool loaded = true;
  try {
    store.LoadFromBytes(bytes);
  } catch (const Exception&) {
    loaded = false;
  }
  if (data[0] % 3 == 1) {
    // Read through the window, the same bytes give the same store or the same refusal.
    TTdTodoHandler fromFile(FileWith(bytes));
    bool fileLoaded = true;
    try {
      fromFile.Load();
    } catch (const Exception&) {
      fileLoaded = false;
    }
    if (fileLoaded != loaded || (loaded && fromFile.SaveToBytes() != store.SaveToBytes())) std::abort();
  }
  if (!loaded) return 0;

  TStringList list;
  store.AddStatusItems(list, true, true, true);
  store.FillWeekGroups(list);
  store.AppendWeekGroupCounts(list, true);
  store.FillMonthGroups(list);
  store.RemoveEmptyMonthGroups(list, false);

  const QByteArray saved = store.SaveToBytes();
  TTdTodoHandler again(QStringLiteral("/fuzz/todo.tbl"));
  again.LoadFromBytes(saved);
  if (again.SaveToBytes() != saved) std::abort();
  return 0;
}
