// Feeds arbitrary bytes to the command tables' readers: the text form of one table and
// the streamed list of a processor's tables. A text that loads must save and load back
// to the same entries; a stream that reads must write and read back to the same list,
// and one that cannot be read must leave the tables as they were.
#include "controls/clcmd.h"
#include "platform/BinaryStream.h"
#include "platform/Exception.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

QByteArray Streamed(const TClCommandProcessor& processor) {
  BinaryWriter writer;
  processor.WriteTableList(writer);
  return writer.Take();
}

void ReadTable(const QByteArray& bytes) {
  TClCommandTable table;
  try {
    table.LoadFromText(bytes, QStringLiteral("fuzz.cmd"));
  } catch (const Exception&) {
    return;
  }
  TClCommandTable again;
  again.LoadFromText(table.SaveToText(), QStringLiteral("again.cmd"));
  if (again.TableName() != table.TableName() || again.Entries().size() != table.Entries().size()) std::abort();
}

void ReadList(const QByteArray& bytes) {
  TClCommandProcessor processor;
  const QByteArray before = Streamed(processor);
  try {
    BinaryReader reader(bytes, QStringLiteral("fuzz.stream"));
    processor.ReadTableList(reader);
  } catch (const Exception&) {
    if (Streamed(processor) != before) std::abort();
    return;
  }
  const QByteArray written = Streamed(processor);
  TClCommandProcessor again;
  BinaryReader reader(written, QStringLiteral("again.stream"));
  again.ReadTableList(reader);
  if (Streamed(again) != written) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const QByteArray bytes(reinterpret_cast<const char*>(data) + 1, static_cast<qsizetype>(size) - 1);
  if (data[0] & 1) ReadList(bytes);
  else ReadTable(bytes);
  return 0;
}
