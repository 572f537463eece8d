#include "ui/TdFontHelpers.h"

#include "platform/Desktop.h"
#include "treeview/LazyTreeDrawing.h"

#include <QCoreApplication>

bool ExecuteFontDialog(QFont& font, QColor& color, QWidget* parent) {
  QFont chosenFont = font;
  QColor chosenColor = color;
  if (!Desktop().ChooseFont(chosenFont, chosenColor, QStringLiteral("Font"), parent)) return false;
  ScopedWaitCursor wait;
  font = chosenFont;
  color = chosenColor;
  return true;
}

bool EditFontAttributes(QString& name, int32_t& size, bool& bold, bool& italic, bool& underline, bool& strikeOut,
                        int32_t& color, QWidget* parent) {
  QFont font;
  ApplyFontAttributes(font, name, size, bold, italic, underline, strikeOut);
  QColor colour = ColorFromCode(color);
  if (!ExecuteFontDialog(font, colour, parent)) return false;
  name = font.family();
  size = font.pointSize() > 0 ? font.pointSize() : size;
  bold = font.bold();
  italic = font.italic();
  underline = font.underline();
  strikeOut = font.strikeOut();
  color = ColorToCode(colour);
  return true;
}

bool EditFontOption(TFontOption& o, QWidget* parent) {
  return EditFontAttributes(o.Name, o.Size, o.Bold, o.Italic, o.Underline, o.StrikeOut, o.Color, parent);
}

bool ExecuteColorDialog(int32_t& color, QWidget* parent) {
  QColor colour = ColorFromCode(color);
  if (!Desktop().ChooseColor(colour, QStringLiteral("Color"), parent)) return false;
  color = ColorToCode(colour);
  return true;
}

QString GetExeDir() { return QCoreApplication::applicationDirPath(); }
