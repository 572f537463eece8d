#pragma once
// Two panes and a movable bar between them. The bar's place is kept in pixels of the
// upper/left pane and, with UsePercent, as a share of the splitter that survives resizes:
// then the percentage is what the program stores, and the pixel position follows it.
//
// Costs: a position change or a resize lays out the two panes once (O(1) here, plus
// whatever their children's layouts cost); painting the bar is O(bar length).
#include "controls/FmPanel.h"

#include <QPointer>
#include <functional>

enum TFmOrientation { orHorizontal, orVertical };  // panes side by side / stacked
enum TFmFixedPane { fpUpperLeft, fpLowerRight };
enum TFmSplitterStyle { ssStandard, ssRaised, ssBump };
enum TFmHotSpotDirection { hsdMin, hsdMax };

class TFmSplitterPane : public TFmCustomPanel {
  Q_OBJECT

public:
  explicit TFmSplitterPane(QWidget* parent = nullptr);
};

class TFmSplitterDragBar;

class TFmSplitter : public TFmCustomPanel {
  Q_OBJECT

public:
  explicit TFmSplitter(QWidget* parent = nullptr);
  ~TFmSplitter() override;

  // The panes; each also carries its own border, colour and visibility.
  TFmSplitterPane* UpperLeft() const { return upperLeft_; }
  TFmSplitterPane* LowerRight() const { return lowerRight_; }

  int Position() const { return position_; }
  virtual void SetPosition(int position);
  int Percent() const { return percent_; }
  virtual void SetPercent(int percent);
  int PercentMin() const { return percentMin_; }
  virtual void SetPercentMin(int percent);
  int PercentMax() const { return percentMax_; }
  virtual void SetPercentMax(int percent);
  bool UsePercent() const { return usePercent_; }
  virtual void SetUsePercent(bool on);
  int MarginMin() const { return marginMin_; }
  virtual void SetMarginMin(int margin);
  int MarginMax() const { return marginMax_; }
  virtual void SetMarginMax(int margin);
  TFmFixedPane FixedPane() const { return fixedPane_; }
  virtual void SetFixedPane(TFmFixedPane pane);
  TFmOrientation Orientation() const { return orientation_; }
  virtual void SetOrientation(TFmOrientation orientation);
  TFmFixedPane SelectedPane() const { return selectedPane_; }
  virtual void SetSelectedPane(TFmFixedPane pane) { selectedPane_ = pane; }
  TFmSplitterStyle SplitterStyle() const { return splitterStyle_; }
  virtual void SetSplitterStyle(TFmSplitterStyle style);
  int SplitterWidth() const { return splitterWidth_; }
  virtual void SetSplitterWidth(int width);
  bool RealTimeDrag() const { return realTimeDrag_; }
  virtual void SetRealTimeDrag(bool on) { realTimeDrag_ = on; }
  bool LockBar() const { return lockBar_; }
  virtual void SetLockBar(bool on);
  bool HotSpotVisible() const { return hotSpotVisible_; }
  virtual void SetHotSpotVisible(bool on);
  QColor HotSpotHighlight() const { return hotSpotHighlight_; }
  virtual void SetHotSpotHighlight(const QColor& color);
  TFmHotSpotDirection HotSpotDirection() const { return hotSpotDirection_; }
  virtual void SetHotSpotDirection(TFmHotSpotDirection direction);
  bool HotSpotIgnoreMargins() const { return hotSpotIgnoreMargins_; }
  virtual void SetHotSpotIgnoreMargins(bool on) { hotSpotIgnoreMargins_ = on; }
  int HotSpotSizePercent() const { return hotSpotSizePercent_; }
  virtual void SetHotSpotSizePercent(int percent);
  bool HotSpotClosed() const { return hotSpotClosed_; }

  // While loading, settings are only stored; EndLoading lays the splitter out from them.
  void BeginLoading() { loading_ = true; }
  void EndLoading();

  QRect BarRect() const { return barRect_; }
  QRect HotSpotRect() const { return hotSpotRect_; }
  // The pixel size of the splitter along the orientation.
  int Extent() const { return orientation_ == orVertical ? height() : width(); }
  // Where the drag bar stands while a drag without real-time drag is under way.
  bool Dragging() const { return dragging_; }
  QRect DragBarRect() const;

  // May veto a new position by returning false.
  std::function<bool(int newPosition)> OnChanging;
  std::function<void()> OnChange;
  std::function<void()> OnHotSpotClick;

protected:
  virtual void UpdateFixedPaneSize();
  virtual int BorderExtent() const;
  virtual void DrawDragBar();
  virtual void UpdateHotSpotRect();
  virtual void DrawHotSpot(TFmCanvas& canvas) const;
  virtual void DrawSplitterBar(TFmCanvas& canvas) const;
  virtual int ConstrainPosition(int position) const;
  virtual void SetFixedPaneSize(int size);
  virtual void AlignPanes();
  virtual void ResetHotSpotClosed();

  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void BordersChanged() override;

private:
  // How a new position came about: only a drag or an explicit Position recomputes the
  // percentage; one derived from the percentage must not feed back into it.
  enum class Source { Explicit, Drag, Derived };
  // False when OnChanging vetoed the change.
  bool ApplyPosition(int position, Source source, bool offerChange);
  QRect Piece(int offset, int size) const;
  int PercentBase() const { return Extent() - splitterWidth_ / 2; }
  bool Sized() const { return Extent() > splitterWidth_; }
  int PositionFromPercent() const;
  void MarginsFromPercents();
  void HandleResize();
  int PointerCoordinate(const QPoint& point) const;
  void UpdateCursor(const QPoint& point);
  void ToggleHotSpot();

  TFmSplitterPane* upperLeft_;
  TFmSplitterPane* lowerRight_;
  TFmSplitterDragBar* dragBar_;

  int position_ = 100;
  int percent_ = 50;
  int percentMin_ = 0;
  int percentMax_ = 100;
  bool usePercent_ = false;
  int marginMin_ = 0;
  int marginMax_ = 0;
  TFmFixedPane fixedPane_ = fpUpperLeft;
  TFmOrientation orientation_ = orHorizontal;
  TFmFixedPane selectedPane_ = fpUpperLeft;
  TFmSplitterStyle splitterStyle_ = ssStandard;
  int splitterWidth_ = 4;
  bool realTimeDrag_ = false;
  bool lockBar_ = false;
  bool hotSpotVisible_ = false;
  QColor hotSpotHighlight_;
  TFmHotSpotDirection hotSpotDirection_ = hsdMin;
  bool hotSpotIgnoreMargins_ = true;
  int hotSpotSizePercent_ = 40;

  QRect barRect_;
  QRect hotSpotRect_;
  int fixedPaneSize_ = 100;
  bool loading_ = false;
  bool dragging_ = false;
  bool pressedInBar_ = false;
  int grabOffset_ = 0;
  int dragStartPosition_ = 0;
  int lastDragPosition_ = 0;
  bool hotSpotClosed_ = false;
  int hotSpotRestorePosition_ = 100;
  bool hotSpotArmed_ = false;
  bool hotSpotHover_ = false;
};
