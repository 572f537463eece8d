#include "ui/TdDbFolderMove.h"

#include "core/UtFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QStringList DatabaseTableFiles() {
  return {QStringLiteral("todo.tbl"), QStringLiteral("cat.tbl"), QStringLiteral("res.tbl"),
          QStringLiteral("type.tbl"), QStringLiteral("archive.tbl")};
}

namespace {

QString ResolvedFolder(const QString& folder) {
  const QFileInfo info(folder);
  const QString canonical = info.canonicalFilePath();
  return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

QByteArray ReadWhole(const QString& path, bool& ok) {
  QFile file(path);
  ok = file.open(QIODevice::ReadOnly);
  if (!ok) return {};
  QByteArray bytes = file.readAll();
  ok = file.error() == QFile::NoError;
  return bytes;
}

}  // namespace

bool SameFolder(const QString& a, const QString& b) { return ResolvedFolder(a) == ResolvedFolder(b); }

TDbFolderCopyResult CopyTableFiles(const QString& oldFolder, const QString& newFolder, const TTableFileCopy& copy) {
  TDbFolderCopyResult result;
  auto fail = [&](const QString& message) {
    for (const QString& name : result.Copied) QFile::remove(newFolder + name);
    result.Copied.clear();
    result.Ok = false;
    result.Message = message;
    return result;
  };
  try {
    EnsureDirectory(newFolder);
  } catch (const std::exception&) {
    return fail(QStringLiteral("Unable to create directory \"%1\"").arg(newFolder));
  }
  for (const QString& name : DatabaseTableFiles()) {
    const QString source = oldFolder + name;
    const QString target = newFolder + name;
    if (!QFileInfo::exists(source) || QFileInfo::exists(target)) continue;
    const QString failure = QStringLiteral("Could not copy \"%1\" to \"%2\". The database stays in \"%3\".")
                                .arg(source, target, oldFolder);
    bool read = false;
    const QByteArray original = ReadWhole(source, read);
    if (!read) return fail(failure);
    // The new folder had no such file: whatever a failed copy left there may go.
    result.Copied << name;
    try {
      if (copy) copy(source, target);
      else CopyFileByStream(source, target);
    } catch (...) {
      return fail(failure);
    }
    bool reread = false;
    if (ReadWhole(target, reread) != original || !reread) return fail(failure);
  }
  return result;
}

void RemoveTableFiles(const QString& oldFolder) {
  for (const QString& name : DatabaseTableFiles()) {
    const QString path = oldFolder + name;
    if (!QFileInfo::exists(path)) continue;
    BackupFile(path);
    QFile::remove(BackupFileName(path));
  }
}
