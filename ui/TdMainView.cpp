// How the main window looks by the options, the status bar and the actions' states, and
// what other parts of the program call on it (tasks added, sorting, stay-on-top).
#include "controls/ActnMan.h"
#include "controls/ActnPopupCtrl.h"
#include "controls/FmSplit.h"
#include "controls/Menus.h"
#include "controls/UtTrIcon.h"
#include "core/BTodo.h"
#include "platform/Desktop.h"
#include "treeview/LazyStringTree.h"
#include "treeview/LazyTreeColumns.h"
#include "treeview/LazyTreeHeader.h"
#include "ui/TdFindDlg.h"
#include "ui/TdMain.h"

#include <QAction>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>

namespace {

// The option fields that keep each column's display position, by column.
constexpr std::array<int32_t TTdAppOptions::*, TTodoMainForm::kColumnCount> kColumnPositionFields = {
    &TTdAppOptions::PosDone,          &TTdAppOptions::PosID,
    &TTdAppOptions::PosTitle,         &TTdAppOptions::PosCategory,
    &TTdAppOptions::PosPriority,      &TTdAppOptions::PosDateTimeCreated,
    &TTdAppOptions::PosDateTimeDue,   &TTdAppOptions::PosStatus,
    &TTdAppOptions::PosPercent,       &TTdAppOptions::PosDateTimeCompleted,
    &TTdAppOptions::PosAssociation,   &TTdAppOptions::PosNotes,
    &TTdAppOptions::PosDateTimeReminder, &TTdAppOptions::PosResource,
    &TTdAppOptions::PosFlagged,       &TTdAppOptions::PosDaysGone,
    &TTdAppOptions::PosDaysLeft,      &TTdAppOptions::PosType,
    &TTdAppOptions::PosRecurring};

constexpr int kColCategory = 3, kColPriority = 4, kColStatus = 7, kColFlagged = 14, kColType = 17;

// 0x00BBGGRR; a system colour (0xFF0000nn) is taken from the palette.
QColor ColorFromOption(int32_t value) {
  const auto v = static_cast<uint32_t>(value);
  if ((v & 0xFF000000u) != 0) return QGuiApplication::palette().color(QPalette::Base);
  return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>((v >> 16) & 0xFF));
}

QFont FontFromOption(const TFontOption& f, const QFont& base) {
  QFont font = base;
  if (!f.Name.isEmpty()) font.setFamily(f.Name);
  if (f.Size > 0) font.setPointSize(f.Size);
  font.setBold(f.Bold);
  font.setItalic(f.Italic);
  font.setUnderline(f.Underline);
  font.setStrikeOut(f.StrikeOut);
  return font;
}

template <typename Set, typename E>
void SetMember(Set& set, E e, bool on) {
  if (on) set.Include(e);
  else set.Exclude(e);
}

}  // namespace

void TTodoMainForm::LoadColumnLayout() {
  const TTdAppOptions& o = handler_.Options();
  TLazyTreeColumns& columns = TaskTree_->Header().Columns();
  // Positions that are not each of 0 to 18 once (a damaged settings file) keep the
  // columns in their own order.
  std::array<bool, kColumnCount> seen{};
  for (int32_t TTdAppOptions::*field : kColumnPositionFields) {
    const int32_t position = o.*field;
    if (position < 0 || position >= kColumnCount || seen[static_cast<size_t>(position)]) return;
    seen[static_cast<size_t>(position)] = true;
  }
  columns.BeginUpdate();
  for (int i = 0; i < kColumnCount && i < columns.Count(); ++i)
    columns[i]->SetPosition(static_cast<TColumnPosition>(o.*kColumnPositionFields[static_cast<size_t>(i)]));
  columns.EndUpdate();
}

void TTodoMainForm::SaveColumnLayout() {
  TTdAppOptions o = handler_.GetOptions();
  const TLazyTreeColumns& columns = TaskTree_->Header().Columns();
  for (int i = 0; i < kColumnCount && i < columns.Count(); ++i)
    o.*kColumnPositionFields[static_cast<size_t>(i)] = static_cast<int32_t>(columns[i]->Position());
  o.SplitterPercent = splitter_->Percent();
  handler_.PutOptions(o);
}

void TTodoMainForm::ApplyViewSettings() {
  const TTdAppOptions& o = handler_.Options();
  TLTHeader& header = TaskTree_->Header();
  TLazyTreeColumns& columns = header.Columns();

  // 1. Captions, one letter for the narrow image-only columns when asked.
  for (int i = 0; i < kColumnCount && i < columns.Count(); ++i) {
    QString caption = ColumnCaption(i);
    if (o.ShortColumnNames) {
      const bool imageOnly = (i == kColCategory && o.DisplayImageCategory && !o.DisplayTextCategory) ||
                             (i == kColPriority && o.DisplayImagePriority && !o.DisplayTextPriority) ||
                             (i == kColStatus && o.DisplayImageStatus && !o.DisplayTextStatus) ||
                             (i == kColType && o.DisplayImageType && !o.DisplayTextType) || i == kColFlagged;
      if (imageOnly) caption = ColumnLetter(i);
    }
    columns[i]->SetText(caption);
  }
  // 7 (the font first, the minimum widths are measured in it).
  header.SetFont(FontFromOption(o.ColHeaderFont, font()));
  header.SetFontColor(ColorFromOption(o.ColHeaderFont.Color));
  // 2. Minimum widths: the caption in the header font and some room.
  const QFontMetrics metrics(header.Font());
  for (int i = 0; i < kColumnCount && i < columns.Count(); ++i)
    columnMinWidths_[static_cast<size_t>(i)] = metrics.horizontalAdvance(columns[i]->Text()) + 20;

  // 3. Menu style.
  actionManager_->SetStyle(FindActionBarStyle(o.MenuXPStyle ? QStringLiteral("XP Style") : QStringLiteral("Standard")));
  for (TPopupActionBarEx* menu : {trayPopupMenu_.get(), taskTreePopupMenu_.get()}) {
    menu->SetActionManager(actionManager_);
    menu->SetShadows(o.MenuShadows);
  }

  // 4. The filter action, templates and a fresh look at every node.
  UpdateFilterButton(o.FilterOn);
  acViewTemplates->setChecked(o.ViewTemplates);
  TaskTree_->BeginTreeUpdate();
  TaskTree_->ReinitializeChildren(nullptr, false);
  TaskTree_->EndTreeUpdate();

  // 5, 6.
  ApplyToolBarSettings(o);
  ApplyNotesPane(o);
  // 7 to 9.
  ApplyHeaderAndTree(o);
  // 10.
  UpdateStatusAndActions();
}

void TTodoMainForm::ApplyToolBarSettings(const TTdAppOptions& o) {
  if (!o.ShowToolbar) {
    toolBar_->hide();
    return;
  }
  // Every button off the bar, then the chosen ones back in slot order.
  toolBar_->clear();
  for (int32_t code : o.ToolBarButtons) {
    if (code < 1 || code > kToolButtonCount) continue;
    QAction* action = toolActions_[static_cast<size_t>(code - 1)];
    if (toolBar_->widgetForAction(action)) continue;  // a code twice shows one button
    toolBar_->addAction(action);
  }
  const QSize buttonSize = o.ButtonText ? QSize(71, 44) : QSize(61, 34);
  toolBar_->setFixedHeight(o.ButtonText ? 46 : 36);
  toolBar_->setToolButtonStyle(o.ButtonText ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
  showToolTips_ = o.ShowToolTips;
  for (int code = 1; code <= kToolButtonCount; ++code) {
    QToolButton* button = ToolButton(code);
    if (!button) continue;
    button->setObjectName(QString::fromLatin1(std::array{"btnAddTodo", "btnDeleteTask", "btnPrint", "btnEditOptions",
                                                         "btnEditTodoFilter", "btnSort", "btnHelp", "btnExit",
                                                         "btnFind", "btnEdit", "btnToggleFilter"}[code - 1]));
    button->setFixedSize(buttonSize);
    button->setAutoRaise(o.FlatButtons);
    button->removeEventFilter(this);
    button->installEventFilter(this);
  }
  // The exit button reads "Exit" whatever the menu item's mnemonic.
  if (QToolButton* exit = ToolButton(tbExit)) exit->setText(QStringLiteral("&Exit"));
  toolBar_->show();
}

void TTodoMainForm::ApplyNotesPane(const TTdAppOptions& o) {
  const bool shown = o.UseNotes && o.ShowNotesInMemo;
  splitter_->LowerRight()->setVisible(shown);
  splitter_->SetMarginMin(shown ? 100 : 0);
  splitter_->SetMarginMax(shown ? 100 : 0);
  splitter_->SetSplitterWidth(shown ? 3 : 0);
  splitter_->SetLockBar(!shown);
  splitter_->SetPercent(shown ? 80 : 100);
}

void TTodoMainForm::ApplyHeaderAndTree(const TTdAppOptions& o) {
  TLTHeader& header = TaskTree_->Header();
  header.SetHeight(o.ColHeaderFont.Size + 10);
  header.SetStyle(static_cast<TLTHeaderStyle>(qBound(0, static_cast<int>(o.HeaderStyle), 3)));
  TLTHeaderOptions headerOptions = header.Options();
  SetMember(headerOptions, hoHotTrack, o.HeaderHotTrack);
  SetMember(headerOptions, hoShowSortGlyphs, o.ShowSortMarkers);
  header.SetOptions(headerOptions);
  ApplyColumnVisibility();

  // 8. The notes pane's colours and font.
  QPalette palette = meNotes_->palette();
  palette.setColor(QPalette::Base, ColorFromOption(o.NotesBkColor));
  palette.setColor(QPalette::Text, ColorFromOption(o.NotesFont.Color));
  meNotes_->setPalette(palette);
  meNotes_->setFont(FontFromOption(o.NotesFont, font()));

  // 9. The tree.
  TCustomLazyTreeOptions& options = TaskTree_->TreeOptions();
  TLTAutoOptions autoOptions = options.AutoOptions();
  SetMember(autoOptions, toAutoSort, o.AutoSort);
  options.SetAutoOptions(autoOptions);
  TLTPaintOptions paint = options.PaintOptions();
  SetMember(paint, toShowHorzGridLines, o.ShowHorzGridLines);
  SetMember(paint, toShowVertGridLines, o.ShowVertGridLines);
  options.SetPaintOptions(paint);
  TaskTree_->Colors().SetColor(TLTColors::GridLineColor, ColorFromOption(o.GridColor));
  TaskTree_->SetLineStyle(o.DottedGrid ? lsDotted : lsSolid);
  TaskTree_->Colors().SetColor(TLTColors::FocusedSelectionColor, ColorFromOption(o.SelectedBkColor));
  TaskTree_->Colors().SetColor(TLTColors::FocusedSelectionBorderColor, ColorFromOption(o.SelectedBkColor));
}

void TTodoMainForm::UpdateFilterButton(bool on) {
  acFilterOnOff->setChecked(on);
  acFilterOnOff->setText(on ? QStringLiteral("F&ilter is ON") : QStringLiteral("F&ilter is OFF"));
  const QString hint = on ? QStringLiteral("Click to deactivate filter") : QStringLiteral("Click to activate filter");
  acFilterOnOff->setToolTip(hint);
  acFilterOnOff->setStatusTip(hint);
}

void TTodoMainForm::UpdateStatusAndActions() {
  const TTdAppOptions& o = handler_.Options();
  const TTdTodoHandler& todos = handler_.TodoHandler();
  PLazyNode selected = TaskTree_->GetFirstSelectedNode();
  const bool selectedVisible = selected && TaskTree_->GetNodeVisible(selected);
  acDeleteTodo->setEnabled(selectedVisible);
  acEditDelete->setEnabled(selectedVisible);
  acEditTodo->setEnabled(selectedVisible);
  acEditUndoDelete->setEnabled(todos.UndoCount() > 0);
  acEditCategory->setVisible(o.UseCategory);
  acEditType->setVisible(o.UseType);
  acEditResource->setVisible(o.UseResource);
  acArchiveTasks->setEnabled(todos.HasOK() || todos.HasCancelled());
  const bool hasNodes = TaskTree_->RootNodeCount() > 0;
  acSearchFindTree->setEnabled(hasNodes);
  acSearchFindNextTree->setEnabled(hasNodes && !findDialog_->FindText().isEmpty());
  acFilterOnOff->setEnabled(handler_.OptionsHandler().HasFilterCriteria());

  const int visible = static_cast<int>(TaskTree_->VisibleCount());
  QString tasks = QStringLiteral("Tasks: %1").arg(visible);
  if (o.FilterOn || o.QuickFilterMode != 0) tasks += QStringLiteral("/%1").arg(todos.TaskCount());
  statusPanels_[0]->setText(tasks);
  statusPanels_[2]->setText(o.FilterOn ? QStringLiteral("Filter is ON") : QString());
  statusPanels_[3]->setText(QStringLiteral("Added: %1 Deleted: %2 Archived: %3")
                                .arg(addedCount_)
                                .arg(deletedCount_)
                                .arg(archivedCount_));
}

void TTodoMainForm::TasksAdded(int count) {
  BuildQuickFilterTabs(false);
  TaskTree_->SetRootNodeCount(TaskTree_->RootNodeCount() + static_cast<unsigned>(qMax(0, count)));
  if (handler_.Options().FilterOn) TaskTree_->ReinitializeChildren(nullptr, false);
  else TaskTree_->InvalidateTree();
  ApplySorting(false);
  // A window waiting in the tray is left alone; a shown one focuses the new task.
  if (!(trayIcon_ && !isVisible())) {
    TaskTree_->setFocus();
    FocusNode(TaskTree_->GetLast());
  }
  if (handler_.Options().AutoFitColumns) FitColumns();
  UpdateStatusAndActions();
}

void TTodoMainForm::ApplySorting(bool repaint) {
  const TTdAppOptions& o = handler_.Options();
  if (o.SortElement1 != 255) {
    TaskTree_->Header().SetSortColumn(-1);
    TaskTree_->SortTree(0, o.SortAsc1, true);
  } else if (repaint) {
    TaskTree_->InvalidateTree();
  }
}

void TTodoMainForm::ApplyAlwaysOnTop() {
  // Window managers may ignore the hint (Wayland); nothing depends on it.
  const bool onTop = handler_.Options().AlwaysOnTop;
  if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop) return;
  const bool wasVisible = isVisible();
  setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
  if (wasVisible) show();
}

QString TTodoMainForm::StatusText() const { return statusPanels_[0]->text(); }

void TTodoMainForm::SetStatusText(const QString& text) { statusPanels_[0]->setText(text); }

TWindowBounds TTodoMainForm::WindowBounds() const {
  if (PlatformReportsWindowPositions(QGuiApplication::platformName())) return {x(), y(), width(), height()};
  const TTdAppOptions& o = handler_.Options();
  return {o.Left, o.Top, width(), height()};
}

int TTodoMainForm::AddTaskImage(const QIcon&) {
  // The task image list is the shared one of the common module, joined with the task
  // list's presentation; until then associations show no icon.
  return -1;
}

bool PlatformReportsWindowPositions(const QString& platformName) {
  return !platformName.startsWith(QLatin1String("wayland"), Qt::CaseInsensitive);
}
