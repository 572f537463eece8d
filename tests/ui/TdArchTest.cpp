// The archive viewer: the archived tasks last first, viewing, deleting and restoring,
// and what reaches the archive file.
#include "core/TdAppTestSupport.h"
#include "core/TodoTestSupport.h"

#include "TaskImagesForTests.h"
#include "core/BTodo.h"
#include "core/TdApp.h"
#include "support/FakeDesktop.h"
#include "ui/TdArch.h"
#include "ui/TdEdTodo.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using DateTime::EncodeDate;
using DateTime::EncodeDateTime;

namespace {

class ViewArchiveTest : public ::testing::Test {
protected:
  // A task read from a file starts its unstored fields at Now: one Now for all loads.
  ClockPin clock{EncodeDateTime(2024, 3, 10, 12, 0)};
  FakeDesktop desktop;
  DataFolderPin data;
  FormatPin formats;
  std::unique_ptr<TLTImageList> images = MakeTestTaskImages();
  std::unique_ptr<TTodoAppHandler> app;

  void SetUp() override { app = std::make_unique<TTodoAppHandler>(); }

  QString ArchiveFile() const { return data.File("archive.tbl"); }

  // Three closed tasks: ids 5, 6 and 7, the middle one with every field set.
  void WriteArchive() {
    TTdTodoHandler archive(ArchiveFile());
    const struct {
      int id;
      const char* title;
      int status;
      TDateTime completed;
    } tasks[] = {{5, "Call the bank", tsOK, EncodeDate(2004, 5, 3)},
                 {6, "Fix the roof", tsCancelled, EncodeDateTime(2004, 6, 1, 10, 0)},
                 {7, "Pay rent", tsOK, EncodeDate(2004, 7, 9)}};
    for (const auto& t : tasks) {
      TTdTodo* task = archive.AddTodo();
      if (t.id == 6) FillEveryField(*task, false);
      task->ID = t.id;
      task->Title = QLatin1String(t.title);
      task->Status = t.status;
      task->Completed = t.completed;
    }
    archive.LastId = 7;
    archive.Save();
  }

  std::unique_ptr<TViewArchiveDialog> Open() {
    auto dialog = std::make_unique<TViewArchiveDialog>(ArchiveFile(), *app, *images);
    dialog->show();
    dialog->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    return dialog;
  }

  static QListWidget* List(const QDialog& d) { return d.findChild<QListWidget*>("lstArchive"); }
  static QPushButton* Button(const QDialog& d, const char* name) { return d.findChild<QPushButton*>(name); }
  static QString Label(const QDialog& d) { return d.findChild<QLabel*>("lblArchive")->text(); }
  static QStringList Texts(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
    return texts;
  }
  static void ClickRow(QListWidget* list, int row) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualItemRect(list->item(row)).center());
  }
  QList<int> ArchiveIdsOnDisk() const {
    TTdTodoHandler archive(ArchiveFile());
    archive.Load();
    QList<int> ids;
    for (const auto& t : archive.Todos()) ids << t->ID;
    return ids;
  }
};

}  // namespace

TEST_F(ViewArchiveTest, ListsTheArchiveFromTheLastTaskToTheFirst) {
  WriteArchive();
  auto dialog = Open();
  EXPECT_EQ(dialog->windowTitle(), "View Archive");
  EXPECT_EQ(Texts(List(*dialog)),
            QStringList({"OK: 09.07.2004-Pay rent", "Cancelled: 01.06.2004-Fix the roof", "OK: 03.05.2004-Call the bank"}));
  EXPECT_EQ(Label(*dialog), "Archived Tasks (3)");
  EXPECT_EQ(List(*dialog)->currentRow(), 0);
  for (const char* b : {"ViewButton", "DeleteButton", "RestoreButton"}) EXPECT_TRUE(Button(*dialog, b)->isEnabled()) << b;
}

TEST_F(ViewArchiveTest, WithoutAnArchiveFileTheListIsEmptyAndNothingIsWritten) {
  auto dialog = Open();
  EXPECT_EQ(List(*dialog)->count(), 0);
  EXPECT_EQ(Label(*dialog), "Archived Tasks (0)");
  for (const char* b : {"ViewButton", "DeleteButton", "RestoreButton"}) EXPECT_FALSE(Button(*dialog, b)->isEnabled()) << b;
  QTest::mouseClick(Button(*dialog, "CloseButton"), Qt::LeftButton);
  EXPECT_FALSE(QFileInfo::exists(ArchiveFile()));
}

TEST_F(ViewArchiveTest, ViewShowsTheTaskReadOnlyAndClosingUnchangedWritesNothing) {
  WriteArchive();
  const QByteArray before = ReadAll(ArchiveFile());
  const QDateTime written = QFileInfo(ArchiveFile()).lastModified();
  auto dialog = Open();
  ClickRow(List(*dialog), 1);
  QString caption;
  QString title;
  QTimer::singleShot(0, [&] {
    auto* editor = qobject_cast<TEditTodoDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(editor, nullptr);
    caption = editor->windowTitle();
    title = editor->findChild<QLineEdit*>("txtHeader")->text();
    editor->findChild<QPushButton*>("OkButton")->click();
  });
  QTest::mouseClick(Button(*dialog, "ViewButton"), Qt::LeftButton);
  EXPECT_EQ(caption, "View Task");
  EXPECT_EQ(title, "Fix the roof");
  QTest::keyClick(List(*dialog), Qt::Key_Escape);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(ReadAll(ArchiveFile()), before);
  EXPECT_EQ(QFileInfo(ArchiveFile()).lastModified(), written);
  EXPECT_FALSE(QFileInfo::exists(data.File("archive.~tbl")));
}

TEST_F(ViewArchiveTest, DeleteAsksAndTheFileFollowsWhenTheDialogCloses) {
  WriteArchive();
  auto dialog = Open();
  ClickRow(List(*dialog), 1);
  desktop.messageAnswers = {Msg::No, Msg::Yes};
  QTest::mouseClick(Button(*dialog, "DeleteButton"), Qt::LeftButton);
  EXPECT_EQ(List(*dialog)->count(), 3) << "No keeps it";
  QTest::mouseClick(Button(*dialog, "DeleteButton"), Qt::LeftButton);
  EXPECT_EQ(desktop.Calls("message:"), QStringList(2, "message:Message|Do you want to delete this archived Task?"));
  EXPECT_EQ(desktop.Messages()[0].icon, Msg::Warning);
  EXPECT_EQ(Texts(List(*dialog)), QStringList({"OK: 09.07.2004-Pay rent", "OK: 03.05.2004-Call the bank"}));
  EXPECT_EQ(List(*dialog)->currentRow(), 1) << "the same position";
  EXPECT_EQ(Label(*dialog), "Archived Tasks (2)");
  EXPECT_EQ(ArchiveIdsOnDisk(), QList<int>({5, 6, 7})) << "not before the dialog closes";

  QTest::mouseClick(Button(*dialog, "CloseButton"), Qt::LeftButton);
  EXPECT_EQ(ArchiveIdsOnDisk(), QList<int>({5, 7}));
  EXPECT_TRUE(QFileInfo::exists(data.File("archive.~tbl"))) << "with its safety copy";
  EXPECT_EQ(app->TodoHandler().TaskCount(), 0);
}

TEST_F(ViewArchiveTest, RestoreBringsTheTaskBackWithItsIdAndSavesBothFiles) {
  WriteArchive();
  TTdTodoHandler archived(ArchiveFile());
  archived.Load();
  auto dialog = Open();
  ClickRow(List(*dialog), 1);
  desktop.messageAnswers = {Msg::Yes};
  QTest::mouseClick(Button(*dialog, "RestoreButton"), Qt::LeftButton);
  EXPECT_EQ(desktop.Calls("message:"), QStringList({"message:Message|Do you want to restore this archived Task?"}));
  ASSERT_EQ(app->TodoHandler().TaskCount(), 1);
  ExpectSameTask(*app->TodoHandler().GetTodo(0), *archived.GetTodo(1));
  EXPECT_EQ(dialog->RestoredCount(), 1);
  EXPECT_EQ(List(*dialog)->currentRow(), 1);
  EXPECT_EQ(Label(*dialog), "Archived Tasks (2)");

  // Both files at once, so the task is on disk in exactly one of them.
  EXPECT_EQ(ArchiveIdsOnDisk(), QList<int>({5, 7}));
  TTdTodoHandler tasks(data.File("todo.tbl"));
  tasks.Load();
  ASSERT_EQ(tasks.TaskCount(), 1);
  EXPECT_EQ(tasks.GetTodo(0)->ID, 6);

  // Restoring the last item selects the new last one.
  ClickRow(List(*dialog), 1);
  desktop.messageAnswers = {Msg::Yes};
  QTest::keyClick(Button(*dialog, "RestoreButton"), Qt::Key_Space);
  EXPECT_EQ(Texts(List(*dialog)), QStringList({"OK: 09.07.2004-Pay rent"}));
  EXPECT_EQ(List(*dialog)->currentRow(), 0);
  EXPECT_EQ(dialog->RestoredCount(), 2);
  EXPECT_EQ(app->TodoHandler().GetTodo(1)->ID, 5);
}

TEST_F(ViewArchiveTest, WithoutConfirmationsNothingIsAsked) {
  WriteArchive();
  TTdAppOptions options = app->GetOptions();
  options.ConfirmDelete = options.ConfirmRestore = false;
  app->PutOptions(options);
  auto dialog = Open();
  QTest::mouseClick(Button(*dialog, "DeleteButton"), Qt::LeftButton);
  QTest::mouseClick(Button(*dialog, "RestoreButton"), Qt::LeftButton);
  EXPECT_TRUE(desktop.Messages().empty());
  EXPECT_EQ(Texts(List(*dialog)), QStringList({"OK: 03.05.2004-Call the bank"}));
  EXPECT_EQ(app->TodoHandler().GetTodo(0)->ID, 6);
}

TEST_F(ViewArchiveTest, ShowViewArchiveDialogReturnsHowManyWereRestored) {
  WriteArchive();
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<TViewArchiveDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    desktop.messageResult = Msg::Yes;
    dialog->findChild<QPushButton*>("RestoreButton")->click();
    dialog->findChild<QPushButton*>("RestoreButton")->click();
    dialog->findChild<QPushButton*>("CloseButton")->click();
  });
  EXPECT_EQ(ShowViewArchiveDialog(ArchiveFile(), *app, *images, true), 2);
  EXPECT_EQ(ArchiveIdsOnDisk(), QList<int>({5}));
  EXPECT_EQ(desktop.WaitDepth(), 0);
}

TEST_F(ViewArchiveTest, HelpAsksForItsTopic) {
  QList<int> asked;
  const HelpPin help([&](int context) { asked << context; });
  auto dialog = Open();
  QTest::mouseClick(Button(*dialog, "HelpButton"), Qt::LeftButton);
  EXPECT_EQ(asked, QList<int>({7}));
}
