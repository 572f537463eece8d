#include "controls/clnbk.h"

#include "controls/FmCanvas.h"
#include "controls/FmColors.h"
#include "controls/FmFonts.h"
#include "platform/Application.h"

#include <QEvent>
#include <QResizeEvent>

#include <algorithm>

namespace {

constexpr int kMinEdgeExtent = 20;
constexpr int kTextHeightMargin = 4;

}  // namespace

// ---- TClTabPage ------------------------------------------------------------------

TClTabPage::TClTabPage(TClNotebook* notebook)
    : TClCollectibleControl(notebook, staticMetaObject),
      tabColor_(SysColor(TSysColor::clBtnFace)),
      textColor_(SysColor(TSysColor::clBtnText)) {
  // A page is seen only while it is the current one.
  hide();
  setAutoFillBackground(true);
  setFocusPolicy(Qt::NoFocus);
  AnnounceJoined();
}

TClNotebook* TClTabPage::Notebook() const {
  return Collection() != nullptr ? static_cast<TClNotebook*>(&Collection()->Owner()) : nullptr;
}

void TClTabPage::SetCaption(const QString& caption) {
  caption_ = caption;
  if (TClNotebook* notebook = Notebook()) notebook->PageCaptionChanged();
}

void TClTabPage::SetPageVisible(bool visible) {
  pageVisible_ = visible;
  if (TClNotebook* notebook = Notebook()) notebook->PagesChanged();
}

void TClTabPage::SetTabColor(const QColor& color) {
  tabColor_ = color;
  if (TClNotebook* notebook = Notebook()) {
    notebook->InvalidateTab(Index());
    if (Index() == notebook->PageIndex()) notebook->FollowTabColor();
  }
}

void TClTabPage::SetTextColor(const QColor& color) {
  textColor_ = color;
  if (TClNotebook* notebook = Notebook()) notebook->InvalidateTab(Index());
}

void TClTabPage::SetParentFont(bool parentFont) {
  if (parentFont) setFont(QFont());
}

void TClTabPage::changeEvent(QEvent* event) {
  TClCollectibleControl::changeEvent(event);
  TClNotebook* notebook = Notebook();
  if (notebook == nullptr) return;
  if (event->type() == QEvent::EnabledChange) notebook->update();
  if (event->type() == QEvent::FontChange) {
    RunGuarded([notebook] { notebook->PageFontChanged(); });
  }
}

// ---- TClNotebook: pages ----------------------------------------------------------

TClNotebook::TClNotebook(QWidget* parent)
    : TClCustomControlEx(parent),
      pages_(std::make_unique<TClCollection>(*this, TClTabPage::staticMetaObject, [this] { PagesChanged(); })),
      metrics_(&ScreenTextMetrics()),
      highlightColor_(SysColor(TSysColor::clBtnHighlight)),
      shadowColor_(SysColor(TSysColor::clBtnShadow)),
      textShadowColor_(SysColor(TSysColor::clBtnShadow)) {
  // The control's font as it is now; the active tab keeps it until it is given another.
  activeTabFont_ = font();
  resize(220, 185);
  setMinimumWidth(kMinEdgeExtent);
  SetTabStop(true);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  SetColorInternally(SysColor(TSysColor::clBtnFace));
  WatchParent();
}

// The strip behind the tabs shows the parent's colour, so a change of it repaints.
void TClNotebook::WatchParent() {
  if (watchedParent_ != nullptr) watchedParent_->removeEventFilter(this);
  watchedParent_ = parentWidget();
  if (watchedParent_ != nullptr) watchedParent_->installEventFilter(this);
}

bool TClNotebook::eventFilter(QObject* watched, QEvent* event) {
  if (watched == watchedParent_ && event->type() == QEvent::PaletteChange) update();
  return TClCustomControlEx::eventFilter(watched, event);
}

TClNotebook::~TClNotebook() {
  // The pages go first, while the notebook they report to is still whole.
  pages_.reset();
}

TClTabPage* TClNotebook::PageAt(int index) const {
  if (index < 0 || index >= CountPages()) return nullptr;
  return static_cast<TClTabPage*>(pages_->Items(index));
}

bool TClNotebook::IsValidPage(int index) const {
  const TClTabPage* page = PageAt(index);
  return page != nullptr && page->Enabled() && page->PageVisible();
}

int TClNotebook::NextValidPage(int index) const {
  const int count = CountPages();
  if (count == 0) return -1;
  if (index < 0 || index >= count) index = count - 1;
  for (int i = (index + 1) % count; i != index; i = (i + 1) % count) {
    if (IsValidPage(i)) return i;
  }
  return -1;
}

int TClNotebook::PrevValidPage(int index) const {
  const int count = CountPages();
  if (count == 0) return -1;
  if (index < 0 || index >= count) index = 0;
  for (int i = (index - 1 + count) % count; i != index; i = (i - 1 + count) % count) {
    if (IsValidPage(i)) return i;
  }
  return -1;
}

void TClNotebook::BecomeCurrent(int index) {
  pageIndex_ = index;
  if (TClTabPage* page = PageAt(index)) {
    activeRow_ = page->TabRow();
    SetHelpContext(page->HelpContext());
    SetHint(page->Hint());
  }
  FollowTabColor();
  LayOutPages();
  update();
}

void TClNotebook::SetPageIndex(int value) {
  if (Loading()) {
    pageIndex_ = value;
    return;
  }
  if (value == pageIndex_ || !IsValidPage(value)) {
    if (!IsValidPage(value) || !IsValidPage(pageIndex_)) throw EInvalidPageIndex();
    return;
  }
  if (changing_) return;
  changing_ = true;
  const int old = pageIndex_;
  auto firePageChanged = [&] {
    if (pageIndex_ == value && old != -1 && OnPageChanged) OnPageChanged(*this, pageIndex_);
  };
  try {
    bool allow = true;
    if (old != -1 && OnPageChange) OnPageChange(*this, value, allow);
    if (!allow) {
      changing_ = false;
      return;
    }
    QWidget* focused = window()->focusWidget();
    if (focused != nullptr && (focused == this || isAncestorOf(focused))) focused->clearFocus();
    TClTabPage* page = PageAt(value);
    page->raise();
    page->show();
    // The old page goes even when it has been disabled meanwhile: left shown under the
    // new one, its controls would still take the focus.
    if (TClTabPage* oldPage = PageAt(old)) oldPage->hide();
    BecomeCurrent(value);
  } catch (...) {
    changing_ = false;
    firePageChanged();
    throw;
  }
  changing_ = false;
  firePageChanged();
  if (!IsValidPage(pageIndex_)) throw EInvalidPageIndex();
}

int TClNotebook::FirstValidPage() const {
  for (int i = 0; i < CountPages(); ++i) {
    if (IsValidPage(i)) return i;
  }
  return -1;
}

void TClNotebook::DeletePage(int index) {
  if (PageAt(index) == nullptr) return;
  const int old = pageIndex_;
  if (TClTabPage* current = PageAt(old)) current->hide();
  pages_->Delete(index);
  // The page shown before stays shown when it was another one (its number moves down
  // when a page before it went); in place of the deleted one comes the page that takes
  // its number, else the first valid page, else none.
  const int keep = index < old ? old - 1 : old;
  if (IsValidPage(keep)) {
    TClTabPage* page = PageAt(keep);
    page->raise();
    page->show();
    BecomeCurrent(keep);
  } else if (const int first = FirstValidPage(); first >= 0) {
    pageIndex_ = keep;
    SetPageIndex(first);
  } else {
    BecomeCurrent(-1);
  }
}

void TClNotebook::ShowControl(QWidget* page) {
  const int index = pages_->IndexOf(qobject_cast<TClCollectibleControl*>(page));
  if (index >= 0) SetPageIndex(index);
}

void TClNotebook::Loaded() {
  TClCustomControlEx::Loaded();
  if (CountPages() == 0) return;
  for (int i = 0; i < CountPages(); ++i) {
    if (i != defaultPageIndex_) PageAt(i)->hide();
  }
  // From "no page" to the stored one: neither page event fires for the first page.
  pageIndex_ = -1;
  SetPageIndex(defaultPageIndex_);
  LayOutPages();
}

void TClNotebook::CreateWnd() {
  TClCustomControlEx::CreateWnd();
  if (TClTabPage* page = PageAt(pageIndex_); page != nullptr && IsValidPage(pageIndex_)) {
    page->raise();
    page->show();
  }
  LayOutPages();
}

void TClNotebook::PagesChanged() {
  GrabAccelerators();
  LayOutPages();
  update();
}

void TClNotebook::PageCaptionChanged() { PagesChanged(); }

// ---- TClNotebook: look -----------------------------------------------------------

void TClNotebook::SetColorInternally(const QColor& color) {
  colorChangingInternally_ = true;
  SetColor(color);
  colorChangingInternally_ = false;
}

void TClNotebook::FollowTabColor() {
  if (!pageUsesTabColor_) return;
  if (const TClTabPage* page = PageAt(pageIndex_)) SetColorInternally(page->TabColor());
}

void TClNotebook::ColorChanged() {
  update();
  if (Loading() || colorChangingInternally_) return;
  pageUsesTabColor_ = false;
  if (tabUseDefaultColor_) {
    for (int i = 0; i < CountPages(); ++i) PageAt(i)->tabColor_ = Color();
  }
}

void TClNotebook::SetTabUseDefaultColor(bool use) {
  tabUseDefaultColor_ = use;
  if (use && !Loading()) {
    for (int i = 0; i < CountPages(); ++i) PageAt(i)->tabColor_ = Color();
  }
  update();
}

void TClNotebook::SetPageUsesTabColor(bool use) {
  pageUsesTabColor_ = use;
  FollowTabColor();
  update();
}

void TClNotebook::SetUseActiveTabFont(bool use) {
  useActiveTabFont_ = use;
  LayOutPages();
  update();
}

void TClNotebook::SetActiveTabFont(const QFont& font) {
  activeTabFont_ = font;
  if (Loading()) return;
  CheckTabFonts(true);
  LayOutPages();
  update();
}

void TClNotebook::SetHighlightColor(const QColor& color) {
  highlightColor_ = color;
  update();
}

void TClNotebook::SetShadowColor(const QColor& color) {
  shadowColor_ = color;
  update();
}

void TClNotebook::SetTextShadowColor(const QColor& color) {
  textShadowColor_ = color;
  update();
}

void TClNotebook::SetOldStyle(bool oldStyle) {
  oldStyle_ = oldStyle;
  LayOutPages();
  update();
}

void TClNotebook::SetShadowedText(bool shadowed) {
  shadowedText_ = shadowed;
  update();
}

void TClNotebook::SetTabAutoHeight(bool automatic) {
  tabAutoHeight_ = automatic;
  LayOutPages();
  update();
}

void TClNotebook::SetTabHeight(int height) {
  if (height < 0) return;
  tabHeight_ = height;
  if (!Loading()) tabAutoHeight_ = false;
  LayOutPages();
  update();
}

bool TClNotebook::IsSideways() const {
  return orientation_ == TClTabOrientation::toRight || orientation_ == TClTabOrientation::toLeft;
}

void TClNotebook::SetTabOrientation(TClTabOrientation orientation) {
  orientation_ = orientation;
  if (IsSideways()) {
    setMinimumSize(0, kMinEdgeExtent);
  } else {
    setMinimumSize(kMinEdgeExtent, 0);
  }
  CheckTabFonts(false);
  LayOutPages();
  update();
}

void TClNotebook::SetTabTextOrientation(TTabTextOrientation orientation) {
  textOrientation_ = orientation;
  update();
}

void TClNotebook::SetTabRowCount(int count) {
  if (count >= 0 && count <= CountPages()) tabRowCount_ = count;
  LayOutPages();
  update();
}

void TClNotebook::ChangeScale(int m, int d) {
  if (d == 0) return;
  tabHeight_ = tabHeight_ * m / d;
  if (activeTabFont_.pointSizeF() > 0) {
    activeTabFont_.setPointSizeF(activeTabFont_.pointSizeF() * m / d);
  } else if (activeTabFont_.pixelSize() > 0) {
    activeTabFont_.setPixelSize(activeTabFont_.pixelSize() * m / d);
  }
  LayOutPages();
  update();
}

// Side tabs turn their captions, which only outline fonts do cleanly. A font that
// cannot turn is replaced by one that can when `repairFonts` (a font just changed), and
// reported either way; a repair that changes fonts again does not check once more.
void TClNotebook::CheckTabFonts(bool repairFonts) {
  if (!IsSideways() || checkingFonts_) return;
  checkingFonts_ = true;
  bool invalid = false;
  auto check = [&](QFont font, const std::function<void(const QFont&)>& apply) {
    if (IsOutlineFont(font)) return;
    invalid = true;
    if (!repairFonts) return;
    font.setFamily(RotationFallbackFamily());
    apply(font);
  };
  check(font(), [this](const QFont& repaired) { setFont(repaired); });
  if (useActiveTabFont_) check(activeTabFont_, [this](const QFont& repaired) { activeTabFont_ = repaired; });
  for (int i = 0; i < CountPages(); ++i) {
    TClTabPage* page = PageAt(i);
    check(page->font(), [page](const QFont& repaired) { page->setFont(repaired); });
  }
  checkingFonts_ = false;
  if (invalid) throw EInvalidTabFont();
}

void TClNotebook::PageFontChanged() {
  LayOutPages();
  update();
  CheckTabFonts(true);
}

void TClNotebook::changeEvent(QEvent* event) {
  TClCustomControlEx::changeEvent(event);
  if (event->type() == QEvent::FontChange) {
    LayOutPages();
    update();
    RunGuarded([this] { CheckTabFonts(true); });
  } else if (event->type() == QEvent::ParentChange) {
    WatchParent();
    update();
  } else if (event->type() == QEvent::EnabledChange) {
    update();
  }
}

// ---- TClNotebook: layout ---------------------------------------------------------

void TClNotebook::SetTextMetrics(const TFmTextMetrics& metrics) {
  metrics_ = &metrics;
  LayOutPages();
}

int TClNotebook::TextHeight(const QFont& font) const { return metrics_->LineHeight(font); }

int TClNotebook::MeasureTabHeight() const {
  int height = TextHeight(font());
  if (useActiveTabFont_) height = std::max(height, TextHeight(activeTabFont_));
  for (int i = 0; i < CountPages(); ++i) height = std::max(height, TextHeight(PageAt(i)->font()));
  return height + kTextHeightMargin;
}

void TClNotebook::LayOutPages() {
  if (tabAutoHeight_) tabHeight_ = MeasureTabHeight();
  TClTabLayoutInput input;
  input.edgeLength = TabEdgeLength(orientation_, size());
  input.fixedRows = tabRowCount_;
  input.oldStyle = oldStyle_;
  input.tabHeight = tabHeight_;
  input.currentPage = pageIndex_;
  input.previousActiveRow = activeRow_;
  for (int i = 0; i < CountPages(); ++i) {
    const TClTabPage* page = PageAt(i);
    int width = 0;
    if (page->PageVisible()) {
      const QString caption = StripAccelerators(page->Caption());
      const int active = useActiveTabFont_ ? metrics_->TextWidth(activeTabFont_, caption) : 0;
      width = TabWidthFor(active, metrics_->TextWidth(page->font(), caption));
    }
    input.widths.push_back(width);
  }
  // Without a tab height there are no tabs.
  if (tabHeight_ == 0) input.widths.assign(input.widths.size(), 0);
  layout_ = LayOutTabs(input);
  activeRow_ = layout_.activeRow;
  const QTransform frame = EdgeFrame(orientation_, size());
  for (int i = 0; i < CountPages(); ++i) {
    TClTabPage* page = PageAt(i);
    page->row_ = layout_.rows[static_cast<size_t>(i)];
    page->tabWidth_ = layout_.widths[static_cast<size_t>(i)];
    const QRect tab = layout_.tabs[static_cast<size_t>(i)];
    page->tabRect_ = tab.isEmpty() ? QRect() : frame.mapRect(QRectF(tab)).toRect();
  }
  const QRect area = PageArea(orientation_, size(), layout_.rowCount, tabHeight_);
  for (int i = 0; i < CountPages(); ++i) {
    if (PageAt(i)->geometry() != area) PageAt(i)->setGeometry(area);
  }
}

void TClNotebook::resizeEvent(QResizeEvent* event) {
  TClCustomControlEx::resizeEvent(event);
  LayOutPages();
}

void TClNotebook::InvalidateTab(int index) {
  const TClTabPage* page = PageAt(index);
  if (page == nullptr) return;
  QRect rect = page->TabRect();
  // Grown towards the page, where the current tab reaches into the frame.
  switch (orientation_) {
    case TClTabOrientation::toTop: rect.adjust(-2, -2, 2, 5); break;
    case TClTabOrientation::toRight: rect.adjust(-5, -2, 2, 2); break;
    case TClTabOrientation::toBottom: rect.adjust(-2, -5, 2, 2); break;
    case TClTabOrientation::toLeft: rect.adjust(-2, -2, 5, 2); break;
  }
  update(rect);
}
