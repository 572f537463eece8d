// The options dialog driven as a user drives it: clicks and keys on the real controls,
// then the record it hands back (or that it hands back nothing).
#include "SettingsTestSupport.h"
#include "controls/FolderDialog.h"
#include "controls/clnbk.h"
#include "support/FakeDesktop.h"
#include "treeview/LazyTreeHeader.h"
#include "ui/TdOptDlg.h"
#include "ui/TdOptSample.h"
#include "ui/TdUpDownEdit.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include "ui/TdGlyphListBox.h"

#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

using O = TTdAppOptions;

// Answers the folder picker with a chosen folder.
class FakeFolderDialogs : public FolderDialogHost {
public:
  FakeFolderDialogs() : scope_(*this) {}
  std::optional<FolderChoice> Run(const FolderDialogRequest& request, FolderDialogEvents&) override {
    titles << request.title;
    if (answer.isEmpty()) return std::nullopt;
    return FolderChoice{answer, answer, 0};
  }
  QString answer;
  QStringList titles;

private:
  FolderDialogsScope scope_;
};

class OptionDialogTest : public ::testing::Test {
protected:
  FakeDesktop desktop;
  DataFolderScope folder{QString::fromLatin1(kTestDataFolder)};
  FormatPin formats;
  FakeVoicePin voice;
  SettingsStores stores;
  TOptionDialogSources sources{stores.categories, stores.resources, stores.todos,
                               stores.types,      stores.smallImages, stores.taskImages};
  TTdAppOptions options = DefaultOptions();

  void SetUp() override { TTdOptionDialog::ResetLastPage(); }

  std::unique_ptr<TTdOptionDialog> Open() {
    auto dialog = std::make_unique<TTdOptionDialog>(options, sources);
    dialog->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    return dialog;
  }
  template <typename T = QWidget>
  static T* Find(const QWidget& d, const QString& name) {
    T* found = d.findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
  }
  static QCheckBox* Box(const QWidget& d, const char* key) { return Find<QCheckBox>(d, QString::fromLatin1(key)); }
  static void Page(TTdOptionDialog& d, TOptionPage page) {
    d.NoteBook()->SetPageIndex(page);
    QApplication::processEvents();
  }
  static void Click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2)); }
  static void Type(TUpDownEdit* field, const QString& text) {
    field->Edit()->setFocus();
    field->Edit()->selectAll();
    QTest::keyClicks(field->Edit(), text);
  }
  static QRadioButton* Radio(const QWidget& d, const char* group, const char* text) {
    for (QRadioButton* r : Find<QGroupBox>(d, QString::fromLatin1(group))->findChildren<QRadioButton*>())
      if (r->text() == QString::fromLatin1(text)) return r;
    ADD_FAILURE() << text;
    return nullptr;
  }
  static QStringList Texts(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
    return texts;
  }
};

TEST_F(OptionDialogTest, OpensFilledFromTheRecord) {
  options.DefaultRepeatReminderInMins = 1440 + 2 * 60 + 5;
  options.DefaultCategoryIndex = -1;
  options.DefaultResourceIndex = 2;
  options.DefaultReminderType = 5;  // sound and speech
  options.ToolBarButtons = {6, 1, 0, 6, 0, 0, 0, 0, 0, 0, 0};
  options.QuickFilterMode = 4;
  options.SaveMinutes = 15;
  auto d = Open();
  EXPECT_EQ(d->windowTitle(), "Edit Options");
  EXPECT_EQ(d->NoteBook()->PageIndex(), opGeneral) << "page 0 the first time";
  EXPECT_EQ(Find<TUpDownEdit>(*d, "RepeatDays")->Text(), "1");
  EXPECT_EQ(Find<TUpDownEdit>(*d, "RepeatHours")->Text(), "2");
  EXPECT_EQ(Find<TUpDownEdit>(*d, "RepeatMinutes")->Text(), "5");
  EXPECT_EQ(Find<TUpDownEdit>(*d, "SaveMinutes")->Text(), "15");
  EXPECT_EQ(Find<QComboBox>(*d, "DefaultCategoryIndex")->currentIndex(), 0) << "-1 shows the first entry";
  EXPECT_EQ(Find<QComboBox>(*d, "DefaultResourceIndex")->currentText(), "Ben");
  EXPECT_FALSE(Box(*d, "ReminderBeep")->isChecked());
  EXPECT_TRUE(Box(*d, "ReminderSound")->isChecked());
  EXPECT_TRUE(Box(*d, "ReminderSpeech")->isChecked());
  EXPECT_TRUE(Box(*d, "ReminderSpeech")->isEnabled()) << "a voice exists";
  EXPECT_EQ(Texts(Find<QListWidget>(*d, "SelectedButtons")), QStringList({"Sort", "Add Task"}));
  EXPECT_EQ(Find<QListWidget>(*d, "AvailableButtons")->count(), 9);
  auto* chosen = Find<TGlyphListBox>(*d, "SelectedButtons");
  for (int i = 0; i < chosen->count(); ++i) EXPECT_FALSE(chosen->GetItemGlyph(i).isNull()) << "each with its glyph";
  EXPECT_TRUE(Radio(*d, "TabFilterGroup", "Resource")->isChecked());
  EXPECT_TRUE(Radio(*d, "TabPositionGroup", "Bottom")->isChecked());
  EXPECT_FALSE(Find<QLineEdit>(*d, "DatabaseFolder")->isEnabled()) << "no custom folder";
  EXPECT_FALSE(Find<QLabel>(*d, "DefaultFolderLabel")->text().isEmpty());
}

TEST_F(OptionDialogTest, TheDefaultFolderIsShortenedToItsLabel) {
  const QString longFolder = QStringLiteral("/home/someone/") + QString(40, QLatin1Char('a')) + "/" +
                             QString(40, QLatin1Char('b')) + "/" + QString(40, QLatin1Char('c')) + "/velmora/";
  DataFolderScope deep(longFolder);
  auto d = Open();
  auto* label = Find<QLabel>(*d, "DefaultFolderLabel");
  EXPECT_NE(label->text(), longFolder);
  EXPECT_TRUE(label->text().contains("...")) << label->text().toStdString();
  EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width());
  EXPECT_TRUE(label->text().endsWith("velmora/"));
}

TEST_F(OptionDialogTest, SpeechIsOfferedOnlyWithAVoice) {
  VoicePin noVoice(nullptr);
  options.DefaultReminderType = 1;
  auto d = Open();
  EXPECT_FALSE(Box(*d, "ReminderSpeech")->isEnabled());
}

TEST_F(OptionDialogTest, BoxesAreBoundToTheirOptions) {
  const struct {
    TOptionPage page;
    const char* key;
    TOptionFlag flag;
  } boxes[] = {
      {opGeneral, "AlwaysOnTop", &O::AlwaysOnTop},         {opGeneral, "AutoStart", &O::AutoStart},
      {opGeneral, "ConfirmExit", &O::ConfirmExit},         {opGeneral, "ConfirmRestore", &O::ConfirmRestore},
      {opGeneral, "ShowNotesInMemo", &O::ShowNotesInMemo}, {opToolbar, "FlatButtons", &O::FlatButtons},
      {opToolbar, "ShowToolTips", &O::ShowToolTips},       {opTabFilter, "HideZeroTabs", &O::HideZeroTabs},
      {opTabFilter, "TabHotTrack", &O::TabHotTrack},       {opFields, "DisplayID", &O::DisplayID},
      {opFields, "DisplayDaysGone", &O::DisplayDaysGone},  {opList, "DottedGrid", &O::DottedGrid},
      {opList, "ShortColumnNames", &O::ShortColumnNames},  {opList, "HeaderHotTrack", &O::HeaderHotTrack},
  };
  for (const auto& b : boxes) {
    auto d = Open();
    Page(*d, b.page);
    Click(Box(*d, b.key));
    Click(Find<QPushButton>(*d, "OkButton"));
    EXPECT_FALSE(d->isVisible()) << b.key;
    O expected = options;
    expected.*b.flag = !(options.*b.flag);
    expected.AllTasks = true;  // tab mode 0 prints all tasks
    EXPECT_EQ(d->Options(), expected) << b.key;
  }
}

TEST_F(OptionDialogTest, SwitchingDateDueOffOnTheFieldsPage) {
  options.DisplayDTDueTime = options.DisplayDaysLeft = true;
  options.SortElement1 = 6, options.SortElement2 = 16, options.SortElement3 = 2;
  options.FilterDueDates = true;
  auto d = Open();
  Page(*d, opFields);
  Click(Box(*d, "UseDTDue"));
  for (const char* key : {"DisplayDTDue", "UseDTDueTime", "DisplayDTDueTime", "DisplayDaysLeft"}) {
    EXPECT_FALSE(Box(*d, key)->isChecked()) << key;
    EXPECT_FALSE(Box(*d, key)->isEnabled()) << key;
  }
  Page(*d, opTabFilter);
  EXPECT_FALSE(Radio(*d, "TabFilterGroup", "Time By Weeks")->isEnabled());
  EXPECT_TRUE(Radio(*d, "TabFilterGroup", "Status")->isEnabled());
  Click(Find<QPushButton>(*d, "OkButton"));
  const O& o = d->Options();
  EXPECT_FALSE(o.UseDTDue || o.UseDTDueTime || o.DisplayDTDue || o.DisplayDaysLeft);
  EXPECT_EQ(o.SortElement1, 2);
  EXPECT_EQ(o.SortElement2, 255);
  EXPECT_FALSE(o.FilterDueDates);
  EXPECT_EQ(o.FilterDueFirst, stores.todos.FirstDueDate());
}

TEST_F(OptionDialogTest, ChoosingTheCategoryTabsClearsTheCategoryFilter) {
  options.FilterCategoryIncl = {1, 2};
  options.FilterStatus = {1};
  auto d = Open();
  Page(*d, opTabFilter);
  Click(Radio(*d, "TabFilterGroup", "Category"));
  Click(Radio(*d, "TabPositionGroup", "Left"));
  EXPECT_TRUE(Box(*d, "MultiTabLines")->isChecked()) << "side tabs need several lines";
  Click(Find<QPushButton>(*d, "OkButton"));
  EXPECT_EQ(d->Options().QuickFilterMode, 3);
  EXPECT_TRUE(d->Options().FilterCategoryIncl.isEmpty());
  EXPECT_EQ(d->Options().FilterStatus, TIdArray({1})) << "other filters stay";
  EXPECT_EQ(d->Options().TabPosition, 2);
  EXPECT_TRUE(d->Options().MultiTabLines);
}

TEST_F(OptionDialogTest, ToolButtonsAreChosenAndOrdered) {
  options.ToolBarButtons = {1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  auto d = Open();
  Page(*d, opToolbar);
  auto* available = Find<QListWidget>(*d, "AvailableButtons");
  auto* selected = Find<QListWidget>(*d, "SelectedButtons");
  auto* select = Find<QToolButton>(*d, "SelectButton");
  EXPECT_FALSE(select->isEnabled()) << "nothing chosen yet";
  available->setCurrentRow(Texts(available).indexOf("Find"));
  const QImage findGlyph = static_cast<TGlyphListBox*>(available)->GetItemGlyph(available->currentRow()).toImage();
  Click(select);
  EXPECT_EQ(Texts(selected), QStringList({"Add Task", "Delete Task", "Find"}));
  EXPECT_EQ(selected->currentRow(), 2) << "the moved button is chosen";
  Click(Find<QToolButton>(*d, "MoveUpButton"));
  Click(Find<QToolButton>(*d, "MoveUpButton"));
  EXPECT_EQ(Texts(selected), QStringList({"Find", "Add Task", "Delete Task"}));
  EXPECT_EQ(static_cast<TGlyphListBox*>(selected)->GetItemGlyph(0).toImage(), findGlyph) << "the glyph moves along";
  EXPECT_FALSE(Find<QToolButton>(*d, "MoveUpButton")->isEnabled()) << "the first cannot move up";
  Click(Find<QToolButton>(*d, "DeselectButton"));
  EXPECT_EQ(Texts(selected), QStringList({"Add Task", "Delete Task"}));
  EXPECT_EQ(selected->currentRow(), 0) << "the same place is chosen next";
  Click(Find<QToolButton>(*d, "MoveDownButton"));
  Click(Find<QPushButton>(*d, "OkButton"));
  EXPECT_EQ(d->Options().ToolBarButtons, (std::array<int32_t, 11>{2, 1}));
  EXPECT_TRUE(d->Options().ShowToolbar);
}

TEST_F(OptionDialogTest, DeselectingEveryButtonHidesTheToolbar) {
  options.ToolBarButtons = {5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  auto d = Open();
  Page(*d, opToolbar);
  auto* selected = Find<QListWidget>(*d, "SelectedButtons");
  selected->setCurrentRow(0);
  Click(Find<QToolButton>(*d, "DeselectButton"));
  EXPECT_TRUE(Box(*d, "ShowToolbar")->isChecked());
  Click(Find<QPushButton>(*d, "OkButton"));
  EXPECT_FALSE(d->Options().ShowToolbar);
  EXPECT_EQ(d->Options().ToolBarButtons, (std::array<int32_t, 11>{}));
}

TEST_F(OptionDialogTest, ToolbarOffDisablesTheLists) {
  auto d = Open();
  Page(*d, opToolbar);
  Find<QListWidget>(*d, "AvailableButtons")->setCurrentRow(0);
  Click(Box(*d, "ShowToolbar"));
  EXPECT_FALSE(Find<QListWidget>(*d, "AvailableButtons")->isEnabled());
  EXPECT_TRUE(Find<QListWidget>(*d, "AvailableButtons")->selectedItems().isEmpty());
  EXPECT_FALSE(Find<QToolButton>(*d, "SelectButton")->isEnabled());
}

// The close check on OK and on Cancel, for deltas equal and apart.
TEST_F(OptionDialogTest, DueDeltaBelowReminderDeltaKeepsTheDialogOpen) {
  const struct {
    int due, reminder;
    const char* button;
    bool closes;
  } cases[] = {{2, 3, "OkButton", false},    {2, 3, "CancelButton", false}, {2, 3, "Escape", false},
               {3, 3, "OkButton", true},      {3, 3, "CancelButton", true},  {8, 3, "OkButton", true}};
  const auto close = [](TTdOptionDialog& d, const char* how) {
    if (QString::fromLatin1(how) == "Escape")
      QTest::keyClick(&d, Qt::Key_Escape);
    else
      Click(Find<QPushButton>(d, QString::fromLatin1(how)));
  };
  for (const auto& c : cases) {
    desktop.Clear();
    options.DefaultDueDateDelta = c.due;
    options.DefaultReminderDateDelta = c.reminder;
    auto d = Open();
    close(*d, c.button);
    EXPECT_EQ(!d->isVisible(), c.closes) << c.due << " " << c.reminder << " " << c.button;
    if (c.closes) {
      EXPECT_TRUE(desktop.Messages().empty());
      continue;
    }
    ASSERT_EQ(desktop.Messages().size(), 1u);
    EXPECT_EQ(desktop.Messages()[0].caption, "Message");
    EXPECT_EQ(desktop.Messages()[0].text, "Due date delta must be greater than reminder date delta");
    EXPECT_EQ(desktop.Messages()[0].icon, Msg::Warning);
    EXPECT_EQ(d->NoteBook()->PageIndex(), opDefaults);
    auto* due = Find<TUpDownEdit>(*d, "DefaultDueDateDelta");
    EXPECT_TRUE(due->Edit()->hasFocus()) << "the field to change has the focus";
    Type(due, "3");
    close(*d, c.button);
    EXPECT_FALSE(d->isVisible()) << "closes once the deltas are equal";
  }
}

TEST_F(OptionDialogTest, AFieldWithoutANumberIsNamedAndNothingIsStored) {
  auto d = Open();
  Page(*d, opDefaults);
  auto* hours = Find<TUpDownEdit>(*d, "RepeatHours");
  Type(hours, "2x");
  Click(Find<QPushButton>(*d, "OkButton"));
  EXPECT_TRUE(d->isVisible());
  ASSERT_EQ(desktop.Messages().size(), 1u);
  EXPECT_EQ(desktop.Messages()[0].text, "\"hours\" does not hold a number. Enter a whole number from 0 to 23.");
  EXPECT_TRUE(hours->Marked());
  EXPECT_TRUE(hours->Edit()->hasFocus());
  EXPECT_EQ(d->Options(), options) << "nothing stored";
  Type(hours, "30");
  Click(Find<QPushButton>(*d, "OkButton"));
  EXPECT_TRUE(d->isVisible()) << "out of range counts as no number";
  Type(hours, "7");
  EXPECT_FALSE(hours->Marked());
  QTest::keyClick(hours->Edit(), Qt::Key_Up);
  Click(Find<QPushButton>(*d, "OkButton"));
  EXPECT_FALSE(d->isVisible());
  EXPECT_EQ(d->Options().DefaultRepeatReminderInMins, 8 * 60);
}

TEST_F(OptionDialogTest, CancelWithABadFieldClosesAndHandsBackNothing) {
  const TTdAppOptions before = options;
  bool shown = false;
  QTimer::singleShot(0, [&] {
    auto* d = qobject_cast<TTdOptionDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    shown = true;
    Page(*d, opGeneral);
    Click(Box(*d, "AlwaysOnTop"));
    Type(Find<TUpDownEdit>(*d, "SaveMinutes"), "soon");
    Click(Find<QPushButton>(*d, "CancelButton"));
  });
  EXPECT_FALSE(ShowOptionDialog(options, sources));
  EXPECT_TRUE(shown);
  EXPECT_EQ(options, before);
  EXPECT_EQ(desktop.WaitDepth(), 0);
}

TEST_F(OptionDialogTest, OkHandsBackTheEditedRecordAndTheNextDialogOpensOnTheSamePage) {
  QTimer::singleShot(0, [&] {
    auto* d = qobject_cast<TTdOptionDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    Page(*d, opDefaults);
    Find<QComboBox>(*d, "DefaultPriority")->setCurrentIndex(4);
    Click(Box(*d, "ReminderBeep"));
    Click(Box(*d, "ReminderSpeech"));
    Type(Find<TUpDownEdit>(*d, "DefaultDueHour"), "9");
    Click(Find<QPushButton>(*d, "OkButton"));
  });
  options.DefaultReminderType = 1;
  EXPECT_TRUE(ShowOptionDialog(options, sources));
  EXPECT_EQ(options.DefaultPriority, 4);
  EXPECT_EQ(options.DefaultReminderType, 3) << "speech alone";
  EXPECT_EQ(options.DefaultDueHour, 9);
  EXPECT_EQ(TTdOptionDialog::LastPage(), opDefaults);
  auto d = Open();
  EXPECT_EQ(d->NoteBook()->PageIndex(), opDefaults);
}

TEST_F(OptionDialogTest, FontsAndColoursAreEditedThroughTheDesktop) {
  desktop.onFont = [](QFont& font, QColor& color) {
    font.setPointSize(14);
    font.setItalic(true);
    color = QColor(0, 0, 255);
    return true;
  };
  desktop.onColor = [](QColor& color) {
    color = QColor(0x11, 0x22, 0x33);
    return true;
  };
  auto d = Open();
  Page(*d, opList);
  Click(Find<QPushButton>(*d, "UrgentFontButton"));
  Click(Find<QPushButton>(*d, "SelectedColorButton"));
  Click(Find<QPushButton>(*d, "GridColorButton"));
  EXPECT_EQ(desktop.Calls("font:").size(), 1);
  EXPECT_EQ(desktop.Calls("color:").size(), 2);
  Click(Find<QPushButton>(*d, "OkButton"));
  const O& o = d->Options();
  EXPECT_EQ(o.UrgentFont.Size, 14);
  EXPECT_TRUE(o.UrgentFont.Italic);
  EXPECT_TRUE(o.UrgentFont.Bold) << "kept from before";
  EXPECT_EQ(o.UrgentFont.Color, 0xFF0000) << "stored as 0x00BBGGRR";
  EXPECT_EQ(o.UrgentFont.Name, options.UrgentFont.Name) << "the family was not changed";
  EXPECT_EQ(o.SelectedBkColor, 0x332211);
  EXPECT_EQ(o.GridColor, 0x332211);
}

TEST_F(OptionDialogTest, SampleRowsFollowTheFontsColoursHeaderAndGrid) {
  options.HighFont.Size = 12;
  desktop.onFont = [](QFont& font, QColor&) {
    font.setPointSize(14);
    return true;
  };
  auto d = Open();
  Page(*d, opList);
  auto* tree = Find<TOptionSampleTree>(*d, "SampleTree");
  QList<int> heights;
  QStringList texts;
  for (PLazyNode node = tree->GetFirst(); node != nullptr; node = tree->GetNext(node)) {
    heights << tree->NodeHeight(node);
    texts << tree->GetCellText(node, 0) + "/" + tree->GetCellText(node, 1);
  }
  EXPECT_EQ(heights, QList<int>({18, 18, 18, 22, 18, 18, 18, tree->DefaultNodeHeight()}))
      << "font size + 10; the selected row keeps its height";
  EXPECT_EQ(texts.size(), 8);
  EXPECT_EQ(texts.front(), "Sample/Completed task");

  Click(Find<QPushButton>(*d, "UrgentFontButton"));
  EXPECT_EQ(tree->NodeHeight(tree->GetNext(tree->GetNext(tree->GetFirst()))), 24);
  Click(Find<QPushButton>(*d, "ColHeaderFontButton"));
  EXPECT_EQ(tree->Header().Height(), 24);
  Find<QComboBox>(*d, "HeaderStyle")->setCurrentIndex(2);
  EXPECT_EQ(tree->Header().Style(), hsPlates);
  Click(Box(*d, "ShowHorzGridLines"));
  EXPECT_FALSE(tree->TreeOptions().PaintOptions().Contains(toShowHorzGridLines));
  EXPECT_TRUE(tree->TreeOptions().PaintOptions().Contains(toShowVertGridLines));

  const QRect third = tree->GetDisplayRect(tree->GetNext(tree->GetNext(tree->GetFirst())));
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, third.center());
  EXPECT_EQ(tree->FocusedNode(), nullptr) << "a sample to look at: the focus stays away";
  Click(Find<QPushButton>(*d, "OkButton"));
  EXPECT_EQ(d->Options().HeaderStyle, 2);
  EXPECT_EQ(d->Options().ColHeaderFont.Size, 14);
  EXPECT_FALSE(d->Options().ShowHorzGridLines);
}

TEST_F(OptionDialogTest, DatabaseFolderIsChosenWithThePicker) {
  FakeFolderDialogs folders;
  folders.answer = QStringLiteral("/home/me/tasks");
  auto d = Open();
  auto* edit = Find<QLineEdit>(*d, "DatabaseFolder");
  Click(Box(*d, "SpecialDbLocation"));
  EXPECT_TRUE(edit->isEnabled());
  Click(Find<QPushButton>(*d, "DatabaseFolderButton"));
  EXPECT_EQ(folders.titles, QStringList({"Select a database folder"}));
  EXPECT_EQ(edit->text(), "/home/me/tasks/");
  Click(Box(*d, "SpecialDbLocation"));
  EXPECT_EQ(edit->text(), kTestDataFolder) << "the default folder comes back";
  Click(Box(*d, "SpecialDbLocation"));
  Click(Find<QPushButton>(*d, "DatabaseFolderButton"));
  edit->setText(QStringLiteral("/srv/todo"));
  Click(Find<QPushButton>(*d, "OkButton"));
  EXPECT_TRUE(d->Options().SpecialDbLocation);
  EXPECT_EQ(d->Options().DatabaseFolder, "/srv/todo/") << "with a trailing delimiter";
}

TEST_F(OptionDialogTest, HelpFollowsThePage) {
  QList<int> asked;
  const HelpPin help([&](int context) { asked << context; });
  auto d = Open();
  for (TOptionPage page : {opGeneral, opToolbar, opTabFilter, opFields, opList, opDefaults}) {
    Page(*d, page);
    Click(Find<QPushButton>(*d, "HelpButton"));
  }
  EXPECT_EQ(asked, QList<int>({34, 45, 2, 47, 48, 51}));
}

TEST_F(OptionDialogTest, GrowsWithTheFont) {
  auto small = Open();
  const QSize before = small->size();
  small.reset();
  QFont large = QApplication::font();
  large.setPointSizeF(large.pointSizeF() * 1.5);
  const QFont previous = QApplication::font();
  QApplication::setFont(large);
  auto big = Open();
  EXPECT_GT(big->width(), before.width());
  EXPECT_GT(big->height(), before.height());
  for (QWidget* w : big->NoteBook()->PageAt(opList)->findChildren<QPushButton*>())
    EXPECT_GE(w->width(), w->minimumSizeHint().width()) << w->objectName().toStdString();
  big.reset();
  QApplication::setFont(previous);
}

}  // namespace
