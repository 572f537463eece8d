#pragma once
// The folder picker: a modal folder dialog that opens on SelectedFolder and gives the
// chosen folder in Folder. Callers set SelectedFolder, call Execute and take Folder
// when it returns true.
#include "controls/FolderDialog.h"
#include "controls/ShBase.h"

#include <QFlags>
#include <QString>

#include <functional>

enum TUtBrowseOption : unsigned {
  boBrowseForComputer = 0x01,
  boBrowseForPrinter = 0x02,
  boDontGoBelowDomain = 0x04,
  boReturnOnlyAncestors = 0x08,
  boReturnOnlyDirs = 0x10,
  boShowFiles = 0x20,
  boEditBox = 0x40,
};
Q_DECLARE_FLAGS(TUtBrowseOptions, TUtBrowseOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TUtBrowseOptions)

enum class TUtBrowsePosition { bpDefault, bpScreenCenter };

// Special folders as the tree's root, each with the shell's number of the same meaning.
enum class TUtSpecialRootFolder {
  sfNone, sfDesktop, sfInternet, sfPrograms, sfControlPanel, sfPrinters, sfPersonal, sfFavorites, sfStartup,
  sfRecent, sfSendTo, sfRecycleBin, sfStartMenu, sfDesktopDirectory, sfDrives, sfNetwork, sfNetHood, sfFonts,
  sfTemplates, sfCommonStartMenu, sfCommonPrograms, sfCommonStartup, sfCommonDesktopDirectory, sfAppData,
  sfPrintHood, sfAltStartup, sfCommonAltStartup, sfCommonFavorites, sfInternetCache, sfCookies, sfHistory,
};

// The shell's special-folder number of a root.
int SpecialFolderId(TUtSpecialRootFolder folder);
// The folder a special root stands for here; empty for those without a place in the
// file system (network, printers, control panel...), which then root at the top.
QString SpecialFolderPath(TUtSpecialRootFolder folder);

class TUtCustomBrowser : public TShShellComponent, private FolderDialogEvents {
  Q_OBJECT

public:
  explicit TUtCustomBrowser(QObject* owner = nullptr);

  QString AdditionalText() const { return additionalText_; }
  void SetAdditionalText(const QString& text) { additionalText_ = text; }
  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption) { caption_ = caption; }
  // Computer, printer and domain options have no meaning here and are kept but unused.
  TUtBrowseOptions Options() const { return options_; }
  void SetOptions(TUtBrowseOptions options) { options_ = options; }
  TUtBrowsePosition Position() const { return position_; }
  void SetPosition(TUtBrowsePosition position) { position_ = position; }
  QString RootFolder() const { return rootFolder_; }
  void SetRootFolder(const QString& folder) { rootFolder_ = folder; }
  // One trailing "/" is dropped, except from the root "/" itself.
  QString SelectedFolder() const { return selectedFolder_; }
  void SetSelectedFolder(const QString& folder);
  TUtSpecialRootFolder SpecialRootFolder() const { return specialRootFolder_; }
  // Raises EShShellError when the toolkit is too old for that root.
  void SetSpecialRootFolder(TUtSpecialRootFolder folder);
  int SpecialRootFolderID() const { return specialRootFolderId_; }
  QString StatusText() const { return statusText_; }
  // Reaches an open dialog at once.
  void SetStatusText(const QString& text);

  // Runs the dialog; true when the user chose a folder. An item without a place in the
  // file system counts as no choice.
  bool Execute();
  QString Folder() const { return folder_; }
  QString DisplayName() const { return displayName_; }
  int ImageIndex() const { return imageIndex_; }

  std::function<void(TUtCustomBrowser& sender)> OnShow;
  std::function<void(TUtCustomBrowser& sender)> OnSelChanged;

private:
  void Initialized(FolderDialogWindow& window) override;
  void SelectionChanged(const QString& path) override;
  void Closed() override { window_ = nullptr; }

  QString additionalText_;
  QString caption_;
  TUtBrowseOptions options_ = boReturnOnlyDirs;
  TUtBrowsePosition position_ = TUtBrowsePosition::bpScreenCenter;
  QString rootFolder_;
  QString selectedFolder_;
  TUtSpecialRootFolder specialRootFolder_ = TUtSpecialRootFolder::sfNone;
  int specialRootFolderId_ = 0;
  QString statusText_;
  QString folder_;
  QString displayName_;
  int imageIndex_ = 0;
  FolderDialogWindow* window_ = nullptr;
};

class TUtBrowser : public TUtCustomBrowser {
  Q_OBJECT

public:
  using TUtCustomBrowser::TUtCustomBrowser;
};
