#pragma once
// Moving the table files to another database folder. Nothing in the old folder is
// touched until every file is in the new one and reads back byte for byte; a table file
// the new folder holds already is kept there (it is the data the user chose to use).
#include <QString>
#include <QStringList>

#include <functional>

// The five table files, in the order they are moved.
QStringList DatabaseTableFiles();

// Whether two folder names lead to the same folder: symbolic links and "." or ".."
// resolved, a trailing "/" ignored. A folder that does not exist yet compares by its
// cleaned absolute name.
bool SameFolder(const QString& a, const QString& b);

struct TDbFolderCopyResult {
  bool Ok = true;
  QString Message;         // why the copy stopped, when it did
  QStringList Copied;      // names copied into the new folder
};

// Creates the new folder when missing and copies each table file of the old folder that
// the new one lacks (archive.tbl only when the old folder has one), checking each copy
// against its original. Stops at the first failure, removes the copies it made and
// leaves the old folder as it was. Both folders end with "/".
// `copy` copies one file (raising on failure); tests put a failing one in.
using TTableFileCopy = std::function<void(const QString& source, const QString& target)>;
TDbFolderCopyResult CopyTableFiles(const QString& oldFolder, const QString& newFolder, const TTableFileCopy& copy = {});

// Deletes the table files of the old folder, each through its "~" safety copy.
void RemoveTableFiles(const QString& oldFolder);
