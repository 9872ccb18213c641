#include "gui/windows/AttachmentWindows.h"

#include "core/base/CodePage.h"
#include "core/session/TestRun.h"
#include "core/storage/QuestionWriter.h"
#include "core/storage/SettingsFile.h"
#include "gui/windows/PictureWindow.h"
#include "gui/windows/TextWindow.h"
#include "support/FreshProgramState.h"
#include "support/MainWindowStandIn.h"
#include "support/QuestionSets.h"
#include "support/Recorder.h"
#include "support/TempDir.h"

#include <QBuffer>
#include <QImage>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

QuestionDocument Question(const std::string& text, const std::string& picture) {
    QuestionDocument document;
    document.AnswerCount = 3;
    document.QuestionText = "Pytanie";
    document.Answers = {"a", "b", "c"};
    document.Key = "100";
    document.TextName = text;
    document.PictureName = picture;
    return document;
}

Bytes BmpFile(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(QColor(30, 140, 90));
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "BMP");
    return Bytes(data.begin(), data.end());
}

Bytes TextFile(const std::string& utf8) {
    const std::string ansi = Utf8ToAnsi(utf8);
    return Bytes(ansi.begin(), ansi.end());
}

// The engine runs a set whose questions carry texts and pictures; the two windows
// are installed as they are in the program, beside a stand-in main window.
class AttachmentRun : public ::testing::Test {
protected:
    AttachmentRun() {
        state.Run.SetAttachmentView(&windows);
        state.LearnerSettings.ReloadAttachments = false;
    }

    void Start(const std::vector<QuestionDocument>& questions) {
        WriteQuestionSet(state.Run, dir.Path() / "zestaw", questions,
                         {{"opis.txt", TextFile("Opis ćwiczenia\ndruga linia")},
                          {"inny.txt", TextFile("Inny tekst")},
                          {"mapa.bmp", BmpFile(400, 300)}});
        state.Run.StartSession();
    }
    // Answers the question on screen and goes on to the next one.
    void Next() {
        state.Run.AnswerClick(1);
        state.Run.CheckAnswer();
        state.Run.NextQuestion();
    }
    std::string Shown() { return text.findChild<QPlainTextEdit*>("Mtekst")->toPlainText().toStdString(); }

    Recorder recorder{WarningButton::Yes};
    FreshProgramState state{recorder}; // first in, last out
    TempDir dir;
    MainWindowStandIn main;
    QWidget& anchor = main.top;
    PictureWindow picture{state.Run, state.LearnerSettings};
    TextWindow text{state.Run, state.LearnerSettings};
    AttachmentWindows windows{[this] { return &picture; }, [this] { return &text; },
                              [this]() -> const QWidget& { return anchor; }};
};

} // namespace

TEST_F(AttachmentRun, WindowsOpenWhenTheFirstQuestionLoads) {
    Start({Question("opis.txt", "mapa.bmp"), Question("", "")});
    EXPECT_TRUE(picture.isVisible());
    EXPECT_TRUE(text.isVisible());
    EXPECT_EQ(picture.pos(), QPoint(350, 75));
    EXPECT_EQ(text.pos(), QPoint(350, 105));
    EXPECT_FALSE(text.IsCollapsed());
    EXPECT_EQ(Shown(), "Opis ćwiczenia\ndruga linia");
    EXPECT_FALSE(picture.IsCollapsed());
    EXPECT_EQ(picture.findChild<QWidget*>("Img")->size(), QSize(400, 300));
    EXPECT_FALSE(picture.findChild<QWidget*>("PPowieksz")->isHidden());
}

TEST_F(AttachmentRun, QuestionWithoutAttachmentsFoldsBothWindows) {
    Start({Question("opis.txt", "mapa.bmp"), Question("", "")});
    Next();
    EXPECT_TRUE(text.IsCollapsed());
    EXPECT_FALSE(text.Expandable());
    EXPECT_TRUE(picture.IsCollapsed());
    EXPECT_TRUE(picture.findChild<QWidget*>("PPowieksz")->isHidden());
    EXPECT_TRUE(picture.findChild<QWidget*>("PZmniejsz")->isHidden());
}

TEST_F(AttachmentRun, SameTextOnTheNextQuestionIsNotReloaded) {
    Start({Question("opis.txt", ""), Question("opis.txt", "")});
    text.CollapseClick();
    Next();
    EXPECT_TRUE(text.IsCollapsed()) << "the learner folded it; the same text leaves it so";
    EXPECT_TRUE(text.Expandable());
}

TEST_F(AttachmentRun, OtherTextOnTheNextQuestionIsShownExpanded) {
    Start({Question("opis.txt", ""), Question("inny.txt", "")});
    text.CollapseClick();
    Next();
    EXPECT_FALSE(text.IsCollapsed());
    EXPECT_EQ(Shown(), "Inny tekst");
}

TEST_F(AttachmentRun, TextComingBackAfterAQuestionWithoutOneIsShownAgain) {
    Start({Question("opis.txt", "mapa.bmp"), Question("", ""), Question("opis.txt", "mapa.bmp")});
    Next();
    Next();
    EXPECT_FALSE(text.IsCollapsed());
    EXPECT_TRUE(text.Expandable());
    EXPECT_FALSE(picture.IsCollapsed());
}

TEST_F(AttachmentRun, WithReloadingEverySameTextIsShownAfresh) {
    state.LearnerSettings.ReloadAttachments = true;
    Start({Question("opis.txt", ""), Question("opis.txt", "")});
    text.CollapseClick();
    Next();
    EXPECT_FALSE(text.IsCollapsed());
}

TEST_F(AttachmentRun, LeavingTheSetClosesBothWindows) {
    Start({Question("opis.txt", "mapa.bmp"), Question("", "")});
    state.Run.Resign();
    ASSERT_EQ(recorder.Boxes.size(), 1U) << "leaving during a run asks first";
    EXPECT_FALSE(picture.isVisible());
    EXPECT_FALSE(text.isVisible());
    // The next run opens them folded again, beside the main window.
    picture.move(0, 0);
    Start({Question("", ""), Question("", "")});
    EXPECT_TRUE(picture.isVisible());
    EXPECT_EQ(picture.pos(), QPoint(350, 75));
    EXPECT_TRUE(picture.IsCollapsed());
    EXPECT_TRUE(text.IsCollapsed());
}

TEST_F(AttachmentRun, WindowsThatAreGoneAreLeftAlone) {
    auto gone = std::make_unique<TextWindow>(state.Run, state.LearnerSettings);
    auto alsoGone = std::make_unique<PictureWindow>(state.Run, state.LearnerSettings);
    AttachmentWindows goneWindows([&alsoGone] { return alsoGone.get(); }, [&gone] { return gone.get(); },
                                  [this]() -> const QWidget& { return anchor; });
    state.Run.SetAttachmentView(&goneWindows);
    gone.reset();
    alsoGone.reset();
    Start({Question("opis.txt", "mapa.bmp"), Question("", "")});
    state.Run.Resign();
    EXPECT_TRUE(state.Run.SessionRunning);
}
