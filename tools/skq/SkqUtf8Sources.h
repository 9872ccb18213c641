#pragma once

#include "core/base/Bytes.h"
#include "core/storage/QuestionDocument.h"
#include "tools/skq/SkqQuestionForms.h"

#include <iosfwd>

class XmlDocument;
#include <string_view>

// Question documents and attached texts that editors saved in UTF-8, brought into
// the forms the program reads. Pure ASCII reads the same either way and is left alone.
namespace skq {

// A UTF-8 byte order mark, or non-ASCII bytes that are valid UTF-8 or declared so.
bool IsUtf8Document(ByteView xml);
// A UTF-8 byte order mark, or non-ASCII bytes that are valid UTF-8.
bool IsUtf8Text(ByteView text);

struct PackedQuestion {
    QuestionDocument Fields; // as the program reads them
    Bytes Stored;
};

// The document in the stored form: Windows-1250 when every field fits the code page,
// otherwise UTF-16, with a warning per field that doesn't. Throws ToolFailure for bytes
// that aren't UTF-8 and for a field the 3.5 layout can't hold.
PackedQuestion PackUtf8Question(ByteView xml, std::string_view name, const StoredForm& form, std::ostream& warnings);

// The same for a document tree whose texts are already wide, as the program reads UTF-16.
PackedQuestion PackWideQuestion(XmlDocument& source, std::string_view name, const StoredForm& form,
                                std::ostream& warnings);

// "U+2192 (→)" for the first character of the text that Windows-1250 lacks; empty when it has none.
std::string FirstCharOutsideAnsi(std::u16string_view text);

// Throws ToolFailure for bytes that aren't UTF-8 and for a character the code page lacks.
Bytes Utf8TextToAnsi(ByteView text, std::string_view name);

} // namespace skq
