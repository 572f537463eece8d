#pragma once
// The print wizard: a modal dialog with six notebook pages (printer, paper, layout,
// fonts, colours, content) whose Preview builds a task-list report in code over the
// visible rows of the main window's task tree, prepares it and shows it in the preview
// window, from which it is printed. It edits a copy of the options; Close hands the copy
// back, Cancel drops it.
//
//   TMyTaskList tasks(...);                       // implements TPrintTaskList
//   if (RunPrintWizard(options, app, tasks, images)) ...   // options now hold the choices
#include "core/TdOption.h"
#include "report/TdPrnWizModel.h"
#include "report/TdPrnWizReport.h"
#include "report/TdPrnWizRun.h"
#include "report/TdPrnWizValues.h"
#include "report/engine/RP_Class.h"
#include "treeview/LazyTreeTypes.h"

#include <QDialog>

#include <array>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class TClNotebook;
class TFmNumericEdit;
class TLazyStringTree;
class TLTImageList;
class TrpUserDataset;
class TTdTodo;
class TTodoAppHandler;

// What the wizard needs of the main window's task list (so it never includes the main
// window): the tree, the task of a node, and the switch that lets every task pass the
// quick-filter tab while all tasks are printed.
class TPrintTaskList {
public:
  virtual ~TPrintTaskList() = default;
  virtual TLazyStringTree& TaskTree() = 0;
  virtual TTdTodo* TaskOf(PLazyNode node) = 0;
  virtual void SetIgnoreTabFilter(bool on) = 0;
};

// Runs the wizard on a copy of `options`; unless it is cancelled the copy, with what was
// chosen, replaces `options` and true is returned. `images` is the task tree's image list
// (cell pictures and button glyphs); it may be null.
bool RunPrintWizard(TTdAppOptions& options, TTodoAppHandler& app, TPrintTaskList& tasks, const TLTImageList* images);

class TPrintWizardDialog : public QDialog {
  Q_OBJECT

public:
  enum Page { pgPrinter, pgPaper, pgLayout, pgFonts, pgColors, pgContent, pgCount };

  TPrintWizardDialog(const TTdAppOptions& options, TTodoAppHandler& app, TPrintTaskList& tasks,
                     const TLTImageList* images, QWidget* parent = nullptr);
  ~TPrintWizardDialog() override;

  // The record copy the dialog edits.
  const TTdAppOptions& Options() const { return options_; }

  // ---- The steps (each also reached through its control) -------------------------
  void FormShow();
  void RemoveUnusedColumns();
  void FillPaperAndBins();
  void UpdateStatus();
  void CmdSelectClick();
  void CmdDeSelectClick();
  void CmdMoveUpClick();
  void CmdUpClick() { CmdMoveUpClick(); }
  void CmdDownClick();
  void ShowFontSamples();
  // The controls into the record copy. False when a margin, gap or title width is not a
  // whole number: a message names the field, which takes the focus, and the record keeps
  // what it had.
  bool CollectSettings();
  void CmdPreviewClick();
  TPrintColumnSizes CalcColumnSizes();
  void CmdHelpClick();

  // ---- The report's data set and value callbacks -----------------------------------
  void rpUserDatasetFirst();
  void rpUserDatasetNext();
  void rpUserDatasetCheckEOF(bool& eof);
  // A text column's value for the current row; false (value untouched) for an unknown
  // name, a picture column or no current row.
  bool rpReportGetValue(const QString& name, QString& value);
  // Row colour and picture of a cell about to be printed for the current row.
  void rpReportBeforePrint(TrpView& view, bool inPageHeader);

  // The report of the last preview; its pages are empty when it failed or was cancelled.
  TrpReport& Report() { return *report_; }
  TrpEMFPages& PreparedPages() { return report_->EMFPages(); }
  // Shows the prepared report; the preview window by default. Tests replace it.
  std::function<void(TrpReport& report, TPreviewWindowState& state, bool topmost)> OnShowPreview;

  // ---- Controls, as the pages hold them ---------------------------------------------
  TClNotebook* Notebook = nullptr;
  QListWidget* lbPrinters = nullptr;
  QListWidget* lbBins = nullptr;
  QComboBox* cmbPaperSizes = nullptr;
  QRadioButton* rbPortrait = nullptr;
  QRadioButton* rbLandscape = nullptr;
  QLabel* imgPortrait = nullptr;
  QLabel* imgLandScape = nullptr;
  QLabel* lblMessage = nullptr;
  QCheckBox* chkUseMargins = nullptr;
  TFmNumericEdit* txtLeft = nullptr;
  TFmNumericEdit* txtRight = nullptr;
  TFmNumericEdit* txtTop = nullptr;
  TFmNumericEdit* txtBottom = nullptr;
  TFmNumericEdit* txtExtraGap = nullptr;
  TFmNumericEdit* txtMaxWidthTitle = nullptr;
  std::array<QLabel*, 4> marginLabels{};
  QPushButton* btnHeaderFont = nullptr;
  QPushButton* btnNormalFont = nullptr;
  QPushButton* btnNotesFont = nullptr;
  QLabel* pnlHeaderFont = nullptr;
  QLabel* pnlNormalFont = nullptr;
  QLabel* pnlNotesFont = nullptr;
  QLabel* pnlOddColor = nullptr;
  QLabel* pnlEvenColor = nullptr;
  QPushButton* btnOddColor = nullptr;
  QPushButton* btnEvenColor = nullptr;
  QListWidget* lbVisibleColumns = nullptr;
  QListWidget* lbSelectedColumns = nullptr;
  QPushButton* CmdSelect = nullptr;
  QPushButton* CmdDeSelect = nullptr;
  QPushButton* CmdMoveUp = nullptr;
  QPushButton* CmdMoveDown = nullptr;
  QGroupBox* rgSelection = nullptr;
  QRadioButton* rgOnlyTab = nullptr;
  QRadioButton* rgAllTasks = nullptr;
  QPushButton* CmdClose = nullptr;
  QPushButton* CmdPreview = nullptr;
  QPushButton* CmdCancel = nullptr;
  QPushButton* CmdHelp = nullptr;

  const TPrintColumnLists& ColumnLists() const { return lists_; }

public slots:
  void accept() override;

protected:
  void showEvent(QShowEvent* event) override;

private:
  void BuildPrinterPage(QWidget* page);
  void BuildPaperPage(QWidget* page);
  void BuildLayoutPage(QWidget* page);
  void BuildFontsPage(QWidget* page);
  void BuildColorsPage(QWidget* page);
  void BuildContentPage(QWidget* page);
  void BindEvents();
  // The lists' rows and selections from the model.
  void ShowColumnLists();
  void ShowOrientation();
  void PaintColorPanels();
  void EditFont(TFontOption& font);
  void EditColor(int32_t& color);
  bool BuildAndShow();
  TPrintPaper ChosenPaper() const;

  TTdAppOptions options_;
  TTodoAppHandler& app_;
  TPrintTaskList& tasks_;
  const TLTImageList* images_;
  TPrintValueSources sources_;
  TPrintColumnLists lists_;
  TPrintCaptions captions_;
  bool shown_ = false;
  bool formShown_ = false;
  TPrintTaskCursor cursor_;
  // Parent of the user data set, where the build looks it up by name.
  std::unique_ptr<QObject> dataOwner_;
  TrpUserDataset* rpUserDataset = nullptr;
  std::unique_ptr<TrpReport> report_;
  bool building_ = false;
};
