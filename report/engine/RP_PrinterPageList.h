#pragma once
// Which prepared pages a print request selects, and the order in which they go to the
// printer. The page text of the print dialog («1,3,5-12», «5-») becomes a list of
// intervals clipped to the report's pages, so a range as wide as «1-2000000000» costs
// no more than the pages that exist.
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

struct TrpPageRange {
  int first = 0;  // 1-based, first <= last
  int last = 0;
  bool operator==(const TrpPageRange&) const = default;
};

class TrpPageList {
public:
  // Every page of the report: what a page text without any text asks for.
  static TrpPageList AllPages();
  // Reads a page text against a report of pageCount pages. Blanks are ignored; a text
  // ending in "-" runs to the last page; an item «a-b» with b < a, or one past the last
  // page, selects nothing. A malformed number raises EConvertError.
  static TrpPageList Parse(const QString& text, int pageCount);

  bool IsAll() const { return all_; }
  // True when the text named pages but none of them exists: nothing is to be printed.
  bool SelectsNothing() const { return !all_ && ranges_.empty(); }
  // The selected pages as sorted, disjoint intervals: pages print in their own order,
  // each once, however often the text names it (not for IsAll()).
  const std::vector<TrpPageRange>& Ranges() const { return ranges_; }
  // Whether the 1-based page is selected.
  bool Contains(int page) const;

private:
  bool all_ = true;
  std::vector<TrpPageRange> ranges_;
};

// The odd/even choice of the print dialog.
enum class TrpPageParity { All = 0, Odd = 1, Even = 2 };

// Calls send with each 1-based page number in the order it goes to the printer: with
// collate, the whole selection once per copy (1 2 3 1 2 3); without, each page copies
// times in a row (1 1 2 2 3 3). Copies below 1 count as 1. Stops early, returning
// false, when send returns false. Pages are visited once each for every copy; the
// request itself costs nothing beyond them.
bool rpForEachPageToSend(const TrpPageList& pages, int pageCount, int copies, bool collate, TrpPageParity parity,
                         const std::function<bool(int page)>& send);
