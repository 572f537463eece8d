#include "ui/TdMain.h"

#include "core/TdApp.h"
#include "platform/Application.h"
#include "platform/Desktop.h"

#include <QCloseEvent>
#include <QLabel>
#include <QStatusBar>

namespace {
constexpr int kFirstPanelWidth = 180;
}  // namespace

TTodoMainForm::TTodoMainForm(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("TodoMainForm"));
  setWindowTitle(QStringLiteral("Velmora"));
  setCentralWidget(new QWidget(this));
  statusPanel_ = new QLabel(statusBar());
  statusPanel_->setObjectName(QStringLiteral("StatusPanel0"));
  statusPanel_->setMinimumWidth(kFirstPanelWidth);
  statusBar()->addWidget(statusPanel_);

  handler_ = std::make_unique<TTodoAppHandler>(this);
  ApplyBounds();
}

TTodoMainForm::~TTodoMainForm() { FormDestroy(); }

void TTodoMainForm::FormDestroy() {
  // The handler asks this window for its bounds and status text while it saves.
  handler_.reset();
}

void TTodoMainForm::ApplyBounds() {
  const TTdAppOptions& o = handler_->Options();
  resize(o.Width, o.Height);
  if (o.Left == -1 || o.Top == -1) {
    const QSize screen = Desktop().ScreenSize();
    move((screen.width() - o.Width) / 2, (screen.height() - o.Height) / 2);
  } else {
    move(o.Left, o.Top);
  }
}

void TTodoMainForm::closeEvent(QCloseEvent* event) {
  bool canClose = true;
  FormCloseQuery(canClose);
  if (canClose) event->accept();
  else event->ignore();
}

void TTodoMainForm::FormCloseQuery(bool& canClose) {
  try {
    if (!handler_->SaveAll()) {
      canClose = false;
      return;
    }
  } catch (...) {
    ShowApplicationError(CurrentExceptionMessage());
    canClose = false;
    return;
  }
  if (handler_->Options().ConfirmExit)
    canClose = Desktop().MessageBox(QStringLiteral("Message"), QStringLiteral("Quit Velmora?"), QMessageBox::Question,
                                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel) == QMessageBox::Yes;
}

void TTodoMainForm::TasksAdded(int) {
  // The task tree that grows here is not part of the window yet.
}

QString TTodoMainForm::StatusText() const { return statusPanel_->text(); }

void TTodoMainForm::SetStatusText(const QString& text) { statusPanel_->setText(text); }

TWindowBounds TTodoMainForm::WindowBounds() const { return {x(), y(), width(), height()}; }

int TTodoMainForm::AddTaskImage(const QIcon&) {
  // No task image list yet: associations show no icon.
  return -1;
}

std::unique_ptr<TTodoMainForm> CreateMainForm() {
  try {
    return std::make_unique<TTodoMainForm>();
  } catch (...) {
    ShowApplicationError(CurrentExceptionMessage());
    return nullptr;
  }
}
