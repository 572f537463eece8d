#pragma once
// The enumerations and plain records of the tree control's properties, its drag and
// drop, its scrolling and its accessibility queries. Kept apart from the control so a
// reader sees the vocabulary in one place and helpers can use it without the widget.
#include "treeview/LazyTreeTypes.h"

#include <QPoint>
#include <QRect>
#include <QString>

#include <cstdint>

enum TLTAlignment { taLeftJustify, taRightJustify, taCenter };
enum TLTBorderStyle { bsNone, bsSingle };
enum TLTButtonStyle { bsRectangle, bsTriangle };
enum TLTButtonFillMode { fmTreeColor, fmWindowColor, fmShaded, fmTransparent };
enum TCheckImageKind { ckLightCheck, ckDarkCheck, ckLightTick, ckDarkTick, ckFlat, ckXP, ckCustom, ckSystem, ckSystemFlat };
enum TLTIncrementalSearch { isAll, isNone, isInitializedOnly, isVisibleOnly };
enum TLTSearchDirection { sdForward, sdBackward };
enum TLTSearchStart { ssAlwaysStartOver, ssLastHit, ssFocusedNode };
enum TLTLineMode { lmNormal, lmBands };
enum TLTLineStyle { lsCustomStyle, lsDotted, lsSolid };
enum TLTNodeAlignment { naFromBottom, naFromTop, naProportional };
enum TLTHintMode { hmDefault, hmHint, hmHintAndDefault, hmTooltip };
enum THintAnimationType { hatNone, hatFade, hatSlide, hatSystemDefault };
enum TLTDragImageKind { diComplete, diMainColumnOnly, diNoImage };
enum TLTDragType { dtOLE, dtVCL };
enum TLTDrawSelectionMode { smDottedRectangle, smBlendedRectangle };
enum TDragOperation { doCopy, doMove, doLink };
enum TLTDragMode { dmManual, dmAutomatic };
// Where the view scrolls by itself while a drag or a selection rectangle nears an edge.
enum TAutoScrollDirection { adLeft, adUp, adRight, adDown };
using TAutoScrollDirections = TSet<TAutoScrollDirection>;
// Drop effects as a drag reports them: a set of bits, with one bit for "the target scrolls".
inline constexpr std::uint32_t DROPEFFECT_NONE = 0, DROPEFFECT_COPY = 1, DROPEFFECT_MOVE = 2, DROPEFFECT_LINK = 4,
                               DROPEFFECT_SCROLL = 0x80000000u;
using TDragOperations = TSet<TDragOperation>;
enum TBevelKind { bkNone, bkTile, bkSoft, bkFlat };
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum TBevelEdge { beLeft, beTop, beRight, beBottom };
using TBevelEdges = TSet<TBevelEdge>;

// What a change of scroll offsets should also update.
enum TScrollUpdateOption { suoRepaintHeader, suoRepaintScrollBars, suoScrollClientArea, suoUpdateNCArea };
using TScrollUpdateOptions = TSet<TScrollUpdateOption>;
inline constexpr TScrollUpdateOptions DefaultScrollUpdateFlags = {suoRepaintHeader, suoRepaintScrollBars,
                                                                   suoScrollClientArea, suoUpdateNCArea};

// The standard tree-view queries for accessibility tools, answered with nodes as items.
enum TTreeViewQuery { TVGN_ROOT, TVGN_NEXT, TVGN_PREVIOUS, TVGN_PARENT, TVGN_CHILD, TVGN_FIRSTVISIBLE,
                      TVGN_NEXTVISIBLE, TVGN_PREVIOUSVISIBLE, TVGN_DROPHILITE, TVGN_CARET, TVGN_LASTVISIBLE };
enum TTreeViewItemState { tvisFocused, tvisSelected, tvisCut, tvisDropHilited, tvisExpanded };
struct TTreeViewItem {
  PLazyNode Item = nullptr;
  int ChildCount = 0;
  int Image = -1;
  int SelectedImage = -1;
  int StateImage = -1;
  int OverlayImage = -1;
  TSet<TTreeViewItemState> State;
  QString Text;
};

// The standard edit actions while the tree has the focus.
enum TLTEditAction { eaSelectAll, eaCopy, eaCut, eaPaste, eaDelete };

// Whether and what a hint shows at a point (TBaseLazyTree::HintShow fills it).
struct TLTHintInfo {
  QString HintStr;          // the text for the standard hint window (hmDefault)
  QRect CursorRect;         // viewport coordinates; moving inside keeps the hint
  QPoint HintPos;           // global position of the hint window
  bool OwnWindow = false;   // true: the tree's hint window shows HintData
  PLazyNode Node = nullptr;
  int Column = -1;
  QString Text;             // a text fixed in advance (header hints)
};
