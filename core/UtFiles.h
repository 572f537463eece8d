#pragma once
// File and folder helpers of the stores and the application handler. The "~" backup
// name and BackupFile come from the platform's safe-file writer.
#include "platform/SafeFile.h"

#include <QString>

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
