#include "controls/Menus.h"

#include "controls/ReplaceableService.h"
#include "platform/ApplicationError.h"

#include <QMenu>

TMenuItem::TMenuItem(QString caption, QObject* parent) : QObject(parent), caption_(std::move(caption)) {}

TMenuItem::~TMenuItem() = default;

TMenuItem* TMenuItem::Add(const QString& caption) {
  items_.push_back(std::make_unique<TMenuItem>(caption));
  return items_.back().get();
}

TMenuItem* TMenuItem::AddAction(QAction* action) {
  TMenuItem* item = Add(action != nullptr ? action->text() : QString());
  item->SetAction(action);
  return item;
}

void TMenuItem::Click() {
  if (OnClick) OnClick(*this);
}

namespace {

QIcon ImageAt(const QList<QIcon>& images, int index) {
  return index >= 0 && index < images.size() ? images.at(index) : QIcon();
}

}  // namespace

TMenuAction::TMenuAction(TMenuItem& item, const QList<QIcon>& images, QObject* owner)
    : QAction(owner), item_(&item), tag_(item.Tag()), imageIndex_(item.ImageIndex()) {
  setText(item.Caption());
  setIcon(ImageAt(images, item.ImageIndex()));
  setShortcut(item.ShortCut());
  setVisible(item.Visible());
  setEnabled(item.Enabled());
  setCheckable(item.Checked());
  setChecked(item.Checked());
  connect(this, &QAction::triggered, this, [this] { Execute(); });
}

bool TMenuAction::Execute() {
  if (item_ == nullptr) return false;
  // Reached from the action's signal: the item's error is shown here and goes no further.
  return RunGuarded([this] { item_->Click(); });
}

namespace {

class ModalMenuTracker final : public MenuTracker {
public:
  void Track(QMenu& menu, const QPoint& at) override { menu.exec(at); }
};

// An entry that shows an item's action in this one menu: the item's own visibility
// applies here without hiding the action in the menu bar and tool bar that share it.
QAction* ActionEntry(QMenu& menu, const TMenuItem& item, QAction& action) {
  auto* entry = new QAction(action.icon(), action.text(), &menu);
  entry->setShortcut(action.shortcut());
  entry->setEnabled(action.isEnabled());
  entry->setCheckable(action.isCheckable());
  entry->setChecked(action.isChecked());
  entry->setVisible(item.Visible() && action.isVisible());
  QObject::connect(entry, &QAction::triggered, &action, [target = QPointer<QAction>(&action)] {
    if (target != nullptr) target->trigger();
  });
  return entry;
}

void AddSubMenu(QMenu& menu, TMenuItem& item, const QList<QIcon>& images) {
  auto* subMenu = new QMenu(item.Caption(), &menu);
  subMenu->setIcon(ImageAt(images, item.ImageIndex()));
  subMenu->menuAction()->setEnabled(item.Enabled());
  QObject::connect(subMenu, &QMenu::aboutToShow, subMenu,
                   [subMenu, source = QPointer<TMenuItem>(&item), images] {
                     if (source == nullptr || !subMenu->actions().isEmpty()) return;
                     RunGuarded([&] {
                       source->Click();
                       if (source == nullptr) return;
                       subMenu->clear();
                       BuildMenuEntries(*subMenu, *source, images);
                     });
                   });
  menu.addMenu(subMenu);
}

}  // namespace

MenuTracker& MenuTracking() {
  static ModalMenuTracker modal;
  return ReplaceableService<MenuTracker>::Current(modal);
}

void BuildMenuEntries(QMenu& menu, const TMenuItem& parent, const QList<QIcon>& images) {
  for (int i = 0; i < parent.Count(); ++i) {
    TMenuItem& item = *parent.Items(i);
    if (item.IsLine()) {
      menu.addSeparator()->setVisible(item.Visible());
    } else if (item.Count() > 0 && item.Visible()) {
      AddSubMenu(menu, item, images);
    } else if (QAction* action = item.Action()) {
      menu.addAction(ActionEntry(menu, item, *action));
    } else {
      menu.addAction(new TMenuAction(item, images, &menu));
    }
  }
}

TPopupMenu::TPopupMenu(QObject* owner) : TComponent(owner), items_(std::make_unique<TMenuItem>()) {}

TPopupMenu::~TPopupMenu() = default;

void TPopupMenu::DoPopup() {
  if (OnPopup) OnPopup(*this);
}

void TPopupMenu::Popup(int x, int y) {
  DoPopup();
  QMenu menu;
  BuildMenuEntries(menu, *items_, images_);
  MenuTracking().Track(menu, QPoint(x, y));
}
