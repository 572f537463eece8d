#pragma once
// How the tree drags and drops, as plain settings: whether a drag starts by itself, what
// a drag may do, its kind and picture, where a paste goes, and the auto-scroll timing
// while something is dragged. The tree reads them where it drags (LazyTreesDragDrop.cpp,
// LazyTreesInput.cpp); changing one has no side effect, so the accessors stand here.
// Beside them, what a running drag keeps between events.
#include "treeview/LazyTreeControlTypes.h"
#include "treeview/LazyTreeEvents.h"
#include "treeview/LazyTreeTypes.h"

#include <QPoint>
#include <QVector>

class TLazyTreeDragSettings {
public:
  TLTDragMode DragMode() const { return dragMode_; }
  void SetDragMode(TLTDragMode v) { dragMode_ = v; }
  TLTNodeAttachMode DefaultPasteMode() const { return defaultPasteMode_; }
  void SetDefaultPasteMode(TLTNodeAttachMode v) { defaultPasteMode_ = v; }
  TDragOperations DragOperations() const { return dragOperations_; }
  void SetDragOperations(TDragOperations v) { dragOperations_ = v; }
  TLTDragType DragType() const { return dragType_; }
  void SetDragType(TLTDragType v) { dragType_ = v; }
  TLTDragImageKind DragImageKind() const { return dragImageKind_; }
  void SetDragImageKind(TLTDragImageKind v) { dragImageKind_ = v; }
  int DragWidth() const { return dragWidth_; }
  void SetDragWidth(int v) { dragWidth_ = v; }
  int DragHeight() const { return dragHeight_; }
  void SetDragHeight(int v) { dragHeight_ = v; }
  // Milliseconds before a drag at the edge starts scrolling, and between its steps.
  int AutoScrollDelay() const { return autoScrollDelay_; }
  void SetAutoScrollDelay(int v) { autoScrollDelay_ = v; }
  int AutoScrollInterval() const { return autoScrollInterval_; }
  void SetAutoScrollInterval(int v) { autoScrollInterval_ = v; }

protected:
  TLTDragMode dragMode_ = dmManual;
  TLTNodeAttachMode defaultPasteMode_ = amAddChildLast;
  TDragOperations dragOperations_ = {doCopy, doMove};
  TLTDragType dragType_ = dtOLE;
  TLTDragImageKind dragImageKind_ = diComplete;
  int dragWidth_ = 200;
  int dragHeight_ = 350;
  int autoScrollDelay_ = 1000;
  int autoScrollInterval_ = 1;
};

// A running drag between events: the nodes it carries, the button that started it, where
// a drop would go, and the auto-scroll times on the tree's clock.
struct TLazyTreeDragState {
  QVector<PLazyNode> selection;  // in tree order, without descendants
  Qt::MouseButton button = Qt::NoButton;
  PLazyNode dropTarget = nullptr;
  TDropMode dropMode = dmNowhere;
  QPoint lastPoint;                // window coordinates of the last drag over
  qint64 autoScrollRequest = -1;   // this drag's first auto-scroll request
  qint64 lastAutoScrollStep = -1;
};
