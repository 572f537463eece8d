// The drop target and drag source of a tree.
#include "treeview/LazyTreeDragManager.h"

#include "treeview/LazyTrees.h"

THResult TLTDragManager::DragEnter(const QMimeData* dataObject, TShiftState keyState, QPoint pt, std::uint32_t& effect) {
  dataObject_ = dataObject;
  isDropTarget_ = true;
  dragSource_ = TBaseLazyTree::SourceTreeOf(dataObject);
  return owner_.OLEDragEnter(dragSource_, keyState, pt, effect);
}

THResult TLTDragManager::DragOver(TShiftState keyState, QPoint pt, std::uint32_t& effect) {
  return owner_.OLEDragOver(dragSource_, keyState, pt, effect);
}

THResult TLTDragManager::DragLeave() {
  owner_.OLEDragLeave();
  isDropTarget_ = false;
  dataObject_ = nullptr;
  dragSource_ = nullptr;
  return S_OK;
}

THResult TLTDragManager::Drop(const QMimeData* dataObject, TShiftState keyState, QPoint pt, std::uint32_t& effect) {
  const THResult result = owner_.OLEDragDrop(dragSource_, dataObject, keyState, pt, effect);
  isDropTarget_ = false;
  dataObject_ = nullptr;
  dragSource_ = nullptr;
  return result;
}

THResult TLTDragManager::QueryContinueDrag(bool escapePressed, TShiftState keyState) {
  if (escapePressed || (keyState.Contains(ssLeft) && keyState.Contains(ssRight))) return DRAGDROP_S_CANCEL;
  if (!keyState.Intersects({ssLeft, ssRight, ssMiddle})) return DRAGDROP_S_DROP;
  return S_OK;
}

void TLTDragManager::ForceDragLeave() {
  if (isDropTarget_) DragLeave();
}
