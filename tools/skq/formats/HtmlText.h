#pragma once

#include <string>
#include <string_view>
#include <vector>

// HTML texts of the quiz formats as plain text, and back.
namespace skq {

struct FlatText {
    std::string Text;                // plain UTF-8, paragraphs and <br> as "\n"
    std::vector<std::string> Images; // the src of every <img>, in order
};

// Tags removed, entities decoded, white space collapsed as a browser shows it.
FlatText FlattenHtml(std::string_view html);
// The plain text as HTML that flattens back to it: & < > " escaped, line breaks as <br>.
std::string HtmlFromPlainText(std::string_view text);

} // namespace skq
