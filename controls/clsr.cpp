#include "controls/clsr.h"

#include <QCoreApplication>
#include <algorithm>
#include <iterator>

namespace {

struct Entry {
  int id;
  const char* text;
};

// Kept sorted by id: the lookup is a binary search. The texts go through tr() so a
// translation can replace them.
constexpr Entry kEntries[] = {
    {ClStr::DuplicateCommand, QT_TRANSLATE_NOOP("ClStrings", "Duplicate command found while adding a new command to the table")},
    {ClStr::TableNotFound, QT_TRANSLATE_NOOP("ClStrings", "Command table not found or command table index out of range")},
    {ClStr::NoTimersAvailable, QT_TRANSLATE_NOOP("ClStrings", "No Window's timers are available")},
    {ClStr::InvalidPageIndex, QT_TRANSLATE_NOOP("ClStrings", "Invalid page index value")},
    {ClStr::InvalidTabFont, QT_TRANSLATE_NOOP("ClStrings", "Invalid font. Non toTop oriented tabs require a True-Type font")},
    {ClStr::NoCollection, QT_TRANSLATE_NOOP("ClStrings", "No collection exists in the owner component")},
    {ClStr::OwnerNotClComponent, QT_TRANSLATE_NOOP("ClStrings", "Owner must be a TClComponent or TClCustomComponent descendant")},
    {ClStr::ItemIncompatible, QT_TRANSLATE_NOOP("ClStrings", "Item incompatible with collection")},
    {ClStr::LabelNotAttached, QT_TRANSLATE_NOOP("ClStrings", "Label not attached")},
    {ClStr::ItemClassNotSet, QT_TRANSLATE_NOOP("ClStrings", "Item class not set")},
    {ClStr::NoCollectionForType, QT_TRANSLATE_NOOP("ClStrings", "No collection found for this type")},
    {ClStr::GridTable, QT_TRANSLATE_NOOP("ClStrings", "Grid")},
    {ClStr::DefaultTable, QT_TRANSLATE_NOOP("ClStrings", "Default")},
    {ClStr::WordStarTable, QT_TRANSLATE_NOOP("ClStrings", "WordStar")},
    {ClStr::UnknownTable, QT_TRANSLATE_NOOP("ClStrings", "(Unknown)")},
    {ClStr::TabTextSample, QT_TRANSLATE_NOOP("ClStrings", "Wy")},
    {ClStr::TabPagesEditor, QT_TRANSLATE_NOOP("ClStrings", "Tab Pages Editor")},
    {ClStr::PageBaseName, QT_TRANSLATE_NOOP("ClStrings", "Page")},
    {ClStr::NoPagesAssigned, QT_TRANSLATE_NOOP("ClStrings", "No notebook pages assigned")},
    {ClStr::YesChar, QT_TRANSLATE_NOOP("ClStrings", "Y")},
    {ClStr::NoChar, QT_TRANSLATE_NOOP("ClStrings", "N")},
    {ClStr::TrueChar, QT_TRANSLATE_NOOP("ClStrings", "T")},
    {ClStr::FalseChar, QT_TRANSLATE_NOOP("ClStrings", "F")},
};

static_assert(std::is_sorted(std::begin(kEntries), std::end(kEntries),
                             [](const Entry& a, const Entry& b) { return a.id < b.id; }),
              "the message table must stay sorted by id");

}  // namespace

QString GetClString(int id) {
  const auto* found = std::lower_bound(std::begin(kEntries), std::end(kEntries), id,
                                       [](const Entry& entry, int key) { return entry.id < key; });
  if (found == std::end(kEntries) || found->id != id)
    return QCoreApplication::translate("ClStrings", "Unknown");
  return QCoreApplication::translate("ClStrings", found->text);
}
