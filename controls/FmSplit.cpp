#include "controls/FmSplit.h"

#include "controls/FmSplitDragBar.h"
#include "controls/clmisc.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace {

int RoundHalfEven(double value) { return static_cast<int>(std::nearbyint(value)); }

}  // namespace

TFmSplitterPane::TFmSplitterPane(QWidget* parent) : TFmCustomPanel(parent) {
  SetBorderOuter(fsNone);
  setFocusPolicy(Qt::NoFocus);
}

TFmSplitter::TFmSplitter(QWidget* parent)
    : TFmCustomPanel(parent),
      upperLeft_(new TFmSplitterPane(this)),
      lowerRight_(new TFmSplitterPane(this)),
      dragBar_(new TFmSplitterDragBar(this)),
      hotSpotHighlight_(SysColor(TSysColor::clWindow)) {
  SetBorderOuter(fsNone);
  setMouseTracking(true);
  upperLeft_->setObjectName(QStringLiteral("UpperLeft"));
  lowerRight_->setObjectName(QStringLiteral("LowerRight"));
  // A pane shown or hidden changes the layout.
  upperLeft_->installEventFilter(this);
  lowerRight_->installEventFilter(this);
  resize(200, 100);
}

TFmSplitter::~TFmSplitter() = default;

// ----- position and percentage ---------------------------------------------------------

int TFmSplitter::ConstrainPosition(int position) const {
  if (upperLeft_->isHidden() || lowerRight_->isHidden()) return qMax(0, position);
  const bool ignoreMargins = hotSpotClosed_ && hotSpotIgnoreMargins_;
  const int marginMin = ignoreMargins ? 0 : marginMin_;
  const int marginMax = ignoreMargins ? 0 : marginMax_;
  position = qMax(position, marginMin);
  const int limit = Extent() - marginMax - splitterWidth_ - 2 * BorderExtent();
  if (position > limit) position = limit;
  return qMax(0, position);
}

int TFmSplitter::BorderExtent() const { return Borders().LeadingExtent(orientation_ == orVertical); }

bool TFmSplitter::ApplyPosition(int position, Source source, bool offerChange) {
  if (!Sized()) {
    // Nothing to lay out yet: keep what was asked for and let the first resize place it.
    position_ = qMax(0, position);
    if (source != Source::Derived) SetFixedPaneSize(fixedPane_ == fpUpperLeft ? position_ : fixedPaneSize_);
    return true;
  }
  position = ConstrainPosition(position);
  if (offerChange && OnChanging && !OnChanging(position)) return false;
  const bool changed = position != position_;
  position_ = position;
  if (source != Source::Derived) {
    const int base = PercentBase();
    percent_ = base <= 0 ? 0 : qBound(0, RoundHalfEven(double(position) / base * 100), 100);
    UpdateFixedPaneSize();
  }
  AlignPanes();
  if (changed && OnChange) OnChange();
  return true;
}

void TFmSplitter::SetPosition(int position) {
  if (loading_) {
    position_ = position;
    return;
  }
  if (position == position_ && Sized()) return;
  ApplyPosition(position, Source::Explicit, true);
}

int TFmSplitter::PositionFromPercent() const {
  if (hotSpotClosed_) return hotSpotDirection_ == hsdMin ? 0 : PercentBase();
  return RoundHalfEven(percent_ / 100.0 * PercentBase());
}

void TFmSplitter::SetPercent(int percent) {
  percent = qBound(0, percent, 100);
  if (percent == percent_ && usePercent_) return;
  percent_ = percent;
  if (loading_) return;
  if (!usePercent_) {
    SetUsePercent(true);  // places the bar from the new percentage
    return;
  }
  ApplyPosition(PositionFromPercent(), Source::Derived, true);
}

void TFmSplitter::MarginsFromPercents() {
  if (!usePercent_ || loading_ || !Sized()) return;
  const int base = PercentBase();
  marginMin_ = RoundHalfEven(percentMin_ / 100.0 * base);
  marginMax_ = base - RoundHalfEven(percentMax_ / 100.0 * base);
}

void TFmSplitter::SetPercentMin(int percent) {
  percentMin_ = qBound(0, percent, 100);
  MarginsFromPercents();
}

void TFmSplitter::SetPercentMax(int percent) {
  percentMax_ = qBound(0, percent, 100);
  MarginsFromPercents();
}

void TFmSplitter::SetUsePercent(bool on) {
  if (usePercent_ == on) return;
  usePercent_ = on;
  if (!on || loading_) return;
  fixedPane_ = fpUpperLeft;
  MarginsFromPercents();
  ApplyPosition(PositionFromPercent(), Source::Derived, true);
}

void TFmSplitter::SetMarginMin(int margin) {
  margin = qMax(0, margin);
  // Margins are checked against the extent only once there is one: a margin set before
  // the first show must survive it.
  if (Sized()) margin = qMin(margin, qMax(0, Extent() - marginMax_));
  marginMin_ = margin;
}

void TFmSplitter::SetMarginMax(int margin) {
  margin = qMax(0, margin);
  if (Sized()) margin = qMin(margin, qMax(0, Extent() - marginMin_));
  marginMax_ = margin;
}

void TFmSplitter::SetFixedPane(TFmFixedPane pane) {
  if (usePercent_) pane = fpUpperLeft;
  fixedPane_ = pane;
  UpdateFixedPaneSize();
}

void TFmSplitter::UpdateFixedPaneSize() {
  SetFixedPaneSize(fixedPane_ == fpUpperLeft ? position_ : Extent() - position_);
}

void TFmSplitter::SetFixedPaneSize(int size) { fixedPaneSize_ = qMax(0, size); }

void TFmSplitter::SetOrientation(TFmOrientation orientation) {
  if (orientation_ == orientation) return;
  orientation_ = orientation;
  HandleResize();
}

void TFmSplitter::SetSplitterStyle(TFmSplitterStyle style) {
  splitterStyle_ = style;
  if (style != ssStandard && splitterWidth_ < 6) SetSplitterWidth(6);
  AlignPanes();
  update();
}

void TFmSplitter::SetSplitterWidth(int width) {
  width = qBound(0, width, 0xffff);
  if (splitterStyle_ != ssStandard) width = qMax(width, 6);
  if (hotSpotVisible_) width = qMax(width, 7);
  if (width == splitterWidth_) return;
  splitterWidth_ = width;
  HandleResize();
}

void TFmSplitter::SetLockBar(bool on) {
  lockBar_ = on;
  unsetCursor();
}

void TFmSplitter::SetHotSpotVisible(bool on) {
  hotSpotVisible_ = on;
  if (on && splitterWidth_ < 7) SetSplitterWidth(7);
  UpdateHotSpotRect();
  update();
}

void TFmSplitter::SetHotSpotHighlight(const QColor& color) {
  hotSpotHighlight_ = color;
  update(hotSpotRect_);
}

void TFmSplitter::SetHotSpotDirection(TFmHotSpotDirection direction) {
  hotSpotDirection_ = direction;
  update(hotSpotRect_);
}

void TFmSplitter::SetHotSpotSizePercent(int percent) {
  hotSpotSizePercent_ = qBound(0, percent, 100);
  UpdateHotSpotRect();
  update();
}

void TFmSplitter::ResetHotSpotClosed() { hotSpotClosed_ = false; }

void TFmSplitter::EndLoading() {
  loading_ = false;
  if (usePercent_) {
    fixedPane_ = fpUpperLeft;
    MarginsFromPercents();
    position_ = PositionFromPercent();
  }
  if (Sized()) position_ = ConstrainPosition(position_);
  SetFixedPaneSize(fixedPane_ == fpUpperLeft ? position_ : Extent() - position_);
  AlignPanes();
}

// ----- layout --------------------------------------------------------------------------

void TFmSplitter::HandleResize() {
  if (loading_ || !Sized()) {
    AlignPanes();
    return;
  }
  int position;
  if (usePercent_) {
    MarginsFromPercents();
    position = PositionFromPercent();
  } else if (fixedPane_ == fpUpperLeft) {
    position = hotSpotClosed_ ? position_ : qMax(position_, fixedPaneSize_);
  } else {
    position = Extent() - fixedPaneSize_;
  }
  ApplyPosition(position, Source::Derived, false);
  AlignPanes();
}

void TFmSplitter::resizeEvent(QResizeEvent* event) {
  TFmCustomPanel::resizeEvent(event);
  HandleResize();
}

void TFmSplitter::BordersChanged() { HandleResize(); }

void TFmSplitter::AlignPanes() {
  if (loading_ || !Sized()) return;
  const QRect client = ClientRect();
  const bool upperShown = !upperLeft_->isHidden();
  const bool lowerShown = !lowerRight_->isHidden();
  const int length = orientation_ == orVertical ? client.height() : client.width();
  const auto piece = [this](int offset, int size) { return Piece(offset, size); };
  const int position = qMin(position_, length);
  if (upperShown && !lowerShown) {
    upperLeft_->setGeometry(client);
    barRect_ = QRect();
  } else if (!upperShown) {
    lowerRight_->setGeometry(client);
    barRect_ = QRect();
  } else {
    upperLeft_->setGeometry(piece(0, position));
    barRect_ = piece(position, splitterWidth_);
    lowerRight_->setGeometry(piece(position + splitterWidth_, length - position - splitterWidth_));
  }
  UpdateHotSpotRect();
  update();
}

bool TFmSplitter::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == upperLeft_ || watched == lowerRight_) &&
      (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent))
    HandleResize();
  return TFmCustomPanel::eventFilter(watched, event);
}

QRect TFmSplitter::Piece(int offset, int size) const {
  // Along the orientation, within the client rectangle; never negative.
  const QRect client = ClientRect();
  const bool vertical = orientation_ == orVertical;
  const int length = qMax(0, vertical ? client.height() : client.width());
  offset = qBound(0, offset, length);
  size = qBound(0, size, length - offset);
  return vertical ? QRect(client.left(), client.top() + offset, client.width(), size)
                  : QRect(client.left() + offset, client.top(), size, client.height());
}

QRect TFmSplitter::DragBarRect() const { return dragging_ ? Piece(lastDragPosition_, splitterWidth_) : QRect(); }

// ----- hot spot and painting -----------------------------------------------------------

void TFmSplitter::UpdateHotSpotRect() {
  if (!hotSpotVisible_ || barRect_.isEmpty()) {
    hotSpotRect_ = QRect();
    return;
  }
  const bool vertical = orientation_ == orVertical;
  const int barLength = vertical ? barRect_.width() : barRect_.height();
  const int length = RoundHalfEven(barLength * hotSpotSizePercent_ / 100.0);
  const int start = (barLength - length) / 2;
  hotSpotRect_ = vertical ? QRect(barRect_.left() + start, barRect_.top(), length, barRect_.height())
                          : QRect(barRect_.left(), barRect_.top() + start, barRect_.width(), length);
}

void TFmSplitter::DrawSplitterBar(TFmCanvas& canvas) const {
  if (barRect_.isEmpty() || splitterStyle_ == ssStandard) return;
  canvas.FillRect(barRect_, Color());
  const bool vertical = orientation_ == orVertical;
  const QPoint middle = barRect_.center();
  for (const int offset : {-4, 2}) {
    const QRect grip = vertical ? QRect(middle.x() + offset, barRect_.top(), 3, barRect_.height())
                                : QRect(barRect_.left(), middle.y() + offset, barRect_.width(), 3);
    if (splitterStyle_ == ssBump)
      DrawFrame(canvas, grip, fsBump, AllSides);
    else
      DrawSides(canvas, grip, AllSides, SysColor(TSysColor::clBtnHighlight), SysColor(TSysColor::clBtnShadow));
  }
}

void TFmSplitter::DrawHotSpot(TFmCanvas& canvas) const {
  if (hotSpotRect_.isEmpty()) return;
  QRect r = DrawSides(canvas, hotSpotRect_, AllSides, SysColor(TSysColor::clBtnShadow),
                      SysColor(TSysColor::clBtnHighlight));
  canvas.FillRect(r, hotSpotHover_ ? hotSpotHighlight_ : SysColor(TSysColor::clBtnFace));
  r = DrawSides(canvas, r, AllSides, SysColor(TSysColor::cl3DDkShadow), SysColor(TSysColor::cl3DLight));
  const bool vertical = orientation_ == orVertical;
  const int length = vertical ? hotSpotRect_.width() : hotSpotRect_.height();
  const int middle = vertical ? hotSpotRect_.center().y() : hotSpotRect_.center().x();
  // Arrows point where a click sends the bar: towards the collapse side, back when collapsed.
  const bool towardsMin = (hotSpotDirection_ == hsdMin) != hotSpotClosed_;
  const int tip = towardsMin ? -1 : 1;
  const QColor arrowColor = SysColor(TSysColor::clBtnText);
  for (const int at : {6, length - 10}) {
    if (length < 20) break;
    const int a = (vertical ? hotSpotRect_.left() : hotSpotRect_.top()) + at;
    QPolygon arrow;
    if (vertical)
      arrow << QPoint(a, middle - tip) << QPoint(a + 4, middle - tip) << QPoint(a + 2, middle + 2 * tip);
    else
      arrow << QPoint(middle - tip, a) << QPoint(middle - tip, a + 4) << QPoint(middle + 2 * tip, a + 2);
    canvas.FillPolygon(arrow, arrowColor);
  }
  const QColor dotColor = SysColor(TSysColor::clBtnShadow);
  const int first = (vertical ? hotSpotRect_.left() : hotSpotRect_.top()) + 13;
  const int last = (vertical ? hotSpotRect_.left() : hotSpotRect_.top()) + length - 13;
  for (int at = first; at < last; at += 3)
    canvas.FillRect(vertical ? QRect(at, middle, 1, 1) : QRect(middle, at, 1, 1), dotColor);
}

void TFmSplitter::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  TFmPainterCanvas canvas(painter);
  PaintTo(canvas);
  DrawSplitterBar(canvas);
  DrawHotSpot(canvas);
}

void TFmSplitter::DrawDragBar() {
  if (!dragging_ || realTimeDrag_) {
    dragBar_->hide();
    return;
  }
  dragBar_->setGeometry(DragBarRect());
  dragBar_->raise();
  dragBar_->show();
}

// ----- mouse ---------------------------------------------------------------------------

int TFmSplitter::PointerCoordinate(const QPoint& point) const {
  return orientation_ == orVertical ? point.y() : point.x();
}

void TFmSplitter::UpdateCursor(const QPoint& point) {
  const bool vertical = orientation_ == orVertical;
  if (lockBar_ || !barRect_.contains(point)) {
    unsetCursor();
  } else if (hotSpotRect_.contains(point)) {
    setCursor(LoadClCursor(vertical ? QStringLiteral("FMSPLIT_VERTHOTSPOT") : QStringLiteral("FMSPLIT_HORZHOTSPOT")));
  } else {
    setCursor(LoadClCursor(vertical ? QStringLiteral("FMSPLIT_VERT") : QStringLiteral("FMSPLIT_HORZ")));
  }
}

void TFmSplitter::mousePressEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  if (event->button() != Qt::LeftButton || !barRect_.contains(point)) {
    TFmCustomPanel::mousePressEvent(event);
    return;
  }
  if (hotSpotRect_.contains(point)) {
    hotSpotArmed_ = true;
    return;
  }
  if (lockBar_) return;
  dragging_ = true;
  grabOffset_ = PointerCoordinate(point);
  dragStartPosition_ = position_;
  lastDragPosition_ = position_;
  DrawDragBar();
}

void TFmSplitter::mouseMoveEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  UpdateCursor(point);
  const bool hover = hotSpotRect_.contains(point);
  if (hover != hotSpotHover_) {
    hotSpotHover_ = hover;
    update(hotSpotRect_);
  }
  if (!dragging_) return;
  const int position = ConstrainPosition(dragStartPosition_ + PointerCoordinate(point) - grabOffset_);
  if (position == lastDragPosition_) return;
  if (OnChanging && !OnChanging(position)) return;
  ResetHotSpotClosed();
  lastDragPosition_ = position;
  if (realTimeDrag_)
    ApplyPosition(position, Source::Drag, false);
  else
    DrawDragBar();
}

void TFmSplitter::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    TFmCustomPanel::mouseReleaseEvent(event);
    return;
  }
  if (hotSpotArmed_) {
    hotSpotArmed_ = false;
    if (hotSpotRect_.contains(event->position().toPoint())) ToggleHotSpot();
    return;
  }
  if (!dragging_) return;
  dragging_ = false;
  DrawDragBar();
  if (lastDragPosition_ != position_) ApplyPosition(lastDragPosition_, Source::Drag, false);
}

void TFmSplitter::leaveEvent(QEvent* event) {
  TFmCustomPanel::leaveEvent(event);
  if (hotSpotHover_) {
    hotSpotHover_ = false;
    update(hotSpotRect_);
  }
}

void TFmSplitter::ToggleHotSpot() {
  if (!hotSpotClosed_) {
    const int restore = position_;
    hotSpotClosed_ = true;
    if (ApplyPosition(hotSpotDirection_ == hsdMin ? 0 : Extent(), Source::Explicit, true))
      hotSpotRestorePosition_ = restore;
    else
      hotSpotClosed_ = false;
  } else {
    hotSpotClosed_ = false;
    if (!ApplyPosition(hotSpotRestorePosition_, Source::Explicit, true)) hotSpotClosed_ = true;
  }
  update();
  if (OnHotSpotClick) OnHotSpotClick();
}
