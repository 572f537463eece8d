// Feeds arbitrary bytes to the prepared-report (".vrp") reader. A damaged file must be
// refused without a loop, a read past the end or a change to the pages shown; a file
// that reads must write back to bytes that read and write the same again.
#include "platform/Exception.h"
#include "report/engine/RP_EMFPages.h"

#include <QBuffer>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

QByteArray Write(TrpEMFPages& pages) {
  QBuffer out;
  out.open(QIODevice::WriteOnly);
  pages.WriteToStream(out);
  return out.data();
}

bool Read(TrpEMFPages& pages, const QByteArray& bytes) {
  QBuffer in;
  in.setData(bytes);
  in.open(QIODevice::ReadOnly);
  return pages.ReadFromStream(in);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TrpEMFPages pages;
  pages.Add(TrpPage());
  const QByteArray before = Write(pages);
  if (!Read(pages, QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)))) {
    if (Write(pages) != before) std::abort();  // a refused file changes nothing
    return 0;
  }
  QByteArray first;
  try {
    first = Write(pages);
  } catch (const Exception&) {
    return 0;  // a printer name that grew past a string's limit when re-encoded
  }
  TrpEMFPages copy;
  if (!Read(copy, first) || Write(copy) != first) std::abort();
  return 0;
}
