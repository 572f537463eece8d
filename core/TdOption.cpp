#include "core/TdOption.h"

#include "core/BTodo.h"
#include "core/GSapi.h"
#include "core/TdDataFolder.h"
#include "core/TdOptionKeys.h"
#include "core/UtIniFile.h"
#include "platform/Desktop.h"


#include <algorithm>
#include <climits>

namespace {

constexpr std::array<int32_t, 6> kStandardToolBar = {1, 2, 3, 6, 11, 4};
// "Title" and "OK" of the printable fields.
constexpr std::array<uint8_t, 2> kStandardPrintColumns = {14, 5};

// The tool bar and the printed fields fall back to the standard choice when the first
// slot is empty.
void ApplyStandardChoices(TTdAppOptions& o) {
  if (o.ShowToolbar && o.ToolBarButtons[0] == 0) std::copy(kStandardToolBar.begin(), kStandardToolBar.end(), o.ToolBarButtons.begin());
  if (o.PrintColumn[0] == 0) {
    o.PrintColumn.fill(0);
    std::copy(kStandardPrintColumns.begin(), kStandardPrintColumns.end(), o.PrintColumn.begin());
  }
}

QString WithTrailingSlash(const QString& folder) {
  return folder.endsWith(u'/') ? folder : folder + u'/';
}

// Keeps the window reachable: a corner beyond the screen moves in, a window too small
// to use takes nine tenths of the screen.
void FitWindowToScreen(TTdAppOptions& o, QSize screen) {
  if (o.Left > screen.width()) o.Left = 100;
  if (o.Top > screen.height()) o.Top = 100;
  if (o.Height < 400) o.Height = static_cast<int32_t>(qint64(screen.height()) * 9 / 10);
  if (o.Width < 340) o.Width = static_cast<int32_t>(qint64(screen.width()) * 9 / 10);
}

}  // namespace

TTdAppOptionsHandler::TTdAppOptionsHandler(QString fileName) : fileName_(std::move(fileName)) {}

void TTdAppOptionsHandler::SetDefaultOptions() {
  SetKeyDefaults(options_);
  options_.DatabaseFolder = DefaultDataFolder();
  ApplyStandardChoices(options_);
}

void TTdAppOptionsHandler::ReadOptions() { ReadOptionsFrom(TExtendedIniFile(fileName_)); }

void TTdAppOptionsHandler::ReadOptionsFrom(const TExtendedIniFile& ini) {
  SetDefaultOptions();
  ReadKeys(options_, ini);
  TTdAppOptions& o = options_;
  FitWindowToScreen(o, ScreenSize());
  // The stored folder counts only while the user asks for it; the table files need
  // the folder to end with "/".
  if (!o.SpecialDbLocation || o.DatabaseFolder.isEmpty()) o.DatabaseFolder = DefaultDataFolder();
  else o.DatabaseFolder = WithTrailingSlash(o.DatabaseFolder);
  if (!SapiVoice()) o.DefaultReminderType = WithoutSpeech(o.DefaultReminderType);
  ApplyStandardChoices(o);
}

void TTdAppOptionsHandler::WriteOptions(int32_t left, int32_t top, int32_t width, int32_t height) const {
  TExtendedIniFile ini(fileName_);
  WriteOptionsTo(ini, left, top, width, height);
  ini.UpdateFile();
}

void TTdAppOptionsHandler::WriteOptionsTo(TExtendedIniFile& ini, int32_t left, int32_t top, int32_t width,
                                          int32_t height) const {
  TTdAppOptions o = options_;
  o.Left = left;
  o.Top = top;
  o.Width = width;
  o.Height = height;
  // The printed fields end at the first empty slot.
  const auto end = std::find(o.PrintColumn.begin(), o.PrintColumn.end(), uint8_t(0));
  std::fill(end, o.PrintColumn.end(), uint8_t(0));
  WriteKeys(o, ini);
}

bool TTdAppOptionsHandler::HasFilterCriteria() const {
  const TTdAppOptions& o = options_;
  return o.FilterFlagMode != 0 || o.FilterNotesMode != 0 || !o.FilterStatus.isEmpty() ||
         !o.FilterPriority.isEmpty() || !o.FilterType.isEmpty() || !o.FilterCategoryIncl.isEmpty() ||
         !o.FilterCategoryExcl.isEmpty() || !o.FilterResourceIncl.isEmpty() || !o.FilterResourceExcl.isEmpty() ||
         o.FilterCreatedDates || o.FilterDueDates || o.FilterCompletedDates || o.FilterReminderDates;
}

bool TTdAppOptionsHandler::StatusFilterExcludesDone() const {
  const TIdArray& status = options_.FilterStatus;
  return !status.isEmpty() && !status.contains(tsCancelled) && !status.contains(tsOK);
}

QSize TTdAppOptionsHandler::ScreenSize() { return Desktop().ScreenSize(); }

int AutoSaveIntervalMs(int saveMinutes) {
  if (saveMinutes <= 0) return 0;
  return static_cast<int>(std::min<qint64>(qint64(saveMinutes) * 60000, INT_MAX));
}
