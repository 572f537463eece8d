#pragma once
// How the tree looks, as a base of the control: the appearance record with its
// accessors. A setter that changes what rows show repaints the tree (not while a form
// is loading), the indent also changes the scroll range, the border and bevels reframe
// the client area (LazyTreeAppearanceProperties.cpp). TBaseLazyTree is the only class
// built on this one; painting reads the record directly.
#include "treeview/LazyTreeAppearance.h"

#include <QCursor>
#include <QPixmap>
#include <QPoint>

class TBaseLazyTree;

class TLazyTreeAppearanceProperties {
public:
  TLTColors& Colors() { return *appearance_.colors; }
  void SetColors(const TLTColors& Value) { appearance_.colors->Assign(Value); }
  TLTAlignment Alignment() const { return appearance_.alignment; }
  void SetAlignment(TLTAlignment v);
  const QPixmap& Background() const { return appearance_.background; }
  void SetBackground(const QPixmap& v);
  QPoint BackgroundOffset() const { return appearance_.backgroundOffset; }
  void SetBackgroundOffset(QPoint v);
  TLTBorderStyle BorderStyle() const { return appearance_.borderStyle; }
  void SetBorderStyle(TLTBorderStyle v);
  TLTButtonFillMode ButtonFillMode() const { return appearance_.buttonFillMode; }
  void SetButtonFillMode(TLTButtonFillMode v);
  TLTButtonStyle ButtonStyle() const { return appearance_.buttonStyle; }
  void SetButtonStyle(TLTButtonStyle v);
  TCheckImageKind CheckImageKind() const { return appearance_.checkImageKind; }
  void SetCheckImageKind(TCheckImageKind v);
  TLTDrawSelectionMode DrawSelectionMode() const { return appearance_.drawSelectionMode; }
  void SetDrawSelectionMode(TLTDrawSelectionMode v);
  int SelectionBlendFactor() const { return appearance_.selectionBlendFactor; }
  void SetSelectionBlendFactor(int v);
  int SelectionCurveRadius() const { return appearance_.selectionCurveRadius; }
  void SetSelectionCurveRadius(int v);
  QCursor HotCursor() const { return appearance_.hotCursor; }
  void SetHotCursor(const QCursor& v) { appearance_.hotCursor = v; }
  int Indent() const { return appearance_.indent; }
  void SetIndent(int v);
  TLTLineMode LineMode() const { return appearance_.lineMode; }
  void SetLineMode(TLTLineMode v);
  TLTLineStyle LineStyle() const { return appearance_.lineStyle; }
  void SetLineStyle(TLTLineStyle v);
  int Margin() const { return appearance_.margin; }
  void SetMargin(int v);
  int TextMargin() const { return appearance_.textMargin; }
  void SetTextMargin(int v);
  TLTNodeAlignment NodeAlignment() const { return appearance_.nodeAlignment; }
  void SetNodeAlignment(TLTNodeAlignment v);
  // Frame: bevels are drawn inside the border and narrow the client area.
  TBevelKind BevelKind() const { return appearance_.bevelKind; }
  void SetBevelKind(TBevelKind v);
  TBevelCut BevelInner() const { return appearance_.bevelInner; }
  void SetBevelInner(TBevelCut v);
  TBevelCut BevelOuter() const { return appearance_.bevelOuter; }
  void SetBevelOuter(TBevelCut v);
  TBevelEdges BevelEdges() const { return appearance_.bevelEdges; }
  void SetBevelEdges(TBevelEdges v);
  int BevelWidth() const { return appearance_.bevelWidth; }
  void SetBevelWidth(int v);

protected:
  TLazyTreeAppearance appearance_;

private:
  friend class TBaseLazyTree;
  // The colours point back at the tree, so they are made as the tree is.
  explicit TLazyTreeAppearanceProperties(TBaseLazyTree* Tree);
  // The tree this appearance belongs to.
  TBaseLazyTree* Self();
};
