#pragma once
// The widgets behind the header: the band above the rows that shows the buttons and takes
// the mouse, and the picture of a column that follows the mouse while it is dragged.
#include <QImage>
#include <QWidget>

class TLTHeader;

class TLTHeaderArea : public QWidget {
public:
  TLTHeaderArea(TLTHeader& Header, QWidget* Tree);

protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  bool event(QEvent* e) override;
  void changeEvent(QEvent* e) override;

private:
  TLTHeader& header_;
};

// A column's button, half transparent, following the mouse. With RestrictToRow it only
// moves sideways.
class TLTHeaderDragImage : public QWidget {
public:
  // Values of a column drag: the picture is darkened by the pre-blend bias (a signed
  // byte) and shown with the transparency as its opacity (0..255).
  static constexpr int PreBlendBias = 206;
  static constexpr int Transparency = 140;

  TLTHeaderDragImage(const QImage& Picture, QPoint ScreenTopLeft, QPoint HotSpot, bool RestrictToRow);
  void MoveTo(QPoint ScreenPoint);

protected:
  void paintEvent(QPaintEvent* e) override;

private:
  QImage picture_;
  QPoint hotSpot_;
  int row_;
  bool restrict_;
};
