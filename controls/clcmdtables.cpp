// The built-in command tables, in their order, as key codes and shift bits.
#include "controls/clcmd.h"
#include "platform/VirtualKeys.h"

namespace {

constexpr uint8_t S = 2, C = 4, A = 8, CS = C | S;
constexpr uint8_t kLeft = vk::Left, kRight = vk::Right, kUp = vk::Up, kDown = vk::Down, kHome = vk::Home,
                  kEnd = vk::End, kPgUp = vk::Prior, kPgDn = vk::Next, kIns = vk::Insert, kDel = vk::Delete,
                  kBack = vk::Back, kTab = vk::Tab, kEnter = vk::Return, kF2 = vk::F1 + 1;

constexpr TClCommandEntry Key(uint8_t key, uint8_t shift, uint16_t command) { return {key, shift, 0, 0, command}; }
constexpr TClCommandEntry Keys(uint8_t key1, uint8_t shift1, uint8_t key2, uint16_t command) {
  return {key1, shift1, key2, kNoShiftOrCtrl, command};
}

constexpr TClCommandEntry kDefault[] = {
    Key(kLeft, 0, 46),      Key(kRight, 0, 55),     Key(kLeft, C, 74),      Key(kRight, C, 75),
    Key(kHome, 0, 42),      Key(kEnd, 0, 16),       Key(kDel, 0, 10),       Key(kBack, 0, 1),
    Key(kBack, S, 1),       Key(kPgUp, C, 71),      Key(kPgDn, C, 2),       Key(kIns, 0, 44),
    Key('Z', C, 72),        Key(kBack, A, 54),      Key(kUp, 0, 73),        Key(kDown, 0, 15),
    Key(kEnter, C, 47),     Key(kLeft, S, 20),      Key(kRight, S, 23),     Key(kHome, S, 19),
    Key(kEnd, S, 18),       Key(kLeft, CS, 29),     Key(kRight, CS, 30),    Key(kPgUp, S, 22),
    Key(kPgDn, S, 21),      Key(kUp, S, 24),        Key(kDown, S, 17),      Key(kHome, CS, 26),
    Key(kEnd, CS, 27),      Key(kPgUp, CS, 28),     Key(kPgDn, CS, 25),     Key(kDel, S, 8),
    Key('X', C, 8),         Key(kIns, C, 6),        Key('C', C, 6),         Key(kIns, S, 51),
    Key('V', C, 51),        Key(kPgUp, 0, 52),      Key(kPgDn, 0, 48),      Key(kHome, C, 31),
    Key(kEnd, C, 45),       Key(kTab, 0, 68),       Key(kTab, C, 68),       Key('Z', CS, 53),
    Key('0', C, 32),        Key('1', C, 33),        Key('2', C, 34),        Key('3', C, 35),
    Key('4', C, 36),        Key('5', C, 37),        Key('6', C, 38),        Key('7', C, 39),
    Key('8', C, 40),        Key('9', C, 41),        Key('0', CS, 58),       Key('1', CS, 59),
    Key('2', CS, 60),       Key('3', CS, 61),       Key('4', CS, 62),       Key('5', CS, 63),
    Key('6', CS, 64),       Key('7', CS, 65),       Key('8', CS, 66),       Key('9', CS, 67),
};

constexpr TClCommandEntry kWordStar[] = {
    Key('S', C, 46),        Key('D', C, 55),        Key('E', C, 73),        Key('X', C, 15),
    Key('R', C, 52),        Key('C', C, 48),        Key('W', C, 57),        Key('Z', C, 56),
    Key('A', C, 74),        Key('F', C, 75),        Keys('Q', C, 'S', 42),  Keys('Q', C, 'D', 16),
    Key('G', C, 10),        Key('H', C, 1),         Key('Y', C, 13),        Keys('Q', C, 'Y', 12),
    Key('V', C, 44),        Key('T', C, 14),        Key('P', C, 7),         Keys('Q', C, 'L', 54),
    Keys('Q', C, '0', 32),  Keys('Q', C, '1', 33),  Keys('Q', C, '2', 34),  Keys('Q', C, '3', 35),
    Keys('Q', C, '4', 36),  Keys('Q', C, '5', 37),  Keys('Q', C, '6', 38),  Keys('Q', C, '7', 39),
    Keys('Q', C, '8', 40),  Keys('Q', C, '9', 41),  Keys('K', C, '0', 58),  Keys('K', C, '1', 59),
    Keys('K', C, '2', 60),  Keys('K', C, '3', 61),  Keys('K', C, '4', 62),  Keys('K', C, '5', 63),
    Keys('K', C, '6', 64),  Keys('K', C, '7', 65),  Keys('K', C, '8', 66),  Keys('K', C, '9', 67),
};

constexpr TClCommandEntry kGrid[] = {
    Key(kLeft, 0, 46),      Key(kRight, 0, 55),     Key(kLeft, C, 49),      Key(kRight, C, 50),
    Key(kHome, 0, 42),      Key(kEnd, 0, 16),       Key(kDel, 0, 10),       Key(kBack, 0, 1),
    Key(kPgDn, C, 2),       Key(kPgUp, C, 71),      Key(kIns, 0, 44),       Key('Z', C, 54),
    Key(kUp, 0, 73),        Key(kDown, 0, 15),      Key(kLeft, S, 20),      Key(kRight, S, 23),
    Key(kHome, S, 19),      Key(kEnd, S, 18),       Key(kLeft, CS, 29),     Key(kRight, CS, 30),
    Key(kPgUp, S, 22),      Key(kPgDn, S, 21),      Key(kUp, S, 24),        Key(kDown, S, 17),
    Key(kHome, CS, 26),     Key(kEnd, CS, 27),      Key(kPgUp, CS, 28),     Key(kPgDn, CS, 25),
    Key('X', C, 8),         Key('C', C, 6),         Key('V', C, 51),        Key(kPgUp, 0, 52),
    Key(kHome, C, 31),      Key(kPgDn, 0, 48),      Key(kEnd, C, 45),       Key(kUp, C, 70),
    Key(kDown, C, 3),       Key(kF2, 0, 69),
};

static_assert(std::size(kDefault) == 64 && std::size(kWordStar) == 40 && std::size(kGrid) == 38);

}  // namespace

std::span<const TClCommandEntry> BuiltInCommands(TClBuiltInTable table) {
  switch (table) {
    case TClBuiltInTable::Default: return kDefault;
    case TClBuiltInTable::WordStar: return kWordStar;
    case TClBuiltInTable::Grid: return kGrid;
  }
  return {};
}

QString BuiltInTableName(TClBuiltInTable table) {
  switch (table) {
    case TClBuiltInTable::Default: return GetClString(ClStr::DefaultTable);
    case TClBuiltInTable::WordStar: return GetClString(ClStr::WordStarTable);
    case TClBuiltInTable::Grid: return GetClString(ClStr::GridTable);
  }
  return {};
}

bool FindBuiltInTable(const QString& name, TClBuiltInTable& table) {
  for (TClBuiltInTable candidate : {TClBuiltInTable::Default, TClBuiltInTable::WordStar, TClBuiltInTable::Grid}) {
    if (BuiltInTableName(candidate).toUpper() == name.toUpper()) {
      table = candidate;
      return true;
    }
  }
  return false;
}
