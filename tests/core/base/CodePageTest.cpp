#include "core/base/CodePage.h"

#include <gtest/gtest.h>

TEST(CodePage, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const std::u16string wide = AnsiToWide(all);
    ASSERT_EQ(wide.size(), 256u);
    EXPECT_EQ(WideToAnsi(wide), all);
}

TEST(CodePage, PolishLettersMapToTheirWindows1250Bytes) {
    EXPECT_EQ(WideToAnsi(u"ąćęłńóśźż"), "\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF");
    EXPECT_EQ(WideToAnsi(u"ĄĆĘŁŃÓŚŹŻ"), "\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF");
    EXPECT_EQ(AnsiToWide("\x80\x8A"), u"€Š");
}

TEST(CodePage, UnassignedBytesBecomeC1Controls) {
    for (unsigned char b : {0x81, 0x83, 0x88, 0x90, 0x98})
        EXPECT_EQ(AnsiCharToWide(b), char16_t{b});
}

TEST(CodePage, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(WideToAnsi(u"a\u0416b"), "a?b");     // Cyrillic
    EXPECT_EQ(WideToAnsi(u"x\U0001F600y"), "x?y"); // one pair, one mark
    EXPECT_EQ(WideToAnsi(std::u16string(1, char16_t{0xD800})), "?");
    EXPECT_EQ(WideToAnsi(std::u16string(1, u'\0')), std::string(1, '\0'));
}

TEST(CodePage, Utf8ConversionsKeepPolishText) {
    EXPECT_EQ(Utf8ToWide("Zażółć gęślą jaźń"), u"Zażółć gęślą jaźń");
    EXPECT_EQ(WideToUtf8(u"Łódź"), "Łódź");
    EXPECT_EQ(AnsiToUtf8(Utf8ToAnsi("źdźbło")), "źdźbło");
    EXPECT_EQ(Utf8ToWide("\xFF"), u"\uFFFD");
    EXPECT_EQ(Utf8ToWide(""), u"");
}

TEST(CodePage, FindInvalidUtf8NamesTheFirstBadByte) {
    EXPECT_EQ(FindInvalidUtf8("Zażółć \xF0\x9F\x98\x80"), std::string_view::npos);
    EXPECT_EQ(FindInvalidUtf8(""), std::string_view::npos);
    EXPECT_EQ(FindInvalidUtf8("ab\xBF\xF3"), 2u);     // Windows-1250 "ż" after ASCII
    EXPECT_EQ(FindInvalidUtf8("a\xC5"), 1u);          // cut short at the end
    EXPECT_EQ(FindInvalidUtf8("\xC0\xAF"), 0u);       // overlong "/"
    EXPECT_EQ(FindInvalidUtf8("ok\xED\xA0\x80"), 2u); // an encoded surrogate
}

TEST(CodePage, NamesCompareByUnicodeUpperCase) {
    EXPECT_TRUE(SameTextIgnoringCase(u"sezz0.XML", u"SEZZ0.xml"));
    EXPECT_TRUE(SameTextIgnoringCase(u"żółw", u"ŻÓŁW"));
    EXPECT_FALSE(SameTextIgnoringCase(u"abc", u"abcd"));
    EXPECT_FALSE(SameTextIgnoringCase(u" abc", u"abc"));
    EXPECT_TRUE(SameAnsiTextIgnoringCase("\xB3\xF3\x9F", "\xA3\xD3\x8F")); // łóź / ŁÓŹ
    EXPECT_FALSE(SameAnsiTextIgnoringCase("a", "b"));
    EXPECT_EQ(UpperCase(u"ćma"), u"ĆMA");
}
