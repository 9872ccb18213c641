#include "tools/skq/SkqFolderPlan.h"

#include "core/base/CodePage.h"

#include <algorithm>
#include <set>

namespace skq {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxFolderName = 64;
// Categories deeper than this share the folder of their ancestor at this depth.
constexpr std::size_t kMaxCategoryDepth = 8;

// A title the set list stores: Windows-1250 without the field separator.
std::string ListTitle(const std::string& name) {
    std::string title = AnsiToUtf8(Utf8ToAnsi(name));
    std::replace(title.begin(), title.end(), '*', '-');
    return title;
}

} // namespace

std::string FolderName(const std::string& name) {
    std::string folder;
    for (const char32_t c : Utf8ToWide(name)) {
        const std::u16string one(1, static_cast<char16_t>(c));
        const bool storable = AnsiToWide(WideToAnsi(one)) == one;
        const bool reserved =
            c < 0x20 || std::u16string_view(u"/\\:*?\"<>|").find(static_cast<char16_t>(c)) != std::u16string_view::npos;
        folder += storable && !reserved ? WideToUtf8(one) : "_";
    }
    while (folder.size() > kMaxFolderName)
        folder.pop_back();
    while (!folder.empty() && FindInvalidUtf8(folder) != std::string::npos)
        folder.pop_back(); // a character cut in two
    while (!folder.empty() && (folder.back() == '.' || folder.back() == ' '))
        folder.pop_back();
    return folder.empty() ? "kategoria" : WithoutReservedName(std::move(folder));
}

fs::path FolderPlan::FolderOf(std::vector<std::string> path, const std::string& ownName) {
    path.resize(std::min(path.size(), kMaxCategoryDepth));
    fs::path folder = root_;
    for (std::size_t depth = 1; depth <= path.size(); ++depth) {
        const std::vector<std::string> key(path.begin(), path.begin() + static_cast<std::ptrdiff_t>(depth));
        const auto known = folders_.find(key);
        const std::string& name = !key.back().empty() ? key.back() : depth > 1 ? key[depth - 2] : ownName;
        folder = known != folders_.end() ? known->second : Add(key, folder, name);
    }
    return folder;
}

fs::path FolderPlan::Add(const std::vector<std::string>& key, const fs::path& parent, const std::string& name) {
    FolderNames& names = namesIn_[parent];
    std::string folder = FolderName(name);
    for (int n = 2; !names.Take(folder); ++n)
        folder = FolderName(name) + " " + std::to_string(n);
    const fs::path path = parent / folder;
    folders_[key] = path;
    if (folder != name)
        Titles.emplace_back(path, ListTitle(name));
    return path;
}

std::vector<PlannedSet> PlanSets(std::span<const std::vector<std::string>> categoryOfQuestion, FolderPlan& plan,
                                 const std::string& stem) {
    std::map<std::vector<std::string>, std::size_t> setOfCategory;
    std::vector<std::vector<std::string>> categories;
    std::vector<PlannedSet> sets;
    for (std::size_t i = 0; i < categoryOfQuestion.size(); ++i) {
        const auto [known, added] = setOfCategory.try_emplace(categoryOfQuestion[i], sets.size());
        if (added) {
            sets.emplace_back();
            categories.push_back(categoryOfQuestion[i]);
        }
        sets[known->second].Questions.push_back(i);
    }
    // Parents within the depth that folders go to; deeper ones share their ancestor's folder anyway.
    std::set<std::vector<std::string>> parents;
    for (const std::vector<std::string>& category : categories)
        for (std::size_t depth = 0; depth < std::min(category.size(), kMaxCategoryDepth); ++depth)
            parents.emplace(category.begin(), category.begin() + static_cast<std::ptrdiff_t>(depth));
    for (std::size_t i = 0; i < sets.size(); ++i) {
        std::vector<std::string> category = categories[i];
        if (parents.contains(category))
            category.emplace_back();
        sets[i].Folder = plan.FolderOf(std::move(category), stem);
    }
    return sets;
}

} // namespace skq
