#pragma once
// The bar that follows the pointer while the splitter bar is dragged without real-time
// drag: a dotted overlay inside the splitter, so the panes are laid out once, at the end.
#include <QWidget>

class TFmSplitterDragBar : public QWidget {
  Q_OBJECT

public:
  explicit TFmSplitterDragBar(QWidget* parent);
  // The 8 x 8 pattern: black where x + y is odd, clear elsewhere.
  static QImage Pattern();

protected:
  void paintEvent(QPaintEvent* event) override;
};
