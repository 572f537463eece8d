#pragma once
// How the settings file spells date-times and id lists.
#include "core/TdOption.h"

#include <QString>

// The short date of the format settings with a four-digit year, a blank and the time
// with seconds; the time is left out at exactly midnight. A four-digit year reads back
// in the same century whatever the locale.
QString OptionDateText(TDateTime value);
// Reads what OptionDateText writes, and also the date alone, the locale's own short
// date (a two-digit year taken within fifty years of today), times without seconds and
// ISO dates. Text that is none of these gives 0.
TDateTime OptionDateValue(const QString& text);

// The formats OptionDateText uses.
QString OptionDateFormat();
QString OptionTimeFormat();

// "1;4;5"; the empty list is the empty text.
QString IdArrayText(const TIdArray& ids);
// ";"-separated integers, runs of separators counting as one. Any piece that is not an
// integer makes the whole list empty.
TIdArray IdArrayValue(const QString& text);
