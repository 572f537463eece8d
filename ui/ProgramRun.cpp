#include "ui/ProgramRun.h"

#include "core/GOneInst.h"
#include "core/GSapi.h"
#include "platform/ApplicationError.h"
#include "platform/Desktop.h"
#include "platform/SpeechEngine.h"
#include "platform/TerminationSignals.h"
#include "ui/TdHelpWindow.h"
#include "ui/TdCommon.h"
#include "ui/TdMain.h"
#include "ui/TdProgramDialogs.h"
#include "ui/TdRemDlg.h"

#include <QCoreApplication>

int RunProgram(const TTodoAppTimings& timings, TMainDialogs* dialogs) {
  // A second copy ends here, before anything is loaded or saved.
  if (CheckSingleInstance()) return 0;
  std::unique_ptr<TTodoAppHandler> handler = CreateAppHandler(timings);
  if (!handler) {
    EndSingleInstance();
    return 1;
  }
  handler->SetShowReminder(ShowReminder);
  TProgramDialogs programDialogs(CommonModule());
  if (dialogs == nullptr) dialogs = &programDialogs;
  auto form = std::make_unique<TTodoMainForm>(*handler, dialogs);
  // From now on a later start brings this window forward.
  SetComeForwardHandler([window = form.get()] { Desktop().BringToFront(window); });

  // A signal ends every loop, a reminder window's too, without asking any window: no
  // further reminder plays, what sounds or speaks stops, and errors from here on go to
  // standard error, where no box can hold the end up.
  TTodoAppHandler& app = *handler;
  const TerminationSignals termination([&app] {
    SendErrorsToStandardError();
    app.RequestStop();
    StopAllAlerts();
    QCoreApplication::exit(0);
  });
  form->show();
  int code = QCoreApplication::exec();

  SetComeForwardHandler({});
  EndSingleInstance();
  CloseHelpWindow();
  form.reset();
  if (!handler->FinalSave()) code = 1;
  handler.reset();
  // The synthesiser's threads are ended here, not left to static destruction.
  ShutdownSpeech();
  return code;
}
