// The program's entry: the application object, the single-instance check, the main
// window, the loop.
#include "core/GOneInst.h"
#include "core/GSapi.h"
#include "platform/Application.h"
#include "platform/TerminationSignals.h"
#include "ui/TdMain.h"

#include <QIcon>

int main(int argc, char** argv) {
  Application app(argc, argv);
  // The voice contacts the speech engine only when it first speaks.
  ReplaceSapiVoice(CreateSapiVoice());
  QApplication::setApplicationName(QStringLiteral("Velmora"));
  QApplication::setApplicationDisplayName(QStringLiteral("Velmora"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/velmora.svg")));

  // A second copy ends here, before anything is loaded or saved.
  if (CheckSingleInstance(nullptr)) return 0;
  const std::unique_ptr<TTodoMainForm> form = CreateMainForm();
  if (!form) return 1;
  // From now on a later start brings this window forward.
  CheckSingleInstance(form.get());

  // Every loop ends, a reminder window's too, without asking any window; then the
  // window is freed and its handler saves everything on the way out.
  const TerminationSignals termination([] { QCoreApplication::exit(0); });
  form->show();
  return app.exec();
}
