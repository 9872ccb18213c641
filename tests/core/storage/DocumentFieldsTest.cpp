#include "core/storage/DocumentFields.h"

#include "core/base/StorageError.h"
#include "core/storage/XmlDocument.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

TEST(Base64, DecodesUtf16TextOfOneAndTwoCharacters) {
    EXPECT_EQ(DecodeBase64Utf16(u"QQBCAA=="), u"AB"); // 4 bytes: two padding marks
    EXPECT_EQ(DecodeBase64Utf16(u"QgE="), u"ł");      // one padding mark
    EXPECT_EQ(DecodeBase64Utf16(u"QQB"), u"");
    EXPECT_EQ(DecodeBase64Utf16(u""), u"");
}

TEST(Base64, PaddedGroupInTheMiddleDoesNotEndDecoding) {
    const std::u16string joined = EncodeBase64Utf16(u"Ala") + EncodeBase64Utf16(u"kot");
    EXPECT_EQ(DecodeBase64Utf16(joined), u"Alakot");
}

TEST(Base64, OddLastByteIsDropped) {
    EXPECT_EQ(DecodeBase64(std::string("QUJD")), (Bytes{'A', 'B', 'C'}));
    EXPECT_EQ(DecodeBase64Utf16(u"QUJD"), u"\u4241"); // three bytes: one character
}

TEST(Base64, CharactersAfterTheLastWholeGroupAreIgnored) {
    EXPECT_EQ(DecodeBase64(std::string("QUJDRE")), (Bytes{'A', 'B', 'C'}));
}

TEST(Base64, RejectsCharactersOutsideTheAlphabet) {
    EXPECT_THROW(DecodeBase64(std::string("QU JD")), StorageError);
    EXPECT_THROW(DecodeBase64Utf16(u"QUĄD"), StorageError);
    EXPECT_THROW(DecodeBase64(std::string("QUJ\n")), StorageError);
}

TEST(Base64, EncodingRoundTripsEveryLengthAndByte) {
    Bytes bytes;
    for (int length = 0; length < 300; ++length) {
        EXPECT_EQ(DecodeBase64(EncodeBase64(bytes)), bytes) << length;
        bytes.push_back(static_cast<std::uint8_t>(length * 37 + 11));
    }
    EXPECT_EQ(EncodeBase64(Bytes{'M', 'a'}), "TWE=");
    const std::u16string polish = u"Zażółć gęślą jaźń \U0001F600";
    EXPECT_EQ(DecodeBase64Utf16(EncodeBase64Utf16(polish)), polish);
}

TEST(FieldReaders, ReadTextAndNumbersWithTheirErrorCodes) {
    XmlDocument document;
    ASSERT_TRUE(document.LoadFromStream(ToBytes("<pyt><n> 12 </n><h>$1F</h><x>0x10</x><bad>12a</bad>"
                                                "<e>MQAyAA==</e><ne>!!!!</ne><t>Ala</t></pyt>")));
    FieldError error = FieldError::NotDecoded;
    EXPECT_EQ(ReadFieldInt(false, u"pyt", u"n", error, document), 12);
    EXPECT_EQ(error, FieldError::None);
    EXPECT_EQ(ReadFieldInt(false, u"pyt", u"h", error, document), 31);
    EXPECT_EQ(ReadFieldInt(false, u"pyt", u"x", error, document), 16);
    EXPECT_EQ(ReadFieldInt(false, u"pyt", u"bad", error, document), 0);
    EXPECT_EQ(error, FieldError::NotInteger);
    EXPECT_EQ(ReadFieldInt(false, u"pyt", u"missing", error, document), 0);
    EXPECT_EQ(error, FieldError::NotInteger);
    EXPECT_EQ(ReadFieldInt(true, u"pyt", u"e", error, document), 12);
    EXPECT_EQ(error, FieldError::None);
    EXPECT_EQ(ReadFieldText(false, u"PYT", u"T", error, document), "Ala");
    EXPECT_EQ(ReadFieldText(true, u"pyt", u"ne", error, document), "");
    EXPECT_EQ(error, FieldError::NotDecoded);
    EXPECT_EQ(ReadFieldText(false, u"pyt", u"missing", error, document), "");
    EXPECT_EQ(error, FieldError::None);
}

TEST(FieldReaders, IntegerParseFollowsTheStoredForms) {
    std::int32_t value = 0;
    EXPECT_TRUE(ParseInteger("  -42", value));
    EXPECT_EQ(value, -42);
    EXPECT_TRUE(ParseInteger("+7", value));
    EXPECT_EQ(value, 7);
    EXPECT_TRUE(ParseInteger("$FFFFFFFF", value));
    EXPECT_EQ(value, -1);
    EXPECT_TRUE(ParseInteger("2147483647", value));
    EXPECT_TRUE(ParseInteger("-2147483648", value));
    EXPECT_EQ(value, INT32_MIN);
    for (const char* bad : {"", "   ", "-", "$", "0x", "2147483648", "1 ", "1.5", "$100000000", "\t1"})
        EXPECT_FALSE(ParseInteger(bad, value)) << bad;
}
