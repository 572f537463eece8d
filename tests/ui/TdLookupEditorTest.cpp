// The category, resource and type editors: adding, renaming and deleting entries with
// everything that must follow a deletion.
#include "core/TdAppTestSupport.h"
#include "core/TodoTestSupport.h"

#include "TaskImagesForTests.h"
#include "core/BCat.h"
#include "core/BRes.h"
#include "core/BTodo.h"
#include "core/BType.h"
#include "core/TdApp.h"
#include "support/FakeDesktop.h"
#include "ui/TdEdCat.h"
#include "ui/TdEdRes.h"
#include "ui/TdEdType.h"
#include "ui/TdGlyphListBox.h"
#include "ui/TdLookupEditor.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace LookupEditor;

namespace {

class LookupEditorTest : public ::testing::Test {
protected:
  FakeDesktop desktop;
  DataFolderPin data;
  FormatPin formats;
  std::unique_ptr<TLTImageList> images = MakeTestTaskImages();
  std::unique_ptr<TTodoAppHandler> app;

  void SetUp() override {
    // An archive whose tasks use categories 2 and 3.
    {
      QDir().mkpath(data.Folder());
      TTdTodoHandler archive(data.File("archive.tbl"));
      for (int category : {2, 3, 1}) {
        TTdTodo* t = archive.AddTodo();
        t->Category = category;
        t->Status = tsOK;
      }
      archive.Save();
    }
    app = std::make_unique<TTodoAppHandler>();
    for (auto [name, image] : {std::pair{"Home", 6}, {"Work", 7}, {"Garden", -1}}) {
      TTdCategory* c = app->CategoryHandler().AddCategory();
      c->Name = QLatin1String(name);
      c->ImageIndex = image;
    }
    app->ResourceHandler().AddResource()->Name = QStringLiteral("Anna");
    struct {
      const char* title;
      int category;
      bool isTemplate;
    } tasks[] = {{"one", 1, false}, {"two", 2, false}, {"three", 3, false}, {"template", 2, true}};
    for (const auto& t : tasks) {
      TTdTodo* task = app->TodoHandler().AddTodo();
      task->Title = QLatin1String(t.title);
      task->Category = t.category;
      task->SetIsTemplate(t.isTemplate);
    }
  }

  std::unique_ptr<TLookupEditorDialog> Open(TLookupKind kind, const TSelection& selection = {}) {
    auto dialog = std::make_unique<TLookupEditorDialog>(kind, *app, images.get(), selection);
    dialog->show();
    dialog->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    return dialog;
  }

  static QListWidget* List(const QDialog& d) { return d.findChild<QListWidget*>("lstItems"); }
  static QLineEdit* Name(const QDialog& d) { return d.findChild<QLineEdit*>("txtName"); }
  static QComboBox* Picker(const QDialog& d) { return d.findChild<QComboBox*>("cmbGlyph"); }
  static QPushButton* Button(const QDialog& d, const char* name) { return d.findChild<QPushButton*>(name); }
  static QStringList Texts(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
    return texts;
  }
  static void ClickRow(QListWidget* list, int row) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualItemRect(list->item(row)).center());
  }
  static void TypeName(const QDialog& d, const QString& name) {
    Name(d)->selectAll();
    QTest::keyClick(Name(d), Qt::Key_Delete);
    QTest::keyClicks(Name(d), name);
  }
  QList<int> TaskCategories() const {
    QList<int> ids;
    for (const auto& t : app->TodoHandler().Todos()) ids << t->Category;
    return ids;
  }
  QList<int> ArchiveCategories() const {
    TTdTodoHandler archive(data.File("archive.tbl"));
    archive.Load();
    QList<int> ids;
    for (const auto& t : archive.Todos()) ids << t->Category;
    return ids;
  }
};

}  // namespace

TEST(GlyphPicker, OffersThirtyNineImagesOfTheTaskList) {
  const struct {
    int item, image;
  } cases[] = {{1, 6},   {4, 9},   {5, 15},  {15, 25}, {16, 31}, {21, 36}, {22, 50},
               {25, 53}, {26, 35}, {38, 47}, {39, 48}, {0, -1},  {40, -1}};
  for (const auto& c : cases) EXPECT_EQ(GlyphPickerImage(c.item), c.image) << c.item;
  EXPECT_EQ(GlyphPickerItemOf(35), 20) << "an image offered twice selects its first item";
  EXPECT_EQ(GlyphPickerItemOf(37), 28);
  EXPECT_EQ(GlyphPickerItemOf(10), 0);
  EXPECT_EQ(GlyphPickerItemOf(-1), 0);
}

TEST(LookupEditorTexts, DeleteQuestionAndDefault) {
  EXPECT_EQ(DeleteQuestion(VariantOf(TLookupKind::Category), "Home", 3),
            "Do you want to delete \"Home\"? The 3 To-Do items using this Category will be unlinked.");
  EXPECT_EQ(DeleteQuestion(VariantOf(TLookupKind::Type), "Call", 0),
            "Do you want to delete \"Call\"? There are no To-Do items using this Type.");
  const struct {
    int defaultId, deleted, after;
  } cases[] = {{2, 2, 0}, {3, 2, 2}, {1, 2, 1}, {0, 1, 0}};
  for (const auto& c : cases) EXPECT_EQ(DefaultAfterDelete(c.defaultId, c.deleted), c.after);
}

TEST_F(LookupEditorTest, OpensWithTheEntriesAfterTheFirstAndTheirPictures) {
  auto dialog = Open(TLookupKind::Category);
  EXPECT_EQ(dialog->windowTitle(), "Edit Categories");
  auto* list = qobject_cast<TGlyphListBox*>(List(*dialog));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(Texts(list), QStringList({"Home", "Work", "Garden"}));
  EXPECT_EQ(CentreColor(list->GetItemGlyph(0).toImage()), TestImageColor(6));
  EXPECT_EQ(CentreColor(list->GetItemGlyph(1).toImage()), TestImageColor(7));
  EXPECT_TRUE(list->GetItemGlyph(2).isNull()) << "no image";
  EXPECT_EQ(list->currentRow(), 0);
  EXPECT_TRUE(list->hasFocus());
  EXPECT_EQ(Name(*dialog)->text(), "Home");
  EXPECT_EQ(Picker(*dialog)->count(), 39);
  EXPECT_EQ(Picker(*dialog)->currentText(), "1");
  EXPECT_EQ(CentreColor(Picker(*dialog)->itemIcon(25)), TestImageColor(35));
  for (const char* b : {"AddButton", "DeleteButton", "ReplaceButton"}) EXPECT_TRUE(Button(*dialog, b)->isEnabled()) << b;

  ClickRow(list, 1);
  EXPECT_EQ(Name(*dialog)->text(), "Work");
  EXPECT_EQ(Picker(*dialog)->currentText(), "2") << "the item carrying image 7";
  TypeName(*dialog, "");
  EXPECT_FALSE(Button(*dialog, "AddButton")->isEnabled());
  EXPECT_FALSE(Button(*dialog, "ReplaceButton")->isEnabled());
  EXPECT_TRUE(Button(*dialog, "DeleteButton")->isEnabled());
}

TEST_F(LookupEditorTest, AddRefusesANameThatExistsInAnyCase) {
  auto dialog = Open(TLookupKind::Category);
  TypeName(*dialog, "gARDEN");
  QTest::mouseClick(Button(*dialog, "AddButton"), Qt::LeftButton);
  ASSERT_EQ(desktop.Messages().size(), 1u);
  EXPECT_EQ(desktop.Messages()[0].caption, "Message");
  EXPECT_EQ(desktop.Messages()[0].text, "Category already exists");
  EXPECT_EQ(desktop.Messages()[0].icon, Msg::Warning);
  EXPECT_EQ(app->CategoryHandler().Count(), 4);
  EXPECT_FALSE(dialog->Changed());

  TypeName(*dialog, "Shop");
  Picker(*dialog)->setFocus();
  QTest::keyClick(Picker(*dialog), Qt::Key_Down);  // item "2": image 7
  app->CategoryHandler().SetModified(false);
  QTest::mouseClick(Button(*dialog, "AddButton"), Qt::LeftButton);
  ASSERT_EQ(app->CategoryHandler().Count(), 5);
  EXPECT_EQ(app->CategoryHandler().GetCategory(4)->Name, "Shop");
  EXPECT_EQ(app->CategoryHandler().GetCategory(4)->ImageIndex, 7);
  EXPECT_TRUE(app->CategoryHandler().Modified());
  auto* list = qobject_cast<TGlyphListBox*>(List(*dialog));
  EXPECT_EQ(list->currentRow(), 3);
  EXPECT_EQ(CentreColor(list->GetItemGlyph(3).toImage()), TestImageColor(7));
  EXPECT_TRUE(dialog->Changed());
}

TEST_F(LookupEditorTest, ReplaceRenamesAndChangesThePicture) {
  auto dialog = Open(TLookupKind::Category);
  ClickRow(List(*dialog), 1);
  TypeName(*dialog, "Office");
  Picker(*dialog)->setCurrentIndex(2);  // item "3": image 8
  QTest::mouseClick(Button(*dialog, "ReplaceButton"), Qt::LeftButton);
  EXPECT_EQ(app->CategoryHandler().GetCategory(2)->Name, "Office");
  EXPECT_EQ(app->CategoryHandler().GetCategory(2)->ImageIndex, 8);
  EXPECT_EQ(Texts(List(*dialog)), QStringList({"Home", "Office", "Garden"}));
  EXPECT_EQ(CentreColor(qobject_cast<TGlyphListBox*>(List(*dialog))->GetItemGlyph(1).toImage()), TestImageColor(8));
  EXPECT_TRUE(dialog->Changed());

  TypeName(*dialog, "home");
  QTest::mouseClick(Button(*dialog, "ReplaceButton"), Qt::LeftButton);
  EXPECT_EQ(desktop.Calls("message:"), QStringList({"message:Message|Category already exists"}))
      << "two entries of one name could not be told apart";
  EXPECT_EQ(app->CategoryHandler().GetCategory(2)->Name, "Office");
}

TEST_F(LookupEditorTest, AResourceIsReplacedOnlyByAnotherName) {
  auto dialog = Open(TLookupKind::Resource);
  EXPECT_EQ(dialog->windowTitle(), "Edit Resources");
  EXPECT_EQ(qobject_cast<TGlyphListBox*>(List(*dialog)), nullptr);
  EXPECT_EQ(Picker(*dialog), nullptr);
  EXPECT_EQ(Name(*dialog)->text(), "Anna");
  EXPECT_FALSE(Button(*dialog, "ReplaceButton")->isEnabled());
  TypeName(*dialog, "ANNA");
  EXPECT_FALSE(Button(*dialog, "ReplaceButton")->isEnabled()) << "only the case differs";
  TypeName(*dialog, "Anne");
  EXPECT_TRUE(Button(*dialog, "ReplaceButton")->isEnabled());
  QTest::keyClick(Button(*dialog, "ReplaceButton"), Qt::Key_Space);
  EXPECT_EQ(app->ResourceHandler().GetResource(1)->Name, "Anne");
}

namespace {

struct DeleteCase {
  const char* name;
  int row;
  Msg::Button answer;
  const char* question;
  QList<int> tasks, archive;
  TSelection after;
  QStringList items;
  int selectedRow;
};

class LookupDeleteTest : public LookupEditorTest, public ::testing::WithParamInterface<DeleteCase> {};

}  // namespace

TEST_P(LookupDeleteTest, AsksWithTheCountAndRenumbersEverything) {
  const DeleteCase& c = GetParam();
  auto dialog = Open(TLookupKind::Category, TSelection{2, {1, 3}, {2, 3}});
  ClickRow(List(*dialog), c.row);
  desktop.messageAnswers.push_back(c.answer);
  QTest::mouseClick(Button(*dialog, "DeleteButton"), Qt::LeftButton);
  ASSERT_EQ(desktop.Messages().size(), 1u);
  EXPECT_EQ(desktop.Messages()[0].text, c.question);
  EXPECT_EQ(desktop.Messages()[0].caption, "Message");
  EXPECT_EQ(desktop.Messages()[0].icon, Msg::Warning);
  EXPECT_EQ(desktop.Messages()[0].buttons, Msg::Yes | Msg::No | Msg::Cancel);
  EXPECT_EQ(TaskCategories(), c.tasks);
  EXPECT_EQ(ArchiveCategories(), c.archive);
  EXPECT_EQ(dialog->Selection().defaultId, c.after.defaultId);
  EXPECT_EQ(dialog->Selection().include, c.after.include);
  EXPECT_EQ(dialog->Selection().exclude, c.after.exclude);
  EXPECT_EQ(Texts(List(*dialog)), c.items);
  EXPECT_EQ(List(*dialog)->currentRow(), c.selectedRow);
  EXPECT_EQ(Name(*dialog)->text(), c.items[c.selectedRow]);
  EXPECT_EQ(dialog->Changed(), c.answer == Msg::Yes);
  if (c.answer == Msg::Yes) {
    EXPECT_FALSE(app->TodoHandler().Modified()) << "saved at once";
    EXPECT_FALSE(app->CategoryHandler().Modified());
    TTdTodoHandler saved(data.File("todo.tbl"));
    saved.Load();
    ASSERT_EQ(saved.TaskCount(), 4);
    EXPECT_EQ(saved.GetTodo(1)->Category, c.tasks[1]);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Entries, LookupDeleteTest,
    ::testing::Values(
        DeleteCase{"TheDefault", 1, Msg::Yes,
                   "Do you want to delete \"Work\"? The 2 To-Do items using this Category will be unlinked.",
                   {1, 0, 2, 0}, {0, 2, 1}, {0, {1, 2}, {2}}, {"Home", "Garden"}, 1},
        DeleteCase{"TheLast", 2, Msg::Yes,
                   "Do you want to delete \"Garden\"? The 1 To-Do items using this Category will be unlinked.",
                   {1, 2, 0, 2}, {2, 0, 1}, {2, {1}, {2}}, {"Home", "Work"}, 1},
        DeleteCase{"NoKeepsIt", 1, Msg::No,
                   "Do you want to delete \"Work\"? The 2 To-Do items using this Category will be unlinked.",
                   {1, 2, 3, 2}, {2, 3, 1}, {2, {1, 3}, {2, 3}}, {"Home", "Work", "Garden"}, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LookupEditorTest, AnEntryNoTaskUsesStillMovesTheHigherIdsDown) {
  TTdType* extra = app->TypeHandler().AddType();
  extra->Name = QStringLiteral("Extra");
  app->TodoHandler().GetTodo(0)->Type = 15;  // after the 15 default types
  auto dialog = Open(TLookupKind::Type);
  EXPECT_EQ(dialog->windowTitle(), "Edit Types");
  EXPECT_EQ(Picker(*dialog)->currentText(), "20") << "Call shows image 35";
  ClickRow(List(*dialog), 3);  // "Trash"
  desktop.messageAnswers.push_back(Msg::Yes);
  QTest::mouseClick(Button(*dialog, "DeleteButton"), Qt::LeftButton);
  EXPECT_EQ(desktop.Messages().back().text, "Do you want to delete \"Trash\"? There are no To-Do items using this Type.");
  EXPECT_EQ(app->TodoHandler().GetTodo(0)->Type, 14);
  EXPECT_EQ(app->TypeHandler().GetType(14)->Name, "Extra");
}

TEST_F(LookupEditorTest, ShowFunctionsHandBackWhatChanged) {
  TIdArray include{1, 3}, exclude{2};
  int32_t defaultId = 3;
  // Closing without a change hands back nothing.
  QTimer::singleShot(0, [] { QApplication::activeModalWidget()->findChild<QPushButton*>("CloseButton")->click(); });
  EXPECT_FALSE(ShowEditCategoryDialog(*app, *images, defaultId, include, true, exclude));
  EXPECT_EQ(defaultId, 3);

  bool topmost = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<TLookupEditorDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    topmost = dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    desktop.messageAnswers.push_back(Msg::Yes);
    dialog->findChild<QPushButton*>("DeleteButton")->click();  // "Home"
    dialog->findChild<QPushButton*>("CloseButton")->click();
  });
  EXPECT_TRUE(ShowEditCategoryDialog(*app, *images, defaultId, include, true, exclude));
  EXPECT_TRUE(topmost);
  EXPECT_EQ(defaultId, 2);
  EXPECT_EQ(include, TIdArray({2}));
  EXPECT_EQ(exclude, TIdArray({1}));

  QTimer::singleShot(0, [] {
    auto* dialog = QApplication::activeModalWidget();
    EXPECT_EQ(dialog->windowTitle(), "Edit Resources");
    dialog->findChild<QPushButton*>("CloseButton")->click();
  });
  EXPECT_FALSE(ShowEditResourceDialog(*app, defaultId, include, false, exclude));
  QTimer::singleShot(0, [] {
    auto* dialog = QApplication::activeModalWidget();
    EXPECT_EQ(dialog->windowTitle(), "Edit Types");
    dialog->findChild<QPushButton*>("CloseButton")->click();
  });
  EXPECT_FALSE(ShowEditTypeDialog(*app, *images, defaultId, include, false, exclude));
  EXPECT_EQ(desktop.WaitDepth(), 0);
}

TEST_F(LookupEditorTest, HelpAsksForItsTopic) {
  QList<int> asked;
  const HelpPin help([&](int context) { asked << context; });
  auto dialog = Open(TLookupKind::Category);
  QTest::mouseClick(Button(*dialog, "HelpButton"), Qt::LeftButton);
  EXPECT_EQ(asked, QList<int>({7}));
}
