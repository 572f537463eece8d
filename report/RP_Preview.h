#pragma once
// The preview control: shows prepared pages at a zoom, scrolls through them with bars,
// keys and the wheel, and keeps each page drawn once at the current zoom as an image so
// that scrolling and turning pages do not rebuild the page's objects again.
// The pages stay the caller's; the control only shows them between Connect and Clear.
#include "report/RP_PreviewLayout.h"

#include <QFrame>
#include <QImage>
#include <QString>
#include <QWidget>
#include <vector>

class QKeyEvent;
class QMouseEvent;
class QScrollBar;
class QToolButton;
class QWheelEvent;
class TrpEMFPages;
class TrpPreview;

// The page box: paints the pages of its preview and passes keys and the wheel on.
class TrpPBox : public QWidget {
  Q_OBJECT
public:
  explicit TrpPBox(TrpPreview* preview);

protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  // Replaces the press a double click would otherwise repeat, so that no drag starts.
  void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
  TrpPreview* preview_;
};

enum class TrpScrollBars { None, Horizontal, Vertical, Both };

class TrpPreview : public QFrame {
  Q_OBJECT
public:
  explicit TrpPreview(QWidget* parent = nullptr);
  ~TrpPreview() override;

  // Shows the pages from page 1 on; they must outlive the connection.
  void Connect(TrpEMFPages* pages);
  // Stops showing the pages.
  void Clear();

  int CurrentPage() const { return current_; }
  int GetAllPages() const;
  // Ignored outside 1..page count.
  void SetPage(int page);
  void SetZoom(int percent);
  void PageWidth();
  void OnePage();
  void First() { SetPage(1); }
  void Prev() { SetPage(current_ - 1); }
  void Next() { SetPage(current_ + 1); }
  void Last() { SetPage(GetAllPages()); }

  double Zoom() const { return factor_; }
  TrpZoomMode ZoomMode() const { return mode_; }
  // "Page n/m", or empty without pages.
  const QString& StatusText() const { return status_; }
  const TrpPreviewLayout& Layout() const { return layout_; }
  QScrollBar* VerticalBar() const { return vbar_; }
  QScrollBar* HorizontalBar() const { return hbar_; }
  TrpPBox* Box() const { return box_; }
  bool IsPageCached(int index) const;
  // The most bytes the page images may take; beyond it the images drawn longest ago
  // are dropped (they are drawn again when they come back into view).
  void SetImageBudget(qint64 bytes);
  // The vertical bar with the page buttons, the horizontal bar, both (the default) or none.
  void SetScrollBars(TrpScrollBars bars);
  TrpScrollBars ScrollBars() const { return scrollBars_; }

  // The keys of the preview; true when the key was handled.
  bool HandleKey(QKeyEvent* event);
  void HandleWheel(QWheelEvent* event);
  // Left press: the page under the pointer becomes current, then its objects may take
  // the click; otherwise dragging scrolls the view until the button is released.
  void HandleMousePress(QMouseEvent* event);
  void HandleMouseMove(QMouseEvent* event);
  void HandleMouseRelease(QMouseEvent* event);
  void HandleDoubleClick(QMouseEvent* event);
  void PaintPages(QPainter& painter, const QRect& clip);
  // Computes the page rectangles and scroll ranges for the box's size.
  void Relayout();

signals:
  void PageChanged(int page);

private:
  void ApplyZoom(TrpZoomMode mode, double factor);
  void ScrollToCurrentPage();
  void ShowPageNumber();
  void OnVertical(int value);
  QRect DrawRectFor(int index, QSize size) const;
  // The 0-based page under a point of the box, -1 between pages; unitPoint gets the
  // point in the page's report units.
  int PageAt(QPoint point, QPoint* unitPoint = nullptr) const;
  const QImage& PageImage(int index);

  TrpPBox* box_;
  QScrollBar* vbar_;
  QScrollBar* hbar_;
  QToolButton* pageUp_;
  QToolButton* pageDown_;
  TrpEMFPages* pages_ = nullptr;
  int current_ = 0;
  double factor_;
  TrpZoomMode mode_;
  TrpPreviewLayout layout_;
  QString status_;
  bool followScroll_ = true;
  // Inside this control a notch scrolls three small steps.
  int wheelFactor_ = 3;
  TrpScrollBars scrollBars_ = TrpScrollBars::Both;
  bool dragging_ = false;
  QPoint dragFrom_;
  void KeepWithinBudget();

  std::vector<QImage> cache_;
  std::vector<quint64> cacheUse_;  // when each image was last painted
  quint64 useClock_ = 0;
  qint64 cacheBytes_ = 0;
  // A long list at a large zoom must not take all the memory there is.
  qint64 imageBudget_ = qint64(256) * 1024 * 1024;
  double cacheFactor_ = 0;
};
