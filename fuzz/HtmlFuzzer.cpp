// Flattens the input as HTML, as the import step does with a question's text. The plain text has no empty line
// at either end and comes back whole, without pictures, from the HTML written for it (texts holding a carriage
// return or a form feed are left out: that HTML loses the one and turns the other into a space).
#include "tools/skq/formats/HtmlText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = skq::FlattenHtml(std::string_view(reinterpret_cast<const char*>(data), size)).Text;
    if (!text.empty() && (text.front() == '\n' || text.back() == '\n'))
        std::abort();
    if (text.find_first_of("\r\f") != std::string::npos)
        return 0;
    const skq::FlatText again = skq::FlattenHtml(skq::HtmlFromPlainText(text));
    if (again.Text != text || !again.Images.empty())
        std::abort();
    return 0;
}
