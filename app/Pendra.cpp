// The program's entry: the application object, the single-instance check, the main
// window, the loop.
#include "core/GOneInst.h"
#include "core/GSapi.h"
#include "platform/Application.h"

#include <QIcon>
#include <QMainWindow>

int main(int argc, char** argv) {
  Application app(argc, argv);
  // The voice contacts the speech engine only when it first speaks.
  ReplaceSapiVoice(CreateSapiVoice());
  QApplication::setApplicationName(QStringLiteral("Velmora"));
  QApplication::setApplicationDisplayName(QStringLiteral("Velmora"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/velmora.svg")));

  QMainWindow window;
  window.setWindowTitle(QStringLiteral("Velmora"));
  // A second copy ends here, before anything is loaded or saved.
  if (CheckSingleInstance(&window)) return 0;
  window.resize(800, 600);
  window.show();
  return app.exec();
}
