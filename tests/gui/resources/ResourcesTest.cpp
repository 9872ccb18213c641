#include "gui/resources/Resources.h"

#include <gtest/gtest.h>

TEST(Art, PicturesDecodedAheadAreTheSameAndTakenOnce) {
    const QImage direct = ResourceImage("MenuTesty");
    ASSERT_FALSE(direct.isNull());
    DecodeArtAhead({"MENUTESTY", "no-such-picture"});
    EXPECT_EQ(ResourceImage("menutesty"), direct);
    EXPECT_EQ(ResourceImage("MenuTesty"), direct) << "taken once, then decoded afresh";
    EXPECT_TRUE(ResourceImage("No-Such-Picture").isNull());
}
