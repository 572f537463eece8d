#include "controls/FmFrameController.h"

#include "controls/FmColors.h"

#include <QMetaProperty>
#include <QVariant>
#include <algorithm>

namespace {

// The order settings are given to a control in: the colour follows "ParentColor" so a
// control that takes its parent's colour is not given ours afterwards.
constexpr const char* kSettings[] = {"ParentColor", "Color",          "FlatButtons",     "FrameColor", "FrameFlat",
                                     "FrameFlatStyle", "FrameFocusStyle", "FrameSides", "FrameStyle", "FrameVisible"};

}  // namespace

TFmFrameController::TFmFrameController(QObject* parent)
    : QObject(parent), color_(SysColor(TSysColor::clWindow)), frameColor_(SysColor(TSysColor::clBtnShadow)) {}

TFmFrameController::~TFmFrameController() {
  // Controls still registered must not keep pointing at us. Each one unregisters while
  // it lets go, so the list is taken out first.
  const std::vector<QPointer<QObject>> controls = std::move(controls_);
  controls_.clear();
  for (const QPointer<QObject>& control : controls)
    if (control && control->metaObject()->indexOfProperty("FrameController") >= 0)
      control->setProperty("FrameController", QVariant::fromValue<TFmFrameController*>(nullptr));
}

void TFmFrameController::Register(QObject* control) {
  if (control == nullptr || IsRegistered(control)) return;
  controls_.emplace_back(control);
  PushAll(control);
}

void TFmFrameController::Unregister(QObject* control) {
  std::erase_if(controls_, [control](const QPointer<QObject>& entry) { return entry.isNull() || entry == control; });
  if (controls_.empty()) controls_.shrink_to_fit();
}

bool TFmFrameController::IsRegistered(const QObject* control) const {
  return std::any_of(controls_.begin(), controls_.end(),
                     [control](const QPointer<QObject>& entry) { return entry == control; });
}

void TFmFrameController::EndUpdate() {
  if (updateLock_ > 0 && --updateLock_ == 0)
    for (const QPointer<QObject>& control : controls_)
      if (control) PushAll(control);
}

void TFmFrameController::PushAll(QObject* control) const {
  if (updateLock_ > 0) return;
  for (const char* name : kSettings) Push(control, name);
}

void TFmFrameController::PushToAll(const char* name) const {
  if (updateLock_ > 0) return;
  for (const QPointer<QObject>& control : controls_)
    if (control) Push(control, name);
}

void TFmFrameController::Push(QObject* control, const char* name) const {
  const QMetaObject* meta = control->metaObject();
  const int useIndex = meta->indexOfProperty("UseFrameController");
  if (useIndex >= 0 && !meta->property(useIndex).read(control).toBool()) return;
  if (meta->indexOfProperty(name) < 0) return;
  const QByteArray key(name);
  if (key == "Color" && parentColor_) return;
  control->setProperty(name, Value(key));
}

QVariant TFmFrameController::Value(const QByteArray& name) const {
  if (name == "ParentColor") return parentColor_;
  if (name == "Color") return color_;
  if (name == "FlatButtons") return flatButtons_;
  if (name == "FrameColor") return frameColor_;
  if (name == "FrameFlat") return frameFlat_;
  if (name == "FrameFlatStyle") return QVariant::fromValue(frameFlatStyle_);
  if (name == "FrameFocusStyle") return QVariant::fromValue(frameFocusStyle_);
  if (name == "FrameSides") return QVariant::fromValue(frameSides_);
  if (name == "FrameStyle") return QVariant::fromValue(frameStyle_);
  return frameVisible_;
}

#define FM_CONTROLLER_SETTER(Setter, field, Type, name) \
  void TFmFrameController::Setter(Type value) {         \
    if (field == value) return;                         \
    field = value;                                      \
    PushToAll(name);                                    \
  }

FM_CONTROLLER_SETTER(SetColor, color_, const QColor&, "Color")
FM_CONTROLLER_SETTER(SetParentColor, parentColor_, bool, "ParentColor")
FM_CONTROLLER_SETTER(SetFlatButtons, flatButtons_, bool, "FlatButtons")
FM_CONTROLLER_SETTER(SetFrameColor, frameColor_, const QColor&, "FrameColor")
FM_CONTROLLER_SETTER(SetFrameFlat, frameFlat_, bool, "FrameFlat")
FM_CONTROLLER_SETTER(SetFrameFlatStyle, frameFlatStyle_, TFrameStyle, "FrameFlatStyle")
FM_CONTROLLER_SETTER(SetFrameFocusStyle, frameFocusStyle_, TFrameStyle, "FrameFocusStyle")
FM_CONTROLLER_SETTER(SetFrameSides, frameSides_, TSides, "FrameSides")
FM_CONTROLLER_SETTER(SetFrameStyle, frameStyle_, TFrameStyle, "FrameStyle")
FM_CONTROLLER_SETTER(SetFrameVisible, frameVisible_, bool, "FrameVisible")

#undef FM_CONTROLLER_SETTER
