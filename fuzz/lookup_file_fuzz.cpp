// Feeds arbitrary bytes to the category, resource and type file loaders. A file that
// loads must survive a save and a second load unchanged, and the list operations must
// hold on whatever it held.
#include "core/BCat.h"
#include "core/BRes.h"
#include "core/BType.h"
#include "platform/Exception.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

template <typename Handler>
void Check(const QByteArray& bytes, const QString& name) {
  Handler handler(name);
  try {
    handler.LoadFromBytes(bytes);
  } catch (const Exception&) {
    return;
  }
  if (handler.Count() == 0) std::abort();  // an empty list gets its default content
  TStringList list;
  handler.FillStrings(list, true);
  handler.FillNamesWithIds(list);
  for (int id = -2; id <= handler.Count(); ++id) handler.NameExists(handler.NameOf(id));
  QList<int32_t> ids;
  for (const TStringItem& item : list) ids << item.object;
  Handler::RenumberIdArray(ids, 1);

  const QByteArray saved = handler.SaveToBytes();
  Handler again(name);
  again.LoadFromBytes(saved);
  if (again.SaveToBytes() != saved || again.Count() != handler.Count()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  Check<TTdCategoryHandler>(bytes, QStringLiteral("/fuzz/cat.tbl"));
  Check<TTdResourceHandler>(bytes, QStringLiteral("/fuzz/res.tbl"));
  Check<TTdTypeHandler>(bytes, QStringLiteral("/fuzz/type.tbl"));
  return 0;
}
