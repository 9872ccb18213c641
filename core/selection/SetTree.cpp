#include "core/selection/SetTree.h"

#include "core/base/CodePage.h"
#include "core/base/ShowWarning.h"
#include "core/selection/SetFolders.h"
#include "core/session/TestRun.h"
#include "core/storage/SettingsFile.h"

#include <algorithm>
#include <charconv>
#include <initializer_list>

std::string ReadEntryField(std::string_view line, std::size_t& position) {
    for (std::size_t at = position; at < line.size(); ++at) {
        if (line[at] == '*' && (at == 0 || line[at - 1] != '@')) {
            std::string field(line.substr(position, at - position));
            position = at + 1;
            return field;
        }
    }
    return {};
}

namespace {

bool ReadNumberField(std::string_view line, std::size_t& position, std::int32_t& value) {
    const std::string field = ReadEntryField(line, position);
    const char* begin = field.data();
    if (!field.empty() && field[0] == '+')
        ++begin;
    const auto [end, error] = std::from_chars(begin, field.data() + field.size(), value);
    return !field.empty() && error == std::errc{} && end == field.data() + field.size();
}

bool ReadNumberFields(std::string_view line, std::size_t& position, std::initializer_list<std::int32_t*> numbers) {
    return std::all_of(numbers.begin(), numbers.end(),
                       [&](std::int32_t* number) { return ReadNumberField(line, position, *number); });
}

bool ReadStateField(std::string_view line, std::size_t& position, EntryState& state) {
    std::int32_t number = 0;
    if (!ReadNumberField(line, position, number))
        return false;
    state = static_cast<EntryState>(number);
    return true;
}

void ReadTextFields(std::string_view line, std::size_t& position, SetListEntry& entry) {
    entry.Name = ReadEntryField(line, position);
    entry.Folder = ReadEntryField(line, position);
}

// The tree's reading of a line: only a top-level entry takes its visible field, so
// every category starts closed, and no entry comes in selected.
bool ReadTreeEntry(std::string_view line, SetListEntry& entry) {
    std::size_t position = 0;
    if (!ReadNumberFields(line, position, {&entry.Id, &entry.Level, &entry.DescendantCount, &entry.ParentId}))
        return false;
    if (entry.Level <= 0) {
        if (!ReadNumberField(line, position, entry.Visible))
            return false;
    } else {
        ReadEntryField(line, position);
        entry.Visible = 0;
    }
    if (!ReadStateField(line, position, entry.State))
        return false;
    if (entry.State == EntryState::Selected)
        entry.State = EntryState::Normal;
    ReadTextFields(line, position, entry);
    return true;
}

bool IsVisible(const SetListEntry& entry) { return entry.Visible == 1; }

int CountVisible(const std::vector<SetListEntry>& entries) {
    return static_cast<int>(std::count_if(entries.begin(), entries.end(), IsVisible));
}

// The index of the visible entry that is row-th in list order, or none.
std::optional<std::size_t> VisibleEntryAt(const std::vector<SetListEntry>& entries, std::int64_t row) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (IsVisible(entries[i]) && row-- == 0)
            return i;
    }
    return std::nullopt;
}

// A category is open when the entry right after it is visible.
bool IsOpen(const std::vector<SetListEntry>& entries, std::size_t index) {
    return index + 1 < entries.size() && IsVisible(entries[index + 1]);
}

void CloseSubtree(std::vector<SetListEntry>& entries, std::size_t index) {
    const std::size_t count = static_cast<std::size_t>(entries[index].DescendantCount);
    const std::size_t end = index + 1 + std::min(count, entries.size() - index - 1);
    for (std::size_t i = index + 1; i < end; ++i)
        entries[i].Visible = 0;
}

void OpenChildren(std::vector<SetListEntry>& entries, std::int32_t parentId) {
    for (SetListEntry& entry : entries) {
        if (entry.ParentId == parentId)
            entry.Visible = 1;
    }
}

struct RowLook {
    Rgb Colour;
    bool Underlined = false;
};

constexpr RowLook kNormalLook{{91, 90, 92}, false};

// The look of a state; other states keep the look of the row drawn before.
RowLook LookOfState(EntryState state, const RowLook& before) {
    switch (state) {
    case EntryState::Normal: return kNormalLook;
    case EntryState::Selected: return {{0, 128, 0}, false};
    case EntryState::Grey: return {{128, 128, 128}, false};
    case EntryState::Underlined: return {kNormalLook.Colour, true};
    default: return before;
    }
}

// Levels far out of range put a row far off the picture, never past what a coordinate holds.
int RowX(std::int32_t level) {
    return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{20} * level + 18, -32768, 32767));
}

} // namespace

bool ParseEntryLine(std::string_view line, SetListEntry& entry) {
    std::size_t position = 0;
    if (!ReadNumberFields(line, position,
                          {&entry.Id, &entry.Level, &entry.DescendantCount, &entry.ParentId, &entry.Visible}) ||
        !ReadStateField(line, position, entry.State))
        return false;
    ReadTextFields(line, position, entry);
    return true;
}

void ResetSetTree(SetTree& tree, int panelHeight) {
    tree.Selected = -1;
    tree.RowsThatFit = panelHeight / kTreeRowHeight;
    tree.VisibleCount = 0;
    tree.ScrollPosition = 0;
}

bool BuildSetTree(SetTree& tree, const std::vector<std::string>& lines) {
    tree.Entries.assign(lines.size(), SetListEntry{});
    tree.Selected = -1;
    tree.ScrollPosition = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SetListEntry entry;
        if (!ReadTreeEntry(lines[i], entry)) {
            tree.VisibleCount = CountVisible(tree.Entries);
            return false;
        }
        tree.Entries[i] = std::move(entry);
    }
    if (!tree.Entries.empty()) {
        tree.Selected = 0;
        tree.Entries[0].State = EntryState::Selected;
    }
    tree.VisibleCount = CountVisible(tree.Entries);
    return true;
}

bool SelectSetTreeRow(SetTree& tree, int y) {
    const std::int64_t row = y < kTreeFirstRowTop ? 0 : (y - kTreeFirstRowTop) / kTreeRowHeight;
    const std::optional<std::size_t> found = VisibleEntryAt(tree.Entries, row);
    if (!found)
        return false;
    if (tree.Selected >= 0)
        tree.Entries[static_cast<std::size_t>(tree.Selected)].State = EntryState::Normal;
    tree.Selected = static_cast<int>(*found);
    tree.Entries[*found].State = EntryState::Selected;
    return true;
}

std::optional<std::u16string> ChooseSelectedSet(const SetTree& tree, const std::filesystem::path& listFile,
                                                ChosenSet& chosen) {
    if (tree.Selected < 0)
        return std::nullopt;
    const SetListEntry& entry = tree.Entries[static_cast<std::size_t>(tree.Selected)];
    if (entry.Folder.empty())
        return std::nullopt;
    chosen = {ResolveSetFolder(listFile, entry.Folder), entry.Name};
    return u"Wybór zestawu: " + AnsiToWide(entry.Name);
}

bool ToggleSetTreeEntry(SetTree& tree) {
    if (tree.Selected < 0)
        return false;
    const std::size_t index = static_cast<std::size_t>(tree.Selected);
    if (tree.Entries[index].DescendantCount <= 0)
        return false;
    if (IsOpen(tree.Entries, index))
        CloseSubtree(tree.Entries, index);
    else
        OpenChildren(tree.Entries, tree.Entries[index].Id);
    tree.VisibleCount = CountVisible(tree.Entries);
    // With the scroll bar gone, rows scrolled off the top could not be reached again.
    if (tree.VisibleCount <= tree.RowsThatFit)
        tree.ScrollPosition = 0;
    return true;
}

ScrollBarFit FitSetTreeScrollBar(const SetTree& tree) {
    if (tree.VisibleCount <= tree.RowsThatFit)
        return {};
    return {
        true, tree.VisibleCount - tree.RowsThatFit, tree.RowsThatFit - 1, tree.RowsThatFit - 2, 5, tree.ScrollPosition};
}

void ScrollSetTree(SetTree& tree, int position) { tree.ScrollPosition = position; }

int SetTreePictureTop(const SetTree& tree) {
    return -static_cast<int>(
        std::min<std::int64_t>(std::int64_t{kTreeRowHeight} * tree.ScrollPosition, kTreePictureMaxHeight));
}

int SetTreePictureHeight(const SetTree& tree) {
    const std::int64_t rows = std::int64_t{kTreeRowHeight} * tree.VisibleCount + kTreeFirstRowTop;
    return static_cast<int>(std::clamp<std::int64_t>(rows, kTreePictureHeight, kTreePictureMaxHeight));
}

std::vector<SetTreeRow> DrawSetTree(const SetTree& tree) {
    std::vector<SetTreeRow> rows;
    const int height = SetTreePictureHeight(tree);
    RowLook look = kNormalLook;
    for (std::size_t i = 0; i < tree.Entries.size(); ++i) {
        const SetListEntry& entry = tree.Entries[i];
        if (!IsVisible(entry))
            continue;
        const std::int64_t y = std::int64_t{kTreeRowHeight} * static_cast<std::int64_t>(rows.size()) + kTreeFirstRowTop;
        if (y >= height)
            break;
        look = LookOfState(entry.State, look);
        look.Underlined = look.Underlined || !entry.Folder.empty();
        rows.push_back({entry.Name, RowX(entry.Level), static_cast<int>(y), look.Colour, look.Underlined,
                        entry.DescendantCount > 0, IsOpen(tree.Entries, i), entry.Level,
                        static_cast<int>(i) == tree.Selected});
    }
    return rows;
}

bool ConfirmSetChoice(const ChosenSet& chosen, MessageBox& box) {
    if (!chosen.Name.empty())
        return true;
    box.Show(WarningButtonSet::Close, WarningIcon::Warning,
             u"Podaj poprawnie konieczne dane.\rWybierz zestaw z podanej listy.");
    return false;
}
