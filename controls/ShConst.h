#pragma once
// Messages of the shell components (folder picker, tray icon), looked up by number.
#include <QString>

namespace ShMsg {
constexpr int ErrorOpeningFile = 73;
constexpr int NoVersionInfo = 100;
constexpr int CannotReadVersionInfo = 101;
constexpr int NotSupportedByShell = 110;
constexpr int ErrorAddingTrayIcon = 119;
constexpr int TrayIconError = 121;
constexpr int TrayClose = 127;
constexpr int TrayRestore = 128;
constexpr int OneTrayIconOnly = 133;
constexpr int VersionKeyNotFound = 134;
constexpr int ImageListNotAssigned = 135;
}  // namespace ShMsg

// The text of a message number; an unknown number gives the empty text.
QString ShellMessageText(int id);
