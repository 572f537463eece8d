#include "treeview/LazyTreeKeyTable.h"

#include <Qt>

namespace {
using C = TTreeKeyCommand;

// How the modifiers must stand for a row to apply.
enum class TChord {
  Any,
  Ctrl,          // ctrl held, shift and alt either way
  Shift,         // shift held, ctrl and alt either way
  CtrlShift,     // ctrl and shift held
  ShiftOnly,     // shift held without ctrl
  NoModifiers,
};

struct TKeyRow {
  int key;
  TChord chord;
  TTreeKeyCommand command;
};

// The first row whose key and chord match wins, so the more specific chord of a key
// comes first.
constexpr TKeyRow kKeyTable[] = {
    {Qt::Key_C, TChord::Ctrl, C::Copy},
    {Qt::Key_Insert, TChord::Ctrl, C::Copy},
    {Qt::Key_X, TChord::Ctrl, C::Cut},
    {Qt::Key_Delete, TChord::ShiftOnly, C::Cut},
    {Qt::Key_V, TChord::Ctrl, C::Paste},
    {Qt::Key_Insert, TChord::ShiftOnly, C::Paste},
    {Qt::Key_Backspace, TChord::Any, C::FocusParent},
    {Qt::Key_Tab, TChord::Shift, C::PreviousColumn},
    {Qt::Key_Tab, TChord::Any, C::NextColumn},
    {Qt::Key_Backtab, TChord::Any, C::PreviousColumn},
    {Qt::Key_PageUp, TChord::Ctrl, C::ScrollPageUp},
    {Qt::Key_PageUp, TChord::Any, C::PageUp},
    {Qt::Key_PageDown, TChord::Ctrl, C::ScrollPageDown},
    {Qt::Key_PageDown, TChord::Any, C::PageDown},
    {Qt::Key_Home, TChord::Ctrl, C::ScrollToLeftEdge},
    {Qt::Key_Home, TChord::Any, C::FocusFirst},
    {Qt::Key_End, TChord::Ctrl, C::ScrollToRightEdge},
    {Qt::Key_End, TChord::Any, C::FocusLast},
    {Qt::Key_Left, TChord::Ctrl, C::ScrollLeft},
    {Qt::Key_Left, TChord::Any, C::CollapseOrParent},
    {Qt::Key_Right, TChord::Ctrl, C::ScrollRight},
    {Qt::Key_Right, TChord::Any, C::ExpandOrChild},
    {Qt::Key_Up, TChord::Ctrl, C::ScrollLineUp},
    {Qt::Key_Up, TChord::Any, C::FocusUp},
    {Qt::Key_Down, TChord::Ctrl, C::ScrollLineDown},
    {Qt::Key_Down, TChord::Any, C::FocusDown},
    {Qt::Key_Escape, TChord::Any, C::Cancel},
    {Qt::Key_Space, TChord::Any, C::PressCheck},
    {Qt::Key_A, TChord::Ctrl, C::SelectAll},
    {Qt::Key_Menu, TChord::Any, C::PopupMenu},
    {Qt::Key_Asterisk, TChord::Any, C::ExpandSubtree},
    {Qt::Key_Plus, TChord::CtrlShift, C::ExpandAll},
    {Qt::Key_Plus, TChord::Ctrl, C::FitColumns},
    {Qt::Key_Plus, TChord::Any, C::Expand},
    {Qt::Key_Minus, TChord::CtrlShift, C::CollapseAll},
    {Qt::Key_Minus, TChord::Ctrl, C::RestoreColumns},
    {Qt::Key_Minus, TChord::Any, C::Collapse},
    {Qt::Key_Slash, TChord::Any, C::CollapseSubtree},
    {Qt::Key_F1, TChord::Any, C::Help},
    {Qt::Key_F2, TChord::NoModifiers, C::Edit},
    {Qt::Key_F2, TChord::Any, C::Swallow},
};

bool Matches(TChord chord, TShiftState shift) {
  const bool ctrl = shift.Contains(ssCtrl), shiftKey = shift.Contains(ssShift);
  switch (chord) {
    case TChord::Any:
      return true;
    case TChord::Ctrl:
      return ctrl;
    case TChord::Shift:
      return shiftKey;
    case TChord::CtrlShift:
      return ctrl && shiftKey;
    case TChord::ShiftOnly:
      return shiftKey && !ctrl;
    case TChord::NoModifiers:
      return shift.Empty();
  }
  return false;
}
}  // namespace

TTreeKeyCommand LazyTreeKeyCommand(int key, TShiftState shift) {
  for (const TKeyRow& row : kKeyTable)
    if (row.key == key && Matches(row.chord, shift)) return row.command;
  return C::None;
}

bool IsSearchEditKey(int key) {
  return key == Qt::Key_Backspace || key == Qt::Key_Asterisk || key == Qt::Key_Plus || key == Qt::Key_Minus ||
         key == Qt::Key_Slash;
}
