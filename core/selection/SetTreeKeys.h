#pragma once

#include "core/selection/SetTree.h"

#include <optional>

// What a key does in the set list window: the same as the mouse on the tree or a spot.

struct SetListKey {
    enum class Kind { Up, Down, Left, Right, Space, Enter, Escape, Other } What = Kind::Other;
    bool Modified = false; // Ctrl, Alt or Meta held: those keys belong to the main window
};

enum class SetListAction { Nothing, SelectRow, ToggleEntry, Choose, Cancel };

struct SetListKeyOutcome {
    SetListAction What = SetListAction::Nothing;
    int RowY = 0; // where a click would select the row, for SelectRow
};

// focusShown: the keyboard's ring is on the selected row. Until it is, Up and Down put it
// on the row selected now (a new list starts with its first row selected but not chosen),
// choosing it as a click there does.
SetListKeyOutcome SetListKeyAction(const SetListKey& key, const SetTree& tree, bool focusShown);

// The top of the selected row on the tree picture; none when nothing visible is selected.
std::optional<int> SelectedSetTreeRowTop(const SetTree& tree);
// The scroll position nearest to the present one that shows the selected row whole.
int ScrollPositionShowingSelection(const SetTree& tree);
