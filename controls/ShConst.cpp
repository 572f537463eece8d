#include "controls/ShConst.h"

#include <iterator>

namespace {

struct ShellMessage {
  int id;
  const char* text;
};

// Only the messages of the components we have; the family's other components (file
// operations, shortcuts, drop targets) are not part of the program.
constexpr ShellMessage kMessages[] = {
    {ShMsg::ErrorOpeningFile, "Error opening file"},
    {ShMsg::NoVersionInfo, "File does not contain version info"},
    {ShMsg::CannotReadVersionInfo, "Unable to read version info"},
    {ShMsg::NotSupportedByShell, "Operation not supported in this version of the shell"},
    {ShMsg::ErrorAddingTrayIcon, "Error adding tray icon"},
    {ShMsg::TrayIconError, "Tray icon error"},
    {ShMsg::TrayClose, "&Close"},
    {ShMsg::TrayRestore, "&Restore"},
    {ShMsg::OneTrayIconOnly, "Cannot have more than one UtTrayIcon per application"},
    {ShMsg::VersionKeyNotFound, "The specified key cannnot be found in version info"},
    {ShMsg::ImageListNotAssigned, "ImageList is not assigned"},
};

}  // namespace

QString ShellMessageText(int id) {
  // Searched to the end so that a number given twice takes its last text.
  const char* found = nullptr;
  for (const ShellMessage& message : kMessages) {
    if (message.id == id) found = message.text;
  }
  return found != nullptr ? QString::fromUtf8(found) : QString();
}
