#include "report/RP_PreviewForm.h"

#include "platform/ApplicationError.h"
#include "platform/HelpRequest.h"
#include "report/RP_Ctrls.h"
#include "report/RP_PreviewPrint.h"
#include "report/RP_WinPos.h"
#include "report/engine/RP_Class.h"
#include "report/engine/RP_EMFPages.h"
#include "report/engine/RP_Printer.h"
#include "report/engine/RP_Locale.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>

namespace {

constexpr int kSmallStep = 10;
constexpr int kLargeStep = 200;

namespace formIds {
constexpr int FirstPage = 53203, PrevPage = 53204, NextPage = 53205, PageWidth = 53208, WholePage = 53209,
              TwoPages = 53210, EditPage = 53211, AddPage = 53212, DeletePage = 53213, Scale = 53214,
              OpenReport = 53215, SaveReport = 53216, PrintReport = 53217, FindText = 53218, ShowHelp = 53219,
              ClosePreview = 53220, Page = 53221;
}  // namespace formIds

// The glyphs are the style's standard icons: any suitable image serves.
QPixmap Glyph(const QWidget* widget, QStyle::StandardPixmap which) {
  return widget->style()->standardIcon(which, nullptr, widget).pixmap(16, 16);
}

}  // namespace

TrpPBox::TrpPBox(TrpPreviewForm* form, QWidget* parent) : QWidget(parent), form_(form) {
  setObjectName(QStringLiteral("PBox"));
  setFocusPolicy(Qt::StrongFocus);
  // Every pixel is painted, so the background is never erased first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
}

void TrpPBox::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  form_->PaintPages(painter, event->rect());
}

void TrpPBox::keyPressEvent(QKeyEvent* event) {
  bool handled = false;
  RunGuarded([&] { handled = form_->FormKeyDown(event); });
  if (handled) {
    event->accept();
  } else {
    QWidget::keyPressEvent(event);
  }
}

void TrpPBox::wheelEvent(QWheelEvent* event) { form_->WheelScroll(event); }

void TrpPBox::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  form_->FormResize();
}

void TrpPBox::mousePressEvent(QMouseEvent* event) {
  RunGuarded([&] { form_->HandleMousePress(event); });
}

void TrpPBox::mouseMoveEvent(QMouseEvent* event) {
  RunGuarded([&] { form_->HandleMouseMove(event); });
}

void TrpPBox::mouseReleaseEvent(QMouseEvent* event) { form_->HandleMouseRelease(event); }

// Qt gives a double click in place of the second press, so no drag starts from it.
void TrpPBox::mouseDoubleClickEvent(QMouseEvent* event) { form_->HandleDoubleClick(event); }

TrpPreviewForm::TrpPreviewForm(QWidget* parent)
    : QWidget(parent, Qt::Window), factor_(rpLastScale().Factor), mode_(rpLastScale().Mode) {
  setObjectName(QStringLiteral("rpPreviewForm"));
  resize(600, 500);

  toolBar_ = new QWidget(this);
  toolBar_->setObjectName(QStringLiteral("ToolBar"));
  BuildToolBar();

  pageArea_ = new QWidget(this);
  pageArea_->setObjectName(QStringLiteral("ScrollBox"));
  box_ = new TrpPBox(this, pageArea_);
  rightPanel_ = new QWidget(pageArea_);
  vbar_ = new QScrollBar(Qt::Vertical, rightPanel_);
  hbar_ = new QScrollBar(Qt::Horizontal, pageArea_);
  pageUp_ = new QToolButton(rightPanel_);
  pageDown_ = new QToolButton(rightPanel_);
  pageUp_->setArrowType(Qt::UpArrow);
  pageDown_->setArrowType(Qt::DownArrow);
  pageUp_->setToolTip(rpLoadStr(formIds::PrevPage));
  pageDown_->setToolTip(rpLoadStr(formIds::NextPage));
  pageUp_->setFixedSize(16, 16);
  pageDown_->setFixedSize(16, 16);
  // The bars never keep the focus: the keys belong to the page box.
  for (QWidget* w : std::initializer_list<QWidget*>{vbar_, hbar_, pageUp_, pageDown_}) w->setFocusPolicy(Qt::NoFocus);
  for (QScrollBar* bar : {vbar_, hbar_}) {
    bar->setSingleStep(kSmallStep);
    bar->setPageStep(kLargeStep);
  }
  auto* right = new QVBoxLayout(rightPanel_);
  right->setContentsMargins(0, 0, 0, 0);
  right->setSpacing(0);
  right->addWidget(vbar_, 1);
  right->addWidget(pageUp_, 0, Qt::AlignHCenter);
  right->addWidget(pageDown_, 0, Qt::AlignHCenter);
  auto* grid = new QGridLayout(pageArea_);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(0);
  grid->addWidget(box_, 0, 0);
  grid->addWidget(rightPanel_, 0, 1);
  grid->addWidget(hbar_, 1, 0);
  grid->setColumnStretch(0, 1);
  grid->setRowStretch(0, 1);
  rightPanel_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
  pageArea_->setFocusProxy(box_);

  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("StatusBar"));
  status_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  status_->setMinimumHeight(status_->fontMetrics().height() + 4);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(toolBar_);
  layout->addWidget(pageArea_, 1);
  layout->addWidget(status_);
  setFocusProxy(box_);

  BuildZoomMenu();
  connect(vbar_, &QScrollBar::valueChanged, this, &TrpPreviewForm::OnVertical);
  connect(hbar_, &QScrollBar::valueChanged, this, &TrpPreviewForm::OnHorizontal);
  connect(pageUp_, &QToolButton::clicked, this, [this] { PgUpClick(); });
  connect(pageDown_, &QToolButton::clicked, this, [this] { PgDownClick(); });
  FormResize();
}

TrpPreviewForm::~TrpPreviewForm() {
  EndContextHelp();
  Disconnect();
}

void TrpPreviewForm::ConnectReport(TrpReport& report) {
  Disconnect();
  ShowPages(&report.EMFPages());
  report_ = &report;
  reportTarget_ = rpReportPrintTarget(report, *this);
  SetPrintTarget(reportTarget_.get());
  OnLoad = [this](const QString& fileName) { return report_ && report_->LoadPreparedReport(fileName); };
  std::vector<TrpPreviewTool> tools;
  for (int b = pbZoom; b <= pbPageSetup; ++b) {
    if (report.PreviewButtons() & rpButton(TrpPreviewButton(b))) tools.push_back(TrpPreviewTool(b));
  }
  SetTools(tools);
  // Print and page setup need a printer besides the virtual one.
  SetPrintEnabled(rpPrinter().VirtualIndex > 0);
  // The report's own zoom wins over the one remembered.
  switch (report.InitialZoom()) {
    case pzPageWidth: mode_ = TrpZoomMode::PageWidth; break;
    case pzOnePage: mode_ = TrpZoomMode::OnePage; break;
    case pzTwoPages: mode_ = TrpZoomMode::TwoPages; break;
    case pzDefault: break;
  }
  FormResize();
}

void TrpPreviewForm::ShowWindow(const QString& caption, bool modal, bool mdiChild) {
  // There is no MDI frame here: an MDI child shows as a normal window.
  (void)mdiChild;
  setWindowTitle(caption);
  setAttribute(Qt::WA_DeleteOnClose, false);  // the report owns the window
  if (!modal) {
    show();
    return;
  }
  setWindowModality(Qt::ApplicationModal);
  QEventLoop loop;
  closed_ = &loop;
  show();
  loop.exec();
  closed_ = nullptr;
}

void TrpPreviewForm::BuildToolBar() {
  auto* row = new QHBoxLayout(toolBar_);
  row->setContentsMargins(2, 2, 2, 2);
  row->setSpacing(0);
  struct ToolDef {
    TrpPreviewTool tool;
    int hint;
    QStyle::StandardPixmap glyph;
    std::function<void()> click;
  };
  const std::vector<ToolDef> defs = {
      {TrpPreviewTool::Zoom, formIds::Scale, QStyle::SP_FileDialogContentsView, [this] { ZoomBtnClick(); }},
      {TrpPreviewTool::Load, formIds::OpenReport, QStyle::SP_DialogOpenButton, [this] { LoadBtnClick(); }},
      {TrpPreviewTool::Save, formIds::SaveReport, QStyle::SP_DialogSaveButton, [this] { SaveBtnClick(); }},
      {TrpPreviewTool::Print, formIds::PrintReport, QStyle::SP_FileIcon, [this] { PrintBtnClick(); }},
      {TrpPreviewTool::Find, formIds::FindText, QStyle::SP_FileDialogDetailedView, [this] { FindBtnClick(); }},
      {TrpPreviewTool::Help, formIds::ShowHelp, QStyle::SP_DialogHelpButton, [this] { HelpBtnClick(); }},
      {TrpPreviewTool::Exit, formIds::ClosePreview, QStyle::SP_DialogCloseButton, [this] { ExitBtnClick(); }},
      {TrpPreviewTool::PageSetup, 0, QStyle::SP_FileDialogInfoView, [this] { PageSetupBtnClick(); }},
  };
  tools_.assign(defs.size(), nullptr);
  for (const ToolDef& def : defs) {
    auto* button = new TrpTBButton(toolBar_);
    button->SetGlyph(Glyph(this, def.glyph));
    button->setToolTip(rpLoadStr(def.hint));
    button->setFixedSize(def.tool == TrpPreviewTool::Zoom ? 60 : 24, 24);
    auto click = def.click;
    button->OnClick = [click] { RunGuarded(click); };
    tools_[size_t(def.tool)] = button;
  }
  // Zoom | Load Save Print Page setup | Find Help Exit
  auto* afterZoom = new TrpTBSeparator(toolBar_);
  auto* beforeFind = new TrpTBSeparator(toolBar_);
  separators_ = {afterZoom, beforeFind};
  row->addWidget(Tool(TrpPreviewTool::Zoom));
  row->addWidget(afterZoom);
  for (TrpPreviewTool t : {TrpPreviewTool::Load, TrpPreviewTool::Save, TrpPreviewTool::Print,
                           TrpPreviewTool::PageSetup})
    row->addWidget(Tool(t));
  row->addWidget(beforeFind);
  for (TrpPreviewTool t : {TrpPreviewTool::Find, TrpPreviewTool::Help, TrpPreviewTool::Exit}) row->addWidget(Tool(t));
  row->addStretch(1);
  SetTools({TrpPreviewTool::Zoom, TrpPreviewTool::Load, TrpPreviewTool::Save, TrpPreviewTool::Print,
            TrpPreviewTool::Find, TrpPreviewTool::Help, TrpPreviewTool::Exit});
}

void TrpPreviewForm::SetTools(const std::vector<TrpPreviewTool>& tools) {
  toolsShown_ = tools;
  auto wanted = [&](TrpPreviewTool t) { return std::find(tools.begin(), tools.end(), t) != tools.end(); };
  // Help and Close only make sense while the bar sits in this window.
  const bool own = toolBar_->parentWidget() == this;
  for (size_t i = 0; i < tools_.size(); ++i) {
    const auto t = TrpPreviewTool(i);
    const bool ownOnly = t == TrpPreviewTool::Help || t == TrpPreviewTool::Exit;
    tools_[i]->setVisible(wanted(t) && (own || !ownOnly));
  }
  separators_[0]->setVisible(wanted(TrpPreviewTool::Zoom));
  separators_[1]->setVisible(wanted(TrpPreviewTool::Find) || (own && wanted(TrpPreviewTool::Help)));
}

void TrpPreviewForm::SetPrintEnabled(bool enabled) {
  Tool(TrpPreviewTool::Print)->setEnabled(enabled);
  Tool(TrpPreviewTool::PageSetup)->setEnabled(enabled);
}

bool TrpPreviewForm::PrintEnabled() const { return Tool(TrpPreviewTool::Print)->isEnabled(); }

void TrpPreviewForm::BuildZoomMenu() {
  procMenu_ = new QMenu(this);
  procMenu_->setObjectName(QStringLiteral("ProcMenu"));
  auto* group = new QActionGroup(procMenu_);
  // A free zoom matching no item leaves none ticked.
  group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  auto add = [&](int tag, const QString& caption) {
    QAction* action = procMenu_->addAction(caption);
    action->setData(tag);
    action->setCheckable(true);
    group->addAction(action);
    connect(action, &QAction::triggered, this, [this, tag] { RunGuarded([&] { N3Click(tag); }); });
  };
  for (int percent : {200, 150, 100, 75, 50, 25, 10}) add(percent, QStringLiteral("%1%").arg(percent));
  add(1, rpLoadStr(formIds::PageWidth));
  add(2, rpLoadStr(formIds::WholePage));
  add(3, rpLoadStr(formIds::TwoPages));
  // Editing prepared pages needs the report designer, which this program lacks.
  procMenu_->addSeparator()->setVisible(false);
  for (int id : {formIds::EditPage, formIds::AddPage, formIds::DeletePage}) procMenu_->addAction(rpLoadStr(id))->setVisible(false);
}

void TrpPreviewForm::TickZoomItem() {
  const int tag = mode_ == TrpZoomMode::Free ? int(std::lround(factor_ * 100)) : int(mode_);
  for (QAction* action : procMenu_->actions()) {
    if (action->isCheckable()) action->setChecked(action->data().toInt() == tag);
  }
}

void TrpPreviewForm::OpenMenuAt(QMenu* menu, QPoint globalPos) { menu->popup(globalPos); }

void TrpPreviewForm::ZoomBtnClick() {
  QWidget* button = Tool(TrpPreviewTool::Zoom);
  OpenMenuAt(procMenu_, button->mapToGlobal(QPoint(0, button->height())));
}

void TrpPreviewForm::N3Click(int tag) {
  hbar_->setValue(0);
  if (tag >= 1 && tag <= 3) {
    ApplyZoom(TrpZoomMode(tag), factor_);
  } else {
    ApplyZoom(TrpZoomMode::Free, tag / 100.0);
  }
}

void TrpPreviewForm::ApplyZoom(TrpZoomMode mode, double factor) {
  if (mode == TrpZoomMode::Free && factor <= 0) return;
  mode_ = mode;
  factor_ = factor;
  FormResize();
  rpLastScale() = {factor_, mode_};
}

int TrpPreviewForm::PageCount() const { return pages_ ? pages_->Count() : 0; }

void TrpPreviewForm::Connect(TrpEMFPages* pages) {
  Disconnect();
  ShowPages(pages);
}

void TrpPreviewForm::ShowPages(TrpEMFPages* pages) {
  DropPages();
  pages_ = pages;
  factor_ = rpLastScale().Factor;
  mode_ = rpLastScale().Mode;
  ResetView();
}

void TrpPreviewForm::Disconnect() {
  DropPages();
  report_ = nullptr;
  printTarget_ = nullptr;
  reportTarget_.reset();
  OnLoad = nullptr;
}

void TrpPreviewForm::DropPages() {
  if (pages_) {
    for (int i = 0; i < pages_->Count(); ++i) {
      pages_->Pages(i).InUse = false;
      // Frees the objects rebuilt for showing the page.
      QImage none(1, 1, QImage::Format_ARGB32);
      QPainter painter(&none);
      pages_->Draw(i, painter, QRect());
    }
  }
  pages_ = nullptr;
  current_ = 0;
  hit_ = false;
  searchPage_ = searchPosition_ = 0;
  lastSearchedPage_ = -1;
  ForgetImages();
  FormResize();
  ShowPageNumber();
}

void TrpPreviewForm::ResetView() {
  current_ = PageCount() > 0 ? 1 : 0;
  hit_ = false;
  searchPage_ = searchPosition_ = 0;
  lastSearchedPage_ = -1;
  ForgetImages();
  followScroll_ = false;
  hbar_->setValue(0);
  vbar_->setValue(0);
  followScroll_ = true;
  FormResize();
  ShowPageNumber();
}

void TrpPreviewForm::SetPage(int page) {
  if (page < 1 || page > PageCount()) return;
  current_ = page;
  ScrollToCurrentPage();
  ShowPageNumber();
}

void TrpPreviewForm::PgUpClick() { SetPage(current_ - 1); }

void TrpPreviewForm::PgDownClick() { SetPage(current_ + 1); }

void TrpPreviewForm::ForgetImages() {
  // The images go back to the pool: the next set of pages at this zoom draws into them.
  for (QImage& image : cache_) {
    if (!image.isNull()) pool_.push_back(std::move(image));
  }
  if (pool_.size() > size_t(kKeptImages)) pool_.erase(pool_.begin(), pool_.end() - kKeptImages);
  cache_.clear();
  cacheUse_.clear();
  cachedCount_ = 0;
  cacheBytes_ = 0;
  cacheFactor_ = 0;
}

void TrpPreviewForm::SetImageBudget(qint64 bytes) {
  imageBudget_ = bytes;
  KeepWithinBudget();
}

void TrpPreviewForm::KeepWithinBudget(qint64 room, int images) {
  while (cacheBytes_ + room > imageBudget_ || cachedCount_ + images > pagesInView_ + kKeptImages) {
    // The image painted longest ago goes first; those painted last are on screen.
    int oldest = -1;
    for (size_t i = 0; i < cache_.size(); ++i) {
      if (!cache_[i].isNull() && cacheUse_[i] != useClock_ && (oldest < 0 || cacheUse_[i] < cacheUse_[size_t(oldest)])) {
        oldest = int(i);
      }
    }
    if (oldest < 0) return;
    cacheBytes_ -= cache_[size_t(oldest)].sizeInBytes();
    --cachedCount_;
    pool_.push_back(std::move(cache_[size_t(oldest)]));
    cache_[size_t(oldest)] = QImage();
  }
}

QImage TrpPreviewForm::TakeBuffer(QSize size) {
  for (size_t i = pool_.size(); i-- > 0;) {
    if (pool_[i].size() != size) continue;
    QImage image = std::move(pool_[i]);
    pool_.erase(pool_.begin() + std::ptrdiff_t(i));
    return image;
  }
  // Buffers of another zoom are of no more use than fresh ones; the pool stays small.
  if (pool_.size() >= size_t(kKeptImages)) pool_.erase(pool_.begin());
  return QImage(size, QImage::Format_ARGB32_Premultiplied);
}

bool TrpPreviewForm::IsPageCached(int index) const {
  return index >= 0 && size_t(index) < cache_.size() && !cache_[size_t(index)].isNull();
}

void TrpPreviewForm::FormResize() {
  paintAllowed_ = false;
  std::vector<QSize> sizes;
  for (int i = 0; i < PageCount(); ++i) {
    const TrpPageInfo& info = pages_->Pages(i).PageInfo;
    sizes.emplace_back(info.PaperWidth, info.PaperHeight);
  }
  layout_ = rpLayoutPages(sizes, current_ - 1, box_->size(), mode_, factor_);
  factor_ = layout_.Factor;
  TickZoomItem();
  Tool(TrpPreviewTool::Zoom)->SetCaption(QStringLiteral("%1%").arg(std::lround(factor_ * 100)));
  // Images drawn at another zoom, or of another set of pages, are of no use.
  if (cacheFactor_ != factor_ || cache_.size() != sizes.size()) {
    ForgetImages();
    cache_.assign(sizes.size(), QImage());
    cacheUse_.assign(sizes.size(), 0);
    cacheFactor_ = factor_;
  }
  followScroll_ = false;
  hbar_->setRange(0, layout_.HorzMax);
  vbar_->setRange(0, layout_.VertMax);
  followScroll_ = true;
  hbar_->setEnabled(layout_.HorzMax > 0);
  vbar_->setEnabled(layout_.VertMax > 0);
  if (box_->isVisible() && !box_->hasFocus() && window()->isActiveWindow()) box_->setFocus();
  ScrollToCurrentPage();
  paintAllowed_ = true;
  box_->update();
}

void TrpPreviewForm::ScrollToCurrentPage() {
  if (current_ < 1 || size_t(current_) > layout_.Rects.size()) return;
  const int pos = rpScrollPosForPage(layout_.Rects[size_t(current_ - 1)]);
  if (vbar_->value() == pos) return;
  // The page asked for stays current even when the bar cannot reach its top.
  followScroll_ = false;
  vbar_->setValue(pos);
  followScroll_ = true;
}

void TrpPreviewForm::OnVertical(int value) {
  box_->update();
  if (!followScroll_) return;
  const int page = rpPageAtTop(layout_.Rects, value);
  if (page >= 0 && page + 1 != current_) {
    current_ = page + 1;
    ShowPageNumber();
  }
}

void TrpPreviewForm::OnHorizontal(int) { box_->update(); }

QString TrpPreviewForm::StatusText() const {
  return PageCount() > 0 ? rpLoadStr(formIds::Page) + QStringLiteral(" %1/%2").arg(current_).arg(PageCount()) : QString();
}

void TrpPreviewForm::ShowPageNumber() {
  if (OnPageChanged) OnPageChanged(current_);
  status_->setText(StatusText());
}

bool TrpPreviewForm::FormKeyDown(QKeyEvent* event) {
  if (PageCount() == 0) return false;
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  auto step = [](QScrollBar* bar, int by) { bar->setValue(bar->value() + by); };
  switch (event->key()) {
    case Qt::Key_Up: step(vbar_, -kSmallStep); return true;
    case Qt::Key_Down: step(vbar_, kSmallStep); return true;
    case Qt::Key_Left: step(hbar_, -kSmallStep); return true;
    case Qt::Key_Right: step(hbar_, kSmallStep); return true;
    case Qt::Key_PageUp:
      if (ctrl) {
        PgUpClick();
      } else {
        step(vbar_, -kLargeStep);
      }
      return true;
    case Qt::Key_PageDown:
      if (ctrl) {
        PgDownClick();
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
      SetPage(PageCount());
      return true;
    case Qt::Key_Space: ZoomBtnClick(); return true;
    case Qt::Key_Escape: ExitBtnClick(); return true;
    case Qt::Key_F3:
      if (!searchText_.isEmpty()) FindNext();
      return true;
    default: break;
  }
  if (!ctrl) return false;
  switch (event->key()) {
    case Qt::Key_O: LoadBtnClick(); return true;
    case Qt::Key_S: SaveBtnClick(); return true;
    case Qt::Key_P:
      if (PrintEnabled()) PrintBtnClick();
      return true;
    case Qt::Key_F: FindBtnClick(); return true;
    default: return false;
  }
}

void TrpPreviewForm::keyPressEvent(QKeyEvent* event) {
  bool handled = false;
  RunGuarded([&] { handled = FormKeyDown(event); });
  if (!handled) QWidget::keyPressEvent(event);
}

void TrpPreviewForm::WheelScroll(QWheelEvent* event) {
  const int notches = event->angleDelta().y() / 120;
  if (notches != 0) vbar_->setValue(vbar_->value() - notches * kSmallStep * wheelFactor_);
  event->accept();
}

void TrpPreviewForm::ExitBtnClick() {
  if (!embedded_) close();
}

void TrpPreviewForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!embedded_ && !event->spontaneous()) rpRestoreFormPosition(*this);
  box_->setFocus();
}

void TrpPreviewForm::closeEvent(QCloseEvent* event) {
  if (!embedded_) rpSaveFormPosition(*this);
  QWidget::closeEvent(event);
  if (closed_) closed_->quit();
}

QRect TrpPreviewForm::DrawRectFor(int index, QSize size) const {
  const TrpEMFPage& record = pages_->Pages(index);
  if (record.UseMargins) return QRect(QPoint(0, 0), size);
  const TrpPageInfo& info = record.PageInfo;
  // The page's own scale, so that images and text records agree at any zoom.
  const double fx = info.PaperWidth > 0 ? double(size.width()) / info.PaperWidth : factor_;
  const double fy = info.PaperHeight > 0 ? double(size.height()) / info.PaperHeight : factor_;
  auto sx = [fx](int units) { return int(std::lround(units * fx)); };
  auto sy = [fy](int units) { return int(std::lround(units * fy)); };
  return QRect(sx(info.OffsetX + record.MarginLeft), sy(info.OffsetY + record.MarginTop),
               sx(info.PrintWidth - record.MarginLeft - record.MarginRight),
               sy(info.PrintHeight - record.MarginTop - record.MarginBottom));
}

const QImage& TrpPreviewForm::PageImage(int index) {
  QImage& image = cache_[size_t(index)];
  cacheUse_[size_t(index)] = useClock_;
  if (!image.isNull()) return image;
  const QSize size = layout_.Rects[size_t(index)].size().expandedTo(QSize(1, 1));
  // Room first, so that an image dropped is the buffer this page is drawn into.
  KeepWithinBudget(qint64(size.width()) * size.height() * 4, 1);
  image = TakeBuffer(size);
  ++cachedCount_;
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  pages_->Draw(index, painter, DrawRectFor(index, size));
  cacheBytes_ += image.sizeInBytes();
  return image;
}

void TrpPreviewForm::PaintPages(QPainter& painter, const QRect& clip) {
  if (!paintAllowed_) return;
  if (PageCount() == 0) {
    painter.fillRect(clip, palette().color(QPalette::Button));
    return;
  }
  // Pages are culled against the box itself, so a tall window shows every page in it.
  const std::vector<bool> visible = rpVisiblePages(layout_.Rects, hbar_->value(), vbar_->value(), box_->size());
  painter.fillRect(clip, QColor(128, 128, 128));
  ++useClock_;
  // Every page in view counts as used before any is drawn, so that making room for one
  // never drops another this frame still shows; a few beyond those may stay.
  pagesInView_ = 0;
  for (int i = 0; i < pages_->Count(); ++i) {
    if (!visible[size_t(i)] || !layout_.Rects[size_t(i)].translated(-hbar_->value(), -vbar_->value()).intersects(clip)) {
      continue;
    }
    cacheUse_[size_t(i)] = useClock_;
    ++pagesInView_;
  }
  for (int i = 0; i < pages_->Count(); ++i) {
    TrpEMFPage& record = pages_->Pages(i);
    const QRect rect = layout_.Rects[size_t(i)].translated(-hbar_->value(), -vbar_->value());
    const bool show = visible[size_t(i)] && rect.intersects(clip);
    if (!show) {
      // Lets the prepared pages free the objects rebuilt for this page.
      if (record.InUse || record.Page) {
        record.InUse = false;
        pages_->Draw(i, painter, QRect());
      }
      continue;
    }
    record.InUse = true;
    painter.drawImage(rect.topLeft(), PageImage(i));
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    const int right = rect.left() + rect.width(), bottom = rect.top() + rect.height();
    painter.drawLine(rect.left() + 1, bottom, right, bottom);
    painter.drawLine(right, bottom, right, rect.top() + 1);
  }
  MarkHit(painter);
  KeepWithinBudget();
}

int TrpPreviewForm::PageAt(QPoint point, QPoint* unitPoint) const {
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

void TrpPreviewForm::HandleMousePress(QMouseEvent* event) {
  event->accept();
  if (event->button() == Qt::RightButton) {
    OpenMenuAt(popupMenu_ ? popupMenu_ : procMenu_, event->globalPosition().toPoint());
    return;
  }
  if (event->button() != Qt::LeftButton || PageCount() == 0) return;
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

void TrpPreviewForm::HandleMouseMove(QMouseEvent* event) {
  event->accept();
  if (dragging_) {
    const QPoint now = event->globalPosition().toPoint();
    const QPoint moved = now - dragFrom_;
    dragFrom_ = now;
    hbar_->setValue(hbar_->value() - moved.x());
    vbar_->setValue(vbar_->value() - moved.y());
    return;
  }
  if (PageCount() == 0) return;
  Qt::CursorShape cursor = Qt::ArrowCursor;
  QPoint unitPoint;
  const int page = PageAt(event->position().toPoint(), &unitPoint);
  if (page < 0 || !pages_->ObjectClickAt(page, unitPoint, false, cursor)) cursor = Qt::ArrowCursor;
  box_->setCursor(cursor);
}

void TrpPreviewForm::HandleMouseRelease(QMouseEvent* event) {
  event->accept();
  if (event->button() == Qt::LeftButton) dragging_ = false;
}

void TrpPreviewForm::HandleDoubleClick(QMouseEvent* event) {
  event->accept();
  if (event->button() != Qt::LeftButton || PageCount() == 0) return;
  const int page = PageAt(event->position().toPoint());
  if (page < 0) return;
  current_ = page + 1;
  ShowPageNumber();
}
