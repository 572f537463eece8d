#pragma once
// The lazy tree control: a scroll area that keeps only small node records, asks its
// owner for everything else through events, creates nodes in bulk and initialises them
// the first time they are needed, and paints only the rows in view.
//
// The class is one public face over objects, bases and files split by concern.
// Objects that own their state, the face forwarding to them (none needs a widget unless
// marked):
//   LazyNodeStore        nodes: the pool (LazyNodePool), the hidden root, links, running totals
//   LazyNodeWalker.h     tree and display order over the store's links, initialising or not
//   LazySelection        selected nodes sorted by address, the range anchor, cut and copy marks
//   LazyTreeLayouter     node heights (measured there only), row tops, the row at a height,
//                        the position cache (LazyTreeCache) and its worker (LazyTreeWorker)
//   LazyTreeIncrementalSearch  search settings, text, last hit, the walk to the next match
//   LazyTreeEditSession  the edit in progress: its link, its cell, the edit delay (widget)
//   LazyTreePaintResources  buttons, line pattern and brushes, the row image (widget)
//   LazyTreeInputController  input state between events, wheel panning, timers and clock
//   (the search, the edit session and the input controller are owned by LazyTreeInteraction)
// Bases of the class, each a concern with its accessors:
//   LazyTreeNavigation   the navigation family over the walker (no widget)
//   LazyTreeCacheControl the position cache over the layouter (no widget)
//   LazyTreeColumnQueries  the column queries over the header: count, order, bounds, hints
//   LazyTreeInteraction  owns input, search and edit objects; timers, clock, their settings
//   LazyTreeOwnerHooks   one virtual operation per owner event (defined in LazyTreesEvents.cpp)
//   LazyTreeAppearanceProperties  the look (LazyTreeAppearance.h); a setter repaints
//   LazyTreeImageLists   the node, state and custom check image lists; a change repaints
//   LazyTreeDragSettings.h, LazyTreeHintSettings.h  drag and hint settings, a drag's state
// The face's own files, one concern each:
//   LazyTreesStructure   creating, inserting, deleting, moving and iterating nodes
//   LazyTreesExpand      expand, collapse, (re)initialisation, animation, the update bracket
//                        (held for a scope by LazyTreeUpdateGuard.h)
//   LazyTreesSelection   focus, selection, scrolling into view, the node accessors
//   LazyTreesSelectionList  bulk selection, cut and copy marks, edit actions
//   LazyTreesSelectionRectangle  the dragged rectangle and what it selects
//   LazyTreesCheckBoxes  a check box's press and release, tri-state and radio propagation
//   LazyTreesNodeOrder   the node order and the packing of node arrays
//   LazyTreesClicks      the mouse rules for focus, selection and edits
//   LazyTreesInput       Qt key, mouse, wheel and focus events, panning, timer expiry
//   LazyTreesKeys        a handler per key command (the key table is LazyTreeKeyTable)
//   LazyTreesOptions     options, properties, construction, destruction
//   LazyTreesScroll      offsets, scroll bars, invalidation, the point hit test, view queries
//   LazyTreesHitTest     the parts of a row under a point, the span of a cell
//   LazyTreesLayout      the control as its layouter sees it, heights and positions
//   LazyTreesTotalsAudit the audit of the running totals (CheckTotals)
//   LazyTreesStream      nodes written into the tree stream and read back
//   LazyTreesHeader      the header's operations and events
//   LazyTreesPaint, LazyTreesLines  rows and cells; tree lines, bands and buttons
//   LazyTreesSort        sorting sibling chains through the owner's comparison
//   LazyTreesSearch, LazyTreesEdit, LazyTreesHint  incremental search, editing, hints
//   LazyTreesDataTransfer, LazyTreesDragDrop  tree data on the clipboard; drag and drop
// Vocabulary: LazyTreeTypes.h (node record, states, errors), LazyTreeControlTypes.h (the
// control's enumerations and records), LazyTreeHeaderTypes.h, LazyTreeOptions.h (option
// sets, colours), LazyTreeEvents.h (owner events), LazyTreeTimers.h, LazyTreeAssert.
// Beside the class: LazyDrawTree (the owner-drawn tree), LazyTreeAnimation,
// LazyTreeColumns, LazyTreeHeader with LazyTreeHeaderArea, LazyTreeHeaderInput,
// LazyTreeHeaderPaint and LazyTreeLayoutStream, LazyTreeDrawing and LazyTreeLines
// (drawing routines), LazyTreeImageList, LazyTreeResources and LazyTreeImages.qrc
// (pictures), LazyTreeEditLink (the in-place editor), LazyTreeHintWindow, LazyTreeStream
// (the stream format), LazyTreeClipboard, LazyTreeDataObject, LazyTreeDragManager,
// LazyTreeDragImage, LazyTreeReference (which live tree data came from).
// The string tree: LazyStringTree, LazyStringTreeExport (text, CSV, HTML, RTF, with
// LazyTreeBuffers), LazyStringTreeStream (captions in the stream).
//
// Costs: node count, subtree height and child count are O(1) through running totals;
// creating N children is O(N) without owner calls; NodeAtPosition is O(depth × siblings
// skipped) (the position cache shortens it); painting touches only the rows in view.
#include "treeview/LazyNodeStore.h"
#include "treeview/LazyTreeAppearanceProperties.h"
#include "treeview/LazyTreeCacheControl.h"
#include "treeview/LazyTreeColumnQueries.h"
#include "treeview/LazySelection.h"
#include "treeview/LazyTreeLayouter.h"
#include "treeview/LazyTreeControlTypes.h"
#include "treeview/LazyTreeDragSettings.h"
#include "treeview/LazyTreeHintSettings.h"
#include "treeview/LazyTreeHeaderTypes.h"
#include "treeview/LazyTreeImageLists.h"
#include "treeview/LazyTreeEvents.h"
#include "treeview/LazyTreeOwnerHooks.h"
#include "treeview/LazyTreeOptions.h"
#include "treeview/LazyTreePaintResources.h"
#include "treeview/LazyTreeInteraction.h"
#include "treeview/LazyTreeNavigation.h"
#include "treeview/LazyTreeTypes.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QMenu>
#include <QPointer>
#include <QVector>

#include <array>
#include <memory>

class QMimeData;
class TToggleAnimation;
class TLTHeader;
class TLTImageList;
class TLazyTreeColumns;
class ILTEditLink;
class TLazyTreeHintWindow;
class TLTDragManager;
class TLTDragImage;
class QDrag;
class QDragEnterEvent;
class QDragMoveEvent;
class QDragLeaveEvent;
class QDropEvent;

class TBaseLazyTree : public QAbstractScrollArea,
                      public TLazyTreeOwnerHooks,
                      public TLazyTreeAppearanceProperties,
                      public TLazyTreeImageLists,
                      public TLazyTreeDragSettings,
                      public TLazyTreeHintSettings,
                      public TLazyTreeCacheControl,
                      public TLazyTreeNavigation,
                      public TLazyTreeColumnQueries,
                      public TLazyTreeInteraction {
  Q_OBJECT
  // The owner operations fire the events for this tree and read its state for defaults.
  friend class TLazyTreeOwnerHooks;

public:
  explicit TBaseLazyTree(QWidget* parent = nullptr);
  ~TBaseLazyTree() override;

  // ---- Nodes and structure -------------------------------------------------------
  unsigned RootNodeCount() const;
  void SetRootNodeCount(unsigned value);
  // nil means the hidden root. O(new count) for growth, O(removed subtree) for shrinking.
  void SetNodeChildCount(PLazyNode Node, unsigned NewCount);
  unsigned ChildCount(PLazyNode Node) const;
  int NodeDataSize() const { return store_.NodeDataSize(); }
  void SetNodeDataSize(int value);
  // The owner's bytes of a node; nil for nil and for the hidden root.
  void* GetNodeData(PLazyNode Node) { return store_.NodeData(Node); }
  template <typename T>
  T* GetNodeData(PLazyNode Node) { return static_cast<T*>(GetNodeData(Node)); }
  // Where those bytes start in every real node; 0 while nodes carry none.
  std::ptrdiff_t NodeDataOffset() const { return store_.NodeDataOffset(); }
  // Reserves an area in every node for a descendant; only before the first node exists.
  int ReserveInternalData(int Size);
  int InternalDataSize() const { return store_.InternalDataSize(); }
  // Creates a single node next to or inside Destination (nil = root). O(renumbered siblings).
  PLazyNode InsertNode(PLazyNode Destination, TLTNodeAttachMode Mode);
  PLazyNode AddChild(PLazyNode Parent) { return InsertNode(Parent, amAddChildLast); }
  void DeleteNode(PLazyNode Node, bool Reindex = true);
  void DeleteNodeChildren(PLazyNode Node, bool ResetHasChildren = false);
  virtual void DeleteSelectedItems();
  virtual void Clear();
  // True when the node (or its children) moved; false when refused or nothing to do.
  bool MoveNode(PLazyNode Source, PLazyNode Target, TLTNodeAttachMode Mode, bool ChildrenOnly);
  void InitializeNode(PLazyNode Node);
  void InitializeChildren(PLazyNode Node);
  virtual void ReinitializeNode(PLazyNode Node, bool Recursive);
  virtual void ReinitializeChildren(PLazyNode Node, bool Recursive);
  virtual void UninitializeNode(PLazyNode Node);
  // Walks Node's subtree (nil = whole tree) in tree order; the tree refuses structural
  // changes while it runs.
  void IterateSubtree(PLazyNode Node, const std::function<void(PLazyNode, bool& Abort)>& Callback);

  // ---- Tree stream (LazyTreesStream.cpp; the format is in LazyTreeStream.h) ----------
  // Writes the header and Node with its subtree, or every top-level node (Node nil). A
  // tree nested deeper than a stream may be raises ELazyTreeError and leaves the stream
  // as it was.
  virtual void WriteTreeStream(TLazyTreeStream& Stream, PLazyNode Node = nullptr);
  // Replaces the whole tree with the nodes of a stream (versions 1 and 2). The header,
  // every node chunk and the top-level count (version 2) are checked before the tree is
  // cleared: a damaged stream, or one holding more or fewer nodes than it announces,
  // raises ELazyTreeError and leaves the tree as it was. Nothing with toReadOnly.
  virtual void ReadTreeStream(TLazyTreeStream& Stream);
  virtual void ReadTreeFile(const QString& FileName);
  // Reads one node chunk into Node (nil = the root: its children are added), after
  // checking the chunk's whole structure, so a damaged chunk changes nothing.
  void AddNodesFromStream(TLazyTreeStream& Stream, int Version, PLazyNode TargetNode);
  // Node's chunk with its size filled in afterwards; with toInitOnSave the node is
  // initialised and its children created first. Walks the subtree without recursion; a
  // subtree nested deeper than the reader accepts (kMaxStreamNodeDepth) raises
  // ELazyTreeError. O(nodes + bytes).
  void WriteNodeChunk(TLazyTreeStream& Stream, PLazyNode Node);

  // ---- Expand and collapse ---------------------------------------------------------
  void ToggleExpanded(PLazyNode Node);
  virtual void ExpandAll(PLazyNode Node);
  virtual void CollapseAll(PLazyNode Node);
  bool Expanded(PLazyNode Node) const { return Node && Node->Has(nsExpanded); }
  void SetExpanded(PLazyNode Node, bool Value);

  // ---- Update bracket --------------------------------------------------------------
  void BeginTreeUpdate();
  void EndTreeUpdate();
  int UpdateCount() const { return updateCount_; }

  // ---- Row positions (the navigation family is the base TLazyTreeNavigation) --------
  // The visible node whose row holds Y, or nil below the last row.
  PLazyNode NodeAtPosition(int Y, bool Relative, int* NodeTop = nullptr);
  // The top of Node's row in content coordinates, -1 when it is not in view. O(rows above
  // skipped by subtree).
  int NodeTop(PLazyNode Node) const;
  // The tree a node belongs to, found by walking up to the hidden root.
  static TBaseLazyTree* TreeFromNode(PLazyNode Node);

  // ---- Node accessors --------------------------------------------------------------
  int NodeHeight(PLazyNode Node);
  void SetNodeHeight(PLazyNode Node, int Value);
  bool GetNodeVisible(PLazyNode Node);
  void SetNodeVisible(PLazyNode Node, bool Value);
  void SetNodeFullyVisible(PLazyNode Node, bool Value);
  bool GetNodeSelected(PLazyNode Node) const { return Node && Node->Has(nsSelected); }
  void SetNodeSelected(PLazyNode Node, bool Value);
  bool GetNodeDisabled(PLazyNode Node) const { return Node && Node->Has(nsDisabled); }
  void SetNodeDisabled(PLazyNode Node, bool Value);
  bool HasChildren(PLazyNode Node) const { return Node && Node->Has(nsHasChildren); }
  void SetHasChildren(PLazyNode Node, bool Value);
  void SetNodeFreeNotify(PLazyNode Node, bool Value);
  PLazyNode TopNode();
  void SetTopNode(PLazyNode Node);
  unsigned TotalCount() const;   // real nodes, the hidden root not counted
  unsigned VisibleCount() const { return store_.VisibleCount(); }
  PLazyNode RootNode() const { return store_.Root(); }

  // ---- Focus and selection ---------------------------------------------------------
  PLazyNode FocusedNode() const { return focusedNode_; }
  void SetFocusedNode(PLazyNode Node);
  int FocusedColumn() const { return focusedColumn_; }
  void SetFocusedColumn(int Column);
  virtual bool ChangeFocus(PLazyNode Node, bool Ask);
  bool AddToSelection(PLazyNode Node);
  void RemoveFromSelection(PLazyNode Node);
  void UnselectAll();
  void SelectAllNodes(bool VisibleOnly);
  // Counts slots marked by deletions inside an update until EndTreeUpdate packs them.
  unsigned SelectionCount() const { return selection_.Count(); }
  QVector<PLazyNode> SortedSelection(bool Resolve);
  PLazyNode RangeAnchor() const { return selection_.Anchor(); }
  PLazyNode HotNode() const { return hotNode_; }
  bool ScrollIntoView(PLazyNode Node, bool Center, bool Horizontally = false);

  // ---- Working with the tree: sorting, selection lists, checks, cut and copy marks,
  //      incremental search, editing, edit actions and hints (LazyTreesSort.cpp,
  //      LazyTreesSelectionList.cpp, LazyTreesClicks.cpp, LazyTreesSearch.cpp,
  //      LazyTreesEdit.cpp, LazyTreesHint.cpp) ---------------------------------------
  // Stable merge sort of Node's children (nil = the root) through OnCompareNodes over an
  // array of node pointers, relinked once; O(n log n) comparisons.
  virtual void SortChildren(PLazyNode Node, int Column, bool Ascending, bool DoInit);
  // Sorts every initialised level; Column -2 and below leave the order alone.
  virtual void SortTree(int Column, bool Ascending, bool DoInit);
  // Adds many nodes in one merge: O(k log k + n). True when any node was added.
  // ForceInsert takes every node as it is (used when loading).
  bool AddToSelection(const QVector<PLazyNode>& Nodes, bool ForceInsert = false);
  QRect SelectionRectangle() const { return selectRectangle_; }
  virtual TCheckState CheckStateAfterClick(TCheckType CheckType, TCheckState CheckState) const;
  // Sets the state and fires OnChecked when it changed.
  void SetNodeCheckState(PLazyNode Node, TCheckState State);
  TCheckState GetCheckState(PLazyNode Node) const { return Node ? TCheckState(Node->CheckState) : csUncheckedNormal; }
  void SetCheckType(PLazyNode Node, TCheckType Value);
  virtual void CopySelectedToClipboard();
  virtual void CutSelectedToClipboard();
  void CancelCutCopyMarks();
  void DeleteMarkedCutNodes();
  QVector<PLazyNode> SortedCutCopySet(bool Resolve);
  PLazyNode GetFirstCutCopyNode();
  PLazyNode GetNextCutCopyNode(PLazyNode Node);
  // ---- Clipboard and drag data (LazyTreesDataTransfer.cpp) ----------------------------------
  // The number that names this tree in "Lazy Tree Reference" for its life.
  std::uint32_t TreeId() const { return treeId_; }
  // The descriptions of the registered formats this tree offers (empty: none of them).
  TClipboardFormats& ClipboardFormats() { return clipboardFormats_; }
  void SetClipboardFormats(const QStringList& Value) { clipboardFormats_.Assign(Value); }
  // What a new data object offers: the registered formats of this tree's class that
  // ClipboardFormats allows, in priority order, then the owner's own.
  virtual QVector<TFormatEtc> ClipboardFormatEtcs();
  // "Lazy Tree Data" for the cut and copy set (clipboard) or the dragged nodes (drag), as
  // a block (a 32-bit size, then node chunks) or a stream of node chunks; other formats go
  // to OnRenderOLEData.
  virtual THResult RenderTreeData(const TFormatEtc& FormatEtc, TStgMedium& Medium, bool ForClipboard);
  // Pastes the clipboard's tree data at the focused node by DefaultPasteMode. Raises
  // ELazyTreeError 2007 when there is no clipboard, and the stream errors for bad data.
  virtual bool PasteFromClipboard();
  // Inserts tree data at Target (nil: the root) by Mode: a cut from a live tree of this
  // process moves its nodes, anything else is read from the data, which is checked whole
  // before a node is added. False when the data holds no tree data or the tree is read-only.
  bool ProcessTreeData(TBaseLazyTree* Source, const QMimeData* DataObject, bool IsCut, TLTNodeAttachMode Mode,
                       PLazyNode Target);
  // The live tree of this process that data came from, nil for any other data.
  static TBaseLazyTree* SourceTreeOf(const QMimeData* Data);
  // A data object of this tree on the clipboard gets every format rendered and stops
  // naming the tree (called as the tree goes away).
  void FlushClipboard();
  // Empties the clipboard when it holds a data object of this tree.
  void EmptyClipboardOfThisTree();

  // ---- Drag and drop (LazyTreesDragDrop.cpp; the settings are the base
  //      TLazyTreeDragSettings, LazyTreeDragSettings.h) ------------------------------
  // The drop target side (nil without toAcceptOLEDrop) and the node drag image.
  // Made on first use while toAcceptOLEDrop is on (OnCreateDragManager may supply it).
  TLTDragManager* DragManager();
  TLTDragImage& DragImage() const { return *dragImage_; }
  // The nodes of the running drag: the selection in tree order without descendants, kept
  // for the whole drag; a node that is deleted or moved away leaves the list.
  const QVector<PLazyNode>& DragSelection() const { return drag_.selection; }
  // Starts a drag of the selection now (the mouse moving past the threshold calls it).
  void BeginDrag();
  // The picture a drag of the selection shows (when DoDragImageWanted).
  void PrepareDragImage(QDrag& Drag);
  // Runs the drag: QDrag::exec unless replaced (tests drive the target from here).
  std::function<Qt::DropAction(QDrag& Drag, Qt::DropActions Allowed)> DragLoop;
  // The drop target side as the drag manager calls it; points in window coordinates,
  // Effect in: the allowed effects, out: the effect (with the scroll bit while scrolling).
  THResult OLEDragEnter(QObject* Source, TShiftState KeyState, QPoint Pt, std::uint32_t& Effect);
  THResult OLEDragOver(QObject* Source, TShiftState KeyState, QPoint Pt, std::uint32_t& Effect);
  void OLEDragLeave();
  THResult OLEDragDrop(QObject* Source, const QMimeData* DataObject, TShiftState KeyState, QPoint Pt,
                       std::uint32_t& Effect);
  // The drop mode over Node's row at a window point; the middle pixel row of a row drops on
  // the node, rows above it above, rows below it below.
  TDropMode DropModeAt(PLazyNode Node, const THitInfo& Hit, QPoint Pt);
  // The directions the view would scroll by itself with the mouse at a window point.
  TAutoScrollDirections AutoScrollDirections(QPoint Pt);
  // Arms timer 4 when the point is in the auto-scroll zone; true when it did.
  bool DoAutoScroll(QPoint Pt);
  // One auto-scroll step at a window point, never closer than 10 ms to the last one; true
  // when the view moved.
  bool AutoScrollStep(QPoint Pt);

  // 0 when Node matches Text; the base tree asks OnIncrementalSearch. The search's and the
  // edit's settings and state are the base TLazyTreeInteraction (LazyTreeInteraction.h).
  virtual int SearchNodeText(PLazyNode Node, const QString& Text);
  // In-place editing; the editor comes from CreateEditLink.
  virtual bool EditCell(PLazyNode Node, int Column);
  virtual bool CanEditCell(PLazyNode Node, int Column);
  void StartEdit();
  virtual bool FinishEdit();
  virtual bool AbortEdit();
  bool IsEditingNode(PLazyNode Node) const { return IsEditing() && Node && Node == focusedNode_; }
  bool IsDestroying() const { return destroying_; }
  std::function<void(TBaseLazyTree*, PLazyNode Node, int Column, std::shared_ptr<ILTEditLink>& EditLink)> OnCreateEditor;
  // The standard edit actions while the tree has the focus (LazyTreeControlTypes.h).
  using TLTEditAction = ::TLTEditAction;
  bool EditActionEnabled(TLTEditAction Action);
  bool ExecuteEditAction(TLTEditAction Action);
  // Hints (the settings are the base TLazyTreeHintSettings, LazyTreeHintSettings.h).
  // HintShow fills Info and answers whether a hint shows at a viewport position (a
  // negative Y lies in the header above the rows); the header calls it for its area.
  using THintInfo = TLTHintInfo;
  bool HintShow(QPoint ViewportPos, THintInfo& Info);
  // Milliseconds before a hint opens at a viewport position: 0 for tooltips and for the
  // header while a hint animation was stopped; -1 means the desktop's delay.
  int HintShowPause(QPoint ViewportPos) const;
  // Runs the hint logic at a viewport position and shows the result.
  void ShowHintFor(QPoint ViewportPos);
  TLazyTreeHintWindow* HintWindow() const;
  QRect LastHintRect() const { return lastHintRect_; }
  // The unclipped rectangle of a cell's text in viewport coordinates.
  QRect CellTextRect(PLazyNode Node, int Column);

  // ---- Tree states -----------------------------------------------------------------
  TLazyTreeStates TreeStates() const { return states_; }
  // The one way in and out of states; fires OnStateChange when anything really changes.
  virtual void DoStateChange(TLazyTreeStates Enter, TLazyTreeStates Leave = {});

  // ---- Options and properties (how the tree looks: the base
  //      TLazyTreeAppearanceProperties, LazyTreeAppearanceProperties.h) ----------------
  TCustomLazyTreeOptions& TreeOptions() { return *options_; }
  const TCustomLazyTreeOptions& TreeOptions() const { return *options_; }
  void SetTreeOptions(const TCustomLazyTreeOptions& Value) { options_->Assign(Value); }
  TScrollBarOptions& ScrollBarOptions() { return *scrollBarOptions_; }
  void SetScrollBarOptions(const TScrollBarOptions& Value) { scrollBarOptions_->Assign(Value); }
  // Reactions of the option setters (called by the option objects).
  virtual void PaintOptionsChanged(TLTPaintOptions Old, TLTPaintOptions New);
  virtual void AutoOptionsChanged(TLTAutoOptions Old, TLTAutoOptions New);
  virtual void SelectionOptionsChanged(TLTSelectionOptions Old, TLTSelectionOptions New);
  virtual void MiscOptionsChanged(TLTMiscOptions Old, TLTMiscOptions New);
  virtual void ColorChanged(int Index);
  virtual void ScrollBarOptionsChanged();
  // Copies every published property of Source (nothing while this tree is read-only).
  virtual void Assign(const TBaseLazyTree& Source);

  int AnimationDuration() const { return animationDuration_; }
  void SetAnimationDuration(int v);
  int AutoExpandDelay() const { return autoExpandDelay_; }
  void SetAutoExpandDelay(int v);
  int ChangeDelay() const { return changeDelay_; }
  void SetChangeDelay(int v);
  int DefaultNodeHeight() const { return store_.DefaultNodeHeight(); }
  void SetDefaultNodeHeight(int v);
  bool WantTabs() const { return wantTabs_; }
  void SetWantTabs(bool v) { wantTabs_ = v; }
  QMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(QMenu* v) { popupMenu_ = v; }
  QColor Color() const;
  // Form scaling by M/D: with toAutoChangeScale the default row height follows.
  virtual void ChangeScale(int M, int D);
  // Runs the steps a form performs once every stored property is read.
  void BeginLoading();
  virtual void Loaded();
  bool IsLoading() const { return loading_; }

  // ---- Scrolling -------------------------------------------------------------------
  int OffsetX() const { return offsetX_; }
  int OffsetY() const { return offsetY_; }
  void SetOffsetX(int Value);
  void SetOffsetY(int Value);
  virtual bool SetOffsets(QPoint NewOffsets, TScrollUpdateOptions Options = DefaultScrollUpdateFlags,
                          QRect ClipRect = QRect());
  int RangeX() const { return rangeX_; }
  int RangeY() const { return rangeY_; }
  int ClientWidth() const;
  int ClientHeight() const;
  virtual void RefreshScrollBars(bool DoRepaint);
  void UpdateScrollBars(bool DoRepaint);

  // ---- Repainting ------------------------------------------------------------------
  virtual void InvalidateNodeRow(PLazyNode Node);
  void InvalidateFromNode(PLazyNode Node);
  void InvalidateChildren(PLazyNode Node, bool Recursive);
  void InvalidateColumnStrip(int Column);
  void RedrawNodeRow(PLazyNode Node);
  void InvalidateTree();
  // The node's row in window coordinates (empty when not in view).
  QRect GetDisplayRect(PLazyNode Node, int Column = -1, bool TextOnly = false);

  // ---- Header, columns, painting, images and check states (LazyTreesHeader.cpp, LazyTreesPaint.cpp,
  //      LazyTreesCheckBoxes.cpp, LazyTreesNodeOrder.cpp)
  TLTHeader& Header() const { return *header_; }
  TLazyTreeColumns& Columns() const;
  // Right to left when the control's layout runs right to left.
  TBiDiMode BiDiMode() const;
  // The widest content of a column over all visible nodes (-1: the tree without columns).
  // O(visible nodes).
  int GetColumnContentWidth(TColumnIndex Column);
  // The rows' width without header columns: the widest row among those in the window.
  int HorizontalRangeWithoutColumns();
  // Paints Window (tree coordinates) to TargetCanvas at Target, one row at a time through
  // an off-screen row image. O(rows in Window).
  void PaintTree(QPainter& TargetCanvas, const QRect& Window, QPoint Target, TLTPaintSwitches PaintOptions);
  // A cell in window coordinates (column -1: the whole row); with TextOnly only where the
  // content goes; with Unclipped content wider than the cell keeps its own width.
  QRect CellDisplayRect(PLazyNode Node, TColumnIndex Column, bool TextOnly, bool Unclipped = false);
  // The list that CheckImageKind selects (the image lists are LazyTreeImageLists.h).
  TLTImageList* CheckImages() const;
  // Where a drop would go while something is dragged over the tree.
  PLazyNode DropTargetNode() const { return drag_.dropTarget; }
  TDropMode LastDropMode() const { return drag_.dropMode; }
  void SetDropTarget(PLazyNode Node, TDropMode Mode);
  // 0 for the same node, positive when A comes after B in display order.
  int NodeOrder(PLazyNode A, PLazyNode B) const;
  // Moves the entries without the low bit set together; -1 for an empty array.
  static int CompactNodeArray(quintptr* Array, int Count);
  // The expand and collapse buttons and the line pattern, after a change of their look.
  void RebuildButtons();
  const QImage& ButtonImage(bool Expanded) const { return paint_.Button(Expanded); }

  // ---- Hit testing -----------------------------------------------------------------
  virtual void HitTestAt(int X, int Y, bool Relative, THitInfo& HitInfo);

  // ---- Queries for accessibility tools --------------------------------------------
  PLazyNode TVMGetNextItem(TTreeViewQuery Query, PLazyNode Item);
  bool TVMGetItemRect(PLazyNode Item, bool TextOnly, QRect& Rect);
  bool TVMGetItem(TTreeViewItem& Item);

  // ---- Timers (the driver, the clock and stopping are the base TLazyTreeInteraction) --
  // What a timer's expiry does, by id.
  virtual void HandleTimer(int Id);

  // Bytes held for nodes (blocks live or free, and the hidden root).
  std::size_t NodeMemoryBytes() const { return store_.MemoryBytes(); }

  // ---- Consistency check -----------------------------------------------------------
  // Recomputes every node's total count, total height and all-children-hidden flag and
  // the visible count from scratch; returns one line per disagreement, empty when all agree.
  QStringList CheckTotals();

  // The panning cursor name for an offset from the panning start.
  static QString PanningCursorName(int dx, int dy, bool CanScrollHorizontally, bool CanScrollVertically);
  // Which effect a drop should have, from the source, the keys and what is allowed.
  TDropEffect SuggestDropEffect(QObject* Source, TShiftState Shift, TDropEffects AllowedEffects) const;
  // The animation the hints use, resolving the system default.
  virtual THintAnimationType GetHintAnimationType() const;

  // ---- What the header, its columns and the hint window call back --------------------
  // Header events, raised by the header (defaults in LazyTreesHeader.cpp).
  virtual void DoColumnResize(TColumnIndex Column);
  virtual bool DoHeaderDragging(TColumnIndex Column);
  virtual void DoHeaderDragged(TColumnIndex Column, int OldPosition);
  virtual void DoHeaderDraggedOut(TColumnIndex Column, QPoint DropPosition);
  virtual void DoHeaderClick(TColumnIndex Column, Qt::MouseButton Button, TShiftState Shift, QPoint P);
  virtual void DoHeaderDblClick(TColumnIndex Column, Qt::MouseButton Button, TShiftState Shift, QPoint P);
  virtual void DoHeaderMouseDown(Qt::MouseButton Button, TShiftState Shift, QPoint P);
  virtual void DoHeaderMouseUp(Qt::MouseButton Button, TShiftState Shift, QPoint P);
  virtual void DoHeaderMouseMove(TShiftState Shift, QPoint P);
  virtual void DoGetHeaderCursor(QCursor& Cursor);
  // The colour a painting step uses: the set's colour, or the palette's for a default one.
  QColor PaintColor(int Index) const;
  // An open edit: the base tree has no editor.
  virtual bool IsEditing() const { return states_.Contains(tsEditing); }
  virtual bool EndEditNode() { return FinishEdit(); }
  // The header moved the main column: an open edit ends, and without extended focus the
  // focus goes to the new main column (no focus events: the node stays).
  void MainColumnChanged(TColumnIndex Column);
  // The header's height or visibility changed: the rows start below it.
  void ApplyFrame();
  // The text a tooltip shows for a cell (the string tree's cell text).
  virtual QString HintCellText(PLazyNode, int) { return {}; }
  // The hint text of a cell from the owner (the string tree's OnGetHint).
  virtual QString DoGetHint(PLazyNode, int) { return {}; }
  // Font and text rectangle the hint of a cell is drawn with.
  virtual QFont CellFont(PLazyNode, int) { return font(); }
  virtual void CancelHint();
  // The hint window closed: the next hint starts afresh.
  void HintWindowHidden() { lastHintRect_ = QRect(); }

protected:
  // ---- Owner hooks that are no single event (the events' own operations are the
  //      base TLazyTreeOwnerHooks, LazyTreeOwnerHooks.h) ----------------------------
  virtual bool CanAutoScroll() const;
  virtual bool DoDragImageWanted() const { return dragImageKind_ != diNoImage; }
  virtual bool HasPopupMenu(PLazyNode Node, int Column, QPoint Position);

  // ---- Tree stream hooks: a descendant adds its chunks (the string tree its caption) --
  virtual void DoSaveNode(PLazyNode Node, TLazyTreeStream& Stream);
  virtual void DoLoadNode(PLazyNode Node, TLazyTreeStream& Stream);
  // The parts of a node's chunk after its base chunk (which WriteNodeChunk writes with
  // the children): the owner's user chunk; a descendant adds its own parts after it.
  virtual void WriteNodeParts(TLazyTreeStream& Stream, PLazyNode Node);
  // Reads a node chunk's header and hands each part to ReadNodePart, reads limited to
  // the part.
  virtual void ReadNodeChunk(TLazyTreeStream& Stream, int Version, PLazyNode Node);
  // One part of a node chunk, the stream at its first byte; false for a part it skipped.
  virtual bool ReadNodePart(TLazyTreeStream& Stream, int Version, PLazyNode Node, std::uint32_t ChunkType,
                            std::uint32_t ChunkSize);
  virtual void SkipNodeChunk(TLazyTreeStream& Stream);

  // ---- Hooks that the header, painting, string tree and data-transfer code fill (the
  //      column queries are the base TLazyTreeColumnQueries, LazyTreeColumnQueries.h) --
  // Mouse input goes to the header first while it is dragging or sizing a column.
  virtual bool HeaderHandlesMouse(QMouseEvent*) { return false; }
  // ---- Painting steps and header events (LazyTreesPaint.cpp, LazyTreesHeader.cpp) ----------
  // The column where the cell that starts at Column ends (the next visible column; with
  // toAutoSpanColumns empty cells of left-to-right columns are spanned).
  virtual TColumnIndex NextCellColumn(PLazyNode Node, TColumnIndex Column);
  virtual int CheckImageIndex(PLazyNode Node);
  virtual void PaintCheckImage(QPainter& Canvas, const TLTPaintInfo& PaintInfo, bool Selected);
  virtual void PaintNodeImage(QPainter& Canvas, const TLTPaintInfo& PaintInfo, const TLTCellImage& Image,
                              bool Selected, int OverlayIndex);
  virtual void PaintDropMark(QPainter& Canvas, PLazyNode Node, const QRect& R);
  virtual void PaintSelectionRectangle(QPainter& Canvas, const QRect& Window);
  // The row image rows are painted into, and its copy to the target; tests record instead.
  virtual QPaintDevice* RowBuffer(QSize Size);
  virtual void FlushRowBuffer(QPainter& Target, QPoint At);
  virtual void DoGetLineStyle(std::array<std::uint8_t, 8>& Bits);
  struct TPaintSteps;  // the steps of painting rows and cells (LazyTreesPaint.cpp)
  void PaintCell(QPainter& Canvas, TLTPaintInfo& Info, TColumnIndex Column, QRect CellRect, const QRect& Window,
                 bool LastCell);
  QBrush LineBrush(const QColor& Colour) const;
  // Sorting: SortChildren and SortTree are public (block "working with the tree").
  // The whole paint of the client area: rows in view, then the area below them.
  virtual void PaintTree(QPainter& Canvas, const QRect& Window);
  // An open edit is ended or cancelled (IsEditing and EndEditNode are public).
  virtual void CancelEditNode() { AbortEdit(); }
  virtual bool EditNode(PLazyNode Node, int Column) { return EditCell(Node, Column); }
  virtual bool CanEdit(PLazyNode Node, int Column);
  // Incremental search: the keys that reach the search while it runs.
  virtual void IncrementalSearchKey(QChar Key);
  // Clipboard and moves into another tree: the node format comes with the tree stream.
  virtual void CopyToClipboard() { CopySelectedToClipboard(); }
  virtual void CutToClipboard() { CutSelectedToClipboard(); }
  virtual PLazyNode CopyNodeInto(PLazyNode Source, TBaseLazyTree& TargetTree, PLazyNode Target,
                                 TLTNodeAttachMode Mode);
  // Node clicks: focus, selection and the expand button.
  virtual void HandleMouseDown(Qt::MouseButton Button, TShiftState Shift, const THitInfo& HitInfo);
  virtual void HandleMouseUp(Qt::MouseButton Button, TShiftState Shift, const THitInfo& HitInfo);
  virtual void HandleMouseDblClick(Qt::MouseButton Button, TShiftState Shift, const THitInfo& HitInfo);
  // The key handling after OnKeyAction allowed it; false when the key was not ours.
  virtual bool HandleKeyDown(int Key, TShiftState Shift, const QString& Text);
  // What a key command did, and the handlers the key table's commands run
  // (LazyTreesKeys.cpp).
  struct TKeyOutcome;
  struct TKeyCommands;
  // Sets a node's check state with tri-state propagation down and up and radio groups;
  // false when the node is already changing or its parent refused the change. Every
  // other node it changes is asked (OnChecking) and told (OnChecked) on its own. Walks
  // without recursion, however deep the tree.
  virtual bool ApplyCheckState(PLazyNode Node, TCheckState State);
  // The text of a cell for tools that read the tree; the string tree answers it.
  virtual QString NodeText(PLazyNode, int) const { return {}; }
  // The incremental search forgets where it last matched.
  virtual void ForgetSearchHit();
  // The cursor for a wheel-panning direction by its name.
  virtual QCursor PanningCursor(const QString& Name) const;
  void ShowPopupAt(PLazyNode Node, int Column, QPoint ViewportPos);
  THitInfo HitAt(QPoint ViewportPos);
  struct TInputSteps;  // wheel panning, auto-scroll ticks, the bevels (LazyTreesInput.cpp)
  virtual void AnimateToggleStep(PLazyNode Node, int Delta, bool Expanding);

  // ---- Working with the tree: hooks and helpers --------------------------------------
  // Widths of what stands before the label in a cell (image lists come with painting).
  virtual int CheckImageWidth() const;
  virtual int ImageWidth(PLazyNode Node, int Column, TLTImageKind Kind);
  // The editor: the base tree asks OnCreateEditor.
  virtual std::shared_ptr<ILTEditLink> CreateEditLink();
  virtual void EditLinkReleased() {}
  // The clipboard data of the selection; the data object comes with data transfer.
  virtual std::unique_ptr<QMimeData> CreateClipboardData(bool ForCut);
  // The owner's data object (OnCreateDataObject), else the tree's own.
  std::unique_ptr<QMimeData> CreateDataObject(bool ForClipboard);
  // The owner's drag events (Accept starts false; OnDragDrop gets the offered formats).
  virtual bool DoDragOver(QObject* Source, TShiftState Shift, TDragState State, QPoint Pt, TDropMode Mode,
                          TDropEffect& Effect);
  virtual void DoDragDrop(QObject* Source, const QMimeData* DataObject, const QStringList& Formats, TShiftState Shift,
                          QPoint Pt, TDropEffect& Effect, TDropMode Mode);
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dragMoveEvent(QDragMoveEvent* e) override;
  void dragLeaveEvent(QDragLeaveEvent* e) override;
  void dropEvent(QDropEvent* e) override;
  struct TDragSteps;  // the drop target leaving, the class drag (LazyTreesDragDrop.cpp)
  // A drag of the selection is waiting for the mouse to pass the threshold.
  void CheckDragStart(QPoint ViewportPos);
  // The cell span with empty neighbours: [left, right) in content coordinates.
  QPair<int, int> CellSpan(PLazyNode Node, int Column);
  void HitTestRow(PLazyNode Node, int Column, int X, int CellWidth, THitInfo& Hit);
  void HitTestRowRightToLeft(PLazyNode Node, int Column, int X, int CellWidth, THitInfo& Hit);
  // The click rules behind HandleMouseDown/Up/DblClick (LazyTreesClicks.cpp).
  void HandleNodeClick(Qt::MouseButton Button, TShiftState Shift, const THitInfo& Hit);
  void HandleNodeRelease(Qt::MouseButton Button, TShiftState Shift, const THitInfo& Hit);
  void HandleNodeDblClick(Qt::MouseButton Button, TShiftState Shift, const THitInfo& Hit);
  struct TClickSteps;  // the steps of a press over the nodes and beside them (LazyTreesClicks.cpp)
  // A press and a release on a check box (LazyTreesCheckBoxes.cpp).
  void HandleCheckPress(PLazyNode Node);
  void HandleCheckRelease(const THitInfo& Hit);
  // The selection rectangle follows the mouse; which nodes it selects comes with painting.
  void DragSelectionRectangle(QPoint ViewportPos);
  // Selects and deselects the nodes the dragged rectangle (normalised, content
  // coordinates) takes in or leaves; toggles them when the drag started with Ctrl.
  virtual void HandleDrawSelection(QRect OldRect, QRect NewRect);
  struct TSelectionRectangleSteps;  // where a row's label stands (LazyTreesSelectionRectangle.cpp)
  struct TSearchSteps;  // the walk of the incremental search (LazyTreesSearch.cpp)
  struct TSortSteps;  // sorting one sibling chain (LazyTreesSort.cpp)
  void DropEditSilently();
  // A node about to be freed leaves the search, a pending check and an open edit.
  void ForgetWorkingNode(PLazyNode Node);

  // ---- Qt events -----------------------------------------------------------------
  bool event(QEvent* e) override;
  bool viewportEvent(QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void scrollContentsBy(int dx, int dy) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  bool focusNextPrevChild(bool next) override;
  void changeEvent(QEvent* e) override;
  QSize sizeHint() const override { return {200, 100}; }

  // ---- Helpers shared by the concern files ---------------------------------------
  // The node store's bookkeeping, as the concern files call it (see LazyNodeStore.h).
  PLazyNode MakeNewNode();
  bool IsRealNode(PLazyNode Node) const { return store_.IsRealNode(Node); }
  void InternalConnectNode(PLazyNode Node, PLazyNode Destination, TLTNodeAttachMode Mode);
  struct TStructureSteps;  // the steps of unlinking and deleting nodes (LazyTreesStructure.cpp)
  void StructureChange(PLazyNode Node, TChangeReason Reason);
  void Change(PLazyNode Node);
  void DeliverStructureChange();
  void DeliverChange();
  struct TExpandSteps;  // the steps of the toggle animation and change advice (LazyTreesExpand.cpp)
  void AnimationTick();
  void SelectRange(PLazyNode From, PLazyNode To, bool AddOnly);
  void FocusAndSelect(PLazyNode Node, TShiftState Shift);
  void StopWheelPanning();
  void UpdateHotNode(QPoint ViewportPos);
  void ApplyScrollBarPolicies();
  void SetWindowRedraw(bool On);
  QMenu* FindPopupMenu(PLazyNode Node, int Column, QPoint Position, bool& AskedSomebody);

  // ---- State ---------------------------------------------------------------------
  TLazyNodeStore store_{this};
  int updateCount_ = 0;
  int synchUpdateCount_ = 0;
  TLazyTreeStates states_;
  bool destroying_ = false;
  bool loading_ = false;
  unsigned storedRootCount_ = 0;
  PLazyNode focusedNode_ = nullptr;
  int focusedColumn_ = -1;
  PLazyNode hotNode_ = nullptr;
  TLazySelection selection_{store_};
  int offsetX_ = 0;
  int offsetY_ = 0;
  int rangeX_ = 0;
  int rangeY_ = 0;
  bool updatingScrollBars_ = false;
  PLazyNode lastStructureChangeNode_ = nullptr;
  TChangeReason lastStructureChangeReason_ = crIgnore;
  PLazyNode lastChangedNode_ = nullptr;

  std::unique_ptr<TCustomLazyTreeOptions> options_;
  std::unique_ptr<TScrollBarOptions> scrollBarOptions_;
  std::unique_ptr<TToggleAnimation> animation_;
  PLazyNode animatedNode_ = nullptr;
  bool animationExpanding_ = false;

  // Tree stream: the steps that finish the nodes read (LazyTreesStream.cpp), and how many
  // of them were selected (counted as they are read, so most reads skip the walk).
  struct TStreamSteps;
  unsigned loadedSelected_ = 0;

  // The layouter (heights, row positions, the position cache) and the control as the
  // layouter sees it (LazyTreesLayout.cpp).
  class TLayoutHost final : public TLazyTreeLayoutHost {
  public:
    explicit TLayoutHost(TBaseLazyTree& Tree) : tree_(Tree) {}
    void InitializeNode(PLazyNode Node) override;
    void InitializeChildren(PLazyNode Node) override;
    void MeasureItem(PLazyNode Node, int& Height) override;
    void ApplyMeasuredHeight(PLazyNode Node, int Height) override;
    TLazyTreeStates LayoutStates() const override;
    void ChangeLayoutStates(TLazyTreeStates Enter, TLazyTreeStates Leave) override;

  private:
    TBaseLazyTree& tree_;
  };
  TLayoutHost layoutHost_{*this};
  TLazyTreeLayouter layouter_{store_, layoutHost_};

  int animationDuration_ = 200;
  int autoExpandDelay_ = 1000;
  int changeDelay_ = 0;
  bool wantTabs_ = false;
  QPointer<QMenu> popupMenu_;

  // Header, painting, images and check states
  std::unique_ptr<TLTHeader> header_;
  TShiftState drawSelectionShift_;  // the keys held when the selection rectangle started
  // Buttons, line pattern and brushes, the row image (LazyTreePaintResources.h).
  TLazyTreePaintResources paint_;
  // Working with the tree (its input, search and edit are in TLazyTreeInteraction).
  QRect selectRectangle_;    // the dragged selection rectangle in content coordinates
  QVector<PLazyNode>* sortDescend_ = nullptr;  // where a whole-tree sort collects subtrees
  QRect lastHintRect_;
  QPointer<TLazyTreeHintWindow> hintWindow_;

  // Clipboard and drag and drop.
  std::uint32_t treeId_ = 0;
  TClipboardFormats clipboardFormats_{this};
  std::unique_ptr<TLTDragManager> dragManager_;
  std::unique_ptr<TLTDragImage> dragImage_;
  TLazyTreeDragState drag_;
};

// The owner-drawn tree stands in its own file; the files that know it by this header keep
// finding it here.
#include "treeview/LazyDrawTree.h"
