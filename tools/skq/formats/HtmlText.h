#pragma once

#include <string>
#include <string_view>
#include <vector>

// HTML texts of the quiz formats as plain text, and back.
namespace skq {

struct FlatText {
    std::string Text;                // plain UTF-8, paragraphs and <br> as "\n"
    std::vector<std::string> Images; // the src of every <img> that names one, in order
    bool SoundOrVideo = false;       // an <audio> or <video>, or a reference to a sound or video file
};

// Tags removed, entities decoded, white space collapsed as a browser shows it.
FlatText FlattenHtml(std::string_view html);
// A reference (a file name or URL) to a sound or video file, by its extension in any case.
bool IsSoundOrVideoName(std::string_view reference);
// The plain text as HTML that flattens back to it: & < > " escaped, line breaks as <br>.
std::string HtmlFromPlainText(std::string_view text);

} // namespace skq
