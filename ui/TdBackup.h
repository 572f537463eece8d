#pragma once
// The backup of the table files: todo.tbl, cat.tbl, res.tbl, type.tbl and, when there is
// one, archive.tbl are copied from the database folder into a backup folder under the
// day's date (20240131_todo.tbl); a copy of the same name is replaced.
//
// Every store is saved first, so the copies hold what the user sees. Each copy is
// written through the durable save helper and read back: only when every copy has the
// size and bytes of its file is the backup a success; otherwise the first failure names
// its file and the reason.
#include <QDate>
#include <QString>
#include <QStringList>

class QWidget;
class TUtCustomBrowser;
class TTodoAppHandler;

struct TBackupResult {
  bool Ok = true;
  QString File;    // the file that failed
  QString Reason;  // why
  QStringList Copies;  // the copies written, in order
};

// "yyyymmdd_" + the file name, in the folder (which ends with "/").
QString BackupCopyName(const QString& backupFolder, const QDate& day, const QString& fileName);

// Copies the table files of `databaseFolder` into `backupFolder` (both ending with "/").
// A missing todo.tbl, cat.tbl, res.tbl or type.tbl is a failure; a missing archive.tbl
// is left out.
TBackupResult CopyTableFiles(const QString& databaseFolder, const QString& backupFolder, const QDate& day);

// The backup action once the folder is chosen: BackupFolder := the folder with a
// trailing "/"; with the hourglass every store is saved and the files copied; then
// "Data files successfully backuped to " + BackupFolder, or the failure. True on success.
bool RunBackup(TTodoAppHandler& handler, const QString& chosenFolder, QWidget* parent = nullptr);

// The whole action (acFileBackup; the window does not call it while a cell is edited):
// the folder picker opens at BackupFolder; on OK, RunBackup. False when cancelled or
// failed.
bool ExecuteBackup(TTodoAppHandler& handler, TUtCustomBrowser& browser, QWidget* parent = nullptr);
