#pragma once
// The shell's special folders, as far as the program asks for them.
#include <QString>

// The per-user application-data folder.
constexpr int CSIDL_APPDATA = 0x001A;

// The folder of the id without a trailing "/": for CSIDL_APPDATA $XDG_DATA_HOME
// (by default ~/.local/share). Empty for every other id.
QString ShellFolderPath(int folderId);
