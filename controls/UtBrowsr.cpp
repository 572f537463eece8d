#include "controls/UtBrowsr.h"

#include "controls/ShConst.h"
#include "platform/Application.h"
#include "platform/Desktop.h"

#include <QStandardPaths>
#include <QWidget>

namespace {

using enum TUtSpecialRootFolder;

struct SpecialFolder {
  TUtSpecialRootFolder folder;
  int id;
};

constexpr SpecialFolder kSpecialFolders[] = {
    {sfNone, 0},          {sfDesktop, 0},          {sfInternet, 1},          {sfPrograms, 2},
    {sfControlPanel, 3},  {sfPrinters, 4},         {sfPersonal, 5},          {sfFavorites, 6},
    {sfStartup, 7},       {sfRecent, 8},           {sfSendTo, 9},            {sfRecycleBin, 10},
    {sfStartMenu, 11},    {sfDesktopDirectory, 16}, {sfDrives, 17},          {sfNetwork, 18},
    {sfNetHood, 19},      {sfFonts, 20},           {sfTemplates, 21},        {sfCommonStartMenu, 22},
    {sfCommonPrograms, 23}, {sfCommonStartup, 24}, {sfCommonDesktopDirectory, 25}, {sfAppData, 26},
    {sfPrintHood, 27},    {sfAltStartup, 29},      {sfCommonAltStartup, 30}, {sfCommonFavorites, 31},
    {sfInternetCache, 32}, {sfCookies, 33},        {sfHistory, 34},
};

// Roots that came with a newer shell: the Internet, and alternate startup to history.
bool NeedsNewerShell(int id) { return id == 1 || (id >= 29 && id <= 34); }
constexpr double kNewerShell = 4.7;

QString Location(QStandardPaths::StandardLocation location) { return QStandardPaths::writableLocation(location); }

}  // namespace

int SpecialFolderId(TUtSpecialRootFolder folder) {
  for (const SpecialFolder& special : kSpecialFolders) {
    if (special.folder == folder) return special.id;
  }
  return 0;
}

QString SpecialFolderPath(TUtSpecialRootFolder folder) {
  switch (folder) {
    case sfDesktop:
    case sfDesktopDirectory:
    case sfCommonDesktopDirectory: return Location(QStandardPaths::DesktopLocation);
    case sfPersonal: return Location(QStandardPaths::DocumentsLocation);
    case sfPrograms:
    case sfStartMenu:
    case sfCommonPrograms:
    case sfCommonStartMenu: return Location(QStandardPaths::ApplicationsLocation);
    case sfStartup:
    case sfCommonStartup:
    case sfAltStartup:
    case sfCommonAltStartup: return Location(QStandardPaths::GenericConfigLocation) + QStringLiteral("/autostart");
    case sfDrives: return QStringLiteral("/");
    case sfFonts: return Location(QStandardPaths::FontsLocation);
    case sfAppData: return Location(QStandardPaths::GenericDataLocation);
    case sfInternetCache: return Location(QStandardPaths::GenericCacheLocation);
    default: return QString();
  }
}

TUtCustomBrowser::TUtCustomBrowser(QObject* owner) : TShShellComponent(owner) {}

void TUtCustomBrowser::SetSelectedFolder(const QString& folder) {
  selectedFolder_ = folder;
  if (selectedFolder_.size() > 1 && selectedFolder_.endsWith(QLatin1Char('/'))) selectedFolder_.chop(1);
}

void TUtCustomBrowser::SetSpecialRootFolder(TUtSpecialRootFolder folder) {
  const int id = SpecialFolderId(folder);
  if (NeedsNewerShell(id) && ShellVersion() < kNewerShell) throw EShShellError(ShMsg::NotSupportedByShell);
  specialRootFolder_ = folder;
  specialRootFolderId_ = id;
}

void TUtCustomBrowser::SetStatusText(const QString& text) {
  statusText_ = text;
  if (window_ != nullptr) window_->SetStatusText(text);
}

bool TUtCustomBrowser::Execute() {
  FolderDialogRequest request;
  if (auto* widget = qobject_cast<QWidget*>(parent())) request.owner = widget->window();
  if ((options_ & (boShowFiles | boEditBox)) && ShellVersion() < kNewerShell) {
    throw EShShellError(ShMsg::NotSupportedByShell);
  }
  request.title = additionalText_;
  request.statusLine = !statusText_.isEmpty();
  request.showFiles = options_.testFlag(boShowFiles);
  request.editBox = options_.testFlag(boEditBox);
  request.root = specialRootFolder_ == sfNone ? rootFolder_ : SpecialFolderPath(specialRootFolder_);

  struct Forget {
    FolderDialogWindow*& window;
    ~Forget() { window = nullptr; }
  } forget{window_};
  const std::optional<FolderChoice> choice = FolderDialogs().Run(request, *this);
  if (!choice.has_value() || choice->path.isEmpty()) {
    displayName_.clear();
    imageIndex_ = 0;
    return false;
  }
  folder_ = choice->path;
  displayName_ = choice->displayName;
  imageIndex_ = choice->imageIndex;
  return true;
}

void TUtCustomBrowser::Initialized(FolderDialogWindow& window) {
  window_ = &window;
  if (!caption_.isEmpty()) window.SetCaption(caption_);
  window.SetSelection(selectedFolder_);
  if (!statusText_.isEmpty()) window.SetStatusText(statusText_);
  if (position_ == TUtBrowsePosition::bpScreenCenter) {
    const QSize screen = Desktop().ScreenSize();
    const QSize size = window.Size();
    window.Move(QPoint(screen.width() / 2 - size.width() / 2, screen.height() / 2 - size.height() / 2));
  }
  if (OnShow) OnShow(*this);
}

void TUtCustomBrowser::SelectionChanged(const QString& path) {
  if (window_ == nullptr) return;
  // Reached from the dialog's signals: nothing may escape back into them.
  RunGuarded([&] {
    SetSelectedFolder(path);
    if (OnSelChanged) OnSelChanged(*this);
  });
}
