#pragma once
// The preview control: a panel that shows prepared pages inside any window. It keeps a
// hidden preview window and, once pages are connected, borrows that window's page area
// (and its tool bar when ShowToolbar is on), so scrolling, zoom, keys, find and the page
// images work exactly as in the window.
#include "report/RP_PreviewForm.h"

#include <QFrame>
#include <functional>
#include <memory>

class QMenu;
class QVBoxLayout;

enum class TrpScrollBars { None, Horizontal, Vertical, Both };

class TrpPreview : public QFrame, public TrpPreviewView {
  Q_OBJECT
public:
  explicit TrpPreview(QWidget* parent = nullptr);
  ~TrpPreview() override;

  // Shows the report's prepared pages from page 1 on, with its buttons when ShowToolbar
  // is on; Print, Load and Save then go through the report.
  void ConnectReport(TrpReport& report) override;
  void Disconnect() override { Clear(); }
  bool ShowsPages() const override { return form_->ShowsPages(); }

  // Shows the pages from page 1 on; they must outlive the connection.
  void Connect(TrpEMFPages* pages);
  // Stops showing the pages.
  void Clear();

  int CurrentPage() const { return form_->CurrentPage(); }
  int GetAllPages() const { return form_->PageCount(); }
  // Ignored outside 1..page count.
  void SetPage(int page) { form_->SetPage(page); }
  void SetZoom(int percent);
  void PageWidth();
  void OnePage();
  void First() { SetPage(1); }
  void Prev() { SetPage(CurrentPage() - 1); }
  void Next() { SetPage(CurrentPage() + 1); }
  void Last() { SetPage(GetAllPages()); }

  double Zoom() const { return form_->Factor(); }
  TrpZoomMode ZoomMode() const { return form_->Mode(); }
  // "Page n/m", or empty without pages.
  QString StatusText() const { return form_->StatusText(); }
  const TrpPreviewLayout& Layout() const { return form_->Layout(); }
  QScrollBar* VerticalBar() const { return form_->VerticalBar(); }
  QScrollBar* HorizontalBar() const { return form_->HorizontalBar(); }
  TrpPBox* Box() const { return form_->Box(); }
  TrpPreviewForm& Form() const { return *form_; }
  bool IsPageCached(int index) const { return form_->IsPageCached(index); }
  void SetImageBudget(qint64 bytes) { form_->SetImageBudget(bytes); }
  // The vertical bar with the page buttons, the horizontal bar, both (the default) or none.
  void SetScrollBars(TrpScrollBars bars);
  TrpScrollBars ScrollBars() const { return scrollBars_; }
  // The window's tool bar above the pages (off by default); applies from the next Connect.
  bool ShowToolbar() const { return showToolbar_; }
  void SetShowToolbar(bool show) { showToolbar_ = show; }
  // Opened by a right press on the pages instead of the zoom menu.
  QMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(QMenu* menu);
  // The keys of the preview (a window with key preview hands its keys here); true when
  // the key was handled.
  bool HandleKey(QKeyEvent* event) { return form_->FormKeyDown(event); }
  // Lays the pages out for the control's size.
  void Relayout() { form_->FormResize(); }

  // Hears each new current page.
  std::function<void(int page)> OnPageChanged;

signals:
  void PageChanged(int page);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

private:
  void Borrow();
  void HookParentWheel();

  std::unique_ptr<TrpPreviewForm> form_;
  QVBoxLayout* layout_;
  QMenu* popupMenu_ = nullptr;
  QWidget* wheelHooked_ = nullptr;
  TrpScrollBars scrollBars_ = TrpScrollBars::Both;
  bool showToolbar_ = false;
};
