// The key table on its own: which command each key and chord means, including the
// chords that share a key and the modifiers that must not change the meaning.
#include "treeview/LazyTreeKeyTable.h"

#include <gtest/gtest.h>

#include <Qt>

namespace {

using C = TTreeKeyCommand;

TShiftState Mods(const char* held) {
  TShiftState s;
  for (const char* c = held; *c; ++c) {
    if (*c == 'S') s.Include(ssShift);
    if (*c == 'C') s.Include(ssCtrl);
    if (*c == 'A') s.Include(ssAlt);
  }
  return s;
}

struct KeyCase {
  int key;
  const char* held;  // S shift, C ctrl, A alt
  TTreeKeyCommand command;
};
const KeyCase kKeyCases[] = {
    // The clipboard chords, and what the same keys mean otherwise.
    {Qt::Key_C, "C", C::Copy},
    {Qt::Key_C, "CS", C::Copy},
    {Qt::Key_C, "", C::None},  // a letter for the incremental search
    {Qt::Key_Insert, "C", C::Copy},
    {Qt::Key_Insert, "S", C::Paste},
    {Qt::Key_Insert, "CS", C::Copy},
    {Qt::Key_Insert, "", C::None},
    {Qt::Key_X, "C", C::Cut},
    {Qt::Key_Delete, "S", C::Cut},
    {Qt::Key_Delete, "CS", C::None},
    {Qt::Key_Delete, "", C::None},
    {Qt::Key_V, "CA", C::Paste},
    // Moving the focus, and Ctrl moving the view instead.
    {Qt::Key_Up, "", C::FocusUp},
    {Qt::Key_Up, "S", C::FocusUp},
    {Qt::Key_Up, "C", C::ScrollLineUp},
    {Qt::Key_Down, "", C::FocusDown},
    {Qt::Key_Down, "CS", C::ScrollLineDown},
    {Qt::Key_PageUp, "", C::PageUp},
    {Qt::Key_PageUp, "C", C::ScrollPageUp},
    {Qt::Key_PageDown, "S", C::PageDown},
    {Qt::Key_PageDown, "C", C::ScrollPageDown},
    {Qt::Key_Home, "", C::FocusFirst},
    {Qt::Key_Home, "C", C::ScrollToLeftEdge},
    {Qt::Key_End, "S", C::FocusLast},
    {Qt::Key_End, "C", C::ScrollToRightEdge},
    {Qt::Key_Left, "", C::CollapseOrParent},
    {Qt::Key_Left, "C", C::ScrollLeft},
    {Qt::Key_Right, "A", C::ExpandOrChild},
    {Qt::Key_Right, "C", C::ScrollRight},
    {Qt::Key_Backspace, "S", C::FocusParent},
    // Columns.
    {Qt::Key_Tab, "", C::NextColumn},
    {Qt::Key_Tab, "C", C::NextColumn},
    {Qt::Key_Tab, "S", C::PreviousColumn},
    {Qt::Key_Tab, "CS", C::PreviousColumn},
    {Qt::Key_Backtab, "", C::PreviousColumn},
    // Folding: the plain key on the focused node, Ctrl on columns, Ctrl+Shift on all.
    {Qt::Key_Plus, "", C::Expand},
    {Qt::Key_Plus, "C", C::FitColumns},
    {Qt::Key_Plus, "CS", C::ExpandAll},
    {Qt::Key_Plus, "S", C::Expand},
    {Qt::Key_Minus, "", C::Collapse},
    {Qt::Key_Minus, "C", C::RestoreColumns},
    {Qt::Key_Minus, "CS", C::CollapseAll},
    {Qt::Key_Asterisk, "", C::ExpandSubtree},
    {Qt::Key_Slash, "C", C::CollapseSubtree},
    // The rest.
    {Qt::Key_A, "C", C::SelectAll},
    {Qt::Key_A, "", C::None},
    {Qt::Key_Space, "", C::PressCheck},
    {Qt::Key_Escape, "S", C::Cancel},
    {Qt::Key_Menu, "", C::PopupMenu},
    {Qt::Key_F1, "C", C::Help},
    {Qt::Key_F2, "", C::Edit},
    {Qt::Key_F2, "S", C::Swallow},
    {Qt::Key_F3, "", C::None},
};

class KeyTable : public testing::TestWithParam<KeyCase> {};

TEST_P(KeyTable, MapsTheKeyAndChordToItsCommand) {
  EXPECT_EQ(LazyTreeKeyCommand(GetParam().key, Mods(GetParam().held)), GetParam().command);
}
INSTANTIATE_TEST_SUITE_P(Keys, KeyTable, testing::ValuesIn(kKeyCases));

TEST(KeyTable, TheSearchKeepsItsEditingKeys) {
  for (int key : {Qt::Key_Backspace, Qt::Key_Asterisk, Qt::Key_Plus, Qt::Key_Minus, Qt::Key_Slash})
    EXPECT_TRUE(IsSearchEditKey(key)) << key;
  for (int key : {Qt::Key_A, Qt::Key_Space, Qt::Key_Delete, Qt::Key_Escape}) EXPECT_FALSE(IsSearchEditKey(key)) << key;
}

}  // namespace
