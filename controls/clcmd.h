#pragma once
// Key-to-command translation: named tables of one- and two-key commands, and the
// processor that runs a key press through the active tables. The processor starts with
// the built-in "Default" (active), "WordStar" and "Grid" tables.
#include "controls/clexcpt.h"
#include "controls/clsr.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <span>
#include <utility>
#include <vector>

class BinaryReader;
class BinaryWriter;
class QKeyEvent;

// Command numbers with a fixed meaning; 256 and above are the control's own commands.
namespace ClCmd {
inline constexpr int TakeNextLiterally = 7;
inline constexpr int NoCommand = 252;
inline constexpr int BrokenOff = 254;
inline constexpr int FirstKeyAccepted = 255;
inline constexpr int UserCommand = 256;
}  // namespace ClCmd

// In a second key's shift state: no shift key, or Ctrl alone.
inline constexpr uint8_t kNoShiftOrCtrl = 128;

// One command: a key with its shift state (Shift 2, Ctrl 4, Alt 8), an optional second
// key (0 for a one-key command) with its own, and the command number. Entries are told
// apart by their four key bytes.
struct TClCommandEntry {
  uint8_t key1 = 0;
  uint8_t shift1 = 0;
  uint8_t key2 = 0;
  uint8_t shift2 = 0;
  uint16_t command = 0;

  // The four key bytes as one little-endian number, as streams keep them.
  uint32_t Keys() const {
    return key1 | (uint32_t{shift1} << 8) | (uint32_t{key2} << 16) | (uint32_t{shift2} << 24);
  }
  static TClCommandEntry FromKeys(uint32_t keys, uint16_t command) {
    return {static_cast<uint8_t>(keys), static_cast<uint8_t>(keys >> 8), static_cast<uint8_t>(keys >> 16),
            static_cast<uint8_t>(keys >> 24), command};
  }
  bool SameKeys(const TClCommandEntry& other) const { return Keys() == other.Keys(); }
  bool operator==(const TClCommandEntry&) const = default;
};

class ECmdProcessorError : public EClException {
public:
  using EClException::EClException;
};

class EDuplicateCommand : public ECmdProcessorError {
public:
  EDuplicateCommand() : ECmdProcessorError(ClStr::DuplicateCommand) {}
};

class ETableNotFound : public ECmdProcessorError {
public:
  ETableNotFound() : ECmdProcessorError(ClStr::TableNotFound) {}
};

enum class TClBuiltInTable { Default, WordStar, Grid };

// Contents of a built-in table, in their order, and its name.
std::span<const TClCommandEntry> BuiltInCommands(TClBuiltInTable table);
QString BuiltInTableName(TClBuiltInTable table);
// The built-in table a name stands for (compared without case), if any.
bool FindBuiltInTable(const QString& name, TClBuiltInTable& table);

class TClCommandTable {
public:
  // "(Unknown)", active, empty.
  TClCommandTable();
  TClCommandTable(QString name, bool active, std::span<const TClCommandEntry> entries = {});

  QString TableName() const { return name_; }
  void SetTableName(const QString& name) { name_ = name; }
  bool IsActive() const { return active_; }
  void SetIsActive(bool active) { active_ = active; }

  int Count() const { return static_cast<int>(entries_.size()); }
  // Positions outside the table raise Exception.
  const TClCommandEntry& GetCommand(int index) const;
  void AddCommand(const TClCommandEntry& entry) { entries_.push_back(entry); }
  void InsertCommand(int index, const TClCommandEntry& entry);
  void PutCommand(int index, const TClCommandEntry& entry);
  void DeleteCommand(int index);
  // Position of the entry with the same four key bytes, -1 when there is none.
  int FindCommand(const TClCommandEntry& keys) const;
  void Clear() { entries_.clear(); }
  const std::vector<TClCommandEntry>& Entries() const { return entries_; }

  // Text form: the name on the first line, then one entry a line as five numbers
  // (key 1, shift 1, key 2, shift 2, command). Loading adds to the entries; a line that
  // is not five numbers in range raises EReadError naming the file and line.
  void LoadFromFile(const QString& fileName);
  void SaveToFile(const QString& fileName) const;
  QByteArray SaveToText() const;
  void LoadFromText(const QByteArray& text, const QString& fileName);

private:
  void CheckIndex(int index, int limit) const;

  QString name_;
  bool active_;
  std::vector<TClCommandEntry> entries_;
};

// The pairs (key bytes, command) a table is streamed as. A built-in table stores only
// its differences from the built-in contents: each built-in entry it lacks with command
// 0, then each entry of its own that is not a built-in one.
std::vector<std::pair<uint32_t, int>> StoredCommandList(const TClCommandTable& table);
// The table a stored name, active flag and pairs read back as.
std::unique_ptr<TClCommandTable> ReadCommandList(const QString& name, bool active,
                                                 const std::vector<std::pair<uint32_t, int>>& pairs);

class TClCommandProcessor {
public:
  TClCommandProcessor();
  ~TClCommandProcessor();
  TClCommandProcessor(const TClCommandProcessor&) = delete;
  TClCommandProcessor& operator=(const TClCommandProcessor&) = delete;

  int Count() const { return static_cast<int>(tables_.size()); }
  // Raises ETableNotFound for a position outside the list.
  TClCommandTable& Tables(int index) const;

  // Adds a table; a name already in use is made unique (see UniqueTableName). Returns
  // the table's position.
  int Add(std::unique_ptr<TClCommandTable> table);
  TClCommandTable& CreateCommandTable(const QString& name, bool active);
  // Raises ETableNotFound for an unknown name, EDuplicateCommand for keys in use.
  void AddCommand(const QString& tableName, const TClCommandEntry& entry);
  // Compared without case; null when there is none.
  TClCommandTable* GetCommandTable(const QString& name) const;
  int GetCommandTableIndex(const QString& name) const;
  // The name a table of `name` gets here: trailing digits come off (down to one
  // character) to give the base; when the base is in use, the base followed by the
  // smallest number from 1 that no table has; else `name` itself.
  QString UniqueTableName(const QString& name) const;

  // Adds the table in the file and returns its position; nothing is added on failure.
  int LoadCommandTable(const QString& fileName);
  // Nothing when there is no table of that name.
  void SaveCommandTable(const QString& tableName, const QString& fileName) const;

  enum class State { Normal, WaitingForSecondKey, TakeNextLiterally };
  State TranslateState() const { return state_; }
  void ResetCommandProcessor() { state_ = State::Normal; }

  // The command of a key press: `key` a key code, `shift` its shift bits.
  int Translate(int key, int shift);
  int Translate(const QKeyEvent& event);

  // Streams the tables (built-in ones as their differences) and reads them back. A
  // stream that cannot be read raises EReadError and leaves the tables as they were.
  void WriteTableList(BinaryWriter& writer) const;
  void ReadTableList(BinaryReader& reader);

private:
  int TranslateIn(const TClCommandTable& table, int key, int shift);

  std::vector<std::unique_ptr<TClCommandTable>> tables_;
  State state_ = State::Normal;
  uint8_t firstKey_ = 0;
  uint8_t firstShift_ = 0;
};
