#pragma once
// The shell's folder look-up, as the application handler uses it to find the default
// data folder.
#include "platform/ShellFolders.h"

#include <QString>

// The error a look-up leaves when the folder id is not supported.
constexpr unsigned ERROR_CALL_NOT_IMPLEMENTED = 120;

// Makes the look-up available; it always is, so calling it any number of times is harmless.
void LoadShFolderApi();

// The folder of the id; flagIndex 0 asks for its current, 1 for its default path (the
// same here). On success the last folder error is 0; an id other than CSIDL_APPDATA
// fails with ERROR_CALL_NOT_IMPLEMENTED.
bool GetFolderPathEx(int folderId, int flagIndex, QString& path);

// The error code of this thread's last GetFolderPathEx.
unsigned GetLastFolderError();

// The folder's current path, empty when the look-up fails.
QString GetSpecialFolderPath(int folderId);
