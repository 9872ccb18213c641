#include "core/base/CodePage.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <array>

namespace {

// Windows-1250 bytes 0x80..0xFF; unassigned bytes map to the C1 control of
// the same number, as the Windows conversion does, so every byte round-trips.
constexpr std::array<char16_t, 128> kHighHalf = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, 0x0088, 0x2030, 0x0160, 0x2039, 0x015A,
    0x0164, 0x017D, 0x0179, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122,
    0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, 0x00B0, 0x00B1, 0x02DB, 0x0142,
    0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, 0x0154,
    0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD,
    0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA,
    0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, 0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4,
    0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

constexpr char kDefaultChar = '?';

// Reverse map over the whole Basic Multilingual Plane; 0 marks "not in the code page"
// except for U+0000 itself.
struct WideToAnsiTable {
    std::array<unsigned char, 0x10000> bytes{};
    constexpr WideToAnsiTable() {
        for (unsigned c = 0; c < 0x80; ++c)
            bytes[c] = static_cast<unsigned char>(c);
        for (unsigned i = 0; i < kHighHalf.size(); ++i)
            bytes[kHighHalf[i]] = static_cast<unsigned char>(0x80 + i);
    }
};
constexpr WideToAnsiTable kWideToAnsi;

char WideCharToAnsi(char16_t c) {
    const unsigned char b = kWideToAnsi.bytes[c];
    return (b == 0 && c != 0) ? kDefaultChar : static_cast<char>(b);
}

} // namespace

std::u16string Decimal(std::int64_t value) {
    const std::string digits = std::to_string(value);
    return {digits.begin(), digits.end()};
}

char16_t AnsiCharToWide(unsigned char c) { return c < 0x80 ? static_cast<char16_t>(c) : kHighHalf[c - 0x80]; }

std::u16string AnsiToWide(std::string_view ansi) {
    std::u16string wide(ansi.size(), u'\0');
    for (std::size_t i = 0; i < ansi.size(); ++i)
        wide[i] = AnsiCharToWide(static_cast<unsigned char>(ansi[i]));
    return wide;
}

std::string WideToAnsi(std::u16string_view wide) {
    std::string ansi;
    ansi.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const char16_t c = wide[i];
        if (U16_IS_LEAD(c) && i + 1 < wide.size() && U16_IS_TRAIL(wide[i + 1]))
            ++i; // one character outside the plane, one default character
        ansi.push_back(WideCharToAnsi(c));
    }
    return ansi;
}

std::u16string Utf8ToWide(std::string_view utf8) {
    std::u16string wide(utf8.size(), u'\0'); // UTF-16 never needs more units than UTF-8 bytes
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(reinterpret_cast<UChar*>(wide.data()), static_cast<int32_t>(wide.size()), &length, utf8.data(),
                         static_cast<int32_t>(utf8.size()), 0xFFFD, nullptr, &status);
    wide.resize(U_SUCCESS(status) ? static_cast<std::size_t>(length) : 0);
    return wide;
}

std::string WideToUtf8(std::u16string_view wide) {
    std::string utf8(wide.size() * 3, '\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strToUTF8WithSub(utf8.data(), static_cast<int32_t>(utf8.size()), &length,
                       reinterpret_cast<const UChar*>(wide.data()), static_cast<int32_t>(wide.size()), 0xFFFD, nullptr,
                       &status);
    utf8.resize(U_SUCCESS(status) ? static_cast<std::size_t>(length) : 0);
    return utf8;
}

std::string AnsiToUtf8(std::string_view ansi) { return WideToUtf8(AnsiToWide(ansi)); }

std::string Utf8ToAnsi(std::string_view utf8) { return WideToAnsi(Utf8ToWide(utf8)); }

std::size_t FindInvalidUtf8(std::string_view utf8) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(utf8.data());
    const auto length = static_cast<int32_t>(utf8.size());
    for (int32_t i = 0; i < length;) {
        const int32_t start = i;
        UChar32 c;
        U8_NEXT(bytes, i, length, c);
        if (c < 0)
            return static_cast<std::size_t>(start);
    }
    return std::string_view::npos;
}

std::u16string UpperCase(std::u16string_view text) {
    std::u16string upper;
    upper.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        UChar32 c;
        U16_NEXT(text.data(), i, text.size(), c);
        c = u_toupper(c);
        if (U_IS_BMP(c)) {
            upper.push_back(static_cast<char16_t>(c));
        } else {
            upper.push_back(static_cast<char16_t>(U16_LEAD(c)));
            upper.push_back(static_cast<char16_t>(U16_TRAIL(c)));
        }
    }
    return upper;
}

bool SameTextIgnoringCase(std::u16string_view a, std::u16string_view b) {
    if (a == b)
        return true;
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        UChar32 ca, cb;
        U16_NEXT(a.data(), i, a.size(), ca);
        U16_NEXT(b.data(), j, b.size(), cb);
        if (ca != cb && u_toupper(ca) != u_toupper(cb))
            return false;
    }
    return i == a.size() && j == b.size();
}

bool SameAnsiTextIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] == b[i])
            continue;
        const char16_t ca = AnsiCharToWide(static_cast<unsigned char>(a[i]));
        const char16_t cb = AnsiCharToWide(static_cast<unsigned char>(b[i]));
        if (u_toupper(ca) != u_toupper(cb))
            return false;
    }
    return true;
}
