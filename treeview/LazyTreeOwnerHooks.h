#pragma once
// The questions the tree asks its owner: one virtual operation per owner event, which
// fires the event when the owner assigned one and supplies the default otherwise
// (LazyTreesEvents.cpp). A descendant overrides an operation to answer a question
// itself, and calls the base operation to keep the owner's event. TBaseLazyTree is the
// only class built on this one, so an operation hands the event the tree itself.
#include "treeview/LazyTreeEvents.h"
#include "treeview/LazyTreeTypes.h"

#include <QColor>
#include <QCursor>
#include <QPoint>
#include <QRect>

#include <cstdint>

class QMenu;
class QPainter;
class TBaseLazyTree;

class TLazyTreeOwnerHooks : public TLazyTreeEvents {
public:
  virtual ~TLazyTreeOwnerHooks() = default;

protected:
  virtual void DoInitNode(PLazyNode Parent, PLazyNode Node, TLazyNodeInitStates& InitStates);
  virtual bool DoInitChildren(PLazyNode Node, std::uint32_t& ChildCount);
  virtual void DoFreeNode(PLazyNode Node);
  virtual void DoReset(PLazyNode Node);
  virtual int DoGetNodeDataSize();
  virtual bool DoExpanding(PLazyNode Node);
  virtual void DoExpanded(PLazyNode Node);
  virtual bool DoCollapsing(PLazyNode Node);
  virtual void DoCollapsed(PLazyNode Node);
  virtual void DoStructureChange(PLazyNode Node, TChangeReason Reason);
  virtual void DoChange(PLazyNode Node);
  virtual void DoUpdating(TLTUpdateState State);
  virtual bool DoNodeMoving(PLazyNode Node, PLazyNode Target);
  virtual void DoNodeMoved(PLazyNode Node);
  virtual bool DoNodeCopying(PLazyNode Node, PLazyNode Target);
  virtual void DoNodeCopied(PLazyNode Node);
  virtual void DoMeasureItem(PLazyNode Node, int& NodeHeight);
  virtual int DoCompare(PLazyNode Node1, PLazyNode Node2, int Column);
  // False when the owner keeps no sort number for Node in Column (see OnGetSortKey).
  virtual bool DoGetSortKey(PLazyNode Node, int Column, std::int64_t& Key);
  virtual bool DoFocusChanging(PLazyNode OldNode, PLazyNode NewNode, int OldColumn, int NewColumn);
  virtual void DoFocusChange(PLazyNode Node, int Column);
  virtual bool DoChecking(PLazyNode Node, TCheckState& NewState);
  virtual void DoChecked(PLazyNode Node);
  virtual bool DoCanEdit(PLazyNode Node, int Column);
  virtual void DoCancelEdit();
  virtual bool DoEndEdit();
  virtual void DoEdit();
  virtual int DoIncrementalSearch(PLazyNode Node, const QString& Text);
  virtual bool DoGetCellIsEmpty(PLazyNode Node, int Column);
  virtual bool DoKeyAction(int& Key, TShiftState& Shift);
  virtual void DoScroll(int DeltaX, int DeltaY);
  virtual QMenu* DoGetPopupMenu(PLazyNode Node, int Column, QPoint Position);
  virtual void DoGetCursor(QCursor& Cursor);
  virtual int DoGetHelpContext(PLazyNode Node, int Column);
  virtual void DoHotChange(PLazyNode Old, PLazyNode New);
  virtual bool DoDragAllowed(PLazyNode Node, int Column);
  virtual bool DoPaintBackground(QPainter& Canvas, QRect R);
  virtual void DoBeforePaint(QPainter& Canvas);
  virtual void DoAfterPaint(QPainter& Canvas);
  virtual void DoBeforeItemErase(QPainter& Canvas, PLazyNode Node, QRect ItemRect, QColor& Color,
                                 TItemEraseAction& EraseAction);
  virtual void DoAfterItemErase(QPainter& Canvas, PLazyNode Node, QRect ItemRect);
  virtual bool DoBeforeItemPaint(QPainter& Canvas, PLazyNode Node, QRect ItemRect);
  virtual void DoAfterItemPaint(QPainter& Canvas, PLazyNode Node, QRect ItemRect);
  virtual void DoBeforeCellPaint(QPainter& Canvas, PLazyNode Node, int Column, QRect CellRect);
  virtual void DoAfterCellPaint(QPainter& Canvas, PLazyNode Node, int Column, QRect CellRect);
  virtual int DoGetImageIndex(PLazyNode Node, TLTImageKind Kind, int Column, bool& Ghosted);
  // The width of a node's content in a column (text width in the string tree).
  virtual int DoGetNodeWidth(PLazyNode Node, int Column);
  // The node's own content; the base tree draws none (the string tree draws text).
  virtual void DoPaintNode(const TLTPaintInfo& PaintInfo);

private:
  friend class TBaseLazyTree;
  TLazyTreeOwnerHooks() = default;
  // The tree these operations belong to, the one every event is fired for.
  TBaseLazyTree* Self();
  const TBaseLazyTree* Self() const;
};
