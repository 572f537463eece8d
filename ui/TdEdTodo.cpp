#include "ui/TdEdTodo.h"

#include "controls/FmNumEdit.h"
#include "controls/clnbk.h"
#include "core/BCat.h"
#include "core/BRes.h"
#include "core/BTodo.h"
#include "core/BType.h"
#include "core/GSapi.h"
#include "core/TdOption.h"
#include "core/UtShell.h"
#include "platform/ApplicationError.h"
#include "platform/Desktop.h"
#include "platform/FormatSettings.h"
#include "platform/HelpRequest.h"
#include "ui/TdComboFill.h"
#include "ui/TdImageIcons.h"
#include "ui/TdLookupCombo.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

using namespace EditTodo;

namespace {

constexpr int kPageGeneral = 0;
constexpr const char* kWeekdayNames[7] = {"Monday", "Tuesday", "Wednesday", "Thursday",
                                          "Friday", "Saturday", "Sunday"};
constexpr int kDayColumns = 8;
constexpr int kWeekdayColumns = 4;

// A caption above its control, hidden and shown as one.
QWidget* Field(const QString& caption, QWidget* control, QWidget* parent) {
  auto* field = new QWidget(parent);
  auto* layout = new QVBoxLayout(field);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  auto* label = new QLabel(caption, field);
  label->setBuddy(control);
  layout->addWidget(label);
  control->setParent(field);
  layout->addWidget(control);
  return field;
}

QHBoxLayout* Row(std::initializer_list<QWidget*> widgets) {
  auto* row = new QHBoxLayout;
  for (QWidget* w : widgets) row->addWidget(w);
  row->addStretch();
  return row;
}

QDateEdit* DateEdit(const char* name, QWidget* parent) {
  auto* edit = new QDateEdit(parent);
  edit->setObjectName(QLatin1String(name));
  edit->setDisplayFormat(FormatSettings().ShortDateFormat);
  edit->setCalendarPopup(true);
  return edit;
}

QTimeEdit* TimeEdit(const char* name, QWidget* parent) {
  auto* edit = new QTimeEdit(parent);
  edit->setObjectName(QLatin1String(name));
  edit->setDisplayFormat(FormatSettings().ShortTimeFormat);
  return edit;
}

TFmNumericEdit* NumberEdit(const char* name, int minimum, QWidget* parent) {
  auto* edit = new TFmNumericEdit(parent);
  edit->setObjectName(QLatin1String(name));
  edit->setMaxLength(3);
  edit->SetMin(minimum);
  edit->SetMax(kIntervalMax);
  edit->SetCheckRange(true);
  edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
  edit->setMaximumWidth(std::max(60, edit->minimumWidth()));
  return edit;
}

// The small ".." and play buttons beside an edit: as wide as their content needs.
QPushButton* SmallButton(const QString& text, const char* name, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QLatin1String(name));
  const int side = std::max(button->fontMetrics().horizontalAdvance(QStringLiteral("...")), 16) + 12;
  button->setMaximumWidth(side);
  return button;
}

template <typename W>
W* Named(W* widget, const char* name) {
  widget->setObjectName(QLatin1String(name));
  return widget;
}

void SetDateAndTime(QDateEdit* date, QTimeEdit* time, TDateTime value) {
  QDate d;
  QTime t;
  if (!DateTime::SplitDateAndTime(value, &d, &t)) {
    d = DateTime::ToQDate(0);
    t = QTime(0, 0);
  }
  date->setDate(d);
  if (time != nullptr) time->setTime(t);
}

// A plain message carries the program's name.
QString PlainMessageCaption() {
  const QString name = QCoreApplication::applicationName();
  return name.isEmpty() ? QStringLiteral("Velmora") : name;
}

}  // namespace

TEditTodoDialog::TEditTodoDialog(TTdTodo& task, const TEditTodoSources& sources, bool isNew, bool editable,
                                 QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      task_(task),
      sources_(sources),
      isNew_(isNew),
      editable_(editable),
      completion_(task.Completed) {
  setObjectName(QStringLiteral("EditTodoDialog"));
  setWindowTitle(QStringLiteral("Edit Task"));

  removedPages_ = new QWidget(this);
  removedPages_->hide();
  Notebook = new TClNotebook(this);
  Notebook->setObjectName(QStringLiteral("Notebook"));
  Notebook->BeginLoading();
  const char* captions[4] = {"General", "Reminder", "Link", "Recurring"};
  std::array<TClTabPage*, 4> pages{};
  for (int i = 0; i < 4; ++i) {
    pages[static_cast<size_t>(i)] = new TClTabPage(Notebook);
    pages[static_cast<size_t>(i)]->SetCaption(QLatin1String(captions[i]));
    pages[static_cast<size_t>(i)]->SetHelpContext(kPageHelpContexts[static_cast<size_t>(i)]);
    pages[static_cast<size_t>(i)]->setObjectName(QStringLiteral("Page") + QLatin1String(captions[i]));
  }
  pageReminder_ = pages[1];
  pageLink_ = pages[2];
  pageRecurring_ = pages[3];
  // Each page's controls sit on a panel of their own, which outlives the page when the
  // options remove it: the controls are still read and written, only not shown.
  for (size_t i = 0; i < 4; ++i) {
    contents_[i] = new QWidget(pages[i]);
    auto* pageLayout = new QVBoxLayout(pages[i]);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addWidget(contents_[i]);
  }
  BuildGeneralPage(contents_[0]);
  BuildReminderPage(contents_[1]);
  BuildLinkPage(contents_[2]);
  BuildRecurringPage(contents_[3]);
  Notebook->SetDefaultPageIndex(kPageGeneral);
  Notebook->EndLoading();

  btnOK = Named(new QPushButton(QStringLiteral("OK"), this), "OkButton");
  btnOK->setDefault(true);
  btnCancel = Named(new QPushButton(QStringLiteral("Cancel"), this), "CancelButton");
  btnHelp = Named(new QPushButton(QStringLiteral("&Help"), this), "HelpButton");
  btnOK->setAutoDefault(false);
  btnCancel->setAutoDefault(false);
  btnHelp->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (QPushButton* b : {btnOK, btnCancel, btnHelp}) {
    b->setMinimumWidth(75);
    buttons->addWidget(b);
  }

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Notebook, 1);
  layout->addLayout(buttons);

  connect(btnOK, &QPushButton::clicked, this, [this] { RunGuarded([this] { CmdOKClick(); }); });
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(btnHelp, &QPushButton::clicked, this, [this] { RunGuarded([this] { btnHelpClick(); }); });
  ConnectChanges();
}

TEditTodoDialog::~TEditTodoDialog() = default;

void TEditTodoDialog::BuildGeneralPage(QWidget* page) {
  txtHeader = Named(new QLineEdit(page), "txtHeader");
  txtHeader->setMaxLength(kTitleMaxLength);
  meNotes = Named(new QPlainTextEdit(page), "meNotes");
  meNotes->setTabChangesFocus(true);
  // The notes take whatever height the dialog has left; two lines at the least.
  meNotes->setMinimumHeight(meNotes->fontMetrics().lineSpacing() * 2 + 2 * meNotes->frameWidth() + 8);
  cmbCategory = Named(new QComboBox(page), "cmbCategory");
  cmbPriority = Named(new QComboBox(page), "cmbPriority");
  cmbStatus = Named(new QComboBox(page), "cmbStatus");
  cmbType = Named(new QComboBox(page), "cmbType");
  cmbResource = Named(new QComboBox(page), "cmbResource");
  dtpDueDate = DateEdit("dtpDueDate", page);
  dtpDueTime = TimeEdit("dtpDueTime", page);
  cmbPercent = Named(new QComboBox(page), "cmbPercent");
  for (int i = 0; i < kPercentItemCount; ++i) cmbPercent->addItem(QString::number(PercentOfIndex(i)));
  chkFlagged = Named(new QCheckBox(QStringLiteral("Flagged"), page), "chkFlagged");

  auto* title = Field(QStringLiteral("Title:"), txtHeader, page);
  fldNotes_ = Field(QStringLiteral("Notes:"), meNotes, page);
  fldCategory_ = Field(QStringLiteral("Category:"), cmbCategory, page);
  fldPriority_ = Field(QStringLiteral("Priority:"), cmbPriority, page);
  auto* status = Field(QStringLiteral("Status:"), cmbStatus, page);
  fldType_ = Field(QStringLiteral("Type:"), cmbType, page);
  fldResource_ = Field(QStringLiteral("Resource:"), cmbResource, page);
  fldDueDate_ = Field(QStringLiteral("Date due:"), dtpDueDate, page);
  fldDueTime_ = Field(QStringLiteral("Time due:"), dtpDueTime, page);
  fldPercent_ = Field(QStringLiteral("Percent completed:"), cmbPercent, page);
  for (QComboBox* box : {cmbCategory, cmbPriority, cmbStatus, cmbType, cmbResource}) box->setMinimumWidth(120);

  pnlInfo = Named(new QGroupBox(QStringLiteral(" Information "), page), "pnlInfo");
  lblCreated = Named(new QLabel(pnlInfo), "lblCreated");
  lblCompleted = Named(new QLabel(pnlInfo), "lblCompleted");
  lblRecurring = Named(new QLabel(pnlInfo), "lblRecurring");
  auto* info = new QGridLayout(pnlInfo);
  int row = 0;
  for (auto [caption, value] : {std::pair{"Created:", lblCreated}, {"Completed:", lblCompleted},
                                {"Recurring:", lblRecurring}}) {
    info->addWidget(new QLabel(QLatin1String(caption), pnlInfo), row, 0);
    info->addWidget(value, row++, 1);
  }
  info->setColumnStretch(1, 1);

  auto* layout = new QVBoxLayout(page);
  layout->addWidget(title);
  layout->addWidget(fldNotes_, 1);
  layout->addLayout(Row({fldCategory_, fldPriority_, status}));
  layout->addLayout(Row({fldType_, fldResource_}));
  layout->addLayout(Row({fldDueDate_, fldDueTime_, fldPercent_}));
  layout->addWidget(chkFlagged);
  layout->addWidget(pnlInfo);
}

void TEditTodoDialog::BuildReminderPage(QWidget* page) {
  chkUseReminder = Named(new QCheckBox(QStringLiteral("Use reminder"), page), "chkUseReminder");
  dtpReminderDate = DateEdit("dtpReminderDate", page);
  dtpReminderTime = TimeEdit("dtpReminderTime", page);
  auto* types = Named(new QGroupBox(QStringLiteral("Reminder Type"), page), "grpReminderType");
  chkBeep = Named(new QCheckBox(QStringLiteral("Beep"), types), "chkBeep");
  chkSound = Named(new QCheckBox(QStringLiteral("Sound"), types), "chkSound");
  chkSpeech = Named(new QCheckBox(QStringLiteral("Speech"), types), "chkSpeech");
  auto* typeLayout = new QHBoxLayout(types);
  for (QCheckBox* box : {chkBeep, chkSound, chkSpeech}) typeLayout->addWidget(box);
  typeLayout->addStretch();
  lblSoundFile = new QLabel(QStringLiteral("Activated file for sound reminder:"), page);
  txtSoundFile = Named(new QLineEdit(page), "txtSoundFile");
  lblSoundFile->setBuddy(txtSoundFile);
  btnBrowseSound = SmallButton(QStringLiteral(".."), "btnBrowseSound", page);
  btnPlaySound = SmallButton(QString(), "btnPlaySound", page);
  btnPlaySound->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
  btnPlaySound->setToolTip(QStringLiteral("Play"));
  btnTest = Named(new QPushButton(QStringLiteral("Test"), page), "btnTest");
  lblReminderState = Named(new QLabel(page), "lblReminderState");

  auto* layout = new QVBoxLayout(page);
  layout->addWidget(chkUseReminder);
  layout->addLayout(Row({Field(QStringLiteral("Reminder date:"), dtpReminderDate, page),
                         Field(QStringLiteral("Time:"), dtpReminderTime, page)}));
  layout->addWidget(types);
  layout->addWidget(lblSoundFile);
  auto* file = new QHBoxLayout;
  file->addWidget(txtSoundFile, 1);
  file->addWidget(btnBrowseSound);
  file->addWidget(btnPlaySound);
  layout->addLayout(file);
  layout->addLayout(Row({btnTest}));
  layout->addWidget(lblReminderState);
  layout->addStretch();
}

void TEditTodoDialog::BuildLinkPage(QWidget* page) {
  txtLink = Named(new QLineEdit(page), "txtLink");
  btnBrowseLink = SmallButton(QStringLiteral(".."), "btnBrowseLink", page);
  btnRunLink = SmallButton(QString(), "btnRunLink", page);
  btnRunLink->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
  btnRunLink->setToolTip(QStringLiteral("Open"));
  auto* caption = new QLabel(QStringLiteral("Activated file:"), page);
  caption->setBuddy(txtLink);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(caption);
  auto* row = new QHBoxLayout;
  row->addWidget(txtLink, 1);
  row->addWidget(btnBrowseLink);
  row->addWidget(btnRunLink);
  layout->addLayout(row);
  layout->addStretch();
}

void TEditTodoDialog::BuildRecurringPage(QWidget* page) {
  chkTemplate = Named(new QCheckBox(QStringLiteral("Template for recurring task"), page), "chkTemplate");
  auto* dueDates = Named(new QGroupBox(QStringLiteral("Due dates"), page), "grpDueDates");
  auto* grid = new QGridLayout(dueDates);
  const char* kinds[3] = {"Daily", "Weekly", "Monthly"};
  const char* units[3] = {"day(s)", "week(s)", "month(s)"};
  const char* names[3] = {"rbDaily", "rbWeekly", "rbMonthly"};
  const char* edits[3] = {"edDailyInterval", "edWeeklyInterval", "edMonthlyInterval"};
  int row = 0;
  for (size_t k = 0; k < 3; ++k) {
    rbKind[k] = Named(new QRadioButton(QLatin1String(kinds[k]), dueDates), names[k]);
    auto* every = new QLabel(QStringLiteral("Every"), dueDates);
    edInterval[k] = NumberEdit(edits[k], 1, dueDates);
    auto* unit = new QLabel(QLatin1String(units[k]), dueDates);
    grid->addWidget(rbKind[k], row, 0);
    grid->addWidget(every, row, 1);
    grid->addWidget(edInterval[k], row, 2);
    grid->addWidget(unit, row, 3);
    ++row;
    kindControls_[k] = {every, edInterval[k], unit};
    if (k == rkWeekly) {
      auto* boxes = new QGridLayout;
      for (int d = 0; d < 7; ++d) {
        chkWeekday[static_cast<size_t>(d)] = new QCheckBox(QLatin1String(kWeekdayNames[d]), dueDates);
        chkWeekday[static_cast<size_t>(d)]->setObjectName(QStringLiteral("chkWeekday%1").arg(d + 1));
        boxes->addWidget(chkWeekday[static_cast<size_t>(d)], d / kWeekdayColumns, d % kWeekdayColumns);
        kindControls_[k] << chkWeekday[static_cast<size_t>(d)];
      }
      grid->addLayout(boxes, row++, 1, 1, 4);
    } else if (k == rkMonthly) {
      auto* boxes = new QGridLayout;
      boxes->setHorizontalSpacing(2);
      boxes->setVerticalSpacing(0);
      for (int d = 0; d < 31; ++d) {
        chkDay[static_cast<size_t>(d)] = new QCheckBox(QString::number(d + 1), dueDates);
        chkDay[static_cast<size_t>(d)]->setObjectName(QStringLiteral("chkDay%1").arg(d + 1));
        boxes->addWidget(chkDay[static_cast<size_t>(d)], d / kDayColumns, d % kDayColumns);
        kindControls_[k] << chkDay[static_cast<size_t>(d)];
      }
      grid->addLayout(boxes, row++, 1, 1, 4);
    }
  }
  grid->setColumnStretch(4, 1);

  grpSettings = Named(new QGroupBox(QStringLiteral("Settings"), page), "grpSettings");
  dtpFirstDate = DateEdit("dtpFirstDate", grpSettings);
  dtpLastDate = DateEdit("dtpLastDate", grpSettings);
  edLeadDays = NumberEdit("edLeadDays", 0, grpSettings);
  chkOnlyOneOpen = Named(new QCheckBox(QStringLiteral("Show next only when previous task is completed"), grpSettings),
                         "chkOnlyOneOpen");
  auto* settings = new QGridLayout(grpSettings);
  settings->addWidget(new QLabel(QStringLiteral("First date:"), grpSettings), 0, 0);
  settings->addWidget(dtpFirstDate, 0, 1);
  settings->addWidget(new QLabel(QStringLiteral("Last date:"), grpSettings), 0, 2);
  settings->addWidget(dtpLastDate, 0, 3);
  auto* lead = new QHBoxLayout;
  lead->addWidget(new QLabel(QStringLiteral("Show"), grpSettings));
  lead->addWidget(edLeadDays);
  lead->addWidget(new QLabel(QStringLiteral("day(s) before due date"), grpSettings));
  lead->addStretch();
  settings->addLayout(lead, 1, 0, 1, 5);
  settings->addWidget(chkOnlyOneOpen, 2, 0, 1, 5);
  settings->setColumnStretch(4, 1);

  auto* layout = new QVBoxLayout(page);
  layout->addWidget(chkTemplate);
  layout->addWidget(dueDates);
  layout->addWidget(grpSettings);
  layout->addStretch();
}

void TEditTodoDialog::ConnectChanges() {
  const auto update = [this] { RunGuarded([this] { UpdateControls(); }); };
  connect(txtHeader, &QLineEdit::textChanged, this, update);
  connect(txtSoundFile, &QLineEdit::textChanged, this, update);
  connect(txtLink, &QLineEdit::textChanged, this, update);
  for (QCheckBox* box : {chkUseReminder, chkBeep, chkSound, chkSpeech, chkTemplate})
    connect(box, &QCheckBox::toggled, this, update);
  for (QRadioButton* rb : rbKind) connect(rb, &QRadioButton::toggled, this, update);
  connect(cmbStatus, &QComboBox::currentIndexChanged, this, [this] { RunGuarded([this] { cmbStatusChange(); }); });
  connect(cmbPercent, &QComboBox::currentIndexChanged, this, [this] { RunGuarded([this] { cmbPercentChange(); }); });
  connect(meNotes, &QPlainTextEdit::textChanged, this, [this] {
    // The notes hold at most so many characters, as the title's edit does by itself.
    if (meNotes->document()->characterCount() - 1 <= kNotesMaxLength) return;
    const QSignalBlocker block(meNotes);
    QTextCursor cursor = meNotes->textCursor();
    const int at = std::min(cursor.position(), kNotesMaxLength);
    meNotes->setPlainText(meNotes->toPlainText().left(kNotesMaxLength));
    cursor = meNotes->textCursor();
    cursor.setPosition(at);
    meNotes->setTextCursor(cursor);
  });
  connect(btnBrowseSound, &QPushButton::clicked, this, [this] { RunGuarded([this] { btnBrowseSoundClick(); }); });
  connect(btnBrowseLink, &QPushButton::clicked, this, [this] { RunGuarded([this] { btnBrowseLinkClick(); }); });
  connect(btnPlaySound, &QPushButton::clicked, this, [this] { RunGuarded([this] { btnPlaySoundClick(); }); });
  connect(btnRunLink, &QPushButton::clicked, this, [this] { RunGuarded([this] { btnRunLinkClick(); }); });
  connect(btnTest, &QPushButton::clicked, this, [this] { RunGuarded([this] { btnTestClick(); }); });
  txtHeader->installEventFilter(this);
  meNotes->installEventFilter(this);
}

void TEditTodoDialog::showEvent(QShowEvent* event) {
  if (!shown_) {
    shown_ = true;
    FormShow();
  }
  QDialog::showEvent(event);
}

bool TEditTodoDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut) CapitalizeOnLeave(watched);
  return QDialog::eventFilter(watched, event);
}

void TEditTodoDialog::CapitalizeOnLeave(QObject* watched) {
  if (!sources_.options.AlwaysCapitalizeFirst || !editable_) return;
  if (watched == txtHeader) {
    const QString text = CapitalizeFirst(txtHeader->text());
    if (text != txtHeader->text()) txtHeader->setText(text);
  } else if (watched == meNotes) {
    const QString text = meNotes->toPlainText();
    if (!text.isEmpty() && text.at(0) != text.at(0).toUpper()) {
      QTextCursor cursor(meNotes->document());
      cursor.setPosition(0);
      cursor.setPosition(1, QTextCursor::KeepAnchor);
      cursor.insertText(text.at(0).toUpper());
    }
  }
}

void TEditTodoDialog::FormShow() {
  settingControls_ = true;
  ApplyVisibility();
  FillControls();
  RemovePages();
  setWindowTitle(DialogCaption(isNew_, editable_));
  if (!editable_) MakeReadOnly();
  btnTest->setEnabled(editable_);
  btnRunLink->setEnabled(editable_);
  settingControls_ = false;
  UpdateControls();
  FitSize();
  txtHeader->setFocus();
}

void TEditTodoDialog::ApplyVisibility() {
  const TTdAppOptions& o = sources_.options;
  fldNotes_->setVisible(o.UseNotes);
  fldType_->setVisible(o.UseType);
  fldCategory_->setVisible(o.UseCategory);
  fldPriority_->setVisible(o.UsePriority);
  fldResource_->setVisible(o.UseResource);
  fldDueDate_->setVisible(o.UseDTDue);
  fldDueTime_->setVisible(o.UseDTDue && o.UseDTDueTime);
  fldPercent_->setVisible(o.UsePercent);
  chkFlagged->setVisible(o.UseFlagged);
}

void TEditTodoDialog::FillControls() {
  const TTdTodo& t = task_;
  const TImageSource images = ImageSourceOf(sources_.images);
  pnlInfo->setTitle(InfoCaption(t));
  lblCreated->setText(DateTimeText(t.Created));
  lblRecurring->setText(RecurringText(t));

  txtHeader->setText(t.Title);
  meNotes->setPlainText(t.Notes);
  FillComboBox(cmbCategory, sources_.categories, -1, images);
  cmbResource->clear();
  for (const auto& entry : sources_.resources.Items()) cmbResource->addItem(entry->Name);
  FillComboBox(cmbType, sources_.types, -1, images);
  const auto select = [](QComboBox* box, int index) { box->setCurrentIndex(index == -1 ? 0 : index); };
  select(cmbCategory, t.Category);
  select(cmbResource, t.Resource);
  select(cmbType, t.Type);
  FillPriorityComboBox(cmbPriority, images);
  FillStatusComboBox(cmbStatus, images);
  cmbPriority->setCurrentIndex(t.Priority);
  cmbStatus->setCurrentIndex(t.Status);
  cmbPercent->setCurrentIndex(PercentIndexOf(t.Percent));
  chkFlagged->setChecked(t.Flagged());
  ShowCompleted();
  SetDateAndTime(dtpDueDate, dtpDueTime, t.Due);

  lblReminderState->setText(ReminderStateText(t));
  chkUseReminder->setChecked(t.ReminderActivated());
  SetDateAndTime(dtpReminderDate, dtpReminderTime, t.ReminderDateTime);
  chkBeep->setChecked(TTdTodo::ReminderHasBeep(t.ReminderType));
  chkSound->setChecked(TTdTodo::ReminderHasSound(t.ReminderType));
  chkSpeech->setChecked(TTdTodo::ReminderHasSpeech(t.ReminderType));
  txtSoundFile->setText(t.ReminderPath);
  txtLink->setText(t.Association);

  if (sources_.options.UseDTDue) {
    chkTemplate->setEnabled(!t.FromTemplate());
    chkTemplate->setChecked(t.IsTemplate());
    const int kind = std::clamp(t.RecurKind, 0, 2);
    rbKind[static_cast<size_t>(kind)]->setChecked(true);
    SetDateAndTime(dtpFirstDate, nullptr, t.RecurFirstDate);
    SetDateAndTime(dtpLastDate, nullptr, t.RecurLastDate);
    edLeadDays->SetAsInteger(t.RecurLeadDays);
    chkOnlyOneOpen->setChecked(t.OnlyOneOpen());
    for (size_t k = 0; k < 3; ++k) edInterval[k]->SetAsInteger(static_cast<int>(k) == kind ? t.RecurInterval : 1);
    // Only the boxes of the task's own kind show its mask; a daily task has none.
    const auto weekdays = kind == rkWeekly ? WeekdaysOf(t.RecurDayMask) : std::array<bool, 7>{};
    const auto days = kind == rkMonthly ? DaysOf(t.RecurDayMask) : std::array<bool, 31>{};
    for (size_t d = 0; d < 7; ++d) chkWeekday[d]->setChecked(weekdays[d]);
    for (size_t d = 0; d < 31; ++d) chkDay[d]->setChecked(days[d]);
  }
}

void TEditTodoDialog::RemovePages() {
  const TPages pages = PagesOf(sources_.options);
  // From the last page on, so the earlier pages keep their numbers meanwhile.
  const std::array<bool, 4> keep{true, pages.reminder, pages.link, pages.recurring};
  for (int i = 3; i > 0; --i) {
    if (keep[static_cast<size_t>(i)]) continue;
    contents_[static_cast<size_t>(i)]->hide();
    contents_[static_cast<size_t>(i)]->setParent(removedPages_);
    Notebook->DeletePage(i);
  }
  if (!pages.recurring) pageRecurring_ = nullptr;
  if (!pages.link) pageLink_ = nullptr;
  if (!pages.reminder) pageReminder_ = nullptr;
}

void TEditTodoDialog::MakeReadOnly() {
  btnOK->setText(QStringLiteral("&Close"));
  btnCancel->hide();
  for (QWidget* content : contents_) {
    for (QWidget* child : content->findChildren<QWidget*>()) {
      if (child == meNotes || child->parentWidget() == meNotes || qobject_cast<QLabel*>(child)) continue;
      if (child->inherits("QAbstractButton") || child->inherits("QComboBox") || child->inherits("QLineEdit") ||
          child->inherits("QAbstractSpinBox"))
        child->setEnabled(false);
    }
  }
  // The notes stay scrollable.
  meNotes->setReadOnly(true);
}

void TEditTodoDialog::FitSize() {
  // The notebook must hold its largest page below the tabs.
  QSize pageSize;
  for (int i = 0; i < Notebook->CountPages(); ++i) {
    if (QLayout* l = Notebook->PageAt(i)->layout()) pageSize = pageSize.expandedTo(l->minimumSize());
  }
  Notebook->setMinimumSize(pageSize + QSize(4, Notebook->TabHeight() * std::max(1, Notebook->TabRows()) + 6));
  const QSize designed(kDesignedWidth, kDesignedHeight - HeightReduction(sources_.options));
  layout()->activate();
  setFixedSize(designed.expandedTo(layout()->minimumSize()));
}

void TEditTodoDialog::ShowCompleted() { lblCompleted->setText(CompletedText(cmbStatus->currentIndex(), completion_)); }

void TEditTodoDialog::UpdateControls() {
  if (!editable_ || settingControls_) return;
  TControlState state;
  state.status = cmbStatus->currentIndex();
  state.useReminder = chkUseReminder->isChecked();
  state.beep = chkBeep->isChecked();
  state.sound = chkSound->isChecked();
  state.speech = chkSpeech->isChecked();
  state.soundFile = txtSoundFile->text();
  state.link = txtLink->text();
  state.title = txtHeader->text();
  state.isTemplate = chkTemplate->isChecked();
  for (size_t k = 0; k < 3; ++k)
    if (rbKind[k]->isChecked()) state.kind = static_cast<TRecurKind>(k);
  const TEnabling e = EnablingOf(state);

  cmbPercent->setEnabled(e.percent);
  if (sources_.options.UseDTReminder) {
    if (e.clearUseReminder) {
      settingControls_ = true;
      chkUseReminder->setChecked(false);
      settingControls_ = false;
    }
    btnTest->setEnabled(e.test);
    for (QCheckBox* box : {chkBeep, chkSound, chkSpeech}) box->setEnabled(e.reminderTypes);
    dtpReminderDate->setEnabled(e.reminderDates);
    dtpReminderTime->setEnabled(e.reminderDates);
    lblSoundFile->setEnabled(e.soundFile);
    txtSoundFile->setEnabled(e.soundFile);
    btnBrowseSound->setEnabled(e.soundFile);
    btnPlaySound->setEnabled(e.play);
  }
  if (sources_.options.UseAssociation) btnRunLink->setEnabled(e.run);
  btnOK->setEnabled(e.ok);
  if (sources_.options.UseDTDue) {
    grpSettings->setEnabled(e.recurrence);
    chkOnlyOneOpen->setEnabled(e.recurrence);
    for (size_t k = 0; k < 3; ++k) {
      rbKind[k]->setEnabled(e.recurrence);
      for (QWidget* w : kindControls_[k]) w->setEnabled(e.kinds[k]);
    }
  }
}

void TEditTodoDialog::SetStatusAndPercent(const TStatusPercent& value) {
  settingControls_ = true;
  cmbStatus->setCurrentIndex(value.status);
  cmbPercent->setCurrentIndex(value.percentIndex);
  completion_ = value.completion;
  settingControls_ = false;
  ShowCompleted();
  UpdateControls();
}

void TEditTodoDialog::cmbStatusChange() {
  if (settingControls_) return;
  const TStatusPercent now{cmbStatus->currentIndex(), cmbPercent->currentIndex(), completion_};
  SetStatusAndPercent(StatusChosen(now, now.status, DateTime::Now()));
}

void TEditTodoDialog::cmbPercentChange() {
  if (settingControls_) return;
  const TStatusPercent now{cmbStatus->currentIndex(), cmbPercent->currentIndex(), completion_};
  SetStatusAndPercent(PercentChosen(now, now.percentIndex, DateTime::Now()));
}

TValues TEditTodoDialog::Values() const {
  TValues v;
  v.title = txtHeader->text();
  v.notes = meNotes->toPlainText();
  v.category = cmbCategory->currentIndex();
  v.resource = cmbResource->currentIndex();
  v.priority = cmbPriority->currentIndex();
  v.status = cmbStatus->currentIndex();
  v.type = cmbType->currentIndex();
  v.percentIndex = cmbPercent->currentIndex();
  v.flagged = chkFlagged->isChecked();
  v.dueDate = dtpDueDate->date();
  v.dueTime = dtpDueTime->time();
  v.reminderDate = dtpReminderDate->date();
  v.reminderTime = dtpReminderTime->time();
  v.useReminder = chkUseReminder->isChecked();
  v.beep = chkBeep->isChecked();
  v.sound = chkSound->isChecked();
  v.speech = chkSpeech->isChecked();
  v.soundFile = txtSoundFile->text();
  v.completion = completion_;
  v.link = txtLink->text();
  v.isTemplate = chkTemplate->isChecked();
  for (size_t k = 0; k < 3; ++k) {
    if (rbKind[k]->isChecked()) v.kind = static_cast<TRecurKind>(k);
    v.intervals[k] = edInterval[k]->AsInteger();
  }
  v.firstDate = dtpFirstDate->date();
  v.lastDate = dtpLastDate->date();
  v.leadDays = edLeadDays->AsInteger();
  v.onlyOneOpen = chkOnlyOneOpen->isChecked();
  for (size_t d = 0; d < 7; ++d) v.weekdays[d] = chkWeekday[d]->isChecked();
  for (size_t d = 0; d < 31; ++d) v.days[d] = chkDay[d]->isChecked();
  return v;
}

void TEditTodoDialog::CmdOKClick() {
  if (!editable_) {
    accept();
    return;
  }
  const QString failed = Apply(task_, Values(), sources_.options);
  if (!failed.isEmpty()) {
    Desktop().MessageBox(PlainMessageCaption(), failed, Msg::NoIcon, Msg::Ok, Msg::Ok, this);
    return;
  }
  accept();
}

void TEditTodoDialog::btnHelpClick() {
  const TClTabPage* page = Notebook->PageAt(Notebook->PageIndex());
  ShowHelpContext(page != nullptr ? page->HelpContext() : kDialogHelpContext);
}

QString TEditTodoDialog::BrowseFile(const QString& current) {
  FileDialogRequest request;
  request.caption = QStringLiteral("Open");
  const QFileInfo info(current);
  request.folder = current.isEmpty() ? QString() : info.absolutePath();
  request.fileName = current;
  request.filter = QStringLiteral("All files (*)");
  return Desktop().OpenFileName(request, this);
}

void TEditTodoDialog::btnBrowseSoundClick() {
  const QString chosen = BrowseFile(txtSoundFile->text());
  if (!chosen.isEmpty()) txtSoundFile->setText(chosen);
}

void TEditTodoDialog::btnBrowseLinkClick() {
  const QString chosen = BrowseFile(txtLink->text());
  if (!chosen.isEmpty()) txtLink->setText(chosen);
}

void TEditTodoDialog::btnPlaySoundClick() { OpenDocument(txtSoundFile->text()); }

void TEditTodoDialog::btnRunLinkClick() { OpenDocument(txtLink->text()); }

void TEditTodoDialog::btnTestClick() {
  const int type = TTdTodo::ReminderTypeOf(chkBeep->isChecked(), chkSound->isChecked(), chkSpeech->isChecked());
  PlayReminder(type, txtHeader->text(), txtSoundFile->text());
}

bool ShowEditTodoDialog(TTdTodo& task, const TEditTodoSources& sources, bool isNew, bool editable,
                        QWidget* parent) {
  std::unique_ptr<TEditTodoDialog> dialog;
  {
    const ScopedWaitCursor wait;
    dialog = std::make_unique<TEditTodoDialog>(task, sources, isNew, editable, parent);
    if (sources.options.AlwaysOnTop) dialog->setWindowFlag(Qt::WindowStaysOnTopHint, true);
  }
  return dialog->exec() == QDialog::Accepted;
}
