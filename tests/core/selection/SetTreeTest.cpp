#include "core/selection/SetTree.h"

#include "core/base/CodePage.h"
#include "core/session/TestRun.h"
#include "core/storage/SettingsFile.h"
#include "support/Recorder.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

constexpr Rgb kNormal{91, 90, 92};
constexpr Rgb kGreen{0, 128, 0};
constexpr Rgb kGrey{128, 128, 128};

std::string Line(int id, int level, int descendants, int parent, int visible, int state, const std::string& name,
                 const std::string& folder = "") {
    return std::to_string(id) + "*" + std::to_string(level) + "*" + std::to_string(descendants) + "*" +
           std::to_string(parent) + "*" + std::to_string(visible) + "*" + std::to_string(state) + "*" +
           Utf8ToAnsi(name) + "*" + folder + "*";
}

// Two categories, one nested, around three sets.
const std::vector<std::string> kSchool = {
    Line(1, 0, 4, 0, 1, 0, "Matematyka"),
    Line(2, 1, 0, 1, 1, 0, "Ułamki", "\\Matematyka\\Ulamki"),
    Line(3, 1, 1, 1, 1, 0, "Geometria"),
    Line(4, 2, 0, 3, 1, 3, "Trójkąty", "\\Matematyka\\Trojkaty"),
    Line(5, 1, 0, 1, 1, 4, "Procenty", "\\Matematyka\\Procenty"),
    Line(6, 0, 0, 0, 1, 0, "Przyroda", "\\Przyroda"),
};

std::vector<std::string> TopLevelSets(int count) {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i)
        lines.push_back(Line(i + 1, 0, 0, 0, 1, 0, "Zestaw " + std::to_string(i + 1), "\\z" + std::to_string(i + 1)));
    return lines;
}

// The tree of a freshly opened window, with the choice and the set folder put back afterwards.
class SetTreeTest : public ::testing::Test {
protected:
    bool Open(const std::vector<std::string>& lines) {
        ResetSetTree(tree, 260);
        return BuildSetTree(tree, lines);
    }
    std::vector<std::string> RowNames() const {
        std::vector<std::string> names;
        for (const SetTreeRow& row : DrawSetTree(tree))
            names.push_back(AnsiToUtf8(row.Name));
        return names;
    }
    // Mouse down on a row of the picture, as the window handles it.
    std::optional<std::u16string> Click(int row) {
        SelectSetTreeRow(tree, kTreeFirstRowTop + kTreeRowHeight * row + 3);
        return ChooseSelectedSet(tree, dir / "Lista.skz", chosen);
    }
    void DoubleClick(int row) {
        Click(row);
        ToggleSetTreeEntry(tree);
    }
    const SetListEntry& Entry(int index) const { return tree.Entries.at(static_cast<std::size_t>(index)); }

    TempDir dir;
    Recorder record;
    SetTree tree;
    ChosenSet chosen;
};

} // namespace

TEST_F(SetTreeTest, TopLevelEntriesShowByTheirVisibleFieldInListOrder) {
    ASSERT_TRUE(Open({Line(1, 0, 0, 0, 1, 0, "A", "\\a"), Line(2, 0, 0, 0, 0, 0, "B", "\\b"),
                      Line(3, 0, 0, 0, 1, 0, "C", "\\c"), Line(4, -1, 0, 0, 1, 0, "D", "\\d")}));
    EXPECT_THAT(RowNames(), ElementsAre("A", "C", "D"));
    EXPECT_EQ(tree.VisibleCount, 3);
    EXPECT_EQ(tree.RowsThatFit, 16);
    EXPECT_FALSE(FitSetTreeScrollBar(tree).Shown);
    const std::vector<SetTreeRow> rows = DrawSetTree(tree);
    EXPECT_EQ(rows[1].X, 18);
    EXPECT_EQ(rows[1].Y, 21);
    EXPECT_EQ(rows[2].X, -2);
    EXPECT_EQ(rows[2].Y, 37);
}

TEST_F(SetTreeTest, OpeningShowsTheTopLevelClosedWithTheFirstEntrySelected) {
    ASSERT_TRUE(Open(kSchool));
    EXPECT_THAT(RowNames(), ElementsAre("Matematyka", "Przyroda"));
    EXPECT_EQ(tree.Selected, 0);
    EXPECT_EQ(Entry(0).State, EntryState::Selected);
    EXPECT_EQ(Entry(3).State, EntryState::Grey);
    EXPECT_EQ(Entry(1).Visible, 0) << "deeper entries start hidden whatever their line says";
    // A deeper entry's visible field is not read as a number; no line comes in selected.
    ASSERT_TRUE(Open({Line(1, 0, 1, 0, 1, 0, "K"), "2*1*0*1*tak*2*Zestaw*\\z*"}));
    EXPECT_EQ(Entry(1).Visible, 0);
    EXPECT_EQ(Entry(1).State, EntryState::Normal);
    EXPECT_EQ(Entry(1).Name, "Zestaw");
}

TEST_F(SetTreeTest, SeventeenRowsBringTheScrollBarThatMovesThePictureByRows) {
    ASSERT_TRUE(Open(TopLevelSets(16)));
    EXPECT_FALSE(FitSetTreeScrollBar(tree).Shown);
    ASSERT_TRUE(Open(TopLevelSets(17)));
    const ScrollBarFit fit = FitSetTreeScrollBar(tree);
    EXPECT_TRUE(fit.Shown);
    EXPECT_EQ(fit.Max, 1);
    EXPECT_EQ(fit.LargeChange, 15);
    EXPECT_EQ(fit.SmallChange, 14);
    EXPECT_EQ(fit.SmallChangeMax, 5);
    EXPECT_EQ(fit.Position, 0);
    EXPECT_EQ(SetTreePictureTop(tree), 0);
    ScrollSetTree(tree, 1);
    EXPECT_EQ(SetTreePictureTop(tree), -16);
    EXPECT_EQ(FitSetTreeScrollBar(tree).Position, 1) << "the bar is set back to where the tree stands";
}

TEST_F(SetTreeTest, ClosingHidesTheDescendantCountAndOpeningShowsOnlyDirectChildren) {
    ASSERT_TRUE(Open(kSchool));
    DoubleClick(0);
    EXPECT_THAT(RowNames(), ElementsAre("Matematyka", "Ułamki", "Geometria", "Procenty", "Przyroda"));
    DoubleClick(2);
    EXPECT_THAT(RowNames(), ElementsAre("Matematyka", "Ułamki", "Geometria", "Trójkąty", "Procenty", "Przyroda"));
    DoubleClick(0);
    EXPECT_THAT(RowNames(), ElementsAre("Matematyka", "Przyroda"));
    EXPECT_EQ(tree.VisibleCount, 2);
    DoubleClick(0);
    EXPECT_THAT(RowNames(), ElementsAre("Matematyka", "Ułamki", "Geometria", "Procenty", "Przyroda"))
        << "the nested category comes back closed";
    EXPECT_EQ(Entry(4).State, EntryState::Underlined) << "children come back in the state they were left in";
    EXPECT_EQ(Entry(2).State, EntryState::Normal) << "a row loses its highlight when another is selected";
}

// Screen readers name rows by these: the selection follows clicks, the level is the line's.
TEST_F(SetTreeTest, RowsCarryTheirLevelAndWhetherTheyAreSelected) {
    ASSERT_TRUE(Open(kSchool));
    DoubleClick(0);
    Click(2);
    const std::vector<SetTreeRow> rows = DrawSetTree(tree);
    ASSERT_GE(rows.size(), 3U);
    EXPECT_EQ(rows[0].Level, 0);
    EXPECT_FALSE(rows[0].Selected);
    EXPECT_EQ(rows[2].Level, 1);
    EXPECT_TRUE(rows[2].Selected);
    EXPECT_EQ(std::count_if(rows.begin(), rows.end(), [](const SetTreeRow& row) { return row.Selected; }), 1);
}

TEST_F(SetTreeTest, ClosingCountsEntriesWhateverTheirLevelAndOpeningGoesByParentId) {
    // Three descendants claimed, though the third is a top-level entry; a stray entry names the category as parent.
    ASSERT_TRUE(Open({Line(7, 0, 3, 0, 1, 0, "K"), Line(8, 1, 0, 7, 0, 0, "a", "\\a"),
                      Line(9, 1, 0, 7, 0, 0, "b", "\\b"), Line(10, 0, 0, 0, 1, 0, "c", "\\c"),
                      Line(11, 0, 0, 0, 1, 0, "d", "\\d"), Line(12, 3, 0, 7, 0, 0, "e", "\\e")}));
    DoubleClick(0);
    EXPECT_THAT(RowNames(), ElementsAre("K", "a", "b", "c", "d", "e"));
    DoubleClick(0);
    EXPECT_THAT(RowNames(), ElementsAre("K", "d", "e"));
}

TEST_F(SetTreeTest, OnlyASelectedCategoryOpens) {
    ASSERT_TRUE(Open(kSchool));
    Click(1); // Przyroda, a set
    EXPECT_FALSE(ToggleSetTreeEntry(tree));
    SetTree empty;
    EXPECT_FALSE(ToggleSetTreeEntry(empty));
    EXPECT_THAT(RowNames(), ElementsAre("Matematyka", "Przyroda"));
    // The last entry claiming descendants has none after it: it counts as closed and opens nothing.
    ASSERT_TRUE(Open({Line(1, 0, 5, 0, 1, 0, "K")}));
    EXPECT_TRUE(ToggleSetTreeEntry(tree));
    EXPECT_THAT(RowNames(), ElementsAre("K"));
}

TEST_F(SetTreeTest, ClosingUntilEverythingFitsScrollsBackToTheTop) {
    std::vector<std::string> lines = {Line(100, 0, 20, 0, 1, 0, "Kategoria")};
    for (int i = 0; i < 20; ++i)
        lines.push_back(Line(i + 1, 1, 0, 100, 0, 0, "s" + std::to_string(i), "\\s"));
    ASSERT_TRUE(Open(lines));
    ToggleSetTreeEntry(tree);
    ASSERT_TRUE(FitSetTreeScrollBar(tree).Shown);
    EXPECT_EQ(FitSetTreeScrollBar(tree).Max, 5);
    ScrollSetTree(tree, 5);
    ToggleSetTreeEntry(tree);
    EXPECT_FALSE(FitSetTreeScrollBar(tree).Shown);
    EXPECT_EQ(SetTreePictureTop(tree), 0);
}

TEST_F(SetTreeTest, ClicksFindRowsAndKeepTheSelectionBelowTheLastRow) {
    ASSERT_TRUE(Open(kSchool));
    for (int y : {-3, 0, 4, 5, 20}) {
        ASSERT_TRUE(SelectSetTreeRow(tree, 21));
        ASSERT_TRUE(SelectSetTreeRow(tree, y)) << y;
        EXPECT_EQ(tree.Selected, 0) << y;
    }
    EXPECT_TRUE(SelectSetTreeRow(tree, 21));
    EXPECT_EQ(tree.Selected, 5);
    EXPECT_FALSE(SelectSetTreeRow(tree, 37));
    EXPECT_EQ(tree.Selected, 5);
    EXPECT_EQ(Entry(5).State, EntryState::Selected);
    EXPECT_EQ(Entry(0).State, EntryState::Normal);
}

TEST_F(SetTreeTest, TheFirstRowIsTheFirstVisibleEntry) {
    ASSERT_TRUE(Open({Line(1, 0, 0, 0, 0, 0, "ukryty", "\\u"), Line(2, 0, 0, 0, 1, 0, "widoczny", "\\w")}));
    ASSERT_TRUE(SelectSetTreeRow(tree, 2));
    EXPECT_EQ(tree.Selected, 1);
    EXPECT_EQ(ChooseSelectedSet(tree, dir / "Lista.skz", chosen), u"Wybór zestawu: widoczny");
}

TEST_F(SetTreeTest, ChoosingASetAndThenACategoryKeepsTheSet) {
    std::filesystem::create_directories(dir / "Przyroda");
    ASSERT_TRUE(Open(kSchool));
    EXPECT_EQ(ChooseSelectedSet(tree, dir / "Lista.skz", chosen), std::nullopt) << "a category is no choice";
    EXPECT_EQ(Click(1), u"Wybór zestawu: Przyroda");
    EXPECT_EQ(chosen.Name, "Przyroda");
    EXPECT_EQ(chosen.Folder, dir / "Przyroda");
    EXPECT_EQ(Click(0), std::nullopt);
    EXPECT_EQ(tree.Selected, 0);
    EXPECT_EQ(chosen.Name, "Przyroda");
    EXPECT_EQ(chosen.Folder, dir / "Przyroda");
}

TEST_F(SetTreeTest, AClickBelowTheRowsChoosesTheSelectedSetAgain) {
    ASSERT_TRUE(Open({Line(1, 0, 0, 0, 1, 0, "Zestaw", "\\z"), Line(2, 0, 0, 0, 1, 0, "Inny", "\\i")}));
    EXPECT_FALSE(SelectSetTreeRow(tree, 500));
    EXPECT_EQ(ChooseSelectedSet(tree, dir / "Lista.skz", chosen), u"Wybór zestawu: Zestaw");
    EXPECT_EQ(chosen.Name, "Zestaw");
}

TEST_F(SetTreeTest, SetFolderFollowsBackslashesAndMatchesComponentsIgnoringCase) {
    std::filesystem::create_directories(dir / "Matematyka" / "Ułamki");
    ASSERT_TRUE(Open({Line(1, 0, 0, 0, 1, 0, "Ułamki", Utf8ToAnsi("\\MATEMATYKA\\UŁAMKI"))}));
    ASSERT_TRUE(ChooseSelectedSet(tree, dir / "Lista.skz", chosen));
    EXPECT_EQ(chosen.Folder, dir / "Matematyka" / "Ułamki");
}

TEST_F(SetTreeTest, StarAfterAtStaysInTheNameAndMissingFieldsAreEmpty) {
    ASSERT_TRUE(Open({"1*0*0*0*1*0*Zadania @* gwiazdkowe*\\g*", "2*0*0*0*1*0*Kategoria*", "3*0*0*0*1*0*"}));
    EXPECT_THAT(RowNames(), ElementsAre("Zadania @* gwiazdkowe", "Kategoria", ""));
    EXPECT_EQ(Entry(1).Folder, "");
    EXPECT_EQ(Click(0), u"Wybór zestawu: Zadania @* gwiazdkowe");
    EXPECT_EQ(Click(1), std::nullopt);
}

TEST_F(SetTreeTest, ABadNumberFieldEndsTheTreeAtItsLineWithNothingSelected) {
    for (const std::string& bad :
         {std::string(), std::string("3*0*0*0*1*x*C*\\c*"), std::string("3*0*0*0**0*C*\\c*")}) {
        EXPECT_FALSE(Open({Line(1, 0, 0, 0, 1, 0, "A", "\\a"), Line(2, 0, 0, 0, 1, 0, "B", "\\b"), bad,
                           Line(4, 0, 0, 0, 1, 0, "D", "\\d")}));
        ASSERT_EQ(tree.Entries.size(), 4u);
        EXPECT_EQ(tree.Selected, -1);
        EXPECT_EQ(Entry(2).Name, "");
        EXPECT_EQ(Entry(2).Visible, 0);
        EXPECT_EQ(Entry(3).Name, "");
        EXPECT_THAT(RowNames(), ElementsAre("A", "B"));
        EXPECT_EQ(ChooseSelectedSet(tree, dir / "Lista.skz", chosen), std::nullopt);
    }
}

TEST_F(SetTreeTest, AnEmptyListHasNoRowsNoSelectionAndNoScrollBar) {
    EXPECT_TRUE(Open({}));
    EXPECT_THAT(DrawSetTree(tree), IsEmpty());
    EXPECT_EQ(tree.Selected, -1);
    EXPECT_FALSE(FitSetTreeScrollBar(tree).Shown);
    EXPECT_FALSE(SelectSetTreeRow(tree, 0));
    EXPECT_EQ(ChooseSelectedSet(tree, dir / "Lista.skz", chosen), std::nullopt);
    EXPECT_FALSE(ToggleSetTreeEntry(tree));
    EXPECT_EQ(SetTreePictureHeight(tree), kTreePictureHeight);
}

TEST_F(SetTreeTest, RowsTakeTheLookOfTheirStateAndSetsAreUnderlined) {
    ASSERT_TRUE(Open({Line(1, 0, 1, 0, 1, 0, "kategoria"), Line(2, 1, 0, 1, 0, 0, "w środku", "\\w"),
                      Line(3, 0, 0, 0, 1, 3, "szary"), Line(4, 0, 0, 0, 1, 7, "jak szary"),
                      Line(5, 0, 0, 0, 1, 4, "podkreślony"), Line(6, 0, 0, 0, 1, 0, "zestaw", "\\z"),
                      Line(7, 0, 0, 0, 1, 9, "jak zestaw"), Line(8, 0, 0, 0, 1, 0, "zwykły")}));
    ToggleSetTreeEntry(tree);
    const std::vector<SetTreeRow> rows = DrawSetTree(tree);
    ASSERT_EQ(rows.size(), 8u);
    const std::vector<std::pair<Rgb, bool>> looks = {{kGreen, false}, {kNormal, true}, {kGrey, false},
                                                     {kGrey, false},  {kNormal, true}, {kNormal, true},
                                                     {kNormal, true}, {kNormal, false}};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].Colour, looks[i].first) << AnsiToUtf8(rows[i].Name);
        EXPECT_EQ(rows[i].Underlined, looks[i].second) << AnsiToUtf8(rows[i].Name);
    }
    EXPECT_TRUE(rows[0].Category);
    EXPECT_TRUE(rows[0].Open);
    EXPECT_FALSE(rows[1].Category);
    EXPECT_EQ(rows[1].X, 38);
}

TEST_F(SetTreeTest, LongListsGrowThePictureAndWildLevelsStayDrawable) {
    ASSERT_TRUE(Open(TopLevelSets(200)));
    EXPECT_EQ(SetTreePictureHeight(tree), 16 * 200 + 5);
    EXPECT_EQ(DrawSetTree(tree).back().Y, 16 * 199 + 5);
    ScrollSetTree(tree, FitSetTreeScrollBar(tree).Max);
    EXPECT_EQ(SetTreePictureTop(tree), -16 * 184);
    ASSERT_TRUE(Open({Line(1, 0, 1, 0, 1, 0, "K"), Line(2, 2147483647, 0, 1, 0, 0, "daleko"),
                      Line(3, -2147483647 - 1, 0, 0, 1, 0, "blisko")}));
    ToggleSetTreeEntry(tree);
    const std::vector<SetTreeRow> rows = DrawSetTree(tree);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_GT(rows[1].X, kTreePictureWidth);
    EXPECT_LT(rows[2].X, -kTreePictureWidth);
}

TEST_F(SetTreeTest, TheChoiceSurvivesReopeningUntilCancelled) {
    EXPECT_FALSE(ConfirmSetChoice(chosen, record));
    EXPECT_THAT(record.Boxes,
                ElementsAre(::testing::FieldsAre(WarningButtonSet::Close, WarningIcon::Warning,
                                                 u"Podaj poprawnie konieczne dane.\rWybierz zestaw z podanej listy.")));
    ASSERT_TRUE(Open(kSchool));
    Click(1);
    const std::filesystem::path chosenFolder = chosen.Folder;
    ASSERT_TRUE(Open(kSchool));
    EXPECT_EQ(tree.Selected, 0);
    EXPECT_EQ(chosen.Name, "Przyroda");
    EXPECT_EQ(chosen.Folder, chosenFolder);
    EXPECT_TRUE(ConfirmSetChoice(chosen, record));
    EXPECT_EQ(record.Boxes.size(), 1u);
}
