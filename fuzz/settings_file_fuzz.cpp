// Feeds arbitrary bytes to the settings reader as the content of the settings file.
// Whatever was read must come back unchanged through a write and a second read, with
// two exceptions: text (a value in quotes loses one pair of them at every read) and the
// printed fields, which the writer ends at their first gap.
#include "platform/AppContext.h"
#include "platform/FormatSettings.h"
#include "core/TdDataFolder.h"
#include "core/TdOption.h"
#include "core/TdOptionKeys.h"
#include "core/UtIniFile.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <algorithm>

namespace {

const QString kName = QStringLiteral("/fuzz/pendra.ini");

// The context of every run: fixed formats and data folder; the quiet desktop's screen.
void Setup() {
  TFormatSettings s = FormatSettingsFromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
  s.ShortDateFormat = QStringLiteral("M/d/yy");
  s.ShortTimeFormat = s.LongTimeFormat = QStringLiteral("h:mm AP");
  TAppContext context;
  context.Formats = s;
  context.DataFolder = QStringLiteral("/fuzz/data/");
  static const TAppContextScope scope(context);
}

TTdAppOptions Read(const QByteArray& bytes) {
  TTdAppOptionsHandler handler(kName);
  handler.ReadOptionsFrom(TExtendedIniFile::FromBytes(bytes, kName));
  return handler.Options();
}

QByteArray Write(const TTdAppOptions& options) {
  TTdAppOptionsHandler handler(kName);
  handler.Options() = options;
  TExtendedIniFile ini = TExtendedIniFile::FromBytes({}, kName);
  handler.WriteOptionsTo(ini, options.Left, options.Top, options.Width, options.Height);
  return ini.ToBytes();
}

void Normalize(TTdAppOptions& options) {
  auto& columns = options.PrintColumn;
  std::fill(std::find(columns.begin(), columns.end(), uint8_t(0)), columns.end(), uint8_t(0));
  for (const TOptionKey& key : OptionKeys()) {
    const TOptionField field = key.Field(options);
    if (QString* const* text = std::get_if<QString*>(&field)) (*text)->clear();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = (Setup(), true);
  (void)ready;
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  TTdAppOptions first = Read(bytes);
  TTdAppOptionsHandler checks(kName);
  checks.Options() = first;
  checks.HasFilterCriteria();
  checks.StatusFilterExcludesDone();

  TTdAppOptions second = Read(Write(first));
  Normalize(first);
  Normalize(second);
  if (!(first == second)) std::abort();
  return 0;
}
