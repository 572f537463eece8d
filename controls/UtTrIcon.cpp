#include "controls/UtTrIcon.h"

#include "controls/Menus.h"
#include "controls/ShConst.h"
#include "platform/Application.h"
#include "platform/Desktop.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QStyle>
#include <QTimer>

namespace {

// The notification area shows at most this much of the tip.
constexpr int kLongestTip = 63;
constexpr int kFallbackInterval = 200;

TUtCustomTrayIcon* theTrayIcon = nullptr;

QString CutTip(const QString& hint) {
  if (hint.size() <= kLongestTip) return hint;
  // A character outside the basic plane is kept whole or left out, never halved.
  const int length = hint.at(kLongestTip - 1).isHighSurrogate() ? kLongestTip - 1 : kLongestTip;
  return hint.left(length);
}

}  // namespace

TUtCustomTrayIcon::TUtCustomTrayIcon(QWidget* owner) : TShShellComponent(owner), owner_(owner) {
  if (theTrayIcon != nullptr) throw EShTrayIconError(ShMsg::OneTrayIconOnly);
  theTrayIcon = this;
  builtInMenu_ = std::make_unique<TPopupMenu>();
  TMenuItem* close = builtInMenu_->Items().Add(ShellMessageText(ShMsg::TrayClose));
  close->OnClick = [](TMenuItem&) {
    // Ends the message loop the way a quit request from the session does.
    QCoreApplication::postEvent(QCoreApplication::instance(), new QEvent(QEvent::Quit));
  };
  TMenuItem* restore = builtInMenu_->Items().Add(ShellMessageText(ShMsg::TrayRestore));
  restore->OnClick = [this](TMenuItem&) { Restore(); };
  popupMenu_ = builtInMenu_.get();
  // Windows closed on the way out of the program must close.
  quitWatch_ = std::make_unique<QuitWatch>(quitting_);
  QCoreApplication::instance()->installEventFilter(quitWatch_.get());
}

bool TUtCustomTrayIcon::QuitWatch::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Quit && watched == QCoreApplication::instance()) quitting_ = true;
  return false;
}

TUtCustomTrayIcon::~TUtCustomTrayIcon() {
  RemoveIcon();
  if (watchingOwner_ && owner_ != nullptr) owner_->removeEventFilter(this);
  theTrayIcon = nullptr;
}

bool TUtCustomTrayIcon::Active() const { return active_ && NotificationArea().Available(); }

void TUtCustomTrayIcon::SetActive(bool active) {
  active_ = active;
  if (Loading()) return;
  if (active) {
    AddIcon();
    if (animate_) StartAnimation();
  } else {
    if (animationTimer_ != nullptr) animationTimer_->stop();
    RemoveIcon();
  }
}

void TUtCustomTrayIcon::Loaded() {
  TShShellComponent::Loaded();
  if (active_) AddIcon();
  if (!icon_.isNull()) {
    SetIcon(icon_);
  } else if (!images_.isEmpty()) {
    SetImages(images_);
  }
  if (animate_ && Active()) StartAnimation();
}

TrayIconData TUtCustomTrayIcon::IconData() const {
  TrayIconData data;
  data.icon = !shownIcon_.isNull()                  ? shownIcon_
              : !QApplication::windowIcon().isNull() ? QApplication::windowIcon()
                                                     : QApplication::style()->standardIcon(QStyle::SP_ComputerIcon);
  data.showTip = showHint_;
  data.tip = CutTip(hint_);
  return data;
}

void TUtCustomTrayIcon::AddIcon() {
  if (shown_ || !Active()) return;
  if (!watchingOwner_ && owner_ != nullptr) {
    owner_->installEventFilter(this);
    watchingOwner_ = true;
    ownerMinimised_ = owner_->isMinimized();
  }
  shown_ = NotificationArea().Add(IconData(), *this);
  if (!shown_) throw EShTrayIconError(ShMsg::ErrorAddingTrayIcon);
}

void TUtCustomTrayIcon::RemoveIcon() {
  if (!shown_) return;
  NotificationArea().Delete();
  shown_ = false;
}

void TUtCustomTrayIcon::ModifyIcon() {
  // Only an icon that is in the notification area can change there; one set up in code
  // before it is shown goes there with its final look when it is added.
  if (!shown_) return;
  if (!NotificationArea().Modify(IconData())) throw EShTrayIconError(ShMsg::TrayIconError);
}

void TUtCustomTrayIcon::SetHint(const QString& hint) {
  const bool changed = hint != hint_;
  hint_ = hint;
  if (changed && showHint_) ModifyIcon();
}

void TUtCustomTrayIcon::SetShowHint(bool showHint) {
  showHint_ = showHint;
  ModifyIcon();
}

void TUtCustomTrayIcon::SetIcon(const QIcon& icon) {
  icon_ = icon;
  shownIcon_ = icon;
  ModifyIcon();
}

QIcon TUtCustomTrayIcon::ImageAt(int index) const {
  return index >= 0 && index < images_.size() ? images_.at(index) : QIcon();
}

void TUtCustomTrayIcon::SetImages(const QList<QIcon>& images) {
  images_ = images;
  if (Loading() || !icon_.isNull()) return;
  shownIcon_ = ImageAt(imageIndex_);
  ModifyIcon();
}

void TUtCustomTrayIcon::SetImageIndex(int index) {
  imageIndex_ = index;
  if (!shown_) return;
  if (images_.isEmpty()) throw EShTrayIconError(ShMsg::ImageListNotAssigned);
  shownIcon_ = ImageAt(index);
  ModifyIcon();
}

void TUtCustomTrayIcon::SetInterval(int interval) {
  interval_ = interval > 0 ? interval : kFallbackInterval;
  if (animationTimer_ != nullptr) animationTimer_->setInterval(interval_);
}

void TUtCustomTrayIcon::SetAnimate(bool animate) {
  if (animate == animate_) return;
  animate_ = animate;
  if (Loading() || !Active()) return;
  if (animate) {
    StartAnimation();
  } else {
    if (animationTimer_ != nullptr) animationTimer_->stop();
    ShowRestingIcon();
  }
}

bool TUtCustomTrayIcon::Animating() const { return animationTimer_ != nullptr && animationTimer_->isActive(); }

void TUtCustomTrayIcon::StartAnimation() {
  if (animationTimer_ == nullptr) {
    animationTimer_ = std::make_unique<QTimer>();
    connect(animationTimer_.get(), &QTimer::timeout, this, [this] { RunGuarded([this] { AnimationTick(); }); });
  }
  animationTimer_->setInterval(interval_);
  animationTimer_->start();
}

void TUtCustomTrayIcon::ShowRestingIcon() {
  shownIcon_ = !icon_.isNull() ? icon_ : ImageAt(imageIndex_);
  ModifyIcon();
}

void TUtCustomTrayIcon::AnimationTick() {
  if (images_.isEmpty() || !shown_) return;
  if (frame_ >= images_.size()) frame_ = 0;
  shownIcon_ = images_.at(frame_);
  ModifyIcon();
  frame_ = (frame_ + 1) % images_.size();
}

void TUtCustomTrayIcon::TrayNotify(TrayMouse action, Qt::KeyboardModifiers shift) {
  RunGuarded([&] {
    switch (action) {
      case TrayMouse::LeftDown:
        if (OnClick) OnClick(*this, Qt::LeftButton, shift);
        break;
      case TrayMouse::MiddleDown:
        if (OnClick) OnClick(*this, Qt::MiddleButton, shift);
        break;
      case TrayMouse::LeftDouble: DoubleClick(Qt::LeftButton, shift); break;
      case TrayMouse::RightDouble: DoubleClick(Qt::RightButton, shift); break;
      case TrayMouse::MiddleDouble: DoubleClick(Qt::MiddleButton, shift); break;
      case TrayMouse::RightDown:
        if (popupMenu_ != nullptr) {
          popupMenu_->SetAutoPopup(false);
          popupMenu_->SetPopupComponent(owner_);
          const QPoint at = QCursor::pos();
          popupMenu_->Popup(at.x(), at.y());
        }
        break;
      case TrayMouse::LeftUp:
      case TrayMouse::RightUp:
      case TrayMouse::MiddleUp: break;
    }
  });
}

void TUtCustomTrayIcon::DoubleClick(Qt::MouseButton button, Qt::KeyboardModifiers shift) {
  bool restoreApp = true;
  if (OnDblClick) OnDblClick(*this, button, shift, restoreApp);
  if (restoreApp) Restore();
}

void TUtCustomTrayIcon::Restore() {
  if (OnRestore) OnRestore(*this);
  if (owner_ != nullptr) {
    // The first restore ends the start phase, so a window that started minimised comes
    // back in its normal state.
    startPhase_ = 2;
    if (owner_->isMinimized()) owner_->setWindowState(owner_->windowState() & ~Qt::WindowMinimized);
    owner_->show();
    Desktop().BringToFront(owner_);
  }
  if (hideOnRestore_) RemoveIcon();
}

void TUtCustomTrayIcon::HideOwnerToTray() {
  AddIcon();
  owner_->hide();
}

void TUtCustomTrayIcon::CloseOwner() {
  if (owner_ == nullptr) return;
  closingByProgram_ = true;
  owner_->close();
  closingByProgram_ = false;
}

bool TUtCustomTrayIcon::eventFilter(QObject* watched, QEvent* event) {
  if (watched != owner_ || owner_ == nullptr) return false;
  const auto handle = [&]() -> bool {
    switch (event->type()) {
      case QEvent::Show:
        // A window that starts minimised leaves only the tray icon. It is hidden once
        // its showing has finished; hiding it from inside the show would be undone.
        if (startPhase_ < 2) {
          if (owner_->isMinimized()) {
            ++startPhase_;
            QMetaObject::invokeMethod(
                this, [this] { if (owner_ != nullptr && owner_->isMinimized()) owner_->hide(); },
                Qt::QueuedConnection);
          } else {
            startPhase_ = 2;
          }
        }
        break;
      case QEvent::WindowStateChange: {
        // The toolkit may report one change more than once: only the step into the
        // minimised state counts.
        const bool minimised = owner_->isMinimized();
        const bool wasMinimised = ownerMinimised_;
        ownerMinimised_ = minimised;
        if (!minimised && owner_->isVisible()) startPhase_ = 2;
        if (minimised && !wasMinimised && owner_->isVisible()) {
          if (OnMinimize) OnMinimize(*this);
          // Hidden once the minimising has finished, which may show the window again.
          if (minimizeToTray_ && Active()) {
            QMetaObject::invokeMethod(
                this,
                [this] {
                  RunGuarded([this] {
                    if (owner_ != nullptr && owner_->isMinimized()) HideOwnerToTray();
                  });
                },
                Qt::QueuedConnection);
          }
        }
        break;
      }
      case QEvent::Close:
        // The user's close goes to the tray; the program's own close, and every close on
        // the way out of the program, still closes.
        if (!closingByProgram_ && !quitting_ && closeToTray_ && Active()) {
          event->ignore();
          HideOwnerToTray();
          return true;
        }
        break;
      default: break;
    }
    return false;
  };
  bool filtered = false;
  if (RunGuarded([&] { filtered = handle(); })) return filtered;
  // A close that failed half-way does not close.
  if (event->type() == QEvent::Close) {
    event->ignore();
    return true;
  }
  return false;
}
