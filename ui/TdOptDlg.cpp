#include "ui/TdOptDlg.h"

#include "controls/UtBrowsr.h"
#include "controls/clmisc.h"
#include "controls/clnbk.h"
#include "core/BCat.h"
#include "core/BRes.h"
#include "core/BTodo.h"
#include "core/BType.h"
#include "core/GSapi.h"
#include "core/TdDataFolder.h"
#include "platform/ApplicationError.h"
#include "platform/Desktop.h"
#include "platform/HelpRequest.h"
#include "ui/TdFontOption.h"
#include "ui/TdOptSample.h"
#include "ui/TdUpDownEdit.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <memory>

namespace {
constexpr int kPageHelpContexts[opPageCount] = {34, 45, 2, 47, 48, 51};

QString WithTrailingDelimiter(const QString& folder) {
  return folder.isEmpty() || folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

// A stored index of a default list; -1 (none) and anything outside the list show the first.
int ListIndex(int stored, int count) { return stored >= 0 && stored < count ? stored : 0; }
}  // namespace

int TTdOptionDialog::lastPage_ = 0;

int TTdOptionDialog::LastPage() { return lastPage_; }
void TTdOptionDialog::ResetLastPage() { lastPage_ = 0; }

std::function<void()> TTdOptionDialog::Guarded(std::function<void()> handler) {
  return [handler = std::move(handler)] { RunGuarded(handler); };
}

TTdOptionDialog::TTdOptionDialog(const TTdAppOptions& options, const TOptionDialogSources& sources, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      options_(options),
      sources_(sources) {
  setObjectName(QStringLiteral("OptionDialog"));
  setWindowTitle(QStringLiteral("Edit Options"));

  noteBook_ = new TClNotebook(this);
  noteBook_->setObjectName(QStringLiteral("NoteBook"));
  noteBook_->BeginLoading();
  // Every tab in the dialog's font, so the tabs grow with it as the pages do.
  noteBook_->SetUseActiveTabFont(false);
  const char* captions[opPageCount] = {"General", "Toolbar", "Tab Filter", "Fields", "List", "Defaults"};
  QList<TClTabPage*> pages;
  for (const char* caption : captions) {
    auto* page = new TClTabPage(noteBook_);
    page->SetCaption(QString::fromLatin1(caption));
    pages << page;
  }
  noteBook_->SetDefaultPageIndex(lastPage_);
  noteBook_->EndLoading();
  BuildGeneralPage(pages[opGeneral]);
  BuildToolbarPage(pages[opToolbar]);
  BuildTabFilterPage(pages[opTabFilter]);
  BuildFieldsPage(pages[opFields]);
  BuildListPage(pages[opList]);
  BuildDefaultsPage(pages[opDefaults]);
  noteBook_->OnPageChanged = [](TClNotebook&, int index) { lastPage_ = index; };

  ok_ = new QPushButton(QStringLiteral("OK"), this);
  ok_->setObjectName(QStringLiteral("OkButton"));
  ok_->setDefault(true);
  cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  cancel_->setObjectName(QStringLiteral("CancelButton"));
  help_ = new QPushButton(QStringLiteral("&Help"), this);
  help_->setObjectName(QStringLiteral("HelpButton"));
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(help_, &QPushButton::clicked, this, Guarded([this] { btnHelpClick(); }));

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  for (QPushButton* b : {ok_, cancel_, help_}) {
    b->setMinimumWidth(75);
    buttons->addWidget(b);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(noteBook_, 1);
  layout->addLayout(buttons);
  FitNoteBook();
}

TTdOptionDialog::~TTdOptionDialog() = default;

void TTdOptionDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (shown_) return;
  shown_ = true;
  FitNoteBook();
  adjustSize();
  RunGuarded([this] { FormShow(); });
}

void TTdOptionDialog::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  // A new font makes the pages want more room: the notebook grows with them.
  if (event->type() == QEvent::FontChange && noteBook_ != nullptr) FitNoteBook();
}

bool TTdOptionDialog::eventFilter(QObject* watched, QEvent* event) {
  // The default folder is shortened to whatever width the label has now.
  if (watched == defaultFolder_ && event->type() == QEvent::Resize) ShowDefaultFolder();
  return QDialog::eventFilter(watched, event);
}

void TTdOptionDialog::ShowDefaultFolder() {
  const QFontMetrics metrics = defaultFolder_->fontMetrics();
  defaultFolder_->setText(ShortenPathToWidth(DefaultDataFolder(), defaultFolder_->width(),
                                             [&metrics](const QString& text) { return metrics.horizontalAdvance(text); }));
}

void TTdOptionDialog::FormShow() {
  ready_ = false;
  const TTdAppOptions& o = options_;
  for (const TBoundBox& b : boxes_) b.Box->setChecked(o.*b.Flag);
  ShowDefaultFolder();
  defaultFolder_->installEventFilter(this);
  databaseFolder_->setText(o.DatabaseFolder);
  saveMinutes_->SetValue(o.SaveMinutes);

  tabFilter_->button(o.QuickFilterMode < kQuickFilterModeCount ? o.QuickFilterMode : 0)->setChecked(true);
  tabPosition_->button(o.TabPosition < 4 ? o.TabPosition : 0)->setChecked(true);
  headerStyle_->setCurrentIndex(std::min<int>(o.HeaderStyle, 3));

  defaultPriority_->setCurrentIndex(ListIndex(o.DefaultPriority, defaultPriority_->count()));
  defaultCategory_->setCurrentIndex(ListIndex(o.DefaultCategoryIndex, defaultCategory_->count()));
  defaultResource_->setCurrentIndex(ListIndex(o.DefaultResourceIndex, defaultResource_->count()));
  defaultStatus_->setCurrentIndex(ListIndex(o.DefaultStatus, defaultStatus_->count()));
  defaultType_->setCurrentIndex(ListIndex(o.DefaultType, defaultType_->count()));
  reminderDelta_->SetValue(o.DefaultReminderDateDelta);
  soundPath_->setText(o.DefaultReminderSoundPath);
  const TDaysHoursMinutes snooze = SplitMinutes(o.DefaultRepeatReminderInMins);
  days_->SetValue(snooze.Days);
  hours_->SetValue(snooze.Hours);
  minutes_->SetValue(snooze.Minutes);
  beep_->setChecked(TTdTodo::ReminderHasBeep(o.DefaultReminderType));
  sound_->setChecked(TTdTodo::ReminderHasSound(o.DefaultReminderType));
  speech_->setChecked(TTdTodo::ReminderHasSpeech(o.DefaultReminderType));
  speech_->setEnabled(SapiVoice() != nullptr);
  dueDelta_->SetValue(o.DefaultDueDateDelta);
  dueHour_->SetValue(o.DefaultDueHour);

  FillToolButtonLists();
  UpdateGlyphs();
  sample_->Refresh();
  ready_ = true;
  UpdateOptionControls();
}

void TTdOptionDialog::SyncBoxes() {
  for (const TBoundBox& b : boxes_) options_.*b.Flag = b.Box->isChecked();
  ApplyFieldRules(options_);
  for (const TBoundBox& b : boxes_) {
    if (b.Box->isChecked() == options_.*b.Flag) continue;
    const QSignalBlocker quiet(b.Box);
    b.Box->setChecked(options_.*b.Flag);
  }
  // Only the field boxes have rules; every other box stays enabled.
  for (const TBoundBox& b : boxes_) b.Box->setEnabled(FieldBoxEnabled(options_, b.Flag));
}

void TTdOptionDialog::UpdateOptionControls() {
  if (!ready_) return;
  SyncBoxes();
  const TTdAppOptions& o = options_;

  databaseFolder_->setEnabled(o.SpecialDbLocation);
  databaseBrowse_->setEnabled(o.SpecialDbLocation);
  if (!o.SpecialDbLocation) databaseFolder_->setText(DefaultDataFolder());
  notesFont_->setEnabled(o.ShowNotesInMemo);
  notesColor_->setEnabled(o.ShowNotesInMemo);

  UpdateToolbarControls();

  for (int mode = 0; mode < kQuickFilterModeCount; ++mode)
    tabFilter_->button(mode)->setEnabled(QuickFilterModeEnabled(o, mode));

  options_.HeaderStyle = static_cast<uint8_t>(std::max(headerStyle_->currentIndex(), 0));
  sample_->Refresh();
}

void TTdOptionDialog::TabPositionClick(int position) {
  // Tabs at a side are only readable on several lines.
  if (ready_ && (position == 2 || position == 3)) {
    for (const TBoundBox& b : boxes_)
      if (b.Flag == &TTdAppOptions::MultiTabLines) b.Box->setChecked(true);
  }
}

void TTdOptionDialog::UpdateGlyphs() {
  for (const auto& [button, color] : glyphButtons_) button->setIcon(ColorGlyph(color()));
  QPalette palette = notesSample_->palette();
  palette.setColor(QPalette::Window, ColorOfOption(options_.NotesBkColor));
  palette.setColor(QPalette::WindowText, ColorOfOption(options_.NotesFont.Color));
  notesSample_->setPalette(palette);
  notesSample_->setFont(FontOfOption(options_.NotesFont));
  sample_->Refresh();
}

void TTdOptionDialog::ChooseDatabaseFolder() {
  TUtBrowser browser(this);
  browser.SetAdditionalText(QStringLiteral("Select a database folder"));
  browser.SetSelectedFolder(databaseFolder_->text());
  if (browser.Execute()) databaseFolder_->setText(WithTrailingDelimiter(browser.Folder()));
}

void TTdOptionDialog::ChooseSoundFile() {
  FileDialogRequest request;
  request.caption = QStringLiteral("Open");
  request.fileName = soundPath_->text();
  request.filter = QStringLiteral("All files (*)");
  const QString chosen = Desktop().OpenFileName(request, this);
  if (!chosen.isEmpty()) soundPath_->setText(chosen);
}

void TTdOptionDialog::btnHelpClick() {
  const int page = noteBook_->PageIndex();
  ShowHelpContext(page >= 0 && page < opPageCount ? kPageHelpContexts[page] : kOptionDialogHelpContext);
}

bool TTdOptionDialog::FormCloseQuery(bool storing) {
  const auto refuse = [this](int page, TUpDownEdit* field, const QString& text) {
    noteBook_->SetPageIndex(page);
    Desktop().MessageBox(QStringLiteral("Message"), text, Msg::Warning, Msg::Ok, Msg::Ok, this);
    field->setFocus();
    field->Edit()->selectAll();
    return false;
  };
  if (storing) {
    for (const TNumberField& n : numbers_) {
      if (n.Field->Value()) continue;
      n.Field->SetMarked(true);
      return refuse(n.Page, n.Field,
                    QStringLiteral("\"%1\" does not hold a number. %2")
                        .arg(n.Name, FieldNumberMessage(n.Field->Minimum(), n.Field->Maximum())));
    }
  }
  // Without two numbers there is nothing to compare; only storing needs them.
  const std::optional<int> due = dueDelta_->Value();
  const std::optional<int> reminder = reminderDelta_->Value();
  if (due && reminder && !DeltasAllowClose(*due, *reminder))
    return refuse(opDefaults, dueDelta_, QString::fromLatin1(kDeltaMessage));
  return true;
}

void TTdOptionDialog::done(int result) {
  bool closing = false;
  RunGuarded([&] {
    const bool storing = result == QDialog::Accepted;
    if (!FormCloseQuery(storing)) return;
    if (storing) StoreOptions();
    closing = true;
  });
  if (closing) QDialog::done(result);
}

void TTdOptionDialog::StoreOptions() {
  SyncBoxes();
  TTdAppOptions o = options_;
  o.DatabaseFolder = WithTrailingDelimiter(databaseFolder_->text().trimmed());
  o.SaveMinutes = saveMinutes_->Value().value_or(o.SaveMinutes);
  o.HeaderStyle = static_cast<uint8_t>(std::max(headerStyle_->currentIndex(), 0));

  o.DefaultPriority = defaultPriority_->currentIndex();
  o.DefaultCategoryIndex = defaultCategory_->currentIndex();
  o.DefaultResourceIndex = defaultResource_->currentIndex();
  o.DefaultStatus = defaultStatus_->currentIndex();
  o.DefaultType = defaultType_->currentIndex();
  o.DefaultReminderDateDelta = reminderDelta_->Value().value_or(o.DefaultReminderDateDelta);
  o.DefaultReminderSoundPath = soundPath_->text();
  o.DefaultRepeatReminderInMins =
      JoinMinutes({days_->Value().value_or(0), hours_->Value().value_or(0), minutes_->Value().value_or(0)});
  o.DefaultReminderType = TTdTodo::ReminderTypeOf(beep_->isChecked(), sound_->isChecked(),
                                                  speech_->isChecked() && speech_->isEnabled());
  o.DefaultDueDateDelta = dueDelta_->Value().value_or(o.DefaultDueDateDelta);
  o.DefaultDueHour = dueHour_->Value().value_or(o.DefaultDueHour);

  ClearSwitchedOffFields(o, sources_.Todos);
  StoreToolBarButtons(o, SelectedToolButtonCodes(), o.ShowToolbar);
  StoreQuickFilterMode(o, std::max(tabFilter_->checkedId(), 0));
  o.TabPosition = static_cast<uint8_t>(std::max(tabPosition_->checkedId(), 0));
  options_ = o;
}

bool ShowOptionDialog(TTdAppOptions& options, const TOptionDialogSources& sources) {
  std::unique_ptr<TTdOptionDialog> dialog;
  {
    ScopedWaitCursor wait;
    dialog = std::make_unique<TTdOptionDialog>(options, sources);
    if (options.AlwaysOnTop) dialog->setWindowFlag(Qt::WindowStaysOnTopHint, true);
  }
  if (dialog->exec() != QDialog::Accepted) return false;
  options = dialog->Options();
  return true;
}
