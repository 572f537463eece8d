#pragma once
// What a prepared page keeps of the printer's view of its paper: the physical sheet,
// where the printable area starts and how large it is, in printer pixels and in report
// units. The printer wrapper fills it; a page without a printer takes the paper itself.
#include <cstdint>

struct TrpPageInfo {
  // Printer pixels.
  int32_t physicalWidth = 0, physicalHeight = 0;
  int32_t offsetX = 0, offsetY = 0;
  int32_t printableWidth = 0, printableHeight = 0;
  // Report units.
  int32_t physicalWidthUnits = 0, physicalHeightUnits = 0;
  int32_t offsetXUnits = 0, offsetYUnits = 0;
  int32_t printableWidthUnits = 0, printableHeightUnits = 0;

  friend bool operator==(const TrpPageInfo&, const TrpPageInfo&) = default;
};
