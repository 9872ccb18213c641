#include "core/selection/SetTreeKeys.h"

#include <algorithm>

namespace {

// The selected entry's place among the visible rows; none when nothing visible is selected.
std::optional<int> SelectedRow(const SetTree& tree) {
    if (tree.Selected < 0 || tree.Entries[static_cast<std::size_t>(tree.Selected)].Visible != 1)
        return std::nullopt;
    const auto selected = tree.Entries.begin() + tree.Selected;
    return static_cast<int>(
        std::count_if(tree.Entries.begin(), selected, [](const SetListEntry& entry) { return entry.Visible == 1; }));
}

int RowTop(int row) { return kTreeFirstRowTop + row * kTreeRowHeight; }

// The row step rows away, held to the first and last; without a selection Down starts at the top.
SetListKeyOutcome StepSelection(const SetTree& tree, int step, bool focusShown) {
    if (tree.VisibleCount <= 0)
        return {};
    const std::optional<int> selected = SelectedRow(tree);
    if (selected && !focusShown)
        return {SetListAction::SelectRow, RowTop(*selected)};
    const int row = selected ? std::clamp(*selected + step, 0, tree.VisibleCount - 1) : 0;
    if (selected == row)
        return {};
    return {SetListAction::SelectRow, RowTop(row)};
}

bool SelectedIsCategory(const SetTree& tree) {
    return SelectedRow(tree) && tree.Entries[static_cast<std::size_t>(tree.Selected)].DescendantCount > 0;
}

bool SelectedIsOpen(const SetTree& tree) {
    const std::size_t next = static_cast<std::size_t>(tree.Selected) + 1;
    return next < tree.Entries.size() && tree.Entries[next].Visible == 1;
}

// Right only opens and Left only closes, so holding either never flickers the category.
SetListKeyOutcome ToggleWhen(const SetTree& tree, bool wantOpen) {
    if (!SelectedIsCategory(tree) || SelectedIsOpen(tree) == wantOpen)
        return {};
    return {SetListAction::ToggleEntry};
}

} // namespace

SetListKeyOutcome SetListKeyAction(const SetListKey& key, const SetTree& tree, bool focusShown) {
    if (key.Modified)
        return {};
    switch (key.What) {
    case SetListKey::Kind::Up: return StepSelection(tree, -1, focusShown);
    case SetListKey::Kind::Down: return StepSelection(tree, 1, focusShown);
    case SetListKey::Kind::Right: return ToggleWhen(tree, true);
    case SetListKey::Kind::Left: return ToggleWhen(tree, false);
    case SetListKey::Kind::Space:
        return SelectedIsCategory(tree) ? SetListKeyOutcome{SetListAction::ToggleEntry} : SetListKeyOutcome{};
    case SetListKey::Kind::Enter: return {SetListAction::Choose};
    case SetListKey::Kind::Escape: return {SetListAction::Cancel};
    case SetListKey::Kind::Other: return {};
    }
    return {};
}

std::optional<int> SelectedSetTreeRowTop(const SetTree& tree) {
    const std::optional<int> row = SelectedRow(tree);
    return row ? std::optional<int>(RowTop(*row)) : std::nullopt;
}

int ScrollPositionShowingSelection(const SetTree& tree) {
    const int last = std::max(0, tree.VisibleCount - tree.RowsThatFit);
    const std::optional<int> row = SelectedRow(tree);
    if (!row)
        return std::clamp(tree.ScrollPosition, 0, last);
    const int fit = std::max(1, tree.RowsThatFit);
    const int position = std::clamp(tree.ScrollPosition, *row - fit + 1, *row);
    return std::clamp(position, 0, last);
}
