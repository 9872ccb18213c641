#include "gui/windows/ReviewWindow.h"
#include "gui/windows/SettingsWindow.h"
#include "gui/windows/Startup.h"
#include "support/FreshProgramState.h"
#include "support/Recorder.h"

#include <QApplication>
#include <QLabel>
#include <gtest/gtest.h>

// Question, answer, hint, summary, message and list texts come from files: markup in them must show as the
// characters it is, never load a picture or lay out a table. Every label of every window is checked, so a
// label added later can't slip through.
TEST(PlainText, EveryLabelOfEveryWindowShowsPlainText) {
    Recorder record;
    FreshProgramState state{record};
    ProgramWindows windows(state);
    // Windows made when first wanted, made now.
    *windows.Picture;
    *windows.Text;
    *windows.SetList;
    *windows.Summary;
    *windows.Info;
    const ReviewWindow review;
    const SettingsWindow settings(state);
    int labels = 0;
    for (QWidget* widget : QApplication::allWidgets())
        if (auto* label = qobject_cast<QLabel*>(widget); label != nullptr) {
            ++labels;
            EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->objectName().toStdString();
        }
    EXPECT_GT(labels, 50);
}
