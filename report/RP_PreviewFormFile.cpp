// Loading and saving ".vrp" files from the preview, and its Print command.
#include "report/RP_PreviewForm.h"

#include "platform/Desktop.h"
#include "platform/Exception.h"
#include "platform/SafeFile.h"
#include "report/RP_PreviewPageSetup.h"
#include "report/RP_PreviewPrint.h"
#include "report/engine/RP_Class.h"
#include "report/engine/RP_EMFPages.h"
#include "report/engine/RP_Printer.h"
#include "report/engine/RP_Locale.h"
#include "report/engine/RP_StringTable.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr int kReportFile = 53224;

FileDialogRequest ReportFileRequest(const QString& caption) {
  FileDialogRequest request;
  request.caption = caption;
  request.filter = rpLoadStr(kReportFile) + QStringLiteral(" (*.vrp)");
  request.defaultSuffix = QStringLiteral("vrp");
  return request;
}

void ShowError(const QString& text, QWidget* parent) {
  Desktop().MessageBox(rpLoadStr(rpStrings::Error), text, Msg::Critical, Msg::Ok, Msg::NoButton, parent);
}

}  // namespace

void TrpPreviewForm::LoadBtnClick() {
  if (!pages_) return;
  const QString name = Desktop().OpenFileName(ReportFileRequest(rpLoadStr(53215)), this);
  if (name.isEmpty()) return;
  bool loaded = false;
  if (OnLoad) {
    loaded = OnLoad(name);
  } else {
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
      ShowError(file.errorString(), this);
      return;
    }
    // A damaged file leaves the pages shown as they were; the pages say why.
    loaded = pages_->ReadFromStream(file);
  }
  if (loaded) ResetView();
}

void TrpPreviewForm::SaveBtnClick() {
  if (PageCount() == 0) return;
  const QString chosen = Desktop().SaveFileName(ReportFileRequest(rpLoadStr(53216)), this);
  if (chosen.isEmpty()) return;
  const QFileInfo info(chosen);
  const QString name = info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".vrp");
  // The report writes its printer and generator version with the pages, and says why
  // when it cannot.
  if (report_) {
    report_->SavePreparedReport(name);
    return;
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  try {
    pages_->WriteToStream(buffer);
    WriteFileSafely(name, bytes, false);
  } catch (const Exception& e) {
    ShowError(e.Message(), this);
  }
}

void TrpPreviewForm::SetPrintTarget(TrpPreviewPrintTarget* target) { printTarget_ = target; }

void TrpPreviewForm::PrintBtnClick() {
  if (PageCount() == 0) return;
  const int page = current_;
  if (OnPrint) {
    OnPrint();
  } else if (printTarget_) {
    rpPrintFromPreview(*printTarget_, rpPrinter(), current_, this);
    // A new printer may have rebuilt the report into new pages.
    if (TrpEMFPages* pages = printTarget_->PreparedPages(); pages != pages_) ShowPages(pages);
  } else {
    return;
  }
  // The pages went to the printer and came back: lay out anew on the same page.
  ForgetImages();
  current_ = std::min(page, PageCount());
  FormResize();
  ShowPageNumber();
}

void TrpPreviewForm::PageSetupBtnClick() {
  if (!report_ || PageCount() == 0 || !PrintEnabled()) return;
  TrpReport& report = *report_;
  bool dropped = false;
  rpRunPageSetup(report, this, [&] {
    DropPages();
    dropped = true;
  });
  // The build made new pages (or, when it failed, what is left of them): shown from page 1.
  if (dropped) ShowPages(&report.EMFPages());
}
