// Feeds arbitrary bytes to the report form reader. A damaged form must be refused
// without a loop, a read past the end or a half-changed report; a form that reads must
// write back to bytes that read and write the same again.
#include "platform/Exception.h"
#include "report/engine/RP_Class.h"
#include "report/engine/RP_ObjectRegistry.h"

#include <QBuffer>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// The text object stands in for the memo, which its own unit supplies.
class PlainText : public TrpView {
public:
  PlainText() { Typ = rpObjectType::Memo; }
  void Draw(QPainter&) override {}
};

QByteArray Write(TrpReport& report) {
  QBuffer out;
  out.open(QIODevice::WriteOnly);
  report.WriteToStream(out);
  return out.data();
}

bool Read(TrpReport& report, const QByteArray& bytes) {
  QBuffer in;
  in.setData(bytes);
  in.open(QIODevice::ReadOnly);
  return report.ReadFromStream(in);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool installed = [] {
    rpSetMemoViewFactory([] { return std::make_unique<PlainText>(); });
    return true;
  }();
  (void)installed;
  TrpReport report;
  report.Now = [] { return 1.0; };
  report.AddPage();
  const QByteArray before = Write(report);
  if (!Read(report, QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)))) {
    if (Write(report) != before) std::abort();  // a refused form changes nothing
    return 0;
  }
  QByteArray first;
  try {
    first = Write(report);
  } catch (const Exception&) {
    return 0;  // texts that grew past a string's limit when re-encoded
  }
  TrpReport copy;
  copy.Now = report.Now;
  if (!Read(copy, first) || Write(copy) != first) std::abort();
  return 0;
}
