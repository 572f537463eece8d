#pragma once
// Writing a data file so that what the user saved is never replaced by a partly
// written one, and the "~" safety copy the table files keep beside them.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <memory>

class QFile;
class QIODevice;

// todo.tbl -> todo.~tbl: a "~" in front of the extension's letters. A name without an
// extension gets "~" appended to it.
QString BackupFileName(const QString& fileName);

// Deletes an existing backup of the file, then moves the file to the backup name.
// A missing file is not an error.
void BackupFile(const QString& fileName);

// Replaces the file with the bytes: they go to a temporary file in the same folder,
// private to the user while it is written, which then gets the old file's permissions
// (a new file: 0666 under the umask) and is flushed to disk; the old file becomes the
// "~" copy when keepBackup is set (as a hard link, or a copy where links are not
// possible, so the file itself never goes missing); the temporary file is renamed into
// place and the folder synced. A name that is a symbolic link is written through: the
// link stays and the file it points to is replaced, with its "~" copy beside it.
// Raises EWriteError naming the file, with the system's reason, when any step fails;
// before the rename the old file is then intact, and a failed sync of the folder
// after it is reported the same way.
void WriteFileSafely(const QString& fileName, const QByteArray& bytes, bool keepBackup);

// Writes the next bytes of the file being saved; raises EWriteError when it cannot.
using FileChunkWrite = std::function<void(QByteArrayView)>;

// The same for content made piece by piece: produce hands each piece to the write it
// gets, so a large file is never held whole in memory. An exception from produce
// leaves the old file as it was and passes on.
void WriteFileSafely(const QString& fileName, const std::function<void(const FileChunkWrite&)>& produce, bool keepBackup);

// The same save in two steps, for a writer that streams into a device of its own (a
// document writer): the constructor makes the temporary file and Device() writes into
// it; Commit puts it in place as WriteFileSafely does. A writer dropped without a
// successful Commit (a failed or cancelled job) removes the temporary file and leaves
// the file that was there as it was. The constructor and Commit raise EWriteError as
// WriteFileSafely does.
class SafeFileWriter {
public:
  SafeFileWriter(const QString& fileName, bool keepBackup);
  ~SafeFileWriter();
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  // Open for writing until Commit; buffered, so many small writes cost no system call each.
  QIODevice& Device();
  // Writes straight to the file, unbuffered; raises EWriteError with the system's reason.
  // A save uses either this or Device(), not both.
  void Write(QByteArrayView bytes);
  void Commit();

private:
  void Discard();

  QString fileName_;
  QByteArray target_;
  QByteArray folder_;
  QByteArray temporary_;
  int fd_ = -1;
  bool keepBackup_;
  std::unique_ptr<QFile> device_;
};

// The call that syncs the folder after the rename (fsync). A test puts one that fails in
// its place for the lifetime of a scope; scopes nest and end in the reverse order.
using FolderSyncFunction = int (*)(int fd);
class FolderSyncScope {
public:
  explicit FolderSyncScope(FolderSyncFunction sync);
  ~FolderSyncScope();
  FolderSyncScope(const FolderSyncScope&) = delete;
  FolderSyncScope& operator=(const FolderSyncScope&) = delete;

private:
  FolderSyncFunction previous_;
};
