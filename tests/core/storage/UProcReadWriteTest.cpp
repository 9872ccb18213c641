#include "core/storage/UProcReadWrite.h"

#include "core/base/StorageError.h"

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
