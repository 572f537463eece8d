#pragma once
// The tree's option sets, its colour set and its scroll-bar options. Each setter compares
// first and hands a real change to the tree, which decides what to repaint or rebuild.
#include "treeview/LazyTreeTypes.h"

#include <QColor>
#include <QStringList>

#include <array>

class TBaseLazyTree;

enum TLTPaintOption : int {
  toHideFocusRect, toHideSelection, toHotTrack, toPopupMode, toShowBackground, toShowButtons,
  toShowDropmark, toShowHorzGridLines, toShowRoot, toShowTreeLines, toShowVertGridLines, toThemeAware,
  toUseBlendedImages, toGhostedIfUnfocused, toFullVertGridLines, toAlwaysHideSelection,
  toUseBlendedSelection,
};
enum TLTAnimationOption : int { toAnimatedToggle };
enum TLTAutoOption : int {
  toAutoDropExpand, toAutoExpand, toAutoScroll, toAutoScrollOnExpand, toAutoSort, toAutoSpanColumns,
  toAutoTristateTracking, toAutoHideButtons, toAutoDeleteMovedNodes, toDisableAutoscrollOnFocus,
  toAutoChangeScale, toAutoFreeOnCollapse,
};
enum TLTSelectionOption : int {
  toDisableDrawSelection, toExtendedFocus, toFullRowSelect, toLevelSelectConstraint, toMiddleClickSelect,
  toMultiSelect, toRightClickSelect, toSiblingSelectConstraint, toCenterScrollIntoView,
  toSimpleDrawSelection,
};
enum TLTMiscOption : int {
  toAcceptOLEDrop, toCheckSupport, toEditable, toFullRepaintOnResize, toGridExtensions, toInitOnSave,
  toReportMode, toToggleOnDblClick, toWheelPanning, toReadOnly, toVariableNodeHeight, toFullRowDrag,
};
using TLTPaintOptions = TSet<TLTPaintOption>;
using TLTAnimationOptions = TSet<TLTAnimationOption>;
using TLTAutoOptions = TSet<TLTAutoOption>;
using TLTSelectionOptions = TSet<TLTSelectionOption>;
using TLTMiscOptions = TSet<TLTMiscOption>;

inline constexpr TLTPaintOptions DefaultPaintOptions = {toShowButtons, toShowDropmark, toShowRoot,
                                                        toShowTreeLines, toThemeAware, toUseBlendedImages};
inline constexpr TLTAnimationOptions DefaultAnimationOptions = {};
inline constexpr TLTAutoOptions DefaultAutoOptions = {toAutoDropExpand, toAutoScrollOnExpand,
                                                      toAutoTristateTracking, toAutoDeleteMovedNodes};
inline constexpr TLTSelectionOptions DefaultSelectionOptions = {};
inline constexpr TLTMiscOptions DefaultMiscOptions = {toAcceptOLEDrop, toFullRepaintOnResize, toInitOnSave,
                                                      toToggleOnDblClick, toWheelPanning};

class TCustomLazyTreeOptions {
public:
  explicit TCustomLazyTreeOptions(TBaseLazyTree* owner) : owner_(owner) {}
  virtual ~TCustomLazyTreeOptions() = default;
  TCustomLazyTreeOptions(const TCustomLazyTreeOptions&) = delete;
  TCustomLazyTreeOptions& operator=(const TCustomLazyTreeOptions&) = delete;

  TLTPaintOptions PaintOptions() const { return paint_; }
  TLTAnimationOptions AnimationOptions() const { return animation_; }
  TLTAutoOptions AutoOptions() const { return auto_; }
  TLTSelectionOptions SelectionOptions() const { return selection_; }
  TLTMiscOptions MiscOptions() const { return misc_; }

  void SetPaintOptions(TLTPaintOptions value);
  void SetAnimationOptions(TLTAnimationOptions value);
  void SetAutoOptions(TLTAutoOptions value);
  void SetSelectionOptions(TLTSelectionOptions value);
  void SetMiscOptions(TLTMiscOptions value);

  // Copies the five sets through the setters, so the receiving tree reacts as to a change.
  virtual void Assign(const TCustomLazyTreeOptions& source);

  // Reads the old one-set option list by name ("voShowRoot" sets toShowRoot). The five
  // sets are cleared first; unknown names are ignored.
  void ReadLegacyOptions(const QStringList& names);

  TBaseLazyTree* Owner() const { return owner_; }

private:
  TBaseLazyTree* owner_;
  TLTPaintOptions paint_ = DefaultPaintOptions;
  TLTAnimationOptions animation_ = DefaultAnimationOptions;
  TLTAutoOptions auto_ = DefaultAutoOptions;
  TLTSelectionOptions selection_ = DefaultSelectionOptions;
  TLTMiscOptions misc_ = DefaultMiscOptions;
};

// The tree's colours, by index. An invalid colour stands for "default" (the owner's
// choice falls back to the palette when painting).
class TLTColors {
public:
  enum Index {
    DisabledColor, DropMarkColor, DropTargetColor, FocusedSelectionColor, GridLineColor, TreeLineColor,
    UnfocusedSelectionColor, BorderColor, HotColor, FocusedSelectionBorderColor,
    UnfocusedSelectionBorderColor, DropTargetBorderColor, SelectionRectangleBlendColor,
    SelectionRectangleBorderColor, HeaderHotColor, Count
  };
  explicit TLTColors(TBaseLazyTree* owner);

  QColor Color(Index index) const { return colors_[index]; }
  void SetColor(Index index, const QColor& value);
  // Copies all colours, repainting once.
  void Assign(const TLTColors& source);

private:
  TBaseLazyTree* owner_;
  std::array<QColor, Count> colors_;
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TScrollBarStyle { sbmRegular, sbmFlat, sbm3D };

class TScrollBarOptions {
public:
  explicit TScrollBarOptions(TBaseLazyTree* owner) : owner_(owner) {}

  bool AlwaysVisible() const { return alwaysVisible_; }
  void SetAlwaysVisible(bool value);
  int HorizontalIncrement() const { return horizontalIncrement_; }
  void SetHorizontalIncrement(int value) { horizontalIncrement_ = value; }
  int VerticalIncrement() const { return verticalIncrement_; }
  void SetVerticalIncrement(int value) { verticalIncrement_ = value; }
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle value);
  TScrollBarStyle ScrollBarStyle() const { return style_; }
  // Only the regular style exists here: anything else is refused and the style stays.
  void SetScrollBarStyle(TScrollBarStyle value);
  void Assign(const TScrollBarOptions& source);

private:
  TBaseLazyTree* owner_;
  bool alwaysVisible_ = false;
  int horizontalIncrement_ = 20;
  int verticalIncrement_ = 20;
  TScrollStyle scrollBars_ = ssBoth;
  TScrollBarStyle style_ = sbmRegular;
};
