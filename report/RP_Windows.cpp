#include "report/RP_Windows.h"

#include "platform/Desktop.h"
#include "report/RP_PreviewForm.h"
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
  Msg::Buttons buttons = Msg::Ok;
  switch (flags & 0x0F) {
    case 1: buttons = Msg::Ok | Msg::Cancel; break;
    case 3: buttons = Msg::Yes | Msg::No | Msg::Cancel; break;
    case 4: buttons = Msg::Yes | Msg::No; break;
    default: break;
  }
  Msg::Icon icon = Msg::NoIcon;
  switch (flags & 0xF0) {
    case 16: icon = Msg::Critical; break;
    case 32: icon = Msg::Question; break;
    case 48: icon = Msg::Warning; break;
    case 64: icon = Msg::Information; break;
    default: break;
  }
  switch (Desktop().MessageBox(caption, text, icon, buttons)) {
    case Msg::Cancel: return 2;
    case Msg::Yes: return 6;
    case Msg::No: return 7;
    default: return 1;
  }
}

TrpQtWindowsScope::TrpQtWindowsScope()
    : scope_(rpContextWith([this](TrpContext& c) {
        c.Windows = &windows_;
        c.CreatePreviewWindow = [] { return std::make_unique<TrpPreviewForm>(); };
      })) {
  rpResetGlobals();
}

TrpQtWindowsScope::~TrpQtWindowsScope() { rpResetGlobals(); }
