#pragma once
// The popup menu component and its items: a tree of items, each shown through an action
// of its own or through its OnClick. A popup builds a QMenu from the items for one
// showing, so the menu always shows the items as they are at that moment.
#include "controls/ReplaceableService.h"
#include "controls/Component.h"

#include <QAction>
#include <QIcon>
#include <QKeySequence>
#include <QList>
#include <QPoint>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QMenu;

class TMenuItem : public QObject {
  Q_OBJECT

public:
  explicit TMenuItem(QString caption = QString(), QObject* parent = nullptr);
  ~TMenuItem() override;

  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption) { caption_ = caption; }
  // An item with an action shows and runs through it (caption, image, enabled state and
  // shortcut come from the action).
  QAction* Action() const { return action_; }
  void SetAction(QAction* action) { action_ = action; }
  bool Visible() const { return visible_; }
  void SetVisible(bool visible) { visible_ = visible; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  bool Checked() const { return checked_; }
  void SetChecked(bool checked) { checked_ = checked; }
  QKeySequence ShortCut() const { return shortCut_; }
  void SetShortCut(const QKeySequence& shortCut) { shortCut_ = shortCut; }
  int HelpContext() const { return helpContext_; }
  void SetHelpContext(int helpContext) { helpContext_ = helpContext; }
  // Index into the menu's Images; -1 for none.
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int imageIndex) { imageIndex_ = imageIndex; }
  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }
  bool IsLine() const { return caption_ == QLatin1String("-"); }

  // Sub-items, owned by the item.
  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int index) const { return items_.at(static_cast<size_t>(index)).get(); }
  TMenuItem* Add(const QString& caption);
  TMenuItem* AddAction(QAction* action);
  void Clear() { items_.clear(); }

  // Fires OnClick with the item as sender.
  void Click();
  std::function<void(TMenuItem& sender)> OnClick;

private:
  QString caption_;
  QPointer<QAction> action_;
  bool visible_ = true;
  bool enabled_ = true;
  bool checked_ = false;
  QKeySequence shortCut_;
  int helpContext_ = 0;
  int imageIndex_ = -1;
  int tag_ = 0;
  std::vector<std::unique_ptr<TMenuItem>> items_;
};

// Stands for one menu item that has no action of its own: executing it runs the item's
// OnClick. It copies the item's state when made, for the one showing it belongs to.
class TMenuAction : public QAction {
  Q_OBJECT

public:
  TMenuAction(TMenuItem& item, const QList<QIcon>& images, QObject* owner);

  TMenuItem* MenuItem() const { return item_; }
  int Tag() const { return tag_; }
  int ImageIndex() const { return imageIndex_; }
  // Runs the item's OnClick; true when it ran through. An item that is gone does nothing
  // and gives false; an error of OnClick is shown in the "Application Error" box and
  // gives false, since the action's signal must not carry it.
  bool Execute();

private:
  QPointer<TMenuItem> item_;
  int tag_;
  int imageIndex_;
};

// Where a popup is shown and tracked until it closes. The real one runs the menu modally
// at the point; tests put one in its place that looks at the menu and picks from it.
class MenuTracker {
public:
  virtual ~MenuTracker() = default;
  virtual void Track(QMenu& menu, const QPoint& at) = 0;
};

MenuTracker& MenuTracking();
// Puts a tracker in place of the real one for its lifetime (tests).
using MenuTrackerScope = ReplaceableService<MenuTracker>::Scope;

// Fills `menu` with entries for the sub-items of `parent`: separators for "-", sub-menus
// that are filled when they open (after the parent item's OnClick, so code can fill the
// sub-items just in time), the item's action, or a TMenuAction that runs OnClick.
void BuildMenuEntries(QMenu& menu, const TMenuItem& parent, const QList<QIcon>& images);

class TPopupMenu : public TComponent {
  Q_OBJECT

public:
  explicit TPopupMenu(QObject* owner = nullptr);
  ~TPopupMenu() override;

  TMenuItem& Items() { return *items_; }
  const QList<QIcon>& Images() const { return images_; }
  void SetImages(const QList<QIcon>& images) { images_ = images; }
  bool AutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool autoPopup) { autoPopup_ = autoPopup; }
  // The object the menu was last shown for.
  QObject* PopupComponent() const { return popupComponent_; }
  void SetPopupComponent(QObject* component) { popupComponent_ = component; }

  // Shows the menu at the screen point and returns when it has closed.
  virtual void Popup(int x, int y);

  std::function<void(TPopupMenu& sender)> OnPopup;

protected:
  void DoPopup();

private:
  std::unique_ptr<TMenuItem> items_;
  QList<QIcon> images_;
  bool autoPopup_ = true;
  QPointer<QObject> popupComponent_;
};
