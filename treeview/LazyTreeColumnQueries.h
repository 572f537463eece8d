#pragma once
// What the tree asks about its columns, as a base of the control: how many there are,
// which show and in what order, where they lie, the column under an X, and the sort and
// hint facts of the header. The answers come from the header the tree attaches once;
// each query is virtual, so a descendant may answer it itself.
// TBaseLazyTree is the only class built on this one (LazyTreeColumnQueries.cpp).
#include "treeview/LazyTreeControlTypes.h"

#include <QRect>
#include <QString>

#include <functional>

class TLTHeader;

class TLazyTreeColumnQueries {
public:
  virtual ~TLazyTreeColumnQueries() = default;

  // Column facts for hit tests, hints and text; single-column defaults until the header.
  virtual TLTAlignment ColumnAlignment(int Column) const;
  virtual bool ColumnIsRightToLeft(int Column) const;

protected:
  // What the queries read of the tree beside its header: the client width (the bounds of
  // a column the header does not have), and the tree's own alignment and reading
  // direction (what a tree without columns reads as).
  struct TTreeFacts {
    std::function<int()> ClientWidth;
    std::function<TLTAlignment()> Alignment;
    std::function<bool()> RightToLeft;
  };
  // The header is the tree's and lives as long as the tree.
  void AttachHeader(TLTHeader* Header, TTreeFacts Tree);

  // Columns: without a header the tree has none; the main column is then -1.
  virtual int HeaderHeight() const;
  virtual int ColumnCount() const;
  virtual int MainColumn() const;
  virtual bool IsColumnVisible(int Column) const;
  virtual bool ColumnCanFocus(int Column) const;
  virtual int FirstVisibleColumn() const;
  virtual int LastVisibleColumn() const;
  virtual int NextVisibleColumn(int Column) const;
  virtual int PreviousVisibleColumn(int Column) const;
  virtual int ColumnsWidth() const;
  virtual int SortColumn() const;
  virtual QRect ColumnBounds(int Column) const;
  virtual void FitColumnsToContent();
  virtual void RestoreColumnWidths();
  // The header's sort direction for automatic sorting (the header answers it).
  virtual bool SortAscending() const;
  virtual QString ColumnHint(int Column) const;
  virtual bool HeaderShowsHints() const;
  // The header is dragging, sizing or pressing a column.
  virtual bool HeaderIsBusy() const;
  // The visible column under a content X, -1 for none (or without columns).
  virtual int ColumnAtX(int X) const;

private:
  TLTHeader* columnHeader_ = nullptr;
  TTreeFacts treeFacts_;
};
