// The export file, byte for byte.
#include "TdAppTestSupport.h"
#include "TodoTestSupport.h"

#include "core/BCat.h"
#include "core/BRes.h"
#include "core/TdApp.h"
#include "support/FakeDesktop.h"

#include <QFileInfo>

namespace {

void SetSwitches(TTodoAppHandler& app, bool on) {
  TTdAppOptions o = app.GetOptions();
  o.UseCategory = o.UseResource = o.UseNotes = o.UsePriority = o.UseType = o.UsePercent = on;
  o.UseDTDue = o.UseDTReminder = o.UseFlagged = o.UseAssociation = on;
  app.PutOptions(o);
}

class ExportTest : public ::testing::Test {
protected:
  ExportTest() {
    app.CategoryHandler().AddCategory()->Name = QStringLiteral("Work");
    app.ResourceHandler().AddResource()->Name = QStringLiteral("Anna");

    TTdTodo& open = *app.TodoHandler().AddTodo();
    open.ID = 7;
    open.Category = 1;
    open.Resource = 1;
    open.Title = QString::fromUtf8("Say \"hi\" to Jürgen");
    open.Notes = QStringLiteral("line one\r\nline two");
    open.Priority = 3;
    open.Status = tsOpen;
    open.Type = 1;
    open.Percent = 40;
    open.Created = 38000.25;
    open.Due = 38010.5;
    open.Completed = 38011.75;  // an open task shows none
    open.SetReminderActivated(true);
    open.ReminderPath = QStringLiteral("/s/ding.wav");
    open.ReminderType = 4;
    open.ReminderDateTime = 38009.375;
    open.SetFlagged(true);
    open.Association = QStringLiteral("/home/anna/Brief.doc");

    TTdTodo& done = *app.TodoHandler().AddTodo();
    done.ID = 8;
    done.Category = 5;  // beyond the list
    done.Title = QStringLiteral("Done");
    done.Status = tsOK;
    done.Percent = 100;
    done.Created = 45000;
    done.Completed = 45000;  // midnight: no time

    TTdTodo& cancelled = *app.TodoHandler().AddTodo();
    cancelled.ID = 9;
    cancelled.Title = QStringLiteral("Dropped");
    cancelled.Status = tsCancelled;
    cancelled.Created = 45000;
    cancelled.Completed = 45001.5;
  }

  QByteArray Export() {
    const QString file = data.Root() + QStringLiteral("/out/tasks.txt");
    QDir().mkpath(QFileInfo(file).path());
    app.ExportTasks(file);
    QFile in(file);
    EXPECT_TRUE(in.open(QIODevice::ReadOnly));
    return in.readAll();
  }

  FakeDesktop desktop;
  FormatPin format;
  DataFolderPin data;
  TTodoAppHandler app{nullptr};
};

}  // namespace

TEST_F(ExportTest, EverySwitchOn) {
  SetSwitches(app, true);
  const QByteArray expected = QByteArray(
      "\"ID\";\"Category\";\"Resource\";\"Title\";\"Notes\";\"Priority\";\"Status\";\"Type\";\"Percent\";"
      "\"Created\";\"Due\";\"Completed\";\"ReminderActivated\";\"ReminderPath\";\"ReminderType\";"
      "\"ReminderDateTime\";\"Flagged\";\"Association\";\r\n"
      "\"7\";\"Work\";\"Anna\";\"Say \"hi\" to J\xC3\xBCrgen\";\"line one\r\nline two\";\"High\";\"Open\";\"Call\";"
      "\"40%\";\"14.01.2004 06:00\";\"24.01.2004 12:00\";\"\";\"1\";\"/s/ding.wav\";\"Beep & Speech\";"
      "\"23.01.2004 09:00\";\"1\";\"/home/anna/Brief.doc\";\r\n"
      "\"8\";\"[no category]\";\"-- unknown --\";\"Done\";\"\";\"-- unknown --\";\"OK\";\"-- unknown --\";"
      "\"100%\";\"15.03.2023\";\"30.12.1899\";\"15.03.2023\";\"0\";\"\";\"\";\"30.12.1899\";\"0\";\"\";\r\n"
      "\"9\";\"-- unknown --\";\"-- unknown --\";\"Dropped\";\"\";\"-- unknown --\";\"Cancelled\";\"-- unknown --\";"
      "\"0%\";\"15.03.2023\";\"30.12.1899\";\"16.03.2023 12:00\";\"0\";\"\";\"\";\"30.12.1899\";\"0\";\"\";\r\n");
  EXPECT_EQ(Export(), expected);
}

TEST_F(ExportTest, EverySwitchOff) {
  SetSwitches(app, false);
  const QByteArray expected = QByteArray(
      "\"ID\";\"Title\";\"Status\";\"Created\";\"Completed\";\r\n"
      "\"7\";\"Say \"hi\" to J\xC3\xBCrgen\";\"Open\";\"14.01.2004 06:00\";\"\";\r\n"
      "\"8\";\"Done\";\"OK\";\"15.03.2023\";\"15.03.2023\";\r\n"
      "\"9\";\"Dropped\";\"Cancelled\";\"15.03.2023\";\"16.03.2023 12:00\";\r\n");
  EXPECT_EQ(Export(), expected);
}

TEST_F(ExportTest, AnEmptyStoreGivesTheHeaderAlone) {
  SetSwitches(app, false);
  while (app.TodoHandler().TaskCount() > 0) app.TodoHandler().Todos().Remove(app.TodoHandler().GetTodo(0));
  EXPECT_EQ(Export(), QByteArray("\"ID\";\"Title\";\"Status\";\"Created\";\"Completed\";\r\n"));
}

TEST_F(ExportTest, AFileThatCannotBeCreatedRaisesNamingIt) {
  const QString file = data.Root() + QStringLiteral("/missing/tasks.txt");
  try {
    app.ExportTasks(file);
    FAIL() << "exported into a missing folder";
  } catch (const EWriteError& error) {
    EXPECT_TRUE(error.Message().contains(QStringLiteral("tasks.txt"))) << error.Message().toStdString();
  }
  EXPECT_FALSE(QFileInfo::exists(data.Root() + QStringLiteral("/missing")));
}
