#pragma once
// The vocabulary of the tree's header and columns, kept apart so that the owner events
// can name it without pulling in the header classes.
#include "treeview/LazyTreeTypes.h"

// A column's index in the collection; -1 is no column, -2 what the lookups return when
// nothing is found.
using TColumnIndex = int;
using TColumnPosition = unsigned;
inline constexpr TColumnIndex NoColumn = -1;
inline constexpr TColumnIndex InvalidColumn = -2;

enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
enum TLTHeaderColumnLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TLazyTreeColumnStyle { vsText, vsOwnerDraw };
enum TSortDirection { sdAscending, sdDescending };
enum TLTHeaderStyle { hsThickButtons, hsFlatButtons, hsPlates, hsXPStyle };

enum TLTColumnOption : int {
  coAllowClick, coDraggable, coEnabled, coParentBidiMode, coParentColor, coResizable, coShowDropMark, coVisible,
  coAutoSpring,
};
using TLTColumnOptions = TSet<TLTColumnOption>;
inline constexpr TLTColumnOptions DefaultColumnOptions = {coAllowClick, coDraggable, coEnabled, coParentBidiMode,
                                                          coParentColor, coResizable, coShowDropMark, coVisible};
inline constexpr std::uint64_t kColumnOptionBits = 0x1FF;

enum TLTHeaderOption : int {
  hoAutoResize, hoColumnResize, hoDblClickResize, hoDrag, hoHotTrack, hoOwnerDraw, hoRestrictDrag, hoShowHint,
  hoShowImages, hoShowSortGlyphs, hoVisible, hoAutoSpring,
};
using TLTHeaderOptions = TSet<TLTHeaderOption>;
inline constexpr TLTHeaderOptions DefaultHeaderOptions = {hoColumnResize, hoDrag};
// What a stored form leaves out as the default.
inline constexpr TLTHeaderOptions StoredDefaultHeaderOptions = {hoColumnResize, hoDrag, hoShowSortGlyphs};
inline constexpr std::uint64_t kHeaderOptionBits = 0xFFF;

enum TLTHeaderState : int { hstFitting, hstDragging, hstDragPending, hstReading, hstResizing, hstResizePending };
using TLTHeaderStates = TSet<TLTHeaderState>;

enum TLTDropMarkMode { dmmNone, dmmLeft, dmmRight };
enum THeaderPaintElement : int { hpeBackground, hpeDropMark, hpeHeaderGlyph, hpeSortGlyph, hpeText };
using THeaderPaintElements = TSet<THeaderPaintElement>;

class TLazyTreeColumn;
struct THeaderPaintInfo;
