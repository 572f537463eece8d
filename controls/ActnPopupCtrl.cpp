#include "controls/ActnPopupCtrl.h"

#include "platform/Exception.h"

TCustomPopupActionBarEx::TCustomPopupActionBarEx(QObject* owner)
    : TPopupMenu(owner), internalManager_(std::make_unique<TActionManager>()) {}

TCustomPopupActionBarEx::~TCustomPopupActionBarEx() = default;

void TCustomPopupActionBarEx::Popup(int x, int y) {
  if (popup_ != nullptr) return;
  DoPopup();
  TActionBarStyle* style = actionManager_ != nullptr ? actionManager_->Style()
                           : ActionBarStyles().empty() ? nullptr
                                                       : ActionBarStyles().front();
  std::unique_ptr<TActionPopupMenu> popup = style != nullptr ? style->CreatePopupMenu() : nullptr;
  struct Showing {
    TActionPopupMenu*& current;
    ~Showing() { current = nullptr; }
  } showing{popup_};
  popup_ = popup.get();

  internalManager_->SetStyle(style);
  internalManager_->SetImages(Images());
  if (popup != nullptr) internalManager_->AddActionBar(*popup, Items());
  if (popup == nullptr || popup->ActionClient() == nullptr) {
    throw Exception(QStringLiteral("%1 ActionManager property has not been assigned").arg(objectName()));
  }
  popup->SetShadow(shadows_);
  if (colorMap_ != nullptr) {
    popup->SetColorMap(*colorMap_);
  } else {
    popup->SetColorMap(*style->CreateColorMap());
  }
  BuildMenuEntries(*popup, *popup->ActionClient(), internalManager_->Images());
  MenuTracking().Track(*popup, QPoint(x, y));
}
