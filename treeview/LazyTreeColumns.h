#pragma once
// The columns of the tree: each has a width, a display position independent of its index
// in the collection, and options that make it visible, clickable, draggable or
// resizable. The collection keeps the position array (which column shows at each display
// position) and the left edges, and answers the geometric questions of the header and
// the painting: which column is at a point, where a column starts and ends, which visible
// column comes next.
//
// Costs: lookups by index and position are O(1); walks in display order and the left
// edges are O(columns); nothing here depends on the number of nodes.
#include "treeview/LazyTreeHeaderTypes.h"
#include "treeview/LazyTrees.h"

#include <QColor>
#include <QString>
#include <QVector>

#include <memory>
#include <vector>

class TLTHeader;
class TLazyTreeColumns;

class TLazyTreeColumn {
public:
  TLazyTreeColumn(TLazyTreeColumns& Owner, int Index);

  TLazyTreeColumns& Owner() const { return *owner_; }
  int Index() const { return index_; }
  // Moves the column to another collection index; its display position stays.
  void SetIndex(int NewIndex);
  // The caption when every character is Latin-1, else "Column <index>".
  QString DisplayName() const;

  TLTAlignment Alignment() const { return alignment_; }
  void SetAlignment(TLTAlignment Value);
  TBiDiMode BiDiMode() const { return biDiMode_; }
  void SetBiDiMode(TBiDiMode Value);
  QColor Color() const { return color_; }
  void SetColor(const QColor& Value);
  QString Hint() const { return hint_; }
  void SetHint(const QString& Value) { hint_ = Value; }
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int Value);
  TLTHeaderColumnLayout Layout() const { return layout_; }
  void SetLayout(TLTHeaderColumnLayout Value);
  int Margin() const { return margin_; }
  void SetMargin(int Value);
  int MaxWidth() const { return maxWidth_; }
  void SetMaxWidth(int Value);
  int MinWidth() const { return minWidth_; }
  void SetMinWidth(int Value);
  TLTColumnOptions Options() const { return options_; }
  void SetOptions(TLTColumnOptions Value);
  TColumnPosition Position() const { return position_; }
  void SetPosition(TColumnPosition Value);
  int Spacing() const { return spacing_; }
  void SetSpacing(int Value);
  TLazyTreeColumnStyle Style() const { return style_; }
  void SetStyle(TLazyTreeColumnStyle Value);
  int Tag() const { return tag_; }
  void SetTag(int Value) { tag_ = Value; }
  QString Text() const { return text_; }
  void SetText(const QString& Value);
  int Width() const { return width_; }
  void SetWidth(int Value);

  // Derived: the left edge in header coordinates (sum of the visible widths before it).
  int Left() const { return left_; }
  // The width before the last change.
  int PreviousWidth() const { return previousWidth_; }
  // The part of a spring share not yet applied.
  float SpringRest() const { return springRest_; }
  bool Visible() const { return options_.Contains(coVisible); }
  // The column reads right to left (its mode is not left-to-right).
  bool RightToLeft() const { return biDiMode_ != bdLeftToRight; }
  // The alignment to draw with: mirrored in right-to-left columns that align too.
  TLTAlignment DisplayAlignment() const;

private:
  friend class TLazyTreeColumns;
  friend class TLTHeader;
  void Changed();
  TLTHeader& Header() const;
  bool Loading() const;

  TLazyTreeColumns* owner_;
  int index_;
  TLTAlignment alignment_ = taLeftJustify;
  TBiDiMode biDiMode_ = bdLeftToRight;
  QColor color_;
  QString hint_;
  int imageIndex_ = -1;
  TLTHeaderColumnLayout layout_ = blGlyphLeft;
  int margin_ = 4;
  int maxWidth_ = 10000;
  int minWidth_ = 10;
  TLTColumnOptions options_ = DefaultColumnOptions;
  TColumnPosition position_ = 0;
  int spacing_ = 4;
  TLazyTreeColumnStyle style_ = vsText;
  int tag_ = 0;
  QString text_;
  int width_ = 50;
  int left_ = 0;
  int previousWidth_ = 50;
  float springRest_ = 0;
};

class TLazyTreeColumns {
public:
  explicit TLazyTreeColumns(TLTHeader& Header);
  ~TLazyTreeColumns();
  TLazyTreeColumns(const TLazyTreeColumns&) = delete;
  TLazyTreeColumns& operator=(const TLazyTreeColumns&) = delete;

  TLTHeader& Header() const { return *header_; }
  int Count() const { return static_cast<int>(items_.size()); }
  TLazyTreeColumn* Items(int Index) const { return items_[static_cast<std::size_t>(Index)].get(); }
  TLazyTreeColumn* operator[](int Index) const { return Items(Index); }
  // A new column at the last display position.
  TLazyTreeColumn* Add();
  void Delete(int Index);
  void Clear();
  // Changes inside an update are gathered into one at its end.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

  // ---- Lookups --------------------------------------------------------------------------
  bool IsColumnIndex(TColumnIndex Index) const { return Index >= 0 && Index < Count(); }
  // The visible column whose span holds P.X: with Relative, P is in window coordinates
  // (the spans moved by the horizontal offset). -2 for a negative point, a point below
  // the tree or no column there.
  TColumnIndex ColumnAtPoint(QPoint P, bool Relative) const;
  // The position array entry; -1 beyond it.
  TColumnIndex IndexOfPosition(TColumnPosition Position) const;
  // Display order walkers; -2 at the ends, for a negative index or when nothing is shown.
  TColumnIndex FirstShownColumn() const;
  TColumnIndex LastShownColumn() const;
  TColumnIndex ColumnAfter(TColumnIndex Index) const;
  TColumnIndex ColumnBefore(TColumnIndex Index) const;
  TColumnIndex ShownColumnAfter(TColumnIndex Index) const;
  TColumnIndex ShownColumnBefore(TColumnIndex Index) const;
  QVector<TColumnIndex> ShownColumnList() const;
  // -1: 0 and the client width; otherwise the column's edges in window coordinates.
  void ColumnSpan(TColumnIndex Index, int& Left, int& Right) const;
  // The right edge of the last visible column in display order (0 without one).
  int AllColumnsWidth() const;

  // ---- Layout ---------------------------------------------------------------------------
  // Positions from the array and left edges from the widths; skipped while loading or
  // inside an update unless forced.
  void RecomputeLefts(bool Force);
  // The auto-size column absorbs the room left by the others (see the header's options).
  void FitAutoSizeColumn(TColumnIndex CurrentIndex, bool Force);
  // Shares the change of the client width among the spring columns.
  void ResizeSpringColumns(int ClientWidth);
  // Resizes a column in visible steps, then sets its width.
  void ResizeAnimated(TColumnIndex Index, int NewWidth);

  // ---- Indexes the header keeps for its mouse handling ----------------------------------
  TColumnIndex HotIndex() const { return hotIndex_; }
  TColumnIndex PressedIndex() const { return pressedIndex_; }
  TColumnIndex ClickIndex() const { return clickIndex_; }
  TColumnIndex DropTarget() const { return dropTarget_; }
  bool DropBefore() const { return dropBefore_; }
  TColumnIndex DraggedIndex() const { return draggedIndex_; }
  TColumnIndex TrackIndex() const { return trackIndex_; }
  const QVector<TColumnIndex>& PositionArray() const { return positionToIndex_; }

private:
  friend class TLazyTreeColumn;
  friend class TLTHeader;
  // Keeps the position array as long as the collection and a permutation of it.
  void AdjustPositionArray();
  // Moves the entry of a column from one display position to another.
  void MovePosition(TLazyTreeColumn& Column, TColumnPosition NewPosition);
  // The array after a column's index changed (NewIndex -1: the column went away).
  void IndexChanged(int OldIndex, int NewIndex);
  // Entry [column.Position] := column index for every column (after loading).
  void RebuildPositionsFromColumns();
  // A column's property changed (nullptr: the collection as a whole).
  void ItemChanged(TLazyTreeColumn* Item);
  // ItemChanged for a column just added at the last position: the others keep their
  // lefts, so only the new one's is computed (adding stays amortised O(1)).
  void ColumnAppended(TLazyTreeColumn& Column);
  // The rest of a change once the lefts are current: the main and sort column checked,
  // the auto-size column fitted, the header and the rows repainted.
  void Refresh(TLazyTreeColumn* Item);
  void ColumnRemoved(int Index);
  void Renumber();

  TLTHeader* header_;
  std::vector<std::unique_ptr<TLazyTreeColumn>> items_;
  QVector<TColumnIndex> positionToIndex_;
  int updateCount_ = 0;
  bool changedInUpdate_ = false;
  bool clearing_ = false;
  bool needsPositionFix_ = false;
  TColumnIndex hotIndex_ = NoColumn;
  TColumnIndex pressedIndex_ = NoColumn;
  TColumnIndex clickIndex_ = NoColumn;
  TColumnIndex dropTarget_ = NoColumn;
  bool dropBefore_ = false;
  TColumnIndex draggedIndex_ = NoColumn;
  TColumnIndex trackIndex_ = NoColumn;
  int lastClientWidth_ = 0;
};
