#pragma once
// The widgets behind the header: the band above the rows that shows the buttons and takes
// the mouse.
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
