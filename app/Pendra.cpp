// The program's entry: the application object, the context with the program's seams, the
// single-instance check, the application handler, the main window, the loop, and the
// last save on the way out.
#include "core/GOneInst.h"
#include "core/GSapi.h"
#include "core/TdApp.h"
#include "core/TdDataFolder.h"
#include "platform/AppContext.h"
#include "platform/Application.h"
#include "platform/SessionDesktop.h"
#include "platform/SpeechEngine.h"
#include "platform/TerminationSignals.h"
#include "ui/TdMain.h"
#include "ui/TdRemDlg.h"

#include <QIcon>
#include <QLocale>

namespace {

TAppContext ProgramContext(DesktopServices* desktop, SpeechVoice* voice) {
  TAppContext context;
  context.Desktop = desktop;
  context.Formats = FormatSettingsFromLocale(QLocale::system());
  context.Voice = voice;
  try {
    context.DataFolder = LookUpDefaultDataFolder();
  } catch (...) {
    // Left empty: the handler looks again and its start fails with the message.
  }
  return context;
}

}  // namespace

int main(int argc, char** argv) {
  Application app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Velmora"));
  QApplication::setApplicationDisplayName(QStringLiteral("Velmora"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/velmora.svg")));

  const std::unique_ptr<DesktopServices> desktop = CreateSessionDesktop();
  // The voice contacts the speech engine only when it first speaks.
  const std::unique_ptr<TSapiVoice> voice = CreateSapiVoice();
  const TAppContextScope context(ProgramContext(desktop.get(), voice.get()));

  // A second copy ends here, before anything is loaded or saved.
  if (CheckSingleInstance()) return 0;
  std::unique_ptr<TTodoAppHandler> handler = CreateAppHandler();
  if (!handler) return 1;
  handler->SetShowReminder(ShowReminder);
  auto form = std::make_unique<TTodoMainForm>(*handler);
  // From now on a later start brings this window forward.
  SetComeForwardHandler([window = form.get()] { Desktop().BringToFront(window); });

  // A signal ends every loop, a reminder window's too, without asking any window: no
  // further reminder plays, what sounds or speaks stops, and errors from here on go to
  // standard error, where no box can hold the end up.
  const TerminationSignals termination([&handler] {
    SendErrorsToStandardError();
    handler->RequestStop();
    StopAllAlerts();
    QCoreApplication::exit(0);
  });
  form->show();
  int code = app.exec();

  SetComeForwardHandler({});
  EndSingleInstance();
  form.reset();
  if (!handler->FinalSave()) code = 1;
  handler.reset();
  ShutdownSpeech();
  return code;
}
