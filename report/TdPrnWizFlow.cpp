// The wizard's steps: showing the stored choices, the enabled states, the column list
// moves, collecting the choices and building, preparing and showing the report.
#include "report/TdPrnWiz.h"

#include "controls/FmNumEdit.h"
#include "controls/clnbk.h"
#include "core/BTodo.h"
#include "platform/Desktop.h"
#include "platform/HelpRequest.h"
#include "report/RP_Windows.h"
#include "report/engine/RP_Context.h"
#include "report/engine/RP_DSet.h"
#include "report/engine/RP_Page.h"
#include "report/engine/RP_Printer.h"
#include "report/engine/RP_TextMeasurer.h"
#include "report/engine/RP_View.h"
#include "treeview/LazyStringTree.h"
#include "treeview/LazyTreeDrawing.h"
#include "treeview/LazyTreeHeader.h"
#include "treeview/LazyTreeImageList.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

namespace {

constexpr std::array<int, TPrintWizardDialog::pgCount> kPageHelp = {52, 53, 54, 55, 57, 60};
constexpr int kDialogHelp = 14;
constexpr uint8_t kNoSortKey = 255;

// The "all tasks" state of the task tree while a preview is built: every task that
// passes the other filters is shown, inside one update bracket that only this scope
// opens and closes. The tree is filtered and sorted again when the scope ends, whether
// the preview was shown, failed or raised.
class TAllTasksScope {
public:
  TAllTasksScope(TPrintTaskList& tasks, const TTdAppOptions& options, bool active)
      : tasks_(tasks), options_(options), active_(active) {
    if (!active_) return;
    tasks_.SetIgnoreTabFilter(true);
    tasks_.TaskTree().BeginTreeUpdate();
    Refilter();
  }
  ~TAllTasksScope() { Restore(); }
  TAllTasksScope(const TAllTasksScope&) = delete;
  TAllTasksScope& operator=(const TAllTasksScope&) = delete;

  void Restore() {
    if (!active_) return;
    active_ = false;
    tasks_.SetIgnoreTabFilter(false);
    try {
      Refilter();
    } catch (...) {
      tasks_.TaskTree().EndTreeUpdate();
      throw;
    }
    tasks_.TaskTree().EndTreeUpdate();
  }

private:
  void Refilter() {
    TLazyStringTree& tree = tasks_.TaskTree();
    tree.ReinitializeChildren(nullptr, true);
    if (options_.SortElement1 == kNoSortKey) return;
    tree.Header().SetSortColumn(NoColumn);
    tree.SortTree(options_.SortElement1, options_.SortAsc1, false);
  }

  TPrintTaskList& tasks_;
  const TTdAppOptions& options_;
  bool active_;
};

// The rows of the data set as the sizing walks them.
class TCursorRows : public TPrintRows {
public:
  TCursorRows(TPrintWizardDialog& wizard) : wizard_(wizard) {}
  void First() override { wizard_.rpUserDatasetFirst(); }
  void Next() override { wizard_.rpUserDatasetNext(); }
  bool Eof() const override {
    bool eof = false;
    wizard_.rpUserDatasetCheckEOF(eof);
    return eof;
  }
  QString Value(int code) override {
    QString value;
    wizard_.rpReportGetValue(QString::number(code), value);
    return value;
  }

private:
  TPrintWizardDialog& wizard_;
};

// A font of the options measured as the wizard's window measures text.
TrpFontMeasurer MeasurerOf(const TFontOption& option) {
  const TrpFont font = PrintFontOf(option);
  const int pixels = rpMeasuringPixelHeight(font.size);
  return TrpFontMeasurer(font.ToQFont(pixels), pixels);
}

void SelectText(QListWidget* list, const QString& text) {
  const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
  list->setCurrentRow(found.isEmpty() ? -1 : list->row(found.first()));
}

void FillList(QListWidget* list, const std::vector<int>& codes, int current) {
  const QSignalBlocker quiet(list);
  list->clear();
  for (int code : codes) {
    auto* item = new QListWidgetItem(PrintColumnListCaption(code), list);
    item->setData(Qt::UserRole, code);
  }
  list->setCurrentRow(current);
}

}  // namespace

bool RunPrintWizard(TTdAppOptions& options, TTodoAppHandler& app, TPrintTaskList& tasks, const TLTImageList* images) {
  std::optional<ScopedWaitCursor> wait(std::in_place);
  // The engine's progress window (whose Cancel stops a build) needs its windows.
  std::optional<TrpQtWindowsScope> windows;
  if (!rpWindows()) windows.emplace();
  TPrintWizardDialog dialog(options, app, tasks, images);
  if (options.AlwaysOnTop) dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
  wait.reset();
  if (dialog.exec() == QDialog::Rejected) return false;
  options = dialog.Options();
  return true;
}

// ---- FormShow and the printer ------------------------------------------------------

void TPrintWizardDialog::FormShow() {
  if (images_ && images_->IsValidIndex(14)) {
    const QIcon fontGlyph(QPixmap::fromImage(images_->Image(13)));
    const QIcon colorGlyph(QPixmap::fromImage(images_->Image(14)));
    for (QPushButton* b : {btnHeaderFont, btnNormalFont, btnNotesFont}) b->setIcon(fontGlyph);
    for (QPushButton* b : {btnOddColor, btnEvenColor}) b->setIcon(colorGlyph);
  }
  std::vector<int> all;
  for (int code = 1; code <= pwCode::Count; ++code) all.push_back(code);
  lists_.Fill(all);
  RemoveUnusedColumns();
  lists_.SelectStored(StoredColumns(options_));
  ShowColumnLists();

  {
    const QSignalBlocker quiet(lbPrinters);
    lbPrinters->clear();
    QStringList printers = rpPrinter().Printers;
    if (!printers.isEmpty()) printers.removeLast();  // the virtual printer
    lbPrinters->addItems(printers);
    SelectText(lbPrinters, options_.PrinterName);
  }
  rbPortrait->setChecked(options_.Orientation == 0);
  rbLandscape->setChecked(options_.Orientation != 0);
  ShowOrientation();
  txtLeft->SetAsInteger(options_.MarginLeft);
  txtTop->SetAsInteger(options_.MarginTop);
  txtRight->SetAsInteger(options_.MarginRight);
  txtBottom->SetAsInteger(options_.MarginBottom);
  txtExtraGap->SetAsInteger(options_.ExtraGap);
  txtMaxWidthTitle->SetAsInteger(options_.MaxWidthTitle);
  chkUseMargins->setChecked(options_.UseMargins);
  Notebook->SetPageIndex(0);
  PaintColorPanels();
  (options_.AllTasks ? rgAllTasks : rgOnlyTab)->setChecked(true);
  rgSelection->setEnabled(options_.QuickFilterMode != 0);
  ShowFontSamples();
  FillPaperAndBins();
  formShown_ = true;
  lists_.Shown = true;
  UpdateStatus();
}

void TPrintWizardDialog::RemoveUnusedColumns() {
  std::erase_if(lists_.Available, [this](int code) { return !IsColumnOffered(code, options_); });
  lists_.AvailableIndex = std::min(lists_.AvailableIndex, static_cast<int>(lists_.Available.size()) - 1);
}

void TPrintWizardDialog::FillPaperAndBins() {
  TrpPrinter& printer = rpPrinter();
  const int row = lbPrinters->currentRow();
  if (row >= 0) {
    printer.SelectPrinterIndex(row);
    printer.UpdatePrinterInfo();
  }
  {
    const QSignalBlocker quiet(lbBins);
    lbBins->clear();
    for (const QString& name : printer.BinNames)
      if (!name.trimmed().isEmpty()) lbBins->addItem(name.trimmed());
    SelectText(lbBins, options_.BinName);
  }
  {
    const QSignalBlocker quiet(cmbPaperSizes);
    cmbPaperSizes->clear();
    for (const QString& name : printer.PaperNames) cmbPaperSizes->addItem(name.trimmed());
    cmbPaperSizes->setCurrentIndex(cmbPaperSizes->findText(options_.PaperName));
  }
  UpdateStatus();
}

void TPrintWizardDialog::UpdateStatus() {
  if (!formShown_) return;
  TPrintWizardChoice choice;
  choice.PrinterSelected = lbPrinters->currentRow() >= 0;
  choice.BinSelected = lbBins->currentRow() >= 0;
  choice.BinCount = lbBins->count();
  choice.PaperSelected = cmbPaperSizes->currentIndex() >= 0;
  choice.UseMargins = chkUseMargins->isChecked();
  const TPrintWizardStatus s = ComputeWizardStatus(lists_, choice);
  CmdSelect->setEnabled(s.Select);
  CmdDeSelect->setEnabled(s.DeSelect);
  CmdMoveUp->setEnabled(s.MoveUp);
  CmdMoveDown->setEnabled(s.MoveDown);
  for (QLabel* label : marginLabels) label->setEnabled(s.Margins);
  for (TFmNumericEdit* edit : {txtLeft, txtRight, txtTop, txtBottom}) edit->setEnabled(s.Margins);
  Notebook->PageAt(pgPaper)->SetEnabled(s.PaperPage);
  for (int page : {pgLayout, pgFonts, pgColors, pgContent}) Notebook->PageAt(page)->SetEnabled(s.OtherPages);
  CmdPreview->setEnabled(s.Preview && !building_);
  lblMessage->setText(s.Message);
}

// ---- Column lists ------------------------------------------------------------------

void TPrintWizardDialog::ShowColumnLists() {
  FillList(lbVisibleColumns, lists_.Available, lists_.AvailableIndex);
  FillList(lbSelectedColumns, lists_.Selected, lists_.SelectedIndex);
}

void TPrintWizardDialog::CmdSelectClick() {
  lists_.Select();
  ShowColumnLists();
  UpdateStatus();
}

void TPrintWizardDialog::CmdDeSelectClick() {
  lists_.DeSelect();
  ShowColumnLists();
  UpdateStatus();
}

void TPrintWizardDialog::CmdMoveUpClick() {
  lists_.MoveUp();
  ShowColumnLists();
  UpdateStatus();
}

void TPrintWizardDialog::CmdDownClick() {
  lists_.MoveDown();
  ShowColumnLists();
  UpdateStatus();
}

// ---- Fonts, colours, orientation, help -----------------------------------------------

void TPrintWizardDialog::ShowFontSamples() {
  const std::array<std::pair<QLabel*, const TFontOption*>, 3> samples = {{{pnlHeaderFont, &options_.PrintHeaderFont},
                                                                         {pnlNormalFont, &options_.PrintNormalFont},
                                                                         {pnlNotesFont, &options_.PrintNotesFont}}};
  for (const auto& [panel, font] : samples) {
    panel->setFont(PrintFontOf(*font).ToQFont());
    QPalette palette = panel->palette();
    palette.setColor(QPalette::WindowText, ColorFromCode(font->Color));
    panel->setPalette(palette);
    panel->setText(font->Name + QStringLiteral(", ") + QString::number(font->Size) + QStringLiteral(" pt"));
  }
}

void TPrintWizardDialog::EditFont(TFontOption& option) {
  QFont font = PrintFontOf(option).ToQFont();
  QColor color = ColorFromCode(option.Color);
  if (!Desktop().ChooseFont(font, color, QStringLiteral("Font"), this)) return;
  option.Name = font.family();
  if (font.pointSize() > 0) option.Size = font.pointSize();
  option.Bold = font.bold();
  option.Italic = font.italic();
  option.Underline = font.underline();
  option.StrikeOut = font.strikeOut();
  option.Color = ColorToCode(color);
  ShowFontSamples();
}

void TPrintWizardDialog::EditColor(int32_t& color) {
  QColor chosen = ColorFromCode(color);
  if (!Desktop().ChooseColor(chosen, QStringLiteral("Color"), this)) return;
  color = ColorToCode(chosen);
  PaintColorPanels();
}

void TPrintWizardDialog::PaintColorPanels() {
  for (const auto& [panel, color] : {std::pair{pnlOddColor, options_.BackColorOdd}, std::pair{pnlEvenColor, options_.BackColorEven}}) {
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, ColorFromCode(color));
    panel->setPalette(palette);
  }
}

void TPrintWizardDialog::ShowOrientation() {
  imgPortrait->setVisible(rbPortrait->isChecked());
  imgLandScape->setVisible(!rbPortrait->isChecked());
}

void TPrintWizardDialog::CmdHelpClick() {
  const int page = Notebook->PageIndex();
  ShowHelpContext(page >= 0 && page < pgCount ? kPageHelp[static_cast<size_t>(page)] : kDialogHelp);
}

// ---- Collecting and closing ---------------------------------------------------------

bool TPrintWizardDialog::CollectSettings() {
  const TPrintLayoutTexts texts{txtLeft->text(),   txtTop->text(),      txtRight->text(),
                                txtBottom->text(), txtExtraGap->text(), txtMaxWidthTitle->text()};
  TTdAppOptions collected = options_;
  if (const std::optional<TPrintLayoutError> error = ReadLayoutTexts(texts, collected)) {
    const std::array<TFmNumericEdit*, 6> edits = {txtLeft, txtTop, txtRight, txtBottom, txtExtraGap, txtMaxWidthTitle};
    TFmNumericEdit* edit = edits[static_cast<size_t>(error->Field)];
    if (Notebook->IsValidPage(pgLayout)) Notebook->SetPageIndex(pgLayout);
    Desktop().MessageBox(QStringLiteral("Error"),
                         QStringLiteral("'%1' is not a valid integer value for \"%2\"")
                             .arg(error->Text, LayoutFieldLabel(error->Field).chopped(1)),
                         Msg::Critical, Msg::Ok, Msg::NoButton, this);
    edit->setFocus();
    edit->selectAll();
    return false;
  }
  StorePrintColumns(collected, lists_.Selected);
  const int printer = lbPrinters->currentRow();
  collected.PrinterName = printer >= 0 ? lbPrinters->item(printer)->text() : QString();
  collected.Orientation = rbPortrait->isChecked() ? 0 : 1;
  collected.PaperName = cmbPaperSizes->currentIndex() >= 0 ? cmbPaperSizes->currentText() : QString();
  collected.BinName = lbBins->currentRow() >= 0 ? lbBins->currentItem()->text() : QString();
  collected.UseMargins = chkUseMargins->isChecked();
  collected.AllTasks = rgAllTasks->isChecked();
  options_ = collected;
  return true;
}

void TPrintWizardDialog::accept() {
  // A margin that is no number keeps the wizard open on that field.
  if (building_ || !CollectSettings()) return;
  QDialog::accept();
}

// ---- The report -------------------------------------------------------------------

void TPrintWizardDialog::rpUserDatasetFirst() { cursor_.First(); }
void TPrintWizardDialog::rpUserDatasetNext() { cursor_.Next(); }
void TPrintWizardDialog::rpUserDatasetCheckEOF(bool& eof) { eof = cursor_.Eof(); }

bool TPrintWizardDialog::rpReportGetValue(const QString& name, QString& value) {
  const TTdTodo* task = cursor_.Task();
  if (!task) return false;
  const std::optional<int> code = ParseInteger(name);
  // Only the exact decimal text names a column ("014" or " 14" do not).
  if (!code || QString::number(*code) != name || *code < 1 || *code > pwCode::Count || IsPictureColumn(*code))
    return false;
  value = PrintColumnText(*code, *task, sources_);
  return true;
}

void TPrintWizardDialog::rpReportBeforePrint(TrpView& view, bool inPageHeader) {
  const TTdTodo* task = cursor_.Task();
  if (!task) return;
  const int code = CellCode(view);
  const int image = IsPictureColumn(code) ? PrintColumnImage(code, *task, sources_) : 0;
  ApplyCellLook(view, inPageHeader, PrintRowColor(cursor_.Row(), options_), image, images_);
}

TPrintColumnSizes TPrintWizardDialog::CalcColumnSizes() {
  TPrintSizeInput input{lists_.Selected, captions_, options_.ExtraGap, options_.MaxWidthTitle};
  const TrpFontMeasurer header = MeasurerOf(options_.PrintHeaderFont);
  const TrpFontMeasurer normal = MeasurerOf(options_.PrintNormalFont);
  TCursorRows rows(*this);
  return ::CalcColumnSizes(input, header, normal, rows);
}

TPrintPaper TPrintWizardDialog::ChosenPaper() const {
  const TrpPrinter& printer = rpPrinter();
  TPrintPaper paper;
  const int size = cmbPaperSizes->currentIndex();
  if (size >= 0 && size < static_cast<int>(printer.PaperCodes.size()))
    paper.Size = printer.PaperCodes[static_cast<size_t>(size)];
  if (lbBins->currentRow() >= 0) {
    // The list leaves out empty names: the bin is found by its name.
    const QString name = lbBins->currentItem()->text();
    for (int i = 0; i < printer.BinNames.size() && i < static_cast<int>(printer.BinCodes.size()); ++i)
      if (printer.BinNames[i].trimmed() == name) {
        paper.Bin = printer.BinCodes[static_cast<size_t>(i)];
        break;
      }
  }
  paper.Orientation = options_.Orientation;
  paper.UseMargins = chkUseMargins->isChecked();
  paper.LeftMm = options_.MarginLeft;
  paper.TopMm = options_.MarginTop;
  paper.RightMm = options_.MarginRight;
  paper.BottomMm = options_.MarginBottom;
  return paper;
}

void TPrintWizardDialog::CmdPreviewClick() {
  if (building_) return;
  building_ = true;
  CmdPreview->setEnabled(false);
  struct Done {
    TPrintWizardDialog& wizard;
    ~Done() {
      wizard.building_ = false;
      wizard.UpdateStatus();
    }
  } done{*this};
  BuildAndShow();
}

bool TPrintWizardDialog::BuildAndShow() {
  captions_ = PrintHeaderCaptions(lists_.Selected, options_.ShortColumnNames);
  const bool allTasks = options_.QuickFilterMode != 0 && rgAllTasks->isChecked();
  TAllTasksScope scope(tasks_, options_, allTasks);
  if (!CollectSettings()) return false;
  const TPrintColumnSizes sizes = CalcColumnSizes();
  const TPrintFonts fonts{PrintFontOf(options_.PrintHeaderFont), PrintFontOf(options_.PrintNormalFont),
                          PrintFontOf(options_.PrintNotesFont)};
  TrpPage* page = BuildPrintReport(*report_, lists_.Selected, captions_, sizes, fonts);
  ApplyPrintPaper(*page, ChosenPaper());
  if (!report_->PrepareReport()) return false;
  scope.Restore();
  TPreviewWindowState state{options_.PreviewWindowHeight, options_.PreviewWindowWidth, options_.PreviewZoomMode};
  if (OnShowPreview)
    OnShowPreview(*report_, state, options_.AlwaysOnTop);
  else
    ShowPrintPreview(*report_, state, options_.AlwaysOnTop, this);
  options_.PreviewWindowHeight = state.Height;
  options_.PreviewWindowWidth = state.Width;
  options_.PreviewZoomMode = state.ZoomMode;
  return true;
}
