#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// 8-bit text of the system is Windows-1250; wide text is UTF-16.
// Every byte survives AnsiToWide followed by WideToAnsi.
std::u16string AnsiToWide(std::string_view ansi);
// A character the code page lacks becomes "?" (a surrogate pair becomes one "?").
std::string WideToAnsi(std::u16string_view wide);
char16_t AnsiCharToWide(unsigned char c);

// UTF-8 at the edges: file names, the command-line tool, test sources.
std::u16string Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::u16string_view wide);
std::string AnsiToUtf8(std::string_view ansi);
std::string Utf8ToAnsi(std::string_view utf8);
// Offset of the first byte that starts no well-formed UTF-8 sequence; npos when there is none.
std::size_t FindInvalidUtf8(std::string_view utf8);

// Name comparison: both sides upper-cased with the Unicode simple mapping.
// A number in decimal digits.
std::u16string Decimal(std::int64_t value);
std::u16string UpperCase(std::u16string_view text);
bool SameTextIgnoringCase(std::u16string_view a, std::u16string_view b);
bool SameAnsiTextIgnoringCase(std::string_view a, std::string_view b);
