#include "controls/clbase.h"

#include "controls/clctrl.h"
#include "controls/clmisc.h"
#include "controls/clsr.h"

#include <QCoreApplication>
#include <QWheelEvent>

namespace {

// Notices a control posts to itself, so they arrive once the change has settled.
const QEvent::Type kAfterEnterEvent = static_cast<QEvent::Type>(QEvent::registerEventType());
const QEvent::Type kAfterExitEvent = static_cast<QEvent::Type>(QEvent::registerEventType());
const QEvent::Type kPlaceLabelEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

}  // namespace

TClAttachedLabel::TClAttachedLabel(TClCustomControl& control, QWidget* parent)
    : QLabel(parent), control_(&control) {}

TClCustomControl& TClAttachedLabel::Control() const {
  if (control_ == nullptr) throw EClException(ClStr::LabelNotAttached);
  return *control_;
}

void TClLabelInfo::SetOffsetX(int offset) {
  offsetX_ = offset;
  Place();
}

void TClLabelInfo::SetOffsetY(int offset) {
  offsetY_ = offset;
  Place();
}

void TClLabelInfo::SetVisible(bool visible) {
  visible_ = visible;
  if (!visible) {
    // Hiding frees the label; a deleteLater would leave it on screen for a moment.
    std::unique_ptr<TClAttachedLabel> doomed(label_.data());
    label_ = nullptr;
    return;
  }
  QWidget* parent = control_.parentWidget();
  if (label_ != nullptr || parent == nullptr) return;
  label_ = new TClAttachedLabel(control_, parent);
  const QString base = (control_.objectName().isEmpty() ? QStringLiteral("Control") : control_.objectName()) +
                       QStringLiteral("Label");
  label_->setObjectName(UniqueComponentName(*control_.window(), base));
  label_->setText(label_->objectName());
  label_->adjustSize();
  Place();
  label_->setVisible(control_.isVisibleTo(parent));
}

void TClLabelInfo::Place() {
  if (label_ != nullptr) label_->move(control_.x() + offsetX_, control_.y() + offsetY_);
}

TClCustomControl::TClCustomControl(QWidget* parent) : QWidget(parent), labelInfo_(*this) {}

TClCustomControl::~TClCustomControl() { labelInfo_.SetVisible(false); }

QColor TClCustomControl::Color() const { return palette().color(QPalette::Window); }

void TClCustomControl::SetColor(const QColor& color) {
  if (color == Color() && testAttribute(Qt::WA_SetPalette)) return;
  QPalette changed = palette();
  changed.setColor(QPalette::Window, color);
  setPalette(changed);
  ColorChanged();
}

void TClCustomControl::EndLoading() {
  if (!loading_) return;
  loading_ = false;
  Loaded();
}

void TClCustomControl::Loaded() {
  for (TClCollection* collection : collections_) collection->Loaded();
}

TClCollection* TClCustomControl::FindCollection(const QMetaObject& itemClass) const {
  for (TClCollection* collection : collections_) {
    if (itemClass.inherits(&collection->ItemClass())) return collection;
  }
  return nullptr;
}

void TClCustomControl::PostToSelf(QEvent::Type type) { QCoreApplication::postEvent(this, new QEvent(type)); }

bool TClCustomControl::event(QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == kAfterEnterEvent) {
    if (AfterEnter) AfterEnter(*this);
    return true;
  }
  if (type == kAfterExitEvent) {
    if (AfterExit) AfterExit(*this);
    return true;
  }
  if (type == kPlaceLabelEvent) {
    labelInfo_.Place();
    return true;
  }
  if (type == QEvent::Show && !created_) {
    created_ = true;
    CreateWnd();
  }
  return QWidget::event(event);
}

void TClCustomControl::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  PostToSelf(kAfterEnterEvent);
}

void TClCustomControl::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  PostToSelf(kAfterExitEvent);
}

void TClCustomControl::wheelEvent(QWheelEvent* event) {
  if (OnMouseWheel) {
    OnMouseWheel(*this, event->modifiers(), event->angleDelta().y(), event->position().toPoint());
    event->accept();
    return;
  }
  QWidget::wheelEvent(event);
}

void TClCustomControl::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  PostToSelf(kPlaceLabelEvent);
}

void TClCustomControl::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PostToSelf(kPlaceLabelEvent);
}

TClCustomControlEx::TClCustomControlEx(QWidget* parent) : TClCustomControl(parent) {}

TClCustomControlEx::~TClCustomControlEx() = default;

TClController& TClCustomControlEx::Controller() const {
  return controller_ != nullptr ? *controller_ : DefaultController();
}

TClController* TClCustomControlEx::OwnController() const { return controller_.data(); }

void TClCustomControlEx::SetController(QObject* controller) { controller_ = qobject_cast<TClController*>(controller); }

void TClCustomControlEx::ControllerInserted(TClController& controller) {
  if (controller_ == nullptr) controller_ = &controller;
}

void TClCustomControlEx::CreateWnd() {
  if (controller_ != nullptr || Loading()) return;
  if (auto* placed = window()->findChild<TClController*>()) {
    controller_ = placed;
  } else {
    controller_ = &DefaultController();
  }
}

TClCollection::TClCollection(TClCustomControl& owner, const QMetaObject& itemClass, std::function<void()> changed)
    : owner_(owner), itemClass_(itemClass), changed_(std::move(changed)) {
  owner_.collections_.push_back(this);
}

TClCollection::~TClCollection() {
  std::erase(owner_.collections_, this);
  while (!items_.empty()) {
    std::unique_ptr<TClCollectibleControl> item = std::move(items_.back());
    items_.pop_back();
    item->collection_ = nullptr;
  }
}

int TClCollection::IndexOf(const TClCollectibleControl* item) const {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].get() == item) return static_cast<int>(i);
  }
  return -1;
}

void TClCollection::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  std::unique_ptr<TClCollectibleControl> item = std::move(items_[static_cast<size_t>(index)]);
  items_.erase(items_.begin() + index);
  item->collection_ = nullptr;
  item.reset();
  Changed();
}

void TClCollection::Leave(TClCollectibleControl& item) {
  const int index = IndexOf(&item);
  if (index < 0) return;
  items_[static_cast<size_t>(index)].release();
  items_.erase(items_.begin() + index);
  item.collection_ = nullptr;
  Changed();
}

TClCollectibleControl::TClCollectibleControl(QWidget* owner, const QMetaObject& itemClass) : TClCustomControl(owner) {
  auto* control = qobject_cast<TClCustomControl*>(owner);
  if (control == nullptr) throw EClException(ClStr::OwnerNotClComponent);
  if (control->Collections().empty()) throw EClException(ClStr::NoCollection);
  TClCollection* collection = control->FindCollection(itemClass);
  if (collection == nullptr) throw EClException(ClStr::NoCollectionForType);
  // Checked against this base's class, as the item's own is not complete yet.
  if (!itemClass.inherits(&collection->ItemClass())) throw EClException(ClStr::ItemIncompatible);
  collection->items_.emplace_back(this);
  collection_ = collection;
}

void TClCollectibleControl::AnnounceJoined() {
  if (collection_ != nullptr) collection_->Changed();
}

TClCollectibleControl::~TClCollectibleControl() {
  if (collection_ != nullptr) collection_->Leave(*this);
}
