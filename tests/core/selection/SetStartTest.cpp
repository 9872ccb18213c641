#include "core/selection/SetStart.h"

#include "core/selection/SetTree.h"
#include "core/session/TestRun.h"
#include "core/storage/ApplicationSetup.h"
#include "core/storage/PakWriter.h"
#include "core/storage/QuestionWriter.h"
#include "core/storage/SettingsFile.h"
#include "support/RecordedRun.h"
#include "support/Recorder.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class SetStart : public ::testing::Test, protected RecordedRun {
protected:
    SetStart() : RecordedRun(WarningButton::Close) {}

    void WriteQuestion(const std::string& name) {
        QuestionDocument question;
        question.AnswerCount = 3;
        question.QuestionText = name;
        question.Key = "100";
        WritePakFile(dir / name, {{"Sezz0.xml", WriteQuestion40(question)}});
    }

    TempDir dir;
};

} // namespace

TEST_F(SetStart, FolderWithQuestionsStartsAtTheFirstByName) {
    WriteQuestion("b.skq");
    WriteQuestion("A.SKQ");
    std::filesystem::create_directory(dir / "sub.skq");
    StartSetFromFolder(run, dir.Path());
    EXPECT_EQ(run.SetFolder, dir.Path());
    EXPECT_THAT(run.QuestionFiles, ElementsAre("A.SKQ", "b.skq"));
    EXPECT_TRUE(run.SessionRunning);
    EXPECT_EQ(views.Shown.size(), 1u);
    EXPECT_THAT(record.Boxes, IsEmpty());
}

TEST_F(SetStart, EmptyFolderIsReportedAndKept) {
    std::filesystem::create_directory(dir / "x.skq");
    StartSetFromFolder(run, dir.Path());
    EXPECT_EQ(run.SetFolder, dir.Path());
    EXPECT_THAT(run.QuestionFiles, IsEmpty());
    EXPECT_THAT(views.Shown, IsEmpty()) << "no run starts";
    EXPECT_THAT(record.BoxTexts(), ElementsAre(u"\rWskazany folder nie zawiera plików pytań."));
    EXPECT_EQ(record.Boxes[0].Icon, WarningIcon::Warning);
}

TEST_F(SetStart, SetFromTheListUsesItsFolderOrSaysItIsEmpty) {
    StartSetFromList(run, {dir / "missing", ""});
    EXPECT_THAT(record.BoxTexts(), ElementsAre(u"\rWskazany zestaw nie zawiera plików pytań."));
    EXPECT_THAT(views.Shown, IsEmpty());
    WriteQuestion("p1.skq");
    StartSetFromList(run, {dir.Path(), "Zestaw z listy"});
    EXPECT_THAT(run.QuestionFiles, ElementsAre("p1.skq"));
    EXPECT_EQ(views.Shown.size(), 1u);
    EXPECT_EQ(run.SetName, "Zestaw z listy") << "the list's name names it in the results";
    StartSetFromFolder(run, dir.Path());
    EXPECT_EQ(run.SetName, "");
}

TEST_F(SetStart, VanishedFolderIsAnEmptySet) {
    const auto gone = dir / "gone";
    std::filesystem::create_directory(gone);
    std::filesystem::remove(gone);
    StartSetFromFolder(run, gone);
    EXPECT_EQ(run.SetFolder, gone);
    EXPECT_THAT(record.BoxTexts(), ElementsAre(u"\rWskazany folder nie zawiera plików pytań."));
    EXPECT_THAT(views.Shown, IsEmpty());
}
