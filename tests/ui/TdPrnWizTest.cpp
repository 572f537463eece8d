// The print wizard over the real main window and its task tree: what it shows from the
// options, what Close and Cancel hand back, the "all tasks" mode and its restoring, the
// progress window's Cancel, and File -> Print through to the pages and a PDF file.
#include "core/TdAppTestSupport.h"

#include "core/BTodo.h"
#include "core/TdApp.h"
#include "platform/Exception.h"
#include "report/RP_Windows.h"
#include "report/RP_progr.h"
#include "report/TdPrnWiz.h"
#include "report/engine/RP_Printer.h"
#include "report/engine/RP_PrinterPdfFile.h"
#include "support/FakeDesktop.h"
#include "treeview/LazyStringTree.h"
#include "ui/TdCommon.h"
#include "ui/TdMain.h"
#include "ui/TdProgramDialogs.h"
#include "ui/TdTaskTree.h"

#include "controls/FmNumEdit.h"
#include "controls/clnbk.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTabBar>
#include <QTest>
#include <QTimer>

namespace {

class CollectTexts : public TrpExportFilter {
public:
  void OnText(const TrpView&, const QString& text, const QRect&, uint16_t) override { texts << text; }
  void OnObject(TrpView&) override {}
  QStringList texts;
};

QStringList PageTexts(TrpEMFPages& pages) {
  QStringList texts;
  for (int i = 0; i < pages.Count(); ++i) {
    CollectTexts collect;
    pages.ExportPage(i, collect);
    texts << collect.texts;
  }
  return texts;
}

QStringList Titles(const QStringList& texts) {
  QStringList titles;
  for (const QString& text : texts)
    if (text.startsWith(QLatin1String("Task "))) titles << text;
  return titles;
}

// The prepared report printed on the "PDF file" printer.
bool PrintToPdf(TrpReport& report, const QString& file) {
  report.PrintFileName = file;
  report.PrintPreparedReport(QString(), 1, true, TrpPageParity::All);
  return QFile::exists(file);
}

// The main window's task list as the program hands it to the wizard.
class FormTasks : public TPrintTaskList {
public:
  explicit FormTasks(TTodoMainForm& form) : form_(form) {}
  TLazyStringTree& TaskTree() override { return form_.TaskTree(); }
  TTdTodo* TaskOf(PLazyNode node) override { return TTaskTreeView::TaskOfNode(form_.TaskTree(), node); }
  void SetIgnoreTabFilter(bool on) override { form_.TaskView().IgnoreTabFilter = on; }

private:
  TTodoMainForm& form_;
};

class PrintWizardTest : public ::testing::Test {
protected:
  void SetUp() override {
    rpSetPrinterBackend(nullptr);  // the "PDF file" printer alone
    TTdAppOptions o = handler.GetOptions();
    o.QuickFilterMode = 0;
    o.SortElement1 = 255;
    o.ConfirmExit = false;
    o.PrinterName = QStringLiteral("PDF file");
    o.PaperName = QStringLiteral("A4");
    o.BinName = rpPrinter().BinNames.value(0).trimmed();  // the printer's default bin
    o.PrintColumn = {14, 23, 21};
    o.UseNotes = o.UsePriority = o.UseType = o.UseCategory = o.UseResource = o.UsePercent = o.UseDTDue = true;
    o.UseDTReminder = o.UseAssociation = o.UseFlagged = true;
    handler.PutOptions(o);
    for (int i = 1; i <= 30; ++i) {
      TTdTodo* task = handler.TodoHandler().AddTodo();
      task->ID = i;
      task->Title = QStringLiteral("Task %1").arg(i, 2, 10, QLatin1Char('0'));
      task->SetStatus(i % 3 == 0 ? tsOK : tsOpen);
    }
    form = std::make_unique<TTodoMainForm>(handler, &dialogs);
    tasks = std::make_unique<FormTasks>(*form);
  }
  void TearDown() override {
    form.reset();
    rpSetPrinterBackend(nullptr);
  }

  // A wizard on a copy of the options, shown (so FormShow has run).
  std::unique_ptr<TPrintWizardDialog> ShownWizard() {
    auto wizard = std::make_unique<TPrintWizardDialog>(handler.Options(), handler, *tasks, CommonModule().TaskTreeImages());
    wizard->show();
    return wizard;
  }

  QStringList VisibleTitles() {
    QStringList titles;
    TLazyStringTree& tree = form->TaskTree();
    for (PLazyNode node = tree.GetFirstVisible(); node; node = tree.GetNextVisible(node)) titles << form->TaskOf(node)->Title;
    return titles;
  }

  FakeDesktop desktop;
  DataFolderPin data;
  FormatPin formats;
  ClockPin clock{DateTime::EncodeDateTime(2024, 3, 10, 12, 0)};
  TProgramDialogs dialogs{CommonModule()};
  TTodoAppHandler handler;
  std::unique_ptr<TTodoMainForm> form;
  std::unique_ptr<FormTasks> tasks;
};

TEST_F(PrintWizardTest, ShowsTheStoredChoices) {
  TTdAppOptions o = handler.GetOptions();
  o.MarginLeft = 12;
  o.UseMargins = false;
  o.Orientation = 1;
  o.UseFlagged = false;
  o.PrintColumn = {0, 22, 14, 0, 23};
  handler.PutOptions(o);
  auto wizard = ShownWizard();
  EXPECT_EQ(wizard->lbPrinters->count(), 1) << "the virtual printer is left out";
  EXPECT_EQ(wizard->lbPrinters->currentItem()->text(), "PDF file");
  EXPECT_EQ(wizard->cmbPaperSizes->currentText(), "A4");
  EXPECT_EQ(wizard->lbBins->count(), 1) << "a file has the default bin alone";
  EXPECT_EQ(wizard->ColumnLists().Selected, (std::vector<int>{14, 23}));
  EXPECT_EQ(wizard->lbSelectedColumns->item(0)->text(), "Title");
  EXPECT_EQ(wizard->lbVisibleColumns->count(), 28 - 1 - 2) << "no Flag without UseFlagged";
  EXPECT_TRUE(wizard->rbLandscape->isChecked());
  EXPECT_FALSE(wizard->imgLandScape->isHidden());
  EXPECT_TRUE(wizard->imgPortrait->isHidden());
  EXPECT_EQ(wizard->txtLeft->text(), "12");
  EXPECT_FALSE(wizard->txtLeft->isEnabled()) << "margins off";
  EXPECT_FALSE(wizard->rgSelection->isEnabled()) << "no quick-filter tabs";
  EXPECT_TRUE(wizard->CmdPreview->isEnabled());
  EXPECT_EQ(wizard->lblMessage->text(), QString());
  EXPECT_TRUE(wizard->pnlNormalFont->text().endsWith(QLatin1String(" pt")));

  // Without a paper size nothing but the printer and paper pages can be used.
  wizard->cmbPaperSizes->setCurrentIndex(-1);
  EXPECT_FALSE(wizard->CmdPreview->isEnabled());
  EXPECT_EQ(wizard->lblMessage->text(), "You must select a paper source and a size");
}

TEST_F(PrintWizardTest, CloseWithAMarginThatIsNoNumberStaysOpenOnThatField) {
  auto wizard = ShownWizard();
  wizard->lbSelectedColumns->setCurrentRow(1);
  QTest::mouseClick(wizard->CmdDeSelect, Qt::LeftButton);
  ASSERT_EQ(wizard->ColumnLists().Selected, (std::vector<int>{14, 21}));
  wizard->txtExtraGap->setText(QStringLiteral("1-2"));
  QTest::mouseClick(wizard->CmdClose, Qt::LeftButton);
  EXPECT_TRUE(wizard->isVisible()) << "the wizard stays open";
  ASSERT_FALSE(desktop.Messages().empty());
  EXPECT_TRUE(desktop.Messages().back().text.contains(QLatin1String("Extra gap, mm")))
      << desktop.Messages().back().text.toStdString();
  EXPECT_EQ(wizard->Notebook->PageIndex(), TPrintWizardDialog::pgLayout);
  EXPECT_EQ(wizard->ColumnLists().Selected, (std::vector<int>{14, 21})) << "nothing chosen is lost";
  wizard->txtExtraGap->setText(QStringLiteral("3"));
  QTest::mouseClick(wizard->CmdClose, Qt::LeftButton);
  EXPECT_FALSE(wizard->isVisible());
  EXPECT_EQ(wizard->result(), QDialog::Accepted);
  EXPECT_EQ(wizard->Options().ExtraGap, 3);
  EXPECT_EQ(wizard->Options().PrintColumn[1], 21);
  EXPECT_EQ(wizard->Options().PrintColumn[2], 0);
}

TEST_F(PrintWizardTest, PreviewPrintsEveryVisibleTaskOnceEmptyValuesEmpty) {
  auto wizard = ShownWizard();
  // Notes printed; no task has any.
  wizard->lbVisibleColumns->setCurrentRow(
      wizard->lbVisibleColumns->row(wizard->lbVisibleColumns->findItems(QStringLiteral("Notes"), Qt::MatchExactly)[0]));
  QTest::mouseClick(wizard->CmdSelect, Qt::LeftButton);
  int shown = 0;
  QStringList texts;
  wizard->OnShowPreview = [&](TrpReport& report, TPreviewWindowState& state, bool) {
    ++shown;
    texts = PageTexts(report.EMFPages());
    state.Width = 777;
  };
  QTest::mouseClick(wizard->CmdPreview, Qt::LeftButton);
  ASSERT_EQ(shown, 1);
  EXPECT_EQ(Titles(texts), VisibleTitles());
  EXPECT_EQ(Titles(texts).size(), 30);
  EXPECT_EQ(texts.count(QStringLiteral("15")), 1) << "task 15's ID; no notes text for tasks without notes";
  EXPECT_TRUE(texts.contains(QStringLiteral("OK")) && texts.contains(QStringLiteral("Open")));
  EXPECT_EQ(wizard->Options().PreviewWindowWidth, 777);
  EXPECT_TRUE(wizard->CmdPreview->isEnabled());
}

TEST_F(PrintWizardTest, AllTasksModePrintsEveryTaskAndRestoresTheTree) {
  TTdAppOptions o = handler.GetOptions();
  o.QuickFilterMode = 1;  // a tab per status
  o.SortElement1 = 2;     // by title
  o.SortAsc1 = false;
  o.AllTasks = true;
  handler.PutOptions(o);
  form->ApplyViewSettings();
  form->TaskView().BuildQuickFilterTabs(true);
  form->ApplySorting(false);
  QTabBar* tabs = form->TabControl();
  for (int i = 0; i < tabs->count(); ++i)
    if (tabs->tabText(i).startsWith(QLatin1String("OK"))) tabs->setCurrentIndex(i);
  const QStringList onTab = VisibleTitles();
  ASSERT_EQ(onTab.size(), 10);
  ASSERT_EQ(onTab.first(), "Task 30");

  auto wizard = ShownWizard();
  ASSERT_TRUE(wizard->rgSelection->isEnabled());
  QStringList printed;
  wizard->OnShowPreview = [&](TrpReport& report, TPreviewWindowState&, bool) {
    printed = Titles(PageTexts(report.EMFPages()));
    EXPECT_EQ(form->TaskTree().UpdateCount(), 0) << "the tree is restored before the preview shows";
  };
  QTest::mouseClick(wizard->CmdPreview, Qt::LeftButton);
  ASSERT_EQ(printed.size(), 30);
  EXPECT_EQ(printed.first(), "Task 30") << "sorted by title, descending";
  EXPECT_EQ(printed.last(), "Task 01");
  EXPECT_EQ(VisibleTitles(), onTab);
  EXPECT_FALSE(form->TaskView().IgnoreTabFilter);
  EXPECT_EQ(form->TaskTree().UpdateCount(), 0);

  // A preview that fails restores the tree the same way.
  wizard->OnShowPreview = [](TrpReport&, TPreviewWindowState&, bool) { throw Exception(QStringLiteral("no window")); };
  QTest::mouseClick(wizard->CmdPreview, Qt::LeftButton);
  EXPECT_EQ(VisibleTitles(), onTab);
  EXPECT_FALSE(form->TaskView().IgnoreTabFilter);
  EXPECT_EQ(form->TaskTree().UpdateCount(), 0);
  EXPECT_TRUE(wizard->CmdPreview->isEnabled());

  // Only the selected tab: the tree is left alone.
  wizard->rgOnlyTab->setChecked(true);
  wizard->OnShowPreview = [&](TrpReport& report, TPreviewWindowState&, bool) { printed = Titles(PageTexts(report.EMFPages())); };
  QTest::mouseClick(wizard->CmdPreview, Qt::LeftButton);
  EXPECT_EQ(printed, onTab);
}

TEST_F(PrintWizardTest, CancelInTheProgressWindowStopsTheBuildAndLeavesTheWizardUsable) {
  TrpQtWindowsScope windows;
  auto wizard = ShownWizard();
  bool previewDisabled = false, cancelled = false;
  QTimer::singleShot(0, [&] {
    previewDisabled = !wizard->CmdPreview->isEnabled();
    auto* progress = qobject_cast<TrpProgressForm*>(QApplication::activeModalWidget());
    if (!progress) return;
    QTest::mouseClick(progress->CancelButton(), Qt::LeftButton);
    cancelled = true;
  });
  int shown = 0;
  wizard->OnShowPreview = [&](TrpReport&, TPreviewWindowState&, bool) { ++shown; };
  QTest::mouseClick(wizard->CmdPreview, Qt::LeftButton);
  EXPECT_TRUE(previewDisabled);
  ASSERT_TRUE(cancelled) << "the progress window was up";
  EXPECT_EQ(shown, 0);
  EXPECT_EQ(wizard->PreparedPages().Count(), 0);
  EXPECT_TRUE(wizard->CmdPreview->isEnabled());
  QTest::mouseClick(wizard->CmdPreview, Qt::LeftButton);
  EXPECT_EQ(shown, 1) << "the next preview runs";
}

TEST_F(PrintWizardTest, FilePrintOpensTheWizardAndItsPagesPrintToAPdfFile) {
  TempDir dir;
  const QString file = dir.File(QStringLiteral("tasks.pdf"));
  QStringList texts;
  bool printed = false, ran = false;
  QTimer::singleShot(0, [&] {
    auto* wizard = qobject_cast<TPrintWizardDialog*>(QApplication::activeModalWidget());
    if (!wizard) return;
    ran = true;
    wizard->OnShowPreview = [&](TrpReport& report, TPreviewWindowState&, bool) {
      texts = PageTexts(report.EMFPages());
      printed = PrintToPdf(report, file);
    };
    wizard->rbPortrait->setChecked(true);
    QTest::mouseClick(wizard->CmdPreview, Qt::LeftButton);
    QTest::mouseClick(wizard->CmdClose, Qt::LeftButton);
  });
  form->acFilePrint->trigger();
  ASSERT_TRUE(ran) << "the wizard opened";
  EXPECT_EQ(Titles(texts), VisibleTitles());
  EXPECT_EQ(handler.Options().Orientation, 0) << "Close hands the choices back";
  ASSERT_TRUE(printed);
  if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
    GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  QProcess pdftotext;
  pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
  ASSERT_TRUE(pdftotext.waitForFinished(60000));
  const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
  for (const QString& title : VisibleTitles()) EXPECT_TRUE(text.contains(title)) << title.toStdString();
}

TEST_F(PrintWizardTest, ThePreviewWindowOpensAtTheStoredSizeAndHandsItsSizeBack) {
  TTdAppOptions o = handler.GetOptions();
  o.PreviewWindowWidth = 520;
  o.PreviewWindowHeight = 410;
  handler.PutOptions(o);
  auto wizard = ShownWizard();
  QSize opened;
  QTimer::singleShot(0, [&] {
    QWidget* preview = QApplication::activeModalWidget();
    if (!preview || preview == wizard.get()) return;
    opened = preview->size();
    preview->resize(600, 450);
    if (auto* close = preview->findChild<QPushButton*>(QStringLiteral("btnClose")))
      QTest::mouseClick(close, Qt::LeftButton);
  });
  QTest::mouseClick(wizard->CmdPreview, Qt::LeftButton);
  EXPECT_EQ(opened, QSize(520, 410));
  EXPECT_EQ(wizard->Options().PreviewWindowWidth, 600);
  EXPECT_EQ(wizard->Options().PreviewWindowHeight, 450);
}

TEST_F(PrintWizardTest, CancelHandsNothingBack) {
  QTimer::singleShot(0, [&] {
    auto* wizard = qobject_cast<TPrintWizardDialog*>(QApplication::activeModalWidget());
    if (!wizard) return;
    wizard->rbLandscape->setChecked(true);
    QTest::mouseClick(wizard->CmdCancel, Qt::LeftButton);
  });
  form->acFilePrint->trigger();
  EXPECT_EQ(handler.Options().Orientation, 0);
}

}  // namespace
