#include "gui/windows/PictureWindow.h"

#include "core/session/QuestionLoader.h"
#include "core/session/TestRun.h"
#include "support/FreshProgramState.h"
#include "support/MainWindowStandIn.h"
#include "support/Recorder.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QRegion>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>

namespace {

// A picture whose every pixel tells its place: red grows right, green down.
Bitmap Picture(int width, int height) {
    Bitmap bitmap;
    bitmap.Width = width;
    bitmap.Height = height;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bitmap.Pixels.push_back(static_cast<std::uint8_t>(x));
            bitmap.Pixels.push_back(static_cast<std::uint8_t>(y));
            bitmap.Pixels.push_back(0x80);
        }
    }
    return bitmap;
}

// The picture window opened beside a stand-in main window.
class PictureWindowTest : public ::testing::Test {
protected:
    PictureWindowTest() { window.Open(anchor); }
    ~PictureWindowTest() override {
        state.Run.Current.Picture = {};
        state.Run.LastShownPictureName.clear();
    }

    void Show(int width, int height, const std::string& name = "obraz.jpg") {
        state.Run.Current.Picture = Picture(width, height);
        window.ShowPicture(name);
    }

    QWidget& Child(const char* name) {
        auto* child = window.findChild<QWidget*>(QString::fromLatin1(name));
        if (!child)
            throw std::runtime_error(std::string("no child ") + name);
        return *child;
    }
    QRect At(const char* name) { return Child(name).geometry(); }
    bool Shown(const char* name) { return !Child(name).isHidden(); }
    void Click(const char* name) { QTest::mouseClick(&Child(name), Qt::LeftButton, {}, QPoint(5, 5)); }

    MainWindowStandIn main;
    QWidget& anchor = main.top;
    Recorder record;
    FreshProgramState state{record};
    PictureWindow window{state.Run, state.LearnerSettings};
};

} // namespace

TEST_F(PictureWindowTest, OpensFoldedAndLockedBesideTheMainWindow) {
    EXPECT_EQ(window.objectName(), "FOknoGrafiki");
    EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(window.pos(), QPoint(350, 75));
    EXPECT_EQ(window.size(), QSize(365, 26));
    EXPECT_TRUE(window.IsCollapsed());
    EXPECT_FALSE(window.Expandable());
    Click("LRozwinOkno");
    EXPECT_TRUE(window.IsCollapsed());
    EXPECT_EQ(At("LListwaNaListwie"), QRect(0, 3, 240, 22));
    EXPECT_FALSE(window.mask().contains(QPoint(364, 0)));
}

TEST_F(PictureWindowTest, SmallPictureFitsWithoutSizeButtons) {
    Show(200, 100);
    EXPECT_EQ(state.Run.LastShownPictureName, "obraz.jpg");
    EXPECT_EQ(window.size(), QSize(365, 200));
    EXPECT_FALSE(window.IsCollapsed());
    EXPECT_TRUE(window.Expandable());
    EXPECT_FALSE(Shown("PPowieksz"));
    EXPECT_FALSE(Shown("PZmniejsz"));
    EXPECT_EQ(At("PCentrum"), QRect(85, 40, 250, 135));
    EXPECT_EQ(At("PPodImg"), QRect(0, 0, 206, 106));
    EXPECT_EQ(At("Img"), QRect(3, 3, 200, 100));
    const QImage shown = static_cast<QLabel&>(Child("Img")).pixmap().toImage();
    EXPECT_EQ(shown.size(), QSize(200, 100));
    EXPECT_EQ(QColor(shown.pixel(150, 70)), QColor(150, 70, 0x80));
}

TEST_F(PictureWindowTest, EveryPieceSitsInPlace) {
    Show(400, 300);
    EXPECT_EQ(At("PLeftTop"), QRect(0, 0, 85, 160));
    EXPECT_EQ(At("PPowieksz"), QRect(24, 40, 40, 45));
    EXPECT_EQ(At("PZmniejsz"), QRect(24, 40, 40, 45));
    EXPECT_EQ(At("LCopyImg"), QRect(29, 101, 29, 30));
    EXPECT_EQ(At("PBottom"), QRect(85, 175, 250, 25));
    EXPECT_EQ(At("PRightBottom"), QRect(335, 175, 30, 25));
    EXPECT_EQ(Child("PZmniejsz").toolTip(), "Zmień rozmiar okna");
    EXPECT_EQ(Child("LCopyImg").toolTip(), "Kopiuj obraz");
    const QRegion outline = window.mask();
    EXPECT_EQ(outline.boundingRect(), QRect(0, 0, 365, 200));
    EXPECT_FALSE(outline.contains(QPoint(364, 199)));
    EXPECT_TRUE(outline.contains(QPoint(360, 199)));
}

TEST_F(PictureWindowTest, LargePictureEnlargesToShowItWholeAndShrinksBack) {
    Show(400, 300);
    EXPECT_EQ(window.CentreSize(), (FrameSize{250, 135}));
    EXPECT_TRUE(Shown("PPowieksz"));
    EXPECT_FALSE(Shown("PZmniejsz"));
    // Only the top-left part shows: the centre clips the holder.
    EXPECT_EQ(At("PPodImg"), QRect(0, 0, 406, 306));
    EXPECT_EQ(At("PCentrum"), QRect(85, 40, 250, 135));

    Click("ImPowieksz");
    EXPECT_EQ(window.size(), QSize(521, 371));
    EXPECT_EQ(window.CentreSize(), (FrameSize{406, 306}));
    EXPECT_EQ(At("PCentrum").size(), At("PPodImg").size());
    EXPECT_FALSE(Shown("PPowieksz"));
    EXPECT_TRUE(Shown("PZmniejsz"));
    EXPECT_EQ(window.mask().boundingRect(), QRect(0, 0, 521, 371));

    Click("ImZmniejsz");
    EXPECT_EQ(window.size(), QSize(365, 200));
    EXPECT_TRUE(Shown("PPowieksz"));
    EXPECT_FALSE(Shown("PZmniejsz"));
}

TEST_F(PictureWindowTest, KeysUseTheSizeToolsFoldAndCopy) {
    Show(400, 300);
    QTest::keyClick(&window, Qt::Key_Plus);
    EXPECT_EQ(window.size(), QSize(521, 371));
    QTest::keyClick(&window, Qt::Key_Minus);
    EXPECT_EQ(window.size(), QSize(365, 200));
    QTest::keyClick(&window, Qt::Key_Z);
    EXPECT_TRUE(window.IsCollapsed());
    QTest::keyClick(&window, Qt::Key_R);
    EXPECT_FALSE(window.IsCollapsed());
    QApplication::clipboard()->clear();
    QTest::keyClick(&window, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(400, 300));
}

TEST_F(PictureWindowTest, WidePictureEnlargesOnlyAsFarAsTheLeastHeight) {
    Show(300, 50);
    ASSERT_TRUE(Shown("PPowieksz"));
    Click("ImPowieksz");
    EXPECT_EQ(window.size(), QSize(421, 200));
}

TEST_F(PictureWindowTest, PictureLargerThanTheScreenEnlargesOnlyToTheWorkArea) {
    const QRect room = window.screen()->availableGeometry();
    Show(room.width() + 500, 100);
    Click("ImPowieksz");
    EXPECT_EQ(window.size(), QSize(room.width(), 200));
    EXPECT_TRUE(Shown("PZmniejsz"));
}

TEST_F(PictureWindowTest, PictureWhoseBevelWouldBeCutOffCanBeEnlarged) {
    Show(247, 100);
    EXPECT_TRUE(Shown("PPowieksz"));
    Show(244, 129);
    EXPECT_FALSE(Shown("PPowieksz"));
}

TEST_F(PictureWindowTest, QuestionWithoutPictureFoldsTheWindowWithoutSizeButtons) {
    Show(400, 300);
    Click("ImPowieksz");
    window.HidePicture();
    EXPECT_TRUE(window.IsCollapsed());
    EXPECT_EQ(window.size(), QSize(365, 26));
    EXPECT_FALSE(Shown("PPowieksz"));
    EXPECT_FALSE(Shown("PZmniejsz"));
    EXPECT_TRUE(state.Run.LastShownPictureName.empty());
    // The earlier picture can still be opened, in the small window that offers to enlarge it.
    EXPECT_TRUE(window.Expandable());
    Click("LRozwinOkno");
    EXPECT_FALSE(window.IsCollapsed());
    EXPECT_EQ(window.size(), QSize(365, 200));
    EXPECT_TRUE(Shown("PPowieksz"));
    EXPECT_FALSE(Shown("PZmniejsz"));
}

TEST_F(PictureWindowTest, CollapseAndExpandKeepTheSize) {
    Show(400, 300);
    Click("ImPowieksz");
    Click("LZwinOkno");
    EXPECT_EQ(window.size(), QSize(521, 26));
    EXPECT_EQ(At("PRight"), QRect(491, 0, 30, 26));
    Click("LRozwinOkno");
    EXPECT_EQ(window.size(), QSize(521, 371));
    EXPECT_TRUE(Shown("PZmniejsz"));
    EXPECT_FALSE(Shown("PPowieksz"));
}

TEST_F(PictureWindowTest, ShowingAgainLocksTheBarUntilTheNextPicture) {
    Show(200, 100);
    window.hide();
    window.Open(anchor);
    EXPECT_TRUE(window.IsCollapsed());
    EXPECT_FALSE(window.Expandable());
    Click("LRozwinOkno");
    EXPECT_TRUE(window.IsCollapsed());
}

TEST_F(PictureWindowTest, CopySpotPutsThePictureOnTheClipboard) {
    Show(64, 48);
    QApplication::clipboard()->clear();
    Click("LCopyImg");
    const QImage copied = QApplication::clipboard()->image();
    ASSERT_EQ(copied.size(), QSize(64, 48));
    EXPECT_EQ(QColor(copied.pixel(10, 20)), QColor(10, 20, 0x80));
    EXPECT_EQ(QColor(copied.pixel(63, 47)), QColor(63, 47, 0x80));
}

// The engine lets its bitmap go once a picture is shown; a question whose picture the loader
// could not find keeps the last one, and closing the window lets it go.
TEST_F(PictureWindowTest, AnEmptyBitmapKeepsTheLastPictureUntilTheWindowCloses) {
    Show(64, 48);
    state.Run.Current.Picture = {};
    window.ShowPicture("brak.jpg");
    const QLabel& shown = static_cast<QLabel&>(Child("Img"));
    EXPECT_EQ(shown.pixmap().size(), QSize(64, 48));
    EXPECT_EQ(At("Img").size(), QSize(64, 48));
    window.hide();
    EXPECT_TRUE(shown.pixmap().isNull());
}

TEST_F(PictureWindowTest, PalettePictureShowsInItsColours) {
    Bitmap bitmap;
    bitmap.Width = 2;
    bitmap.Height = 1;
    bitmap.Format = PixelFormat::Bits8;
    bitmap.Palette[3] = {200, 10, 20};
    bitmap.Palette[7] = {5, 6, 250};
    bitmap.Pixels = {3, 7};
    state.Run.Current.Picture = bitmap;
    window.ShowPicture("paleta.gif");
    Click("LCopyImg");
    const QImage copied = QApplication::clipboard()->image();
    EXPECT_EQ(QColor(copied.pixel(0, 0)), QColor(200, 10, 20));
    EXPECT_EQ(QColor(copied.pixel(1, 0)), QColor(5, 6, 250));
}

TEST_F(PictureWindowTest, TitleStripMovesTheWindow) {
    Show(200, 100);
    const QPoint start = window.pos();
    QWidget& strip = Child("LListwaTop");
    QTest::mousePress(&strip, Qt::LeftButton, {}, QPoint(30, 8));
    QTest::mouseMove(&strip, QPoint(70, 28));
    QTest::mouseRelease(&strip, Qt::LeftButton, {}, QPoint(70, 28));
    EXPECT_EQ(window.pos() - start, QPoint(40, 20));
}
