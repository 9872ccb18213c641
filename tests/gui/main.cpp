#include "gui/widgets/Controls.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

// One application for every window test; offscreen unless a display is asked for.
int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    SubstituteFonts();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
