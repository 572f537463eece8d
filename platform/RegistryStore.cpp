#include "platform/RegistryStore.h"

#include "platform/AutostartEntry.h"
#include "platform/Exception.h"
#include "platform/FileText.h"
#include "platform/PrivateProfile.h"
#include "platform/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kAutostartKey = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Run");

// "\a\\b\" -> "a\b": the spelling of a sub-key that the store compares.
QString NormalizedSubKey(const QString& subKey) {
  return subKey.split(QLatin1Char('\\'), Qt::SkipEmptyParts).join(QLatin1Char('\\'));
}

// Names and values go into INI lines; every character the INI syntax would take for
// its own, and blanks at either end, are written as %XX so they come back unchanged.
QString Escape(const QString& text) {
  static const QString special = QStringLiteral("%=[];\"'@");
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    const bool edgeBlank = c.isSpace() && (i == 0 || i == text.size() - 1);
    if (c.unicode() < 0x20 || c.unicode() == 0x7F || special.contains(c) || edgeBlank)
      out += QLatin1Char('%') + QString::number(c.unicode(), 16).toUpper().rightJustified(2, QLatin1Char('0'));
    else
      out += c;
  }
  return out;
}

QString Unescape(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text.at(i) == QLatin1Char('%') && i + 2 < text.size() && HexDigitValue(text.at(i + 1).unicode()) >= 0 &&
        HexDigitValue(text.at(i + 2).unicode()) >= 0) {
      out += QChar(QStringView(text).mid(i + 1, 2).toUShort(nullptr, 16));
      i += 2;
    } else {
      out += text.at(i);
    }
  }
  return out;
}

// The default value of a key has the empty name.
QString ValueKey(const QString& name) { return name.isEmpty() ? QStringLiteral("@") : Escape(name); }

QString SectionName(RegistryHive hive, const QString& subKey) {
  QStringList parts{RegistryHiveName(hive)};
  for (const QString& part : NormalizedSubKey(subKey).split(QLatin1Char('\\'), Qt::SkipEmptyParts))
    parts += Escape(part);
  return parts.join(QLatin1Char('\\'));
}

// mkdir -p that keeps the reason of a failure.
int MakePath(const QString& folder) {
  const QString path = QDir::cleanPath(QDir(folder).absolutePath());
  const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
  QString current;
  for (const QString& part : parts) {
    current += QLatin1Char('/') + part;
    const QByteArray name = QFile::encodeName(current);
    if (::mkdir(name.constData(), 0755) == 0) continue;
    const int error = errno;
    struct stat info {};
    if (error == EEXIST && ::stat(name.constData(), &info) == 0 && S_ISDIR(info.st_mode)) continue;
    return error == EEXIST ? ENOTDIR : error;
  }
  return 0;
}

int WriteError() { return errno ? errno : EIO; }

// The desktop entry's file name: the value name in lower case, with only characters
// that are safe in a file name.
QString EntryBaseName(const QString& name) {
  QString base = name.toLower();
  for (QChar& c : base)
    if (!c.isLetterOrNumber() && c != QLatin1Char('-') && c != QLatin1Char('_') && c != QLatin1Char('.'))
      c = QLatin1Char('_');
  if (base.isEmpty() || base.startsWith(QLatin1Char('.'))) base.prepend(QLatin1Char('_'));
  return base;
}

}  // namespace

QString RegistryHiveName(RegistryHive hive) {
  switch (hive) {
    case RegistryHive::ClassesRoot: return QStringLiteral("HKEY_CLASSES_ROOT");
    case RegistryHive::LocalMachine: return QStringLiteral("HKEY_LOCAL_MACHINE");
    case RegistryHive::Users: return QStringLiteral("HKEY_USERS");
    case RegistryHive::CurrentUser: break;
  }
  return QStringLiteral("HKEY_CURRENT_USER");
}

RegistryStore::RegistryStore() : RegistryStore(DefaultStoreFile(), DefaultAutostartFolder()) {}

RegistryStore::RegistryStore(QString storeFile, QString autostartFolder)
    : storeFile_(std::move(storeFile)), autostartFolder_(std::move(autostartFolder)) {}

QString RegistryStore::DefaultStoreFile() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QLatin1String("/velmora/registry.ini");
}

QString RegistryStore::DefaultAutostartFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1String("/autostart");
}

bool RegistryStore::IsAutostartKey(const QString& subKey) {
  return NormalizedSubKey(subKey).compare(kAutostartKey, Qt::CaseInsensitive) == 0;
}

QString RegistryStore::AutostartEntryFile(const QString& name) const {
  return autostartFolder_ + QLatin1Char('/') + EntryBaseName(name) + QLatin1String(".desktop");
}

int RegistryStore::CreateKey(RegistryHive, const QString& subKey) const {
  return MakePath(IsAutostartKey(subKey) ? autostartFolder_ : QFileInfo(storeFile_).absolutePath());
}

int RegistryStore::WriteString(RegistryHive hive, const QString& subKey, const QString& name,
                               const QString& value) const {
  if (const int error = CreateKey(hive, subKey)) return error;
  errno = 0;
  try {
    if (IsAutostartKey(subKey)) {
      WriteFileSafely(AutostartEntryFile(name), AutostartEntryText(name, value), false);
    } else {
      PrivateProfileFile store(storeFile_);
      store.WriteString(SectionName(hive, subKey), ValueKey(name), Escape(value));
      store.UpdateFile();
    }
  } catch (const EWriteError&) {
    return WriteError();
  }
  return 0;
}

std::optional<QString> RegistryStore::ReadString(RegistryHive hive, const QString& subKey, const QString& name) const {
  if (IsAutostartKey(subKey)) {
    QFile entry(AutostartEntryFile(name));
    if (!entry.open(QIODevice::ReadOnly)) return std::nullopt;
    return AutostartEntryProgram(entry.readAll());
  }
  const std::optional<QString> value =
      PrivateProfileFile(storeFile_).FindValue(SectionName(hive, subKey), ValueKey(name));
  if (!value) return std::nullopt;
  return Unescape(*value);
}

int RegistryStore::DeleteValue(RegistryHive hive, const QString& subKey, const QString& name) const {
  if (IsAutostartKey(subKey)) {
    const QByteArray entry = QFile::encodeName(AutostartEntryFile(name));
    return ::unlink(entry.constData()) == 0 ? 0 : errno;
  }
  errno = 0;
  try {
    PrivateProfileFile store(storeFile_);
    if (!store.DeleteKey(SectionName(hive, subKey), ValueKey(name))) return ENOENT;
    store.UpdateFile();
  } catch (const EWriteError&) {
    return WriteError();
  }
  return 0;
}
