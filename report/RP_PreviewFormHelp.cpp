// The preview's help button: context help for the next control clicked.
#include "report/RP_PreviewForm.h"

#include "platform/ApplicationError.h"
#include "platform/HelpRequest.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

void TrpPreviewForm::HelpBtnClick() {
  if (contextHelp_) return;
  contextHelp_ = true;
  // The click may land on any window of the program, so the whole application is watched.
  qApp->installEventFilter(this);
  QApplication::setOverrideCursor(Qt::WhatsThisCursor);
}

void TrpPreviewForm::EndContextHelp() {
  if (!contextHelp_) return;
  contextHelp_ = false;
  qApp->removeEventFilter(this);
  QApplication::restoreOverrideCursor();
}

bool TrpPreviewForm::eventFilter(QObject* watched, QEvent* event) {
  if (!contextHelp_) return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* widget = qobject_cast<QWidget*>(watched);
      if (!widget) break;
      const int tag = widget->property("Tag").toInt();
      EndContextHelp();
      RunGuarded([tag] { ShowHelpContext(tag); });
      return true;  // the click asks for help; it does not act
    }
    // The release and a double click of that click belong to the help request too.
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
      return qobject_cast<QWidget*>(watched) != nullptr;
    case QEvent::KeyPress:
      if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        EndContextHelp();
        return true;
      }
      break;
    default: break;
  }
  return QWidget::eventFilter(watched, event);
}
