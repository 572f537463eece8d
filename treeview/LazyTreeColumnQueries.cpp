// The column queries over the attached header, with the defaults of a tree without one.
#include "treeview/LazyTreeColumnQueries.h"

#include "treeview/LazyTreeColumns.h"
#include "treeview/LazyTreeHeader.h"

#include <utility>

void TLazyTreeColumnQueries::AttachHeader(TLTHeader* header, TTreeFacts tree) {
  queriedHeader_ = header;
  treeFacts_ = std::move(tree);
}

TLTAlignment TLazyTreeColumnQueries::ColumnAlignment(int column) const {
  return queriedHeader_->Columns().IsColumnIndex(column) ? queriedHeader_->Columns()[column]->Alignment() : treeFacts_.Alignment();
}

bool TLazyTreeColumnQueries::ColumnIsRightToLeft(int column) const {
  if (queriedHeader_->Columns().IsColumnIndex(column)) return queriedHeader_->Columns()[column]->RightToLeft();
  return ColumnCount() == 0 && treeFacts_.RightToLeft();
}

int TLazyTreeColumnQueries::HeaderHeight() const {
  return queriedHeader_ && queriedHeader_->Options().Contains(hoVisible) ? queriedHeader_->Height() : 0;
}

int TLazyTreeColumnQueries::ColumnCount() const { return queriedHeader_ ? queriedHeader_->Columns().Count() : 0; }
int TLazyTreeColumnQueries::MainColumn() const { return queriedHeader_ ? queriedHeader_->MainColumn() : NoColumn; }

bool TLazyTreeColumnQueries::IsColumnVisible(int column) const {
  return queriedHeader_ && queriedHeader_->Columns().IsColumnIndex(column) && queriedHeader_->Columns()[column]->Visible();
}

bool TLazyTreeColumnQueries::ColumnCanFocus(int column) const {
  return IsColumnVisible(column) && queriedHeader_->Columns()[column]->Options().Contains(coEnabled);
}

namespace {
int OrNone(TColumnIndex index) { return index >= 0 ? index : NoColumn; }
}  // namespace

int TLazyTreeColumnQueries::FirstVisibleColumn() const {
  return queriedHeader_ ? OrNone(queriedHeader_->Columns().FirstShownColumn()) : NoColumn;
}
int TLazyTreeColumnQueries::LastVisibleColumn() const {
  return queriedHeader_ ? OrNone(queriedHeader_->Columns().LastShownColumn()) : NoColumn;
}
int TLazyTreeColumnQueries::NextVisibleColumn(int column) const {
  return queriedHeader_ ? OrNone(queriedHeader_->Columns().ShownColumnAfter(column)) : NoColumn;
}
int TLazyTreeColumnQueries::PreviousVisibleColumn(int column) const {
  return queriedHeader_ ? OrNone(queriedHeader_->Columns().ShownColumnBefore(column)) : NoColumn;
}
int TLazyTreeColumnQueries::ColumnsWidth() const { return queriedHeader_ ? queriedHeader_->Columns().AllColumnsWidth() : 0; }
int TLazyTreeColumnQueries::SortColumn() const { return queriedHeader_ ? queriedHeader_->SortColumn() : NoColumn; }

QRect TLazyTreeColumnQueries::ColumnBounds(int column) const {
  if (!queriedHeader_ || !queriedHeader_->Columns().IsColumnIndex(column)) return QRect(0, 0, treeFacts_.ClientWidth(), 0);
  const TLazyTreeColumn& c = *queriedHeader_->Columns()[column];
  return QRect(c.Left(), 0, c.Width(), 0);
}

void TLazyTreeColumnQueries::FitColumnsToContent() { queriedHeader_->FitColumnsToContent(true); }
void TLazyTreeColumnQueries::RestoreColumnWidths() { queriedHeader_->RestoreColumnWidths(); }
bool TLazyTreeColumnQueries::SortAscending() const { return queriedHeader_->SortDirection() == sdAscending; }

QString TLazyTreeColumnQueries::ColumnHint(int column) const {
  return queriedHeader_->Columns().IsColumnIndex(column) ? queriedHeader_->Columns()[column]->Hint() : QString();
}

bool TLazyTreeColumnQueries::HeaderShowsHints() const { return queriedHeader_->Options().Contains(hoShowHint); }

bool TLazyTreeColumnQueries::HeaderIsBusy() const {
  return queriedHeader_->States().Intersects({hstDragging, hstDragPending, hstResizing, hstResizePending});
}

int TLazyTreeColumnQueries::ColumnAtX(int x) const {
  if (ColumnCount() <= 0) return -1;
  for (int column = FirstVisibleColumn(); column >= 0; column = NextVisibleColumn(column)) {
    const QRect bounds = ColumnBounds(column);
    if (x >= bounds.left() && x < bounds.left() + bounds.width()) return column;
  }
  return -1;
}
