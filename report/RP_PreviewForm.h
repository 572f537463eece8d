#pragma once
// The engine's preview window: a tool bar, the page area (the page box with its scroll
// bars and page buttons), a status line and the zoom menu. It lays the prepared pages
// out at a zoom, scrolls through them with bars, keys, wheel and mouse, keeps the pages
// in view and the few shown last drawn at the current zoom as images (their buffers go
// round a small pool), finds text across the pages, loads and saves ".vrp" files, prints
// and runs the page set-up and context help. A `TrpPreview` keeps one hidden and borrows its page
// area (and tool bar), so the same code serves the window and the control.
//
// Costs: turning a page or scrolling repaints the pages in view only, each from its
// image once drawn (O(pages in view) blits, O(pages) to mark which are in view); the
// layout is O(pages); a page's objects are rebuilt only when its image is drawn.
#include "report/RP_PreviewLayout.h"
#include "report/engine/RP_PreviewView.h"

#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class QKeyEvent;
class QLabel;
class QMenu;
class QMouseEvent;
class QScrollBar;
class QToolButton;
class QWheelEvent;
class TrpEMFPages;
class TrpPreviewForm;
class TrpPreviewPrintTarget;
class TrpSpeedButton;
class TrpTBSeparator;

// The page box: paints the pages of its window and hands mouse, keys and wheel to it.
class TrpPBox : public QWidget {
  Q_OBJECT
public:
  TrpPBox(TrpPreviewForm* form, QWidget* parent);

protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
  TrpPreviewForm* form_;
};

// The tool-bar buttons, in their order on the bar.
enum class TrpPreviewTool { Zoom, Load, Save, Print, Find, Help, Exit, PageSetup };

class TrpPreviewForm : public QWidget, public TrpPreviewWindow {
  Q_OBJECT
public:
  explicit TrpPreviewForm(QWidget* parent = nullptr);
  ~TrpPreviewForm() override;

  // --- the report shown ---
  // Shows the report's prepared pages with its tool-bar buttons and initial zoom;
  // Print, Load and Save go through the report.
  void ConnectReport(TrpReport& report) override;
  bool ShowsPages() const override { return PageCount() > 0; }
  // The standalone window under caption; a modal one returns when it is closed.
  void ShowWindow(const QString& caption, bool modal, bool mdiChild) override;
  TrpReport* Report() const { return report_; }

  // --- the pages shown (not owned: they must outlive the connection) ---
  // Shows the pages from page 1 on.
  void Connect(TrpEMFPages* pages);
  // Stops showing them (and the report); every page gives up its rebuilt objects.
  void Disconnect() override;
  // Lets go of the pages, keeping the report, while the report builds them anew.
  void DropPages();
  // Shows pages (of the report connected, if any) from page 1 on.
  void ShowPages(TrpEMFPages* pages);
  TrpEMFPages* Pages() const { return pages_; }
  int PageCount() const;
  int CurrentPage() const { return current_; }
  // Ignored outside 1..page count.
  void SetPage(int page);

  // --- zoom ---
  double Factor() const { return factor_; }
  TrpZoomMode Mode() const { return mode_; }
  // Sets the zoom, remembers it as the last scale, lays out and repaints.
  void ApplyZoom(TrpZoomMode mode, double factor);
  // The zoom menu's item chosen: 1, 2, 3 a mode, any other tag a percentage.
  void N3Click(int tag);
  QMenu* ZoomMenu() const { return procMenu_; }
  // The zoom menu under the zoom button (page-edit items hidden, as always here).
  void ZoomBtnClick();

  // --- the parts a TrpPreview borrows ---
  QWidget* PageArea() const { return pageArea_; }
  QWidget* ToolBar() const { return toolBar_; }
  TrpPBox* Box() const { return box_; }
  QScrollBar* VerticalBar() const { return vbar_; }
  QScrollBar* HorizontalBar() const { return hbar_; }
  QWidget* RightPanel() const { return rightPanel_; }
  TrpSpeedButton* Tool(TrpPreviewTool tool) const { return tools_[size_t(tool)]; }
  // Shows only these buttons; Help and Close only when the bar sits in this window.
  void SetTools(const std::vector<TrpPreviewTool>& tools);
  const std::vector<TrpPreviewTool>& Tools() const { return toolsShown_; }
  // "Page n/m", or empty without pages.
  QString StatusText() const;
  QLabel* StatusLine() const { return status_; }

  // --- state ---
  const TrpPreviewLayout& Layout() const { return layout_; }
  // Off while the layout runs: nothing is painted meanwhile.
  bool PaintAllowed() const { return paintAllowed_; }
  // Scroll steps a wheel notch moves: 1 in this window, 3 inside a preview control.
  void SetWheelFactor(int factor) { wheelFactor_ = factor; }
  // Inside a preview control Esc closes nothing.
  void SetEmbedded(bool embedded) { embedded_ = embedded; }
  // Opened by a right press instead of the zoom menu (a preview control's menu).
  void SetPopupMenu(QMenu* menu) { popupMenu_ = menu; }
  // Print is offered only when printers exist.
  void SetPrintEnabled(bool enabled);
  bool PrintEnabled() const;
  bool IsPageCached(int index) const;
  // The most bytes the page images may take; beyond it, or beyond a few images more than
  // those in view, those drawn longest ago go.
  void SetImageBudget(qint64 bytes);

  // --- operations of the keys, buttons and menu ---
  void FormResize();
  void ScrollToCurrentPage();
  void ShowPageNumber();
  // Page 1, the view at its top-left corner, laid out again.
  void ResetView();
  void PgUpClick();
  void PgDownClick();
  void FindBtnClick();
  void LoadBtnClick();
  void SaveBtnClick();
  void PrintBtnClick();
  // The page set-up dialog on the report's first page; on OK the report is built again
  // with the choice and its new pages are shown.
  void PageSetupBtnClick();
  // Context help: the next click on a control opens help for that control's tag (its
  // "Tag" property; 0, the contents, when it has none) instead of acting; Esc leaves.
  void HelpBtnClick();
  bool InContextHelp() const { return contextHelp_; }
  void ExitBtnClick();
  // The keys of the preview; true when the key was handled (and so consumed).
  bool FormKeyDown(QKeyEvent* event);
  void WheelScroll(QWheelEvent* event);

  // --- find ---
  // Searches from the search position for the search text; on a hit the page becomes
  // current, the hit is scrolled into view and marked. False when nothing more is found.
  bool FindNext();
  // What FindBtnClick would ask the user; set directly by callers that know it.
  void SetSearch(const QString& text, bool caseSensitive, bool fromFirstPage);
  const QString& SearchText() const { return searchText_; }
  bool HasHit() const { return hit_; }
  // The hit in page units at 100 %, and as marked in the box (scrolled, in pixels).
  QRect HitRect() const { return hitRect_; }
  QRect HitRectInBox() const;

  // --- what the window needs of the report behind the pages ---
  // The report behind the pages, which prints them; Print then runs the print dialog
  // and shows the report's pages again afterwards, on the same page. Not owned.
  void SetPrintTarget(TrpPreviewPrintTarget* target);
  // Printing, when no report is set (or instead of it). Without either, Print does nothing.
  std::function<void()> OnPrint;
  // Loads a prepared-report file into the shown pages; false (pages unchanged) when it
  // cannot. Without it the pages read the file themselves.
  std::function<bool(const QString& fileName)> OnLoad;
  // The page-changed hook of a preview control: the new current page.
  std::function<void(int page)> OnPageChanged;

  // --- painting and mouse, called by the page box ---
  void PaintPages(QPainter& painter, const QRect& clip);
  void HandleMousePress(QMouseEvent* event);
  void HandleMouseMove(QMouseEvent* event);
  void HandleMouseRelease(QMouseEvent* event);
  void HandleDoubleClick(QMouseEvent* event);

protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void BuildToolBar();
  void BuildZoomMenu();
  void TickZoomItem();
  void OnVertical(int value);
  void OnHorizontal(int value);
  QRect DrawRectFor(int index, QSize size) const;
  int PageAt(QPoint point, QPoint* unitPoint = nullptr) const;
  const QImage& PageImage(int index);
  void KeepWithinBudget(qint64 room = 0, int images = 0);
  QImage TakeBuffer(QSize size);
  void ForgetImages();
  void ScrollHitIntoView();
  void MarkHit(QPainter& painter);
  void OpenMenuAt(QMenu* menu, QPoint globalPos);
  void EndContextHelp();

  // parts
  QWidget* toolBar_;
  std::vector<TrpSpeedButton*> tools_;
  std::vector<TrpTBSeparator*> separators_;
  std::vector<TrpPreviewTool> toolsShown_;
  QWidget* pageArea_;
  TrpPBox* box_;
  QWidget* rightPanel_;
  QScrollBar* vbar_;
  QScrollBar* hbar_;
  QToolButton* pageUp_;
  QToolButton* pageDown_;
  QLabel* status_;
  QMenu* procMenu_;
  QMenu* popupMenu_ = nullptr;
  class QEventLoop* closed_ = nullptr;  // a modal ShowWindow waits on it

  // view state
  TrpEMFPages* pages_ = nullptr;
  TrpReport* report_ = nullptr;
  std::unique_ptr<TrpPreviewPrintTarget> reportTarget_;  // printing through report_
  TrpPreviewPrintTarget* printTarget_ = nullptr;
  int current_ = 0;
  double factor_;
  TrpZoomMode mode_;
  TrpPreviewLayout layout_;
  bool paintAllowed_ = true;
  bool followScroll_ = true;
  int wheelFactor_ = 1;
  bool embedded_ = false;
  bool dragging_ = false;
  bool swallowPress_ = false;
  bool contextHelp_ = false;
  QPoint dragFrom_;

  // search state
  QString searchText_;
  bool caseSensitive_ = false;
  bool hit_ = false;
  QRect hitRect_;
  int hitPage_ = -1;
  int searchPage_ = 0;       // 0-based page to search from
  int searchPosition_ = 0;   // text record to resume from
  int lastSearchedPage_ = -1;

  // page images
  std::vector<QImage> cache_;
  // Images dropped from the cache, drawn into again by the next pages of their size:
  // memory fresh from the system costs several times a page's drawing to touch, so the
  // few buffers a zoom needs are taken once and go round.
  std::vector<QImage> pool_;
  int cachedCount_ = 0;
  int pagesInView_ = 0;
  // Page images kept beyond those in view, and buffers the pool holds.
  static constexpr int kKeptImages = 6;
  std::vector<quint64> cacheUse_;
  quint64 useClock_ = 0;
  qint64 cacheBytes_ = 0;
  // A long list at a large zoom must not take all the memory there is.
  qint64 imageBudget_ = qint64(256) * 1024 * 1024;
  double cacheFactor_ = 0;
};
