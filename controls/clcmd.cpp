#include "controls/clcmd.h"

#include "platform/VirtualKeys.h"
#include "controls/clmisc.h"
#include "platform/BinaryStream.h"
#include "platform/SafeFile.h"

#include <QFile>
#include <QKeyEvent>
#include <QList>

TClCommandTable::TClCommandTable() : TClCommandTable(GetClString(ClStr::UnknownTable), true) {}

TClCommandTable::TClCommandTable(QString name, bool active, std::span<const TClCommandEntry> entries)
    : name_(std::move(name)), active_(active), entries_(entries.begin(), entries.end()) {}

void TClCommandTable::CheckIndex(int index, int limit) const {
  if (index < 0 || index >= limit) throw Exception(QStringLiteral("List index out of bounds (%1)").arg(index));
}

const TClCommandEntry& TClCommandTable::GetCommand(int index) const {
  CheckIndex(index, Count());
  return entries_[static_cast<size_t>(index)];
}

void TClCommandTable::InsertCommand(int index, const TClCommandEntry& entry) {
  CheckIndex(index, Count() + 1);
  entries_.insert(entries_.begin() + index, entry);
}

void TClCommandTable::PutCommand(int index, const TClCommandEntry& entry) {
  CheckIndex(index, Count());
  entries_[static_cast<size_t>(index)] = entry;
}

void TClCommandTable::DeleteCommand(int index) {
  CheckIndex(index, Count());
  entries_.erase(entries_.begin() + index);
}

int TClCommandTable::FindCommand(const TClCommandEntry& keys) const {
  for (int i = 0; i < Count(); ++i) {
    if (entries_[static_cast<size_t>(i)].SameKeys(keys)) return i;
  }
  return -1;
}

void TClCommandTable::LoadFromFile(const QString& fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) {
    throw EReadError(QStringLiteral("Cannot open the command table file %1: %2").arg(fileName, file.errorString()));
  }
  LoadFromText(file.readAll(), fileName);
}

void TClCommandTable::LoadFromText(const QByteArray& text, const QString& fileName) {
  const QList<QByteArray> lines = text.split('\n');
  std::vector<TClCommandEntry> read;
  for (qsizetype i = 1; i < lines.size(); ++i) {
    const QList<QByteArray> fields = lines[i].simplified().split(' ');
    if (fields.size() == 1 && fields[0].isEmpty()) continue;
    int values[5] = {};
    bool valid = fields.size() == 5;
    for (int f = 0; valid && f < 5; ++f) {
      values[f] = fields[f].toInt(&valid);
      valid = valid && values[f] >= 0 && values[f] <= (f < 4 ? 255 : 65535);
    }
    if (!valid) {
      throw EReadError(QStringLiteral("Line %1 of the command table file %2 is not five key and command numbers")
                           .arg(i + 1)
                           .arg(fileName));
    }
    read.push_back({static_cast<uint8_t>(values[0]), static_cast<uint8_t>(values[1]),
                    static_cast<uint8_t>(values[2]), static_cast<uint8_t>(values[3]),
                    static_cast<uint16_t>(values[4])});
  }
  name_ = QString::fromUtf8(lines.value(0).trimmed());
  entries_.insert(entries_.end(), read.begin(), read.end());
}

QByteArray TClCommandTable::SaveToText() const {
  QByteArray text = name_.toUtf8() + '\n';
  for (const TClCommandEntry& entry : entries_) {
    text += QString::asprintf("%4d%4d%4d%4d%6d\n", entry.key1, entry.shift1, entry.key2, entry.shift2,
                              entry.command).toLatin1();
  }
  return text;
}

void TClCommandTable::SaveToFile(const QString& fileName) const { WriteFileSafely(fileName, SaveToText(), false); }

std::vector<std::pair<uint32_t, int>> StoredCommandList(const TClCommandTable& table) {
  std::vector<std::pair<uint32_t, int>> pairs;
  TClBuiltInTable builtIn;
  if (!FindBuiltInTable(table.TableName(), builtIn)) {
    for (const TClCommandEntry& entry : table.Entries()) pairs.emplace_back(entry.Keys(), entry.command);
    return pairs;
  }
  const std::span<const TClCommandEntry> original = BuiltInCommands(builtIn);
  for (const TClCommandEntry& entry : original) {
    if (table.FindCommand(entry) < 0) pairs.emplace_back(entry.Keys(), 0);
  }
  for (const TClCommandEntry& entry : table.Entries()) {
    if (std::find(original.begin(), original.end(), entry) == original.end()) {
      pairs.emplace_back(entry.Keys(), entry.command);
    }
  }
  return pairs;
}

std::unique_ptr<TClCommandTable> ReadCommandList(const QString& name, bool active,
                                                 const std::vector<std::pair<uint32_t, int>>& pairs) {
  TClBuiltInTable builtIn;
  if (!FindBuiltInTable(name, builtIn)) {
    auto table = std::make_unique<TClCommandTable>(name, active);
    for (const auto& [keys, command] : pairs) {
      table->AddCommand(TClCommandEntry::FromKeys(keys, static_cast<uint16_t>(command)));
    }
    return table;
  }
  auto table = std::make_unique<TClCommandTable>(name, active, BuiltInCommands(builtIn));
  for (const auto& [keys, command] : pairs) {
    const TClCommandEntry entry = TClCommandEntry::FromKeys(keys, static_cast<uint16_t>(command));
    const int index = table->FindCommand(entry);
    if (index < 0) {
      table->AddCommand(entry);
    } else if (command != 0) {
      table->PutCommand(index, entry);
    } else {
      table->DeleteCommand(index);
    }
  }
  return table;
}

TClCommandProcessor::TClCommandProcessor() {
  for (TClBuiltInTable table : {TClBuiltInTable::Default, TClBuiltInTable::WordStar, TClBuiltInTable::Grid}) {
    tables_.push_back(std::make_unique<TClCommandTable>(BuiltInTableName(table), table == TClBuiltInTable::Default,
                                                        BuiltInCommands(table)));
  }
}

TClCommandProcessor::~TClCommandProcessor() = default;

TClCommandTable& TClCommandProcessor::Tables(int index) const {
  if (index < 0 || index >= Count()) throw ETableNotFound();
  return *tables_[static_cast<size_t>(index)];
}

QString TClCommandProcessor::UniqueTableName(const QString& name) const {
  QString base = name;
  while (base.size() >= 2 && base.back().isDigit()) base.chop(1);
  if (GetCommandTable(base) == nullptr) return name;
  for (int number = 1;; ++number) {
    const QString candidate = base + QString::number(number);
    if (GetCommandTable(candidate) == nullptr) return candidate;
  }
}

int TClCommandProcessor::Add(std::unique_ptr<TClCommandTable> table) {
  table->SetTableName(UniqueTableName(table->TableName()));
  tables_.push_back(std::move(table));
  return Count() - 1;
}

TClCommandTable& TClCommandProcessor::CreateCommandTable(const QString& name, bool active) {
  return Tables(Add(std::make_unique<TClCommandTable>(name, active)));
}

void TClCommandProcessor::AddCommand(const QString& tableName, const TClCommandEntry& entry) {
  TClCommandTable* table = GetCommandTable(tableName);
  if (table == nullptr) throw ETableNotFound();
  if (table->FindCommand(entry) >= 0) throw EDuplicateCommand();
  table->AddCommand(entry);
}

int TClCommandProcessor::GetCommandTableIndex(const QString& name) const {
  const QString wanted = name.toUpper();
  for (int i = 0; i < Count(); ++i) {
    if (tables_[static_cast<size_t>(i)]->TableName().toUpper() == wanted) return i;
  }
  return -1;
}

TClCommandTable* TClCommandProcessor::GetCommandTable(const QString& name) const {
  const int index = GetCommandTableIndex(name);
  return index < 0 ? nullptr : tables_[static_cast<size_t>(index)].get();
}

int TClCommandProcessor::LoadCommandTable(const QString& fileName) {
  auto table = std::make_unique<TClCommandTable>();
  table->LoadFromFile(fileName);
  return Add(std::move(table));
}

void TClCommandProcessor::SaveCommandTable(const QString& tableName, const QString& fileName) const {
  if (const TClCommandTable* table = GetCommandTable(tableName)) table->SaveToFile(fileName);
}

int TClCommandProcessor::TranslateIn(const TClCommandTable& table, int key, int shift) {
  for (const TClCommandEntry& entry : table.Entries()) {
    if (state_ == State::WaitingForSecondKey) {
      const bool secondShiftMatches =
          entry.shift2 == shift || (entry.shift2 == kNoShiftOrCtrl && (shift == 0 || shift == sfCtrl));
      if (entry.key1 == firstKey_ && entry.shift1 == firstShift_ && entry.key2 == key && secondShiftMatches) {
        state_ = entry.command == ClCmd::TakeNextLiterally ? State::TakeNextLiterally : State::Normal;
        return entry.command;
      }
    } else if (entry.key1 == key && entry.shift1 == shift) {
      if (entry.key2 != 0) {
        firstKey_ = static_cast<uint8_t>(key);
        firstShift_ = static_cast<uint8_t>(shift);
        state_ = State::WaitingForSecondKey;
        return ClCmd::FirstKeyAccepted;
      }
      if (entry.command == ClCmd::TakeNextLiterally) state_ = State::TakeNextLiterally;
      return entry.command;
    }
  }
  return 0;
}

int TClCommandProcessor::Translate(int key, int shift) {
  switch (key) {
    case vk::Shift:
    case vk::Control:
    case vk::Menu:
    case vk::Capital:
    case vk::NumLock:
    case vk::Scroll: return state_ == State::WaitingForSecondKey ? ClCmd::FirstKeyAccepted : ClCmd::NoCommand;
    default: break;
  }
  if (state_ == State::TakeNextLiterally) {
    state_ = State::Normal;
    return ClCmd::NoCommand;
  }
  const bool wasWaiting = state_ == State::WaitingForSecondKey;
  for (const auto& table : tables_) {
    if (!table->IsActive()) continue;
    if (const int command = TranslateIn(*table, key, shift); command != 0) return command;
  }
  state_ = State::Normal;
  return wasWaiting ? ClCmd::BrokenOff : ClCmd::NoCommand;
}

int TClCommandProcessor::Translate(const QKeyEvent& event) {
  return Translate(VirtualKeyOf(event), ShiftFlagsFromModifiers(event.modifiers()));
}

namespace {

bool WorthStoring(const TClCommandTable& table, const std::vector<std::pair<uint32_t, int>>& pairs) {
  // An emptied built-in table is kept too: left out, it would come back whole.
  return table.Count() > 0 || !pairs.empty();
}

}  // namespace

void TClCommandProcessor::WriteTableList(BinaryWriter& writer) const {
  std::vector<std::pair<const TClCommandTable*, std::vector<std::pair<uint32_t, int>>>> stored;
  for (const auto& table : tables_) {
    auto pairs = StoredCommandList(*table);
    if (WorthStoring(*table, pairs)) stored.emplace_back(table.get(), std::move(pairs));
  }
  writer.WriteInt32(static_cast<int32_t>(stored.size()));
  for (const auto& [table, pairs] : stored) {
    writer.WriteString(table->TableName());
    writer.WriteUInt8(table->IsActive() ? 1 : 0);
    writer.WriteInt32(static_cast<int32_t>(pairs.size()));
    for (const auto& [keys, command] : pairs) {
      writer.WriteUInt32(keys);
      writer.WriteInt32(command);
    }
  }
}

void TClCommandProcessor::ReadTableList(BinaryReader& reader) {
  std::vector<std::unique_ptr<TClCommandTable>> read;
  const int32_t tableCount = reader.ReadInt32();
  for (int32_t t = 0; t < tableCount; ++t) {
    const QString name = reader.ReadString();
    const bool active = reader.ReadUInt8() != 0;
    const int32_t pairCount = reader.ReadInt32();
    std::vector<std::pair<uint32_t, int>> pairs;
    for (int32_t p = 0; p < pairCount; ++p) {
      const uint32_t keys = reader.ReadUInt32();
      const int32_t command = reader.ReadInt32();
      if (command < 0 || command > 65535) {
        throw EReadError(QStringLiteral("The command tables hold a command number out of range (%1)").arg(command));
      }
      pairs.emplace_back(keys, command);
    }
    read.push_back(ReadCommandList(name, active, pairs));
  }
  tables_ = std::move(read);
  state_ = State::Normal;
}
