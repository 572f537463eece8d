#include "controls/ActnMan.h"

#include <QApplication>
#include <QPalette>

#include <algorithm>

TStandardColorMap::TStandardColorMap(QObject* owner) : TCustomActionBarColorMap(owner) {
  const QPalette palette = QApplication::palette();
  MenuColor = palette.color(QPalette::Window);
  FontColor = palette.color(QPalette::WindowText);
  SelectedColor = palette.color(QPalette::Highlight);
  SelectedFontColor = palette.color(QPalette::HighlightedText);
  DisabledFontColor = palette.color(QPalette::Disabled, QPalette::WindowText);
  FrameColor = palette.color(QPalette::Dark);
}

TXPColorMap::TXPColorMap(QObject* owner) : TCustomActionBarColorMap(owner) {
  MenuColor = QColor(0xf9, 0xf8, 0xf7);
  FontColor = Qt::black;
  SelectedColor = QColor(0xb6, 0xbd, 0xd2);
  SelectedFontColor = Qt::black;
  DisabledFontColor = QColor(0xa8, 0xa7, 0xa6);
  FrameColor = QColor(0x0a, 0x24, 0x6a);
}

void TActionPopupMenu::SetShadow(bool shadow) {
  shadow_ = shadow;
  setWindowFlag(Qt::NoDropShadowWindowHint, !shadow);
}

void TActionPopupMenu::SetColorMap(const TCustomActionBarColorMap& colors) {
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, colors.MenuColor);
  palette.setColor(QPalette::Base, colors.MenuColor);
  palette.setColor(QPalette::WindowText, colors.FontColor);
  palette.setColor(QPalette::ButtonText, colors.FontColor);
  palette.setColor(QPalette::Text, colors.FontColor);
  palette.setColor(QPalette::Highlight, colors.SelectedColor);
  palette.setColor(QPalette::HighlightedText, colors.SelectedFontColor);
  palette.setColor(QPalette::Disabled, QPalette::WindowText, colors.DisabledFontColor);
  palette.setColor(QPalette::Disabled, QPalette::Text, colors.DisabledFontColor);
  palette.setColor(QPalette::Disabled, QPalette::ButtonText, colors.DisabledFontColor);
  palette.setColor(QPalette::Dark, colors.FrameColor);
  setPalette(palette);
}

namespace {

template <typename ColorMap>
class BuiltInStyle final : public TActionBarStyle {
public:
  explicit BuiltInStyle(QString name) : name_(std::move(name)) {}
  QString Name() const override { return name_; }
  std::unique_ptr<TActionPopupMenu> CreatePopupMenu() const override {
    return std::make_unique<TActionPopupMenu>();
  }
  std::unique_ptr<TCustomActionBarColorMap> CreateColorMap() const override {
    return std::make_unique<ColorMap>();
  }

private:
  QString name_;
};

std::vector<TActionBarStyle*>& Registry() {
  static BuiltInStyle<TStandardColorMap> standard(QStringLiteral("Standard"));
  static BuiltInStyle<TXPColorMap> xp(QStringLiteral("XP Style"));
  static std::vector<TActionBarStyle*> styles{&standard, &xp};
  return styles;
}

}  // namespace

const std::vector<TActionBarStyle*>& ActionBarStyles() { return Registry(); }

TActionBarStyle* FindActionBarStyle(const QString& name) {
  for (TActionBarStyle* style : Registry()) {
    if (style->Name().compare(name, Qt::CaseInsensitive) == 0) return style;
  }
  return nullptr;
}

void RegisterActionBarStyle(TActionBarStyle* style) {
  if (style != nullptr && std::find(Registry().begin(), Registry().end(), style) == Registry().end()) {
    Registry().push_back(style);
  }
}

void UnregisterActionBarStyle(TActionBarStyle* style) {
  auto& styles = Registry();
  styles.erase(std::remove(styles.begin(), styles.end(), style), styles.end());
}

TActionManager::TActionManager(QObject* owner)
    : TComponent(owner), style_(ActionBarStyles().empty() ? nullptr : ActionBarStyles().front()) {}
