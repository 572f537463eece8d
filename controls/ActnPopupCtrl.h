#pragma once
// A popup menu that shows itself in the look of the form's action manager (standard or
// XP style, with or without shadows), so context menus match the menu bar. The items
// stay those of the ordinary popup menu; each showing builds a temporary menu of them.
#include "controls/ActnMan.h"
#include "controls/Menus.h"

#include <QPointer>

#include <memory>

class TCustomPopupActionBarEx : public TPopupMenu {
  Q_OBJECT

public:
  explicit TCustomPopupActionBarEx(QObject* owner = nullptr);
  ~TCustomPopupActionBarEx() override;

  // The manager whose style the menu takes; cleared when the manager is freed.
  TActionManager* ActionManager() const { return actionManager_; }
  void SetActionManager(TActionManager* manager) { actionManager_ = manager; }
  // Colours of the menu; the style's own when none (cleared when the map is freed).
  TCustomActionBarColorMap* ColorMap() const { return colorMap_; }
  void SetColorMap(TCustomActionBarColorMap* colorMap) { colorMap_ = colorMap; }
  bool Shadows() const { return shadows_; }
  void SetShadows(bool shadows) { shadows_ = shadows; }

  // The menu while it is showing, else null.
  TActionPopupMenu* ShowingPopup() const { return popup_; }

  // Shows the menu at the screen point and returns when it has closed; a call while
  // this menu is showing does nothing. Raises when the style gives no menu to show.
  void Popup(int x, int y) override;

private:
  std::unique_ptr<TActionManager> internalManager_;
  QPointer<TActionManager> actionManager_;
  QPointer<TCustomActionBarColorMap> colorMap_;
  bool shadows_ = true;
  TActionPopupMenu* popup_ = nullptr;
};

class TPopupActionBarEx : public TCustomPopupActionBarEx {
  Q_OBJECT

public:
  using TCustomPopupActionBarEx::TCustomPopupActionBarEx;
};
