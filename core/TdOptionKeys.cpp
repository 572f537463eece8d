#include "core/TdOptionKeys.h"

#include "core/TdOptionText.h"
#include "core/UtIniFile.h"

#include <type_traits>

namespace {

using O = TTdAppOptions;

class TableBuilder {
public:
  explicit TableBuilder(std::vector<TOptionKey>& keys) : keys_(keys) {}

  void Section(const char* name) { section_ = QString::fromLatin1(name); }

  template <typename T>
  void Key(const char* key, T O::*field, std::type_identity_t<T> def) {
    Add(QString::fromLatin1(key), TOptionValue(std::in_place_type<T>, std::move(def)),
        [field](O& o) { return TOptionField(&(o.*field)); });
  }

  // Keys prefix + "1" .. prefix + N.
  template <typename T, size_t N>
  void Slots(const char* prefix, std::array<T, N> O::*array, std::type_identity_t<T> def) {
    for (size_t i = 0; i < N; ++i)
      Add(QString::fromLatin1(prefix) + QString::number(i + 1), TOptionValue(std::in_place_type<T>, def),
          [array, i](O& o) { return TOptionField(&(o.*array)[i]); });
  }

  void Font(const char* prefix, TFontOption O::*group, const TFontOption& def) {
    FontKey(prefix, "FontName", group, &TFontOption::Name, def.Name);
    FontKey(prefix, "FontSize", group, &TFontOption::Size, def.Size);
    FontKey(prefix, "FontBold", group, &TFontOption::Bold, def.Bold);
    FontKey(prefix, "FontItalic", group, &TFontOption::Italic, def.Italic);
    FontKey(prefix, "FontUnderline", group, &TFontOption::Underline, def.Underline);
    FontKey(prefix, "FontStrikeOut", group, &TFontOption::StrikeOut, def.StrikeOut);
    FontKey(prefix, "FontColor", group, &TFontOption::Color, def.Color);
  }

private:
  template <typename T>
  void FontKey(const char* prefix, const char* suffix, TFontOption O::*group, T TFontOption::*member, const T& def) {
    Add(QString::fromLatin1(prefix) + QString::fromLatin1(suffix), TOptionValue(std::in_place_type<T>, def),
        [group, member](O& o) { return TOptionField(&((o.*group).*member)); });
  }

  void Add(QString key, TOptionValue def, std::function<TOptionField(O&)> field) {
    keys_.push_back({section_, std::move(key), std::move(def), std::move(field)});
  }

  std::vector<TOptionKey>& keys_;
  QString section_;
};

constexpr int32_t kBlue = 16711680, kWhite = 16777215, kRed = 255, kYellow = 65535;
constexpr int32_t kLightGreen = 8454016, kLightAqua = 16777088;

TFontOption PrintFont(int32_t size, bool bold) { return {QStringLiteral("Times New Roman"), size, bold, false, false, false, 0}; }
TFontOption ScreenFont() { return {QStringLiteral("MS Sans Serif"), 8, false, false, false, false, 0}; }

std::vector<TOptionKey> BuildTable() {
  std::vector<TOptionKey> keys;
  TableBuilder t(keys);

  t.Section("General");
  t.Key("Left", &O::Left, -1);
  t.Key("Top", &O::Top, -1);
  t.Key("Height", &O::Height, -1);
  t.Key("Width", &O::Width, -1);
  t.Key("MenuXPStyle", &O::MenuXPStyle, true);
  t.Key("MenuShadows", &O::MenuShadows, true);
  t.Key("SplitterPercent", &O::SplitterPercent, 80);
  t.Key("ConfirmExit", &O::ConfirmExit, false);
  t.Key("ConfirmDelete", &O::ConfirmDelete, true);
  t.Key("ConfirmArchive", &O::ConfirmArchive, true);
  t.Key("ConfirmUndoDelete", &O::ConfirmUndoDelete, true);
  t.Key("ConfirmRestore", &O::ConfirmRestore, true);
  t.Key("SpecialDbLocation", &O::SpecialDbLocation, false);
  t.Key("DatabaseFolder", &O::DatabaseFolder, QString());  // the default data folder: see SetDefaultOptions
  t.Key("ExportPath", &O::ExportPath, QString());
  t.Key("SaveMinutes", &O::SaveMinutes, 2);
  t.Key("BackupFolder", &O::BackupFolder, QString());
  t.Key("AlwaysOnTop", &O::AlwaysOnTop, false);
  t.Key("AutoStart", &O::AutoStart, false);
  t.Key("MinimizeOnStart", &O::MinimizeOnStart, false);
  t.Key("UseSystemTray", &O::UseSystemTray, false);
  t.Key("ShowNotesAsHint", &O::ShowNotesAsHint, true);
  t.Key("ShowNotesInMemo", &O::ShowNotesInMemo, true);
  t.Key("ShowSortMarkers", &O::ShowSortMarkers, true);
  t.Key("AutoFitColumns", &O::AutoFitColumns, true);
  t.Key("ShortColumnNames", &O::ShortColumnNames, false);
  t.Key("ShowHorzGridLines", &O::ShowHorzGridLines, true);
  t.Key("ShowVertGridLines", &O::ShowVertGridLines, true);
  t.Key("GridColor", &O::GridColor, kBlue);
  t.Key("DottedGrid", &O::DottedGrid, true);
  t.Key("AlwaysCapitalizeFirst", &O::AlwaysCapitalizeFirst, true);
  t.Key("HeaderHotTrack", &O::HeaderHotTrack, true);
  t.Key("HeaderStyle", &O::HeaderStyle, 3);
  t.Key("QuickFilterMode", &O::QuickFilterMode, 0);
  t.Key("ViewTemplates", &O::ViewTemplates, true);
  t.Key("HideZeroTabs", &O::HideZeroTabs, true);
  t.Key("MultiTabLines", &O::MultiTabLines, false);
  t.Key("TabHotTrack", &O::TabHotTrack, true);
  t.Key("TabPosition", &O::TabPosition, 1);
  t.Key("UseImagesOnTabs", &O::UseImagesOnTabs, true);
  t.Key("ShowNumbersOnTabs", &O::ShowNumbersOnTabs, true);
  t.Key("CurrentTabIndex", &O::CurrentTabIndex, -1);

  t.Section("Defaults");
  t.Key("DefaultCategoryIndex", &O::DefaultCategoryIndex, 0);
  t.Key("DefaultResourceIndex", &O::DefaultResourceIndex, 0);
  t.Key("DefaultDueDateDelta", &O::DefaultDueDateDelta, 7);
  t.Key("DefaultDueHour", &O::DefaultDueHour, 22);
  t.Key("DefaultPriority", &O::DefaultPriority, 2);
  t.Key("DefaultStatus", &O::DefaultStatus, 0);
  t.Key("DefaultType", &O::DefaultType, 0);
  t.Key("DefaultReminderActivated", &O::DefaultReminderActivated, false);
  t.Key("DefaultReminderDateDelta", &O::DefaultReminderDateDelta, 6);
  t.Key("DefaultReminderSoundPath", &O::DefaultReminderSoundPath, QString());
  t.Key("DefaultReminderType", &O::DefaultReminderType, 1);
  t.Key("DefaultRepeatReminderInMins", &O::DefaultRepeatReminderInMins, 60);

  t.Section("Toolbar");
  t.Key("ShowToolbar", &O::ShowToolbar, true);
  t.Key("FlatButtons", &O::FlatButtons, true);
  t.Key("ButtonText", &O::ButtonText, true);
  t.Key("ShowToolTips", &O::ShowToolTips, true);
  t.Slots("ToolBarButtons", &O::ToolBarButtons, 0);  // the standard choice: see the read rules

  t.Section("Printing");
  t.Key("PrinterName", &O::PrinterName, QString());
  t.Key("Orientation", &O::Orientation, 0);
  t.Key("PaperName", &O::PaperName, QString());
  t.Key("BinName", &O::BinName, QString());
  t.Key("UseMargins", &O::UseMargins, false);
  t.Key("PrintWidth", &O::PrintWidth, 0);
  t.Key("PrintHeight", &O::PrintHeight, 0);
  t.Key("MarginLeft", &O::MarginLeft, 0);
  t.Key("MarginTop", &O::MarginTop, 0);
  t.Key("MarginRight", &O::MarginRight, 0);
  t.Key("MarginBottom", &O::MarginBottom, 0);
  t.Key("MaxWidthTitle", &O::MaxWidthTitle, 1000);
  t.Key("BackColorEven", &O::BackColorEven, kWhite);
  t.Key("BackColorOdd", &O::BackColorOdd, kWhite);
  t.Font("PrintHeader", &O::PrintHeaderFont, PrintFont(12, true));
  t.Font("PrintNormal", &O::PrintNormalFont, PrintFont(10, false));
  t.Font("PrintNotes", &O::PrintNotesFont, PrintFont(8, false));
  t.Slots("PrintColumn", &O::PrintColumn, 0);  // "Title", "OK": see the read rules
  t.Key("AllTasks", &O::AllTasks, true);
  t.Key("ExtraGap", &O::ExtraGap, 10);
  t.Key("PreviewWindowHeight", &O::PreviewWindowHeight, 400);
  t.Key("PreviewWindowWidth", &O::PreviewWindowWidth, 400);
  t.Key("PreviewZoomMode", &O::PreviewZoomMode, 1);

  t.Section("Properties");
  t.Key("UseNotes", &O::UseNotes, true);
  t.Key("UsePriority", &O::UsePriority, true);
  t.Key("UseType", &O::UseType, true);
  t.Key("UseCategory", &O::UseCategory, true);
  t.Key("UseResource", &O::UseResource, true);
  t.Key("UsePercent", &O::UsePercent, true);
  t.Key("UseDTDue", &O::UseDTDue, true);
  t.Key("UseDTDueTime", &O::UseDTDueTime, true);
  t.Key("UseDTReminder", &O::UseDTReminder, true);
  t.Key("UseAssociation", &O::UseAssociation, true);
  t.Key("UseFlagged", &O::UseFlagged, true);
  t.Key("DisplayDone", &O::DisplayDone, true);
  t.Key("DisplayID", &O::DisplayID, false);
  t.Key("DisplayNotes", &O::DisplayNotes, false);
  t.Key("DisplayPriority", &O::DisplayPriority, true);
  t.Key("DisplayStatus", &O::DisplayStatus, true);
  t.Key("DisplayType", &O::DisplayType, true);
  t.Key("DisplayCategory", &O::DisplayCategory, true);
  t.Key("DisplayResource", &O::DisplayResource, true);
  t.Key("DisplayPercent", &O::DisplayPercent, false);
  t.Key("DisplayDTCreated", &O::DisplayDTCreated, false);
  t.Key("DisplayDTCreatedTime", &O::DisplayDTCreatedTime, false);
  t.Key("DisplayDTDue", &O::DisplayDTDue, true);
  t.Key("DisplayDTDueTime", &O::DisplayDTDueTime, false);
  t.Key("DisplayDTCompleted", &O::DisplayDTCompleted, false);
  t.Key("DisplayDTCompletedTime", &O::DisplayDTCompletedTime, false);
  t.Key("DisplayImageDTReminder", &O::DisplayImageDTReminder, false);
  t.Key("DisplayImageAssociation", &O::DisplayImageAssociation, false);
  t.Key("DisplayImagePriority", &O::DisplayImagePriority, true);
  t.Key("DisplayImageStatus", &O::DisplayImageStatus, true);
  t.Key("DisplayImageType", &O::DisplayImageType, true);
  t.Key("DisplayImageCategory", &O::DisplayImageCategory, true);
  t.Key("DisplayTextPriority", &O::DisplayTextPriority, true);
  t.Key("DisplayTextStatus", &O::DisplayTextStatus, true);
  t.Key("DisplayTextType", &O::DisplayTextType, true);
  t.Key("DisplayTextCategory", &O::DisplayTextCategory, true);
  t.Key("DisplayFlagged", &O::DisplayFlagged, true);
  t.Key("DisplayDaysGone", &O::DisplayDaysGone, false);
  t.Key("DisplayDaysLeft", &O::DisplayDaysLeft, false);
  t.Key("DisplayRecurring", &O::DisplayRecurring, false);

  t.Section("Fonts");
  TFontOption completed = ScreenFont(), overDue = ScreenFont(), urgent = ScreenFont();
  completed.StrikeOut = true;
  overDue.Color = kRed;
  urgent.Bold = true;
  t.Font("ColHeader", &O::ColHeaderFont, ScreenFont());
  t.Font("Completed", &O::CompletedFont, completed);
  t.Font("OverDue", &O::OverDueFont, overDue);
  t.Font("Urgent", &O::UrgentFont, urgent);
  t.Font("High", &O::HighFont, ScreenFont());
  t.Font("Medium", &O::MediumFont, ScreenFont());
  t.Font("Low", &O::LowFont, ScreenFont());
  t.Font("None", &O::NoneFont, ScreenFont());

  t.Section("BkColors");
  t.Key("CompletedBkColor", &O::CompletedBkColor, kLightGreen);
  t.Key("OverDueBkColor", &O::OverDueBkColor, kWhite);
  t.Key("UrgentBkColor", &O::UrgentBkColor, kYellow);
  t.Key("HighBkColor", &O::HighBkColor, kWhite);
  t.Key("MediumBkColor", &O::MediumBkColor, kWhite);
  t.Key("LowBkColor", &O::LowBkColor, kWhite);
  t.Key("NoneBkColor", &O::NoneBkColor, kWhite);
  t.Key("SelectedBkColor", &O::SelectedBkColor, kLightAqua);

  t.Section("Sorting");
  t.Key("AutoSort", &O::AutoSort, false);
  t.Key("SortElement1", &O::SortElement1, 2);
  t.Key("SortElement2", &O::SortElement2, 5);
  t.Key("SortElement3", &O::SortElement3, 3);
  t.Key("SortAsc1", &O::SortAsc1, true);
  t.Key("SortAsc2", &O::SortAsc2, true);
  t.Key("SortAsc3", &O::SortAsc3, true);

  t.Section("Notes");
  t.Font("Notes", &O::NotesFont, ScreenFont());
  t.Key("NotesBkColor", &O::NotesBkColor, kWhite);

  t.Section("Positions");
  t.Key("PosDone", &O::PosDone, 0);
  t.Key("PosTitle", &O::PosTitle, 4);
  t.Key("PosID", &O::PosID, 14);
  t.Key("PosCategory", &O::PosCategory, 1);
  t.Key("PosPriority", &O::PosPriority, 2);
  t.Key("PosType", &O::PosType, 3);
  t.Key("PosDateTimeCreated", &O::PosDateTimeCreated, 16);
  t.Key("PosDateTimeDue", &O::PosDateTimeDue, 5);
  t.Key("PosStatus", &O::PosStatus, 6);
  t.Key("PosPercent", &O::PosPercent, 7);
  t.Key("PosDateTimeCompleted", &O::PosDateTimeCompleted, 8);
  t.Key("PosDateTimeReminder", &O::PosDateTimeReminder, 11);
  t.Key("PosAssociation", &O::PosAssociation, 9);
  t.Key("PosNotes", &O::PosNotes, 10);
  t.Key("PosResource", &O::PosResource, 12);
  t.Key("PosFlagged", &O::PosFlagged, 13);
  t.Key("PosDaysGone", &O::PosDaysGone, 14);
  t.Key("PosDaysLeft", &O::PosDaysLeft, 15);
  t.Key("PosRecurring", &O::PosRecurring, 17);

  t.Section("Filter");
  t.Key("FilterOn", &O::FilterOn, false);
  t.Key("FilterFlagMode", &O::FilterFlagMode, 0);
  t.Key("FilterNotesMode", &O::FilterNotesMode, 0);
  t.Key("FilterStatus", &O::FilterStatus, {});
  t.Key("FilterPriority", &O::FilterPriority, {});
  t.Key("FilterType", &O::FilterType, {});
  t.Key("FilterCategoryIncl", &O::FilterCategoryIncl, {});
  t.Key("FilterCategoryExcl", &O::FilterCategoryExcl, {});
  t.Key("FilterResourceIncl", &O::FilterResourceIncl, {});
  t.Key("FilterResourceExcl", &O::FilterResourceExcl, {});
  t.Key("FilterCreatedDates", &O::FilterCreatedDates, false);
  t.Key("FilterDueDates", &O::FilterDueDates, false);
  t.Key("FilterCompletedDates", &O::FilterCompletedDates, false);
  t.Key("FilterReminderDates", &O::FilterReminderDates, false);
  t.Key("FilterCreatedFirst", &O::FilterCreatedFirst, 0);
  t.Key("FilterCreatedLast", &O::FilterCreatedLast, 0);
  t.Key("FilterDueFirst", &O::FilterDueFirst, 0);
  t.Key("FilterDueLast", &O::FilterDueLast, 0);
  t.Key("FilterCompletedFirst", &O::FilterCompletedFirst, 0);
  t.Key("FilterCompletedLast", &O::FilterCompletedLast, 0);
  t.Key("FilterReminderFirst", &O::FilterReminderFirst, 0);
  t.Key("FilterReminderLast", &O::FilterReminderLast, 0);
  return keys;
}

// Reads one key into its field; a missing key or an empty value gives the default.
struct KeyReader {
  const TExtendedIniFile& ini;
  const TOptionKey& key;

  void operator()(bool* f) const { *f = ini.ReadBool(key.Section, key.Key, std::get<bool>(key.Default)); }
  // Enumerations keep the low byte of the integer.
  void operator()(uint8_t* f) const {
    *f = static_cast<uint8_t>(ini.ReadInteger(key.Section, key.Key, std::get<uint8_t>(key.Default)));
  }
  void operator()(int32_t* f) const { *f = ini.ReadInteger(key.Section, key.Key, std::get<int32_t>(key.Default)); }
  void operator()(QString* f) const { *f = ini.ReadIniString(key.Section, key.Key, std::get<QString>(key.Default)); }
  void operator()(TDateTime* f) const {
    const QString text = Text();
    *f = text.isEmpty() ? std::get<TDateTime>(key.Default) : OptionDateValue(text);
  }
  void operator()(TIdArray* f) const {
    const QString text = Text();
    *f = text.isEmpty() ? std::get<TIdArray>(key.Default) : IdArrayValue(text);
  }

private:
  QString Text() const { return ini.ReadIniString(key.Section, key.Key, QString()); }
};

struct KeyWriter {
  TExtendedIniFile& ini;
  const TOptionKey& key;

  void operator()(const bool* f) const { ini.WriteBool(key.Section, key.Key, *f); }
  void operator()(const uint8_t* f) const { ini.WriteInteger(key.Section, key.Key, *f); }
  void operator()(const int32_t* f) const { ini.WriteInteger(key.Section, key.Key, *f); }
  void operator()(const QString* f) const { ini.WriteString(key.Section, key.Key, *f); }
  void operator()(const TDateTime* f) const { ini.WriteString(key.Section, key.Key, OptionDateText(*f)); }
  void operator()(const TIdArray* f) const { ini.WriteString(key.Section, key.Key, IdArrayText(*f)); }
};

}  // namespace

const std::vector<TOptionKey>& OptionKeys() {
  static const std::vector<TOptionKey> keys = BuildTable();
  return keys;
}

void SetKeyDefaults(TTdAppOptions& options) {
  for (const TOptionKey& key : OptionKeys())
    std::visit([&key](auto* field) { *field = std::get<std::remove_pointer_t<decltype(field)>>(key.Default); },
               key.Field(options));
}

void ReadKeys(TTdAppOptions& options, const TExtendedIniFile& ini) {
  for (const TOptionKey& key : OptionKeys()) std::visit(KeyReader{ini, key}, key.Field(options));
}

void WriteKeys(const TTdAppOptions& options, TExtendedIniFile& ini) {
  // The field accessors hand out writable pointers; this walk only reads through them.
  auto& fields = const_cast<TTdAppOptions&>(options);
  for (const TOptionKey& key : OptionKeys())
    std::visit([&](const auto* field) { KeyWriter{ini, key}(field); }, key.Field(fields));
}
