// Reads the input as a question file and writes back what it read, as the import step sees it
// (HTML flattened); reading that again must give the same questions. Texts holding a carriage
// return or a form feed are left out: HTML written from plain text loses the one and turns the
// other into a space.
#include "tools/skq/formats/HtmlText.h"
#include "tools/skq/formats/SourceBank.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace {

void Flatten(skq::SourceText& text) {
    if (text.Html)
        text = {skq::FlattenHtml(text.Text).Text, false};
}

bool HtmlKeeps(const skq::SourceQuestion& question) {
    const auto keeps = [](const skq::SourceText& text) { return text.Text.find_first_of("\r\f") == std::string::npos; };
    return keeps(question.Text) && keeps(question.Hint) &&
           std::all_of(question.Answers.begin(), question.Answers.end(), keeps);
}

std::vector<skq::SourceQuestion> AsImported(std::vector<skq::SourceQuestion> questions) {
    for (skq::SourceQuestion& question : questions) {
        if (question.Text.Html) {
            const skq::FlatText flat = skq::FlattenHtml(question.Text.Text);
            question.Picture = flat.Images.empty() ? "" : skq::PercentDecoded(flat.Images.front());
        }
        Flatten(question.Text);
        Flatten(question.Hint);
        for (skq::SourceText& answer : question.Answers)
            Flatten(answer);
        question.Where.clear();
    }
    return questions;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<skq::SourceQuestion> read = AsImported(skq::ReadGift(text).Questions);
    std::erase_if(read, [](const skq::SourceQuestion& question) { return !HtmlKeeps(question); });
    const skq::SourceBank again = skq::ReadGift(skq::WriteGift(read));
    if (!again.Skipped.empty() || AsImported(again.Questions) != read)
        std::abort();
    return 0;
}
