#pragma once
// The translucent picture that follows the mouse while nodes or a header column are
// dragged. A drag that carries data hands the picture to the desktop's drag (which draws
// it over everything and needs nothing repainted below it); a drag inside the tree's own
// window (a header column) shows it in a small window of its own that moves with the
// mouse, the window system blending it over what lies below.
//
// The picture: darkened or lightened by the pre-blend bias, given an alpha channel that
// falls off from its centre when fading is on (255 × e^(-8 d), d the distance from the
// centre over the larger side) or a colour key marks transparent pixels, then shown with
// the transparency as its overall opacity and the post-blend bias added.
#include <QColor>
#include <QImage>
#include <QPoint>
#include <QPointer>
#include <QRect>

#include <memory>

class QDrag;
class QWidget;

enum TLTDragMoveRestriction { dmrNone, dmrHorizontalOnly, dmrVerticalOnly };

class TLTDragImage {
public:
  TLTDragImage();
  ~TLTDragImage();
  TLTDragImage(const TLTDragImage&) = delete;
  TLTDragImage& operator=(const TLTDragImage&) = delete;

  int Transparency() const { return transparency_; }
  void SetTransparency(int Value) { transparency_ = Value; }
  int PreBlendBias() const { return preBlendBias_; }
  void SetPreBlendBias(int Value) { preBlendBias_ = Value; }
  int PostBlendBias() const { return postBlendBias_; }
  void SetPostBlendBias(int Value) { postBlendBias_ = Value; }
  bool Fade() const { return fade_; }
  void SetFade(bool Value) { fade_ = Value; }
  // An invalid colour: no key.
  QColor ColorKey() const { return colorKey_; }
  void SetColorKey(const QColor& Value) { colorKey_ = Value; }
  TLTDragMoveRestriction MoveRestriction() const { return restriction_; }
  void SetMoveRestriction(TLTDragMoveRestriction Value) { restriction_ = Value; }

  // Builds the picture from DragImage, whose top-left corner lies at ImagePosition (screen)
  // while the cursor is at CursorPosition (screen). With a drag, the drag shows it.
  void PrepareDrag(const QImage& DragImage, QPoint ImagePosition, QPoint CursorPosition, QDrag* Drag = nullptr);
  void ShowDragImage();
  void HideDragImage();
  // Follows the cursor to P (screen); false when the picture did not move.
  bool DragTo(QPoint P, bool ForceRepaint = false);
  void EndDrag();
  // Where the picture is (screen coordinates).
  QRect GetDragImageRect() const;
  // Whether painting Area (screen coordinates) would touch the picture.
  bool WillMove(QPoint P) const;
  bool NeedsRepaint(const QRect& Area) const { return Visible() && GetDragImageRect().intersects(Area); }
  // Prepared and shown, by the tree's own window.
  bool Visible() const { return prepared_ && shown_ && !systemImage_; }
  bool Prepared() const { return prepared_; }
  // The desktop's drag draws the picture.
  bool SystemImage() const { return systemImage_; }
  // The picture as it is shown: premultiplied ARGB.
  const QImage& Picture() const { return picture_; }

  // The alpha the fading gives a pixel at (X, Y) of a Width × Height picture.
  static int FadeAlpha(int X, int Y, int Width, int Height);

private:
  QPoint Restricted(QPoint Delta) const;

  int transparency_ = 128;
  int preBlendBias_ = 0;
  int postBlendBias_ = 0;
  bool fade_ = false;
  QColor colorKey_;
  TLTDragMoveRestriction restriction_ = dmrNone;
  QImage picture_;
  QPoint position_;    // top-left corner, screen
  QPoint lastCursor_;  // screen
  bool prepared_ = false;
  bool shown_ = false;
  bool systemImage_ = false;
  std::unique_ptr<QWidget> window_;
};
