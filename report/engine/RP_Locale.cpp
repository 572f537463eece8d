#include "report/engine/RP_Locale.h"

#include "report/engine/RP_StringTable.h"

#include <algorithm>

QString TrpLocale::LoadString(int id) const {
  if (localizer_) {
    QString text = localizer_(id);
    if (!text.isEmpty()) return text;
  }
  const auto& table = rpStrings::Table();
  const auto it = std::lower_bound(table.begin(), table.end(), id,
                                   [](const TrpStringEntry& entry, int wanted) { return entry.id < wanted; });
  if (it == table.end() || it->id != id) return {};
  return QString::fromUtf16(it->text);
}

TrpLocale& rpLocale() {
  static TrpLocale locale;
  return locale;
}

void rpResetLocale() { rpLocale().SetLocalizer({}); }

QString rpLoadStr(int id) { return rpLocale().LoadString(id); }
