#pragma once
// The tree's header: one button per visible column in display order, with sort glyphs,
// hot tracking and a drop mark while a column is dragged. It sits inside the control
// above the rows, in the band the scroll area keeps free for it, and turns mouse input
// over its buttons into header events (click, double click, drag, resize).
//
// Header coordinates: x as in the rows' window (the horizontal offset applies to both),
// y from 0 at the header's top.
#include "treeview/LazyTreeColumns.h"
#include "treeview/LazyTreeHeaderTypes.h"

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QPointer>
#include <QRect>

#include <functional>
#include <memory>

class QIODevice;
class QMenu;
class QMouseEvent;
class QPainter;
class QWidget;
class TLTImageList;
class TLTHeaderArea;
class TLTDragImage;

// What the header painting works out for one button and hands to the owner's drawing.
struct THeaderPaintInfo {
  QPainter* TargetCanvas = nullptr;
  TLazyTreeColumn* Column = nullptr;  // nullptr while the background is painted
  QRect PaintRectangle;
  QRect TextRectangle;
  bool IsHoverIndex = false;
  bool IsDownIndex = false;
  bool IsEnabled = true;
  bool ShowHeaderGlyph = false;
  bool ShowSortGlyph = false;
  bool ShowRightBorder = true;
  TLTDropMarkMode DropMark = dmmNone;
  QPoint GlyphPos;
  QPoint SortGlyphPos;
};

// The places the parts of one header button take.
struct THeaderButtonLayout {
  QPoint GlyphPos;
  QPoint SortGlyphPos;
  QRect TextBounds;
};

class TLTHeader {
public:
  explicit TLTHeader(TBaseLazyTree& Tree);
  ~TLTHeader();
  TLTHeader(const TLTHeader&) = delete;
  TLTHeader& operator=(const TLTHeader&) = delete;

  TBaseLazyTree& Tree() const { return *tree_; }
  TLazyTreeColumns& Columns() const { return *columns_; }
  // The widget that shows the header and receives its mouse input.
  QWidget* Area() const;

  // ---- Properties -----------------------------------------------------------------------
  TColumnIndex AutoSizeIndex() const { return autoSizeIndex_; }
  void SetAutoSizeIndex(TColumnIndex Value);
  QColor Background() const { return background_; }
  void SetBackground(const QColor& Value);
  QFont Font() const { return font_; }
  void SetFont(const QFont& Value);
  // The caption colour (fonts here carry none).
  QColor FontColor() const { return fontColor_; }
  void SetFontColor(const QColor& Value);
  int Height() const { return height_; }
  void SetHeight(int Value);
  TLTImageList* Images() const { return images_; }
  void SetImages(TLTImageList* Value);
  TColumnIndex MainColumn() const;
  void SetMainColumn(TColumnIndex Value);
  TLTHeaderOptions Options() const { return options_; }
  void SetOptions(TLTHeaderOptions Value);
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool Value);
  QMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(QMenu* Value) { popupMenu_ = Value; }
  TColumnIndex SortColumn() const { return sortColumn_; }
  void SetSortColumn(TColumnIndex Value);
  TSortDirection SortDirection() const { return sortDirection_; }
  void SetSortDirection(TSortDirection Value);
  TLTHeaderStyle Style() const { return style_; }
  void SetStyle(TLTHeaderStyle Value);
  TLTHeaderStates States() const { return states_; }
  bool Loading() const;

  // ---- Operations -----------------------------------------------------------------------
  // Every resizable visible column gets the width of its content, in display order.
  void FitColumnsToContent(bool Animated);
  // Every resizable visible column gets its previous width back, last position first.
  void RestoreColumnWidths();
  // Repaints a column's button (to the header's right edge when asked), or all of it.
  void RepaintHeader(TColumnIndex Column = NoColumn, bool ToRightEdge = false);
  bool InHeaderArea(QPoint P) const;
  // Whether P is on the border where a column is resized; remembers that column.
  bool InSplitArea(QPoint P);
  // A click at P; fires OnHeaderClick for a clickable column that was pressed (or always
  // with Force). Returns whether a column was clicked.
  bool ClickAt(QPoint P, Qt::MouseButton Button, bool DblClick, bool Force);
  void ScaleFont(int M, int D);

  // The layout stream: columns, positions and the header's own settings. Loading checks
  // everything before it changes anything; a bad stream raises ELazyTreeError and leaves
  // the layout as it was. The stream is read only as far as the layout goes.
  void SaveLayout(QIODevice& Stream) const;
  void LoadLayout(QIODevice& Stream);
  QByteArray SaveLayout() const;
  void LoadLayout(const QByteArray& Bytes);

  // ---- Painting ---------------------------------------------------------------------------
  // Paints the header buttons meeting R (header coordinates) with the columns moved by
  // HorizontalOffset.
  void PaintHeaderTo(QPainter& Canvas, const QRect& R, int HorizontalOffset);
  // Where glyph, caption and sort glyph of a column go inside Client (the button less its
  // frame). Exposed for tests of the layout.
  THeaderButtonLayout ButtonLayout(const TLazyTreeColumn& Column, const QRect& Client, bool UseHeaderGlyph,
                                   bool UseSortGlyph) const;

  // ---- Input (called by the header's widget and the tree) -----------------------------------
  void MousePress(QMouseEvent* Event);
  void MouseRelease(QMouseEvent* Event);
  void MouseDoubleClick(QMouseEvent* Event);
  void MouseMove(QMouseEvent* Event);
  // Escape or focus loss: a drag is cancelled, a resize ends. True when something ended.
  bool CancelMouseAction();
  // Hot tracking ends once the mouse has left the header.
  void HotTrackTimer();
  // The tree's client area changed size.
  void TreeResized();
  // Places the header's widget above the rows.
  void UpdateGeometry();
  // Sets the cursor for P: the split cursor over a column border, else the default (the
  // owner may choose another).
  void UpdateCursor(QPoint P);
  // The tree's form finished loading: positions stored with the columns take effect.
  void TreeLoaded();
  // The tree's font, reading direction or colour changed: what follows the tree takes it.
  void TreeFontChanged();
  void TreeDirectionChanged();
  void TreeColorChanged();

  // The screen cursor 100: resizing a column.
  static QCursor SplitCursor();

private:
  friend class TLazyTreeColumns;
  friend class TLazyTreeColumn;
  void DoStateChange(TLTHeaderStates Enter, TLTHeaderStates Leave = {});
  void PaintButton(QPainter& Canvas, TLazyTreeColumn& Column, QRect R, bool Last);
  // The steps of PaintButton: the state it is painted in, the button, what it shows.
  THeaderPaintInfo ButtonPaintInfo(QPainter& Canvas, TLazyTreeColumn& Column, QRect R, bool Last) const;
  void PaintButtonFace(QPainter& Canvas, const THeaderPaintInfo& Info, bool Last);
  void PaintButtonElements(QPainter& Canvas, const THeaderPaintInfo& Info, const THeaderPaintElements& Claimed);
  void DrawCaption(QPainter& Canvas, const TLazyTreeColumn& Column, QRect R, bool Hot, bool Enabled);
  void DrawXPButton(QPainter& Canvas, QRect R, bool Pressed, bool Hot, bool Last);
  TShiftState KeyboardShift(bool Double) const;
  void StartColumnDrag(QPoint P);
  void UpdateDropTarget(QPoint P);
  void EndColumnDrag(QPoint P, bool Cancelled);
  void ApplyFrame();
  void ColumnsChanged(TLazyTreeColumn* Item);
  QRect ButtonRect(TColumnIndex Column, bool ToRightEdge) const;

  TBaseLazyTree* tree_;
  std::unique_ptr<TLazyTreeColumns> columns_;
  QPointer<TLTHeaderArea> area_;
  std::unique_ptr<TLTDragImage> dragImage_;  // a column being dragged
  TColumnIndex autoSizeIndex_ = NoColumn;
  QColor background_;
  QFont font_;
  QColor fontColor_;
  int height_ = 17;
  QPointer<TLTImageList> images_;
  TColumnIndex mainColumn_ = 0;
  TLTHeaderOptions options_ = DefaultHeaderOptions;
  bool parentFont_ = false;
  QPointer<QMenu> popupMenu_;
  TColumnIndex sortColumn_ = NoColumn;
  TSortDirection sortDirection_ = sdAscending;
  TLTHeaderStyle style_ = hsThickButtons;
  TLTHeaderStates states_;
  QPoint lastPress_;       // where the last left press was, header coordinates
  int trackStart_ = 0;     // left edge of the column being resized, header coordinates
};
