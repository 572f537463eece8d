#include "report/RP_progr.h"

#include "report/engine/RP_Locale.h"
#include "report/engine/RP_StringTable.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The private message that starts the build once the modal loop runs.
const QEvent::Type kStartBuild = static_cast<QEvent::Type>(QEvent::registerEventType(QEvent::User + 1025));

}  // namespace

TrpProgressForm::TrpProgressForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("rpProgressForm"));
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  first_ = new QLabel(this);
  second_ = new QLabel(this);
  cancel_ = new QPushButton(rpLoadStr(rpStrings::ProgressCancel), this);
  layout->addWidget(first_);
  layout->addWidget(second_);
  layout->addWidget(cancel_, 0, Qt::AlignHCenter);
  setMinimumWidth(260);
  connect(cancel_, &QPushButton::clicked, this, &TrpProgressForm::CancelClicked);
}

void TrpProgressForm::SetCaption(const QString& caption) { setWindowTitle(caption); }
void TrpProgressForm::SetFirstLine(const QString& text) { first_->setText(text); }
void TrpProgressForm::SetSecondLine(const QString& text) { second_->setText(text); }
QString TrpProgressForm::FirstLine() const { return first_->text(); }
QString TrpProgressForm::SecondLine() const { return second_->text(); }

bool TrpProgressForm::Run(std::function<void()> work) {
  second_->clear();
  work_ = std::move(work);
  error_ = nullptr;
  QCoreApplication::postEvent(this, new QEvent(kStartBuild));
  const int result = exec();
  work_ = nullptr;
  if (error_) std::rethrow_exception(std::exchange(error_, nullptr));
  return result == QDialog::Accepted;
}

void TrpProgressForm::Close(bool ok) { done(ok ? QDialog::Accepted : QDialog::Rejected); }

void TrpProgressForm::ProcessEvents() {
  // Up, the window is modal: the only input other windows could get is blocked, and its
  // Cancel is served. Hidden (a build without it, a dialog page), no input is served at
  // all, so no window of the report can start a second build or print meanwhile.
  QCoreApplication::processEvents(isVisible() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
}

void TrpProgressForm::customEvent(QEvent* event) {
  if (event->type() != kStartBuild || !work_) return QDialog::customEvent(event);
  // No error may leave an event handler: it is kept and raised again by Run.
  try {
    std::function<void()> work = std::move(work_);
    work();
  } catch (...) {
    error_ = std::current_exception();
    done(QDialog::Rejected);
  }
}

void TrpProgressForm::CancelClicked() {
  if (OnCancel) OnCancel();
  done(QDialog::Rejected);
}
