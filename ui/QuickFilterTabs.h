#pragma once
// The quick-filter tabs above the task list: one tab per status, priority, category,
// resource, type or due-date group, by QuickFilterMode, with the tab's value, its
// caption (with the count of its tasks when ShowNumbersOnTabs) and its image.
#include "core/TdOption.h"
#include "platform/DateTime.h"

#include <QString>

#include <vector>

class TTdCategoryHandler;
class TTdResourceHandler;
class TTdTypeHandler;
class TTdTodoHandler;
struct TFormatSettings;

struct TQuickFilterTab {
  QString Text;
  int Value = 0;   // status, priority, lookup position or group number
  int Image = -1;  // into TaskTreeImages; -1 for none
  bool operator==(const TQuickFilterTab&) const = default;
};

struct TQuickFilterSources {
  const TTdTodoHandler* Tasks = nullptr;
  const TTdCategoryHandler* Categories = nullptr;
  const TTdResourceHandler* Resources = nullptr;
  const TTdTypeHandler* Types = nullptr;
};

// The tabs of the options' mode (none for mode 0 and unknown modes). Every tab's count
// comes from one pass over the tasks: templates count only with ViewTemplates; the
// due-date groups count open tasks only. HideZeroTabs leaves out tabs without tasks.
std::vector<TQuickFilterTab> BuildQuickFilterTabList(const TQuickFilterSources& sources, const TTdAppOptions& options,
                                                     const TFormatSettings& formats, TDateTime today);

// Whether the tabs show images: UseImagesOnTabs, and a mode with images (not resources,
// not the due-date groups).
bool TabsUseImages(const TTdAppOptions& options);

// The tab selected after a rebuild: none without tabs; the first with reset; else the
// previous one when it is still there, else the first. A previous -1 (none) stays -1.
int ReselectTab(int previous, int tabCount, bool reset);
