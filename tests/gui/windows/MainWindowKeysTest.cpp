#include "core/storage/SettingsFile.h"
#include "gui/windows/MainWindow.h"
#include "gui/windows/WarningWindow.h"
#include "support/FreshProgramState.h"
#include "support/Recorder.h"
#include "support/ScopedEnvironment.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// The main window's menu driven by keys that come through its platform window, as real ones do.
class MenuKeys : public ::testing::Test {
protected:
    void SetUp() override {
        window.OpenUrl = [this](const QUrl& url, auto) { opened.push_back(url); };
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(window.windowHandle(), key, modifiers);
    }
    QWidget* Child(const char* name) { return window.findChild<QWidget*>(name); }
    // The entry the focus outline is drawn around, or none when it is hidden.
    QString Focused() {
        QWidget* ring = Child("MenuFocus");
        if (!ring->isVisible())
            return {};
        for (QWidget* entry : ring->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (entry != ring && entry->isVisible() && ring->geometry().contains(entry->geometry()))
                return entry->objectName();
        }
        return "?";
    }

    TempDir dir;
    ScopedEnvironment config{"XDG_CONFIG_HOME", dir.Path().string()};
    Recorder record;
    FreshProgramState state{record};
    MainWindow window{state};
    std::vector<QUrl> opened;
};

// Counts and cancels the settings window once it is the modal one; the menu lets pending events run
// before, which only postpones this.
void CancelWhenModal(int& shown, int postponements = 20) {
    QTimer::singleShot(0, [&shown, postponements] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal && postponements > 0)
            return CancelWhenModal(shown, postponements - 1);
        ASSERT_NE(modal, nullptr);
        EXPECT_EQ(modal->objectName(), "FUstawienia");
        ++shown;
        QTest::keyClick(modal, Qt::Key_Escape);
    });
}

} // namespace

TEST_F(MenuKeys, KeysWalkTheMenuAndDoWhatClicksDoUntilTheMouseOrTheTestPanelTakesOver) {
    WarningWindow box; // installs the application's filter that swallows Tab
    EXPECT_EQ(Focused(), "");
    Press(Qt::Key_Tab);
    EXPECT_EQ(Focused(), "LTest_0");
    EXPECT_TRUE(TabMarked());
    Press(Qt::Key_Return);
    EXPECT_TRUE(Child("PPodMenuTest")->isVisible());
    EXPECT_EQ(Focused(), "LTestZNazwiskiem");
    // The focused entry wears its hover look.
    EXPECT_EQ(window.findChild<QLabel*>("LTestZNazwiskiem")->palette().color(QPalette::WindowText), QColor(Qt::white));
    Press(Qt::Key_Up);
    EXPECT_EQ(Focused(), "LPomoc_1");
    Press(Qt::Key_Space);
    EXPECT_TRUE(Child("PPodMenuPomoc")->isVisible());
    EXPECT_EQ(Focused(), "LOProgramie");
    Press(Qt::Key_Down);
    Press(Qt::Key_Enter);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_TRUE(opened[0].isLocalFile());
    Press(Qt::Key_Escape);
    EXPECT_FALSE(Child("PPodMenuPomoc")->isVisible());
    EXPECT_EQ(Focused(), "LPomoc_0");
    Press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Focused(), "LTest_0");

    // A click leaves no outline behind, and Enter then opens nothing.
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, QPoint(500, 500));
    EXPECT_EQ(Focused(), "");
    Press(Qt::Key_Return);
    EXPECT_FALSE(Child("PPodMenuTest")->isVisible());

    // The test panel keeps its keys; shortcuts keep theirs.
    Child("PTest")->show();
    Press(Qt::Key_Tab);
    EXPECT_EQ(Focused(), "");
    Child("PTest")->hide();
    Press(Qt::Key_Tab);
    Press(Qt::Key_F4, Qt::ControlModifier);
    EXPECT_EQ(state.LearnerSettings.WindowMode, 1);
    Press(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_FALSE(Child("PPodMenuTest")->isVisible());
}

TEST_F(MenuKeys, TheSettingsEntryAndF2OpenTheSettingsWindowButNotOverTheTestPanel) {
    QWidget* entry = Child("LUstawienia");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->geometry(), QRect(15, 186, 133, 19));
    EXPECT_TRUE(entry->isVisible());
    int shown = 0;
    const auto cancelOnShow = [&shown] { CancelWhenModal(shown); };
    cancelOnShow();
    QTest::mouseClick(entry, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(shown, 1);
    cancelOnShow();
    Press(Qt::Key_F2);
    EXPECT_EQ(shown, 2);

    Child("PTest")->show();
    Press(Qt::Key_F2);
    QApplication::processEvents();
    EXPECT_EQ(shown, 2);
}
