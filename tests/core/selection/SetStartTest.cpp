#include "core/selection/SetStart.h"

#include "core/selection/SetTree.h"
#include "core/session/TestRun.h"
#include "core/storage/PakWriter.h"
#include "core/storage/QuestionWriter.h"
#include "support/Recorder.h"
#include "support/RecordingViews.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class SetStart : public ::testing::Test {
protected:
    void TearDown() override {
        Resign();
        QuestionFiles.clear();
    }

    void WriteQuestion(const std::string& name) {
        QuestionDocument question;
        question.AnswerCount = 3;
        question.QuestionText = name;
        question.Key = "100";
        WritePakFile(dir / name, {{"Sezz0.xml", WriteQuestion40(question)}});
    }

    TempDir dir;
    Recorder record{WarningButton::Close};
    RecordingViews views;
};

} // namespace

TEST_F(SetStart, FolderWithQuestionsStartsAtTheFirstByName) {
    WriteQuestion("b.skq");
    WriteQuestion("A.SKQ");
    std::filesystem::create_directory(dir / "sub.skq");
    StartSetFromFolder(dir.Path());
    EXPECT_EQ(SetFolder, dir.Path());
    EXPECT_THAT(QuestionFiles, ElementsAre("A.SKQ", "b.skq"));
    EXPECT_TRUE(SessionRunning);
    EXPECT_EQ(views.Shown.size(), 1u);
    EXPECT_THAT(record.Boxes, IsEmpty());
}

TEST_F(SetStart, EmptyFolderIsReportedAndKept) {
    std::filesystem::create_directory(dir / "x.skq");
    StartSetFromFolder(dir.Path());
    EXPECT_EQ(SetFolder, dir.Path());
    EXPECT_THAT(QuestionFiles, IsEmpty());
    EXPECT_THAT(views.Shown, IsEmpty()) << "no run starts";
    EXPECT_THAT(record.BoxTexts(), ElementsAre(u"\rWskazany folder nie zawiera plików pytań."));
    EXPECT_EQ(record.Boxes[0].Icon, WarningIcon::Warning);
}

TEST_F(SetStart, SetFromTheListUsesItsFolderOrSaysItIsEmpty) {
    SetFolder = dir / "missing";
    StartSetFromList();
    EXPECT_THAT(record.BoxTexts(), ElementsAre(u"\rWskazany zestaw nie zawiera plików pytań."));
    EXPECT_THAT(views.Shown, IsEmpty());
    WriteQuestion("p1.skq");
    SetFolder = dir.Path();
    ChosenSetName = "Zestaw z listy";
    StartSetFromList();
    EXPECT_THAT(QuestionFiles, ElementsAre("p1.skq"));
    EXPECT_EQ(views.Shown.size(), 1u);
    EXPECT_EQ(SetName, "Zestaw z listy") << "the list's name names it in the results";
    StartSetFromFolder(dir.Path());
    EXPECT_EQ(SetName, "");
    ChosenSetName.clear();
}

TEST_F(SetStart, VanishedFolderIsAnEmptySet) {
    const auto gone = dir / "gone";
    std::filesystem::create_directory(gone);
    std::filesystem::remove(gone);
    StartSetFromFolder(gone);
    EXPECT_EQ(SetFolder, gone);
    EXPECT_THAT(record.BoxTexts(), ElementsAre(u"\rWskazany folder nie zawiera plików pytań."));
    EXPECT_THAT(views.Shown, IsEmpty());
}
