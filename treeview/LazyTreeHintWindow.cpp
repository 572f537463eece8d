// The tree's hint window: measuring, placing, painting and the fade and slide animations.
#include "treeview/LazyTreeHintWindow.h"

#include "treeview/LazyTrees.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QToolTip>

namespace {
enum { kNoAnimation, kFade, kSlide };
constexpr int kStepMs = 15;
}  // namespace

std::function<QRect(QPoint)>& TLazyTreeHintWindow::AvailableAreaAt() {
  static std::function<QRect(QPoint)> area = [](QPoint p) {
    QScreen* screen = QGuiApplication::screenAt(p);
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  };
  return area;
}

bool& TLazyTreeHintWindow::StopAnimations() {
  static bool stop = false;
  return stop;
}

TLazyTreeHintWindow::TLazyTreeHintWindow(QWidget* parent) : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
  StopAnimations() = false;
  stepTimer_.setInterval(kStepMs);
  connect(&stepTimer_, &QTimer::timeout, this, [this] {
    TBaseLazyTree* tree = data_.Tree;
    AnimationStep(tree ? tree->Now() : animationStart_ + 1000000);
  });
}

TLazyTreeHintWindow::~TLazyTreeHintWindow() { StopAnimations() = true; }

QRect TLazyTreeHintWindow::MeasureHintRect(int maxWidth, const TLTHintData* hintData) {
  if (!hintData || !hintData->Tree) return {};
  data_ = *hintData;
  setLayoutDirection(Qt::LeftToRight);
  TBaseLazyTree* tree = data_.Tree;
  const bool tooltip = tree->HintMode() == hmTooltip && data_.Node;
  rightToLeft_ = tree->ColumnIsRightToLeft(data_.Column);
  const TLTAlignment alignment = tree->ColumnAlignment(data_.Column);
  alignment_ = alignment == taRightJustify ? Qt::AlignRight : alignment == taCenter ? Qt::AlignHCenter : Qt::AlignLeft;
  if (rightToLeft_ && alignment_ != Qt::AlignHCenter) alignment_ = alignment_ == Qt::AlignLeft ? Qt::AlignRight : Qt::AlignLeft;
  font_ = tooltip ? tree->CellFont(data_.Node, data_.Column) : QToolTip::font();
  lineHeight_ = QFontMetrics(font_).height();

  if (!data_.DefaultHint.isEmpty())
    text_ = data_.DefaultHint;
  else if (tooltip)
    text_ = tree->HintCellText(data_.Node, data_.Column);
  else if (data_.Node)
    text_ = tree->DoGetHint(data_.Node, data_.Column);
  else
    text_.clear();
  if (text_.isEmpty()) return {};

  const QFontMetrics metrics(font_);
  QRect r;
  if (!tooltip) {
    const QRect text = metrics.boundingRect(QRect(0, 0, std::max(maxWidth, 1), 0), Qt::TextWordWrap, text_);
    r = QRect(0, 0, text.width() + 2 * tree->TextMargin() + 2, text.height() + 6);
  } else if (data_.Node->Has(nsMultiline)) {
    const QRect cell = tree->CellTextRect(data_.Node, data_.Column);
    const QRect text = metrics.boundingRect(QRect(0, 0, std::max(cell.width(), 1), 0), Qt::TextWordWrap, text_);
    r = QRect(cell.topLeft(), QSize(text.width() + 1, text.height()));
    // Text that is shown whole already needs no tooltip.
    if (r.height() <= data_.Node->NodeHeight + 2 && tree->viewport()->rect().contains(r)) return {};
    r.adjust(-1, -1, 1, 1);
  } else {
    r = tree->CellTextRect(data_.Node, data_.Column);
    if (tree->TreeOptions().PaintOptions().Contains(toShowHorzGridLines)) r.setHeight(r.height() - 1);
    r.adjust(-1, -1, 1, 1);
  }
  return r.translated(-r.topLeft());
}

void TLazyTreeHintWindow::RenderHint() {
  rendered_ = QImage(size(), QImage::Format_ARGB32_Premultiplied);
  QPainter p(&rendered_);
  p.fillRect(rendered_.rect(), palette().color(QPalette::ToolTipBase));
  p.setPen(Qt::black);
  p.drawRect(rendered_.rect().adjusted(0, 0, -1, -1));
  TBaseLazyTree* tree = data_.Tree;
  const int margin = tree ? tree->TextMargin() : 4;
  const bool tooltip = tree && tree->HintMode() == hmTooltip && data_.Node;
  const bool multiline = data_.Node && data_.Node->Has(nsMultiline);
  QRect area = rendered_.rect().adjusted(margin + 1, 1, -(margin + 1), -1);
  int flags = alignment_;
  if (tooltip) {
    flags |= multiline ? (Qt::AlignTop | Qt::TextWordWrap) : (Qt::AlignVCenter | Qt::TextSingleLine);
    if (multiline) area.setTop(1);
  } else {
    area.setTop(2);
    flags |= Qt::AlignTop | Qt::TextWordWrap;
  }
  p.setFont(font_);
  p.setPen(palette().color(QPalette::ToolTipText));
  p.setLayoutDirection(rightToLeft_ ? Qt::RightToLeft : Qt::LeftToRight);
  p.drawText(area, flags, text_);
}

void TLazyTreeHintWindow::ShowHintAt(QRect r) {
  if (r.isEmpty()) {
    CancelHint();
    return;
  }
  TBaseLazyTree* tree = data_.Tree;
  if (tree && tree->TreeStates().Contains(tsInAnimation)) tree->DoStateChange({}, {tsInAnimation});
  stepTimer_.stop();
  animation_ = kNoAnimation;
  // Kept on the screen that holds the mouse, which need not start at the origin.
  const QRect area = AvailableAreaAt()(QCursor::pos());
  if (r.bottom() > area.bottom()) r.moveBottom(area.bottom());
  if (r.top() < area.top()) r.moveTop(area.top());
  if (r.right() > area.right()) r.moveRight(area.right());
  if (r.left() < area.left()) r.moveLeft(area.left());
  setGeometry(r);
  RenderHint();
  background_ = QImage(r.size(), QImage::Format_ARGB32_Premultiplied);
  background_.fill(Qt::transparent);
  if (QScreen* screen = QGuiApplication::screenAt(r.center())) {
    const QPixmap under = screen->grabWindow(0, r.x() - screen->geometry().x(), r.y() - screen->geometry().y(),
                                             r.width(), r.height());
    if (!under.isNull()) background_ = under.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
  }
  const THintAnimationType type = tree ? tree->GetHintAnimationType() : hatNone;
  if (type == hatFade || type == hatSlide) {
    animation_ = type == hatFade ? kFade : kSlide;
    animationStart_ = tree->Now();
    if (tree) tree->DoStateChange({tsInAnimation});
    ComposeFrame(0);
    stepTimer_.start();
  } else {
    frame_ = rendered_;
  }
  show();
  raise();
}

void TLazyTreeHintWindow::ComposeFrame(qint64 elapsed) {
  TBaseLazyTree* tree = data_.Tree;
  const int duration = std::max(tree ? tree->AnimationDuration() : 200, 1);
  frame_ = background_.size() == rendered_.size() ? background_.copy() : QImage(rendered_.size(), rendered_.format());
  if (background_.size() != rendered_.size()) frame_.fill(Qt::transparent);
  QPainter p(&frame_);
  if (animation_ == kFade) {
    // 255 steps over twice the duration, the hint blended over what was under it.
    const int step = static_cast<int>(std::min<qint64>(255, elapsed * 255 / (2 * duration)));
    p.setOpacity(step * 256.0 / 255.0 / 256.0);
    p.drawImage(0, 0, rendered_);
  } else if (animation_ == kSlide) {
    // Step s shows the bottom s rows of the hint at the top of the window.
    const int rows = static_cast<int>(std::min<qint64>(height(), elapsed * height() / duration));
    if (rows > 0) p.drawImage(QRect(0, 0, width(), rows), rendered_, QRect(0, height() - rows, width(), rows));
  } else {
    p.drawImage(0, 0, rendered_);
  }
}

bool TLazyTreeHintWindow::AnimationStep(qint64 now) {
  if (animation_ == kNoAnimation) return false;
  TBaseLazyTree* tree = data_.Tree;
  const qint64 elapsed = now - animationStart_;
  const int duration = std::max(tree ? tree->AnimationDuration() : 200, 1);
  const qint64 total = animation_ == kFade ? 2 * duration : duration;
  const bool stopped = StopAnimations() || !isVisible() || !tree || tree->TreeStates().Contains(tsCancelHintAnimation);
  if (stopped || elapsed >= total) {
    // The last step always shows the whole hint.
    animation_ = kNoAnimation;
    stepTimer_.stop();
    frame_ = rendered_;
    if (tree) tree->DoStateChange({}, {tsInAnimation, tsCancelHintAnimation});
    update();
    return false;
  }
  ComposeFrame(elapsed);
  update();
  return true;
}

void TLazyTreeHintWindow::CancelHint() {
  stepTimer_.stop();
  animation_ = kNoAnimation;
  hide();
}

void TLazyTreeHintWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.drawImage(0, 0, frame_.isNull() ? rendered_ : frame_);
}

void TLazyTreeHintWindow::hideEvent(QHideEvent* e) {
  QWidget::hideEvent(e);
  StopAnimations() = false;
  if (TBaseLazyTree* tree = data_.Tree) tree->HintWindowHidden();
  data_ = TLTHintData();
}
