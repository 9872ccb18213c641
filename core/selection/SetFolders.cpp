#include "core/selection/SetFolders.h"

#include "core/base/CodePage.h"
#include "core/base/StoredNames.h"

#include <dirent.h>

#include <algorithm>
#include <memory>
#include <numeric>
#include <sys/stat.h>

namespace {

// "*" spans any characters, "?" is one character; both sides already upper case.
bool MatchesPlainWildcard(std::u16string_view name, std::u16string_view pattern) {
    std::size_t n = 0, p = 0;
    std::size_t starAt = std::u16string_view::npos, resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == name[n])) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starAt = p++;
            resumeAt = n;
        } else if (starAt != std::u16string_view::npos) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

// A name with its upper-cased form, computed once: sorting compares each name many times. The
// form is UTF-16 stored big-endian, so comparing its bytes compares the code units in order.
struct ListedName {
    std::string Key;
    std::string Name;
};

// Case-insensitive name order with ties broken by bytes, as the sets' home file system lists them.
bool ComesBefore(const ListedName& a, const ListedName& b) {
    const int order = a.Key.compare(b.Key);
    return order != 0 ? order < 0 : a.Name < b.Name;
}

std::string SortKey(std::u16string_view upperName) {
    std::string key(2 * upperName.size(), '\0');
    for (std::size_t i = 0; i < upperName.size(); ++i) {
        key[2 * i] = static_cast<char>(upperName[i] >> 8);
        key[2 * i + 1] = static_cast<char>(upperName[i] & 0xFF);
    }
    return key;
}

// Most names are ASCII, whose upper case needs no lookup in the Unicode tables.
std::u16string UpperName(std::string_view name) {
    std::u16string upper(name.size(), u'\0');
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (static_cast<unsigned char>(c) >= 0x80)
            return UpperCase(Utf8ToWide(name));
        upper[i] = static_cast<char16_t>(c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c);
    }
    return upper;
}

// Regular files and links to them; the entry's type spares a stat for most.
bool IsRegularFile(DIR* folder, const dirent& entry) {
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN)
        return entry.d_type == DT_REG;
    struct stat status;
    return ::fstatat(::dirfd(folder), entry.d_name, &status, 0) == 0 && S_ISREG(status.st_mode);
}

// Closes the folder however the listing ends.
struct FolderCloser {
    void operator()(DIR* folder) const { ::closedir(folder); }
};

bool MatchesUpperWildcard(std::u16string_view upperName, std::u16string_view upperPattern) {
    if (MatchesPlainWildcard(upperName, upperPattern))
        return true;
    // A trailing ".*" may also match the end of the name.
    return upperPattern.ends_with(u".*") &&
           MatchesPlainWildcard(upperName, upperPattern.substr(0, upperPattern.size() - 2));
}

} // namespace

bool MatchesWildcard(std::u16string_view name, std::u16string_view pattern) {
    return MatchesUpperWildcard(UpperCase(name), UpperCase(pattern));
}

void ListFiles(std::string_view pathPattern, std::string_view namePattern, std::vector<std::string>& names) {
    const std::string joined = std::string(pathPattern) + std::string(namePattern);
    const std::size_t slash = joined.rfind('/');
    const std::filesystem::path folder = slash == std::string::npos ? "." : joined.substr(0, slash + 1);
    const std::u16string mask = UpperCase(Utf8ToWide(slash == std::string::npos ? joined : joined.substr(slash + 1)));

    std::vector<ListedName> found;
    const std::unique_ptr<DIR, FolderCloser> listing(::opendir(folder.c_str()));
    if (!listing)
        return;
    while (const dirent* entry = ::readdir(listing.get())) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == ".." || !IsRegularFile(listing.get(), *entry))
            continue;
        const std::u16string upper = UpperName(name);
        if (MatchesUpperWildcard(upper, mask))
            found.push_back({SortKey(upper), std::string(name)});
    }
    // Sorting places, not the names themselves, moves nothing but numbers.
    std::vector<std::uint32_t> order(found.size());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(),
              [&found](std::uint32_t a, std::uint32_t b) { return ComesBefore(found[a], found[b]); });
    names.reserve(names.size() + found.size());
    for (const std::uint32_t place : order)
        names.push_back(std::move(found[place].Name));
}

void ListQuestionFiles(const std::filesystem::path& folder, std::vector<std::string>& files) {
    ListFiles(folder.string() + "/*" + std::string(stored::kQuestionFileExtension), "*.*", files);
}

namespace {

// The entry of the folder whose name equals the component ignoring case, or the component as it stands.
std::filesystem::path MatchComponent(const std::filesystem::path& folder, const std::filesystem::path& component) {
    const std::u16string wanted = Utf8ToWide(component.string());
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (SameTextIgnoringCase(Utf8ToWide(it->path().filename().string()), wanted))
            return it->path().filename();
    }
    return component;
}

} // namespace

std::filesystem::path ResolveSetFolder(const std::filesystem::path& listFile, std::string_view folderText) {
    std::string text = AnsiToUtf8(folderText);
    std::replace(text.begin(), text.end(), '\\', '/');
    const std::filesystem::path listFolder = listFile.has_parent_path() ? listFile.parent_path() : ".";
    const std::filesystem::path exact = listFolder.string() + text;
    std::error_code error;
    if (std::filesystem::exists(exact, error))
        return exact;
    std::filesystem::path resolved;
    for (const std::filesystem::path& component : exact.lexically_normal()) {
        const bool plain = component.has_filename() && component != "." && component != "..";
        resolved /= plain && !std::filesystem::exists(resolved / component, error)
                        ? MatchComponent(resolved.empty() ? "." : resolved, component)
                        : component;
    }
    return resolved;
}
