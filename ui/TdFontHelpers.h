#pragma once
// The font and colour dialogs as the options and print dialogs use them. They go
// through the desktop's dialogs (Desktop().ChooseFont, ChooseColor), whose font dialog
// also chooses the text colour.
#include "ui/TaskRowState.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <cstdint>

class QWidget;

// Runs the font dialog on a copy of the font and colour; on OK copies the result back
// (with the hourglass meanwhile). True when OK was pressed.
bool ExecuteFontDialog(QFont& font, QColor& color, QWidget* parent = nullptr);
// A font built from the values goes through the font dialog; on OK the values take the
// result. The colour is a stored colour value (0x00BBGGRR or a system colour).
bool EditFontAttributes(QString& name, int32_t& size, bool& bold, bool& italic, bool& underline, bool& strikeOut,
                        int32_t& color, QWidget* parent = nullptr);
// The same for a font group of the options.
bool EditFontOption(TFontOption& option, QWidget* parent = nullptr);
// The colour dialog, fully open; on OK the stored colour value takes the choice.
bool ExecuteColorDialog(int32_t& color, QWidget* parent = nullptr);

// The program's folder, without a trailing "/".
QString GetExeDir();
