#include "core/selection/SetFolders.h"

#include "core/base/CodePage.h"
#include "core/storage/PackArchive.h"

#include <algorithm>

void ListQuestionFiles(const std::filesystem::path& folder, std::vector<std::string>& files) {
    ListFiles(folder.string() + "/*.skq", "*.*", files);
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
