// The main window with twenty tasks as a user sees it, compared with its reference
// picture (golden/main-window.png) under a pinned font.
#include "core/TdAppTestSupport.h"

#include "../controls/Screenshot.h"
#include "core/BCat.h"
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
    TTdCategoryHandler categories(data.File(QStringLiteral("cat.tbl")));
    // The file as the program writes it: the unknown category first.
    const std::pair<const char*, int> names[] = {{"-- unknown --", -1}, {"Home", 20}, {"Work", 25}, {"Money", 30}};
    for (const auto& [name, image] : names) {
      TTdCategory* category = categories.AddCategory();
      category->Name = QString::fromLatin1(name);
      category->ImageIndex = image;
    }
    categories.Save();
  }
  {
    TTdTodoHandler store(data.File(QStringLiteral("todo.tbl")));
    const char* titles[] = {"Water the plants", "Pay the rent",         "Call the bank",      "Book the dentist",
                            "Renew the passport", "Buy birthday present", "Clean the gutters", "Plan the holiday",
                            "Send the invoices",  "Back up the laptop",  "Read the contract",  "Fix the bicycle",
                            "Order printer ink",  "Write to grandma",    "Change the filters", "Sort the photos",
                            "Return the books",   "Cancel the gym",      "Check the tyres",    "Prepare the talk"};
    const int32_t statuses[] = {tsOpen, tsOpen, tsWaiting, tsCreated, tsOK, tsOnHold, tsOpen, tsCancelled};
    const TDateTime now = DateTime::EncodeDateTime(2024, 3, 10, 12, 0);
    int i = 0;
    for (const char* title : titles) {
      TTdTodo* task = store.AddTodo();
      task->Title = QString::fromLatin1(title);
      task->ID = ++store.LastId;
      // A mix a user's list has: every status, priority and category, some overdue,
      // some flagged, half done.
      task->SetStatus(statuses[i % 8]);
      task->Priority = 1 + i % 4;
      task->Category = 1 + i % 3;
      task->Due = now + (i % 7) - 2;
      task->Percent = static_cast<uint8_t>((i * 25) % 125);
      task->SetFlagged(i % 5 == 0);
      ++i;
    }
    store.GetTodo(0)->Notes = QStringLiteral("The fern by the window needs less, the palm more.");
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
