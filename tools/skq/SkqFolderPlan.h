#pragma once

#include "tools/skq/SkqFileNames.h"

#include <filesystem>
#include <map>
#include <span>
#include <string>
#include <utility>
#include <vector>

// Where import puts the questions of each category: one set folder per category with questions.
namespace skq {

// A folder name every system takes, from a category's name.
std::string FolderName(const std::string& name);

// Folders for category paths: each part named once, names that clash within a parent (letter
// case ignored) numbered, and a title file wherever the folder's name differs from the category's.
class FolderPlan {
public:
    explicit FolderPlan(std::filesystem::path root) : root_(std::move(root)) {}

    // An empty last part stands for a category's own questions, kept beside its subcategories
    // under its name; at the top they take the source's name.
    std::filesystem::path FolderOf(std::vector<std::string> path, const std::string& ownName);

    // Each folder whose name is not its category's, with the title the set list shows.
    std::vector<std::pair<std::filesystem::path, std::string>> Titles;

private:
    std::filesystem::path Add(const std::vector<std::string>& key, const std::filesystem::path& parent,
                              const std::string& name);

    std::filesystem::path root_;
    std::map<std::vector<std::string>, std::filesystem::path> folders_;
    std::map<std::filesystem::path, FolderNames> namesIn_;
};

struct PlannedSet {
    std::filesystem::path Folder;
    std::vector<std::size_t> Questions; // indices of the questions it holds, in source order
};

// One set per category with questions, in the order the categories first appear; a category
// with subcategories keeps its own questions in a set beside them.
std::vector<PlannedSet> PlanSets(std::span<const std::vector<std::string>> categoryOfQuestion, FolderPlan& plan,
                                 const std::string& stem);

} // namespace skq
