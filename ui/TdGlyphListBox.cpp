#include "ui/TdGlyphListBox.h"

#include <QApplication>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {
constexpr int kGlyphLeft = 2;
constexpr int kTextGapAfterGlyph = 6;
constexpr int kPlainTextLeft = 2;
constexpr int kGlyphHeight = 16;
}  // namespace

// Fills the item's rectangle and draws its picture and text with the item's top as the
// text's top, as the list box has always drawn its items.
class TGlyphItemDelegate : public QStyledItemDelegate {
public:
  explicit TGlyphItemDelegate(TGlyphListBox* box) : QStyledItemDelegate(box), box_(box) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const QPalette& palette = option.palette;
    painter->save();
    painter->fillRect(option.rect, selected ? palette.highlight() : palette.base());
    int textLeft = option.rect.left() + kPlainTextLeft;
    const QPixmap glyph = box_->GetItemGlyph(index.row());
    if (!glyph.isNull()) {
      painter->drawPixmap(option.rect.left() + kGlyphLeft, option.rect.top(), glyph);
      textLeft = option.rect.left() + glyph.width() + kTextGapAfterGlyph;
    }
    painter->setPen(selected ? palette.highlightedText().color() : palette.text().color());
    painter->setFont(option.font);
    const QRect text(textLeft, option.rect.top(), option.rect.right() - textLeft, option.rect.height());
    painter->drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, index.data().toString());
    if (option.state.testFlag(QStyle::State_HasFocus) && selected) {
      QStyleOptionFocusRect focus;
      focus.rect = option.rect;
      focus.palette = palette;
      focus.state = QStyle::State_Item | QStyle::State_HasFocus;
      focus.backgroundColor = palette.highlight().color();
      box_->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, box_);
    }
    painter->restore();
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const QPixmap glyph = box_->GetItemGlyph(index.row());
    const int left = glyph.isNull() ? kPlainTextLeft : glyph.width() + kTextGapAfterGlyph;
    const int width = left + option.fontMetrics.horizontalAdvance(index.data().toString()) + kPlainTextLeft;
    return {std::max(width, box_->ScrollWidth()), box_->ItemHeight()};
  }

private:
  TGlyphListBox* box_;
};

TGlyphListBox::TGlyphListBox(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  setUniformItemSizes(true);
  setItemDelegate(new TGlyphItemDelegate(this));
}

int TGlyphListBox::ItemHeight() const { return std::max(kGlyphHeight, fontMetrics().height()); }

void TGlyphListBox::SetItemGlyph(int index, const QPixmap& glyph) {
  if (index < 0 || index >= count()) return;
  if (glyphs_.size() < count()) glyphs_.resize(count());
  glyphs_[index] = glyph;
  InvalidateGlyphItem(index);
}

QPixmap TGlyphListBox::GetItemGlyph(int index) const {
  if (index < 0 || index >= glyphs_.size()) return {};
  return glyphs_[index];
}

void TGlyphListBox::DeleteItemGlyph(int index) {
  if (index < 0 || index >= glyphs_.size()) return;
  glyphs_.removeAt(index);
}

void TGlyphListBox::InvalidateGlyphItem(int index) {
  if (QListWidgetItem* it = item(index)) viewport()->update(visualItemRect(it));
}

void TGlyphListBox::SetScrollWidth(int width) {
  if (width == scrollWidth_) return;
  scrollWidth_ = std::max(0, width);
  // The items' size hints changed: the view measures them again.
  doItemsLayout();
}
