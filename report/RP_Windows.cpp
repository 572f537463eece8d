#include "report/RP_Windows.h"

#include "platform/Desktop.h"
#include "report/RP_DialogPage.h"
#include "report/RP_PreviewForm.h"
#include "report/RP_progr.h"
#include "report/engine/RP_Globals.h"
#include "report/engine/RP_Graphics.h"

#include <QApplication>
#include <QInputDialog>
#include <QPainter>
#include <QPixmap>
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

std::unique_ptr<TrpDialogPageForm> TrpQtWindows::CreateDialogPageForm() {
  return std::make_unique<TrpDialogPage>();
}

void TrpQtWindows::PaintControl(QObject& control, QPainter& canvas, const QRect& rect) {
  auto* widget = qobject_cast<QWidget*>(&control);
  if (!widget || rect.isEmpty()) return;
  QPixmap bitmap(rect.size());
  bitmap.fill(rpToQColor(kRpBtnFace));
  widget->render(&bitmap, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
  canvas.drawPixmap(rect.topLeft(), bitmap);
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
