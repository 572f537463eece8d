#pragma once
// Where a build puts its pages: the prepared pages implement it, tests keep the records
// in memory. Each page is a stream of object records the views write themselves.
#include <QIODevice>

class TrpPage;

class TrpPageSink {
public:
  virtual ~TrpPageSink() = default;
  // A new page with the paper and margins of the report page; its index.
  virtual int Add(const TrpPage& page) = 0;
  // The page's records, positioned at their end for appending.
  virtual QIODevice& PageStream(int index) = 0;
  virtual int Count() const = 0;
};
