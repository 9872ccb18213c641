#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Appends the names of the regular files (and links to them) matching the joined
// pattern pathPattern + namePattern: "*" spans any characters, "?" is one character,
// a trailing ".*" also matches a name without a further dot, letter case is ignored.
// Names come sorted by name ignoring case, the order the sets were made in.
void ListFiles(std::string_view pathPattern, std::string_view namePattern, std::vector<std::string>& names);
bool MatchesWildcard(std::u16string_view name, std::u16string_view pattern);

// Appends the names of the folder's question files: every regular file whose
// name contains ".skq" in any letter case, sorted by name ignoring case.
void ListQuestionFiles(const std::filesystem::path& folder, std::vector<std::string>& files);

// The folder of a set named in a set list: the list file's folder followed directly
// by the entry's folder text (Windows-1250, "\" separators). Where that path does
// not exist, each component is matched ignoring letter case, as lists made on a
// case-blind file system expect.
std::filesystem::path ResolveSetFolder(const std::filesystem::path& listFile, std::string_view folderText);
