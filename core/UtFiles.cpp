#include "core/UtFiles.h"

#include "platform/Exception.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>
#include <link.h>
#include <sys/stat.h>

namespace {

const QString kCannotCreate = QStringLiteral("Unable to create directory");

}  // namespace

QString FullPath(const QString& fileName) { return QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath()); }

void RefuseToOverwriteUnread(const QString& fileName) {
  throw EWriteError(QStringLiteral("Cannot write file \"%1\". It could not be read whole, and saving would lose what "
                                   "it still holds.")
                        .arg(FullPath(fileName)));
}

void EnsureDirectory(const QString& folder) {
  if (folder.isEmpty()) throw Exception(kCannotCreate);
  QString name = folder;
  if (name.size() > 1 && name.endsWith(QLatin1Char('/'))) name.chop(1);
  if (name == QLatin1String("/") || DirectoryExists(name)) return;
  if (!QDir().mkpath(name) || !DirectoryExists(name))
    throw Exception(kCannotCreate + QStringLiteral(" \"%1\"").arg(QDir::toNativeSeparators(name)));
}

void CopyFileByStream(const QString& source, const QString& destination) {
  QFile input(source);
  if (!input.open(QIODevice::ReadOnly))
    throw EReadError(QStringLiteral("Cannot open file \"%1\". %2").arg(QDir::toNativeSeparators(source), input.errorString()));
  const QByteArray content = input.readAll();
  if (input.error() != QFileDevice::NoError)
    throw EReadError(QStringLiteral("Cannot read file \"%1\". %2").arg(QDir::toNativeSeparators(source), input.errorString()));
  WriteFileSafely(destination, content, false);
}

bool FileExists(const QString& fileName) {
  if (fileName.isEmpty()) return false;
  struct stat info {};
  return ::lstat(QFile::encodeName(fileName).constData(), &info) == 0;
}

bool DirectoryExists(const QString& folder) { return !folder.isEmpty() && QFileInfo(folder).isDir(); }

QString GetSystemDir() {
  void* handle = ::dlopen("libc.so.6", RTLD_LAZY | RTLD_NOLOAD);
  if (!handle) throw Exception(QString::fromLocal8Bit(::dlerror()));
  link_map* map = nullptr;
  const bool found = ::dlinfo(handle, RTLD_DI_LINKMAP, &map) == 0 && map && map->l_name && *map->l_name;
  const QString library = found ? QFile::decodeName(map->l_name) : QString();
  ::dlclose(handle);
  if (!found) throw Exception(QStringLiteral("Cannot find the folder of the system libraries"));
  return QFileInfo(library).absolutePath();
}
