#include "gui/windows/InfoWindow.h"
#include "gui/windows/SummaryWindow.h"
#include "support/FreshProgramState.h"
#include "support/Recorder.h"

#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

// The information window and the summary, which close alike.
template <typename Window> std::unique_ptr<Window> MadeFor(ProgramState& state);
template <> std::unique_ptr<InfoWindow> MadeFor(ProgramState& state) {
    return std::make_unique<InfoWindow>(state.LearnerSettings);
}
template <> std::unique_ptr<SummaryWindow> MadeFor(ProgramState& state) {
    return std::make_unique<SummaryWindow>(state.Run, state.LearnerSettings);
}

template <typename Window> class InfoWindows : public ::testing::Test {
protected:
    InfoWindows() {
        QObject::connect(window.get(), &QDialog::finished, [this] { ++closes; });
    }

    Recorder record;
    FreshProgramState state{record};
    std::unique_ptr<Window> window = MadeFor<Window>(state);
    int closes = 0;
};

using Windows = ::testing::Types<InfoWindow, SummaryWindow>;
TYPED_TEST_SUITE(InfoWindows, Windows);

TYPED_TEST(InfoWindows, EnterAndEscapeCloseAsTheCloseSpotDoesOnlyWithTheKeysSetting) {
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        this->window->show();
        QTest::keyClick(this->window.get(), key);
        EXPECT_TRUE(this->window->isVisible()) << "the setting is off";
        this->state.LearnerSettings.KeysCloseInfoWindows = true;
        QTest::keyClick(this->window.get(), key);
        EXPECT_FALSE(this->window->isVisible());
        EXPECT_EQ(this->window->result(), QDialog::Accepted);
        this->state.LearnerSettings.KeysCloseInfoWindows = false;
    }
    EXPECT_EQ(this->closes, 2);
}

} // namespace
