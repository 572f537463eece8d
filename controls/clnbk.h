#pragma once
// The tabbed notebook: an ordered set of pages, exactly one of them shown, with one or
// more rows of tabs along one edge. Pages change through PageIndex (code, clicks, arrow
// keys through the controller's command tables, accelerators, DeletePage), which asks
// OnPageChange first and reports OnPageChanged after.
//
// A notebook built in code brackets its setup with BeginLoading / EndLoading: when
// loading ends, the page at DefaultPageIndex is shown without any page event.
#include "controls/clbase.h"
#include "controls/clnbkLayout.h"
#include "controls/clsr.h"

#include <QColor>
#include <QFont>

#include <functional>
#include <memory>

class TClNotebook;
class TFmTextMetrics;

class ENotebookError : public EClException {
public:
  using EClException::EClException;
};

class EInvalidPageIndex : public ENotebookError {
public:
  EInvalidPageIndex() : ENotebookError(ClStr::InvalidPageIndex) {}
};

class EInvalidTabFont : public ENotebookError {
public:
  EInvalidTabFont() : ENotebookError(ClStr::InvalidTabFont) {}
};

enum class TTabTextOrientation { ttoHorizontal, ttoVerticalRight, ttoVerticalLeft };

// One page. It is created hidden, as the last page of its notebook, and is owned by the
// notebook's page collection; `delete` on it, or DeletePage, takes it out again.
class TClTabPage : public TClCollectibleControl {
  Q_OBJECT

public:
  explicit TClTabPage(TClNotebook* notebook);

  TClNotebook* Notebook() const;
  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption);
  // The page's own switch; a disabled notebook leaves it as it is.
  bool Enabled() const { return !testAttribute(Qt::WA_ForceDisabled); }
  void SetEnabled(bool enabled) { setEnabled(enabled); }
  // Whether the page has a tab at all.
  bool PageVisible() const { return pageVisible_; }
  void SetPageVisible(bool visible);
  QColor TabColor() const { return tabColor_; }
  void SetTabColor(const QColor& color);
  QColor TextColor() const { return textColor_; }
  void SetTextColor(const QColor& color);
  QFont Font() const { return font(); }
  void SetFont(const QFont& font) { setFont(font); }
  bool ParentFont() const { return !testAttribute(Qt::WA_SetFont); }
  void SetParentFont(bool parentFont);
  QString HelpKeyword() const { return helpKeyword_; }
  void SetHelpKeyword(const QString& keyword) { helpKeyword_ = keyword; }

  // Layout state: the tab in notebook coordinates (empty without a tab), its row and
  // its width (65 until the first layout).
  QRect TabRect() const { return tabRect_; }
  int TabRow() const { return row_; }
  int TabWidth() const { return tabWidth_; }

protected:
  void changeEvent(QEvent* event) override;

private:
  friend class TClNotebook;
  QString caption_;
  bool pageVisible_ = true;
  QColor tabColor_;
  QColor textColor_;
  QString helpKeyword_;
  QRect tabRect_;
  int row_ = 0;
  int tabWidth_ = 65;
};

class TClNotebook : public TClCustomControlEx {
  Q_OBJECT

public:
  explicit TClNotebook(QWidget* parent = nullptr);
  ~TClNotebook() override;

  // Pages
  TClCollection& PageCollection() { return *pages_; }
  // The page at `index`, or null outside 0 .. CountPages() - 1.
  TClTabPage* PageAt(int index) const;
  int CountPages() const { return pages_->Count(); }
  // Frees the page at `index` (ignored outside the range). The current page stays shown
  // when it is another one; when it is the one deleted, the page that takes its number
  // is shown when valid, else the first valid page, else none (PageIndex -1).
  void DeletePage(int index);
  // In range, enabled and with a tab.
  bool IsValidPage(int index) const;
  // The next valid page after `index`, wrapping around (an index out of range counts as
  // the last); -1 when no other page qualifies. PrevValidPage walks backwards (an index
  // out of range counts as 0).
  int NextValidPage(int index) const;
  int PrevValidPage(int index) const;
  int PageIndex() const { return pageIndex_; }
  // Raises EInvalidPageIndex for a page that does not exist, is disabled or has no tab.
  void SetPageIndex(int index);
  int DefaultPageIndex() const { return defaultPageIndex_; }
  void SetDefaultPageIndex(int index) { defaultPageIndex_ = index; }
  // Shows `page` (one of the pages) by making it the current one.
  void ShowControl(QWidget* page);

  // Look
  bool UseActiveTabFont() const { return useActiveTabFont_; }
  void SetUseActiveTabFont(bool use);
  QFont ActiveTabFont() const { return activeTabFont_; }
  // Raises EInvalidTabFont for a font that cannot be turned while the tabs are at a side.
  void SetActiveTabFont(const QFont& font);
  // Hidden pages have no native resources to give up here; kept for forms that set it.
  bool ConserveResources() const { return conserveResources_; }
  void SetConserveResources(bool conserve) { conserveResources_ = conserve; }
  QColor HighlightColor() const { return highlightColor_; }
  void SetHighlightColor(const QColor& color);
  QColor ShadowColor() const { return shadowColor_; }
  void SetShadowColor(const QColor& color);
  QColor TextShadowColor() const { return textShadowColor_; }
  void SetTextShadowColor(const QColor& color);
  bool OldStyle() const { return oldStyle_; }
  void SetOldStyle(bool oldStyle);
  bool PageUsesTabColor() const { return pageUsesTabColor_; }
  void SetPageUsesTabColor(bool use);
  bool ShadowedText() const { return shadowedText_; }
  void SetShadowedText(bool shadowed);
  bool TabAutoHeight() const { return tabAutoHeight_; }
  void SetTabAutoHeight(bool automatic);
  int TabHeight() const { return tabHeight_; }
  // Negative values are ignored; setting it (outside loading) ends the automatic height.
  void SetTabHeight(int height);
  TClTabOrientation TabOrientation() const { return orientation_; }
  // Raises EInvalidTabFont when a font in use cannot be turned for side tabs.
  void SetTabOrientation(TClTabOrientation orientation);
  // Kept for forms that set it; captions are drawn along the tab edge.
  TTabTextOrientation TabTextOrientation() const { return textOrientation_; }
  void SetTabTextOrientation(TTabTextOrientation orientation);
  // 0: as many rows as needed. Values above the page count are ignored.
  int TabRowCount() const { return tabRowCount_; }
  void SetTabRowCount(int count);
  bool TabUseDefaultColor() const { return tabUseDefaultColor_; }
  void SetTabUseDefaultColor(bool use);
  // Scales the tab height and the active tab's font by m/d, as forms scale.
  void ChangeScale(int m, int d);

  // Layout state
  int TabRows() const { return layout_.rowCount; }
  int ActiveRow() const { return activeRow_; }
  // The measuring the layout uses (the screen's unless a test gives its own, which must
  // outlive the notebook).
  void SetTextMetrics(const TFmTextMetrics& metrics);
  // Runs the tab layout and places the pages.
  void LayOutPages();

  // Events
  std::function<void(TClNotebook& sender, QPainter& canvas, int index, const QString& title, const QRect& rect,
                     bool enabled, bool active)>
      OnDrawTab;
  std::function<void(TClNotebook& sender, int index)> OnMouseOverTab;
  std::function<void(TClNotebook& sender, int index, bool& allowChange)> OnPageChange;
  std::function<void(TClNotebook& sender, int index)> OnPageChanged;
  std::function<void(TClNotebook& sender, int index)> OnTabClick;
  std::function<void(TClNotebook& sender, int command)> OnUserCommand;

  QSize sizeHint() const override { return QSize(220, 185); }

protected:
  void Loaded() override;
  void CreateWnd() override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void ColorChanged() override;
  bool event(QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

private:
  friend class TClTabPage;
  friend class TClNotebookPainter;
  void PagesChanged();
  void PageCaptionChanged();
  void PageFontChanged();
  void InvalidateTab(int index);
  void SetColorInternally(const QColor& color);
  void WatchParent();
  void FollowTabColor();
  void CheckTabFonts(bool repairFonts);
  bool IsSideways() const;
  int MeasureTabHeight() const;
  int TextHeight(const QFont& font) const;
  void BecomeCurrent(int index);
  int FirstValidPage() const;
  void TabClick(int index);
  // Left button pressed at `point` over the tabs; false when the press is used up (the
  // ordinary handling is skipped).
  bool TabMouseDown(QPoint point);
  bool FocusFirstControl(bool tabStopsOnly);
  bool HasFocusForClick() const;
  bool KeyCommand(int command);
  bool DialogChar(QChar character);
  void GrabAccelerators();

  std::unique_ptr<TClCollection> pages_;
  const TFmTextMetrics* metrics_;
  TClTabLayout layout_;
  int pageIndex_ = -1;
  int defaultPageIndex_ = 0;
  int activeRow_ = 0;
  bool changing_ = false;
  bool colorChangingInternally_ = false;
  bool checkingFonts_ = false;
  bool useActiveTabFont_ = true;
  QFont activeTabFont_;
  bool conserveResources_ = false;
  QColor highlightColor_;
  QColor shadowColor_;
  QColor textShadowColor_;
  bool oldStyle_ = false;
  bool pageUsesTabColor_ = true;
  bool shadowedText_ = false;
  bool tabAutoHeight_ = true;
  int tabHeight_ = 20;
  TClTabOrientation orientation_ = TClTabOrientation::toTop;
  TTabTextOrientation textOrientation_ = TTabTextOrientation::ttoHorizontal;
  int tabRowCount_ = 0;
  bool tabUseDefaultColor_ = true;
  std::vector<int> accelerators_;
  QPointer<QWidget> watchedParent_;
};
