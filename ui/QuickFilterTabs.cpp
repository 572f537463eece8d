#include "ui/QuickFilterTabs.h"

#include "core/BCat.h"
#include "core/BRes.h"
#include "core/BTodo.h"
#include "core/BType.h"
#include "platform/FormatSettings.h"
#include "ui/TaskFilter.h"

namespace {

// Counts per value 0..size-1 in one pass; values outside are not counted.
std::vector<int> CountByValue(const TTdTodoHandler& tasks, int mode, int size, bool withTemplates, bool openOnly,
                              TDateTime today) {
  std::vector<int> counts(static_cast<size_t>(std::max(size, 0)), 0);
  for (const auto& task : tasks.Todos()) {
    if ((!withTemplates && task->IsTemplate()) || (openOnly && task->IsClosed())) continue;
    const int value = TaskTabValue(*task, mode, today);
    if (value >= 0 && value < size) ++counts[static_cast<size_t>(value)];
  }
  return counts;
}

template <typename Handler>
void AddLookupTabs(std::vector<TQuickFilterTab>& tabs, const Handler* handler, bool withImages) {
  if (!handler) return;
  int position = 0;
  for (const auto& entry : handler->Items()) {
    int image = -1;
    if constexpr (requires { entry->ImageIndex; })
      if (withImages) image = entry->ImageIndex;
    tabs.push_back({entry->Name, position++, image});
  }
}

}  // namespace

bool TabsUseImages(const TTdAppOptions& o) {
  const int mode = o.QuickFilterMode;
  return o.UseImagesOnTabs && mode != 4 && !(mode >= 6 && mode <= 10);
}

std::vector<TQuickFilterTab> BuildQuickFilterTabList(const TQuickFilterSources& s, const TTdAppOptions& o,
                                                     const TFormatSettings& formats, TDateTime today) {
  std::vector<TQuickFilterTab> tabs;
  const int mode = o.QuickFilterMode;
  if (mode <= 0 || mode >= kQuickFilterModeCount || !s.Tasks) return tabs;

  TStringList groups;
  switch (mode) {
    case 1:
      for (int code = 0; code < kStatusCount; ++code) tabs.push_back({StatusTextOf(code), code, StatusImageIndex(code, -1)});
      break;
    case 2:
      for (int code = 0; code < kPriorityCount; ++code)
        tabs.push_back({PriorityTextOf(code), code, PriorityImageIndex(code, -1)});
      break;
    case 3: AddLookupTabs(tabs, s.Categories, true); break;
    case 4: AddLookupTabs(tabs, s.Resources, false); break;
    case 5: AddLookupTabs(tabs, s.Types, true); break;
    case 6: s.Tasks->FillDayGroups(groups); break;
    case 7: s.Tasks->FillWeekdayGroups(groups, formats); break;
    case 8: s.Tasks->FillWeekGroups(groups); break;
    case 9: s.Tasks->FillMonthGroups(groups); break;
    case 10: s.Tasks->FillYearGroups(groups); break;
  }
  for (const TStringItem& item : groups) tabs.push_back({item.text, item.object, -1});

  int size = 0;
  for (const TQuickFilterTab& tab : tabs) size = std::max(size, tab.Value + 1);
  const bool openOnly = mode >= 6;
  const std::vector<int> counts = CountByValue(*s.Tasks, mode, size, o.ViewTemplates, openOnly, today);
  const auto countOf = [&](const TQuickFilterTab& tab) { return counts[static_cast<size_t>(tab.Value)]; };

  if (o.HideZeroTabs) std::erase_if(tabs, [&](const TQuickFilterTab& tab) { return countOf(tab) == 0; });
  if (o.ShowNumbersOnTabs)
    for (TQuickFilterTab& tab : tabs)
      tab.Text += QStringLiteral(" (") + QString::number(countOf(tab)) + QLatin1Char(')');
  if (!TabsUseImages(o))
    for (TQuickFilterTab& tab : tabs) tab.Image = -1;
  return tabs;
}

int ReselectTab(int previous, int tabCount, bool reset) {
  if (tabCount <= 0) return -1;
  if (reset) return 0;
  if (previous < 0) return -1;
  return previous < tabCount ? previous : 0;
}
