#pragma once
// The desktop entry (freedesktop "Desktop Entry" format) that starts a program with the
// user's session, and reading the program back from one.
#include <QByteArray>
#include <QString>
#include <optional>

// Type=Application, Name=name, Exec=the program (quoted when it holds a character the
// Exec key reserves), X-GNOME-Autostart-enabled=true.
QByteArray AutostartEntryText(const QString& name, const QString& program);

// The program of an entry's Exec key, unquoted; nothing when the entry has none.
std::optional<QString> AutostartEntryProgram(const QByteArray& entry);
