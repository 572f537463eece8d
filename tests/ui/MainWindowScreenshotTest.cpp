// The main window with twenty tasks as a user sees it, compared with its reference
// picture (golden/main-window.png) under a pinned font.
#include "core/TdAppTestSupport.h"

#include "../controls/Screenshot.h"
#include "core/BTodo.h"
#include "core/TdApp.h"
#include "support/FakeDesktop.h"
#include "ui/TdMain.h"

#include <QApplication>

TEST(MainWindowScreenshot, TwentyTasks) {
  FakeDesktop desktop;
  DataFolderPin data;
  FormatPin formats;
  const ClockPin clock(DateTime::EncodeDateTime(2024, 3, 10, 12, 0));
  QDir().mkpath(data.Folder());
  {
    TTdTodoHandler store(data.File(QStringLiteral("todo.tbl")));
    const char* titles[] = {"Water the plants", "Pay the rent",         "Call the bank",      "Book the dentist",
                            "Renew the passport", "Buy birthday present", "Clean the gutters", "Plan the holiday",
                            "Send the invoices",  "Back up the laptop",  "Read the contract",  "Fix the bicycle",
                            "Order printer ink",  "Write to grandma",    "Change the filters", "Sort the photos",
                            "Return the books",   "Cancel the gym",      "Check the tyres",    "Prepare the talk"};
    for (const char* title : titles) {
      TTdTodo* task = store.AddTodo();
      task->Title = QString::fromLatin1(title);
      task->ID = ++store.LastId;
    }
    store.SetModified(true);
    store.Save();
  }
  TTodoAppHandler handler;
  TTdAppOptions o = handler.GetOptions();
  o.ShowToolbar = true;
  o.ButtonText = true;
  o.UseNotes = true;
  o.ShowNotesInMemo = true;
  o.ColHeaderFont.Name = QStringLiteral("DejaVu Sans");
  o.ColHeaderFont.Size = 8;
  o.NotesFont.Name = QStringLiteral("DejaVu Sans");
  o.NotesFont.Size = 8;
  handler.PutOptions(o);
  TTodoMainForm form(handler);
  form.setFont(screenshot::FixedFont());
  form.ApplyViewSettings();
  form.resize(705, 595);
  form.show();
  QApplication::processEvents();
  EXPECT_TRUE(screenshot::MatchesGolden(form, QStringLiteral("main-window")));
  form.hide();
}
