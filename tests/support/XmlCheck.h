#pragma once

#include <string>
#include <string_view>

// What keeps the document from being XML 1.0 as to its characters: bytes that are no UTF-8,
// or a control character, U+FFFE or U+FFFF, written as it is or as a character reference.
// Empty when there is none.
std::string XmlCharProblem(std::string_view xml);

// xmllint's first complaints about the document; empty when it has none or isn't installed.
std::string XmllintProblem(std::string_view xml);
