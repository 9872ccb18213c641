#include "core/selection/SetTreeKeys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Kind = SetListKey::Kind;

// A closed category of two sets, then a set of its own: two rows until the category opens.
SetTree SmallTree() {
    SetTree tree;
    ResetSetTree(tree, 4 * kTreeRowHeight);
    BuildSetTree(tree, {"1*0*2*0*1*0*Matematyka**", "2*1*0*1*0*0*Ułamki*\\u*", "3*1*0*1*0*0*Potęgi*\\p*",
                        "4*0*0*0*1*0*Historia*\\h*"});
    return tree;
}

int RowY(int row) { return kTreeFirstRowTop + row * kTreeRowHeight; }

// Keys after the first: the ring is on the selected row.
SetListKeyOutcome Press(Kind kind, const SetTree& tree) { return SetListKeyAction({kind, false}, tree, true); }

} // namespace

TEST(SetListKeys, UpAndDownSelectTheNeighbouringVisibleRowAndStopAtTheEnds) {
    SetTree tree = SmallTree();
    EXPECT_EQ(Press(Kind::Up, tree).What, SetListAction::Nothing);
    const SetListKeyOutcome down = Press(Kind::Down, tree);
    ASSERT_EQ(down.What, SetListAction::SelectRow);
    EXPECT_EQ(down.RowY, RowY(1)); // the hidden sets of the closed category are skipped
    ASSERT_TRUE(SelectSetTreeRow(tree, down.RowY));
    EXPECT_EQ(tree.Selected, 3);
    EXPECT_EQ(Press(Kind::Down, tree).What, SetListAction::Nothing);
    EXPECT_EQ(Press(Kind::Up, tree).RowY, RowY(0));
}

TEST(SetListKeys, TheFirstArrowTakesTheRowSelectedNowEvenTheOnlyOne) {
    SetTree single;
    ResetSetTree(single, 4 * kTreeRowHeight);
    BuildSetTree(single, {"1*0*0*0*1*0*Historia*\\h*"});
    for (const Kind kind : {Kind::Up, Kind::Down}) {
        const SetListKeyOutcome first = SetListKeyAction({kind, false}, single, false);
        EXPECT_EQ(first.What, SetListAction::SelectRow);
        EXPECT_EQ(first.RowY, RowY(0));
    }
}

TEST(SetListKeys, WithoutASelectionDownStartsAtTheTopAndAnEmptyTreeDoesNothing) {
    SetTree tree = SmallTree();
    tree.Entries[0].State = EntryState::Normal;
    tree.Selected = -1;
    EXPECT_EQ(Press(Kind::Down, tree).RowY, RowY(0));
    SetTree empty;
    BuildSetTree(empty, {});
    for (const Kind kind : {Kind::Up, Kind::Down, Kind::Left, Kind::Right, Kind::Space})
        EXPECT_EQ(Press(kind, empty).What, SetListAction::Nothing);
}

TEST(SetListKeys, RightOnlyOpensLeftOnlyClosesSpaceToggles) {
    SetTree tree = SmallTree();
    EXPECT_EQ(Press(Kind::Left, tree).What, SetListAction::Nothing);
    EXPECT_EQ(Press(Kind::Right, tree).What, SetListAction::ToggleEntry);
    EXPECT_EQ(Press(Kind::Space, tree).What, SetListAction::ToggleEntry);
    ASSERT_TRUE(ToggleSetTreeEntry(tree));
    EXPECT_EQ(Press(Kind::Right, tree).What, SetListAction::Nothing);
    EXPECT_EQ(Press(Kind::Left, tree).What, SetListAction::ToggleEntry);
    // A set is no category: nothing opens.
    SelectSetTreeRow(tree, RowY(1));
    for (const Kind kind : {Kind::Left, Kind::Right, Kind::Space})
        EXPECT_EQ(Press(kind, tree).What, SetListAction::Nothing);
}

TEST(SetListKeys, EnterChoosesEscapeCancelsAndModifiedKeysDoNothing) {
    const SetTree tree = SmallTree();
    EXPECT_EQ(Press(Kind::Enter, tree).What, SetListAction::Choose);
    EXPECT_EQ(Press(Kind::Escape, tree).What, SetListAction::Cancel);
    EXPECT_EQ(Press(Kind::Other, tree).What, SetListAction::Nothing);
    for (const Kind kind : {Kind::Down, Kind::Right, Kind::Enter, Kind::Escape})
        EXPECT_EQ(SetListKeyAction({kind, true}, tree, true).What, SetListAction::Nothing);
}

TEST(SetListKeys, ScrollingBringsTheSelectedRowIntoViewByTheLeastStep) {
    SetTree tree;
    ResetSetTree(tree, 4 * kTreeRowHeight);
    std::vector<std::string> lines;
    for (int i = 1; i <= 10; ++i)
        lines.push_back(std::to_string(i) + "*0*0*0*1*0*Zestaw*\\z*");
    BuildSetTree(tree, lines);
    EXPECT_EQ(ScrollPositionShowingSelection(tree), 0);
    SelectSetTreeRow(tree, RowY(6));
    EXPECT_EQ(ScrollPositionShowingSelection(tree), 3); // the row comes in at the bottom
    tree.ScrollPosition = 5;
    EXPECT_EQ(ScrollPositionShowingSelection(tree), 5); // already in view
    SelectSetTreeRow(tree, RowY(2));
    EXPECT_EQ(ScrollPositionShowingSelection(tree), 2); // comes in at the top
    EXPECT_EQ(SelectedSetTreeRowTop(tree), RowY(2));
}

TEST(SetListKeys, ScrollingStaysInRangeWithoutASelectionOrRoomForARow) {
    SetTree tree = SmallTree();
    tree.ScrollPosition = 7;
    tree.Selected = -1;
    EXPECT_EQ(ScrollPositionShowingSelection(tree), 0);
    EXPECT_EQ(SelectedSetTreeRowTop(tree), std::nullopt);
    tree = SmallTree();
    tree.RowsThatFit = 0;
    SelectSetTreeRow(tree, RowY(1));
    EXPECT_EQ(ScrollPositionShowingSelection(tree), 1);
}
