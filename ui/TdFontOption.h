#pragma once
// The settings' fonts and colours as the widgets want them, the font and colour dialogs
// on them (through the desktop, so tests answer), and pictures out of an image list.
#include "core/TdOption.h"
#include "ui/TdComboFill.h"

#include <QColor>
#include <QFont>
#include <QIcon>

class QWidget;
class TLTImageList;

// The font a setting names, its family replaced by the one installed in its place.
QFont FontOfOption(const TFontOption& option);
// A stored colour (0x00BBGGRR or a system colour) as a colour to paint with.
QColor ColorOfOption(int32_t color);
int32_t OptionOfColor(const QColor& color);

// The font dialog, with effects and colour, on the setting; true (and the setting
// changed) on OK.
bool EditFontOption(TFontOption& option, const QString& caption, QWidget* parent);
// The colour dialog on the stored colour; true (and the colour changed) on OK.
bool EditColorOption(int32_t& color, const QString& caption, QWidget* parent);

// A small square in the colour, for the font and colour buttons.
QIcon ColorGlyph(const QColor& color);
