#include "tools/skq/i18n/Translation.h"

#include <libintl.h>

#include <charconv>
#include <clocale>
#include <filesystem>

namespace skq {

namespace {

constexpr const char* kDomain = "ludra-skq";

// Set by StartTranslation; the executable alone calls it.
bool translating = false;

} // namespace

void StartTranslation() {
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");
    // The build keeps the catalogues in "locale" beside the executable; an installed tool finds
    // them in the system's place, ../share/locale.
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        const std::filesystem::path folder = executable.parent_path();
        const std::filesystem::path beside = folder / "locale";
        const bool inBuildTree = std::filesystem::is_directory(beside, error);
        bindtextdomain(kDomain,
                       (inBuildTree ? beside : (folder / ".." / "share" / "locale").lexically_normal()).c_str());
    }
    bind_textdomain_codeset(kDomain, "UTF-8");
    translating = true;
}

const char* Tr(const char* english) { return translating ? dgettext(kDomain, english) : english; }

const char* TrPlural(const char* singular, const char* plural, unsigned long count) {
    if (translating)
        return dngettext(kDomain, singular, plural, count);
    return count == 1 ? singular : plural;
}

std::string FormatValues(std::string_view message, std::span<const MessageValue> values) {
    std::string text;
    std::size_t copied = 0;
    for (std::size_t open = message.find('{'); open != std::string_view::npos; open = message.find('{', open + 1)) {
        const std::size_t close = message.find('}', open);
        if (close == std::string_view::npos)
            break;
        std::size_t number = 0;
        const char* first = message.data() + open + 1;
        const char* last = message.data() + close;
        const auto [stop, problem] = std::from_chars(first, last, number);
        if (first == last || problem != std::errc{} || stop != last || number == 0 || number > values.size())
            continue;
        text.append(message.substr(copied, open - copied)).append(values[number - 1].Text());
        copied = close + 1;
    }
    return text.append(message.substr(copied));
}

} // namespace skq
