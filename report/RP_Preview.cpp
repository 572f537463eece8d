#include "report/RP_Preview.h"

#include "report/engine/RP_EMFPages.h"
#include "report/engine/RP_Locale.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>

namespace {
constexpr int kSmallStep = 10;
constexpr int kLargeStep = 200;
}  // namespace

TrpPBox::TrpPBox(TrpPreview* preview) : QWidget(preview), preview_(preview) {
  setFocusPolicy(Qt::StrongFocus);
  // Every pixel is painted, so the background need not be erased first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
}

void TrpPBox::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  preview_->PaintPages(painter, event->rect());
}

void TrpPBox::keyPressEvent(QKeyEvent* event) {
  if (preview_->HandleKey(event)) {
    event->accept();
  } else {
    QWidget::keyPressEvent(event);
  }
}

void TrpPBox::wheelEvent(QWheelEvent* event) { preview_->HandleWheel(event); }

void TrpPBox::mousePressEvent(QMouseEvent* event) { preview_->HandleMousePress(event); }

void TrpPBox::mouseMoveEvent(QMouseEvent* event) { preview_->HandleMouseMove(event); }

void TrpPBox::mouseReleaseEvent(QMouseEvent* event) { preview_->HandleMouseRelease(event); }

void TrpPBox::mouseDoubleClickEvent(QMouseEvent* event) { preview_->HandleDoubleClick(event); }

void TrpPBox::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  preview_->Relayout();
}

TrpPreview::TrpPreview(QWidget* parent)
    : QFrame(parent), factor_(rpLastScale().Factor), mode_(rpLastScale().Mode) {
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  box_ = new TrpPBox(this);
  vbar_ = new QScrollBar(Qt::Vertical, this);
  hbar_ = new QScrollBar(Qt::Horizontal, this);
  pageUp_ = new QToolButton(this);
  pageDown_ = new QToolButton(this);
  pageUp_->setArrowType(Qt::UpArrow);
  pageDown_->setArrowType(Qt::DownArrow);
  pageUp_->setToolTip(rpLoadStr(53204));  // "Previous page"
  pageDown_->setToolTip(rpLoadStr(53205));  // "Next page"
  for (QWidget* w : {static_cast<QWidget*>(vbar_), static_cast<QWidget*>(hbar_), static_cast<QWidget*>(pageUp_),
                     static_cast<QWidget*>(pageDown_)}) {
    w->setFocusPolicy(Qt::NoFocus);
  }
  for (QScrollBar* bar : {vbar_, hbar_}) {
    bar->setSingleStep(kSmallStep);
    bar->setPageStep(kLargeStep);
  }
  setFocusProxy(box_);

  auto* right = new QVBoxLayout;
  right->setContentsMargins(0, 0, 0, 0);
  right->setSpacing(0);
  right->addWidget(vbar_, 1);
  right->addWidget(pageUp_);
  right->addWidget(pageDown_);
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(1, 1, 1, 1);
  grid->setSpacing(0);
  grid->addWidget(box_, 0, 0);
  grid->addLayout(right, 0, 1);
  grid->addWidget(hbar_, 1, 0);

  connect(vbar_, &QScrollBar::valueChanged, this, &TrpPreview::OnVertical);
  connect(hbar_, &QScrollBar::valueChanged, box_, qOverload<>(&QWidget::update));
  connect(pageUp_, &QToolButton::clicked, this, &TrpPreview::Prev);
  connect(pageDown_, &QToolButton::clicked, this, &TrpPreview::Next);
  Relayout();
}

TrpPreview::~TrpPreview() = default;

int TrpPreview::GetAllPages() const { return pages_ ? pages_->Count() : 0; }

void TrpPreview::Connect(TrpEMFPages* pages) {
  Clear();
  pages_ = pages;
  current_ = GetAllPages() > 0 ? 1 : 0;
  factor_ = rpLastScale().Factor;
  mode_ = rpLastScale().Mode;
  hbar_->setValue(0);
  Relayout();
  ShowPageNumber();
}

void TrpPreview::Clear() {
  if (pages_) {
    for (int i = 0; i < pages_->Count(); ++i) pages_->Pages(i).InUse = false;
  }
  pages_ = nullptr;
  current_ = 0;
  cache_.clear();
  cacheUse_.clear();
  cacheBytes_ = 0;
  Relayout();
  ShowPageNumber();
}

void TrpPreview::SetPage(int page) {
  if (page < 1 || page > GetAllPages()) return;
  current_ = page;
  ScrollToCurrentPage();
  ShowPageNumber();
}

void TrpPreview::ApplyZoom(TrpZoomMode mode, double factor) {
  mode_ = mode;
  factor_ = factor;
  Relayout();
  rpLastScale() = {factor_, mode_};
}

void TrpPreview::SetZoom(int percent) {
  if (percent <= 0) return;
  ApplyZoom(TrpZoomMode::Free, percent / 100.0);
}

void TrpPreview::PageWidth() { ApplyZoom(TrpZoomMode::PageWidth, factor_); }

void TrpPreview::OnePage() { ApplyZoom(TrpZoomMode::OnePage, factor_); }

void TrpPreview::SetScrollBars(TrpScrollBars bars) {
  scrollBars_ = bars;
  const bool vertical = bars == TrpScrollBars::Both || bars == TrpScrollBars::Vertical;
  const bool horizontal = bars == TrpScrollBars::Both || bars == TrpScrollBars::Horizontal;
  vbar_->setVisible(vertical);
  pageUp_->setVisible(vertical);
  pageDown_->setVisible(vertical);
  hbar_->setVisible(horizontal);
}

void TrpPreview::SetImageBudget(qint64 bytes) {
  imageBudget_ = bytes;
  KeepWithinBudget();
}

void TrpPreview::KeepWithinBudget() {
  while (cacheBytes_ > imageBudget_) {
    // The image painted longest ago goes first; those painted last stay, as they are
    // the ones on screen.
    int oldest = -1;
    for (size_t i = 0; i < cache_.size(); ++i) {
      if (!cache_[i].isNull() && cacheUse_[i] != useClock_ && (oldest < 0 || cacheUse_[i] < cacheUse_[size_t(oldest)])) {
        oldest = int(i);
      }
    }
    if (oldest < 0) return;
    cacheBytes_ -= cache_[size_t(oldest)].sizeInBytes();
    cache_[size_t(oldest)] = QImage();
  }
}

bool TrpPreview::IsPageCached(int index) const {
  return index >= 0 && size_t(index) < cache_.size() && !cache_[size_t(index)].isNull();
}

void TrpPreview::Relayout() {
  std::vector<QSize> sizes;
  if (pages_) {
    for (int i = 0; i < pages_->Count(); ++i) {
      const TrpPageInfo& info = pages_->Pages(i).PageInfo;
      sizes.emplace_back(info.PaperWidth, info.PaperHeight);
    }
  }
  layout_ = rpLayoutPages(sizes, current_ - 1, box_->size(), mode_, factor_);
  factor_ = layout_.Factor;
  // Images drawn at another zoom, or for another set of pages, are of no use.
  if (cacheFactor_ != factor_ || cache_.size() != sizes.size()) {
    cache_.assign(sizes.size(), QImage());
    cacheUse_.assign(sizes.size(), 0);
    cacheBytes_ = 0;
    cacheFactor_ = factor_;
  }
  followScroll_ = false;
  hbar_->setRange(0, layout_.HorzMax);
  vbar_->setRange(0, layout_.VertMax);
  followScroll_ = true;
  hbar_->setEnabled(layout_.HorzMax > 0);
  vbar_->setEnabled(layout_.VertMax > 0);
  ScrollToCurrentPage();
  box_->update();
}

void TrpPreview::ScrollToCurrentPage() {
  if (current_ < 1 || size_t(current_) > layout_.Rects.size()) return;
  const int pos = rpScrollPosForPage(layout_.Rects[size_t(current_ - 1)]);
  if (vbar_->value() == pos) return;
  // The page asked for stays current even when the bar cannot reach its top.
  followScroll_ = false;
  vbar_->setValue(pos);
  followScroll_ = true;
}

void TrpPreview::OnVertical(int value) {
  box_->update();
  if (!followScroll_) return;
  const int page = rpPageAtTop(layout_.Rects, value);
  if (page >= 0 && page + 1 != current_) {
    current_ = page + 1;
    ShowPageNumber();
  }
}

void TrpPreview::ShowPageNumber() {
  emit PageChanged(current_);
  status_ = GetAllPages() > 0 ? rpLoadStr(53221) + QStringLiteral(" %1/%2").arg(current_).arg(GetAllPages()) : QString();
}

bool TrpPreview::HandleKey(QKeyEvent* event) {
  if (GetAllPages() == 0) return false;
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  auto step = [](QScrollBar* bar, int by) { bar->setValue(bar->value() + by); };
  switch (event->key()) {
    case Qt::Key_Up: step(vbar_, -kSmallStep); return true;
    case Qt::Key_Down: step(vbar_, kSmallStep); return true;
    case Qt::Key_Left: step(hbar_, -kSmallStep); return true;
    case Qt::Key_Right: step(hbar_, kSmallStep); return true;
    case Qt::Key_PageUp:
      if (ctrl) {
        Prev();
      } else {
        step(vbar_, -kLargeStep);
      }
      return true;
    case Qt::Key_PageDown:
      if (ctrl) {
        Next();
      } else {
        step(vbar_, kLargeStep);
      }
      return true;
    case Qt::Key_Home:
      if (!ctrl) return false;
      vbar_->setValue(0);
      return true;
    case Qt::Key_End:
      if (!ctrl) return false;
      Last();
      return true;
    default: return false;
  }
}

void TrpPreview::HandleWheel(QWheelEvent* event) {
  const int notches = event->angleDelta().y() / 120;
  if (notches != 0) vbar_->setValue(vbar_->value() - notches * kSmallStep * wheelFactor_);
  event->accept();
}

QRect TrpPreview::DrawRectFor(int index, QSize size) const {
  const TrpEMFPage& record = pages_->Pages(index);
  if (record.UseMargins) return QRect(QPoint(0, 0), size);
  const TrpPageInfo& info = record.PageInfo;
  auto scaled = [this](int units) { return int(std::lround(units * factor_)); };
  return QRect(scaled(info.OffsetX + record.MarginLeft), scaled(info.OffsetY + record.MarginTop),
               scaled(info.PrintWidth - record.MarginLeft - record.MarginRight),
               scaled(info.PrintHeight - record.MarginTop - record.MarginBottom));
}

const QImage& TrpPreview::PageImage(int index) {
  QImage& image = cache_[size_t(index)];
  cacheUse_[size_t(index)] = useClock_;
  if (!image.isNull()) return image;
  const QSize size = layout_.Rects[size_t(index)].size();
  image = QImage(size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  pages_->Draw(index, painter, DrawRectFor(index, size));
  cacheBytes_ += image.sizeInBytes();
  return image;
}

void TrpPreview::PaintPages(QPainter& painter, const QRect& clip) {
  if (GetAllPages() == 0) {
    painter.fillRect(clip, palette().color(QPalette::Button));
    return;
  }
  const std::vector<bool> visible = rpVisiblePages(layout_.Rects, hbar_->value(), vbar_->value(), box_->size());
  painter.fillRect(clip, QColor(128, 128, 128));
  ++useClock_;
  for (int i = 0; i < pages_->Count(); ++i) {
    TrpEMFPage& record = pages_->Pages(i);
    const QRect rect = layout_.Rects[size_t(i)].translated(-hbar_->value(), -vbar_->value());
    record.InUse = visible[size_t(i)] && rect.intersects(clip);
    if (!record.InUse) {
      // Lets the prepared pages free the objects rebuilt for this page.
      pages_->Draw(i, painter, QRect());
      continue;
    }
    painter.drawImage(rect.topLeft(), PageImage(i));
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    const int right = rect.left() + rect.width(), bottom = rect.top() + rect.height();
    painter.drawLine(rect.left() + 1, bottom, right, bottom);
    painter.drawLine(right, bottom, right, rect.top() + 1);
  }
  KeepWithinBudget();
}

int TrpPreview::PageAt(QPoint point, QPoint* unitPoint) const {
  const QPoint scrolled = point + QPoint(hbar_->value(), vbar_->value());
  for (size_t i = 0; i < layout_.Rects.size(); ++i) {
    const QRect& rect = layout_.Rects[i];
    if (!rect.contains(scrolled)) continue;
    if (unitPoint) {
      *unitPoint = QPoint(int((scrolled.x() - rect.left()) / factor_), int((scrolled.y() - rect.top()) / factor_));
    }
    return int(i);
  }
  return -1;
}

void TrpPreview::HandleMousePress(QMouseEvent* event) {
  event->accept();
  if (event->button() != Qt::LeftButton || GetAllPages() == 0) return;
  QPoint unitPoint;
  const int page = PageAt(event->position().toPoint(), &unitPoint);
  if (page >= 0) {
    current_ = page + 1;
    ShowPageNumber();
    Qt::CursorShape cursor = Qt::ArrowCursor;
    if (pages_->ObjectClickAt(page, unitPoint, true, cursor)) return;
  }
  dragging_ = true;
  dragFrom_ = event->globalPosition().toPoint();
}

void TrpPreview::HandleMouseMove(QMouseEvent* event) {
  event->accept();
  if (dragging_) {
    const QPoint now = event->globalPosition().toPoint();
    const QPoint moved = now - dragFrom_;
    dragFrom_ = now;
    hbar_->setValue(hbar_->value() - moved.x());
    vbar_->setValue(vbar_->value() - moved.y());
    return;
  }
  if (GetAllPages() == 0) return;
  Qt::CursorShape cursor = Qt::ArrowCursor;
  QPoint unitPoint;
  const int page = PageAt(event->position().toPoint(), &unitPoint);
  if (page < 0 || !pages_->ObjectClickAt(page, unitPoint, false, cursor)) cursor = Qt::ArrowCursor;
  box_->setCursor(cursor);
}

void TrpPreview::HandleMouseRelease(QMouseEvent* event) {
  event->accept();
  if (event->button() == Qt::LeftButton) dragging_ = false;
}

void TrpPreview::HandleDoubleClick(QMouseEvent* event) {
  event->accept();
  if (GetAllPages() == 0) return;
  const int page = PageAt(event->position().toPoint());
  if (page < 0) return;
  current_ = page + 1;
  ShowPageNumber();
}
