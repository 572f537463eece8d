#pragma once
// File and folder helpers of the stores and the application handler. The "~" backup
// name and BackupFile come from the platform's safe-file writer.
#include "platform/SafeFile.h"

#include <QString>

// The file's absolute path as error messages name it.
QString FullPath(const QString& fileName);

// Runs a store's load and sets failed when it raises, before the error passes on: a
// store that did not read its file whole holds at most what came before the damage,
// and must not write that over the file.
template <typename Load>
void LoadOrMarkFailed(bool& failed, Load load) {
  try {
    load();
  } catch (...) {
    failed = true;
    throw;
  }
}

// The write error of a store whose file could not be read whole.
[[noreturn]] void RefuseToOverwriteUnread(const QString& fileName);

// Creates the folder with all missing parents unless it exists. One trailing "/" is
// ignored and "/" always exists. Raises Exception "Unable to create directory" for an
// empty name, and that text followed by the folder in double quotes when a folder
// cannot be created.
void EnsureDirectory(const QString& folder);

// Copies the whole content of source to destination (replaced atomically). Raises an
// Exception naming the file that could not be read or written.
void CopyFileByStream(const QString& source, const QString& destination);

// True when there is a directory entry of exactly this name, whatever it is: a file,
// a folder, or a symbolic link, even one whose target is missing.
bool FileExists(const QString& fileName);
// True when the name leads to a folder (links followed).
bool DirectoryExists(const QString& folder);

// The folder of the system's shared libraries (where the C library was loaded from),
// without a trailing "/". Raises an Exception when it cannot be determined.
QString GetSystemDir();
