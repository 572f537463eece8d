// The print dialog driven as a user drives it, over printers described in memory.
#include "FakePrinterBackend.h"
#include "ReportTestSupport.h"
#include "report/RP_PrintForm.h"
#include "report/engine/RP_Printer.h"
#include "support/FakeDesktop.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

namespace {

class PrintFormTest : public ReportEngineTest {
protected:
  void SetUp() override {
    ReportEngineTest::SetUp();
    printer.AttachPrinter(&backend);
  }

  // Moves through the printer list with the keyboard, as a user does; each step chooses.
  static void ChoosePrinter(TrpPrintForm& form, std::initializer_list<Qt::Key> keys) {
    QComboBox* list = form.PrinterList();
    list->setFocus();
    for (Qt::Key key : keys) QTest::keyClick(list, key);
  }

  // A radio button takes a click on its circle or text only.
  static void Click(QRadioButton* button) { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2)); }

  FakeDesktop desktop;
  FakePrinterBackend backend{{NamedPrinter("Laser"), NamedPrinter("Broken", false), NamedPrinter("Ink")}};
  TrpPrinter printer;
};

TEST_F(PrintFormTest, OpensWithThePrinterInUseAndTheDefaults) {
  TrpPrintForm form(printer);
  EXPECT_EQ(form.objectName(), QStringLiteral("rpPrintForm"));
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Print"));
  EXPECT_EQ(form.PrinterList()->count(), 4);
  EXPECT_EQ(form.PrinterList()->itemText(3), QStringLiteral("Virtual printer"));
  EXPECT_EQ(form.PrinterList()->currentIndex(), 0);
  EXPECT_EQ(form.PagesEdit()->text(), QString());
  const TrpPrintRequest request = form.Request();
  EXPECT_EQ(request.printerIndex, 0);
  EXPECT_EQ(request.copies, 1);
  EXPECT_TRUE(request.collate);
  EXPECT_EQ(request.range, TrpPageRangeChoice::All);
  EXPECT_EQ(request.parity, TrpPageParity::All);
}

TEST_F(PrintFormTest, CopiesGoUpAndNeverBelowOne) {
  TrpPrintForm form(printer);
  QSpinBox* copies = form.CopiesEdit();
  copies->setFocus();
  QTest::keyClick(copies, Qt::Key_Down);
  EXPECT_EQ(copies->text(), QStringLiteral("1"));
  QTest::keyClick(copies, Qt::Key_Up);
  QTest::keyClick(copies, Qt::Key_Up);
  QTest::keyClick(copies, Qt::Key_Down);
  EXPECT_EQ(form.Request().copies, 2);
}

TEST_F(PrintFormTest, CollateAndThePictureFollowEachOther) {
  TrpPrintForm form(printer);
  form.show();
  const QImage collated = form.CollatePicture()->grab().toImage();
  QTest::mouseClick(form.CollateCheck(), Qt::LeftButton);
  EXPECT_FALSE(form.Request().collate);
  const QImage uncollated = form.CollatePicture()->grab().toImage();
  EXPECT_NE(collated, uncollated);
  QTest::mouseClick(form.CollateCheck(), Qt::LeftButton);
  EXPECT_EQ(form.CollatePicture()->grab().toImage(), collated);
}

TEST_F(PrintFormTest, PageTextAndPagesChoiceGoTogether) {
  TrpPrintForm form(printer);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  QTest::mouseClick(form.PagesEdit(), Qt::LeftButton);
  EXPECT_TRUE(form.PagesButton()->isChecked());
  QTest::keyClicks(form.PagesEdit(), QStringLiteral("1,3-4"));
  Click(form.AllButton());
  EXPECT_EQ(form.Request().range, TrpPageRangeChoice::All);
  Click(form.PagesButton());
  EXPECT_TRUE(form.PagesEdit()->hasFocus());
  const TrpPrintRequest request = form.Request();
  EXPECT_EQ(request.range, TrpPageRangeChoice::Pages);
  EXPECT_EQ(request.pageText, QStringLiteral("1,3-4"));
}

TEST_F(PrintFormTest, AMalformedPageTextIsSaidAndTheDialogStays) {
  TrpPrintForm form(printer);
  form.show();
  Click(form.PagesButton());
  form.PagesEdit()->setText(QStringLiteral("2-x"));
  form.accept();
  EXPECT_TRUE(form.isVisible());
  ASSERT_EQ(desktop.Log().size(), 1);
  EXPECT_TRUE(desktop.Log().front().startsWith(QStringLiteral("message:Error|"))) << desktop.Log().front().toStdString();
  form.PagesEdit()->setText(QStringLiteral("2-"));
  form.accept();
  EXPECT_EQ(form.result(), QDialog::Accepted);
}

TEST_F(PrintFormTest, AnInvalidPrinterIsSaidAndThePrinterInUseStays) {
  TrpPrintForm form(printer);
  ChoosePrinter(form, {Qt::Key_Down});
  EXPECT_EQ(desktop.Log(), QStringList{QStringLiteral("message:Error|Printer selected is not valid")});
  EXPECT_EQ(printer.PrinterIndex, 0);
  EXPECT_EQ(form.PrinterList()->currentIndex(), 0);
}

TEST_F(PrintFormTest, ChoosingSwitchesAtOnceAndCancelPutsTheOldPrinterBack) {
  TrpPrintForm form(printer);
  ChoosePrinter(form, {Qt::Key_End});
  EXPECT_TRUE(printer.IsVirtual());
  form.reject();
  EXPECT_EQ(printer.PrinterIndex, 0);
  EXPECT_EQ(printer.Device, QStringLiteral("Laser"));
}

TEST_F(PrintFormTest, OkKeepsTheChosenPrinter) {
  TrpPrintForm form(printer);
  ChoosePrinter(form, {Qt::Key_End, Qt::Key_Up});
  QTest::keyClick(form.ParityList(), Qt::Key_Down);
  form.accept();
  EXPECT_EQ(printer.Device, QStringLiteral("Ink"));
  const TrpPrintRequest request = form.Request();
  EXPECT_EQ(request.printerIndex, 2);
  EXPECT_EQ(request.parity, TrpPageParity::Odd);
}

TEST_F(PrintFormTest, PropertiesShowsThePrinterSetUp) {
  TrpDeviceMode landscape;
  landscape.orientation = 2;
  backend.propertiesAnswer = landscape;
  TrpPrintForm form(printer);
  QTest::mouseClick(form.PropertiesButton(), Qt::LeftButton);
  EXPECT_EQ(printer.Orientation, 1);
}

}  // namespace
