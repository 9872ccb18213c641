#include "gui/windows/SettingsWindow.h"

#include "core/storage/SettingsFile.h"
#include "gui/windows/WarningWindow.h"
#include "support/FreshProgramState.h"
#include "support/MainWindowStandIn.h"
#include "support/Recorder.h"
#include "support/TempDir.h"

#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

// The settings window over a stand-in main window, its file in a fresh folder.
class SettingsWindowTest : public ::testing::Test {
protected:
    SettingsWindowTest() {
        state.Paths.SettingsFile = dir / "Ludra.ini";
        state.LearnerSettings.RepeatWrong = false;
        state.LearnerSettings.KeysCloseInfoWindows = false;
        window.Prepare(main.top);
        window.show();
    }

    QWidget& Child(const char* name) {
        auto* child = window.findChild<QWidget*>(QString::fromLatin1(name));
        if (!child)
            throw std::runtime_error(std::string("no child ") + name);
        return *child;
    }
    void Click(const char* name) { QTest::mouseClick(&Child(name), Qt::LeftButton, {}, QPoint(5, 5)); }
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(window.windowHandle(), key, modifiers);
    }

    TempDir dir;
    MainWindowStandIn main;
    Recorder record;
    FreshProgramState state{record};
    SettingsWindow window{state};

private:
};

} // namespace

TEST_F(SettingsWindowTest, FramelessModalLookCentredOverTheMainWindow) {
    EXPECT_EQ(window.objectName(), "FUstawienia");
    EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(window.pos(), main.top.mapToGlobal(QPoint(190, 159)));
    EXPECT_FALSE(window.mask().contains(QPoint(0, 0)));
    EXPECT_EQ(Child("CbUstawienie0").accessibleName(), "Powtarzaj pytania, na które odpowiedziałem źle");
}

TEST_F(SettingsWindowTest, KeysMoveToggleAndSaveIntoTheSettings) {
    WarningWindow box;    // installs the application's filter that swallows Tab
    Press(Qt::Key_Space); // the first row: repeating wrong answers
    for (int i = 0; i < 5; ++i)
        Press(Qt::Key_Tab);
    Press(Qt::Key_Space); // the last row: Enter and Escape close information windows
    EXPECT_FALSE(state.LearnerSettings.RepeatWrong) << "nothing applies before saving";
    Press(Qt::Key_Return);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(state.LearnerSettings.RepeatWrong);
    EXPECT_TRUE(state.LearnerSettings.KeysCloseInfoWindows);
    state.LearnerSettings.RepeatWrong = state.LearnerSettings.KeysCloseInfoWindows = false;
    state.SettingsStore().Load(state.LearnerSettings);
    EXPECT_TRUE(state.LearnerSettings.RepeatWrong);
    EXPECT_TRUE(state.LearnerSettings.KeysCloseInfoWindows);
}

TEST_F(SettingsWindowTest, ClicksToggleRowsAndCancelLeavesEverySettingAlone) {
    Click("CbUstawienie0");
    EXPECT_TRUE(window.Form().Checked[0]);
    Click("BAnuluj");
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(state.LearnerSettings.RepeatWrong);
    EXPECT_FALSE(std::filesystem::exists(state.Paths.SettingsFile));

    window.Prepare(main.top);
    window.show();
    Click("CbUstawienie0");
    Press(Qt::Key_Escape);
    EXPECT_FALSE(state.LearnerSettings.RepeatWrong);
    window.Prepare(main.top);
    window.show();
    Click("CbUstawienie0");
    Click("BZapisz");
    EXPECT_TRUE(state.LearnerSettings.RepeatWrong);
}
