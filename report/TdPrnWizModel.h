#pragma once
// The print wizard's fixed data and rules, free of widgets: the 28 printable columns
// (codes 1..28, the same number in decimal names the report variable of the column),
// their kinds and captions, the twin pairs, the short header captions, the columns the
// field switches hide, the two column lists with their moves, the enabled state of the
// wizard's controls and the unit conversions.
#include "core/TdOption.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace pwCode {
constexpr int LinkImage = 1, LinkText = 2, CategoryImage = 3, CategoryText = 4, OK = 5, DateCompleted = 6,
              DateTimeCompleted = 7, DateCreated = 8, DateTimeCreated = 9, DateDue = 10, DateTimeDue = 11,
              ReminderImage = 12, ReminderText = 13, Title = 14, Notes = 15, Percent = 16, PriorityImage = 17,
              PriorityText = 18, Resource = 19, StatusImage = 20, StatusText = 21, Flag = 22, ID = 23,
              DaysGone = 24, DaysLeft = 25, TypeImage = 26, TypeText = 27, Recurring = 28;
constexpr int Count = 28;
}  // namespace pwCode

enum class TPrintColumnKind { Text, Picture, CheckBox, Notes };

// Codes outside 1..28 are text columns without captions.
TPrintColumnKind PrintColumnKind(int code);
inline bool IsPictureColumn(int code) { return PrintColumnKind(code) == TPrintColumnKind::Picture; }
QString PrintColumnListCaption(int code);
QString PrintColumnHeaderCaption(int code);
// The other member of the code's image/text pair, or 0.
int TwinOf(int code);
inline bool AreTwins(int a, int b) { return a != 0 && TwinOf(a) == b; }

// Header captions indexed by code (entry 0 unused).
using TPrintCaptions = std::array<QString, pwCode::Count + 1>;
// The table's header captions; with shortNames the one-letter captions of the narrow
// image columns, each image column of a pair only when its text twin does not follow it
// in the printed order.
TPrintCaptions PrintHeaderCaptions(const std::vector<int>& printed, bool shortNames);

// Whether the field switches offer the code.
bool IsColumnOffered(int code, const TTdAppOptions& options);
// The offered codes in code order.
std::vector<int> OfferedColumns(const TTdAppOptions& options);
// The stored printed order: PrintColumn without the zeros and the codes not offered.
std::vector<int> StoredColumns(const TTdAppOptions& options);
// Clears the 28 entries and stores the codes in order.
void StorePrintColumns(TTdAppOptions& options, const std::vector<int>& printed);

// A whole number of millimetres in report units: round(mm × 18 / 5).
int MillimetresToUnits(int millimetres);
// The text of an integer edit (blanks around it allowed, a negative number also in
// parentheses as the edits show it); none when it is not an integer.
std::optional<int> ParseInteger(const QString& text);

// The two lists of the Content page: columns available and columns printed, each with
// its selected row (-1 = none). The moves keep a Notes column that stands last last.
class TPrintColumnLists {
public:
  // Offered codes go to Available in code order; Selected is emptied.
  void Fill(const std::vector<int>& offered);
  // Moves the codes of the stored order over, one by one as CmdSelect does.
  void SelectStored(const std::vector<int>& stored);

  // CmdSelectClick: the available selection to the end of the printed list.
  void Select();
  // CmdDeSelectClick: the printed selection back to the end of the available list.
  void DeSelect();
  // CmdMoveUpClick / CmdDownClick: exchange with the neighbour and follow it.
  void MoveUp();
  void MoveDown();

  bool CanSelect() const { return InRange(Available, AvailableIndex); }
  bool CanDeSelect() const { return InRange(Selected, SelectedIndex); }
  bool CanMoveUp() const;
  bool CanMoveDown() const;

  std::vector<int> Available;
  std::vector<int> Selected;
  int AvailableIndex = -1;
  int SelectedIndex = -1;
  // Set once the wizard has been shown: from then on an added column moves in front of
  // a Notes column.
  bool Shown = false;

private:
  static bool InRange(const std::vector<int>& list, int index) {
    return index >= 0 && index < static_cast<int>(list.size());
  }
};

// What the wizard's controls show as enabled.
struct TPrintWizardStatus {
  bool Select = false, DeSelect = false, MoveUp = false, MoveDown = false;
  bool Margins = false;
  bool PaperPage = false;
  bool OtherPages = false;  // Layout, Fonts, Colors, Content
  bool Preview = false;
  QString Message;
};

struct TPrintWizardChoice {
  bool PrinterSelected = false;
  bool BinSelected = false;
  int BinCount = 0;
  bool PaperSelected = false;
  bool UseMargins = false;
};

TPrintWizardStatus ComputeWizardStatus(const TPrintColumnLists& lists, const TPrintWizardChoice& choice);

// Margins, gap and title width as typed: each edit's text.
struct TPrintLayoutTexts {
  QString Left, Top, Right, Bottom, ExtraGap, MaxWidthTitle;
};
// Which field is not an integer, for the message: the edit's label, or empty when all are.
struct TPrintLayoutError {
  int Field = -1;  // 0 left, 1 top, 2 right, 3 bottom, 4 gap, 5 title width
  QString Text;    // the text that is not a number
};
// Reads the six texts into the options; on the first that is no integer, nothing is
// written and that field is returned.
std::optional<TPrintLayoutError> ReadLayoutTexts(const TPrintLayoutTexts& texts, TTdAppOptions& options);
QString LayoutFieldLabel(int field);
