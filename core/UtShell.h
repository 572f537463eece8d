#pragma once
// Opening documents and addresses with their associated programs, and file-type icons.
#include <QIcon>
#include <QString>

// Opens a file or address with the program the desktop associates with it. Nothing
// happens for empty text; a failure beeps once. Never raises.
void OpenDocument(const QString& pathOrAddress);

// The icon for a file: an existing .ico file is its own icon; otherwise the icon of the
// file's type, or our own document icon. Either output may be null. False (and null
// icons) only when no icon could be had at all.
bool GetFileIcon(const QString& fileName, QIcon* largeIcon, QIcon* smallIcon);
