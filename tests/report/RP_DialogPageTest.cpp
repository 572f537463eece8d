// Dialog pages: before the report pages are built each shows its controls on a modal
// form, unless its activation script answers; Cancel there leaves the report without
// pages. The engine's side with a form that answers as told, and the form on Qt.
#include "ReportComponentFixture.h"
#include "report/RP_DialogPage.h"
#include "report/RP_Windows.h"
#include "report/engine/RP_Control.h"

#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <optional>

namespace {

// A control whose live control is a plain object: the engine sets its properties.
class TestControl : public TrpControl {
public:
  TestControl() { SetBaseName(QStringLiteral("Edit")); }
  QObject* Control() const override { return live.get(); }
  void Draw(QPainter&) override {}
  std::unique_ptr<QObject> live = std::make_unique<QObject>();
};

struct FormLog {
  int shown = 0;
  int placed = 0;
  int result = 1;  // what the user closes the form with
  bool progressVisibleWhileShown = true;
  TrpDialogLook look;
};

class AnsweringForm : public TrpDialogPageForm {
public:
  AnsweringForm(FormLog& log, FakeWindows& windows) : log_(log), windows_(windows) {}
  void Place(QObject&) override { ++log_.placed; }
  void SetLook(const TrpDialogLook& look) override { log_.look = look; }
  int ShowModal() override {
    ++log_.shown;
    log_.progressVisibleWhileShown = windows_.progress && windows_.progress->IsVisible();
    return log_.result;
  }
  void SetModalResult(int) override {}

private:
  FormLog& log_;
  FakeWindows& windows_;
};

class DialogWindows : public FakeWindows {
public:
  FormLog log;
  std::unique_ptr<TrpDialogPageForm> CreateDialogPageForm() override {
    return std::make_unique<AnsweringForm>(log, *this);
  }
};

class DialogPageTest : public ReportComponentTest {
protected:
  void SetUp() override {
    ReportComponentTest::SetUp();
    windows.reset();  // its context scope ends before the next one begins
    windows = std::make_unique<DialogWindows>();
    rpResetGlobals();
    NewReportPage();
  }
  void NewReportPage() {
    report.Clear();
    page = report.AddPage();
    page->UseMargins = 0;
    AddRowBand(20, {QStringLiteral("row")});
  }
  DialogWindows& Windows() { return static_cast<DialogWindows&>(*windows); }

  // A dialog page put before the report page, with one control unless told otherwise.
  TrpPage* AddDialogPage(const QString& script, bool withControl = true) {
    TrpPage* dialog = report.AddPage();
    dialog->PageType = rpPageType::Dialog;
    dialog->Caption = QStringLiteral("Choose");
    dialog->Script = QStringList{script};
    if (withControl) {
      auto* control = static_cast<TestControl*>(dialog->Add(std::make_unique<TestControl>()));
      control->Name = QStringLiteral("Edit1");
      control->SetGeometry(8, 16, 120, 21);
      control->Visible = false;
    }
    return dialog;
  }
};

TEST_F(DialogPageTest, FormAnswersWhetherTheReportIsBuilt) {
  const struct {
    const char* script;
    bool withControl;
    bool visible;
    int userAnswer;
    int shown;
    bool built;
  } cases[] = {
      {"", true, true, 1, 1, true},        // OK
      {"", true, true, 2, 1, false},       // Cancel
      {"", true, true, 0, 1, true},        // closed with no result: only Cancel cancels
      {"begin ModalResult := mrCancel end", true, true, 1, 0, false},  // the script answers
      {"begin ModalResult := mrOk end", true, true, 2, 0, true},
      {"begin ModalResult := mrCancel end", false, true, 2, 0, true},  // no control: no form
      {"", true, false, 2, 0, true},        // an invisible page shows nothing
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(QStringLiteral("'%1' control %2 visible %3 answer %4")
                     .arg(QString::fromLatin1(c.script))
                     .arg(c.withControl)
                     .arg(c.visible)
                     .arg(c.userAnswer)
                     .toStdString());
    NewReportPage();
    Windows().log = FormLog{};
    Windows().log.result = c.userAnswer;
    TrpPage* dialog = AddDialogPage(QString::fromLatin1(c.script), c.withControl);
    dialog->Visible = c.visible;
    EXPECT_EQ(report.PrepareReport(), c.built);
    EXPECT_EQ(Windows().log.shown, c.shown);
    EXPECT_EQ(report.EMFPages().Count(), c.built ? 1 : 0);
  }
}

TEST_F(DialogPageTest, FormTakesThePagesLookAndItsControlsWhileTheProgressWindowStepsAside) {
  report.SetShowProgress(true);
  ASSERT_NE(rpGlobals().Progress(), nullptr);
  Windows().progress->SetVisible(true);  // the build's progress window is up
  TrpPage* dialog = AddDialogPage(QString());
  dialog->BorderStyle = TrpBorderStyle::bsSizeable;
  dialog->Position = TrpPosition::poDesigned;
  dialog->FormLeft = 30;
  dialog->FormWidth = 250;
  ASSERT_TRUE(report.PrepareReport());
  const FormLog& log = Windows().log;
  EXPECT_EQ(log.placed, 1);
  EXPECT_EQ(log.look.caption, QStringLiteral("Choose"));
  EXPECT_TRUE(log.look.sizeable);
  EXPECT_FALSE(log.look.screenCenter);
  EXPECT_EQ(log.look.left, 30);
  EXPECT_EQ(log.look.width, 250);
  EXPECT_FALSE(log.progressVisibleWhileShown);
  ASSERT_NE(Windows().progress, nullptr);
  EXPECT_TRUE(Windows().progress->IsVisible());
  // The live control stands where the view does, shown as the view is.
  auto* control = static_cast<TestControl*>(dialog->Objects().front().get());
  EXPECT_EQ(control->live->property("geometry").toRect(), QRect(8, 16, 120, 21));
  EXPECT_EQ(control->live->property("visible").toBool(), false);
}

TEST_F(DialogPageTest, FirstCancelledDialogStopsTheOthers) {
  Windows().log.result = 2;
  AddDialogPage(QString());
  AddDialogPage(QString());
  EXPECT_FALSE(report.PrepareReport());
  EXPECT_EQ(Windows().log.shown, 1);
}

TEST_F(DialogPageTest, TwoPassReportAsksOnce) {
  report.TwoPass = true;
  AddDialogPage(QString());
  ASSERT_TRUE(report.PrepareReport());
  EXPECT_EQ(Windows().log.shown, 1);
  EXPECT_EQ(report.EMFPages().Count(), 1);
}

TEST_F(DialogPageTest, ControlNamesPassByThoseOfTheReportAndOfTheHiddenDialogForm) {
  TrpPage* dialog = AddDialogPage(QString());  // holds Edit1
  ASSERT_NE(rpGlobals().DialogForm(), nullptr);
  QObject taken(rpGlobals().DialogForm());
  taken.setObjectName(QStringLiteral("Edit2"));
  TrpView* control = dialog->Add(std::make_unique<TestControl>());
  control->CreateUniqueName();
  EXPECT_EQ(control->Name, QStringLiteral("Edit3"));
}

class DialogFormTest : public ReportEngineTest {
protected:
  void SetUp() override {
    ReportEngineTest::SetUp();
    windows.emplace();
  }
  void TearDown() override {
    windows.reset();
    ReportEngineTest::TearDown();
  }
  std::optional<TrpQtWindowsScope> windows;  // the hidden dialog form is a widget
};

TEST_F(DialogFormTest, ClosingTheFormGivesItsModalResultAndKeepsItsControls) {
  QLineEdit edit;
  edit.setGeometry(8, 16, 120, 21);
  const struct {
    int setResult;  // 0: the user presses Esc
    int expected;
  } cases[] = {{0, 2}, {1, 1}, {2, 2}, {6, 6}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.setResult);
    {
      TrpDialogPage form;
      form.Place(edit);
      TrpDialogLook look;
      look.caption = QStringLiteral("Choose");
      look.width = 200;
      look.height = 100;
      form.SetLook(look);
      EXPECT_EQ(edit.parentWidget(), &form);
      EXPECT_EQ(edit.geometry(), QRect(8, 16, 120, 21));
      EXPECT_EQ(form.windowTitle(), QStringLiteral("Choose"));
      EXPECT_EQ(form.size(), QSize(200, 100));
      QTimer::singleShot(0, [&form, &c] {
        ASSERT_EQ(QApplication::activeModalWidget(), &form);
        if (c.setResult == 0)
          form.reject();
        else
          form.SetModalResult(c.setResult);
      });
      EXPECT_EQ(form.ShowModal(), c.expected);
    }
    // The form is gone; the control waits on the hidden dialog form for its owner.
    EXPECT_EQ(edit.parentWidget(), rpGlobals().DialogForm());
  }
  edit.setParent(nullptr);
}

}  // namespace
