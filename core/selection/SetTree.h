#pragma once

#include "core/storage/Bitmap.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Drawing states of an entry, numbered as set list lines give them. A line may carry any
// other number, which draws in the look of the row drawn before.
enum class EntryState : std::int32_t { Normal = 0, Selected = 2, Grey = 3, Underlined = 4 };

// One entry of the set tree, as a set list line gives it.
struct SetListEntry {
    std::int32_t Id = 0;
    std::int32_t Level = 0;
    std::int32_t DescendantCount = 0;
    std::int32_t ParentId = 0;
    std::string Name;
    std::string Folder; // relative to the set list file's folder; empty for a category
    std::int32_t Visible = 0;
    EntryState State = EntryState::Normal;
};

// The text from position up to the next "*" not directly after "@"; the position
// moves past that "*". Without one the field is empty and the position stays.
std::string ReadEntryField(std::string_view line, std::size_t& position);

// Splits an entry line of eight "*"-ended fields: id, level, descendant count,
// parent id, visible, state, name, folder. False when a number field is not a
// decimal integer; the fields before it are filled.
bool ParseEntryLine(std::string_view line, SetListEntry& entry);

// The tree of the set list window: its entries in list order and what of them is
// on screen. Rows are 16 px apart on a tall picture that scrolls in a panel.
struct SetTree {
    std::vector<SetListEntry> Entries;
    int Selected = -1; // index into Entries
    int RowsThatFit = 16;
    int VisibleCount = 0;
    int ScrollPosition = 0; // rows scrolled off the top
};

inline constexpr int kTreeRowHeight = 16;
inline constexpr int kTreeFirstRowTop = 5;
inline constexpr int kTreePictureWidth = 220;
// The picture is at least this tall and grows with the rows, up to the tallest the window can hold.
inline constexpr int kTreePictureHeight = 2000;
inline constexpr int kTreePictureMaxHeight = 16'000'000;

// The set chosen in the list: its folder and its entry's name (Windows-1250). The set list
// window keeps it between showings; cancelling empties it.
class MessageBox;

struct ChosenSet {
    std::filesystem::path Folder;
    std::string Name;
};

inline constexpr std::u16string_view kNoChoiceText = u"Wybór zestawu: brak wyboru. ";

// Before a list is built: nothing selected, nothing visible, scrolled to the top.
void ResetSetTree(SetTree& tree, int panelHeight);
// Builds the entries from the set list's lines, no category open and the first entry
// selected. A number field that is not a decimal integer ends the building at its
// line: the entries from there on stay empty and hidden and nothing is selected;
// false then.
bool BuildSetTree(SetTree& tree, const std::vector<std::string>& lines);
// Selects the row under y (picture coordinates; above the first row counts as the
// first). False, and nothing changes, below the last row.
bool SelectSetTreeRow(SetTree& tree, int y);
// Makes the selected entry the chosen set when it is one, its folder found from the list
// file's, and returns the text for the choice label. Nothing for a category.
std::optional<std::u16string> ChooseSelectedSet(const SetTree& tree, const std::filesystem::path& listFile,
                                                ChosenSet& chosen);
// Opens or closes the selected category: closing hides its whole subtree, opening shows
// its direct children as they were left. False when the selection is no category.
bool ToggleSetTreeEntry(SetTree& tree);

// What the tree's scroll bar is set to: shown only when the visible rows do not fit.
struct ScrollBarFit {
    bool Shown = false;
    int Max = 0;
    int LargeChange = 0;
    int SmallChange = 0;
    int SmallChangeMax = 0;
    int Position = 0;
};
ScrollBarFit FitSetTreeScrollBar(const SetTree& tree);
// The scroll bar moved to the position.
void ScrollSetTree(SetTree& tree, int position);
// Where the picture's top lies in its panel, and how tall the picture is.
int SetTreePictureTop(const SetTree& tree);
int SetTreePictureHeight(const SetTree& tree);

// One row of the tree picture: the text's top left corner and its look.
struct SetTreeRow {
    std::string Name; // Windows-1250
    int X = 0;
    int Y = 0;
    Rgb Colour;
    bool Underlined = false;
    bool Category = false; // has descendants and opens on a double click
    bool Open = false;
    std::int32_t Level = 0;
    bool Selected = false;
};
// The rows on the picture, top to bottom.
std::vector<SetTreeRow> DrawSetTree(const SetTree& tree);

// The confirm spot: true when a set is chosen; otherwise the learner is told to choose one.
bool ConfirmSetChoice(const ChosenSet& chosen, MessageBox& box);
