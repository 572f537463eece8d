#include "ui/TdBackup.h"

#include "core/BCat.h"
#include "core/BRes.h"
#include "core/BTodo.h"
#include "core/BType.h"
#include "controls/UtBrowsr.h"
#include "core/TdApp.h"
#include "platform/DateTime.h"
#include "platform/Desktop.h"
#include "platform/Exception.h"
#include "platform/SafeFile.h"

#include <QFile>
#include <QFileInfo>

namespace {

// Reads a whole file; false with the reason when it cannot.
bool ReadFile(const QString& name, QByteArray& bytes, QString& reason) {
  QFile file(name);
  if (!file.open(QIODevice::ReadOnly)) {
    reason = file.errorString();
    return false;
  }
  bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    reason = file.errorString();
    return false;
  }
  return true;
}

}  // namespace

QString BackupCopyName(const QString& backupFolder, const QDate& day, const QString& fileName) {
  return backupFolder + day.toString(QStringLiteral("yyyyMMdd")) + QLatin1Char('_') + fileName;
}

TBackupResult CopyTableFiles(const QString& databaseFolder, const QString& backupFolder, const QDate& day) {
  TBackupResult result;
  const auto fail = [&](const QString& file, const QString& reason) {
    result.Ok = false;
    result.File = file;
    result.Reason = reason;
    return result;
  };
  static const char* const names[] = {"todo.tbl", "cat.tbl", "res.tbl", "type.tbl", "archive.tbl"};
  for (const char* name : names) {
    const QString fileName = QString::fromLatin1(name);
    const QString source = databaseFolder + fileName;
    if (!QFileInfo::exists(source)) {
      if (fileName == QLatin1String("archive.tbl")) continue;
      return fail(source, QStringLiteral("The file does not exist."));
    }
    QByteArray bytes;
    QString reason;
    if (!ReadFile(source, bytes, reason)) return fail(source, reason);
    const QString target = BackupCopyName(backupFolder, day, fileName);
    try {
      WriteFileSafely(target, bytes, false);
    } catch (const Exception& e) {
      return fail(target, e.Message());
    }
    QByteArray copied;
    if (!ReadFile(target, copied, reason)) return fail(target, reason);
    if (copied.size() != bytes.size()) return fail(target, QStringLiteral("The copy has the wrong size."));
    if (copied != bytes) return fail(target, QStringLiteral("The copy differs from its file."));
    result.Copies << target;
  }
  return result;
}

bool RunBackup(TTodoAppHandler& handler, const QString& chosenFolder, QWidget* parent) {
  TTdAppOptions& options = handler.OptionsHandler().Options();
  QString folder = chosenFolder;
  if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
  options.BackupFolder = folder;
  TBackupResult result;
  {
    ScopedWaitCursor wait;
    // Every store is written, so every table file exists and holds what is on screen.
    handler.TodoHandler().SetModified(true);
    handler.CategoryHandler().SetModified(true);
    handler.ResourceHandler().SetModified(true);
    handler.TypeHandler().SetModified(true);
    try {
      if (!handler.SaveAll()) {
        result.Ok = false;
        result.File = options.DatabaseFolder;
        result.Reason = QStringLiteral("The files are in use by a reminder; try again when it is answered.");
      }
    } catch (const Exception& e) {
      result.Ok = false;
      result.File = options.DatabaseFolder;
      result.Reason = e.Message();
    }
    if (result.Ok) result = CopyTableFiles(options.DatabaseFolder, folder, DateTime::ToQDate(DateTime::Today()));
  }
  if (!result.Ok) {
    Desktop().MessageBox(QStringLiteral("Message"),
                         QStringLiteral("The backup failed: ") + result.File + QStringLiteral("\n") + result.Reason,
                         Msg::Critical, Msg::Ok, Msg::Ok, parent);
    return false;
  }
  Desktop().MessageBox(QStringLiteral("Message"), QStringLiteral("Data files successfully backuped to ") + folder,
                       Msg::Information, Msg::Ok, Msg::Ok, parent);
  return true;
}

bool ExecuteBackup(TTodoAppHandler& handler, TUtCustomBrowser& browser, QWidget* parent) {
  browser.SetSelectedFolder(handler.Options().BackupFolder);
  if (!browser.Execute()) return false;
  return RunBackup(handler, browser.Folder(), parent);
}
