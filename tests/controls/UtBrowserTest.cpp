#include "controls/ShBase.h"
#include "controls/ShConst.h"
#include "controls/UtBrowsr.h"
#include "support/FakeDesktop.h"

#include <QWidget>
#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

// A folder dialog that plays a user: it opens (size 400 x 300), then the user selects
// the folders in `selections` and ends with `choice` (nothing: Cancel).
class FakeFolderDialogs : public FolderDialogHost, public FolderDialogWindow {
public:
  FakeFolderDialogs() = default;

  std::optional<FolderChoice> Run(const FolderDialogRequest& request, FolderDialogEvents& events) override {
    this->request = request;
    events.Initialized(*this);
    for (const QString& path : selections) events.SelectionChanged(path);
    if (whileOpen) whileOpen();
    events.Closed();
    return choice;
  }
  void SetCaption(const QString& caption) override { log << "caption:" + caption; }
  void SetSelection(const QString& path) override { log << "select:" + path; }
  void SetStatusText(const QString& text) override { log << "status:" + text; }
  QSize Size() const override { return {400, 300}; }
  void Move(const QPoint& topLeft) override { log << QStringLiteral("move:%1,%2").arg(topLeft.x()).arg(topLeft.y()); }

  QStringList selections;
  std::function<void()> whileOpen;
  std::optional<FolderChoice> choice;
  FolderDialogRequest request;
  QStringList log;

private:
  FolderDialogsScope scope_{*this};
};

TEST(UtBrowser, SelectedFolderLosesOneTrailingSeparator) {
  const struct {
    const char* given;
    const char* kept;
  } cases[] = {
      {"/home/ann/", "/home/ann"}, {"/home/ann", "/home/ann"}, {"/", "/"},
      {"", ""},                    {"/data//", "/data/"},     {"relative/", "relative"},
  };
  TUtBrowser browser;
  for (const auto& c : cases) {
    browser.SetSelectedFolder(QString::fromUtf8(c.given));
    EXPECT_EQ(browser.SelectedFolder(), QString::fromUtf8(c.kept)) << c.given;
  }
}

TEST(UtBrowser, OpensCentredOnTheSelectedFolder) {
  FakeDesktop desktop;
  desktop.screenSize = QSize(1280, 1024);
  FakeFolderDialogs dialogs;
  QWidget owner;
  TUtBrowser browser(&owner);
  browser.SetCaption("Backup");
  browser.SetAdditionalText("Select a backup folder");
  browser.SetStatusText("Ready");
  browser.SetSelectedFolder("/home/ann/backup/");
  QStringList events;
  browser.OnShow = [&](TUtCustomBrowser& sender) { events << "show:" + sender.SelectedFolder(); };
  browser.OnSelChanged = [&](TUtCustomBrowser& sender) { events << "changed:" + sender.SelectedFolder(); };
  dialogs.selections = {"/home/ann/", ""};
  dialogs.whileOpen = [&] { browser.SetStatusText("Busy"); };
  dialogs.choice = FolderChoice{"/home/ann/archive", "archive", 3};

  ASSERT_TRUE(browser.Execute());
  EXPECT_EQ(dialogs.request.owner, &owner);
  EXPECT_EQ(dialogs.request.title, "Select a backup folder");
  EXPECT_TRUE(dialogs.request.statusLine);
  EXPECT_EQ(dialogs.log, (QStringList{"caption:Backup", "select:/home/ann/backup", "status:Ready", "move:440,362",
                                      "status:Busy"}));
  EXPECT_EQ(events, (QStringList{"show:/home/ann/backup", "changed:/home/ann", "changed:"}));
  EXPECT_EQ(browser.Folder(), "/home/ann/archive");
  EXPECT_EQ(browser.DisplayName(), "archive");
  EXPECT_EQ(browser.ImageIndex(), 3);
  browser.SetStatusText("Closed");
  EXPECT_EQ(dialogs.log.size(), 5) << "a closed dialog hears nothing";
}

TEST(UtBrowser, NothingChosenLeavesTheFolder) {
  FakeFolderDialogs dialogs;
  TUtBrowser browser;
  browser.SetPosition(TUtBrowsePosition::bpDefault);
  dialogs.choice = FolderChoice{"/srv/first", "first", 1};
  ASSERT_TRUE(browser.Execute());
  EXPECT_TRUE(dialogs.log.filter("move:").isEmpty());

  dialogs.choice.reset();
  EXPECT_FALSE(browser.Execute()) << "cancelled";
  dialogs.choice = FolderChoice{"", "Network", 7};
  EXPECT_FALSE(browser.Execute()) << "an item without a path is no folder";
  EXPECT_EQ(browser.Folder(), "/srv/first");
  EXPECT_EQ(browser.DisplayName(), "");
  EXPECT_EQ(browser.ImageIndex(), 0);
}

TEST(UtBrowser, RootsAndOptions) {
  FakeFolderDialogs dialogs;
  TUtBrowser browser;
  EXPECT_EQ(browser.Options(), TUtBrowseOptions(boReturnOnlyDirs));
  browser.SetRootFolder("/srv");
  browser.SetOptions(boShowFiles | boBrowseForPrinter);
  browser.Execute();
  EXPECT_EQ(dialogs.request.root, "/srv");
  EXPECT_TRUE(dialogs.request.showFiles);

  const struct {
    TUtSpecialRootFolder folder;
    int id;
    bool hasPath;
  } cases[] = {
      {TUtSpecialRootFolder::sfDrives, 17, true},    {TUtSpecialRootFolder::sfPersonal, 5, true},
      {TUtSpecialRootFolder::sfNetwork, 18, false},  {TUtSpecialRootFolder::sfPrinters, 4, false},
      {TUtSpecialRootFolder::sfHistory, 34, false},
  };
  for (const auto& c : cases) {
    browser.SetSpecialRootFolder(c.folder);
    EXPECT_EQ(browser.SpecialRootFolderID(), c.id);
    browser.Execute();
    EXPECT_EQ(!dialogs.request.root.isEmpty(), c.hasPath) << c.id << " " << dialogs.request.root.toStdString();
  }
}

TEST(ShComponents, VersionsAndMessages) {
  const struct {
    const char* text;
    double number;
  } cases[] = {{"4.72", 4.72}, {"6.4.2", 6.4}, {"4.72.3110.0", 4.72}, {"10.123.4", 10.12}, {"abc", 0}, {"", 0}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(VersionTextToNumber(c.text), c.number) << c.text;
  TUtBrowser browser;
  EXPECT_GE(browser.ShellVersion(), 4.7) << "folder dialogs here offer files and an edit box";
  browser.SetVersion("9.99");
  EXPECT_EQ(browser.Version(), "1.02");
  EXPECT_EQ(ShellMessageText(ShMsg::NotSupportedByShell), "Operation not supported in this version of the shell");
  EXPECT_EQ(ShellMessageText(999), "");
  const EShShellError error(ShMsg::TrayIconError);
  EXPECT_EQ(error.Message(), "Tray icon error");
}

}  // namespace
