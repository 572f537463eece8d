#include "report/RP_Windows.h"

#include "platform/Desktop.h"
#include "report/RP_progr.h"
#include "report/engine/RP_Globals.h"

#include <QApplication>
#include <QInputDialog>
#include <QWidget>

std::unique_ptr<TrpProgressView> TrpQtWindows::CreateProgressWindow() {
  return std::make_unique<TrpProgressForm>();
}

std::unique_ptr<QObject> TrpQtWindows::CreateDialogForm() {
  auto form = std::make_unique<QWidget>();
  form->setObjectName(QStringLiteral("DialogForm"));
  form->setGeometry(-100, -100, 10, 10);
  return form;
}

QString TrpQtWindows::InputBox(const QString& caption, const QString& prompt, const QString& defaultText) {
  bool ok = false;
  const QString text =
      QInputDialog::getText(QApplication::activeWindow(), caption, prompt, QLineEdit::Normal, defaultText, &ok);
  return ok ? text : defaultText;
}

int TrpQtWindows::MessageBox(const QString& text, const QString& caption, int flags) {
  QMessageBox::StandardButtons buttons = QMessageBox::Ok;
  switch (flags & 0x0F) {
    case 1: buttons = QMessageBox::Ok | QMessageBox::Cancel; break;
    case 3: buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    case 4: buttons = QMessageBox::Yes | QMessageBox::No; break;
    default: break;
  }
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  switch (flags & 0xF0) {
    case 16: icon = QMessageBox::Critical; break;
    case 32: icon = QMessageBox::Question; break;
    case 48: icon = QMessageBox::Warning; break;
    case 64: icon = QMessageBox::Information; break;
    default: break;
  }
  switch (Desktop().MessageBox(caption, text, icon, buttons)) {
    case QMessageBox::Cancel: return 2;
    case QMessageBox::Yes: return 6;
    case QMessageBox::No: return 7;
    default: return 1;
  }
}

void rpInstallWindows() {
  static TrpQtWindows windows;
  rpSetWindows(&windows);
  rpResetGlobals();
  // The globals now own windows, which must go while the application object still stands.
  static const bool hooked = [] {
    if (QCoreApplication* app = QCoreApplication::instance()) {
      QObject::connect(app, &QCoreApplication::aboutToQuit, [] { rpResetGlobals(); });
    }
    return true;
  }();
  (void)hooked;
}
