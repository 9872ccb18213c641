#include "core/base/Bytes.h"

#include <gtest/gtest.h>

TEST(LittleEndian, ReadsUpToTheLastByteWithoutSignExtension) {
    const Bytes bytes = {0x00, 0x12, 0x34, 0xFE, 0xFF, 0x80, 0xFF};
    EXPECT_EQ(ReadLittle16(bytes, 1), 0x3412);
    EXPECT_EQ(ReadLittle16(bytes, 5), 0xFF80) << "the last two bytes";
    EXPECT_EQ(ReadLittle32(bytes, 3), 0xFF80FFFEu) << "the last four bytes";
}

TEST(LittleEndian, AppendedNumbersReadBack) {
    Bytes bytes = {0xAA};
    AppendLittle32(bytes, 0x80000001u);
    ASSERT_EQ(bytes.size(), 5u);
    EXPECT_EQ(bytes[1], 0x01);
    EXPECT_EQ(ReadLittle32(bytes, 1), 0x80000001u);
}
