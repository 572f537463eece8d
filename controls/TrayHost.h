#pragma once
// The desktop's notification area, as the tray icon sees it: add, change and remove one
// icon, and hear of mouse actions on it. The real one stands on QSystemTrayIcon; tests
// put a fake in its place.
#include "controls/ReplaceableService.h"

#include <QIcon>
#include <QString>
#include <Qt>

// Mouse actions on the icon, as the notification area reports them.
enum class TrayMouse { LeftDown, LeftUp, LeftDouble, RightDown, RightUp, RightDouble, MiddleDown, MiddleUp, MiddleDouble };

// What the notification area shows.
struct TrayIconData {
  QIcon icon;
  QString tip;  // at most 63 characters
  bool showTip = true;
};

class TrayListener {
public:
  virtual ~TrayListener() = default;
  virtual void TrayNotify(TrayMouse action, Qt::KeyboardModifiers shift) = 0;
};

class TrayHost {
public:
  virtual ~TrayHost() = default;
  // False where the desktop has no notification area.
  virtual bool Available() = 0;
  // Shows the icon; mouse actions on it go to the listener until it is deleted.
  // False when the icon could not be added.
  virtual bool Add(const TrayIconData& data, TrayListener& listener) = 0;
  virtual bool Modify(const TrayIconData& data) = 0;
  virtual void Delete() = 0;
};

TrayHost& NotificationArea();
// Puts a host in place of the real notification area for its lifetime (tests).
using NotificationAreaScope = ReplaceableService<TrayHost>::Scope;
