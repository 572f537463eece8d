#pragma once
// Which command a key press means to the tree, as a table: widget-free, so the mapping
// is tested on its own and each command's handler stays small.
#include "treeview/LazyTreeTypes.h"

enum class TTreeKeyCommand {
  None,
  Copy,
  Cut,
  Paste,
  FocusParent,        // Backspace
  NextColumn,         // Tab
  PreviousColumn,     // Shift+Tab, Backtab
  ScrollPageUp,       // Ctrl+PageUp: the view moves, the focus stays
  ScrollPageDown,
  PageUp,             // as many rows as fit into the window
  PageDown,
  ScrollToLeftEdge,   // Ctrl+Home
  ScrollToRightEdge,  // Ctrl+End
  FocusFirst,
  FocusLast,
  ScrollLeft,         // Ctrl+Left: one indent
  ScrollRight,
  CollapseOrParent,   // Left
  ExpandOrChild,      // Right
  ScrollLineUp,       // Ctrl+Up: one default row
  ScrollLineDown,
  FocusUp,
  FocusDown,
  Cancel,             // Escape: the selection rectangle, else the editor
  PressCheck,         // Space: the check box of the focused node
  SelectAll,          // Ctrl+A
  PopupMenu,
  ExpandSubtree,      // *
  ExpandAll,          // Ctrl+Shift+Plus
  FitColumns,         // Ctrl+Plus
  Expand,             // Plus
  CollapseAll,        // Ctrl+Shift+Minus
  RestoreColumns,     // Ctrl+Minus
  Collapse,           // Minus
  CollapseSubtree,    // /
  Help,               // F1
  Edit,               // F2 without modifiers
  Swallow,            // F2 with modifiers: taken, nothing done
};

// Keys with ctrl held mean the Ctrl command whether shift or alt are held too; the
// "shift only" chords need shift without ctrl. "*", "+", "-" and "/" come in as
// Qt::Key_Asterisk, Key_Plus, Key_Minus and Key_Slash from either keypad.
TTreeKeyCommand LazyTreeKeyCommand(int Key, TShiftState Shift);

// The keys an incremental search takes while it runs (Backspace and the keypad signs).
bool IsSearchEditKey(int Key);
