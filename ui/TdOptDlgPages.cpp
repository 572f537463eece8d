// The six pages of the options dialog: their controls, each bound to its option, laid
// out so that they grow with the font.
#include "ui/TdOptDlg.h"

#include "controls/clnbk.h"
#include "platform/ApplicationError.h"
#include "core/BCat.h"
#include "core/BRes.h"
#include "core/BType.h"
#include "ui/TdComboFill.h"
#include "ui/TdFontOption.h"
#include "ui/TdGlyphListBox.h"
#include "ui/TdImageIcons.h"
#include "ui/TdLookupCombo.h"
#include "ui/TdOptSample.h"
#include "ui/TdUpDownEdit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <iterator>
#include <optional>

namespace {
using O = TTdAppOptions;

// A box that stands for a field every task has: always checked, never changed.
QCheckBox* FixedBox(QWidget* parent, const char* caption) {
  auto* box = new QCheckBox(QString::fromLatin1(caption), parent);
  box->setChecked(true);
  box->setEnabled(false);
  return box;
}

QGroupBox* Group(const char* title, QWidget* parent) { return new QGroupBox(QString::fromLatin1(title), parent); }
}  // namespace

QCheckBox* TTdOptionDialog::Bind(QWidget* parent, const TBoxSpec& spec) {
  auto* box = new QCheckBox(QString::fromLatin1(spec.Caption), parent);
  box->setObjectName(QString::fromLatin1(spec.Key));
  boxes_.push_back({box, spec.Flag});
  connect(box, &QCheckBox::toggled, this, Guarded([this] { UpdateOptionControls(); }));
  return box;
}

QList<QCheckBox*> TTdOptionDialog::BindAll(QWidget* parent, std::initializer_list<TBoxSpec> specs) {
  QList<QCheckBox*> made;
  for (const TBoxSpec& spec : specs) made << Bind(parent, spec);
  return made;
}

QPushButton* TTdOptionDialog::FontButton(QWidget* parent, const char* key, TFontOption* font) {
  auto* button = new QPushButton(QStringLiteral("Font..."), parent);
  button->setObjectName(QString::fromLatin1(key) + QStringLiteral("FontButton"));
  glyphButtons_.push_back({button, [this, font] { return ColorOfOption(font->Color); }});
  connect(button, &QPushButton::clicked, this, Guarded([this, font] {
            if (EditFontOption(*font, QStringLiteral("Font"), this)) UpdateGlyphs();
          }));
  return button;
}

QPushButton* TTdOptionDialog::ColorButton(QWidget* parent, const char* key, int32_t* color) {
  auto* button = new QPushButton(QStringLiteral("Color..."), parent);
  button->setObjectName(QString::fromLatin1(key) + QStringLiteral("ColorButton"));
  glyphButtons_.push_back({button, [color] { return ColorOfOption(*color); }});
  connect(button, &QPushButton::clicked, this, Guarded([this, color] {
            if (EditColorOption(*color, QStringLiteral("Color"), this)) UpdateGlyphs();
          }));
  return button;
}

TUpDownEdit* TTdOptionDialog::NumberField(QWidget* parent, const char* key, const QString& name, int page,
                                          int minimum, int maximum) {
  auto* field = new TUpDownEdit(minimum, maximum, parent);
  field->setObjectName(QString::fromLatin1(key));
  numbers_.push_back({field, name, page});
  return field;
}

void TTdOptionDialog::BuildGeneralPage(TClTabPage* page) {
  auto* application = Group("Application", page);
  auto* appLayout = new QVBoxLayout(application);
  for (QCheckBox* box : BindAll(application, {{"Always on top", &O::AlwaysOnTop, "AlwaysOnTop"},
                                              {"Use system tray", &O::UseSystemTray, "UseSystemTray"},
                                              {"Minimize on start", &O::MinimizeOnStart, "MinimizeOnStart"},
                                              {"XP style menus", &O::MenuXPStyle, "MenuXPStyle"},
                                              {"Menu shadows", &O::MenuShadows, "MenuShadows"},
                                              {"Always capitalize first letter in Title and Notes fields",
                                               &O::AlwaysCapitalizeFirst, "AlwaysCapitalizeFirst"},
                                              {"Autostart when the session starts", &O::AutoStart, "AutoStart"}}))
    appLayout->addWidget(box);
  appLayout->addStretch(1);

  auto* confirmations = Group("Confirmations", page);
  auto* confLayout = new QVBoxLayout(confirmations);
  for (QCheckBox* box : BindAll(confirmations, {{"Confirm \"Exit\"", &O::ConfirmExit, "ConfirmExit"},
                                                {"Confirm \"Delete Task\"", &O::ConfirmDelete, "ConfirmDelete"},
                                                {"Confirm \"Archive Tasks\"", &O::ConfirmArchive, "ConfirmArchive"},
                                                {"Confirm \"Undo Delete Task\"", &O::ConfirmUndoDelete,
                                                 "ConfirmUndoDelete"},
                                                {"Confirm \"Restore Task\"", &O::ConfirmRestore, "ConfirmRestore"}}))
    confLayout->addWidget(box);
  confLayout->addStretch(1);

  auto* notes = Group("Notes", page);
  auto* notesLayout = new QGridLayout(notes);
  notesLayout->addWidget(Bind(notes, {"Show notes in separate area", &O::ShowNotesInMemo, "ShowNotesInMemo"}), 0, 0,
                         1, 2);
  notesFont_ = FontButton(notes, "Notes", &options_.NotesFont);
  notesColor_ = ColorButton(notes, "Notes", &options_.NotesBkColor);
  notesSample_ = new QLabel(QStringLiteral("Sample"), notes);
  notesSample_->setObjectName(QStringLiteral("NotesSample"));
  notesSample_->setAutoFillBackground(true);
  notesSample_->setFrameShape(QFrame::StyledPanel);
  notesSample_->setAlignment(Qt::AlignCenter);
  notesSample_->setMinimumHeight(40);
  notesLayout->addWidget(notesFont_, 1, 0);
  notesLayout->addWidget(notesColor_, 2, 0);
  notesLayout->addWidget(notesSample_, 1, 1, 2, 1);
  notesLayout->setColumnStretch(1, 1);

  auto* database = Group("Database", page);
  auto* dbLayout = new QGridLayout(database);
  dbLayout->addWidget(Bind(database, {"Custom database folder", &O::SpecialDbLocation, "SpecialDbLocation"}), 0, 0,
                      1, 3);
  dbLayout->addWidget(new QLabel(QStringLiteral("Database folder:"), database), 1, 0);
  databaseFolder_ = new QLineEdit(database);
  databaseFolder_->setObjectName(QStringLiteral("DatabaseFolder"));
  databaseBrowse_ = new QPushButton(QStringLiteral(".."), database);
  databaseBrowse_->setObjectName(QStringLiteral("DatabaseFolderButton"));
  databaseBrowse_->setMaximumWidth(databaseBrowse_->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
  connect(databaseBrowse_, &QPushButton::clicked, this, Guarded([this] { ChooseDatabaseFolder(); }));
  dbLayout->addWidget(databaseFolder_, 1, 1);
  dbLayout->addWidget(databaseBrowse_, 1, 2);
  dbLayout->addWidget(new QLabel(QStringLiteral("Save frequency (minutes):"), database), 2, 0);
  saveMinutes_ = NumberField(database, "SaveMinutes", QStringLiteral("Save frequency (minutes)"), opGeneral, 0, 99999);
  auto* saveRow = new QHBoxLayout;
  saveRow->addWidget(saveMinutes_);
  saveRow->addStretch(1);
  dbLayout->addLayout(saveRow, 2, 1, 1, 2);
  dbLayout->addWidget(new QLabel(QStringLiteral("Default:"), database), 3, 0);
  defaultFolder_ = new QLabel(database);
  defaultFolder_->setObjectName(QStringLiteral("DefaultFolderLabel"));
  // The label takes the width it is given, and the folder is shortened to it.
  defaultFolder_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  dbLayout->addWidget(defaultFolder_, 3, 1, 1, 2);
  dbLayout->setColumnStretch(1, 1);

  auto* grid = new QGridLayout(page);
  grid->addWidget(application, 0, 0);
  grid->addWidget(confirmations, 0, 1);
  grid->addWidget(notes, 1, 0, 1, 2);
  grid->addWidget(database, 2, 0, 1, 2);
}

void TTdOptionDialog::BuildToolbarPage(TClTabPage* page) {
  auto* layout = new QGridLayout(page);
  layout->addWidget(Bind(page, {"Show toolbar", &O::ShowToolbar, "ShowToolbar"}), 0, 0, 1, 3);
  layout->addWidget(new QLabel(QStringLiteral("Available buttons:"), page), 1, 0);
  layout->addWidget(new QLabel(QStringLiteral("Selected buttons:"), page), 1, 2);
  available_ = new TGlyphListBox(page);
  available_->setObjectName(QStringLiteral("AvailableButtons"));
  selected_ = new TGlyphListBox(page);
  selected_->setObjectName(QStringLiteral("SelectedButtons"));
  const auto arrow = [page](const char* name, Qt::ArrowType type, const char* tip) {
    auto* button = new QToolButton(page);
    button->setObjectName(QString::fromLatin1(name));
    button->setArrowType(type);
    button->setToolTip(QString::fromLatin1(tip));
    button->setMinimumSize(28, 24);
    return button;
  };
  select_ = arrow("SelectButton", Qt::RightArrow, "Select");
  deselect_ = arrow("DeselectButton", Qt::LeftArrow, "Deselect");
  moveUp_ = arrow("MoveUpButton", Qt::UpArrow, "Move up");
  moveDown_ = arrow("MoveDownButton", Qt::DownArrow, "Move down");
  auto* middle = new QVBoxLayout;
  middle->addStretch(1);
  middle->addWidget(select_);
  middle->addWidget(deselect_);
  middle->addStretch(1);
  auto* right = new QVBoxLayout;
  right->addStretch(1);
  right->addWidget(moveUp_);
  right->addWidget(moveDown_);
  right->addStretch(1);
  layout->addWidget(available_, 2, 0);
  layout->addLayout(middle, 2, 1);
  layout->addWidget(selected_, 2, 2);
  layout->addLayout(right, 2, 3);
  int row = 3;
  for (QCheckBox* box : BindAll(page, {{"Flat buttons", &O::FlatButtons, "FlatButtons"},
                                       {"Button text", &O::ButtonText, "ButtonText"},
                                       {"Show tool tips", &O::ShowToolTips, "ShowToolTips"}}))
    layout->addWidget(box, row++, 0, 1, 3);
  layout->setRowStretch(2, 1);

  connect(select_, &QToolButton::clicked, this, Guarded([this] { SelectToolButton(); }));
  connect(deselect_, &QToolButton::clicked, this, Guarded([this] { DeselectToolButton(); }));
  connect(moveUp_, &QToolButton::clicked, this, Guarded([this] { MoveToolButton(-1); }));
  connect(moveDown_, &QToolButton::clicked, this, Guarded([this] { MoveToolButton(1); }));
  for (TGlyphListBox* list : {available_, selected_})
    connect(list, &QListWidget::itemSelectionChanged, this, Guarded([this] { UpdateToolbarControls(); }));
  connect(available_, &QListWidget::itemDoubleClicked, this, Guarded([this] { SelectToolButton(); }));
  connect(selected_, &QListWidget::itemDoubleClicked, this, Guarded([this] { DeselectToolButton(); }));
}

void TTdOptionDialog::BuildTabFilterPage(TClTabPage* page) {
  auto* filter = Group("Tab Filter", page);
  filter->setObjectName(QStringLiteral("TabFilterGroup"));
  auto* filterLayout = new QGridLayout(filter);
  tabFilter_ = new QButtonGroup(this);
  const char* modes[kQuickFilterModeCount] = {"None",         "Status",           "Priority",      "Category",
                                              "Resource",     "Type",             "Time By Days",  "Time By Weekdays",
                                              "Time By Weeks", "Time By Months",  "Time By Years"};
  for (int i = 0; i < kQuickFilterModeCount; ++i) {
    auto* radio = new QRadioButton(QString::fromLatin1(modes[i]), filter);
    tabFilter_->addButton(radio, i);
    filterLayout->addWidget(radio, i % 6, i / 6);
  }
  auto* position = Group("Tab Position", page);
  position->setObjectName(QStringLiteral("TabPositionGroup"));
  auto* positionLayout = new QVBoxLayout(position);
  tabPosition_ = new QButtonGroup(this);
  const char* sides[] = {"Top", "Bottom", "Left", "Right"};
  for (int i = 0; i < 4; ++i) {
    auto* radio = new QRadioButton(QString::fromLatin1(sides[i]), position);
    tabPosition_->addButton(radio, i);
    positionLayout->addWidget(radio);
  }
  positionLayout->addStretch(1);
  connect(tabPosition_, &QButtonGroup::idClicked, this, [this](int id) { RunGuarded([&] { TabPositionClick(id); }); });

  auto* layout = new QGridLayout(page);
  layout->addWidget(filter, 0, 0);
  layout->addWidget(position, 0, 1);
  int row = 1;
  for (QCheckBox* box : BindAll(page, {{"Multi lines", &O::MultiTabLines, "MultiTabLines"},
                                       {"Hot track", &O::TabHotTrack, "TabHotTrack"},
                                       {"Show number of Tasks", &O::ShowNumbersOnTabs, "ShowNumbersOnTabs"},
                                       {"Show images", &O::UseImagesOnTabs, "UseImagesOnTabs"},
                                       {"Hide tabs with 0 Tasks", &O::HideZeroTabs, "HideZeroTabs"}}))
    layout->addWidget(box, row++, 0, 1, 2);
  layout->setRowStretch(row, 1);
}

void TTdOptionDialog::BuildFieldsPage(TClTabPage* page) {
  auto* use = Group("Use for tasks", page);
  use->setObjectName(QStringLiteral("UseGroup"));
  auto* useLayout = new QGridLayout(use);
  const QList<QWidget*> useBoxes = {
      Bind(use, {"Notes", &O::UseNotes, "UseNotes"}),
      Bind(use, {"Priority", &O::UsePriority, "UsePriority"}),
      FixedBox(use, "Status"),
      Bind(use, {"Percent completed", &O::UsePercent, "UsePercent"}),
      Bind(use, {"Date due", &O::UseDTDue, "UseDTDue"}),
      FixedBox(use, "Date-time completed"),
      Bind(use, {"Link", &O::UseAssociation, "UseAssociation"}),
      Bind(use, {"Category", &O::UseCategory, "UseCategory"}),
      FixedBox(use, "Date-time created"),
      Bind(use, {"Time due", &O::UseDTDueTime, "UseDTDueTime"}),
      Bind(use, {"Reminder", &O::UseDTReminder, "UseDTReminder"}),
      Bind(use, {"Resource", &O::UseResource, "UseResource"}),
      FixedBox(use, "Title"),
      FixedBox(use, "OK"),
      Bind(use, {"Flagged", &O::UseFlagged, "UseFlagged"}),
      FixedBox(use, "ID"),
      FixedBox(use, "Days Left"),
      FixedBox(use, "Days Gone"),
      Bind(use, {"Type", &O::UseType, "UseType"}),
      FixedBox(use, "Recurring"),
  };
  for (int i = 0; i < useBoxes.size(); ++i) useLayout->addWidget(useBoxes[i], i / 4, i % 4);

  auto* display = Group("Display in main window list", page);
  display->setObjectName(QStringLiteral("DisplayGroup"));
  auto* displayLayout = new QGridLayout(display);
  // A column box, and its image and text boxes beside it where it has them.
  struct Row {
    TBoxSpec main;
    std::optional<TBoxSpec> first, second;
  };
  const Row rows[] = {
      {{"Notes", &O::DisplayNotes, "DisplayNotes"}, {}, {}},
      {{"Priority", &O::DisplayPriority, "DisplayPriority"},
       TBoxSpec{"Image", &O::DisplayImagePriority, "DisplayImagePriority"},
       TBoxSpec{"Text", &O::DisplayTextPriority, "DisplayTextPriority"}},
      {{"Status", &O::DisplayStatus, "DisplayStatus"}, TBoxSpec{"Image", &O::DisplayImageStatus, "DisplayImageStatus"},
       TBoxSpec{"Text", &O::DisplayTextStatus, "DisplayTextStatus"}},
      {{"Percent completed", &O::DisplayPercent, "DisplayPercent"}, {}, {}},
      {{"Date due", &O::DisplayDTDue, "DisplayDTDue"}, TBoxSpec{"Time due", &O::DisplayDTDueTime, "DisplayDTDueTime"},
       {}},
      {{"Date completed", &O::DisplayDTCompleted, "DisplayDTCompleted"},
       TBoxSpec{"Time completed", &O::DisplayDTCompletedTime, "DisplayDTCompletedTime"}, {}},
      {{"Link (image)", &O::DisplayImageAssociation, "DisplayImageAssociation"}, {}, {}},
      {{"Category", &O::DisplayCategory, "DisplayCategory"},
       TBoxSpec{"Image", &O::DisplayImageCategory, "DisplayImageCategory"},
       TBoxSpec{"Text", &O::DisplayTextCategory, "DisplayTextCategory"}},
      {{"Date created", &O::DisplayDTCreated, "DisplayDTCreated"},
       TBoxSpec{"Time created", &O::DisplayDTCreatedTime, "DisplayDTCreatedTime"}, {}},
      {{"Reminder", &O::DisplayImageDTReminder, "DisplayImageDTReminder"}, {}, {}},
      {{"Resource", &O::DisplayResource, "DisplayResource"}, {}, {}},
      {{"OK (checkbox)", &O::DisplayDone, "DisplayDone"}, {}, {}},
      {{"Flagged", &O::DisplayFlagged, "DisplayFlagged"}, {}, {}},
      {{"ID", &O::DisplayID, "DisplayID"}, {}, {}},
      {{"Days Left", &O::DisplayDaysLeft, "DisplayDaysLeft"}, {}, {}},
      {{"Days Gone", &O::DisplayDaysGone, "DisplayDaysGone"}, {}, {}},
      {{"Type", &O::DisplayType, "DisplayType"}, TBoxSpec{"Text", &O::DisplayTextType, "DisplayTextType"},
       TBoxSpec{"Image", &O::DisplayImageType, "DisplayImageType"}},
      {{"Recurring (image)", &O::DisplayRecurring, "DisplayRecurring"}, {}, {}},
  };
  // Two halves side by side, the title (always shown) heading the first.
  constexpr int kHalf = 9;
  displayLayout->addWidget(FixedBox(display, "Title"), 0, 0);
  for (int i = 0; i < static_cast<int>(std::size(rows)); ++i) {
    const Row& r = rows[i];
    const int row = 1 + i % kHalf;
    const int column = i / kHalf * 4;
    displayLayout->addWidget(Bind(display, r.main), row, column);
    if (r.first) displayLayout->addWidget(Bind(display, *r.first), row, column + 1);
    if (r.second) displayLayout->addWidget(Bind(display, *r.second), row, column + 2);
  }
  displayLayout->setColumnMinimumWidth(3, 12);

  auto* layout = new QVBoxLayout(page);
  layout->addWidget(use);
  layout->addWidget(display);
  layout->addStretch(1);
}

void TTdOptionDialog::BuildListPage(TClTabPage* page) {
  auto* header = Group("Header", page);
  auto* headerLayout = new QGridLayout(header);
  headerLayout->addWidget(new QLabel(QStringLiteral("Style:"), header), 0, 0);
  headerStyle_ = new QComboBox(header);
  headerStyle_->setObjectName(QStringLiteral("HeaderStyle"));
  headerStyle_->addItems({QStringLiteral("Thick buttons"), QStringLiteral("Flat buttons"), QStringLiteral("Plates"),
                          QStringLiteral("XP style")});
  connect(headerStyle_, &QComboBox::currentIndexChanged, this, Guarded([this] { UpdateOptionControls(); }));
  headerLayout->addWidget(headerStyle_, 0, 1);
  headerLayout->addWidget(FontButton(header, "ColHeader", &options_.ColHeaderFont), 1, 0, 1, 2);
  headerLayout->addWidget(Bind(header, {"Hot track", &O::HeaderHotTrack, "HeaderHotTrack"}), 2, 0, 1, 2);
  headerLayout->addWidget(Bind(header, {"Show sort markers", &O::ShowSortMarkers, "ShowSortMarkers"}), 3, 0, 1, 2);

  auto* grid = Group("Grid lines", page);
  auto* gridLayout = new QVBoxLayout(grid);
  for (QCheckBox* box : BindAll(grid, {{"Horisontal", &O::ShowHorzGridLines, "ShowHorzGridLines"},
                                       {"Vertical", &O::ShowVertGridLines, "ShowVertGridLines"},
                                       {"Dotted", &O::DottedGrid, "DottedGrid"}}))
    gridLayout->addWidget(box);
  gridLayout->addWidget(ColorButton(grid, "Grid", &options_.GridColor));

  auto* misc = Group("Miscellaneous", page);
  auto* miscLayout = new QVBoxLayout(misc);
  for (QCheckBox* box : BindAll(misc, {{"Autofit columns", &O::AutoFitColumns, "AutoFitColumns"},
                                       {"Show notes as hint", &O::ShowNotesAsHint, "ShowNotesAsHint"},
                                       {"Short column captions", &O::ShortColumnNames, "ShortColumnNames"}}))
    miscLayout->addWidget(box);
  miscLayout->addStretch(1);

  sample_ = new TOptionSampleTree(options_, page);
  sample_->setMinimumSize(250, 8 * 20 + 24);

  auto* fonts = Group("Fonts && Colors", page);
  auto* fontsLayout = new QGridLayout(fonts);
  const char* keys[srCount] = {"Completed", "OverDue", "Urgent", "High", "Medium", "Low", "None", "Selected"};
  for (int r = 0; r < srCount; ++r) {
    const auto row = static_cast<TSampleRow>(r);
    fontsLayout->addWidget(new QLabel(SampleRowCaption(row), fonts), r, 0);
    if (row != srSelected) fontsLayout->addWidget(FontButton(fonts, keys[r], &SampleRowFont(options_, row)), r, 1);
    fontsLayout->addWidget(ColorButton(fonts, keys[r], &SampleRowColor(options_, row)), r, 2);
  }

  auto* layout = new QGridLayout(page);
  layout->addWidget(header, 0, 0);
  layout->addWidget(grid, 0, 1);
  layout->addWidget(misc, 0, 2);
  layout->addWidget(sample_, 1, 0, 1, 2);
  layout->addWidget(fonts, 1, 2);
  layout->setRowStretch(1, 1);
}

void TTdOptionDialog::BuildDefaultsPage(TClTabPage* page) {
  const TImageSource images = ImageSourceOf(sources_.TaskTreeImages);
  auto* defaults = Group("Defaults", page);
  auto* defaultsLayout = new QGridLayout(defaults);
  const auto combo = [defaults](const char* name) {
    auto* box = new QComboBox(defaults);
    box->setObjectName(QString::fromLatin1(name));
    return box;
  };
  defaultPriority_ = combo("DefaultPriority");
  FillPriorityComboBox(defaultPriority_, images);
  defaultCategory_ = combo("DefaultCategoryIndex");
  FillComboBox(defaultCategory_, sources_.Categories, 0, images);
  defaultResource_ = combo("DefaultResourceIndex");
  for (const auto& entry : sources_.Resources.Items()) defaultResource_->addItem(entry->Name);
  defaultStatus_ = combo("DefaultStatus");
  FillStatusComboBox(defaultStatus_, images);
  defaultType_ = combo("DefaultType");
  FillComboBox(defaultType_, sources_.Types, 0, images);
  const std::pair<const char*, QComboBox*> combos[] = {{"Priority:", defaultPriority_},
                                                       {"Category:", defaultCategory_},
                                                       {"Resource:", defaultResource_},
                                                       {"Status:", defaultStatus_},
                                                       {"Type:", defaultType_}};
  int row = 0;
  for (const auto& [caption, box] : combos) {
    defaultsLayout->addWidget(new QLabel(QString::fromLatin1(caption), defaults), row, 0);
    defaultsLayout->addWidget(box, row++, 1);
  }
  defaultsLayout->setRowStretch(row, 1);

  auto* reminder = Group("Default reminder values", page);
  auto* reminderLayout = new QGridLayout(reminder);
  reminderLayout->addWidget(new QLabel(QStringLiteral("Date delta:"), reminder), 0, 0);
  reminderDelta_ = NumberField(reminder, "DefaultReminderDateDelta", QStringLiteral("Date delta"), opDefaults, 1, 3650);
  reminderLayout->addWidget(reminderDelta_, 0, 1);
  reminderLayout->addWidget(new QLabel(QStringLiteral("Activated file for sound:"), reminder), 1, 0, 1, 4);
  soundPath_ = new QLineEdit(reminder);
  soundPath_->setObjectName(QStringLiteral("DefaultReminderSoundPath"));
  auto* soundBrowse = new QPushButton(QStringLiteral(".."), reminder);
  soundBrowse->setObjectName(QStringLiteral("SoundFileButton"));
  soundBrowse->setMaximumWidth(soundBrowse->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
  connect(soundBrowse, &QPushButton::clicked, this, Guarded([this] { ChooseSoundFile(); }));
  auto* soundRow = new QHBoxLayout;
  soundRow->addWidget(soundPath_, 1);
  soundRow->addWidget(soundBrowse);
  reminderLayout->addLayout(soundRow, 2, 0, 1, 4);
  reminderLayout->addWidget(new QLabel(QStringLiteral("Next reminder in:"), reminder), 3, 0, 1, 4);
  days_ = NumberField(reminder, "RepeatDays", QStringLiteral("days"), opDefaults, 0, 9999);
  hours_ = NumberField(reminder, "RepeatHours", QStringLiteral("hours"), opDefaults, 0, 23);
  minutes_ = NumberField(reminder, "RepeatMinutes", QStringLiteral("minutes"), opDefaults, 0, 59);
  auto* snoozeRow = new QHBoxLayout;
  for (const auto& [field, unit] : {std::pair{days_, "days"}, {hours_, "hours"}, {minutes_, "minutes"}}) {
    snoozeRow->addWidget(field);
    snoozeRow->addWidget(new QLabel(QString::fromLatin1(unit), reminder));
  }
  snoozeRow->addStretch(1);
  reminderLayout->addLayout(snoozeRow, 4, 0, 1, 4);
  reminderLayout->addWidget(new QLabel(QStringLiteral("Type:"), reminder), 5, 0);
  beep_ = new QCheckBox(QStringLiteral("Beep"), reminder);
  beep_->setObjectName(QStringLiteral("ReminderBeep"));
  sound_ = new QCheckBox(QStringLiteral("Sound"), reminder);
  sound_->setObjectName(QStringLiteral("ReminderSound"));
  speech_ = new QCheckBox(QStringLiteral("Speech"), reminder);
  speech_->setObjectName(QStringLiteral("ReminderSpeech"));
  auto* typeRow = new QHBoxLayout;
  for (QCheckBox* box : {beep_, sound_, speech_}) typeRow->addWidget(box);
  typeRow->addStretch(1);
  reminderLayout->addLayout(typeRow, 5, 1, 1, 3);
  reminderLayout->setColumnStretch(3, 1);

  auto* due = Group("Default due date", page);
  auto* dueLayout = new QGridLayout(due);
  dueLayout->addWidget(new QLabel(QStringLiteral("Date delta:"), due), 0, 0);
  dueDelta_ = NumberField(due, "DefaultDueDateDelta", QStringLiteral("Date delta"), opDefaults, 1, 3650);
  dueLayout->addWidget(dueDelta_, 0, 1);
  dueLayout->addWidget(new QLabel(QStringLiteral("Hour:"), due), 1, 0);
  dueHour_ = NumberField(due, "DefaultDueHour", QStringLiteral("Hour"), opDefaults, 0, 23);
  dueLayout->addWidget(dueHour_, 1, 1);
  dueLayout->setColumnStretch(2, 1);
  dueLayout->setRowStretch(2, 1);

  auto* layout = new QGridLayout(page);
  layout->addWidget(defaults, 0, 0, 2, 1);
  layout->addWidget(reminder, 0, 1);
  layout->addWidget(due, 1, 1);
  layout->setRowStretch(2, 1);
}

void TTdOptionDialog::FitNoteBook() {
  // The notebook is as large as its largest page wants, plus its tabs and frame.
  QSize largest;
  for (int i = 0; i < noteBook_->CountPages(); ++i) {
    if (QLayout* layout = noteBook_->PageAt(i)->layout()) largest = largest.expandedTo(layout->sizeHint());
  }
  noteBook_->resize(largest + QSize(40, 60));
  noteBook_->LayOutPages();
  const QSize page = noteBook_->PageAt(0)->size();
  noteBook_->setMinimumSize(largest + (noteBook_->size() - page));
}
