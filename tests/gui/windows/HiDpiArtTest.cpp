#include "core/session/QuestionRecord.h"
#include "gui/resources/Resources.h"
#include "gui/windows/MainWindow.h"
#include "gui/windows/TestScreen.h"
#include "support/FreshProgramState.h"
#include "support/Recorder.h"
#include "support/ScopedEnvironment.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

// The main window's pictures at the application's pixel ratio. The ratio is fixed when the
// application starts, so the 2x case runs in a child of this program under QT_SCALE_FACTOR=2.
namespace {

class HiDpiArt : public ::testing::Test {
protected:
    void ShowMainWindow() {
        window = std::make_unique<MainWindow>(state);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        testScreen = window->findChild<TestScreen*>();
        ASSERT_NE(testScreen, nullptr);
        testScreen->ShowTestPanel();
        testScreen->DrawMark(TileLook::Plain, 2);
        QApplication::processEvents();
    }

    QPixmap Shown(const char* name) {
        auto* label = window->findChild<QLabel*>(QString::fromLatin1(name));
        return label ? label->pixmap() : QPixmap();
    }

    // A picture has the given ratio and that many times the pixels of its art, so it takes
    // the art's logical size.
    void ExpectPicture(const char* name, const char* art, qreal ratio) {
        const QPixmap pixmap = Shown(name);
        EXPECT_EQ(pixmap.devicePixelRatio(), ratio) << name;
        EXPECT_EQ(pixmap.size(), ResourceImage(QString::fromLatin1(art)).size() * ratio) << name;
    }

    void ExpectArtAt(qreal ratio) {
        ASSERT_EQ(qApp->devicePixelRatio(), ratio);
        ShowMainWindow();
        ExpectPicture("ImTloGlowny", "tloglowny", ratio);
        ExpectPicture("ImTloMenuTest", "menutesty", ratio);
        ExpectPicture("ImTloMenuPomoc", "menupomoc", ratio);
        ExpectPicture("ImTloTest", "oknoludra50", ratio);
        ExpectPicture("ImButStop", "butsprawdz", ratio);
        // The second letter's plain tile, cut from the sheet at the ratio's coordinates.
        const int side = TestScreen::kTile * static_cast<int>(ratio);
        const QPixmap tile = Shown("ImOdp2");
        EXPECT_EQ(tile.devicePixelRatio(), ratio);
        EXPECT_EQ(tile.toImage().convertToFormat(QImage::Format_RGB32),
                  ResourceImage("literyduze50", ratio).copy(side, 0, side, side));
        // Hit areas keep their logical places whatever the ratio.
        EXPECT_EQ(window->findChild<QWidget*>("LTest_0")->geometry(), QRect(17, 139, 129, 15));
    }

    TempDir dir;
    ScopedEnvironment config{"XDG_CONFIG_HOME", dir.Path().string()};
    Recorder record;
    FreshProgramState state{record};
    std::unique_ptr<MainWindow> window;
    TestScreen* testScreen = nullptr;
};

} // namespace

TEST_F(HiDpiArt, PicturesAtRatio1AreThePlainArt) { ExpectArtAt(1); }

TEST_F(HiDpiArt, PicturesAtRatio2AreTheArtOfTwiceThePixels) {
    if (qApp->devicePixelRatio() == 2) {
        ExpectArtAt(2);
        return;
    }
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=HiDpiArt.PicturesAtRatio2AreTheArtOfTwiceThePixels")});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QString output = QString::fromUtf8(child.readAll());
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << output.toStdString();
}
