// The default in-place editor of the string tree and its edit control.
#include "treeview/LazyTreeEditLink.h"

#include "treeview/LazyStringTree.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTimer>

// ---- TLTEdit --------------------------------------------------------------------------

TLTEdit::TLTEdit(TStringEditLink* link, QWidget* parent) : QPlainTextEdit(parent), link_(link) {
  setFrameShape(QFrame::Box);
  setLineWidth(1);
  setTabChangesFocus(false);
  setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  document()->setDocumentMargin(1);
  setAttribute(Qt::WA_DeleteOnClose, false);
  hide();
  SetMultiline(false);
  connect(this, &QPlainTextEdit::textChanged, this, [this] {
    // Measured once the edit has taken the change in.
    if (!multiline_) QTimer::singleShot(0, this, [this] { AutoAdjustSize(); });
  });
}

TLTEdit::~TLTEdit() {
  if (link_) link_->EditDestroyed(toPlainText(), document()->isModified());
}

void TLTEdit::SetMultiline(bool value) {
  multiline_ = value;
  setLineWrapMode(value ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(value ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

void TLTEdit::AutoAdjustSize() {
  if (multiline_ || !link_ || !link_->Tree()) return;
  TCustomLazyStringTree* tree = link_->Tree();
  int textWidth = 0;
  for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
    textWidth = std::max(textWidth, fontMetrics().horizontalAdvance(block.text()));
  const int chrome = 2 * frameWidth() + 2 * static_cast<int>(document()->documentMargin()) + 2;
  const int width = textWidth + 2 * tree->TextMargin() + chrome;
  const QRect old = geometry();
  if (width == old.width()) return;
  if (width < old.width()) tree->InvalidateNodeRow(link_->Node());
  QRect next = old;
  if (document()->defaultTextOption().alignment() & Qt::AlignRight)
    next.setLeft(old.right() + 1 - width);
  else
    next.setWidth(width);
  setGeometry(next);
}

void TLTEdit::keyPressEvent(QKeyEvent* e) {
  TCustomLazyStringTree* tree = link_ ? link_->Tree() : nullptr;
  const bool ctrl = e->modifiers() & Qt::ControlModifier;
  switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      // A multi-line cell takes Enter as a line break; Ctrl+Enter ends the edit there.
      if (multiline_ && !ctrl) break;
      if (tree) {
        tree->InvalidateNodeRow(link_->Node());
        tree->FinishEdit();
        tree->setFocus(Qt::OtherFocusReason);
      }
      e->accept();
      return;
    case Qt::Key_Escape:
      if (tree) {
        tree->AbortEdit();
        tree->setFocus(Qt::OtherFocusReason);
      }
      e->accept();
      return;
    case Qt::Key_Up:
    case Qt::Key_Down:
      if (!multiline_) {
        QKeyEvent moved(e->type(), e->key() == Qt::Key_Up ? Qt::Key_Left : Qt::Key_Right, e->modifiers());
        QPlainTextEdit::keyPressEvent(&moved);
        e->accept();
        return;
      }
      break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      e->accept();  // a tab character has no place in a cell
      return;
    default:
      break;
  }
  QPlainTextEdit::keyPressEvent(e);
}

void TLTEdit::focusOutEvent(QFocusEvent* e) {
  QPlainTextEdit::focusOutEvent(e);
  // The edit's own context menu takes the focus for a moment without ending anything.
  if (!link_ || link_->Stopped() || e->reason() == Qt::PopupFocusReason) return;
  TCustomLazyStringTree* tree = link_->Tree();
  if (!tree) return;
  if (tree->StringOptions().Contains(toAutoAcceptEditChange))
    tree->FinishEdit();
  else
    tree->AbortEdit();
}

// ---- TStringEditLink ------------------------------------------------------------------

TStringEditLink::TStringEditLink() = default;

TStringEditLink::~TStringEditLink() {
  if (!edit_) return;
  edit_->Detach();
  // The edit may still have events queued: it goes once they are handled.
  edit_->deleteLater();
}

bool TStringEditLink::PrepareEditing(TBaseLazyTree* tree, PLazyNode node, int column) {
  auto* stringTree = qobject_cast<TCustomLazyStringTree*>(tree);
  if (!stringTree || stopped_) return false;
  if (!edit_) edit_ = new TLTEdit(this, stringTree->viewport());  // owned by the viewport
  tree_ = stringTree;
  node_ = node;
  column_ = column;
  QFont font = stringTree->font();
  QRect rect;
  QString text;
  stringTree->GetTextInfo(node, column, font, rect, text);
  QPalette palette = edit_->palette();
  palette.setColor(QPalette::Text, Qt::black);
  edit_->setPalette(palette);
  edit_->setFont(font);
  edit_->SetMultiline(node->Has(nsMultiline));
  const bool rightToLeft = stringTree->ColumnIsRightToLeftFor(column);
  const TLTAlignment alignment = stringTree->ColumnAlignmentFor(column);
  alignment_ = alignment == taRightJustify ? Qt::AlignRight : alignment == taCenter ? Qt::AlignHCenter : Qt::AlignLeft;
  if (rightToLeft) alignment_ = alignment_ == Qt::AlignRight ? Qt::AlignLeft : alignment_ == Qt::AlignLeft ? Qt::AlignRight : alignment_;
  edit_->setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
  QTextOption option = edit_->document()->defaultTextOption();
  option.setAlignment(alignment_);
  edit_->document()->setDefaultTextOption(option);
  const QSignalBlocker quiet(edit_);
  edit_->setPlainText(text);
  edit_->document()->setModified(false);
  edit_->setGeometry(rect);
  return true;
}

void TStringEditLink::SetEditorBounds(QRect r) {
  if (stopped_ || !edit_ || !tree_) return;
  r.setLeft(std::max(r.left(), 0));
  if (r.width() < 30) {
    // A right-aligned editor grows to the left.
    if (alignment_ & Qt::AlignRight)
      r.setLeft(r.right() + 1 - 30);
    else
      r.setWidth(30);
  }
  r.setRight(std::min(r.right(), tree_->ClientWidth() - 1));
  edit_->setGeometry(r);
  if (!edit_->Multiline()) {
    // The line sits where the cell's text sits.
    const int inner = r.height() - 2 * edit_->frameWidth();
    const int line = edit_->fontMetrics().height();
    const int margin = std::max((inner - line) / 2, 0);
    edit_->document()->setDocumentMargin(std::max(margin, 0));
  }
}

bool TStringEditLink::StartEditing() {
  if (stopped_ || !edit_) return false;
  edit_->show();
  edit_->selectAll();
  edit_->document()->setModified(false);  // only the user's typing counts as a change
  edit_->setFocus(Qt::OtherFocusReason);
  if (!edit_->Multiline()) edit_->AutoAdjustSize();
  return true;
}

bool TStringEditLink::FinishEditing() {
  if (stopped_) return false;
  stopped_ = true;
  try {
    if (edit_ && edit_->document()->isModified() && tree_) tree_->SetCellText(node_, column_, edit_->toPlainText());
  } catch (...) {
    // The owner refused the text: the edit stays open to be retried or cancelled.
    stopped_ = false;
    throw;
  }
  DetachEdit();
  return true;
}

bool TStringEditLink::AbortEditing() {
  if (stopped_) return false;
  stopped_ = true;
  DetachEdit();
  return true;
}

void TStringEditLink::ReleaseEditing() {
  stopped_ = true;
  DetachEdit();
}

void TStringEditLink::DetachEdit() {
  if (!edit_) return;
  // Detached first, so that the focus leaving the hidden edit ends nothing a second time.
  edit_->Detach();
  edit_->hide();
}

QRect TStringEditLink::EditorBounds() { return edit_ ? edit_->geometry() : QRect(); }

void TStringEditLink::ForwardMessage(QEvent* message) {
  if (edit_) QCoreApplication::sendEvent(edit_, message);
}

void TStringEditLink::EditDestroyed(const QString& text, bool modified) {
  TCustomLazyStringTree* tree = tree_;
  edit_ = nullptr;
  if (stopped_ || !tree || tree->IsDestroying()) return;
  if (tree->StringOptions().Contains(toAutoAcceptEditChange) && modified) tree->SetCellText(node_, column_, text);
}
