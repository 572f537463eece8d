#include "report/TdPrnWizRun.h"

#include "report/RP_Preview.h"
#include "report/engine/RP_EMFPages.h"
#include "report/engine/RP_Globals.h"
#include "report/engine/RP_PageBuild.h"
#include "report/engine/RP_StringTable.h"

#include "platform/Desktop.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

QString TPrintReport::ExpandFields(const QString& text) {
  // The wizard's cells hold one field each: "[14]".
  static const QRegularExpression field(QStringLiteral("^\\[\\s*([^\\[\\]]*?)\\s*\\]$"));
  const QRegularExpressionMatch match = field.match(text);
  if (match.hasMatch() && OnBeforePrint && CurrentView()) OnBeforePrint(*CurrentView());
  if (match.hasMatch() && OnGetValue) {
    QString value;
    if (OnGetValue(match.captured(1), value)) return value;
  }
  return TrpReport::ExpandFields(text);
}

bool PreparePrintPages(TPrintReport& report, TrpEMFPages& pages, QObject* dataOwner) {
  pages.Clear();
  TrpReportBuild build(report, pages, dataOwner);
  bool finished = true;
  if (TrpProgressView* progress = rpGlobals().Progress()) {
    progress->SetCaption(QStringLiteral("Preparing report"));
    progress->SetFirstLine(QStringLiteral("Processing page:  1"));
    finished = progress->Run([&] {
      build.BuildPages();
      progress->Close(!build.Terminated);
    });
  } else {
    build.BuildPages();
  }
  if (!build.CalcErrors.isEmpty()) {
    Desktop().MessageBox(QStringLiteral("Error"), build.CalcErrors.join(QLatin1Char('\n')), Msg::Critical, Msg::Ok);
    finished = false;
  }
  if (!finished || build.Terminated) {
    pages.Clear();
    return false;
  }
  return pages.Count() > 0;
}

void ShowPrintPreview(TrpEMFPages& pages, TPreviewWindowState& state, bool topmost, QWidget* parent) {
  QDialog window(parent);
  window.setObjectName(QStringLiteral("FrPreviewDialog"));
  window.setWindowTitle(QStringLiteral("Preview"));
  if (topmost) window.setWindowFlag(Qt::WindowStaysOnTopHint);
  auto* preview = new TrpPreview(&window);
  auto* close = new QPushButton(QStringLiteral("Close"), &window);
  close->setObjectName(QStringLiteral("btnClose"));
  QObject::connect(close, &QPushButton::clicked, &window, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(&window);
  layout->addLayout(buttons);
  layout->addWidget(preview, 1);
  window.resize(state.Width, state.Height);
  preview->Connect(&pages);
  switch (state.ZoomMode) {
    case 0: preview->OnePage(); break;
    case 2: preview->PageWidth(); break;
    default: preview->SetZoom(100); break;
  }
  window.exec();
  preview->Clear();
  state.Height = window.height();
  state.Width = window.width();
}
