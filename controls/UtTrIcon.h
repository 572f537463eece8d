#pragma once
// The program's icon in the desktop's notification area: mouse actions on it become
// events and a popup menu, and the owner window can go to the tray instead of closing
// or minimising. One per program. Where the desktop has no notification area the icon
// reads as inactive and the owner behaves as with the tray options off.
#include "controls/ShBase.h"
#include "controls/TrayHost.h"

#include <QIcon>
#include <QList>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class QTimer;
class TPopupMenu;

class TUtCustomTrayIcon : public TShShellComponent, private TrayListener {
  Q_OBJECT

public:
  // The owner is the window that goes to the tray. Raises EShTrayIconError when the
  // program has a tray icon already.
  explicit TUtCustomTrayIcon(QWidget* owner);
  ~TUtCustomTrayIcon() override;

  // Shown in the notification area. Reads false where the desktop has none.
  bool Active() const;
  void SetActive(bool active);
  bool Animate() const { return animate_; }
  void SetAnimate(bool animate);
  bool CloseToTray() const { return closeToTray_; }
  void SetCloseToTray(bool on) { closeToTray_ = on; }
  bool MinimizeToTray() const { return minimizeToTray_; }
  void SetMinimizeToTray(bool on) { minimizeToTray_ = on; }
  bool HideOnRestore() const { return hideOnRestore_; }
  void SetHideOnRestore(bool on) { hideOnRestore_ = on; }
  QString Hint() const { return hint_; }
  void SetHint(const QString& hint);
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool showHint);
  QIcon Icon() const { return icon_; }
  void SetIcon(const QIcon& icon);
  // Frames of the animation, and the icon's source when Icon is empty.
  const QList<QIcon>& Images() const { return images_; }
  void SetImages(const QList<QIcon>& images);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int index);
  // Milliseconds between animation frames; 0 or less means 200, so a timer never spins.
  int Interval() const { return interval_; }
  void SetInterval(int interval);
  // The menu of a right click; the built-in "&Close" / "&Restore" menu at first.
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* menu) { popupMenu_ = menu; }
  TPopupMenu* BuiltInMenu() const { return builtInMenu_.get(); }

  // Whether the icon is in the notification area now, and whether its frames turn.
  bool Shown() const { return shown_; }
  bool Animating() const;
  // The icon as the notification area gets it (the tip cut to 63 characters).
  TrayIconData IconData() const;

  // Brings the owner back from the tray (or from the task bar), normal and in front.
  void Restore();
  // Closes the owner as the program's own close: it is not taken to the tray. The
  // toolkit gives a program's close of a window the same close event as the user's
  // close button, so the program closes its window through here while the icon may take
  // the user's closes (a quit of the program closes every window anyway).
  void CloseOwner();
  // One step of the animation: the next frame of Images is shown.
  void AnimationTick();

  std::function<void(TUtCustomTrayIcon& sender, Qt::MouseButton button, Qt::KeyboardModifiers shift)> OnClick;
  std::function<void(TUtCustomTrayIcon& sender, Qt::MouseButton button, Qt::KeyboardModifiers shift,
                     bool& restoreApp)>
      OnDblClick;
  std::function<void(TUtCustomTrayIcon& sender)> OnMinimize;
  std::function<void(TUtCustomTrayIcon& sender)> OnRestore;

protected:
  void Loaded() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void TrayNotify(TrayMouse action, Qt::KeyboardModifiers shift) override;
  void DoubleClick(Qt::MouseButton button, Qt::KeyboardModifiers shift);
  void AddIcon();
  void RemoveIcon();
  void ModifyIcon();
  void HideOwnerToTray();
  QIcon ImageAt(int index) const;
  // The icon at rest: Icon, else the current image of Images.
  void ShowRestingIcon();
  void StartAnimation();

  QPointer<QWidget> owner_;
  bool active_ = true;
  bool animate_ = false;
  bool closeToTray_ = true;
  bool minimizeToTray_ = false;
  bool hideOnRestore_ = false;
  QString hint_;
  bool showHint_ = true;
  QIcon icon_;
  QIcon shownIcon_;
  QList<QIcon> images_;
  int imageIndex_ = 0;
  int interval_ = 250;
  QPointer<TPopupMenu> popupMenu_;
  std::unique_ptr<TPopupMenu> builtInMenu_;
  std::unique_ptr<QTimer> animationTimer_;
  int frame_ = 0;
  bool shown_ = false;
  bool watchingOwner_ = false;
  // Hiding a window that starts minimised: counts up to 2, then the start is over.
  int startPhase_ = 0;
  // A close the tray lets through: the program's own, or any once the program quits.
  bool closingByProgram_ = false;
  bool ownerMinimised_ = false;
  bool quitting_ = false;
  // Hears of the program's quit request, which comes to the application object.
  class QuitWatch : public QObject {
  public:
    explicit QuitWatch(bool& quitting) : quitting_(quitting) {}
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool& quitting_;
  };
  std::unique_ptr<QuitWatch> quitWatch_;
};

class TUtTrayIcon : public TUtCustomTrayIcon {
  Q_OBJECT

public:
  using TUtCustomTrayIcon::TUtCustomTrayIcon;
};
