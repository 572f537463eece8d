#include "platform/SafeFile.h"

#include "platform/Exception.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString SystemErrorText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

[[noreturn]] void Fail(const QString& fileName, int error) {
  throw EWriteError(QStringLiteral("Cannot write file \"%1\". %2").arg(QDir::toNativeSeparators(fileName), SystemErrorText(error)));
}

bool WriteAll(int fd, const char* data, qsizetype size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= n;
  }
  return true;
}

void SyncFolder(const QString& folder) {
  const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Makes backupName hold the current content of fileName while fileName stays in place.
// The new copy is made under a temporary name and renamed over the old one, so at every
// moment there is a whole backup.
bool CopyToBackup(const QString& fileName, const QString& backupName) {
  const QByteArray from = QFile::encodeName(fileName);
  const QByteArray to = QFile::encodeName(backupName);
  const QByteArray staging = to + ".new";
  ::unlink(staging.constData());
  if (::link(from.constData(), staging.constData()) != 0 &&
      !QFile::copy(fileName, QFile::decodeName(staging)))
    return false;
  if (::rename(staging.constData(), to.constData()) == 0) return true;
  ::unlink(staging.constData());
  return false;
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
  const QFileInfo info(fileName);
  const QString folder = info.absolutePath();
  RemoveStaleTemporaries(folder, info.fileName());
  QByteArray tempTemplate = QFile::encodeName(folder + QLatin1String("/.") + info.fileName() + QLatin1String(".XXXXXX"));
  const int fd = ::mkstemp(tempTemplate.data());
  if (fd < 0) Fail(fileName, errno);
  auto discard = [&](int error) {
    ::unlink(tempTemplate.constData());
    Fail(fileName, error);
  };
  ::fchmod(fd, 0644);
  try {
    produce([&](QByteArrayView chunk) {
      if (!WriteAll(fd, chunk.data(), chunk.size())) Fail(fileName, errno);
    });
  } catch (...) {
    ::close(fd);
    ::unlink(tempTemplate.constData());
    throw;
  }
  if (::fsync(fd) != 0) {
    const int error = errno;
    ::close(fd);
    discard(error);
  }
  if (::close(fd) != 0) discard(errno);
  if (keepBackup && info.exists() && !CopyToBackup(fileName, BackupFileName(fileName))) discard(errno ? errno : EIO);
  if (::rename(tempTemplate.constData(), QFile::encodeName(fileName).constData()) != 0) discard(errno);
  SyncFolder(folder);
}
