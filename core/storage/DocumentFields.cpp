#include "core/storage/DocumentFields.h"

#include "core/base/CodePage.h"
#include "core/base/StorageError.h"
#include "core/storage/XmlDocument.h"

#include <array>
#include <limits>

namespace {

constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::uint8_t kPad = 64;
constexpr std::uint8_t kInvalid = 255;

constexpr std::array<std::uint8_t, 256> MakeValues() {
    std::array<std::uint8_t, 256> values{};
    values.fill(kInvalid);
    for (std::size_t i = 0; i < kAlphabet.size(); ++i)
        values[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::uint8_t>(i);
    values['='] = kPad;
    return values;
}
constexpr std::array<std::uint8_t, 256> kValues = MakeValues();

std::uint8_t ValueOf(char c) {
    const std::uint8_t value = kValues[static_cast<unsigned char>(c)];
    if (value == kInvalid)
        throw StorageError("not a base64 character");
    return value;
}

void AppendGroup(Bytes& out, unsigned w, unsigned x, unsigned y, unsigned z) {
    out.push_back(static_cast<std::uint8_t>(w * 4 + x / 16));
    if (y == kPad)
        return;
    out.push_back(static_cast<std::uint8_t>(x * 16 + y / 4));
    if (z != kPad)
        out.push_back(static_cast<std::uint8_t>(y * 64 + z));
}

} // namespace

Bytes DecodeBase64(std::string_view text) {
    Bytes out;
    out.reserve(text.size() / 4 * 3);
    for (std::size_t at = 0; at + 4 <= text.size(); at += 4)
        AppendGroup(out, ValueOf(text[at]), ValueOf(text[at + 1]), ValueOf(text[at + 2]), ValueOf(text[at + 3]));
    return out;
}

void Base64Decoder::Add(std::string_view text) {
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n')
            continue;
        group_[held_++] = ValueOf(c);
        if (held_ == 4) {
            AppendGroup(data_, group_[0], group_[1], group_[2], group_[3]);
            held_ = 0;
        }
    }
}

std::u16string DecodeBase64Utf16(std::u16string_view text) {
    std::string narrow(text.size(), '\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        narrow[i] = text[i] < 0x80 ? static_cast<char>(text[i]) : '\x80'; // '\x80' is outside the alphabet
    const Bytes bytes = DecodeBase64(narrow);
    std::u16string wide(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < wide.size(); ++i)
        wide[i] = ReadLittle16(bytes, 2 * i);
    return wide;
}

std::string EncodeBase64(ByteView bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t at = 0; at < bytes.size(); at += 3) {
        const std::size_t left = bytes.size() - at;
        const unsigned group = bytes[at] << 16 | (left > 1 ? bytes[at + 1] << 8 : 0) | (left > 2 ? bytes[at + 2] : 0);
        out.push_back(kAlphabet[group >> 18 & 63]);
        out.push_back(kAlphabet[group >> 12 & 63]);
        out.push_back(left > 1 ? kAlphabet[group >> 6 & 63] : '=');
        out.push_back(left > 2 ? kAlphabet[group & 63] : '=');
    }
    return out;
}

std::u16string EncodeBase64Utf16(std::u16string_view text) {
    Bytes bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    const std::string encoded = EncodeBase64(bytes);
    return std::u16string(encoded.begin(), encoded.end());
}

namespace {

int DigitValue(char c, int base) {
    int value = 99;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

} // namespace

bool ParseInteger(std::string_view text, std::int32_t& value) {
    std::size_t at = text.find_first_not_of(' ');
    if (at == std::string_view::npos)
        return false;
    const bool negative = text[at] == '-';
    if (text[at] == '-' || text[at] == '+')
        ++at;
    int base = 10;
    if (at < text.size() && text[at] == '$') {
        base = 16;
        ++at;
    } else if (text.substr(at, 2) == "0x" || text.substr(at, 2) == "0X") {
        base = 16;
        at += 2;
    }
    if (at == text.size())
        return false;
    // Hexadecimal spans all 32 bits ($FFFFFFFF is -1); decimal must fit the signed range.
    const std::uint64_t limit =
        base == 16 ? 0xFFFFFFFFull : std::uint64_t{std::numeric_limits<std::int32_t>::max()} + negative;
    std::uint64_t magnitude = 0;
    for (; at < text.size(); ++at) {
        const int digit = DigitValue(text[at], base);
        if (digit < 0)
            return false;
        magnitude = magnitude * base + digit;
        if (magnitude > limit)
            return false;
    }
    const auto bits = static_cast<std::uint32_t>(negative ? 0 - magnitude : magnitude);
    value = static_cast<std::int32_t>(bits);
    return true;
}

namespace {

const std::u16string& FieldText(std::u16string_view element, std::u16string_view child, XmlDocument& document) {
    return FindOrAddChild(document.FindOrAddNode(element), child).Text;
}

} // namespace

std::string DecodeFieldText(bool decode, const std::u16string& text, FieldError& error) {
    if (!decode)
        return WideToAnsi(text);
    try {
        return WideToAnsi(DecodeBase64Utf16(text));
    } catch (const StorageError&) {
        error = FieldError::NotDecoded;
        return {};
    }
}

std::string ReadFieldText(bool decode, std::u16string_view element, std::u16string_view child, FieldError& error,
                          XmlDocument& document) {
    error = FieldError::None;
    return DecodeFieldText(decode, FieldText(element, child, document), error);
}

std::int32_t ReadFieldInt(bool decode, std::u16string_view element, std::u16string_view child, FieldError& error,
                          XmlDocument& document) {
    error = FieldError::None;
    const std::u16string& text = FieldText(element, child, document);
    std::u16string value = text;
    if (decode) {
        try {
            value = DecodeBase64Utf16(text);
        } catch (const StorageError&) {
            error = FieldError::NotDecoded;
        }
    }
    std::int32_t number = 0;
    if (!ParseInteger(WideToAnsi(value), number)) {
        error = FieldError::NotInteger;
        return 0;
    }
    return number;
}
