#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Appends the names of the folder's question files: every regular file whose
// name contains ".skq" in any letter case, sorted by name ignoring case.
void ListQuestionFiles(const std::filesystem::path& folder, std::vector<std::string>& files);

// The folder of a set named in a set list: the list file's folder followed directly
// by the entry's folder text (Windows-1250, "\" separators). Where that path does
// not exist, each component is matched ignoring letter case, as lists made on a
// case-blind file system expect.
std::filesystem::path ResolveSetFolder(const std::filesystem::path& listFile, std::string_view folderText);
