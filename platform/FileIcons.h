#pragma once
// File types and their icons, from the freedesktop MIME database and the icon theme.
#include <QIcon>
#include <QMimeType>
#include <QString>

namespace FileIcons {

// The type of a file: by its name, and by its content when the file exists.
QMimeType MimeTypeForFile(const QString& fileName);

// The registered type of a file name extension (".txt" or "txt"): its name
// ("text/plain") and its description ("plain text document"); empty when the extension
// is unknown.
QString MimeTypeNameForExtension(const QString& extension);
QString MimeTypeCommentForExtension(const QString& extension);

// The icon theme's icon for the file's type, or its generic group; null when the theme
// has neither.
QIcon ThemeIconForFile(const QString& fileName);

// An icon file (.ico, .png, ...) as an icon; null when it cannot be read.
QIcon IconFromIconFile(const QString& fileName);

// Our own document icon for when the theme has none; null only without a GUI application.
QIcon FallbackFileIcon();

}  // namespace FileIcons
