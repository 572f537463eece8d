#pragma once
// The papers of the virtual printer and the conversion of paper measures into report
// units. Paper sizes are in tenths of a millimetre; report geometry is in report units,
// 91.6256157635468 to the inch.
#include <array>
#include <cstdint>

constexpr double kRpUnitsPerInch = 91.6256157635468;
// A user-defined paper: its width and height are given, not looked up.
constexpr int kRpUserPaper = 256;
// A4, the paper of a new printer wrapper.
constexpr int kRpDefaultPaper = 9;
// Paper size codes 1 to 47 and 50 to 68, then the user-defined size.
constexpr int kRpVirtualPaperCount = 67;
// The margin of the virtual printer's printable area on every side: about 5 mm.
constexpr int kRpVirtualOffset = 18;

struct TrpPaperRow {
  int16_t code;
  int width;   // tenths of a millimetre, portrait
  int height;  // tenths of a millimetre, portrait
};

const std::array<TrpPaperRow, kRpVirtualPaperCount>& rpVirtualPapers();
// The row of that code, or null.
const TrpPaperRow* rpFindVirtualPaper(int code);

// Rounds halves to the even neighbour, as every measure of the engine does.
int rpRoundMeasure(double value);
// Tenths of a millimetre to report units.
int rpTenthsToUnits(int tenths);
