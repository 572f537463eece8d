// Feeds arbitrary text to the numeric edit's display masks, its text reader and its key
// filter. None may crash or hang; a number shown with a plain mask must read back as a
// number.
#include "controls/FmNumFormat.h"

#include <QString>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < sizeof(double)) return 0;
  double value = 0;
  std::memcpy(&value, data, sizeof value);
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + sizeof value),
                                         static_cast<qsizetype>(size - sizeof value));
  const TNumSeparators separators;
  (void)FormatNumber(value, text, separators);
  (void)ParseNumericText(text, separators.decimal);
  TNumericKeyContext context;
  context.text = text;
  context.cursor = static_cast<int>(text.size() / 2);
  context.integersOnly = (data[0] & 1) != 0;
  for (const QChar key : text.left(16)) (void)AcceptsNumericKey(key, context);

  if (std::isfinite(value)) {
    const QString shown = FormatNumber(value, QStringLiteral("0.##"), separators);
    if (!ParseNumericText(shown, separators.decimal)) std::abort();
  }
  return 0;
}
