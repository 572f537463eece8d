#include "report/TdPrnWizRun.h"

#include "report/RP_Preview.h"
#include "report/engine/RP_Class.h"

#include "platform/ApplicationError.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

void ShowPrintPreview(TrpReport& report, TPreviewWindowState& state, bool topmost, QWidget* parent) {
  QDialog window(parent);
  window.setObjectName(QStringLiteral("FrPreviewDialog"));
  window.setWindowTitle(QStringLiteral("Preview"));
  if (topmost) window.setWindowFlag(Qt::WindowStaysOnTopHint);
  auto* preview = new TrpPreview(&window);
  auto* print = new QPushButton(QStringLiteral("Print"), &window);
  print->setObjectName(QStringLiteral("btnPrint"));
  auto* close = new QPushButton(QStringLiteral("Close"), &window);
  close->setObjectName(QStringLiteral("btnClose"));
  QObject::connect(close, &QPushButton::clicked, &window, &QDialog::accept);
  QObject::connect(print, &QPushButton::clicked, &window, [&] {
    RunGuarded([&] {
      // The pages go back to the report while it prints them.
      preview->Clear();
      report.PrintPreparedReport(QString(), report.DefaultCopies(), report.DefaultCollate(), TrpPageParity::All);
      preview->Connect(&report.EMFPages());
    });
  });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(print);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(&window);
  layout->addLayout(buttons);
  layout->addWidget(preview, 1);
  window.resize(state.Width, state.Height);
  preview->Connect(&report.EMFPages());
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
