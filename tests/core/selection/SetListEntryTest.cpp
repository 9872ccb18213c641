#include "core/selection/SetTree.h"

#include <gtest/gtest.h>

#include <cstdint>

TEST(EntryLine, ReadsTheEightFields) {
    SetListEntry entry;
    ASSERT_TRUE(ParseEntryLine("12*1*0*3*1*4*Ułamki*\\Matematyka\\Ulamki*", entry));
    EXPECT_EQ(entry.Id, 12);
    EXPECT_EQ(entry.Level, 1);
    EXPECT_EQ(entry.DescendantCount, 0);
    EXPECT_EQ(entry.ParentId, 3);
    EXPECT_EQ(entry.Visible, 1);
    EXPECT_EQ(entry.State, EntryState::Underlined);
    EXPECT_EQ(entry.Name, "Ułamki");
    EXPECT_EQ(entry.Folder, "\\Matematyka\\Ulamki");
}

TEST(EntryLine, StateOfAnyOtherNumberIsKept) {
    SetListEntry entry;
    ASSERT_TRUE(ParseEntryLine("1*0*0*0*1*-7*a*b*", entry));
    EXPECT_EQ(static_cast<std::int32_t>(entry.State), -7);
}

TEST(EntryLine, StarAfterAtStaysInTheField) {
    SetListEntry entry;
    ASSERT_TRUE(ParseEntryLine("1*0*0*0*1*0*Gwiazdka @* w nazwie*\\g*", entry));
    EXPECT_EQ(entry.Name, "Gwiazdka @* w nazwie");
    std::size_t position = 0;
    EXPECT_EQ(ReadEntryField("@*@**", position), "@*@*");
    EXPECT_EQ(position, 5u);
}

TEST(EntryLine, MissingFieldsAreEmpty) {
    std::size_t position = 2;
    EXPECT_EQ(ReadEntryField("ab no star", position), "");
    EXPECT_EQ(position, 2u);
    SetListEntry entry;
    ASSERT_TRUE(ParseEntryLine("1*0*0*0*1*0*Kategoria*", entry));
    EXPECT_EQ(entry.Name, "Kategoria");
    EXPECT_EQ(entry.Folder, "");
}

TEST(EntryLine, NumberFieldThatIsNotADecimalIntegerFails) {
    for (const char* line : {"1*0*0*0*1*", "*0*0*0*1*0*a*b*", "1*x*0*0*1*0*a*b*", "1*0*0*0*$1*0*a*b*",
                             "1*0*0*0*1* 2*a*b*", "1*0*0*0*1*99999999999*a*b*", ""}) {
        SetListEntry entry;
        EXPECT_FALSE(ParseEntryLine(line, entry)) << line;
    }
    SetListEntry negative;
    EXPECT_TRUE(ParseEntryLine("-1*0*0*-5*1*0*a*b*", negative));
    EXPECT_EQ(negative.ParentId, -5);
}
