#include "platform/SafeFile.h"

#include "platform/Exception.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Every step below returns 0 or the error code of the call that failed, taken at once:
// the clean-up after a failure makes calls of its own that would overwrite errno.
using ErrorCode = int;

FolderSyncFunction folderSync = ::fsync;

QString SystemErrorText(ErrorCode error) { return QString::fromLocal8Bit(std::strerror(error)); }

[[noreturn]] void Fail(const QString& fileName, const QString& reason) {
  throw EWriteError(QStringLiteral("Cannot write file \"%1\". %2").arg(QDir::toNativeSeparators(fileName), reason));
}

[[noreturn]] void Fail(const QString& fileName, ErrorCode error) { Fail(fileName, SystemErrorText(error)); }

ErrorCode WriteAll(int fd, const char* data, qsizetype size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    data += n;
    size -= n;
  }
  return 0;
}

ErrorCode CloseFile(int fd) { return ::close(fd) == 0 ? 0 : errno; }

QByteArray FolderOf(const QByteArray& path) {
  const qsizetype slash = path.lastIndexOf('/');
  if (slash < 0) return QByteArrayLiteral(".");
  return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

// The file a name stands for once symbolic links are followed, so that a save replaces
// the file the user's link points to and leaves the link in place. A name that is no
// link (or does not exist yet) stands for itself.
ErrorCode FollowLinks(QByteArray path, QByteArray& target) {
  // The kernel's own limit on links followed in one look-up.
  constexpr int kMaxLinks = 40;
  for (int hops = 0; hops <= kMaxLinks; ++hops) {
    struct stat info {};
    if (::lstat(path.constData(), &info) != 0 || !S_ISLNK(info.st_mode)) {
      target = path;
      return 0;
    }
    QByteArray link(std::max<qsizetype>(info.st_size, 64) + 1, Qt::Uninitialized);
    const ssize_t n = ::readlink(path.constData(), link.data(), static_cast<size_t>(link.size()));
    if (n < 0) return errno;
    if (n >= link.size()) return ENAMETOOLONG;  // the link changed under us
    link.truncate(n);
    path = link.startsWith('/') ? link : FolderOf(path) + '/' + link;
  }
  return ELOOP;
}

ErrorCode SyncFolder(const QByteArray& folder) {
  const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  ErrorCode error = folderSync(fd) == 0 ? 0 : errno;
  // A file system that cannot sync a folder has nothing to wait for.
  if (error == EINVAL) error = 0;
  ::close(fd);
  return error;
}

// The mask the process creates files under. Asking umask() means setting it for a
// moment, which races with other threads creating files; the kernel also shows it here.
mode_t ProcessUmask() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (status.open(QIODevice::ReadOnly)) {
    for (const QByteArray& line : status.readAll().split('\n')) {
      if (!line.startsWith("Umask:")) continue;
      bool ok = false;
      const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
      if (ok) return static_cast<mode_t>(mask & 0777);
    }
  }
  const mode_t mask = ::umask(022);
  ::umask(mask);
  return mask;
}

// A byte-for-byte copy with the source's permissions, flushed to disk, for file systems
// that have no hard links.
ErrorCode CopyFile(const QByteArray& from, const QByteArray& to) {
  const int in = ::open(from.constData(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return errno;
  struct stat info {};
  if (::fstat(in, &info) != 0) {
    const ErrorCode error = errno;
    ::close(in);
    return error;
  }
  const int out = ::open(to.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (out < 0) {
    const ErrorCode error = errno;
    ::close(in);
    return error;
  }
  ErrorCode error = 0;
  char buffer[64 * 1024];
  for (;;) {
    const ssize_t n = ::read(in, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) error = errno;
    if (n <= 0) break;
    if ((error = WriteAll(out, buffer, n)) != 0) break;
  }
  if (error == 0 && ::fchmod(out, info.st_mode & 0777) != 0) error = errno;
  if (error == 0 && ::fsync(out) != 0) error = errno;
  const ErrorCode closed = CloseFile(out);
  if (error == 0) error = closed;
  ::close(in);
  if (error != 0) ::unlink(to.constData());
  return error;
}

// Makes backupName hold the current content of fileName while fileName stays in place.
// The new copy is made under a temporary name and renamed over the old one, so at every
// moment there is a whole backup.
ErrorCode CopyToBackup(const QByteArray& from, const QByteArray& to) {
  const QByteArray staging = to + ".new";
  ::unlink(staging.constData());
  if (::link(from.constData(), staging.constData()) != 0) {
    if (const ErrorCode error = CopyFile(from, staging)) return error;
  }
  if (::rename(staging.constData(), to.constData()) == 0) return 0;
  const ErrorCode error = errno;
  ::unlink(staging.constData());
  return error;
}

// Temporary files of a save that was cut short (the program was killed) are of no use.
void RemoveStaleTemporaries(const QString& folder, const QString& fileName) {
  QDir dir(folder);
  const QStringList stale = dir.entryList({QLatin1Char('.') + fileName + QLatin1String(".??????")}, QDir::Files | QDir::Hidden);
  for (const QString& name : stale) dir.remove(name);
}

}  // namespace

QString BackupFileName(const QString& fileName) {
  const QFileInfo info(fileName);
  const QString suffix = info.suffix();
  const QString name = info.fileName();
  if (suffix.isEmpty() || name.size() == suffix.size() + 1) return fileName + QLatin1Char('~');
  return fileName.left(fileName.size() - suffix.size()) + QLatin1Char('~') + suffix;
}

void BackupFile(const QString& fileName) {
  const QString backup = BackupFileName(fileName);
  if (QFileInfo::exists(backup)) QFile::remove(backup);
  if (QFileInfo::exists(fileName)) QFile::rename(fileName, backup);
}

void WriteFileSafely(const QString& fileName, const QByteArray& bytes, bool keepBackup) {
  WriteFileSafely(fileName, [&bytes](const FileChunkWrite& write) { write(bytes); }, keepBackup);
}

void WriteFileSafely(const QString& fileName, const std::function<void(const FileChunkWrite&)>& produce, bool keepBackup) {
  SafeFileWriter writer(fileName, keepBackup);
  produce([&writer](QByteArrayView chunk) { writer.Write(chunk); });
  writer.Commit();
}

SafeFileWriter::SafeFileWriter(const QString& fileName, bool keepBackup) : fileName_(fileName), keepBackup_(keepBackup) {
  if (const ErrorCode error = FollowLinks(QFile::encodeName(fileName), target_)) Fail(fileName, error);
  folder_ = FolderOf(target_);
  const QString targetName = QFile::decodeName(target_);
  RemoveStaleTemporaries(QFile::decodeName(folder_), QFileInfo(targetName).fileName());

  // mkstemp makes the file private to the user while it is written; it gets its
  // final permissions only once it holds the whole content.
  temporary_ = folder_ + "/." + QFile::encodeName(QFileInfo(targetName).fileName()) + ".XXXXXX";
  fd_ = ::mkstemp(temporary_.data());
  if (fd_ < 0) {
    temporary_.clear();
    Fail(fileName, errno);
  }
}

SafeFileWriter::~SafeFileWriter() { Discard(); }

void SafeFileWriter::Discard() {
  device_.reset();
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temporary_.isEmpty()) ::unlink(temporary_.constData());
  temporary_.clear();
}

QIODevice& SafeFileWriter::Device() {
  if (!device_) {
    device_ = std::make_unique<QFile>();
    if (fd_ < 0 || !device_->open(fd_, QIODevice::WriteOnly, QFileDevice::DontCloseHandle))
      Fail(fileName_, device_->errorString());
  }
  return *device_;
}

void SafeFileWriter::Write(QByteArrayView bytes) {
  if (fd_ < 0) Fail(fileName_, EBADF);
  if (const ErrorCode error = WriteAll(fd_, bytes.data(), bytes.size())) Fail(fileName_, error);
}

void SafeFileWriter::Commit() {
  if (fd_ < 0) Fail(fileName_, EBADF);
  // Whatever fails below leaves the old file in place and no temporary file behind.
  auto discard = [this](ErrorCode error) {
    Discard();
    Fail(fileName_, error);
  };
  if (device_) {
    if (!device_->flush() || device_->error() != QFileDevice::NoError) {
      const QString reason = device_->errorString();
      Discard();
      Fail(fileName_, reason);
    }
    device_.reset();
  }
  // The saved file keeps the permissions the user gave it; a new one gets the usual
  // mode under the umask.
  struct stat existing {};
  const bool exists = ::stat(target_.constData(), &existing) == 0;
  const mode_t mode = exists ? (existing.st_mode & 0777) : (0666 & ~ProcessUmask());
  if (::fchmod(fd_, mode) != 0) discard(errno);
  if (::fsync(fd_) != 0) discard(errno);
  const ErrorCode closed = CloseFile(fd_);
  fd_ = -1;
  if (closed) discard(closed);
  if (keepBackup_ && exists) {
    const QString targetName = QFile::decodeName(target_);
    if (const ErrorCode error = CopyToBackup(target_, QFile::encodeName(BackupFileName(targetName)))) discard(error);
  }
  if (::rename(temporary_.constData(), target_.constData()) != 0) discard(errno);
  temporary_.clear();
  // The new content is in place, but until the folder is on disk a power cut can undo
  // the rename.
  if (const ErrorCode error = SyncFolder(folder_)) Fail(fileName_, error);
}

FolderSyncScope::FolderSyncScope(FolderSyncFunction sync) : previous_(folderSync) {
  folderSync = sync ? sync : ::fsync;
}

FolderSyncScope::~FolderSyncScope() { folderSync = previous_; }
