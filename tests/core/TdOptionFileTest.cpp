// The settings file as a whole: its layout from defaults, writing, and a full round trip.
#include "OptionsTestSupport.h"

#include "core/TdOptionKeys.h"
#include "core/UtIniFile.h"
#include "platform/Exception.h"
#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

#include <set>

namespace {



QByteArray Font(const char* prefix, const char* name, int size, int bold, int italic, int underline, int strikeOut,
                int color) {
  const QByteArray p(prefix);
  return p + "FontName=" + name + "\n" + p + "FontSize=" + QByteArray::number(size) + "\n" + p +
         "FontBold=" + QByteArray::number(bold) + "\n" + p + "FontItalic=" + QByteArray::number(italic) + "\n" + p +
         "FontUnderline=" + QByteArray::number(underline) + "\n" + p + "FontStrikeOut=" + QByteArray::number(strikeOut) +
         "\n" + p + "FontColor=" + QByteArray::number(color) + "\n";
}

QByteArray Numbered(const char* prefix, std::initializer_list<int> values) {
  QByteArray lines;
  int n = 0;
  for (int v : values) lines += prefix + QByteArray::number(++n) + "=" + QByteArray::number(v) + "\n";
  return lines;
}

// Every key of the settings file with its default, in file order.
QByteArray DefaultFile() {
  return QByteArray(
             "[General]\n"
             "Left=-1\nTop=-1\nHeight=-1\nWidth=-1\n"
             "MenuXPStyle=1\nMenuShadows=1\nSplitterPercent=80\n"
             "ConfirmExit=0\nConfirmDelete=1\nConfirmArchive=1\nConfirmUndoDelete=1\nConfirmRestore=1\n"
             "SpecialDbLocation=0\nDatabaseFolder=/data/velmora-software/velmora/\nExportPath=\nSaveMinutes=2\n"
             "BackupFolder=\nAlwaysOnTop=0\nAutoStart=0\nMinimizeOnStart=0\nUseSystemTray=0\n"
             "ShowNotesAsHint=1\nShowNotesInMemo=1\nShowSortMarkers=1\nAutoFitColumns=1\nShortColumnNames=0\n"
             "ShowHorzGridLines=1\nShowVertGridLines=1\nGridColor=16711680\nDottedGrid=1\n"
             "AlwaysCapitalizeFirst=1\nHeaderHotTrack=1\nHeaderStyle=3\nQuickFilterMode=0\nViewTemplates=1\n"
             "HideZeroTabs=1\nMultiTabLines=0\nTabHotTrack=1\nTabPosition=1\nUseImagesOnTabs=1\n"
             "ShowNumbersOnTabs=1\nCurrentTabIndex=-1\n"
             "[Defaults]\n"
             "DefaultCategoryIndex=0\nDefaultResourceIndex=0\nDefaultDueDateDelta=7\nDefaultDueHour=22\n"
             "DefaultPriority=2\nDefaultStatus=0\nDefaultType=0\nDefaultReminderActivated=0\n"
             "DefaultReminderDateDelta=6\nDefaultReminderSoundPath=\nDefaultReminderType=1\n"
             "DefaultRepeatReminderInMins=60\n"
             "[Toolbar]\n"
             "ShowToolbar=1\nFlatButtons=1\nButtonText=1\nShowToolTips=1\n") +
         Numbered("ToolBarButtons", {1, 2, 3, 6, 11, 4, 0, 0, 0, 0, 0}) +
         "[Printing]\n"
         "PrinterName=\nOrientation=0\nPaperName=\nBinName=\nUseMargins=0\nPrintWidth=0\nPrintHeight=0\n"
         "MarginLeft=0\nMarginTop=0\nMarginRight=0\nMarginBottom=0\nMaxWidthTitle=1000\n"
         "BackColorEven=16777215\nBackColorOdd=16777215\n" +
         Font("PrintHeader", "Times New Roman", 12, 1, 0, 0, 0, 0) +
         Font("PrintNormal", "Times New Roman", 10, 0, 0, 0, 0, 0) +
         Font("PrintNotes", "Times New Roman", 8, 0, 0, 0, 0, 0) +
         Numbered("PrintColumn", {14, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}) +
         "AllTasks=1\nExtraGap=10\nPreviewWindowHeight=400\nPreviewWindowWidth=400\nPreviewZoomMode=1\n"
         "[Properties]\n"
         "UseNotes=1\nUsePriority=1\nUseType=1\nUseCategory=1\nUseResource=1\nUsePercent=1\nUseDTDue=1\n"
         "UseDTDueTime=1\nUseDTReminder=1\nUseAssociation=1\nUseFlagged=1\n"
         "DisplayDone=1\nDisplayID=0\nDisplayNotes=0\nDisplayPriority=1\nDisplayStatus=1\nDisplayType=1\n"
         "DisplayCategory=1\nDisplayResource=1\nDisplayPercent=0\nDisplayDTCreated=0\nDisplayDTCreatedTime=0\n"
         "DisplayDTDue=1\nDisplayDTDueTime=0\nDisplayDTCompleted=0\nDisplayDTCompletedTime=0\n"
         "DisplayImageDTReminder=0\nDisplayImageAssociation=0\nDisplayImagePriority=1\nDisplayImageStatus=1\n"
         "DisplayImageType=1\nDisplayImageCategory=1\nDisplayTextPriority=1\nDisplayTextStatus=1\n"
         "DisplayTextType=1\nDisplayTextCategory=1\nDisplayFlagged=1\nDisplayDaysGone=0\nDisplayDaysLeft=0\n"
         "DisplayRecurring=0\n"
         "[Fonts]\n" +
         Font("ColHeader", "MS Sans Serif", 8, 0, 0, 0, 0, 0) + Font("Completed", "MS Sans Serif", 8, 0, 0, 0, 1, 0) +
         Font("OverDue", "MS Sans Serif", 8, 0, 0, 0, 0, 255) + Font("Urgent", "MS Sans Serif", 8, 1, 0, 0, 0, 0) +
         Font("High", "MS Sans Serif", 8, 0, 0, 0, 0, 0) + Font("Medium", "MS Sans Serif", 8, 0, 0, 0, 0, 0) +
         Font("Low", "MS Sans Serif", 8, 0, 0, 0, 0, 0) + Font("None", "MS Sans Serif", 8, 0, 0, 0, 0, 0) +
         "[BkColors]\n"
         "CompletedBkColor=8454016\nOverDueBkColor=16777215\nUrgentBkColor=65535\nHighBkColor=16777215\n"
         "MediumBkColor=16777215\nLowBkColor=16777215\nNoneBkColor=16777215\nSelectedBkColor=16777088\n"
         "[Sorting]\n"
         "AutoSort=0\nSortElement1=2\nSortElement2=5\nSortElement3=3\nSortAsc1=1\nSortAsc2=1\nSortAsc3=1\n"
         "[Notes]\n" +
         Font("Notes", "MS Sans Serif", 8, 0, 0, 0, 0, 0) +
         "NotesBkColor=16777215\n"
         "[Positions]\n"
         "PosDone=0\nPosTitle=4\nPosID=14\nPosCategory=1\nPosPriority=2\nPosType=3\nPosDateTimeCreated=16\n"
         "PosDateTimeDue=5\nPosStatus=6\nPosPercent=7\nPosDateTimeCompleted=8\nPosDateTimeReminder=11\n"
         "PosAssociation=9\nPosNotes=10\nPosResource=12\nPosFlagged=13\nPosDaysGone=14\nPosDaysLeft=15\n"
         "PosRecurring=17\n"
         "[Filter]\n"
         "FilterOn=0\nFilterFlagMode=0\nFilterNotesMode=0\nFilterStatus=\nFilterPriority=\nFilterType=\n"
         "FilterCategoryIncl=\nFilterCategoryExcl=\nFilterResourceIncl=\nFilterResourceExcl=\n"
         "FilterCreatedDates=0\nFilterDueDates=0\nFilterCompletedDates=0\nFilterReminderDates=0\n"
         "FilterCreatedFirst=30.12.1899\nFilterCreatedLast=30.12.1899\nFilterDueFirst=30.12.1899\n"
         "FilterDueLast=30.12.1899\nFilterCompletedFirst=30.12.1899\nFilterCompletedLast=30.12.1899\n"
         "FilterReminderFirst=30.12.1899\nFilterReminderLast=30.12.1899\n";
}

// A record in which every key's field differs from its default and from every other
// field of its type, built through the key table.
TTdAppOptions EveryFieldChanged() {
  TTdAppOptions o;
  int n = 0;
  for (const TOptionKey& key : OptionKeys()) {
    ++n;
    std::visit(
        [&](auto* field) {
          using T = std::remove_pointer_t<decltype(field)>;
          const T def = std::get<T>(key.Default);
          if constexpr (std::is_same_v<T, bool>) *field = !def;
          else if constexpr (std::is_same_v<T, uint8_t>) *field = static_cast<uint8_t>(def + 1 + n % 200);
          else if constexpr (std::is_same_v<T, int32_t>) *field = 1000 + n;
          else if constexpr (std::is_same_v<T, QString>) *field = QStringLiteral("/text/%1/").arg(n);
          else if constexpr (std::is_same_v<T, TDateTime>) *field = DateTime::EncodeDateTime(2004, 5, 3, 17, 5, 9) + n;
          else *field = TIdArray{n, -n, 2 * n};
        },
        key.Field(o));
  }
  return o;
}

}  // namespace

TEST(OptionsFile, DefaultsAreWrittenSectionBySectionInKeyOrder) {
  OptionsPins pins;
  TempDir dir;
  TTdAppOptionsHandler handler(dir.File("pendra.ini"));
  handler.SetDefaultOptions();
  handler.WriteOptions(-1, -1, -1, -1);
  const QByteArray written = ReadAll(dir.File("pendra.ini"));
  const QList<QByteArray> lines = written.split('\n'), expected = DefaultFile().split('\n');
  for (qsizetype i = 0; i < std::min(lines.size(), expected.size()); ++i)
    ASSERT_EQ(lines[i], expected[i]) << "line " << i + 1;
  EXPECT_EQ(written, DefaultFile());
}

TEST(OptionsFile, EveryKeyFillsItsOwnField) {
  TTdAppOptions o;
  std::set<const void*> fields;
  for (const TOptionKey& key : OptionKeys()) {
    const void* field = std::visit([](auto* f) -> const void* { return f; }, key.Field(o));
    EXPECT_TRUE(fields.insert(field).second) << key.Key.toStdString() << " shares its field";
    EXPECT_GE(static_cast<const char*>(field), reinterpret_cast<const char*>(&o));
    EXPECT_LT(static_cast<const char*>(field), reinterpret_cast<const char*>(&o + 1));
  }
}

TEST(OptionsFile, ReadWriteReadKeepsEveryValue) {
  OptionsPins pins({5000, 5000});
  pins.SetVoice(true);
  TempDir dir;
  TTdAppOptionsHandler handler(dir.File("pendra.ini"));
  handler.Options() = EveryFieldChanged();
  const TTdAppOptions& o = handler.Options();
  ASSERT_TRUE(o.SpecialDbLocation);
  handler.WriteOptions(o.Left, o.Top, o.Width, o.Height);

  TTdAppOptionsHandler reader(dir.File("pendra.ini"));
  reader.ReadOptions();
  EXPECT_TRUE(reader.Options() == handler.Options());
  // Field by field, so a difference is named.
  TTdAppOptions& a = reader.Options();
  TTdAppOptions b = handler.Options();
  for (const TOptionKey& key : OptionKeys())
    EXPECT_TRUE(std::visit([&](auto* x) { return *x == *std::get<decltype(x)>(key.Field(b)); }, key.Field(a)))
        << key.Key.toStdString();

  reader.WriteOptions(o.Left, o.Top, o.Width, o.Height);
  TTdAppOptionsHandler third(dir.File("pendra.ini"));
  third.ReadOptions();
  EXPECT_TRUE(third.Options() == handler.Options());
}

TEST(OptionsFile, MissingFileGivesTheDefaultsFittedToTheScreen) {
  OptionsPins pins;
  TTdAppOptionsHandler defaults("/nowhere/pendra.ini");
  defaults.SetDefaultOptions();
  TTdAppOptionsHandler read("/nowhere/pendra.ini");
  read.ReadOptions();
  TTdAppOptions expected = defaults.Options();
  expected.Height = 691;  // 0.9 x 768, truncated
  expected.Width = 921;   // 0.9 x 1024, truncated
  EXPECT_TRUE(read.Options() == expected);
  EXPECT_EQ(read.Options().Left, -1);
  EXPECT_EQ(read.Options().DatabaseFolder, OptionsPins::kDataFolder);
}

TEST(OptionsFile, WindowBoundsComeFromTheCallerAndOtherContentStays) {
  OptionsPins pins;
  TempDir dir;
  const QString name = dir.File("pendra.ini");
  WriteAll(name, "; kept\n[General]\nLeft=1\n[Mine]\nKey=value\n");
  TTdAppOptionsHandler handler(name);
  handler.ReadOptions();
  handler.Options().Left = 11;
  handler.WriteOptions(20, 30, 640, 480);
  const TExtendedIniFile ini(name);
  EXPECT_EQ(ini.ReadInteger("General", "Left", 0), 20);
  EXPECT_EQ(ini.ReadInteger("General", "Top", 0), 30);
  EXPECT_EQ(ini.ReadInteger("General", "Width", 0), 640);
  EXPECT_EQ(ini.ReadInteger("General", "Height", 0), 480);
  EXPECT_EQ(ini.ReadString("Mine", "Key", ""), "value");
  EXPECT_TRUE(ReadAll(name).startsWith("; kept\n[General]\nLeft=20\n"));
}

TEST(OptionsFile, UnwritableFileIsReported) {
  OptionsPins pins;
  TempDir dir;
  TTdAppOptionsHandler handler(dir.File("missing/pendra.ini"));
  handler.SetDefaultOptions();
  try {
    handler.WriteOptions(0, 0, 800, 600);
    ADD_FAILURE() << "writing into a missing folder succeeded";
  } catch (const EWriteError& e) {
    EXPECT_TRUE(e.Message().contains("pendra.ini")) << e.Message().toStdString();
  }
}

TEST(OptionsFile, PrintedFieldsEndAtTheFirstEmptySlot) {
  OptionsPins pins;
  TempDir dir;
  const QString name = dir.File("pendra.ini");
  TTdAppOptionsHandler handler(name);
  handler.SetDefaultOptions();
  auto& columns = handler.Options().PrintColumn;
  columns = {1, 2, 3, 4, 5};
  handler.WriteOptions(0, 0, 800, 600);
  // Three chosen after five were stored.
  columns = {7, 8, 9};
  handler.WriteOptions(0, 0, 800, 600);
  TExtendedIniFile ini(name);
  QList<int> stored;
  for (int i = 1; i <= 6; ++i) stored << ini.ReadInteger("Printing", QStringLiteral("PrintColumn%1").arg(i), -1);
  EXPECT_EQ(stored, QList<int>({7, 8, 9, 0, 0, 0}));

  columns = {7, 0, 9};
  handler.WriteOptions(0, 0, 800, 600);
  EXPECT_EQ(TExtendedIniFile(name).ReadInteger("Printing", "PrintColumn3", -1), 0);
}
