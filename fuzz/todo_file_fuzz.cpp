// Feeds arbitrary bytes to the task-file loader. A file that loads must survive a save
// and a second load unchanged.
#include "core/BTodo.h"
#include "platform/AppContext.h"
#include "platform/Exception.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const TAppContextScope clock(ContextWith([](TAppContext& c) { c.Clock = [] { return 38000.5; }; }));
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  TTdTodoHandler store(QStringLiteral("/fuzz/todo.tbl"));
  try {
    store.LoadFromBytes(bytes);
  } catch (const Exception&) {
    return 0;
  }
  TStringList list;
  store.AddStatusItems(list, true, true, true);
  store.FillWeekGroups(list);
  store.AppendWeekGroupCounts(list, true);
  store.FillMonthGroups(list);
  store.RemoveEmptyMonthGroups(list, false);

  const QByteArray saved = store.SaveToBytes();
  TTdTodoHandler again(QStringLiteral("/fuzz/todo.tbl"));
  again.LoadFromBytes(saved);
  if (again.SaveToBytes() != saved) std::abort();
  return 0;
}
