#pragma once
// The owner events of the tree. Each is a std::function named as the event; the tree
// fires it from one virtual operation per question (LazyTreeOwnerHooks.h, defined in
// LazyTreesEvents.cpp), which supplies the default when the owner has not assigned it.
#include "treeview/LazyTreeClipboard.h"
#include "treeview/LazyTreeHeaderTypes.h"
#include "treeview/LazyTreeTypes.h"

#include <QColor>
#include <QCursor>
#include <QPoint>
#include <QRect>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class TBaseLazyTree;
class TLazyTreeStream;
class QMenu;
class QMimeData;
class TLTDragManager;
class QPainter;

enum TLTImageKind { ikNormal, ikSelected, ikState, ikOverlay };
enum TItemEraseAction { eaColor, eaDefault, eaNone };
enum TLTHintKind { hkNone, hkText };

// Painting: the switches of one paint request, where a drop would go, and the images of a cell.
enum TLTPaintSwitch : int { poBackground, poColumnColor, poDrawFocusRect, poDrawSelection, poDrawDropMark, poGridLines,
                            poSelectedOnly };
using TLTPaintSwitches = TSet<TLTPaintSwitch>;
inline constexpr TLTPaintSwitches WindowPaintSwitches = {poBackground,    poColumnColor,  poDrawFocusRect,
                                                         poDrawSelection, poDrawDropMark, poGridLines};
enum TDropMode { dmNowhere, dmAbove, dmOnNode, dmBelow };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
class TLTImageList;
struct TLTCellImage {
  TLTImageList* Images = nullptr;
  int Index = -1;
  QPoint Pos;  // top-left corner in the canvas
  bool Ghosted = false;
};

// What a painting step is told about the cell it paints.
struct TLTPaintInfo {
  QPainter* Canvas = nullptr;
  PLazyNode Node = nullptr;
  int Column = -1;
  QRect CellRect;     // the whole cell, in the canvas's coordinates (the tree's, scroll offsets left out)
  QRect ContentRect;  // the cell less margin, indent and the images before the content
  bool Selected = false;
  bool Focused = false;
  // Cell painting (LazyTreesPaint.cpp)
  TLTPaintSwitches PaintOptions;
  unsigned Position = 0;       // the column's display position
  TLTCellImage CheckImage, StateImage, NormalImage;
  int OverlayIndex = -1;
  TBiDiMode BidiMode = bdLeftToRight;
  int Alignment = 0;           // a TLTAlignment, mirrored in right-to-left cells
  int NodeWidth = 0;           // the content's width
};

struct TLazyTreeEvents {
  using Tree = TBaseLazyTree;
  // Structure and initialisation
  std::function<void(Tree*, PLazyNode ParentNode, PLazyNode Node, TLazyNodeInitStates& InitialStates)> OnInitNode;
  std::function<void(Tree*, PLazyNode Node, std::uint32_t& ChildCount)> OnInitChildren;
  std::function<void(Tree*, PLazyNode Node)> OnFreeNode;
  std::function<void(Tree*, PLazyNode Node)> OnResetNode;
  std::function<void(Tree*, int& NodeDataSize)> OnGetNodeDataSize;
  std::function<void(Tree*, PLazyNode Node, bool& Allowed)> OnExpanding;
  std::function<void(Tree*, PLazyNode Node, bool& Allowed)> OnCollapsing;
  std::function<void(Tree*, PLazyNode Node)> OnExpanded;
  std::function<void(Tree*, PLazyNode Node)> OnCollapsed;
  std::function<void(Tree*, PLazyNode Node, TChangeReason Reason)> OnStructureChange;
  std::function<void(Tree*, PLazyNode Node)> OnChange;
  std::function<void(Tree*, TLTUpdateState State)> OnUpdating;
  std::function<void(Tree*, PLazyNode Node, PLazyNode Target, bool& Allowed)> OnNodeMoving;
  std::function<void(Tree*, PLazyNode Node)> OnNodeMoved;
  std::function<void(Tree*, PLazyNode Node, PLazyNode Target, bool& Allowed)> OnNodeCopying;
  std::function<void(Tree*, PLazyNode Node)> OnNodeCopied;
  std::function<void(Tree*, TLazyTreeStates Enter, TLazyTreeStates Leave)> OnStateChange;
  std::function<void(Tree*, PLazyNode Node, int& NodeHeight)> OnMeasureItem;
  std::function<void(Tree*, PLazyNode Node1, PLazyNode Node2, int Column, int& Result)> OnCompareNodes;
  // A number per node that OnCompareNodes orders by first, when the owner keeps one for
  // Column: a smaller number compares before a larger one, and only nodes with equal
  // numbers need OnCompareNodes. Known false (for any node) sorts through OnCompareNodes
  // alone. A sort by numbers runs in linear time instead of a comparison per pair.
  std::function<void(Tree*, PLazyNode Node, int Column, std::int64_t& Key, bool& Known)> OnGetSortKey;

  // Focus, checks, editing, searching
  std::function<void(Tree*, PLazyNode OldNode, PLazyNode NewNode, int OldColumn, int NewColumn, bool& Allowed)>
      OnFocusChanging;
  std::function<void(Tree*, PLazyNode Node, int Column)> OnFocusChanged;
  std::function<void(Tree*, PLazyNode Node, TCheckState& NewState, bool& Allowed)> OnChecking;
  std::function<void(Tree*, PLazyNode Node)> OnChecked;
  std::function<void(Tree*, PLazyNode Node, int Column, bool& Allowed)> OnEditing;
  std::function<void(Tree*, int Column)> OnEditCancelled;
  std::function<void(Tree*, PLazyNode Node, int Column)> OnEdited;
  std::function<void(Tree*, PLazyNode Node, const QString& SearchText, int& Result)> OnIncrementalSearch;
  std::function<void(Tree*, PLazyNode Node, int Column, bool& IsEmpty)> OnGetCellIsEmpty;

  // Input and scrolling
  std::function<void(Tree*, int& Key, TShiftState& Shift, bool& DoDefault)> OnKeyAction;
  std::function<void(Tree*, int DeltaX, int DeltaY)> OnScroll;
  std::function<void(Tree*, PLazyNode Node, int Column, QPoint P, bool& AskParent, QMenu*& PopupMenu)>
      OnGetPopupMenu;
  std::function<void(Tree*, QCursor& Cursor)> OnGetCursor;
  std::function<void(Tree*, QCursor& Cursor)> OnGetHeaderCursor;
  std::function<void(Tree*, PLazyNode Node, int Column, int& HelpContext)> OnGetHelpContext;
  std::function<void(Tree*, PLazyNode OldNode, PLazyNode NewNode)> OnHotChange;
  std::function<void(Tree*, PLazyNode Node, int Column, bool& Allowed)> OnDragAllowed;
  std::function<void(Tree*, int Column, TShiftState Shift)> OnColumnClick;
  std::function<void(Tree*, int Column, TShiftState Shift)> OnColumnDblClick;
  std::function<void(Tree*, int Column)> OnColumnResize;

  // Painting steps (the rows are drawn through these by the painting code)
  std::function<void(Tree*, QPainter& Canvas, QRect R, bool& Handled)> OnPaintBackground;
  std::function<void(Tree*, QPainter& Canvas)> OnBeforePaint;
  std::function<void(Tree*, QPainter& Canvas)> OnAfterPaint;
  std::function<void(Tree*, QPainter& Canvas, PLazyNode Node, QRect ItemRect, QColor& ItemColor,
                     TItemEraseAction& EraseAction)>
      OnBeforeItemErase;
  std::function<void(Tree*, QPainter& Canvas, PLazyNode Node, QRect ItemRect)> OnAfterItemErase;
  std::function<void(Tree*, QPainter& Canvas, PLazyNode Node, QRect ItemRect, bool& CustomDraw)> OnBeforeItemPaint;
  std::function<void(Tree*, QPainter& Canvas, PLazyNode Node, QRect ItemRect)> OnAfterItemPaint;
  std::function<void(Tree*, QPainter& Canvas, PLazyNode Node, int Column, QRect CellRect)> OnBeforeCellPaint;
  std::function<void(Tree*, QPainter& Canvas, PLazyNode Node, int Column, QRect CellRect)> OnAfterCellPaint;
  std::function<void(Tree*, PLazyNode Node, TLTImageKind Kind, int Column, bool& Ghosted, int& ImageIndex)>
      OnGetImageIndex;
  // The 8 × 8 pattern of the lines with the custom line style, one byte a row, bit 0 leftmost.
  std::function<void(Tree*, std::array<std::uint8_t, 8>& Bits)> OnGetLineStyle;

  // Header (LazyTreeHeader*.cpp); X and Y in header coordinates
  std::function<void(Tree*, TColumnIndex Column, Qt::MouseButton Button, TShiftState Shift, int X, int Y)>
      OnHeaderClick;
  std::function<void(Tree*, TColumnIndex Column, Qt::MouseButton Button, TShiftState Shift, int X, int Y)>
      OnHeaderDblClick;
  std::function<void(Tree*, Qt::MouseButton Button, TShiftState Shift, int X, int Y)> OnHeaderMouseDown;
  std::function<void(Tree*, Qt::MouseButton Button, TShiftState Shift, int X, int Y)> OnHeaderMouseUp;
  std::function<void(Tree*, TShiftState Shift, int X, int Y)> OnHeaderMouseMove;
  std::function<void(Tree*, TColumnIndex Column, bool& Allowed)> OnHeaderDragging;
  std::function<void(Tree*, TColumnIndex Column, int OldPosition)> OnHeaderDragged;
  std::function<void(Tree*, TColumnIndex Column, QPoint DropPosition)> OnHeaderDraggedOut;
  std::function<void(Tree*, QPainter& Canvas, TLazyTreeColumn* Column, QRect R, bool Hover, bool Pressed,
                     TLTDropMarkMode DropMark)>
      OnHeaderDraw;
  std::function<void(Tree*, THeaderPaintInfo& PaintInfo, THeaderPaintElements& Elements)> OnHeaderDrawQueryElements;
  std::function<void(Tree*, THeaderPaintInfo& PaintInfo, THeaderPaintElements Elements)> OnAdvancedHeaderDraw;

  // Data transfer. Source is the tree of this process a drag came from (nil for others);
  // Pt is in window coordinates. OnDragOver's Accept starts false: a tree whose owner
  // never accepts gets no drops.
  std::function<void(Tree*, QObject* Source, TShiftState Shift, TDragState State, QPoint Pt, TDropMode Mode,
                     TDropEffect& Effect, bool& Accept)>
      OnDragOver;
  std::function<void(Tree*, QObject* Source, const QMimeData* DataObject, const QStringList& Formats,
                     TShiftState Shift, QPoint Pt, TDropEffect& Effect, TDropMode Mode)>
      OnDragDrop;
  // Renders a format the tree itself does not (Result starts E_FAIL).
  std::function<void(Tree*, const TFormatEtc& FormatEtc, TStgMedium& Medium, bool ForClipboard, THResult& Result)>
      OnRenderOLEData;
  // The owner's own data object for a copy, cut or drag, or its own drop target; the tree
  // makes its own when these leave theirs empty.
  std::function<void(Tree*, std::unique_ptr<QMimeData>& DataObject)> OnCreateDataObject;
  std::function<void(Tree*, std::unique_ptr<TLTDragManager>& DragManager)> OnCreateDragManager;
  // Formats the owner adds to the data objects it renders through OnRenderOLEData.
  std::function<void(Tree*, QVector<TFormatEtc>& Formats)> OnGetUserClipboardFormats;

  // Tree stream: the owner's data of a node, written after the node's fields and read
  // back from them (Node nil for the root)
  std::function<void(Tree*, PLazyNode Node, TLazyTreeStream& Stream)> OnSaveNode;
  std::function<void(Tree*, PLazyNode Node, TLazyTreeStream& Stream)> OnLoadNode;
};
