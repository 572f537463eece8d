#include "report/RP_DialogPage.h"

#include "platform/Desktop.h"
#include "report/engine/RP_Globals.h"
#include "report/engine/RP_Graphics.h"

#include <QPalette>

namespace {

constexpr int kModalCancel = 2;  // mrCancel

}  // namespace

TrpDialogPage::TrpDialogPage() { setObjectName(QStringLiteral("DialogPage")); }

TrpDialogPage::~TrpDialogPage() {
  auto* hidden = qobject_cast<QWidget*>(rpGlobals().DialogForm());
  for (const QPointer<QWidget>& control : placed_) {
    if (!control) continue;
    control->hide();
    control->setParent(hidden);
  }
}

void TrpDialogPage::Place(QObject& control) {
  auto* widget = qobject_cast<QWidget*>(&control);
  if (!widget) return;
  const QRect geometry = widget->geometry();
  widget->setParent(this);
  widget->setGeometry(geometry);
  placed_.emplace_back(widget);
}

void TrpDialogPage::SetLook(const TrpDialogLook& look) {
  setWindowTitle(look.caption);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, rpToQColor(look.color));
  setPalette(palette);
  setAutoFillBackground(true);
  if (look.sizeable) {
    resize(look.width, look.height);
  } else {
    setFixedSize(look.width, look.height);
  }
  if (look.screenCenter) {
    const QSize screen = Desktop().ScreenSize();
    move((screen.width() - look.width) / 2, (screen.height() - look.height) / 2);
  } else {
    move(look.left, look.top);
  }
}

int TrpDialogPage::ShowModal() {
  const int result = exec();
  // Closed by the window's own means (Esc, the close box): as Cancel.
  return result == QDialog::Rejected ? kModalCancel : result;
}

void TrpDialogPage::SetModalResult(int result) {
  if (result != 0) done(result);
}
