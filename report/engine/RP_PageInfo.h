#pragma once
// What a prepared page keeps of the printer's view of its paper: the physical sheet,
// where the printable area starts and how large it is, in printer pixels and in report
// units. The printer wrapper fills it; a page without a printer takes the paper itself.
// The fields and their names are those of the printer wrapper's page information, so
// that one can take this one's place.
#include <cstdint>

struct TrpPageInfo {
  int32_t PaperWidthPx = 0, PaperHeightPx = 0;  // device pixels
  int32_t PaperWidth = 0, PaperHeight = 0;      // report units
  int32_t OffsetXPx = 0, OffsetYPx = 0;         // the printable area's corner
  int32_t OffsetX = 0, OffsetY = 0;
  int32_t PrintWidthPx = 0, PrintHeightPx = 0;  // the printable area
  int32_t PrintWidth = 0, PrintHeight = 0;
  bool operator==(const TrpPageInfo&) const = default;
};
