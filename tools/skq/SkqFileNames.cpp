#include "tools/skq/SkqFileNames.h"

#include "core/base/CodePage.h"

#include <algorithm>
#include <array>

namespace skq {

namespace {

bool SameAsciiIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return (x >= 'a' && x <= 'z' ? x - 32 : x) == (y >= 'a' && y <= 'z' ? y - 32 : y);
    });
}

// The part of a name that Windows compares with device names: before the first dot, without trailing spaces.
std::string_view DevicePart(std::string_view name) {
    name = name.substr(0, name.find('.'));
    return name.substr(0, name.find_last_not_of(' ') + 1);
}

bool IsPictureNameChar(char32_t c) {
    const bool ascii =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
    // Letters of the code page the program stores names in; × and ÷ are no letters.
    const std::u16string one(1, static_cast<char16_t>(c));
    const bool letter = c >= 0xC0 && c <= 0xFFFF && c != 0xD7 && c != 0xF7 && AnsiToWide(WideToAnsi(one)) == one;
    return ascii || letter;
}

} // namespace

bool IsReservedName(std::string_view name) {
    constexpr std::array<std::string_view, 4> kDevices = {"CON", "PRN", "AUX", "NUL"};
    const std::string_view part = DevicePart(name);
    if (std::any_of(kDevices.begin(), kDevices.end(),
                    [&](std::string_view device) { return SameAsciiIgnoringCase(part, device); }))
        return true;
    const bool numbered = part.size() == 4 && part[3] >= '1' && part[3] <= '9';
    return numbered &&
           (SameAsciiIgnoringCase(part.substr(0, 3), "COM") || SameAsciiIgnoringCase(part.substr(0, 3), "LPT"));
}

std::string WithoutReservedName(std::string name) {
    if (!IsReservedName(name))
        return name;
    const std::size_t end = DevicePart(name).size();
    return name.substr(0, end) + "_" + name.substr(end);
}

std::string SafePictureFileName(std::string_view name) {
    name.remove_prefix(std::min(name.find_first_not_of('.'), name.size()));
    // The one dot kept is the one before a picture's extension, so no
    // name can look like a question file or a set list.
    std::string_view extension = name.substr(std::min(name.rfind('.'), name.size()));
    constexpr std::array<std::string_view, 4> kPictureExtensions = {".jpg", ".gif", ".bmp", ".png"};
    if (std::none_of(kPictureExtensions.begin(), kPictureExtensions.end(),
                     [&](std::string_view known) { return SameAsciiIgnoringCase(extension, known); }))
        extension = {};
    std::u16string stem;
    for (const char16_t c : Utf8ToWide(name.substr(0, name.size() - extension.size())))
        stem += IsPictureNameChar(c) ? c : u'_';
    return WithoutReservedName((stem.empty() ? "obrazek" : WideToUtf8(stem)) + std::string(extension));
}

bool FolderNames::Take(std::string_view utf8) { return taken_.insert(UpperCase(Utf8ToWide(utf8))).second; }

} // namespace skq
