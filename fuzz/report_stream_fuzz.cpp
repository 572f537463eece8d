// Feeds arbitrary bytes to the engine's stream readers, the next reader chosen by the
// next byte. A cut or damaged stream must raise the load error: never loop, never read
// past the end. A list that reads must write back to bytes that read the same.
#include "report/engine/RP_Utils.h"
#include "platform/Exception.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void RoundTrip(const QStringList& lines) {
  QBuffer out;
  out.open(QIODevice::WriteOnly);
  rpWriteMemo(out, lines);
  QBuffer in;
  in.setData(out.data());
  in.open(QIODevice::ReadOnly);
  if (rpReadMemo(in) != lines || !in.atEnd()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  QBuffer stream;
  stream.setData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  stream.open(QIODevice::ReadOnly);
  try {
    while (!stream.atEnd()) {
      switch (rpReadByte(stream) % 8) {
        case 0: rpReadString(stream); break;
        case 1: RoundTrip(rpReadMemo(stream)); break;
        case 2: rpReadOldString(stream); break;
        case 3: RoundTrip(rpReadOldMemo(stream)); break;
        case 4: rpReadStringOfVersion(stream, rpReadByte(stream)); break;
        case 5: rpReadMemoOfVersion(stream, rpReadByte(stream)); break;
        case 6: rpHexToPassword(rpReadString(stream)); break;
        default: rpReadInt(stream); break;
      }
    }
  } catch (const Exception&) {
  }
  return 0;
}
