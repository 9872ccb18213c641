#pragma once

#include <concepts>
#include <span>
#include <string>
#include <string_view>

// The messages of ludra-skq in the user's language, from the gettext catalogue of the
// domain "ludra-skq". Until StartTranslation runs every message stays English, so the
// commands run inside another process (the tests) print the same whatever its locale.
namespace skq {

// Takes the user's locale (numbers stay as in "C") and the catalogue beside the executable.
void StartTranslation();

// The message in the user's language, or english itself when the catalogue lacks it.
const char* Tr(const char* english);
// The form of a message that fits count, by the plural rule of the user's language.
const char* TrPlural(const char* singular, const char* plural, unsigned long count);
// Marks a message for the catalogue where it is defined; Tr translates it where it is shown.
constexpr const char* TrLater(const char* english) { return english; }

// One value of a message: a text as it is, a whole number in decimal.
class MessageValue {
public:
    MessageValue(std::string_view text) : text_(text) {}
    template <std::integral Number> MessageValue(Number number) : text_(std::to_string(number)) {}

    const std::string& Text() const { return text_; }

private:
    std::string text_;
};

// The message with {1}, {2}, ... replaced by the values in that order, wherever the
// translation puts them. Any other brace stays, and values are not searched again.
std::string FormatValues(std::string_view message, std::span<const MessageValue> values);

template <typename... Values> std::string Format(std::string_view message, const Values&... values) {
    const MessageValue list[] = {MessageValue(values)...};
    return FormatValues(message, list);
}

} // namespace skq
