#include "ui/TdMain.h"

#include "core/TdApp.h"
#include "platform/ApplicationError.h"
#include "platform/Desktop.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QStatusBar>

namespace {
constexpr int kFirstPanelWidth = 180;
}  // namespace

TTodoMainForm::TTodoMainForm(TTodoAppHandler& handler, QWidget* parent) : QMainWindow(parent), handler_(handler) {
  setObjectName(QStringLiteral("TodoMainForm"));
  setWindowTitle(QStringLiteral("Velmora"));
  setCentralWidget(new QWidget(this));
  statusPanel_ = new QLabel(statusBar());
  statusPanel_->setObjectName(QStringLiteral("StatusPanel0"));
  statusPanel_->setMinimumWidth(kFirstPanelWidth);
  statusBar()->addWidget(statusPanel_);

  handler_.SetMainLink(this);
  ApplyBounds();
}

TTodoMainForm::~TTodoMainForm() { FormDestroy(); }

void TTodoMainForm::FormDestroy() {
  if (destroyed_) return;
  destroyed_ = true;
  // The handler's last save writes the bounds from the options once the window is gone.
  const TWindowBounds bounds = WindowBounds();
  TTdAppOptions o = handler_.GetOptions();
  o.Left = bounds.Left;
  o.Top = bounds.Top;
  o.Width = bounds.Width;
  o.Height = bounds.Height;
  handler_.PutOptions(o);
  handler_.SetMainLink(nullptr);
}

void TTodoMainForm::ApplyBounds() {
  const TTdAppOptions& o = handler_.Options();
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
    if (!handler_.SaveAll()) {
      canClose = false;
      return;
    }
  } catch (...) {
    ShowApplicationError(CurrentExceptionMessage());
    canClose = false;
    return;
  }
  if (handler_.Options().ConfirmExit)
    canClose = Desktop().MessageBox(QStringLiteral("Message"), QStringLiteral("Quit Velmora?"), Msg::Question,
                                    Msg::Yes | Msg::No | Msg::Cancel) == Msg::Yes;
}

void TTodoMainForm::TasksAdded(int) {
  // The task tree that grows here is not part of the window yet.
}

QString TTodoMainForm::StatusText() const { return statusPanel_->text(); }

void TTodoMainForm::SetStatusText(const QString& text) { statusPanel_->setText(text); }

TWindowBounds TTodoMainForm::WindowBounds() const {
  if (PlatformReportsWindowPositions(QGuiApplication::platformName())) return {x(), y(), width(), height()};
  const TTdAppOptions& o = handler_.Options();
  return {o.Left, o.Top, width(), height()};
}

int TTodoMainForm::AddTaskImage(const QIcon&) {
  // No task image list yet: associations show no icon.
  return -1;
}

bool PlatformReportsWindowPositions(const QString& platformName) {
  return !platformName.startsWith(QLatin1String("wayland"), Qt::CaseInsensitive);
}

std::unique_ptr<TTodoAppHandler> CreateAppHandler(const TTodoAppTimings& timings) {
  try {
    return std::make_unique<TTodoAppHandler>(nullptr, timings);
  } catch (...) {
    ShowApplicationError(CurrentExceptionMessage());
    return nullptr;
  }
}
