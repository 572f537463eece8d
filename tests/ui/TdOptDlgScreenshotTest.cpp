// A picture of each page of the options dialog under a pinned font, compared with its
// reference in golden/ (VELMORA_UPDATE_GOLDEN=1 writes them): how the pages look to a
// user, and that nothing overlaps or is cut off as the layouts change.
#include "controls/Screenshot.h"

#include "SettingsTestSupport.h"
#include "controls/clnbk.h"
#include "support/FakeDesktop.h"
#include "ui/TdOptDlg.h"

#include <QApplication>
#include <QTest>

namespace {

TEST(OptionDialogScreenshot, EveryPage) {
  FakeDesktop desktop;
  DataFolderScope folder{QString::fromLatin1(kTestDataFolder)};
  FormatPin formats;
  FakeVoicePin voice;
  SettingsStores stores;
  TOptionDialogSources sources{stores.categories, stores.resources, stores.todos,
                               stores.types,      stores.smallImages, stores.taskImages};
  TTdAppOptions options = DefaultOptions();
  options.DefaultCategoryIndex = 1;
  TTdOptionDialog::ResetLastPage();
  TTdOptionDialog dialog(options, sources);
  dialog.setFont(screenshot::FixedFont());
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  const char* names[opPageCount] = {"options-general", "options-toolbar", "options-tab-filter",
                                    "options-fields",  "options-list",    "options-defaults"};
  for (int page = 0; page < opPageCount; ++page) {
    dialog.NoteBook()->SetPageIndex(page);
    QApplication::processEvents();
    EXPECT_TRUE(screenshot::MatchesGolden(dialog, QString::fromLatin1(names[page])));
  }
}

}  // namespace
