// Loading and saving ".vrp" files from the preview, and its Print command.
#include "report/RP_PreviewForm.h"

#include "platform/Desktop.h"
#include "platform/Exception.h"
#include "platform/SafeFile.h"
#include "report/engine/RP_EMFPages.h"
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

void TrpPreviewForm::PrintBtnClick() {
  if (PageCount() == 0 || !OnPrint) return;
  OnPrint();
  // The pages may have been given back and taken again: lay out anew, same page.
  ForgetImages();
  FormResize();
  ShowPageNumber();
}
