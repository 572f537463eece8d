#pragma once
// The control library's message table: every text the notebook, the controller and the
// command tables show or raise is looked up here by number, so a translation replaces
// one table and nothing else.
#include <QString>

// Numbers of the entries the library's code uses.
namespace ClStr {
inline constexpr int DuplicateCommand = 30169;
inline constexpr int TableNotFound = 30170;
inline constexpr int NoTimersAvailable = 30189;
inline constexpr int InvalidPageIndex = 30193;
inline constexpr int InvalidTabFont = 30195;
inline constexpr int NoCollection = 30241;
inline constexpr int OwnerNotClComponent = 30242;
inline constexpr int ItemIncompatible = 30243;
inline constexpr int LabelNotAttached = 30244;
inline constexpr int ItemClassNotSet = 30245;
inline constexpr int NoCollectionForType = 30246;
inline constexpr int GridTable = 30266;
inline constexpr int DefaultTable = 30275;
inline constexpr int WordStarTable = 30276;
inline constexpr int UnknownTable = 30277;
inline constexpr int TabTextSample = 30282;
inline constexpr int TabPagesEditor = 30323;
inline constexpr int PageBaseName = 30328;
inline constexpr int NoPagesAssigned = 30333;
inline constexpr int YesChar = 30368;
inline constexpr int NoChar = 30369;
inline constexpr int TrueChar = 30370;
inline constexpr int FalseChar = 30371;
}  // namespace ClStr

// The text of entry `id`, or "Unknown" when the table has no such entry.
// O(log n): the table is sorted by number.
QString GetClString(int id);
