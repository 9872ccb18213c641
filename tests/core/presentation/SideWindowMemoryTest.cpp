#include "core/presentation/SideWindowMemory.h"

#include <gtest/gtest.h>

TEST(SideWindowMemory, TheLearnersLastShapeIsKeptOnlyWithTheSettingAndOnlyForTheRun) {
    SideWindowMemory memory;
    EXPECT_EQ(memory.ShapeForAttachment(true), std::nullopt) << "untouched: the described shape";

    memory.LearnerExpanded({400, 300});
    memory.LearnerFolded({400, 300});
    EXPECT_EQ(memory.ShapeForAttachment(true), (SideWindowShape{{400, 300}, true})) << "the last change counts";
    EXPECT_EQ(memory.ShapeForAttachment(false), std::nullopt);

    memory.LearnerExpanded({400, 520});
    EXPECT_EQ(memory.ShapeForAttachment(true), (SideWindowShape{{400, 520}, false}));

    memory.StartRun();
    EXPECT_EQ(memory.ShapeForAttachment(true), std::nullopt);
}
