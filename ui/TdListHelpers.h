#pragma once
// Small helpers for list boxes (single- and multi-select), combo boxes, radio groups and
// check lists, as the dialogs use them. An item's object travels as its Qt::UserRole data.
#include <QString>

class QButtonGroup;
class QComboBox;
class QListWidget;

bool ListBoxHasItems(const QListWidget* box);
// Multi-select: at least one item selected; otherwise items exist and one is current.
bool ListBoxHasSelection(const QListWidget* box);
// The current item's text; empty when none.
QString ListBoxSelectedText(const QListWidget* box);
// Ignored when the index is not below the count; multi-select selects it, otherwise it
// becomes current.
void ListBoxSelectIndex(QListWidget* box, int index);
void ListBoxSelectFirst(QListWidget* box);
void ListBoxSelectLast(QListWidget* box);
// Deletes the current item, then selects the same index, or the new last item.
void ListBoxDeleteCurrent(QListWidget* box);
// Deletes every selected item (multi-select), from the end.
void ListBoxDeleteSelected(QListWidget* box);
// Appends the selected items with their objects to `to`.
void ListBoxCopySelected(const QListWidget* from, QListWidget* to);
// Copies, then deletes the selected items from `from`.
void ListBoxMoveSelected(QListWidget* from, QListWidget* to);
// Exchanges the current item with its neighbour and follows it.
void ListBoxMoveItemUp(QListWidget* box);
void ListBoxMoveItemDown(QListWidget* box);
// Items exist and the current index is at least 1.
bool ListBoxCanMoveUp(const QListWidget* box);
// A selection exists that is not the last item.
bool ListBoxCanMoveDown(const QListWidget* box);
bool ComboBoxHasSelection(const QComboBox* box);

// Enables or disables the n-th button of a radio group (in the order they were added).
void EnableRadioGroupItem(QButtonGroup* group, int n, bool enabled);
// Check lists are list boxes whose items are checkable.
void CheckListBoxUncheckAll(QListWidget* box);
int CheckListBoxCheckedCount(const QListWidget* box);
