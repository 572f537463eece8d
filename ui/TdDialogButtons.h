#pragma once
// The button rows and columns the small dialogs share, so they line up alike and every
// click runs behind the one error guard.
#include <QString>

#include <functional>
#include <initializer_list>

class QBoxLayout;
class QDialog;
class QPushButton;
class QWidget;

// A push button that never takes Return from the dialog, at least the designed width.
QPushButton* DialogButton(const QString& text, const char* objectName, QWidget* parent);

// The list dialogs' column at the right: the commands from the top (below `topSpacing`, so
// the first lines up with the list rather than its caption), then Close and Help at the
// bottom.
QBoxLayout* CommandColumn(int topSpacing, std::initializer_list<QPushButton*> commands, QPushButton* close,
                          QPushButton* help);

// The settings dialogs' row at the bottom: OK (the default, accepting), a command of the
// dialog's own (`command` runs guarded), Cancel (rejecting) and Help (`help` runs guarded).
QBoxLayout* OkCommandCancelHelpRow(QDialog& dialog, const QString& commandText, const char* commandName,
                                   std::function<void()> command, std::function<void()> help);
