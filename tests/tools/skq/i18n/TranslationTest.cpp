#include "tools/skq/i18n/Translation.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using skq::Format;

TEST(FormatTest, PutsEachValueWhereItsNumberStands) {
    EXPECT_EQ(Format("{1}: byte {2} is not valid UTF-8", "a.xml", 17), "a.xml: byte 17 is not valid UTF-8");
    // A translation may order the values otherwise, or use one twice.
    EXPECT_EQ(Format("bajt {2} w {1}", "a.xml", 17), "bajt 17 w a.xml");
    EXPECT_EQ(Format("{1} ({1})", 3), "3 (3)");
}

TEST(FormatTest, TakesTextsAndWholeNumbersOfEveryKind) {
    const std::string text = "tekst";
    const std::string_view view = "widok";
    EXPECT_EQ(Format("{1} {2} {3}", text, view, "napis"), "tekst widok napis");
    EXPECT_EQ(Format("{1} {2} {3}", -5, std::size_t{4294967296}, 0u), "-5 4294967296 0");
}

TEST(FormatTest, LeavesOtherBracesAsTheyAre) {
    EXPECT_EQ(Format("{0} {3} {x} {} {1", "a", "b"), "{0} {3} {x} {} {1");
    EXPECT_EQ(Format("{{1}}", "a"), "{a}");
    EXPECT_EQ(Format("{12}", "a"), "{12}");
}

TEST(FormatTest, NeverReadsAValueAsAMessage) {
    // A file name may hold what looks like a placeholder.
    EXPECT_EQ(Format("{1} and {2}", "{2}.xml", "b"), "{2}.xml and b");
}

TEST(TranslationTest, StaysEnglishUntilStarted) {
    EXPECT_STREQ(skq::Tr("too few arguments"), "too few arguments");
    EXPECT_STREQ(skq::TrPlural("{1} set", "{1} sets", 1), "{1} set");
    EXPECT_STREQ(skq::TrPlural("{1} set", "{1} sets", 0), "{1} sets");
    EXPECT_STREQ(skq::TrPlural("{1} set", "{1} sets", 2), "{1} sets");
}

} // namespace
