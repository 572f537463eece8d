// What stored values read as: the conversions, the clamps and the fallbacks.
#include "OptionsTestSupport.h"

#include "core/TdOptionText.h"
#include "core/UtIniFile.h"
#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

#include <climits>

namespace {

using O = TTdAppOptions;

// Reads a settings file of the given content.
TTdAppOptions ReadFile(const QByteArray& content) {
  TempDir dir;
  WriteAll(dir.File("pendra.ini"), content);
  TTdAppOptionsHandler handler(dir.File("pendra.ini"));
  handler.ReadOptions();
  return handler.Options();
}

QString Ids(const TIdArray& ids) { return IdArrayText(ids); }
template <typename T, size_t N>
QString Slots(const std::array<T, N>& values) {
  QStringList parts;
  for (T v : values) parts << QString::number(v);
  return parts.join(',');
}

}  // namespace

TEST(OptionsRead, StoredValuesAndWhatTheyReadAs) {
  OptionsPins pins;  // a 1024 x 768 screen, no speech voice
  struct Case {
    const char* section;
    const char* key;
    const char* stored;  // nullptr: the key is missing
    std::function<QString(const O&)> field;
    const char* expected;
  } cases[] = {
      // Window bounds fitted to the screen.
      {"General", "Left", "5000", [](const O& o) { return QString::number(o.Left); }, "100"},
      {"General", "Left", "1024", [](const O& o) { return QString::number(o.Left); }, "1024"},
      {"General", "Left", "-1", [](const O& o) { return QString::number(o.Left); }, "-1"},
      {"General", "Top", "769", [](const O& o) { return QString::number(o.Top); }, "100"},
      {"General", "Top", "768", [](const O& o) { return QString::number(o.Top); }, "768"},
      {"General", "Width", "300", [](const O& o) { return QString::number(o.Width); }, "921"},
      {"General", "Width", "339", [](const O& o) { return QString::number(o.Width); }, "921"},
      {"General", "Width", "340", [](const O& o) { return QString::number(o.Width); }, "340"},
      {"General", "Height", "399", [](const O& o) { return QString::number(o.Height); }, "691"},
      {"General", "Height", "400", [](const O& o) { return QString::number(o.Height); }, "400"},
      {"General", "Height", nullptr, [](const O& o) { return QString::number(o.Height); }, "691"},
      {"General", "Height", "tall", [](const O& o) { return QString::number(o.Height); }, "691"},
      // Integers, colours and enumerations.
      {"General", "SaveMinutes", "0", [](const O& o) { return QString::number(o.SaveMinutes); }, "0"},
      {"General", "SaveMinutes", "-5", [](const O& o) { return QString::number(o.SaveMinutes); }, "-5"},
      {"General", "SaveMinutes", "5x", [](const O& o) { return QString::number(o.SaveMinutes); }, "2"},
      {"General", "GridColor", "$FF", [](const O& o) { return QString::number(o.GridColor); }, "255"},
      {"General", "GridColor", "-16777201", [](const O& o) { return QString::number(o.GridColor); }, "-16777201"},
      {"General", "HeaderStyle", "259", [](const O& o) { return QString::number(o.HeaderStyle); }, "3"},
      {"General", "HeaderStyle", "-1", [](const O& o) { return QString::number(o.HeaderStyle); }, "255"},
      {"Sorting", "SortElement2", "x", [](const O& o) { return QString::number(o.SortElement2); }, "5"},
      // Booleans: any integer other than 0 is true; other text gives the default.
      {"General", "ConfirmExit", "2", [](const O& o) { return QString::number(o.ConfirmExit); }, "1"},
      {"General", "ConfirmExit", "yes", [](const O& o) { return QString::number(o.ConfirmExit); }, "0"},
      {"General", "ConfirmDelete", "0", [](const O& o) { return QString::number(o.ConfirmDelete); }, "0"},
      {"General", "ConfirmDelete", "no", [](const O& o) { return QString::number(o.ConfirmDelete); }, "1"},
      {"Properties", "UseDTDueTime", "0", [](const O& o) { return QString::number(o.UseDTDueTime); }, "0"},
      {"Fonts", "UrgentFontBold", "0", [](const O& o) { return QString::number(o.UrgentFont.Bold); }, "0"},
      // Strings.
      {"General", "ExportPath", "  /tmp/tasks.csv  ", [](const O& o) { return o.ExportPath; }, "/tmp/tasks.csv"},
      {"Notes", "NotesFontName", "\"DejaVu Sans\"", [](const O& o) { return o.NotesFont.Name; }, "DejaVu Sans"},
      // Id lists.
      {"Filter", "FilterStatus", "1;;3", [](const O& o) { return Ids(o.FilterStatus); }, "1;3"},
      {"Filter", "FilterStatus", "1;x", [](const O& o) { return Ids(o.FilterStatus); }, ""},
      {"Filter", "FilterType", ";;", [](const O& o) { return Ids(o.FilterType); }, ""},
      {"Filter", "FilterCategoryExcl", " 4; -2;", [](const O& o) { return Ids(o.FilterCategoryExcl); }, "4;-2"},
      {"Filter", "FilterCategoryIncl", "4 ;2", [](const O& o) { return Ids(o.FilterCategoryIncl); }, ""},
      {"Filter", "FilterResourceIncl", "99999999999", [](const O& o) { return Ids(o.FilterResourceIncl); }, ""},
      // Date-times (dd.MM.yyyy HH:mm pinned).
      {"Filter", "FilterDueFirst", "03.05.2004 17:05:09",
       [](const O& o) { return QString::number(o.FilterDueFirst - DateTime::EncodeDateTime(2004, 5, 3, 17, 5, 9)); }, "0"},
      {"Filter", "FilterDueLast", "03.05.2004",
       [](const O& o) { return QString::number(o.FilterDueLast - DateTime::EncodeDate(2004, 5, 3)); }, "0"},
      {"Filter", "FilterReminderLast", "next week", [](const O& o) { return QString::number(o.FilterReminderLast); }, "0"},
      // Without a speech voice the default reminder loses its speech part.
      {"Defaults", "DefaultReminderType", "3", [](const O& o) { return QString::number(o.DefaultReminderType); }, "1"},
      {"Defaults", "DefaultReminderType", "7", [](const O& o) { return QString::number(o.DefaultReminderType); }, "6"},
      {"Defaults", "DefaultReminderType", "2", [](const O& o) { return QString::number(o.DefaultReminderType); }, "2"},
      // The tool bar's and the printed fields' standard choices.
      {"Toolbar", "ShowToolbar", "1", [](const O& o) { return Slots(o.ToolBarButtons); }, "1,2,3,6,11,4,0,0,0,0,0"},
      {"Toolbar", "ShowToolbar", "0", [](const O& o) { return Slots(o.ToolBarButtons); }, "0,0,0,0,0,0,0,0,0,0,0"},
      {"Toolbar", "ToolBarButtons1", "5", [](const O& o) { return Slots(o.ToolBarButtons); }, "5,0,0,0,0,0,0,0,0,0,0"},
      {"Toolbar", "ToolBarButtons7", "9", [](const O& o) { return Slots(o.ToolBarButtons); }, "1,2,3,6,11,4,9,0,0,0,0"},
      {"Printing", "PrintColumn1", "0", [](const O& o) { return Slots(o.PrintColumn).left(9); }, "14,5,0,0,"},
      {"Printing", "PrintColumn3", "9", [](const O& o) { return Slots(o.PrintColumn).left(9); }, "14,5,0,0,"},
      {"Printing", "PrintColumn1", "3", [](const O& o) { return Slots(o.PrintColumn).left(9); }, "3,0,0,0,0"},
  };
  for (const Case& c : cases) {
    QByteArray content = QByteArray("[") + c.section + "]\n";
    if (c.stored) content += QByteArray(c.key) + "=" + c.stored + "\n";
    EXPECT_EQ(c.field(ReadFile(content)), QString::fromLatin1(c.expected)) << c.key << "=" << (c.stored ? c.stored : "(missing)");
  }
}

TEST(OptionsRead, ClampsFollowTheScreen) {
  OptionsPins pins({1920, 1080});
  const TTdAppOptions o = ReadFile("[General]\nLeft=1500\nTop=1100\nWidth=100\nHeight=100\n");
  EXPECT_EQ(o.Left, 1500);
  EXPECT_EQ(o.Top, 100);
  EXPECT_EQ(o.Width, 1728);
  EXPECT_EQ(o.Height, 972);
}

TEST(OptionsRead, SpeechTypesStayWithAVoice) {
  OptionsPins pins;
  pins.SetVoice(true);
  EXPECT_EQ(ReadFile("[Defaults]\nDefaultReminderType=7\n").DefaultReminderType, 7);
}

TEST(OptionsRead, DatabaseFolderCountsOnlyWithSpecialDbLocation) {
  OptionsPins pins;
  struct Case {
    const char* content;
    QString expected;
  } cases[] = {
      {"[General]\nSpecialDbLocation=0\nDatabaseFolder=/srv/tasks/\n", OptionsPins::kDataFolder},
      {"[General]\nSpecialDbLocation=1\nDatabaseFolder=/srv/tasks/\n", "/srv/tasks/"},
      {"[General]\nSpecialDbLocation=1\nDatabaseFolder=\n", OptionsPins::kDataFolder},
      {"[General]\nSpecialDbLocation=1\n", OptionsPins::kDataFolder},
      {"[General]\nSpecialDbLocation=1\nDatabaseFolder=/srv/tasks\n", "/srv/tasks/"},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadFile(c.content).DatabaseFolder, c.expected) << c.content;

  // The ignored folder is replaced in the file at the next save.
  TempDir dir;
  const QString name = dir.File("pendra.ini");
  WriteAll(name, "[General]\nSpecialDbLocation=0\nDatabaseFolder=/srv/tasks/\n");
  TTdAppOptionsHandler handler(name);
  handler.ReadOptions();
  handler.WriteOptions(0, 0, 800, 600);
  EXPECT_EQ(TExtendedIniFile(name).ReadIniString("General", "DatabaseFolder", ""), OptionsPins::kDataFolder);
}

TEST(OptionsRead, FilterCriteria) {
  struct Case {
    const char* what;
    std::function<void(O&)> set;
    bool criteria, excludesDone;
  } cases[] = {
      {"nothing", [](O&) {}, false, false},
      {"flag mode", [](O& o) { o.FilterFlagMode = 1; }, true, false},
      {"notes mode", [](O& o) { o.FilterNotesMode = 2; }, true, false},
      {"open statuses", [](O& o) { o.FilterStatus = {0, 1, 2}; }, true, true},
      {"with cancelled", [](O& o) { o.FilterStatus = {1, 4}; }, true, false},
      {"with OK", [](O& o) { o.FilterStatus = {5}; }, true, false},
      {"priorities", [](O& o) { o.FilterPriority = {3}; }, true, false},
      {"types", [](O& o) { o.FilterType = {1}; }, true, false},
      {"categories in", [](O& o) { o.FilterCategoryIncl = {1}; }, true, false},
      {"categories out", [](O& o) { o.FilterCategoryExcl = {1}; }, true, false},
      {"resources in", [](O& o) { o.FilterResourceIncl = {1}; }, true, false},
      {"resources out", [](O& o) { o.FilterResourceExcl = {1}; }, true, false},
      {"created window", [](O& o) { o.FilterCreatedDates = true; }, true, false},
      {"due window", [](O& o) { o.FilterDueDates = true; }, true, false},
      {"completed window", [](O& o) { o.FilterCompletedDates = true; }, true, false},
      {"reminder window", [](O& o) { o.FilterReminderDates = true; }, true, false},
      {"switch alone", [](O& o) { o.FilterOn = true; }, false, false},
  };
  for (const Case& c : cases) {
    TTdAppOptionsHandler handler("/x/pendra.ini");
    c.set(handler.Options());
    EXPECT_EQ(handler.HasFilterCriteria(), c.criteria) << c.what;
    EXPECT_EQ(handler.StatusFilterExcludesDone(), c.excludesDone) << c.what;
  }
}

TEST(OptionsRead, AutoSaveInterval) {
  struct Case {
    int minutes, ms;
  } cases[] = {{0, 0}, {-1, 0}, {INT_MIN, 0}, {2, 120000}, {35791, 2147460000}, {35792, INT_MAX}, {INT_MAX, INT_MAX}};
  for (const Case& c : cases) EXPECT_EQ(AutoSaveIntervalMs(c.minutes), c.ms) << c.minutes;
}
