// The program's entry: the application object and the context with the program's seams
// (the real desktop session, the system's formats and clock, the speech voice, the data
// folder); the run itself is RunProgram's.
#include "core/GSapi.h"
#include "core/TdDataFolder.h"
#include "platform/AppContext.h"
#include "platform/Application.h"
#include "platform/ProcessHeap.h"
#include "platform/SessionDesktop.h"
#include "report/RP_QtPrinterBackend.h"
#include "ui/ProgramRun.h"
#include "ui/TdHelpWindow.h"
#include "ui/TdCommon.h"
#include "ui/TdProgramDialogs.h"

#include <QIcon>
#include <QLocale>

namespace {

TAppContext ProgramContext(DesktopServices* desktop, SpeechVoice* voice) {
  TAppContext context;
  context.Desktop = desktop;
  context.Formats = FormatSettingsFromLocale(QLocale::system());
  context.Voice = voice;
  context.Help = ShowHelpWindow;
  try {
    context.DataFolder = LookUpDefaultDataFolder();
  } catch (...) {
    // Left empty: the handler looks again and its start fails with the message.
  }
  return context;
}

}  // namespace

int main(int argc, char** argv) {
  KeepLargeFreedBlocksForReuse();
  Application app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Velmora"));
  QApplication::setApplicationDisplayName(QStringLiteral("Velmora"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/velmora.svg")));

  const std::unique_ptr<DesktopServices> desktop = CreateSessionDesktop();
  // The voice contacts the speech engine only when it first speaks.
  const std::unique_ptr<TSapiVoice> voice = CreateSapiVoice();
  const TAppContextScope context(ProgramContext(desktop.get(), voice.get()));
  // Printing offers the print server's printers beside the "PDF file" printer.
  rpUseSystemPrinters();
  TProgramDialogs dialogs(CommonModule());
  return RunProgram({}, &dialogs);
}
