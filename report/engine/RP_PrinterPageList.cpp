#include "report/engine/RP_PrinterPageList.h"

#include "report/engine/RP_Errors.h"

#include <algorithm>
#include <climits>
#include <iterator>

namespace {

// A page number of the text; anything but digits is the conversion error. Numbers too
// large for an int are read as the largest: they lie past every page anyway.
int ReadPageNumber(const QString& item, const QString& text) {
  if (item.isEmpty()) throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
  long long value = 0;
  for (QChar c : item) {
    if (c < u'0' || c > u'9') throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(item));
    value = std::min<long long>(value * 10 + (c.unicode() - u'0'), INT_MAX);
  }
  return static_cast<int>(value);
}

}  // namespace

TrpPageList TrpPageList::AllPages() { return TrpPageList(); }

TrpPageList TrpPageList::Parse(const QString& text, int pageCount) {
  QString compact;
  for (QChar c : text)
    if (!c.isSpace()) compact.append(c);
  TrpPageList list;
  if (compact.isEmpty()) return list;
  list.all_ = false;
  if (compact.endsWith(u'-')) compact.append(QString::number(std::max(pageCount, 0)));
  const QStringList items = compact.split(u',');
  for (const QString& item : items) {
    const qsizetype dash = item.indexOf(u'-');
    int first = 0;
    int last = 0;
    if (dash < 0) {
      first = last = ReadPageNumber(item, compact);
    } else {
      first = ReadPageNumber(item.left(dash), compact);
      last = ReadPageNumber(item.mid(dash + 1), compact);
    }
    first = std::max(first, 1);
    last = std::min(last, pageCount);
    if (first <= last) list.ranges_.push_back({first, last});
  }
  std::sort(list.ranges_.begin(), list.ranges_.end(),
            [](const TrpPageRange& a, const TrpPageRange& b) { return a.first < b.first; });
  std::vector<TrpPageRange> merged;
  for (const TrpPageRange& r : list.ranges_) {
    if (!merged.empty() && static_cast<long long>(r.first) <= static_cast<long long>(merged.back().last) + 1)
      merged.back().last = std::max(merged.back().last, r.last);
    else
      merged.push_back(r);
  }
  list.ranges_ = std::move(merged);
  return list;
}

bool TrpPageList::Contains(int page) const {
  if (all_) return true;
  const auto after = std::upper_bound(ranges_.begin(), ranges_.end(), page,
                                      [](int p, const TrpPageRange& r) { return p < r.first; });
  return after != ranges_.begin() && page <= std::prev(after)->last;
}

bool rpForEachPageToSend(const TrpPageList& pages, int pageCount, int copies, bool collate, TrpPageParity parity,
                         const std::function<bool(int page)>& send) {
  copies = std::max(copies, 1);
  const std::vector<TrpPageRange> ranges =
      pages.IsAll() ? (pageCount > 0 ? std::vector<TrpPageRange>{{1, pageCount}} : std::vector<TrpPageRange>{})
                    : pages.Ranges();
  auto wanted = [parity](int page) {
    return parity == TrpPageParity::All || (parity == TrpPageParity::Odd) == (page % 2 == 1);
  };
  const int passes = collate ? copies : 1;
  const int repeats = collate ? 1 : copies;
  for (int pass = 0; pass < passes; ++pass)
    for (const TrpPageRange& range : ranges)
      for (int page = range.first; page <= range.last; ++page) {
        if (!wanted(page)) continue;
        for (int r = 0; r < repeats; ++r)
          if (!send(page)) return false;
        if (page == INT_MAX) break;
      }
  return true;
}
