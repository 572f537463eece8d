// The column queries over the attached header, with the defaults of a tree without one.
#include "treeview/LazyTreeColumnQueries.h"

#include "treeview/LazyTreeColumns.h"
#include "treeview/LazyTreeHeader.h"

#include <utility>

void TLazyTreeColumnQueries::AttachHeader(TLTHeader* header, TTreeFacts tree) {
  header_ = header;
  tree_ = std::move(tree);
}

TLTAlignment TLazyTreeColumnQueries::ColumnAlignment(int column) const {
  return header_->Columns().IsColumnIndex(column) ? header_->Columns()[column]->Alignment() : tree_.Alignment();
}

bool TLazyTreeColumnQueries::ColumnIsRightToLeft(int column) const {
  if (header_->Columns().IsColumnIndex(column)) return header_->Columns()[column]->RightToLeft();
  return ColumnCount() == 0 && tree_.RightToLeft();
}

int TLazyTreeColumnQueries::HeaderHeight() const {
  return header_ && header_->Options().Contains(hoVisible) ? header_->Height() : 0;
}

int TLazyTreeColumnQueries::ColumnCount() const { return header_ ? header_->Columns().Count() : 0; }
int TLazyTreeColumnQueries::MainColumn() const { return header_ ? header_->MainColumn() : NoColumn; }

bool TLazyTreeColumnQueries::IsColumnVisible(int column) const {
  return header_ && header_->Columns().IsColumnIndex(column) && header_->Columns()[column]->Visible();
}

bool TLazyTreeColumnQueries::ColumnCanFocus(int column) const {
  return IsColumnVisible(column) && header_->Columns()[column]->Options().Contains(coEnabled);
}

namespace {
int OrNone(TColumnIndex index) { return index >= 0 ? index : NoColumn; }
}  // namespace

int TLazyTreeColumnQueries::FirstVisibleColumn() const {
  return header_ ? OrNone(header_->Columns().FirstShownColumn()) : NoColumn;
}
int TLazyTreeColumnQueries::LastVisibleColumn() const {
  return header_ ? OrNone(header_->Columns().LastShownColumn()) : NoColumn;
}
int TLazyTreeColumnQueries::NextVisibleColumn(int column) const {
  return header_ ? OrNone(header_->Columns().ShownColumnAfter(column)) : NoColumn;
}
int TLazyTreeColumnQueries::PreviousVisibleColumn(int column) const {
  return header_ ? OrNone(header_->Columns().ShownColumnBefore(column)) : NoColumn;
}
int TLazyTreeColumnQueries::ColumnsWidth() const { return header_ ? header_->Columns().AllColumnsWidth() : 0; }
int TLazyTreeColumnQueries::SortColumn() const { return header_ ? header_->SortColumn() : NoColumn; }

QRect TLazyTreeColumnQueries::ColumnBounds(int column) const {
  if (!header_ || !header_->Columns().IsColumnIndex(column)) return QRect(0, 0, tree_.ClientWidth(), 0);
  const TLazyTreeColumn& c = *header_->Columns()[column];
  return QRect(c.Left(), 0, c.Width(), 0);
}

void TLazyTreeColumnQueries::FitColumnsToContent() { header_->FitColumnsToContent(true); }
void TLazyTreeColumnQueries::RestoreColumnWidths() { header_->RestoreColumnWidths(); }
bool TLazyTreeColumnQueries::SortAscending() const { return header_->SortDirection() == sdAscending; }

QString TLazyTreeColumnQueries::ColumnHint(int column) const {
  return header_->Columns().IsColumnIndex(column) ? header_->Columns()[column]->Hint() : QString();
}

bool TLazyTreeColumnQueries::HeaderShowsHints() const { return header_->Options().Contains(hoShowHint); }

bool TLazyTreeColumnQueries::HeaderIsBusy() const {
  return header_->States().Intersects({hstDragging, hstDragPending, hstResizing, hstResizePending});
}

int TLazyTreeColumnQueries::ColumnAtX(int x) const {
  if (ColumnCount() <= 0) return -1;
  for (int column = FirstVisibleColumn(); column >= 0; column = NextVisibleColumn(column)) {
    const QRect bounds = ColumnBounds(column);
    if (x >= bounds.left() && x < bounds.left() + bounds.width()) return column;
  }
  return -1;
}
