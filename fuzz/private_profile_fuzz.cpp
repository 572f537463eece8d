// Any bytes load as a settings file; a written key reads back, also after the
// document went through its own bytes once more.
#include "platform/PrivateProfile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  PrivateProfileFile document = PrivateProfileFile::FromBytes(bytes);
  document.ReadString(QStringLiteral("General"), QStringLiteral("Left"), QStringLiteral("-1"), 4096);
  document.WriteString(QStringLiteral("General"), QStringLiteral("Left"), QStringLiteral("12"));
  document.WriteString(QStringLiteral("Fuzz"), QStringLiteral("Key"), QStringLiteral(" \"v\" "));
  const PrivateProfileFile reread = PrivateProfileFile::FromBytes(document.ToBytes());
  if (reread.ReadString(QStringLiteral("general"), QStringLiteral("LEFT"), QString(), 100) != QLatin1String("12"))
    std::abort();
  if (reread.ReadString(QStringLiteral("fuzz"), QStringLiteral("key"), QString(), 100) != QLatin1String("v"))
    std::abort();
  return 0;
}
