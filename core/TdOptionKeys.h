#pragma once
// The one table of the settings file: every key with its section, type, default and the
// record field it fills, in file order. Defaults, reading and writing all walk it.
#include "core/TdOption.h"

#include <QString>

#include <functional>
#include <variant>
#include <vector>

// A key's default; its alternative is the field's type.
using TOptionValue = std::variant<bool, uint8_t, int32_t, QString, TDateTime, TIdArray>;
// The field of a record that a key fills.
using TOptionField = std::variant<bool*, uint8_t*, int32_t*, QString*, TDateTime*, TIdArray*>;

struct TOptionKey {
  QString Section;
  QString Key;
  TOptionValue Default;
  std::function<TOptionField(TTdAppOptions&)> Field;
};

// Sections in the order General, Defaults, Toolbar, Printing, Properties, Fonts,
// BkColors, Sorting, Notes, Positions, Filter; keys in record order.
const std::vector<TOptionKey>& OptionKeys();

// Each key's field set to the key's default.
void SetKeyDefaults(TTdAppOptions& options);
// Each key's field read with the key's default.
void ReadKeys(TTdAppOptions& options, const TExtendedIniFile& ini);
// Each key written from its field, in table order.
void WriteKeys(const TTdAppOptions& options, TExtendedIniFile& ini);
