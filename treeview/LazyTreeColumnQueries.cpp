// The column queries over the attached header, with the defaults of a tree without one.
#include "treeview/LazyTreeColumnQueries.h"

#include "treeview/LazyTreeColumns.h"
#include "treeview/LazyTreeHeader.h"

#include <utility>

void TLazyTreeColumnQueries::AttachHeader(TLTHeader* header, TTreeFacts tree) {
  columnHeader_ = header;
  treeFacts_ = std::move(tree);
}

TLTAlignment TLazyTreeColumnQueries::ColumnAlignment(int column) const {
  const TLazyTreeColumns& columns = columnHeader_->Columns();
  return columns.IsColumnIndex(column) ? columns[column]->Alignment() : treeFacts_.Alignment();
}

bool TLazyTreeColumnQueries::ColumnIsRightToLeft(int column) const {
  if (columnHeader_->Columns().IsColumnIndex(column)) return columnHeader_->Columns()[column]->RightToLeft();
  return ColumnCount() == 0 && treeFacts_.RightToLeft();
}

int TLazyTreeColumnQueries::HeaderHeight() const {
  return columnHeader_ && columnHeader_->Options().Contains(hoVisible) ? columnHeader_->Height() : 0;
}

int TLazyTreeColumnQueries::ColumnCount() const { return columnHeader_ ? columnHeader_->Columns().Count() : 0; }
int TLazyTreeColumnQueries::MainColumn() const { return columnHeader_ ? columnHeader_->MainColumn() : NoColumn; }

bool TLazyTreeColumnQueries::IsColumnVisible(int column) const {
  return columnHeader_ && columnHeader_->Columns().IsColumnIndex(column) && columnHeader_->Columns()[column]->Visible();
}

bool TLazyTreeColumnQueries::ColumnCanFocus(int column) const {
  return IsColumnVisible(column) && columnHeader_->Columns()[column]->Options().Contains(coEnabled);
}

namespace {
int OrNone(TColumnIndex index) { return index >= 0 ? index : NoColumn; }
}  // namespace

int TLazyTreeColumnQueries::FirstVisibleColumn() const {
  return columnHeader_ ? OrNone(columnHeader_->Columns().FirstShownColumn()) : NoColumn;
}
int TLazyTreeColumnQueries::LastVisibleColumn() const {
  return columnHeader_ ? OrNone(columnHeader_->Columns().LastShownColumn()) : NoColumn;
}
int TLazyTreeColumnQueries::NextVisibleColumn(int column) const {
  return columnHeader_ ? OrNone(columnHeader_->Columns().ShownColumnAfter(column)) : NoColumn;
}
int TLazyTreeColumnQueries::PreviousVisibleColumn(int column) const {
  return columnHeader_ ? OrNone(columnHeader_->Columns().ShownColumnBefore(column)) : NoColumn;
}
int TLazyTreeColumnQueries::ColumnsWidth() const { return columnHeader_ ? columnHeader_->Columns().AllColumnsWidth() : 0; }
int TLazyTreeColumnQueries::SortColumn() const { return columnHeader_ ? columnHeader_->SortColumn() : NoColumn; }

QRect TLazyTreeColumnQueries::ColumnBounds(int column) const {
  if (!columnHeader_ || !columnHeader_->Columns().IsColumnIndex(column)) return QRect(0, 0, treeFacts_.ClientWidth(), 0);
  const TLazyTreeColumn& c = *columnHeader_->Columns()[column];
  return QRect(c.Left(), 0, c.Width(), 0);
}

void TLazyTreeColumnQueries::FitColumnsToContent() { columnHeader_->FitColumnsToContent(true); }
void TLazyTreeColumnQueries::RestoreColumnWidths() { columnHeader_->RestoreColumnWidths(); }
bool TLazyTreeColumnQueries::SortAscending() const { return columnHeader_->SortDirection() == sdAscending; }

QString TLazyTreeColumnQueries::ColumnHint(int column) const {
  return columnHeader_->Columns().IsColumnIndex(column) ? columnHeader_->Columns()[column]->Hint() : QString();
}

bool TLazyTreeColumnQueries::HeaderShowsHints() const { return columnHeader_->Options().Contains(hoShowHint); }

bool TLazyTreeColumnQueries::HeaderIsBusy() const {
  return columnHeader_->States().Intersects({hstDragging, hstDragPending, hstResizing, hstResizePending});
}

int TLazyTreeColumnQueries::ColumnAtX(int x) const {
  if (ColumnCount() <= 0) return -1;
  for (int column = FirstVisibleColumn(); column >= 0; column = NextVisibleColumn(column)) {
    const QRect bounds = ColumnBounds(column);
    if (x >= bounds.left() && x < bounds.left() + bounds.width()) return column;
  }
  return -1;
}
