#pragma once

#include "core/base/Bytes.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

class XmlDocument;

// Encoded fields of question and list documents: base64 of UTF-16LE.
// Each group of four characters decodes by itself, so a padded group in the
// middle does not end the decoding; characters after the last whole group are ignored.
// Raises StorageError on a character outside the alphabet and "=".
Bytes DecodeBase64(std::string_view text);
std::u16string DecodeBase64Utf16(std::u16string_view text);

// Base64 that comes in pieces and broken into lines, as embedded files hold it: spaces, tabs
// and line breaks are skipped and the rest decodes group by group as DecodeBase64 decodes
// it, without the pieces ever being joined.
class Base64Decoder {
public:
    // Room for what text of this many characters decodes to.
    void Reserve(std::size_t characters) { data_.reserve(characters / 4 * 3); }
    // Raises StorageError on a character outside the alphabet, "=" and the blanks.
    void Add(std::string_view text);
    // Whether the characters added so far make whole groups of four.
    bool Whole() const { return held_ == 0; }
    Bytes& Data() { return data_; }

private:
    std::uint8_t group_[4] = {};
    std::size_t held_ = 0;
    Bytes data_;
};

std::string EncodeBase64(ByteView bytes);
std::u16string EncodeBase64Utf16(std::u16string_view text);

// Leading blanks, an optional sign, then decimal digits, or hexadecimal ones after
// "$" or "0x"; anything else, an empty text or a value outside 32 bits fails.
bool ParseInteger(std::string_view text, std::int32_t& value);

// What went wrong reading a field. (A failed element lookup, 1, can't happen here:
// a missing element is added empty.)
enum class FieldError { None = 0, NotDecoded = 2, NotInteger = 3 };

// The text of element `child` inside the top-level element `element`, decoded when
// asked, in Windows-1250. A missing element reads as empty text and is no error.
std::string ReadFieldText(bool decode, std::u16string_view element, std::u16string_view child, FieldError& error,
                          XmlDocument& document);
// An element's text as ReadFieldText gives it; a text that can't be decoded sets the error and reads empty.
std::string DecodeFieldText(bool decode, const std::u16string& text, FieldError& error);
// The same parsed as an integer; 0 on any error. Text that can't be decoded is parsed as it stands.
std::int32_t ReadFieldInt(bool decode, std::u16string_view element, std::u16string_view child, FieldError& error,
                          XmlDocument& document);
