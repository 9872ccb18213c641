// list build: a set list from a folder tree.
#include "core/base/AtomicFile.h"
#include "core/base/CodePage.h"
#include "core/base/StoredNames.h"
#include "core/selection/SetFolders.h"
#include "core/storage/DocumentFormat.h"
#include "core/storage/PakWriter.h"
#include "core/storage/XmlDocument.h"
#include "tools/skq/SkqTool.h"
#include "tools/skq/i18n/Translation.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <ostream>

namespace skq {

namespace {

namespace fs = std::filesystem;

// Far above any set list; a larger file in the list's place is no list to keep.
constexpr std::uintmax_t kMaxListBackup = 256u << 20;

struct TreeEntry {
    std::string Name;   // Windows-1250
    std::string Folder; // relative to the list's folder, "\" separated; empty for a category
    std::vector<TreeEntry> Children;
};

// Windows-1250 text of a UTF-8 name; one the code page can't hold is refused.
std::string AnsiName(const std::string& utf8, const fs::path& where) {
    std::string ansi = Utf8ToAnsi(utf8);
    if (AnsiToUtf8(ansi) != utf8)
        throw ToolFailure(Format(Tr("{1}: \"{2}\" holds a character a set list can't store"), where.string(), utf8));
    if (ansi.find('*') != std::string::npos)
        throw ToolFailure(
            Format(Tr("{1}: \"{2}\" holds \"*\", which ends a field of a set list"), where.string(), utf8));
    return ansi;
}

// A folder's title in UTF-8: the first line of its title file, else its name.
std::string TitleText(const fs::path& folder) {
    std::ifstream file(folder / stored::kSetTitleFile);
    std::string title;
    if (file && std::getline(file, title)) {
        while (!title.empty() && (title.back() == '\r' || title.back() == ' '))
            title.pop_back();
        if (!title.empty())
            return title;
    }
    return folder.filename().string();
}

// The title as a set list stores it.
std::string TitleOf(const fs::path& folder) { return AnsiName(TitleText(folder), folder); }

std::vector<fs::path> Subfolders(const fs::path& folder) {
    std::vector<fs::path> folders;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (it->is_directory(error))
            folders.push_back(it->path());
    // By name ignoring case, as the folder scan orders question files.
    std::sort(folders.begin(), folders.end(), [](const fs::path& a, const fs::path& b) {
        const std::u16string x = UpperCase(AnsiToWide(Utf8ToAnsi(a.filename().string())));
        const std::u16string y = UpperCase(AnsiToWide(Utf8ToAnsi(b.filename().string())));
        return x != y ? x < y : a.filename() < b.filename();
    });
    return folders;
}

// A folder holding question files as a set of the list; nothing for one holding none.
std::optional<TreeEntry> SetEntry(const fs::path& folder, const fs::path& listFolder) {
    std::vector<std::string> files;
    ListQuestionFiles(folder, files);
    if (files.empty())
        return std::nullopt;
    std::string relative = fs::relative(folder, listFolder).generic_string();
    std::replace(relative.begin(), relative.end(), '/', '\\');
    return TreeEntry{TitleOf(folder), "\\" + AnsiName(relative, folder), {}};
}

// Folders holding question files become sets, folders above them categories; the rest is left out.
std::vector<TreeEntry> EntriesUnder(const fs::path& folder, const fs::path& listFolder, int depth) {
    std::vector<TreeEntry> entries;
    if (depth > 64)
        return entries; // a link loop
    for (const fs::path& sub : Subfolders(folder)) {
        if (std::optional<TreeEntry> set = SetEntry(sub, listFolder)) {
            entries.push_back(std::move(*set));
            continue;
        }
        TreeEntry category{TitleOf(sub), {}, EntriesUnder(sub, listFolder, depth + 1)};
        if (!category.Children.empty())
            entries.push_back(std::move(category));
    }
    return entries;
}

void CollectSets(const fs::path& folder, std::vector<std::string>& titles, int depth, std::vector<TreeSet>& sets) {
    if (depth > 64)
        return; // a link loop
    for (const fs::path& sub : Subfolders(folder)) {
        titles.push_back(TitleText(sub));
        std::vector<std::string> files;
        ListQuestionFiles(sub, files);
        if (!files.empty())
            sets.push_back({sub, titles});
        else
            CollectSets(sub, titles, depth + 1, sets);
        titles.pop_back();
    }
}

int CountEntries(const std::vector<TreeEntry>& entries) {
    int count = 0;
    for (const TreeEntry& entry : entries)
        count += 1 + CountEntries(entry.Children);
    return count;
}

// Entry lines in list order: id, level, descendant count, parent id, visible, state, name, folder.
void AppendLines(const std::vector<TreeEntry>& entries, int level, int parent, std::vector<std::string>& lines) {
    for (const TreeEntry& entry : entries) {
        const int id = static_cast<int>(lines.size()) + 1;
        lines.push_back(std::to_string(id) + "*" + std::to_string(level) + "*" +
                        std::to_string(CountEntries(entry.Children)) + "*" + std::to_string(parent) + "*" +
                        (level == 0 ? "1" : "0") + "*0*" + entry.Name + "*" + entry.Folder + "*");
        AppendLines(entry.Children, level + 1, id, lines);
    }
}

Bytes ListDocument(const std::string& name, const std::vector<std::string>& lines) {
    namespace E = SetListElement;
    XmlDocument document;
    document.Root.AddChild(u"xml", XmlNodeKind::Instruction).Attributes.push_back({u"version", u"1.0"});
    XmlNode& top = document.Root.AddChild(E::Top);
    top.AddChild(E::Encoding);
    top.AddChild(E::EntryCount).Text = Decimal(static_cast<std::int64_t>(lines.size()));
    top.AddChild(E::Name).Text = AnsiToWide(name);
    for (std::size_t i = 0; i < lines.size(); ++i)
        top.AddChild(std::u16string(E::EntryPrefix) + Decimal(static_cast<std::int64_t>(i))).Text =
            AnsiToWide(lines[i]);
    Bytes bytes;
    document.SaveToStream(bytes);
    return bytes;
}

} // namespace

std::vector<TreeSet> SetsInTree(const fs::path& root) {
    std::vector<TreeSet> sets;
    std::vector<std::string> titles;
    CollectSets(root, titles, 0, sets);
    return sets;
}

void WriteSetList(const fs::path& root, const fs::path& out, bool force, std::ostream& report) {
    std::error_code error;
    if (!fs::is_directory(root, error))
        throw ToolFailure(Format(Tr("{1} is not a folder"), root.string()));
    const fs::path listFolder = fs::absolute(out).parent_path();
    if (fs::relative(fs::absolute(root), listFolder).generic_string().starts_with(".."))
        throw ToolFailure(Format(Tr("the set list must lie in {1} or a folder above it"), root.string()));
    std::vector<TreeEntry> entries = EntriesUnder(fs::absolute(root), listFolder, 0);
    // The root's own questions, as an import without categories writes them, are a set too.
    if (std::optional<TreeEntry> own = SetEntry(fs::absolute(root), listFolder))
        entries.insert(entries.begin(), std::move(*own));
    if (entries.empty())
        throw ToolFailure(Format(Tr("{1} holds no folder with question files"), root.string()));
    std::vector<std::string> lines;
    AppendLines(entries, 0, 0, lines);
    RefuseExisting(std::span(&out, 1), force);
    FileBatch written;
    // A list replaced is kept beside the new one: it may hold titles and notes written by hand.
    if (fs::is_regular_file(fs::symlink_status(out, error)))
        written.Write(fs::path(out.string() + "~"), ReadWholeFile(out, kMaxListBackup));
    written.Write(out, BuildPak({{std::string(kSetListDocument40), ListDocument(TitleOf(fs::absolute(root)), lines)}}));
    written.Commit();
    const auto sets = static_cast<std::size_t>(
        std::count_if(lines.begin(), lines.end(), [](const std::string& line) { return !line.ends_with("**"); }));
    const std::size_t categories = lines.size() - sets;
    const std::string setCount = Format(TrPlural("{1} set", "{1} sets", sets), sets);
    // TRANSLATORS: the count after "in" in "Lista.skz: 3 sets in 2 categories".
    const std::string categoryCount = Format(TrPlural("{1} category", "{1} categories", categories), categories);
    // TRANSLATORS: "Lista.skz: 3 sets in 2 categories"
    report << Format(Tr("{1}: {2} in {3}"), out.string(), setCount, categoryCount) << '\n';
}

int RunListBuild(const Arguments& arguments, Io& io) {
    RequirePositional(arguments, 3, 3);
    WriteSetList(arguments.Positional[1], arguments.Positional[2], arguments.Has("force"), io.Out);
    return kExitOk;
}

} // namespace skq
