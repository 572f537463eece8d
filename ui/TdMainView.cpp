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
#include "treeview/LazyTreeImageList.h"
#include "ui/TdCommon.h"
#include "ui/TdFindDlg.h"
#include "ui/TdMain.h"
#include "ui/TdTaskTree.h"

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
  // Captions, minimum widths, column visibility, header font, grid, sort marks, the notes
  // pane's font and colours, and a fresh look at every node: the presentation's.
  view_->ApplyViewSettings();
  ApplyHeaderStyle(o);

  // Menu style.
  actionManager_->SetStyle(FindActionBarStyle(o.MenuXPStyle ? QStringLiteral("XP Style") : QStringLiteral("Standard")));
  for (TPopupActionBarEx* menu : {trayPopupMenu_.get(), taskTreePopupMenu_.get()}) {
    menu->SetActionManager(actionManager_);
    menu->SetShadows(o.MenuShadows);
  }
  UpdateFilterButton(o.FilterOn);
  acViewTemplates->setChecked(o.ViewTemplates);
  ApplyToolBarSettings(o);
  ApplyNotesPane(o);
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
    // A caption longer than the button ("Filter is OFF" in a larger desktop font) widens
    // it instead of being cut short.
    const int captionWidth = o.ButtonText ? button->sizeHint().width() : 0;
    button->setFixedSize(qMax(buttonSize.width(), captionWidth), buttonSize.height());
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

void TTodoMainForm::ApplyHeaderStyle(const TTdAppOptions& o) {
  TaskTree_->Header().SetStyle(static_cast<TLTHeaderStyle>(qBound(0, static_cast<int>(o.HeaderStyle), 3)));
}

void TTodoMainForm::UpdateFilterButton(bool on) {
  acFilterOnOff->setChecked(on);
  acFilterOnOff->setText(on ? QStringLiteral("F&ilter is ON") : QStringLiteral("F&ilter is OFF"));
  const QString hint = on ? QStringLiteral("Click to deactivate filter") : QStringLiteral("Click to activate filter");
  acFilterOnOff->setToolTip(hint);
  acFilterOnOff->setStatusTip(hint);
  acFilterOnOff->setIcon(ActionIcon(on ? aiFilterOn : aiFilterOff));
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
  PLazyNode added = view_->TasksAdded(count);
  // Without quick-filter tabs there is nothing to rebuild, and rebuilding would filter,
  // sort and fit the whole list once more.
  if (handler_.Options().QuickFilterMode != 0) BuildQuickFilterTabs(false);
  ApplySorting(false);
  // A window waiting in the tray is left alone; a shown one focuses the new task.
  if (!(trayIcon_ && !isVisible()) && count > 0) {
    TaskTree_->setFocus();
    // The last task's node, as the view made it (sorting keeps nodes on their tasks).
    FocusNode(added);
  }
  if (handler_.Options().AutoFitColumns) FitColumns();
  UpdateStatusAndActions();
}

void TTodoMainForm::ApplySorting(bool repaint) { view_->ApplySorting(repaint); }

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

int TTodoMainForm::AddTaskImage(const QIcon& icon) {
  // Association icons join the shared task images the tree draws from.
  TLTImageList* images = CommonModule().TaskTreeImages();
  const QSize size(images->Width(), images->Height());
  const QPixmap pixmap = icon.pixmap(size);
  if (pixmap.isNull()) return -1;
  return images->Add(pixmap.toImage().scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

bool PlatformReportsWindowPositions(const QString& platformName) {
  return !platformName.startsWith(QLatin1String("wayland"), Qt::CaseInsensitive);
}
