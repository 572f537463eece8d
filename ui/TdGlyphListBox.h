#pragma once
// A list box with one picture per item, kept in a list parallel to the items: the
// picture at the left, the text beside it. The category and type editors and the tool
// bar page of the options use it.
#include <QListWidget>
#include <QPixmap>
#include <QVector>

class TGlyphListBox : public QListWidget {
  Q_OBJECT

public:
  explicit TGlyphListBox(QWidget* parent = nullptr);

  // Ignored for an index not below the item count. Items before it without a picture
  // get an empty one, so the lists stay parallel.
  void SetItemGlyph(int index, const QPixmap& glyph);
  // The item's picture; a null one when it has none.
  QPixmap GetItemGlyph(int index) const;
  // Takes the picture at `index` out of the parallel list (the later ones move up), as
  // the item at `index` is deleted.
  void DeleteItemGlyph(int index);
  // Repaints that item.
  void InvalidateGlyphItem(int index);
  int GlyphCount() const { return static_cast<int>(glyphs_.size()); }

  // The pictures are values here; the switch is kept for forms that set it.
  bool FreeBitmaps() const { return freeBitmaps_; }
  void SetFreeBitmaps(bool free) { freeBitmaps_ = free; }
  // How far the list scrolls sideways, in pixels; 0 for no sideways scrolling beyond
  // the widest item.
  int ScrollWidth() const { return scrollWidth_; }
  void SetScrollWidth(int width);

  // Fixed for every item: the taller of a picture and a line of text.
  int ItemHeight() const;

private:
  friend class TGlyphItemDelegate;
  QVector<QPixmap> glyphs_;
  bool freeBitmaps_ = true;
  int scrollWidth_ = 0;
};
