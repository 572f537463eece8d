#pragma once
// The program's shared image lists and the image indexes of the task attributes.
//
//   LargeImages, DisabledLargeImages, HotLargeImages   24 x 24, 21 images  tool bar
//   SmallImages, DisabledSmallImages, HotSmallImages   16 x 16, 25 images  menus, actions,
//                                                                          tool-button glyphs
//   TaskTreeImages                                     16 x 16, 55 images  tree cells, tabs,
//       combo boxes, list editors; file-type icons of associations are appended at run time
//
// Image 0 of every list is empty. The action images (TActionImage) are the same in the
// large and the small lists; where the desktop's icon theme has an icon for the action
// that one is used, else our own (resources/common, drawn by make_images.py).
//
// One instance, CommonModule(), lives from its first use to the end of the program;
// windows and dialogs take their lists from it. Tests may build their own.
#include "treeview/LazyTreeImageList.h"

#include <QIcon>
#include <QObject>

#include <cstdint>

// Images of the large and small lists, by action.
enum TActionImage : int {
  aiNone = 0,
  aiAddTask = 1,
  aiDeleteTask = 2,
  aiPrint = 3,
  aiOptions = 4,
  aiEditFilter = 5,
  aiSort = 6,
  aiHelp = 7,
  aiExit = 8,
  aiFind = 9,
  aiEditTask = 10,
  aiBackup = 11,
  aiExport = 12,
  aiUndoDelete = 13,
  aiArchiveTasks = 14,
  aiViewArchive = 15,
  aiCategories = 16,
  aiResources = 17,
  aiTypes = 18,
  aiFilterOn = 19,   // the filter toggle while the filter is on
  aiFilterOff = 20,  // ... and while it is off
  // Small list only.
  aiSearchAgain = 21,
  aiAbout = 22,
  aiWebLink = 23,
  aiRestore = 24,
};

constexpr int kLargeImageCount = 21;
constexpr int kSmallImageCount = 25;
constexpr int kTaskTreeImageCount = 55;

// Fixed images of TaskTreeImages besides the priority, status and reminder ones.
constexpr int kFlagImage = 5;
constexpr int kRecurringImage = 54;
// The glyphs the category and type editors offer: images 13 to 51.
constexpr int kFirstGlyphImage = 13;
constexpr int kGlyphImageCount = 39;

class TCommonModule : public QObject {
  Q_OBJECT

public:
  explicit TCommonModule(QObject* parent = nullptr);
  ~TCommonModule() override;

  TLTImageList* LargeImages() const { return large_; }
  TLTImageList* DisabledLargeImages() const { return disabledLarge_; }
  TLTImageList* HotLargeImages() const { return hotLarge_; }
  TLTImageList* SmallImages() const { return small_; }
  TLTImageList* DisabledSmallImages() const { return disabledSmall_; }
  TLTImageList* HotSmallImages() const { return hotSmall_; }
  TLTImageList* TaskTreeImages() const { return taskTree_; }

  // An image of a list as an icon (normal, disabled and hot modes from the three lists
  // of that size), for actions and buttons.
  QIcon LargeIcon(int index) const;
  QIcon SmallIcon(int index) const;
  QIcon TaskTreeIcon(int index) const;

private:
  TLTImageList* large_;
  TLTImageList* disabledLarge_;
  TLTImageList* hotLarge_;
  TLTImageList* small_;
  TLTImageList* disabledSmall_;
  TLTImageList* hotSmall_;
  TLTImageList* taskTree_;
};

// The program's one module, made at the first call (the application object must exist).
TCommonModule& CommonModule();

// Image indexes into TaskTreeImages; the caller's default for a value outside the map.
int PriorityImage(int32_t priority, int defaultIndex = 0);
int StatusImage(int32_t status, int defaultIndex = 0);
// 10 beep only, 11 sound without speech, 12 any type with speech.
int ReminderImage(int32_t reminderType, int defaultIndex = 0);
inline int FlagImage(bool flagged) { return flagged ? kFlagImage : 0; }
inline int RecurringImage(bool templateOrFromTemplate) { return templateOrFromTemplate ? kRecurringImage : 0; }

// The freedesktop icon name of an action image, empty where none fits.
QString ActionThemeIconName(int actionImage);
