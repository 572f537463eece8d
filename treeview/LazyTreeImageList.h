#pragma once
// A list of equally sized images addressed by index, as the tree's node images, state
// images, check images and header glyphs are. Owners fill one and hand it to the tree; the
// tree listens to `Changed` and repaints.
#include <QColor>
#include <QImage>
#include <QObject>
#include <QPoint>
#include <QVector>

class QPainter;

// How an image is drawn: plainly, ghosted (half transparent), blended with a colour (the
// selection), or as a disabled silhouette in one colour.
struct TLTImageDrawStyle {
  bool Ghosted = false;
  QColor Blend;          // valid: blended with this colour at half strength
  QColor Silhouette;     // valid: every opaque pixel drawn in this colour
};

class TLTImageList : public QObject {
  Q_OBJECT

public:
  TLTImageList(int Width, int Height, QObject* parent = nullptr);

  int Width() const { return width_; }
  int Height() const { return height_; }
  int Count() const { return static_cast<int>(images_.size()); }
  // Scales or crops nothing: an image of another size is drawn centred in the cell.
  int Add(const QImage& Image);
  // Cuts a horizontal strip into square cells of its height (the first Count() cells
  // replace nothing: they are appended).
  void AddStrip(const QImage& Strip);
  void Replace(int Index, const QImage& Image);
  void Clear();
  // Changes the cell size; the images are dropped.
  void SetSize(int Width, int Height);
  const QImage& Image(int Index) const { return images_[Index]; }
  bool IsValidIndex(int Index) const { return Index >= 0 && Index < Count(); }

  // Draws image Index with its top-left corner at At; an overlay image (another index of
  // this list) is drawn over it. Indexes out of range draw nothing.
  void Draw(QPainter& Canvas, QPoint At, int Index, const TLTImageDrawStyle& Style = {}, int OverlayIndex = -1) const;

signals:
  void Changed();

private:
  QImage Fitted(const QImage& image) const;
  int width_;
  int height_;
  QVector<QImage> images_;
};
