#include "report/RP_Preview.h"

#include "report/engine/RP_EMFPages.h"

#include <QEvent>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

TrpPreview::TrpPreview(QWidget* parent) : QFrame(parent), form_(std::make_unique<TrpPreviewForm>()) {
  setObjectName(QStringLiteral("rpPreview"));
  // A panel with a lowered outer bevel and no inner one.
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(1);
  form_->SetEmbedded(true);
  form_->OnPageChanged = [this](int page) {
    if (OnPageChanged) OnPageChanged(page);
    emit PageChanged(page);
  };
  layout_ = new QVBoxLayout(this);
  layout_->setContentsMargins(1, 1, 1, 1);
  layout_->setSpacing(0);
  // Shown from the start, so the control is never an empty frame before pages come.
  Borrow();
}

TrpPreview::~TrpPreview() {
  if (wheelHooked_) wheelHooked_->removeEventFilter(this);
  // The borrowed parts go home before the window that owns them is freed.
  form_->Disconnect();
  form_->PageArea()->setParent(form_.get());
  form_->ToolBar()->setParent(form_.get());
}

void TrpPreview::Borrow() {
  QWidget* toolBar = form_->ToolBar();
  if (showToolbar_ && toolBar->parentWidget() != this) {
    layout_->insertWidget(0, toolBar);
    toolBar->show();
  }
  if (form_->PageArea()->parentWidget() != this) {
    layout_->addWidget(form_->PageArea(), 1);
    form_->PageArea()->show();
  }
  setFocusProxy(form_->Box());
  // Help and Close leave the bar once it sits here.
  form_->SetTools(form_->Tools());
}

void TrpPreview::Connect(TrpEMFPages* pages) {
  Borrow();
  form_->Connect(pages);
  form_->SetPopupMenu(popupMenu_);
  HookParentWheel();
  form_->SetWheelFactor(3);
}

void TrpPreview::ConnectReport(TrpReport& report) {
  Borrow();
  form_->ConnectReport(report);
  form_->SetPopupMenu(popupMenu_);
  HookParentWheel();
  form_->SetWheelFactor(3);
}

void TrpPreview::Clear() { form_->Disconnect(); }

void TrpPreview::SetZoom(int percent) {
  if (percent > 0) form_->ApplyZoom(TrpZoomMode::Free, percent / 100.0);
}

void TrpPreview::PageWidth() { form_->ApplyZoom(TrpZoomMode::PageWidth, form_->Factor()); }

void TrpPreview::OnePage() { form_->ApplyZoom(TrpZoomMode::OnePage, form_->Factor()); }

void TrpPreview::SetScrollBars(TrpScrollBars bars) {
  scrollBars_ = bars;
  form_->RightPanel()->setVisible(bars == TrpScrollBars::Both || bars == TrpScrollBars::Vertical);
  form_->HorizontalBar()->setVisible(bars == TrpScrollBars::Both || bars == TrpScrollBars::Horizontal);
}

void TrpPreview::SetPopupMenu(QMenu* menu) {
  popupMenu_ = menu;
  form_->SetPopupMenu(menu);
}

void TrpPreview::HookParentWheel() {
  QWidget* parent = window();
  if (parent == this || parent == wheelHooked_) return;
  if (wheelHooked_) wheelHooked_->removeEventFilter(this);
  wheelHooked_ = parent;
  parent->installEventFilter(this);
}

bool TrpPreview::eventFilter(QObject* watched, QEvent* event) {
  // The wheel turned anywhere in the window scrolls the pages.
  if (watched == wheelHooked_ && event->type() == QEvent::Wheel && GetAllPages() > 0) {
    form_->WheelScroll(static_cast<QWheelEvent*>(event));
    return true;
  }
  return QFrame::eventFilter(watched, event);
}

void TrpPreview::moveEvent(QMoveEvent* event) {
  QFrame::moveEvent(event);
  form_->FormResize();
}
