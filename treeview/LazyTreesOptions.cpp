// Option sets, colours, scroll-bar options, the published properties with their setter
// reactions, and the tree's construction and destruction.
#include "platform/ApplicationError.h"
#include "treeview/LazyTreeAnimation.h"
#include "treeview/LazyTreeAssert.h"
#include "treeview/LazyTreeHeader.h"
#include "treeview/LazyTreeImageList.h"
#include "treeview/LazyTrees.h"
#include "treeview/LazyTreeDragImage.h"
#include "treeview/LazyTreeDragManager.h"
#include "treeview/LazyTreeReference.h"

#include <QApplication>
#include <QMenu>
#include <QPalette>
#include <QScrollBar>

#include <map>

// ---- Option sets ----------------------------------------------------------------------

void TCustomLazyTreeOptions::SetPaintOptions(TLTPaintOptions value) {
  if (value == paint_) return;
  const auto old = paint_;
  paint_ = value;
  owner_->PaintOptionsChanged(old, value);
}

void TCustomLazyTreeOptions::SetAnimationOptions(TLTAnimationOptions value) { animation_ = value; }

void TCustomLazyTreeOptions::SetAutoOptions(TLTAutoOptions value) {
  if (value == auto_) return;
  const auto old = auto_;
  auto_ = value;
  owner_->AutoOptionsChanged(old, value);
}

void TCustomLazyTreeOptions::SetSelectionOptions(TLTSelectionOptions value) {
  if (value == selection_) return;
  const auto old = selection_;
  selection_ = value;
  owner_->SelectionOptionsChanged(old, value);
}

void TCustomLazyTreeOptions::SetMiscOptions(TLTMiscOptions value) {
  if (value == misc_) return;
  const auto old = misc_;
  misc_ = value;
  owner_->MiscOptionsChanged(old, value);
}

void TCustomLazyTreeOptions::Assign(const TCustomLazyTreeOptions& source) {
  SetPaintOptions(source.paint_);
  SetAnimationOptions(source.animation_);
  SetAutoOptions(source.auto_);
  SetSelectionOptions(source.selection_);
  SetMiscOptions(source.misc_);
}

void TCustomLazyTreeOptions::ReadLegacyOptions(const QStringList& names) {
  // The old single list named each option once; "vo" names map to the "to" element of
  // the same name in whichever set holds it now.
  enum Set { Paint, Animation, Auto, Selection, Misc };
  static const std::map<QString, std::pair<Set, int>> kLegacy = {
      {"voAcceptOLEDrop", {Misc, toAcceptOLEDrop}}, {"voAnimatedToggle", {Animation, toAnimatedToggle}},
      {"voAutoDropExpand", {Auto, toAutoDropExpand}}, {"voAutoExpand", {Auto, toAutoExpand}},
      {"voAutoScroll", {Auto, toAutoScroll}}, {"voAutoSort", {Auto, toAutoSort}},
      {"voAutoSpanColumns", {Auto, toAutoSpanColumns}}, {"voAutoTristateTracking", {Auto, toAutoTristateTracking}},
      {"voCheckSupport", {Misc, toCheckSupport}}, {"voDisableDrawSelection", {Selection, toDisableDrawSelection}},
      {"voEditable", {Misc, toEditable}}, {"voExtendedFocus", {Selection, toExtendedFocus}},
      {"voFullRowSelect", {Selection, toFullRowSelect}}, {"voGridExtensions", {Misc, toGridExtensions}},
      {"voHideFocusRect", {Paint, toHideFocusRect}}, {"voHideSelection", {Paint, toHideSelection}},
      {"voHotTrack", {Paint, toHotTrack}}, {"voInitOnSave", {Misc, toInitOnSave}},
      {"voLevelSelectConstraint", {Selection, toLevelSelectConstraint}},
      {"voMiddleClickSelect", {Selection, toMiddleClickSelect}}, {"voMultiSelect", {Selection, toMultiSelect}},
      {"voRightClickSelect", {Selection, toRightClickSelect}}, {"voPopupMode", {Paint, toPopupMode}},
      {"voShowBackground", {Paint, toShowBackground}}, {"voShowButtons", {Paint, toShowButtons}},
      {"voShowDropmark", {Paint, toShowDropmark}}, {"voShowHorzGridLines", {Paint, toShowHorzGridLines}},
      {"voShowRoot", {Paint, toShowRoot}}, {"voShowTreeLines", {Paint, toShowTreeLines}},
      {"voShowVertGridLines", {Paint, toShowVertGridLines}},
      {"voSiblingSelectConstraint", {Selection, toSiblingSelectConstraint}},
      {"voToggleOnDblClick", {Misc, toToggleOnDblClick}},
  };
  TLTPaintOptions paint;
  TLTAnimationOptions animation;
  TLTAutoOptions autoOptions;
  TLTSelectionOptions selection;
  TLTMiscOptions misc;
  for (const QString& name : names) {
    auto it = kLegacy.find(name.trimmed());
    if (it == kLegacy.end()) continue;
    const int e = it->second.second;
    switch (it->second.first) {
      case Paint: paint.Include(TLTPaintOption(e)); break;
      case Animation: animation.Include(TLTAnimationOption(e)); break;
      case Auto: autoOptions.Include(TLTAutoOption(e)); break;
      case Selection: selection.Include(TLTSelectionOption(e)); break;
      case Misc: misc.Include(TLTMiscOption(e)); break;
    }
  }
  SetPaintOptions(paint);
  SetAnimationOptions(animation);
  SetAutoOptions(autoOptions);
  SetSelectionOptions(selection);
  SetMiscOptions(misc);
}

// ---- Colours and scroll-bar options ---------------------------------------------------

TLTColors::TLTColors(TBaseLazyTree* owner) : owner_(owner) {
  const QPalette p = QApplication::palette();
  const QColor shadow = p.color(QPalette::Dark), highlight = p.color(QPalette::Highlight),
               face = p.color(QPalette::Button), text = p.color(QPalette::WindowText);
  colors_ = {shadow, highlight, highlight, highlight, face, shadow,    face,     face,
             text,   highlight, face,      highlight, highlight, highlight, shadow};
}

void TLTColors::SetColor(Index index, const QColor& value) {
  if (colors_[index] == value) return;
  colors_[index] = value;
  owner_->ColorChanged(index);
}

void TLTColors::Assign(const TLTColors& source) {
  colors_ = source.colors_;
  if (owner_->UpdateCount() == 0) owner_->ColorChanged(-1);
}

void TScrollBarOptions::SetAlwaysVisible(bool value) {
  if (value == alwaysVisible_) return;
  alwaysVisible_ = value;
  owner_->ScrollBarOptionsChanged();
}

void TScrollBarOptions::SetScrollBars(TScrollStyle value) {
  if (value == scrollBars_) return;
  scrollBars_ = value;
  owner_->ScrollBarOptionsChanged();
}

void TScrollBarOptions::SetScrollBarStyle(TScrollBarStyle value) {
  if (value != sbmRegular)
    throw ELazyTreeError(QStringLiteral("Flat scrollbars styles are disabled. Enable UseFlatScrollbars in LazyTrees "
                                        "forflat scrollbar support."),
                         0);
  style_ = value;
}

void TScrollBarOptions::Assign(const TScrollBarOptions& source) {
  alwaysVisible_ = source.alwaysVisible_;
  horizontalIncrement_ = source.horizontalIncrement_;
  verticalIncrement_ = source.verticalIncrement_;
  scrollBars_ = source.scrollBars_;
  style_ = source.style_;
  owner_->ScrollBarOptionsChanged();
}

// ---- Construction and destruction -----------------------------------------------------

TBaseLazyTree::TBaseLazyTree(QWidget* parent)
    : QAbstractScrollArea(parent),
      TLazyTreeAppearanceProperties(this),
      // A failing owner event behind a timer is reported like any error of the program.
      TLazyTreeInteraction([this](int id) { RunGuarded([&] { HandleTimer(id); }); }),
      options_(std::make_unique<TCustomLazyTreeOptions>(this)),
      scrollBarOptions_(std::make_unique<TScrollBarOptions>(this)),
      header_(std::make_unique<TLTHeader>(*this)) {
  AttachLayouter(layouter_);
  // The layout host initialises nodes as the tree does, so the plain navigation uses it.
  AttachNavigation(store_, layoutHost_, selection_);
  AttachHeader(header_.get(), {[this] { return ClientWidth(); }, [this] { return Alignment(); },
                               [this] { return BiDiMode() != bdLeftToRight; }});
  // A custom check list that goes away leaves the light check images in its place.
  AttachImageLists(this, {[this] { InvalidateTree(); },
                          [this] {
                            if (CheckImageKind() == ckCustom && !CustomCheckImages()) SetCheckImageKind(ckLightCheck);
                          },
                          [this] { return loading_; }});
  RegisterStandardTreeFormats();
  treeId_ = RegisterLiveTree(this);
  // The node drag picture fades out from its centre.
  dragImage_ = std::make_unique<TLTDragImage>();
  dragImage_->SetFade(true);
  dragImage_->SetTransparency(200);
  // The drop target itself is made on first use, when the owner had its say.
  if (options_->MiscOptions().Contains(toAcceptOLEDrop)) {
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
  }
  resize(200, 100);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_KeyCompression, false);
  viewport()->setMouseTracking(true);
  viewport()->setAutoFillBackground(false);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  ApplyFrame();
  ApplyScrollBarPolicies();
  if (options_->PaintOptions().Contains(toThemeAware)) DoStateChange({tsUseThemes});
  // The state-change report reaches the owner, whose error must not cross the signal.
  const auto thumbPressed = [this] { RunGuarded([this] { DoStateChange({tsThumbTracking}); }); };
  const auto thumbReleased = [this] {
    RunGuarded([this] {
      DoStateChange({}, {tsThumbTracking});
      UpdateScrollBars(false);
    });
  };
  connect(verticalScrollBar(), &QScrollBar::sliderPressed, this, thumbPressed);
  connect(verticalScrollBar(), &QScrollBar::sliderReleased, this, thumbReleased);
  connect(horizontalScrollBar(), &QScrollBar::sliderPressed, this, thumbPressed);
  connect(horizontalScrollBar(), &QScrollBar::sliderReleased, this, thumbReleased);
}

TBaseLazyTree::~TBaseLazyTree() {
  // The clipboard keeps what this tree put there, rendered; references to it resolve no more.
  FlushClipboard();
  UnregisterLiveTree(treeId_);
  if (dragManager_) dragManager_->ForceDragLeave();
  dragManager_.reset();
  // Read-only would keep the nodes; the owner still hears OnFreeNode for each of them.
  options_->SetMiscOptions(options_->MiscOptions() - TLTMiscOptions{toReadOnly});
  StopValidation();
  StopWheelPanning();
  for (int id = 1; id <= kLazyTreeTimerCount; ++id) StopTimer(id);
  animation_.reset();
  destroying_ = true;
  layouter_.Close();
  if (IsEditing()) CancelEditNode();
  Clear();
  store_.ReleaseBlocks();
}

namespace {
// The owner's drop target (OnCreateDragManager), else the tree's own.
std::unique_ptr<TLTDragManager> CreateDragManager(TBaseLazyTree& tree) {
  std::unique_ptr<TLTDragManager> manager;
  if (tree.OnCreateDragManager) tree.OnCreateDragManager(&tree, manager);
  if (!manager) manager = std::make_unique<TLTDragManager>(tree);
  return manager;
}
}  // namespace

TLTDragManager* TBaseLazyTree::DragManager() {
  if (!dragManager_ && options_->MiscOptions().Contains(toAcceptOLEDrop)) dragManager_ = CreateDragManager(*this);
  return dragManager_.get();
}

// ---- Option reactions -----------------------------------------------------------------

void TBaseLazyTree::PaintOptionsChanged(TLTPaintOptions old, TLTPaintOptions now) {
  if (old.Contains(toThemeAware) != now.Contains(toThemeAware)) {
    if (now.Contains(toThemeAware))
      DoStateChange({tsUseThemes});
    else
      DoStateChange({}, {tsUseThemes});
    update();  // the frame
  }
  if (!loading_) InvalidateTree();
}

void TBaseLazyTree::AutoOptionsChanged(TLTAutoOptions old, TLTAutoOptions now) {
  if (!loading_ && old.Contains(toAutoSpanColumns) != now.Contains(toAutoSpanColumns)) InvalidateTree();
}

void TBaseLazyTree::SelectionOptionsChanged(TLTSelectionOptions old, TLTSelectionOptions now) {
  if (loading_) return;
  const bool multiChanged = old.Contains(toMultiSelect) != now.Contains(toMultiSelect);
  const bool constrained = (!old.Contains(toLevelSelectConstraint) && now.Contains(toLevelSelectConstraint)) ||
                           (!old.Contains(toSiblingSelectConstraint) && now.Contains(toSiblingSelectConstraint));
  if (multiChanged || constrained) UnselectAll();
  if (!now.Contains(toExtendedFocus) && focusedColumn_ != MainColumn()) {
    focusedColumn_ = MainColumn();
    InvalidateTree();
  }
}

void TBaseLazyTree::MiscOptionsChanged(TLTMiscOptions old, TLTMiscOptions now) {
  if (loading_) return;
  if (old.Contains(toCheckSupport) != now.Contains(toCheckSupport)) InvalidateTree();
  if (old.Contains(toAcceptOLEDrop) != now.Contains(toAcceptOLEDrop)) {
    if (!now.Contains(toAcceptOLEDrop)) {
      if (dragManager_) dragManager_->ForceDragLeave();
      dragManager_.reset();
    }
    setAcceptDrops(now.Contains(toAcceptOLEDrop));
    viewport()->setAcceptDrops(now.Contains(toAcceptOLEDrop));
  }
  // Full repaint on resize needs nothing re-created here: a resize always repaints the rows.
}

void TBaseLazyTree::ColorChanged(int index) {
  if (loading_) return;
  if (index == TLTColors::BorderColor)
    update();
  else
    InvalidateTree();
}

void TBaseLazyTree::ScrollBarOptionsChanged() {
  if (loading_) return;
  ApplyScrollBarPolicies();
  UpdateScrollBars(true);
}

// ---- Property setters -----------------------------------------------------------------

void TBaseLazyTree::SetAnimationDuration(int v) {
  animationDuration_ = v;
  auto animation = options_->AnimationOptions();
  if (v == 0)
    animation.Exclude(toAnimatedToggle);
  else
    animation.Include(toAnimatedToggle);
  options_->SetAnimationOptions(animation);
}

void TBaseLazyTree::SetAutoExpandDelay(int v) {
  autoExpandDelay_ = v;
  input_->RestartIfRunning(ExpandTimer, v);
}

void TBaseLazyTree::SetChangeDelay(int v) {
  changeDelay_ = std::max(v, 0);
  input_->RestartIfRunning(ChangeTimer, changeDelay_);
}

void TBaseLazyTree::SetDefaultNodeHeight(int v) {
  if (v == 0) v = 18;
  v = std::clamp(v, 1, 0xFFFF);
  if (v == DefaultNodeHeight()) return;
  store_.SetDefaultNodeHeight(v);
  if (updateCount_ == 0 && !loading_) {
    InvalidateCache();
    RestartValidation();
    UpdateScrollBars(true);
    if (focusedNode_) ScrollIntoView(focusedNode_, options_->SelectionOptions().Contains(toCenterScrollIntoView));
    InvalidateTree();
  }
}

QColor TBaseLazyTree::Color() const { return palette().color(QPalette::Base); }

void TBaseLazyTree::ChangeScale(int m, int d) {
  if (d == 0 || !options_->AutoOptions().Contains(toAutoChangeScale) || m == d) return;
  SetDefaultNodeHeight(static_cast<int>(std::int64_t(DefaultNodeHeight()) * m / d));
  header_->ScaleFont(m, d);
  header_->SetHeight(static_cast<int>(std::int64_t(header_->Height()) * m / d));
}

void TBaseLazyTree::BeginLoading() { loading_ = true; }

void TBaseLazyTree::Loaded() {
  loading_ = false;
  if (states_.Contains(tsNeedRootCountUpdate)) {
    DoStateChange({}, {tsNeedRootCountUpdate});
    if (storedRootCount_ > 0) {
      const auto misc = options_->MiscOptions();
      options_->SetMiscOptions(misc - TLTMiscOptions{toReadOnly});
      SetRootNodeCount(storedRootCount_);
      options_->SetMiscOptions(misc);
    }
  }
  header_->TreeLoaded();
  ApplyFrame();
  ApplyScrollBarPolicies();
  UpdateScrollBars(true);
}

void TBaseLazyTree::Assign(const TBaseLazyTree& s) {
  if (options_->MiscOptions().Contains(toReadOnly)) return;
  SetAlignment(s.appearance_.alignment);
  SetAnimationDuration(s.animationDuration_);
  SetAutoExpandDelay(s.autoExpandDelay_);
  autoScrollDelay_ = s.autoScrollDelay_;
  autoScrollInterval_ = s.autoScrollInterval_;
  SetBackground(s.appearance_.background);
  SetBackgroundOffset(s.appearance_.backgroundOffset);
  SetBorderStyle(s.appearance_.borderStyle);
  SetButtonFillMode(s.appearance_.buttonFillMode);
  SetButtonStyle(s.appearance_.buttonStyle);
  SetChangeDelay(s.changeDelay_);
  SetCheckImageKind(s.appearance_.checkImageKind);
  appearance_.colors->Assign(*s.appearance_.colors);
  SetDefaultNodeHeight(s.DefaultNodeHeight());
  defaultPasteMode_ = s.defaultPasteMode_;
  dragOperations_ = s.dragOperations_;
  dragType_ = s.dragType_;
  dragImageKind_ = s.dragImageKind_;
  dragWidth_ = s.dragWidth_;
  dragHeight_ = s.dragHeight_;
  dragMode_ = s.dragMode_;
  clipboardFormats_.Assign(s.clipboardFormats_.List());
  SetDrawSelectionMode(s.appearance_.drawSelectionMode);
  SetSelectionBlendFactor(s.appearance_.selectionBlendFactor);
  SetSelectionCurveRadius(s.appearance_.selectionCurveRadius);
  SetEditDelay(s.EditDelay());
  hintAnimation_ = s.hintAnimation_;
  hintMode_ = s.hintMode_;
  appearance_.hotCursor = s.appearance_.hotCursor;
  SetIncrementalSearch(s.IncrementalSearch());
  SetIncrementalSearchDirection(s.IncrementalSearchDirection());
  SetIncrementalSearchStart(s.IncrementalSearchStart());
  SetIncrementalSearchTimeout(s.IncrementalSearchTimeout());
  SetIndent(s.appearance_.indent);
  SetLineMode(s.appearance_.lineMode);
  SetLineStyle(s.appearance_.lineStyle);
  SetMargin(s.appearance_.margin);
  SetTextMargin(s.appearance_.textMargin);
  SetNodeAlignment(s.appearance_.nodeAlignment);
  SetNodeDataSize(s.NodeDataSize());
  wantTabs_ = s.wantTabs_;
  popupMenu_ = s.popupMenu_;
  scrollBarOptions_->Assign(*s.scrollBarOptions_);
  options_->Assign(*s.options_);
  SetRootNodeCount(s.RootNodeCount());
}
