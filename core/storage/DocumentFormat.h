#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The documents inside question files and set list files: their entry names,
// the elements of the XML layout (4.0) and the lines of the old layout (3.5).
// Names match without regard to letter case.

inline constexpr std::string_view kQuestionDocument40 = "Sezz0.xml";
inline constexpr std::string_view kQuestionDocument35 = "Sezz0.txp";
inline constexpr std::string_view kSetListDocument40 = "Selz0.xml";
inline constexpr std::string_view kSetListDocument35 = "Selz0.txp";

// The text of <cd> that makes every other element base64 of UTF-16LE.
inline constexpr std::string_view kEncodedMark = "tr";

namespace QuestionElement {
inline constexpr std::u16string_view Top = u"pyt";
inline constexpr std::u16string_view Encoding = u"cd";
inline constexpr std::u16string_view Type = u"typ";
inline constexpr std::u16string_view AnswerCount = u"ilo";
inline constexpr std::u16string_view Text = u"tr";
inline constexpr std::u16string_view Key = u"odp";
inline constexpr std::u16string_view TextName = u"plr";
inline constexpr std::u16string_view PictureName = u"plimg";
inline constexpr std::u16string_view Hint = u"kom";
inline constexpr std::u16string_view Date = u"dtu";
// od1 .. od5
inline std::u16string Answer(int number) { return u"od" + std::u16string(1, static_cast<char16_t>(u'0' + number)); }
} // namespace QuestionElement

// Line 0 holds "3.5"; each further line one scrambled field. Four answers at most.
namespace QuestionLine {
inline constexpr std::size_t Version = 0;
inline constexpr std::size_t Date = 1;
inline constexpr std::size_t Type = 2;
inline constexpr std::size_t AnswerCount = 3;
inline constexpr std::size_t Text = 4;
inline constexpr std::size_t FirstAnswer = 5;
inline constexpr std::size_t AnswerLines = 4;
inline constexpr std::size_t Key = 9;
inline constexpr std::size_t TextName = 10;
inline constexpr std::size_t PictureName = 11;
inline constexpr std::size_t Hint = 12;
inline constexpr std::size_t Count = 13;
} // namespace QuestionLine

namespace SetListElement {
inline constexpr std::u16string_view Top = u"lsz";
inline constexpr std::u16string_view Encoding = u"cd";
inline constexpr std::u16string_view EntryCount = u"ilw";
inline constexpr std::u16string_view Name = u"name";
inline constexpr std::u16string_view Date = u"dtu";
inline constexpr std::u16string_view Note = u"uwg";
// dx0, dx1, ...: the entry lines in index order.
inline constexpr std::u16string_view EntryPrefix = u"dx";
} // namespace SetListElement
