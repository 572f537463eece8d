#pragma once
// Every user setting in one plain record, and the handler that reads it from and writes
// it to the settings file "pendra.ini". Fields are named by their keys; the sections,
// keys and defaults are the table in TdOptionKeys.cpp. Dialogs edit copies.
#include "platform/DateTime.h"

#include <QList>
#include <QSize>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>

class TExtendedIniFile;

// A font group: keys prefix + "FontName", "FontSize", "FontBold", "FontItalic",
// "FontUnderline", "FontStrikeOut", "FontColor".
struct TFontOption {
  QString Name;
  int32_t Size = 0;
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  int32_t Color = 0;  // 0x00BBGGRR or a system-colour code
  bool operator==(const TFontOption&) const = default;
};

using TIdArray = QList<int32_t>;

constexpr int kToolBarSlotCount = 11;
constexpr int kPrintColumnCount = 28;

// Colours are int32 holding 0x00BBGGRR or a system-colour code; enumerations are one
// byte. The record is empty until the handler fills it.
struct TTdAppOptions {
  // General
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Height = 0;
  int32_t Width = 0;
  bool MenuXPStyle = false;
  bool MenuShadows = false;
  int32_t SplitterPercent = 0;
  bool ConfirmExit = false;
  bool ConfirmDelete = false;
  bool ConfirmArchive = false;
  bool ConfirmUndoDelete = false;
  bool ConfirmRestore = false;
  bool SpecialDbLocation = false;
  QString DatabaseFolder;  // ends with "/"
  QString ExportPath;
  int32_t SaveMinutes = 0;
  QString BackupFolder;
  bool AlwaysOnTop = false;
  bool AutoStart = false;
  bool MinimizeOnStart = false;
  bool UseSystemTray = false;
  bool ShowNotesAsHint = false;
  bool ShowNotesInMemo = false;
  bool ShowSortMarkers = false;
  bool AutoFitColumns = false;
  bool ShortColumnNames = false;
  bool ShowHorzGridLines = false;
  bool ShowVertGridLines = false;
  int32_t GridColor = 0;
  bool DottedGrid = false;
  bool AlwaysCapitalizeFirst = false;
  bool HeaderHotTrack = false;
  uint8_t HeaderStyle = 0;
  uint8_t QuickFilterMode = 0;
  bool ViewTemplates = false;
  bool HideZeroTabs = false;
  bool MultiTabLines = false;
  bool TabHotTrack = false;
  uint8_t TabPosition = 0;
  bool UseImagesOnTabs = false;
  bool ShowNumbersOnTabs = false;
  int32_t CurrentTabIndex = 0;

  // Defaults
  int32_t DefaultCategoryIndex = 0;
  int32_t DefaultResourceIndex = 0;
  int32_t DefaultDueDateDelta = 0;
  int32_t DefaultDueHour = 0;
  int32_t DefaultPriority = 0;
  int32_t DefaultStatus = 0;
  int32_t DefaultType = 0;
  bool DefaultReminderActivated = false;
  int32_t DefaultReminderDateDelta = 0;
  QString DefaultReminderSoundPath;
  int32_t DefaultReminderType = 0;
  int32_t DefaultRepeatReminderInMins = 0;

  // Toolbar
  bool ShowToolbar = false;
  bool FlatButtons = false;
  bool ButtonText = false;
  bool ShowToolTips = false;
  std::array<int32_t, kToolBarSlotCount> ToolBarButtons{};  // keys ToolBarButtons1..11

  // Printing
  QString PrinterName;
  uint8_t Orientation = 0;
  QString PaperName;
  QString BinName;
  bool UseMargins = false;
  int32_t PrintWidth = 0;
  int32_t PrintHeight = 0;
  int32_t MarginLeft = 0;
  int32_t MarginTop = 0;
  int32_t MarginRight = 0;
  int32_t MarginBottom = 0;
  int32_t MaxWidthTitle = 0;
  int32_t BackColorEven = 0;
  int32_t BackColorOdd = 0;
  TFontOption PrintHeaderFont;
  TFontOption PrintNormalFont;
  TFontOption PrintNotesFont;
  // Printed fields by 1-based number, 0 after the last; keys PrintColumn1..28.
  std::array<uint8_t, kPrintColumnCount> PrintColumn{};
  bool AllTasks = false;
  int32_t ExtraGap = 0;
  int32_t PreviewWindowHeight = 0;
  int32_t PreviewWindowWidth = 0;
  int32_t PreviewZoomMode = 0;

  // Properties: task fields in use
  bool UseNotes = false;
  bool UsePriority = false;
  bool UseType = false;
  bool UseCategory = false;
  bool UseResource = false;
  bool UsePercent = false;
  bool UseDTDue = false;
  bool UseDTDueTime = false;
  bool UseDTReminder = false;
  bool UseAssociation = false;
  bool UseFlagged = false;
  // Properties: what the tree shows
  bool DisplayDone = false;
  bool DisplayID = false;
  bool DisplayNotes = false;
  bool DisplayPriority = false;
  bool DisplayStatus = false;
  bool DisplayType = false;
  bool DisplayCategory = false;
  bool DisplayResource = false;
  bool DisplayPercent = false;
  bool DisplayDTCreated = false;
  bool DisplayDTCreatedTime = false;
  bool DisplayDTDue = false;
  bool DisplayDTDueTime = false;
  bool DisplayDTCompleted = false;
  bool DisplayDTCompletedTime = false;
  bool DisplayImageDTReminder = false;
  bool DisplayImageAssociation = false;
  bool DisplayImagePriority = false;
  bool DisplayImageStatus = false;
  bool DisplayImageType = false;
  bool DisplayImageCategory = false;
  bool DisplayTextPriority = false;
  bool DisplayTextStatus = false;
  bool DisplayTextType = false;
  bool DisplayTextCategory = false;
  bool DisplayFlagged = false;
  bool DisplayDaysGone = false;
  bool DisplayDaysLeft = false;
  bool DisplayRecurring = false;

  // Fonts
  TFontOption ColHeaderFont;
  TFontOption CompletedFont;
  TFontOption OverDueFont;
  TFontOption UrgentFont;
  TFontOption HighFont;
  TFontOption MediumFont;
  TFontOption LowFont;
  TFontOption NoneFont;

  // BkColors
  int32_t CompletedBkColor = 0;
  int32_t OverDueBkColor = 0;
  int32_t UrgentBkColor = 0;
  int32_t HighBkColor = 0;
  int32_t MediumBkColor = 0;
  int32_t LowBkColor = 0;
  int32_t NoneBkColor = 0;
  int32_t SelectedBkColor = 0;

  // Sorting
  bool AutoSort = false;
  uint8_t SortElement1 = 0;
  uint8_t SortElement2 = 0;
  uint8_t SortElement3 = 0;
  bool SortAsc1 = false;
  bool SortAsc2 = false;
  bool SortAsc3 = false;

  // Notes
  TFontOption NotesFont;
  int32_t NotesBkColor = 0;

  // Positions
  int32_t PosDone = 0;
  int32_t PosTitle = 0;
  int32_t PosID = 0;
  int32_t PosCategory = 0;
  int32_t PosPriority = 0;
  int32_t PosType = 0;
  int32_t PosDateTimeCreated = 0;
  int32_t PosDateTimeDue = 0;
  int32_t PosStatus = 0;
  int32_t PosPercent = 0;
  int32_t PosDateTimeCompleted = 0;
  int32_t PosDateTimeReminder = 0;
  int32_t PosAssociation = 0;
  int32_t PosNotes = 0;
  int32_t PosResource = 0;
  int32_t PosFlagged = 0;
  int32_t PosDaysGone = 0;
  int32_t PosDaysLeft = 0;
  int32_t PosRecurring = 0;

  // Filter
  bool FilterOn = false;
  int32_t FilterFlagMode = 0;
  int32_t FilterNotesMode = 0;
  TIdArray FilterStatus;
  TIdArray FilterPriority;
  TIdArray FilterType;
  TIdArray FilterCategoryIncl;
  TIdArray FilterCategoryExcl;
  TIdArray FilterResourceIncl;
  TIdArray FilterResourceExcl;
  bool FilterCreatedDates = false;
  bool FilterDueDates = false;
  bool FilterCompletedDates = false;
  bool FilterReminderDates = false;
  TDateTime FilterCreatedFirst = 0;
  TDateTime FilterCreatedLast = 0;
  TDateTime FilterDueFirst = 0;
  TDateTime FilterDueLast = 0;
  TDateTime FilterCompletedFirst = 0;
  TDateTime FilterCompletedLast = 0;
  TDateTime FilterReminderFirst = 0;
  TDateTime FilterReminderLast = 0;

  bool operator==(const TTdAppOptions&) const = default;
};

class TTdAppOptionsHandler {
public:
  // Keeps the name; the record stays empty until SetDefaultOptions or ReadOptions.
  explicit TTdAppOptionsHandler(QString fileName);

  const QString& FileName() const { return fileName_; }
  TTdAppOptions& Options() { return options_; }
  const TTdAppOptions& Options() const { return options_; }

  // Every field to its default; DatabaseFolder is the default data folder.
  void SetDefaultOptions();
  // Defaults, then every key of the settings file, then the read rules: window bounds
  // fitted to the screen, the DatabaseFolder rule, the reminder type without speech
  // when there is no voice, and the tool bar and printed-field fallbacks. A missing
  // file or key gives the default.
  void ReadOptions();
  void ReadOptionsFrom(const TExtendedIniFile& ini);
  // Writes every key of every section, the window bounds taken from the arguments.
  // Raises EWriteError naming the file when it cannot be written.
  void WriteOptions(int32_t left, int32_t top, int32_t width, int32_t height) const;
  void WriteOptionsTo(TExtendedIniFile& ini, int32_t left, int32_t top, int32_t width, int32_t height) const;

  // A flag or notes mode, a non-empty id list or a date window is set.
  bool HasFilterCriteria() const;
  // A status filter is set and lets neither closed status through.
  bool StatusFilterExcludesDone() const;

  // The screen size the window bounds are fitted to: the desktop's, 1024 x 768 when
  // there is no screen.
  static QSize ScreenSize();

private:
  TTdAppOptions options_;
  QString fileName_;
};

// The auto-save timer's interval for SaveMinutes: 0 (no timer) for 0 or less, capped
// at the largest interval a timer takes.
int AutoSaveIntervalMs(int saveMinutes);
