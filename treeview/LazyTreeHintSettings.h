#pragma once
// What the tree's hints are, as plain settings: the control's own hint text, whether it
// shows hints at all, how a hint window opens and which kind of hint a cell gets. The
// hint logic that reads them is in LazyTreesHint.cpp; changing one has no side effect,
// so the accessors stand here.
#include "treeview/LazyTreeControlTypes.h"

#include <QString>

class TLazyTreeHintSettings {
public:
  QString Hint() const { return hint_; }
  void SetHint(const QString& Value) { hint_ = Value; }
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool Value) { showHint_ = Value; }
  THintAnimationType HintAnimation() const { return hintAnimation_; }
  void SetHintAnimation(THintAnimationType v) { hintAnimation_ = v; }
  TLTHintMode HintMode() const { return hintMode_; }
  void SetHintMode(TLTHintMode v) { hintMode_ = v; }

protected:
  QString hint_;
  bool showHint_ = false;
  THintAnimationType hintAnimation_ = hatSystemDefault;
  TLTHintMode hintMode_ = hmDefault;
};
