// The appearance setters: each stores its value and brings the tree up to date.
#include "treeview/LazyTreeAppearanceProperties.h"
#include "treeview/LazyTrees.h"

#include <algorithm>
#include <memory>

TLazyTreeAppearanceProperties::TLazyTreeAppearanceProperties(TBaseLazyTree* tree) {
  appearance_.colors = std::make_unique<TLTColors>(tree);
}

TBaseLazyTree* TLazyTreeAppearanceProperties::Self() { return static_cast<TBaseLazyTree*>(this); }

#define REPAINTING_SETTER(Name, Type, field)                            \
  void TLazyTreeAppearanceProperties::Set##Name(Type v) {               \
    if (field == v) return;                                             \
    field = v;                                                          \
    if (!Self()->IsLoading()) Self()->InvalidateTree();                 \
  }
REPAINTING_SETTER(Alignment, TLTAlignment, appearance_.alignment)
REPAINTING_SETTER(ButtonFillMode, TLTButtonFillMode, appearance_.buttonFillMode)
REPAINTING_SETTER(ButtonStyle, TLTButtonStyle, appearance_.buttonStyle)
REPAINTING_SETTER(CheckImageKind, TCheckImageKind, appearance_.checkImageKind)
REPAINTING_SETTER(DrawSelectionMode, TLTDrawSelectionMode, appearance_.drawSelectionMode)
REPAINTING_SETTER(SelectionBlendFactor, int, appearance_.selectionBlendFactor)
REPAINTING_SETTER(SelectionCurveRadius, int, appearance_.selectionCurveRadius)
REPAINTING_SETTER(LineMode, TLTLineMode, appearance_.lineMode)
REPAINTING_SETTER(LineStyle, TLTLineStyle, appearance_.lineStyle)
REPAINTING_SETTER(Margin, int, appearance_.margin)
REPAINTING_SETTER(TextMargin, int, appearance_.textMargin)
REPAINTING_SETTER(NodeAlignment, TLTNodeAlignment, appearance_.nodeAlignment)
REPAINTING_SETTER(BackgroundOffset, QPoint, appearance_.backgroundOffset)
#undef REPAINTING_SETTER

void TLazyTreeAppearanceProperties::SetBackground(const QPixmap& v) {
  appearance_.background = v;
  if (!Self()->IsLoading()) Self()->InvalidateTree();
}

void TLazyTreeAppearanceProperties::SetBorderStyle(TLTBorderStyle v) {
  if (v == appearance_.borderStyle) return;
  appearance_.borderStyle = v;
  Self()->ApplyFrame();
}

void TLazyTreeAppearanceProperties::SetIndent(int v) {
  if (v == appearance_.indent) return;
  appearance_.indent = v;
  if (Self()->IsLoading()) return;
  Self()->UpdateScrollBars(true);
  Self()->InvalidateTree();
}

void TLazyTreeAppearanceProperties::SetBevelKind(TBevelKind v) {
  appearance_.bevelKind = v;
  Self()->ApplyFrame();
}

void TLazyTreeAppearanceProperties::SetBevelInner(TBevelCut v) {
  appearance_.bevelInner = v;
  Self()->ApplyFrame();
}

void TLazyTreeAppearanceProperties::SetBevelOuter(TBevelCut v) {
  appearance_.bevelOuter = v;
  Self()->ApplyFrame();
}

void TLazyTreeAppearanceProperties::SetBevelEdges(TBevelEdges v) {
  appearance_.bevelEdges = v;
  Self()->ApplyFrame();
}

void TLazyTreeAppearanceProperties::SetBevelWidth(int v) {
  appearance_.bevelWidth = std::max(v, 1);
  Self()->ApplyFrame();
}
