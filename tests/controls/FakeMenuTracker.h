#pragma once
// Stands in for showing a popup menu: records what the menu holds and runs the test's
// choice while the menu is "up". It takes the real tracker's place for its lifetime.
#include "controls/Menus.h"

#include <QMenu>
#include <QStringList>
#include <functional>

class FakeMenuTracker : public MenuTracker {
public:
  FakeMenuTracker() = default;
  FakeMenuTracker(const FakeMenuTracker&) = delete;
  FakeMenuTracker& operator=(const FakeMenuTracker&) = delete;

  void Track(QMenu& menu, const QPoint& at) override {
    ++shown;
    position = at;
    entries = Entries(menu);
    if (choose) choose(menu);
  }

  // One line per entry: "-" for a separator, else the text, with " (off)" when
  // disabled, " (hidden)" when not visible, " >" for a sub-menu and the shortcut.
  static QStringList Entries(const QMenu& menu) {
    QStringList lines;
    for (QAction* action : menu.actions()) {
      QString line = action->isSeparator() ? QStringLiteral("-") : action->text();
      if (!action->shortcut().isEmpty()) line += QLatin1Char(' ') + action->shortcut().toString();
      if (action->menu() != nullptr) line += QStringLiteral(" >");
      if (!action->isEnabled()) line += QStringLiteral(" (off)");
      if (!action->isVisible()) line += QStringLiteral(" (hidden)");
      lines << line;
    }
    return lines;
  }

  // The entry with this text.
  static QAction* Find(const QMenu& menu, const QString& text) {
    for (QAction* action : menu.actions()) {
      if (action->text() == text) return action;
    }
    return nullptr;
  }

  std::function<void(QMenu&)> choose;
  int shown = 0;
  QPoint position;
  QStringList entries;

private:
  MenuTrackerScope scope_{*this};
};
