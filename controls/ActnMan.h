#pragma once
// The action manager's visual styles for menus: a registry of named styles, each of
// which makes the popup menus of its look, and the colour maps those menus take.
#include "controls/Component.h"

#include <QColor>
#include <QIcon>
#include <QList>
#include <QMenu>
#include <QPointer>

#include <memory>
#include <vector>

class TMenuItem;

// The colours of an action-bar menu.
class TCustomActionBarColorMap : public TComponent {
  Q_OBJECT

public:
  explicit TCustomActionBarColorMap(QObject* owner = nullptr) : TComponent(owner) {}

  QColor MenuColor;
  QColor FontColor;
  QColor SelectedColor;
  QColor SelectedFontColor;
  QColor DisabledFontColor;
  QColor FrameColor;
};

// The system's menu colours.
class TStandardColorMap : public TCustomActionBarColorMap {
  Q_OBJECT

public:
  explicit TStandardColorMap(QObject* owner = nullptr);
};

// A light menu with a pale blue selection.
class TXPColorMap : public TCustomActionBarColorMap {
  Q_OBJECT

public:
  explicit TXPColorMap(QObject* owner = nullptr);
};

// A popup menu of the action-bar family: shows the client items it is bound to in the
// colours of a colour map, with or without a drop shadow.
class TActionPopupMenu : public QMenu {
  Q_OBJECT

public:
  explicit TActionPopupMenu(QWidget* parent = nullptr) : QMenu(parent) {}

  // The items the menu shows; none until an action manager binds the menu.
  const TMenuItem* ActionClient() const { return actionClient_; }
  void SetActionClient(const TMenuItem* client) { actionClient_ = client; }
  bool Shadow() const { return shadow_; }
  void SetShadow(bool shadow);
  void SetColorMap(const TCustomActionBarColorMap& colors);

private:
  const TMenuItem* actionClient_ = nullptr;
  bool shadow_ = true;
};

class TActionBarStyle {
public:
  virtual ~TActionBarStyle() = default;
  virtual QString Name() const = 0;
  // A popup menu of this style; null when the style has none to offer.
  virtual std::unique_ptr<TActionPopupMenu> CreatePopupMenu() const = 0;
  // The colours menus of this style use when no colour map is given.
  virtual std::unique_ptr<TCustomActionBarColorMap> CreateColorMap() const = 0;
};

// The registered styles, in registration order: "Standard" first, then "XP Style".
const std::vector<TActionBarStyle*>& ActionBarStyles();
TActionBarStyle* FindActionBarStyle(const QString& name);
// A style registered by its owner stays until unregistered; the caller keeps ownership.
void RegisterActionBarStyle(TActionBarStyle* style);
void UnregisterActionBarStyle(TActionBarStyle* style);

// Holds the menu style of a form's menus and tool bars.
class TActionManager : public TComponent {
  Q_OBJECT

public:
  explicit TActionManager(QObject* owner = nullptr);

  // The first registered style unless one is set.
  TActionBarStyle* Style() const { return style_; }
  void SetStyle(TActionBarStyle* style) { style_ = style; }
  const QList<QIcon>& Images() const { return images_; }
  void SetImages(const QList<QIcon>& images) { images_ = images; }

  // Binds a popup to the items it is to show.
  void AddActionBar(TActionPopupMenu& popup, const TMenuItem& client) { popup.SetActionClient(&client); }

private:
  TActionBarStyle* style_;
  QList<QIcon> images_;
};
