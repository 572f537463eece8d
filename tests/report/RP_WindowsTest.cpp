// The engine's windows driven as a user drives them: the progress window around a
// build, the small dialogs, message boxes of scripts, and saved window positions.
#include "ReportTestSupport.h"
#include "report/RP_FmtEd.h"
#include "report/RP_Srch.h"
#include "report/RP_UtilsUi.h"
#include "report/RP_WinPos.h"
#include "report/RP_Windows.h"
#include "report/RP_passw.h"
#include "report/RP_progr.h"
#include "report/engine/RP_Errors.h"
#include "report/engine/RP_Utils.h"
#include "support/FakeDesktop.h"
#include "support/TempDir.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

class WindowsTest : public ReportEngineTest {};

TEST_F(WindowsTest, ProgressWindowRunsTheBuildOnceItIsUp) {
  TrpProgressForm form;
  EXPECT_EQ(form.objectName(), QStringLiteral("rpProgressForm"));
  form.SetCaption(QStringLiteral("Preparing report"));
  form.SetFirstLine(QStringLiteral("Processing page:  1"));
  form.SetSecondLine(QStringLiteral("left over"));
  bool visibleDuringWork = false;
  QString secondDuringWork = QStringLiteral("unchanged");
  const bool ok = form.Run([&] {
    visibleDuringWork = form.isVisible();
    secondDuringWork = form.SecondLine();
    form.Close(true);
  });
  EXPECT_TRUE(ok);
  EXPECT_TRUE(visibleDuringWork);
  EXPECT_EQ(secondDuringWork, QString());
  EXPECT_EQ(form.FirstLine(), QStringLiteral("Processing page:  1"));
  EXPECT_FALSE(form.isVisible());
}

TEST_F(WindowsTest, CancelDuringTheBuildSetsTheStopFlag) {
  TrpProgressForm form;
  bool stop = false;
  form.OnCancel = [&stop] { stop = true; };
  const bool ok = form.Run([&] {
    QTest::mouseClick(form.CancelButton(), Qt::LeftButton);
    // The build looks at the flag after each band; it stops and closes with Cancel.
    if (stop) form.Close(false);
  });
  EXPECT_FALSE(ok);
  EXPECT_TRUE(stop);
}

TEST_F(WindowsTest, AnErrorOfTheBuildClosesTheWindowAndComesBack) {
  TrpProgressForm form;
  EXPECT_THROW(form.Run([] { throw EParserError(QStringLiteral("boom")); }), EParserError);
  EXPECT_FALSE(form.isVisible());
}

TEST_F(WindowsTest, ScriptMessageBoxesGoThroughTheDesktop) {
  FakeDesktop desktop;
  desktop.messageAnswers = {Msg::Yes, Msg::Cancel, Msg::Ok};
  TrpQtWindows windows;
  EXPECT_EQ(windows.MessageBox(QStringLiteral("Go on?"), QStringLiteral("Report"), 4 + 32), 6);
  EXPECT_EQ(windows.MessageBox(QStringLiteral("Stop?"), QStringLiteral("Report"), 1 + 48), 2);
  EXPECT_EQ(windows.MessageBox(QStringLiteral("Done"), QStringLiteral("Report"), 64), 1);
  ASSERT_EQ(desktop.Messages().size(), 3u);
  EXPECT_EQ(desktop.Messages()[0].buttons, Msg::Yes | Msg::No);
  EXPECT_EQ(desktop.Messages()[0].icon, Msg::Question);
  EXPECT_EQ(desktop.Messages()[1].buttons, Msg::Ok | Msg::Cancel);
  EXPECT_EQ(desktop.Messages()[1].icon, Msg::Warning);
  EXPECT_EQ(desktop.Messages()[2].icon, Msg::Information);
  EXPECT_EQ(desktop.Calls(QStringLiteral("message:"))[0], QStringLiteral("message:Report|Go on?"));
}

TEST_F(WindowsTest, InstalledWindowsGiveTheGlobalsAProgressWindow) {
  TrpQtWindowsScope windows;
  TrpProgressView* progress = rpGlobals().Progress();
  ASSERT_NE(progress, nullptr);
  EXPECT_NE(dynamic_cast<TrpProgressForm*>(progress), nullptr);
  ASSERT_NE(rpGlobals().DialogForm(), nullptr);
  EXPECT_EQ(rpGlobals().DialogForm()->objectName(), QStringLiteral("DialogForm"));
}

TEST_F(WindowsTest, FindTextWindowOpensReadyToType) {
  TrpPreviewSearchForm form;
  form.Edit()->setText(QStringLiteral("previous"));
  form.show();
  QApplication::setActiveWindow(&form);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Find text"));
  EXPECT_TRUE(form.FirstPage()->isChecked());
  EXPECT_FALSE(form.CurrentPage()->isChecked());
  EXPECT_FALSE(form.CaseSensitive()->isChecked());
  EXPECT_EQ(form.Edit()->selectedText(), QStringLiteral("previous"));
  QTest::keyClicks(form.Edit(), QStringLiteral("new"));
  EXPECT_EQ(form.Edit()->text(), QStringLiteral("new"));
  QTest::keyClick(form.Edit(), Qt::Key_Return);
  EXPECT_EQ(form.result(), QDialog::Accepted);
}

TEST_F(WindowsTest, PasswordWindowHidesWhatIsTyped) {
  TrpPasswForm form;
  form.show();
  QApplication::setActiveWindow(&form);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Password"));
  QTest::keyClicks(form.Edit(), QStringLiteral("secret"));
  EXPECT_EQ(form.Password(), QStringLiteral("secret"));
  EXPECT_EQ(form.Edit()->echoMode(), QLineEdit::Password);
  EXPECT_EQ(form.Edit()->displayText(), QString(6, QChar(u'*')));
}

TEST_F(WindowsTest, FormatWindowRebuildsTheFormatWord) {
  TrpFmtForm form(rpMakeFormat({rpFormatCategory::Number, 2, 3, u'.'}), QStringLiteral("0.000"));
  EXPECT_EQ(form.Categories()->currentRow(), rpFormatCategory::Number);
  EXPECT_EQ(form.Kinds()->currentItem()->text(), QStringLiteral("1 234,5"));
  EXPECT_TRUE(form.Decimals()->isEnabled());
  EXPECT_FALSE(form.Custom()->isEnabled());

  form.Decimals()->setText(QStringLiteral("1"));
  form.Separator()->clear();
  form.accept();
  EXPECT_EQ(form.Format(), rpMakeFormat({rpFormatCategory::Number, 2, 1, u','}));
  EXPECT_EQ(form.Pattern(), QStringLiteral("0.000"));  // not a custom kind: the text stays

  TrpFmtForm text(rpMakeFormat({rpFormatCategory::Text, 0, 0, u'.'}), QString());
  EXPECT_EQ(text.Kinds()->count(), 1);  // empty entries are left out
  EXPECT_FALSE(text.Decimals()->isEnabled());
  text.Categories()->setCurrentRow(rpFormatCategory::Date);
  EXPECT_EQ(text.Kinds()->count(), 5);
  text.Kinds()->setCurrentRow(4);
  EXPECT_EQ(text.Kinds()->currentItem()->text(), QStringLiteral("Custom"));
  EXPECT_TRUE(text.Custom()->isEnabled());
  EXPECT_FALSE(text.Decimals()->isEnabled());
  text.Custom()->setText(QStringLiteral("dd.mm.yyyy"));
  text.Decimals()->setText(QStringLiteral("5"));
  text.accept();
  EXPECT_EQ(text.Format(), rpMakeFormat({rpFormatCategory::Date, 4, 0, u'.'}));
  EXPECT_EQ(text.Pattern(), QStringLiteral("dd.mm.yyyy"));
}

TEST_F(WindowsTest, WindowPositionsAreSavedPerWindowClass) {
  TempDir dir;
  const RegistryStore store(dir.Path() + QStringLiteral("/registry.ini"), dir.Path() + QStringLiteral("/autostart"));
  TrpPasswForm saved;
  saved.setGeometry(40, 50, 300, 160);
  rpSaveFormPosition(saved, store);
  const QString key = QStringLiteral("Software\\BandReport\\Form\\TrpPasswForm");
  EXPECT_EQ(store.ReadString(RegistryHive::CurrentUser, key, QStringLiteral("Width")), QStringLiteral("300"));
  EXPECT_EQ(store.ReadString(RegistryHive::CurrentUser, key, QStringLiteral("Maximized")), QStringLiteral("0"));

  TrpPasswForm restored;
  restored.setGeometry(1, 2, 200, 100);
  rpRestoreFormPosition(restored, store);
  EXPECT_EQ(restored.geometry(), QRect(40, 50, 300, 160));

  TrpPreviewSearchForm untouched;
  untouched.setGeometry(5, 6, 250, 120);
  rpRestoreFormPosition(untouched, store);
  EXPECT_EQ(untouched.geometry(), QRect(5, 6, 250, 120));
}

TEST_F(WindowsTest, ControlAtPosFindsTheTopmostVisibleChild) {
  QWidget parent;
  parent.resize(200, 200);
  auto* panel = new QWidget(&parent);
  panel->setGeometry(10, 10, 100, 100);
  auto* inner = new QLabel(QStringLiteral("x"), panel);
  inner->setGeometry(10, 10, 20, 20);
  auto* hidden = new QLabel(QStringLiteral("y"), &parent);
  hidden->setGeometry(150, 150, 20, 20);
  auto* top = new QLabel(QStringLiteral("z"), &parent);
  top->setGeometry(90, 90, 40, 40);
  parent.show();
  hidden->hide();
  EXPECT_EQ(rpControlAtPos(&parent, QPoint(25, 25)), inner);
  EXPECT_EQ(rpControlAtPos(&parent, QPoint(60, 60)), panel);
  EXPECT_EQ(rpControlAtPos(&parent, QPoint(100, 100)), top);
  EXPECT_EQ(rpControlAtPos(&parent, QPoint(155, 155)), nullptr);

  rpEnableControls({inner, top}, false);
  EXPECT_FALSE(inner->isEnabled());
  EXPECT_FALSE(top->isEnabled());
  rpEnableControls({inner, top}, true);
  EXPECT_TRUE(inner->isEnabled());
}

}  // namespace
