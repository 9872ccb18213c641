// Reads the input as a Moodle XML document, then writes what it read and reads that again:
// the written document must hold every question it was given.
#include "tools/skq/formats/SourceBank.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const skq::SourceBank bank = skq::ReadMoodleXml(std::string_view(reinterpret_cast<const char*>(data), size));
    const skq::SourceBank again = skq::ReadMoodleXml(skq::WriteMoodleXml(bank.Questions));
    if (again.Questions.size() != bank.Questions.size() || !again.Skipped.empty())
        std::abort();
    return 0;
}
