#pragma once
// The small vocabulary of the tree control: flag sets, the node record, the tree's
// states, change reasons, attach modes and the error class. Kept apart from the control
// so that models and helpers can use them without pulling in the widget.
#include "platform/Exception.h"

#include <QString>
#include <qnamespace.h>

#include <atomic>
#include <cstdint>
#include <initializer_list>

// A set of enumeration values held in one 64-bit word, as the option and state sets are.
template <typename E>
class TSet {
public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> elements) {
    for (E e : elements) bits_ |= Bit(e);
  }
  static constexpr TSet FromBits(std::uint64_t bits) {
    TSet s;
    s.bits_ = bits;
    return s;
  }
  constexpr std::uint64_t Bits() const { return bits_; }
  constexpr bool Contains(E e) const { return (bits_ & Bit(e)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr bool Intersects(TSet other) const { return (bits_ & other.bits_) != 0; }
  constexpr TSet operator+(TSet other) const { return FromBits(bits_ | other.bits_); }
  constexpr TSet operator-(TSet other) const { return FromBits(bits_ & ~other.bits_); }
  constexpr TSet operator*(TSet other) const { return FromBits(bits_ & other.bits_); }
  constexpr TSet& operator+=(TSet other) { bits_ |= other.bits_; return *this; }
  constexpr TSet& operator-=(TSet other) { bits_ &= ~other.bits_; return *this; }
  constexpr TSet& Include(E e) { bits_ |= Bit(e); return *this; }
  constexpr TSet& Exclude(E e) { bits_ &= ~Bit(e); return *this; }
  constexpr bool operator==(const TSet&) const = default;

private:
  static constexpr std::uint64_t Bit(E e) { return std::uint64_t(1) << static_cast<int>(e); }
  std::uint64_t bits_ = 0;
};

// Node states, bit positions in the node's 16-bit state word.
enum TLazyNodeState : int {
  nsInitialized = 0,
  nsChecking,
  nsCutOrCopy,
  nsDisabled,
  nsDeleting,
  nsExpanded,
  nsHasChildren,
  nsVisible,
  nsSelected,
  nsFreeNotify,
  nsAllChildrenHidden,
  nsClearing,
  nsMultiline,
  nsHeightMeasured,
};

// The states an owner may ask for when a node is initialised.
enum TLazyNodeInitState : int { ivsDisabled, ivsExpanded, ivsHasChildren, ivsMultiline, ivsSelected };
using TLazyNodeInitStates = TSet<TLazyNodeInitState>;

enum TCheckState : std::uint8_t {
  csUncheckedNormal,
  csUncheckedPressed,
  csCheckedNormal,
  csCheckedPressed,
  csMixedNormal,
  csMixedPressed,
};
enum TCheckType : std::uint8_t { ctNone, ctTriStateCheckBox, ctCheckBox, ctRadioButton, ctButton };

// One node. The block a node lives in holds these fields, then the internal data areas
// reserved by descendants of the control, then the owner's data, all zero-filled at
// creation; nothing else is kept per node.
struct TLazyNode {
  std::uint32_t Index;
  std::uint32_t ChildCount;
  std::uint16_t NodeHeight;
  std::uint16_t States;
  std::uint8_t Align;
  std::uint8_t CheckState;
  std::uint8_t CheckType;
  std::uint8_t Dummy;  // keeps the fields below aligned
  std::uint32_t TotalCount;
  std::uint32_t TotalHeight;
  TLazyNode* Parent;
  TLazyNode* PrevSibling;
  TLazyNode* NextSibling;
  TLazyNode* FirstChild;
  TLazyNode* LastChild;

  bool Has(TLazyNodeState s) const { return (States & (1u << s)) != 0; }
  void Include(TLazyNodeState s) { StoreStates(static_cast<std::uint16_t>(States | (1u << s))); }
  void Exclude(TLazyNodeState s) { StoreStates(static_cast<std::uint16_t>(States & ~(1u << s))); }
  void Set(TLazyNodeState s, bool on) { on ? Include(s) : Exclude(s); }
  // The position cache's worker reads the state word while this thread sets flags in it
  // (initialising or selecting nodes): only this thread writes it, each change as one
  // store that the worker reads whole.
  void StoreStates(std::uint16_t value) { std::atomic_ref<std::uint16_t>(States).store(value, std::memory_order_relaxed); }
  std::uint16_t LoadStates() const {
    return std::atomic_ref<std::uint16_t>(const_cast<std::uint16_t&>(States)).load(std::memory_order_relaxed);
  }
};
using PLazyNode = TLazyNode*;

// The tree's own states, entered and left only through the tree's state change.
enum TLazyTreeState : int {
  tsCancelHintAnimation,
  tsChangePending,
  tsCheckPropagation,
  tsClearPending,
  tsClipboardFlushing,
  tsCollapsing,
  tsCopyPending,
  tsCutPending,
  tsDrawSelPending,
  tsDrawSelecting,
  tsEditPending,
  tsEditing,
  tsExpanding,
  tsHint,
  tsInAnimation,
  tsIncrementalSearchPending,
  tsIncrementalSearching,
  tsIterating,
  tsKeyCheckPending,
  tsLeftButtonDown,
  tsLeftDblClick,
  tsMiddleButtonDown,
  tsMouseCheckPending,
  tsNeedRootCountUpdate,
  tsOLEDragPending,
  tsOLEDragging,
  tsPainting,
  tsPopupMenuShown,
  tsRightButtonDown,
  tsRightDblClick,
  tsScrollPending,
  tsScrolling,
  tsSizing,
  tsStopValidation,
  tsStructureChangePending,
  tsSynchMode,
  tsThumbTracking,
  tsToggleFocusedSelection,
  tsUpdateHiddenChildrenNeeded,
  tsUpdating,
  tsUseCache,
  tsUseThemes,
  tsVCLDragPending,
  tsVCLDragging,
  tsValidating,
  tsValidationNeeded,
  tsWheelPanning,
  tsWheelScrolling,
  tsWindowCreating,
};
using TLazyTreeStates = TSet<TLazyTreeState>;
inline constexpr int kLazyTreeStateCount = tsWindowCreating + 1;

enum TChangeReason { crIgnore, crAccumulated, crChildAdded, crChildDeleted, crNodeAdded, crNodeCopied, crNodeMoved };
enum TLTNodeAttachMode { amNoWhere, amInsertBefore, amInsertAfter, amAddChildFirst, amAddChildLast };
enum TLTUpdateState { usBegin, usBeginSynch, usSynch, usUpdate, usEnd, usEndSynch };

// Hit positions within the tree (filled by the hit test; the row details come with painting).
enum THitPosition : int {
  hpAbove, hpBelow, hpNowhere, hpOnItem, hpOnButton, hpOnCheckBox, hpOnIndent, hpOnStateIcon,
  hpOnNormalIcon, hpOnLabel, hpLeftOfLabel, hpRightOfLabel, hpToLeft, hpToRight,
};
using THitPositions = TSet<THitPosition>;
struct THitInfo {
  PLazyNode HitNode = nullptr;
  THitPositions HitPositions;
  int HitColumn = -1;
};

enum TDropEffect : int { deNone, deCopy, deMove, deLink };
using TDropEffects = TSet<TDropEffect>;

// Modifier keys as the owner events receive them.
enum TShiftStateElement : int { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateElement>;
// The keys and buttons of an input event as the owner events receive them.
inline TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons = {}) {
  TShiftState s;
  if (modifiers & Qt::ShiftModifier) s.Include(ssShift);
  if (modifiers & Qt::ControlModifier) s.Include(ssCtrl);
  if (modifiers & Qt::AltModifier) s.Include(ssAlt);
  if (buttons & Qt::LeftButton) s.Include(ssLeft);
  if (buttons & Qt::RightButton) s.Include(ssRight);
  if (buttons & Qt::MiddleButton) s.Include(ssMiddle);
  return s;
}

// Errors of the tree control carry a help context beside the message.
class ELazyTreeError : public Exception {
public:
  ELazyTreeError(QString message, int helpContext) : Exception(std::move(message)), helpContext_(helpContext) {}
  int HelpContext() const noexcept { return helpContext_; }

private:
  int helpContext_;
};

// Help contexts of the tree's errors.
inline constexpr int hcTFCannotMoveToChild = 2001;
inline constexpr int hcTFEditLinkIsNil = 2000;
inline constexpr int hcTFWrongStreamFormat = 2002;
inline constexpr int hcTFWrongStreamVersion = 2003;
inline constexpr int hcTFStreamTooSmall = 2004;
inline constexpr int hcTFCorruptStream1 = 2005;
inline constexpr int hcTFCorruptStream2 = 2006;
inline constexpr int hcTFTreeIterating = 2007;
