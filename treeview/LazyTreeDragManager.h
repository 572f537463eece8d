#pragma once
// A tree's drop target and drag source. It keeps what the current drag over the tree
// carries and which tree of this process it came from, and hands each step to the tree's
// drop handling; as the source it decides whether a drag goes on.
#include "treeview/LazyTreeClipboard.h"
#include "treeview/LazyTreeTypes.h"

#include <QPoint>
#include <QPointer>

class QMimeData;
class TBaseLazyTree;

class TLTDragManager {
public:
  explicit TLTDragManager(TBaseLazyTree& Owner) : owner_(Owner) {}
  virtual ~TLTDragManager() = default;
  TLTDragManager(const TLTDragManager&) = delete;
  TLTDragManager& operator=(const TLTDragManager&) = delete;

  // ---- Drop target: points in window coordinates; Effect in: allowed, out: chosen.
  virtual THResult DragEnter(const QMimeData* DataObject, TShiftState KeyState, QPoint Pt, std::uint32_t& Effect);
  virtual THResult DragOver(TShiftState KeyState, QPoint Pt, std::uint32_t& Effect);
  virtual THResult DragLeave();
  virtual THResult Drop(const QMimeData* DataObject, TShiftState KeyState, QPoint Pt, std::uint32_t& Effect);

  // ---- Drop source: Escape or both the left and right buttons cancel, no button down
  // drops, anything else goes on (S_OK).
  static THResult QueryContinueDrag(bool EscapePressed, TShiftState KeyState);
  static THResult GiveFeedback(std::uint32_t) { return DRAGDROP_S_USEDEFAULTCURSORS; }

  // Ends the drag over this tree as if the mouse had left it.
  void ForceDragLeave();
  // The tree of this process the current drag came from; nil for others.
  TBaseLazyTree* GetDragSource() const { return dragSource_; }
  // The desktop draws drag pictures itself; the tree never needs to.
  bool DropTargetHelperSupported() const { return false; }
  bool IsDropTarget() const { return isDropTarget_; }
  const QMimeData* DataObject() const { return dataObject_; }

private:
  TBaseLazyTree& owner_;
  QPointer<TBaseLazyTree> dragSource_;
  bool isDropTarget_ = false;
  const QMimeData* dataObject_ = nullptr;
};
