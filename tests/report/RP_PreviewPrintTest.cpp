// Printing from the preview: what the print dialog's choices become for the report, a
// printer change carried into the report, and the "PDF file" printer asking where to
// write.
#include "FakePrinterBackend.h"
#include "ReportTestSupport.h"
#include "report/RP_PreviewPrint.h"
#include "report/RP_PrintForm.h"
#include "report/engine/RP_EMFPages.h"
#include "report/engine/RP_Printer.h"
#include "report/engine/RP_PrinterPdfFile.h"
#include "support/FakeDesktop.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>

namespace {

class FakeTarget : public TrpPreviewPrintTarget {
public:
  FakeTarget() {
    TrpPage paper;
    for (int i = 0; i < 3; ++i) pages.Add(paper);
  }
  int DefaultCopies() const override { return copies; }
  bool DefaultCollate() const override { return collate; }
  bool ShowPrintDialog() const override { return showDialog; }
  bool CanRebuildForPrinter() const override { return canRebuild; }
  bool ChangePrinterAndRebuild(int oldIndex, int newIndex) override {
    log << QStringLiteral("change:%1>%2").arg(oldIndex).arg(newIndex);
    return changeSucceeds;
  }
  void PrintPreparedReport(const QString& range, int n, bool c, int parity, const QString& file) override {
    log << QStringLiteral("print:%1|%2|%3|%4|%5").arg(range).arg(n).arg(c).arg(parity).arg(file);
  }
  TrpEMFPages* PreparedPages() override { return &pages; }

  int copies = 2;
  bool collate = false;
  bool showDialog = true;
  bool canRebuild = true;
  bool changeSucceeds = true;
  QStringList log;
  TrpEMFPages pages;
};

class PreviewPrintTest : public ReportEngineTest {
protected:
  void SetUp() override {
    ReportEngineTest::SetUp();
    printer.AttachPrinter(&backend);
  }
  // Answers the print dialog, once it is up.
  void AnswerDialog(const std::function<void(TrpPrintForm&)>& fill, bool ok = true) {
    QTimer::singleShot(0, [=] {
      auto* form = qobject_cast<TrpPrintForm*>(QApplication::activeModalWidget());
      ASSERT_NE(form, nullptr);
      fill(*form);
      ok ? form->accept() : form->reject();
    });
  }

  FakeDesktop desktop;
  FakePrinterBackend backend{{NamedPrinter("Laser"), NamedPrinter("Ink")}};
  TrpPrinter printer;
  FakeTarget target;
};

TEST_F(PreviewPrintTest, TheDialogOpensWithTheDefaultsAndItsChoicesArePrinted) {
  struct Case {
    const char* name;
    std::function<void(TrpPrintForm&)> fill;
    QString printed;
  };
  const std::vector<Case> cases = {
      {"defaults", [](TrpPrintForm& f) {
         EXPECT_EQ(f.CopiesEdit()->value(), 2);
         EXPECT_FALSE(f.CollateCheck()->isChecked());
       }, "print:|2|0|0|"},
      {"current page", [](TrpPrintForm& f) { f.CurrentButton()->setChecked(true); }, "print:2|2|0|0|"},
      {"pages, odd", [](TrpPrintForm& f) {
         f.PagesButton()->setChecked(true);
         f.PagesEdit()->setText(QStringLiteral("1-3"));
         f.ParityList()->setCurrentIndex(1);
         f.CollateCheck()->setChecked(true);
       }, "print:1-3|2|1|1|"},
  };
  for (const Case& c : cases) {
    target.log.clear();
    AnswerDialog(c.fill);
    EXPECT_TRUE(rpPrintFromPreview(target, printer, 2, nullptr)) << c.name;
    EXPECT_EQ(target.log, QStringList{c.printed}) << c.name;
  }
  AnswerDialog([](TrpPrintForm&) {}, false);
  EXPECT_FALSE(rpPrintFromPreview(target, printer, 2, nullptr));
}

TEST_F(PreviewPrintTest, WithoutTheDialogTheDefaultsPrintAtOnce) {
  target.showDialog = false;
  EXPECT_TRUE(rpPrintFromPreview(target, printer, 1, nullptr));
  EXPECT_EQ(target.log, QStringList{QStringLiteral("print:|2|0|0|")});
}

TEST_F(PreviewPrintTest, AnotherPrinterIsCarriedIntoTheReportAndARefusalPrintsNothing) {
  AnswerDialog([&](TrpPrintForm& f) { f.PrinterList()->activated(1); });
  EXPECT_TRUE(rpPrintFromPreview(target, printer, 1, nullptr));
  EXPECT_EQ(target.log, (QStringList{"change:0>1", "print:|2|0|0|"}));

  target.log.clear();
  target.changeSucceeds = false;
  AnswerDialog([&](TrpPrintForm& f) { f.PrinterList()->activated(0); });
  EXPECT_FALSE(rpPrintFromPreview(target, printer, 1, nullptr));
  EXPECT_EQ(target.log, QStringList{"change:1>0"});

  // A report that cannot be rebuilt prints as it was laid out.
  target.log.clear();
  target.canRebuild = false;
  AnswerDialog([&](TrpPrintForm& f) { f.PrinterList()->activated(1); });
  EXPECT_TRUE(rpPrintFromPreview(target, printer, 1, nullptr));
  EXPECT_EQ(target.log, QStringList{"print:|2|0|0|"});
}

TEST_F(PreviewPrintTest, ThePdfFilePrinterAsksWhereToWrite) {
  TrpPdfOnlyBackend pdf;
  printer.AttachPrinter(&pdf);
  target.showDialog = false;
  desktop.fileAnswers = {QString(), QStringLiteral("/tmp/list.pdf")};
  EXPECT_FALSE(rpPrintFromPreview(target, printer, 1, nullptr));  // cancelled: nothing printed
  EXPECT_TRUE(target.log.isEmpty());
  EXPECT_TRUE(rpPrintFromPreview(target, printer, 1, nullptr));
  EXPECT_EQ(target.log, QStringList{"print:|2|0|0|/tmp/list.pdf"});
  ASSERT_EQ(desktop.fileRequests.size(), 2u);
  EXPECT_EQ(desktop.fileRequests[0].defaultSuffix, QStringLiteral("pdf"));
  printer.AttachPrinter(&backend);
}

TEST_F(PreviewPrintTest, NothingHappensWithoutPagesOrPrinters) {
  target.pages.Clear();
  EXPECT_FALSE(rpPrintFromPreview(target, printer, 1, nullptr));
  FakeTarget other;
  FakePrinterBackend none{{}};
  printer.AttachPrinter(&none);
  EXPECT_FALSE(rpPrintFromPreview(other, printer, 1, nullptr));
  EXPECT_TRUE(target.log.isEmpty());
  EXPECT_TRUE(other.log.isEmpty());
  printer.AttachPrinter(&backend);
}

}  // namespace
