#include "ui/TdFontOption.h"

#include "controls/FmFonts.h"
#include "platform/Desktop.h"
#include "treeview/LazyTreeDrawing.h"
#include "treeview/LazyTreeImageList.h"

#include <QPainter>
#include <QPixmap>

QFont FontOfOption(const TFontOption& option) {
  QFont font(InstalledFamily(option.Name));
  font.setPointSize(option.Size > 0 ? option.Size : 8);
  font.setBold(option.Bold);
  font.setItalic(option.Italic);
  font.setUnderline(option.Underline);
  font.setStrikeOut(option.StrikeOut);
  return font;
}

QColor ColorOfOption(int32_t color) { return QColor::fromRgba(ColorToRGBA(color)); }

int32_t OptionOfColor(const QColor& color) { return ColorToCode(color); }

bool EditFontOption(TFontOption& option, const QString& caption, QWidget* parent) {
  QFont font = FontOfOption(option);
  // A font stored under a name this machine lacks keeps that name unless the user picks
  // another family.
  const QString shownFamily = font.family();
  QColor color = ColorOfOption(option.Color);
  if (!Desktop().ChooseFont(font, color, caption, parent)) return false;
  if (font.family() != shownFamily) option.Name = font.family();
  option.Size = font.pointSize() > 0 ? font.pointSize() : option.Size;
  option.Bold = font.bold();
  option.Italic = font.italic();
  option.Underline = font.underline();
  option.StrikeOut = font.strikeOut();
  option.Color = OptionOfColor(color);
  return true;
}

bool EditColorOption(int32_t& color, const QString& caption, QWidget* parent) {
  QColor chosen = ColorOfOption(color);
  if (!Desktop().ChooseColor(chosen, caption, parent)) return false;
  color = OptionOfColor(chosen);
  return true;
}

QIcon ColorGlyph(const QColor& color) {
  QPixmap pixmap(12, 12);
  pixmap.fill(color);
  QPainter painter(&pixmap);
  painter.setPen(Qt::black);
  painter.drawRect(0, 0, 11, 11);
  return QIcon(pixmap);
}

