#include "ui/TdColors.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

// The system colour numbers the settings may hold, by the palette role that stands in.
QColor SystemColor(int index) {
  const QPalette palette = QGuiApplication::palette();
  switch (index) {
    case 1: return palette.color(QPalette::Window);           // desktop
    case 2: case 3: return palette.color(QPalette::Highlight);     // captions
    case 4: return palette.color(QPalette::Window);           // menu
    case 5: return palette.color(QPalette::Base);             // window
    case 6: return palette.color(QPalette::Shadow);           // window frame
    case 7: return palette.color(QPalette::WindowText);       // menu text
    case 8: return palette.color(QPalette::Text);             // window text
    case 9: return palette.color(QPalette::HighlightedText);  // caption text
    case 13: return palette.color(QPalette::Highlight);
    case 14: return palette.color(QPalette::HighlightedText);
    case 15: return palette.color(QPalette::Button);
    case 16: return palette.color(QPalette::Dark);
    case 17: return palette.color(QPalette::PlaceholderText);  // grey text
    case 18: return palette.color(QPalette::ButtonText);
    case 20: return palette.color(QPalette::Light);
    case 21: return palette.color(QPalette::Shadow);
    case 22: return palette.color(QPalette::Midlight);
    case 23: return palette.color(QPalette::ToolTipText);
    case 24: return palette.color(QPalette::ToolTipBase);
    default: return palette.color(QPalette::Window);
  }
}

}  // namespace

QColor ColorFromCode(int32_t code) {
  const auto value = static_cast<uint32_t>(code);
  if ((value & 0xFF000000u) == 0xFF000000u) return SystemColor(static_cast<int>(value & 0xFFu));
  return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>((value >> 16) & 0xFF));
}

int32_t CodeFromColor(const QColor& color) {
  return static_cast<int32_t>(static_cast<uint32_t>(color.red()) | (static_cast<uint32_t>(color.green()) << 8) |
                              (static_cast<uint32_t>(color.blue()) << 16));
}
