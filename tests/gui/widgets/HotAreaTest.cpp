#include "gui/widgets/HotArea.h"

#include "gui/widgets/Accessible.h"
#include "gui/widgets/WindowDrag.h"

#include <QAccessible>
#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A hot area on a shown window, and mouse events sent to it at its own coordinates.
class HotAreaTest : public ::testing::Test {
protected:
    HotAreaTest() {
        window.setGeometry(100, 100, 300, 200);
        window.show();
    }

    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, at, area.mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(&area, &event);
    }

    QWidget window;
    HotArea area{"LSpot", "Zamknij", {10, 10, 50, 20}, &window};
};

} // namespace

// Only a left click released over the area clicks; every press, move with a button held and
// release is reported, with the cursor's place on the screen.
TEST_F(HotAreaTest, ClicksPressesMovesAndReleases) {
    QSignalSpy clicked(&area, &HotArea::clicked), pressed(&area, &HotArea::pressed), moved(&area, &HotArea::moved),
        released(&area, &HotArea::released);
    Mouse(QEvent::MouseButtonPress, {5, 5}, Qt::RightButton, Qt::RightButton);
    Mouse(QEvent::MouseButtonRelease, {5, 5}, Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(clicked.count(), 0);
    Mouse(QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseMove, {70, 5}, Qt::NoButton, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, {70, 5}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(clicked.count(), 0) << "released outside the area";
    QTest::mouseClick(&area, Qt::LeftButton, {}, {5, 5});
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(pressed.count(), 3);
    EXPECT_EQ(released.count(), 3);
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved.at(0).at(0).toPoint(), area.mapToGlobal(QPoint(70, 5)));
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&area);
    EXPECT_EQ(accessible->role(), QAccessible::Button);
    EXPECT_EQ(accessible->text(QAccessible::Name), "Zamknij");
}

// A strip moves its window by the cursor's movement, whichever button drags, while a drag is
// allowed; it reads as text.
TEST_F(HotAreaTest, AStripDragsItsWindowUnlessRefused) {
    bool allowed = true;
    auto* drag = new WindowDrag(&window, [&allowed] { return allowed; });
    drag->Attach(&area);
    const QPoint start = window.pos();
    Mouse(QEvent::MouseButtonPress, {5, 5}, Qt::RightButton, Qt::RightButton);
    Mouse(QEvent::MouseMove, {25, 15}, Qt::NoButton, Qt::RightButton);
    Mouse(QEvent::MouseButtonRelease, {25, 15}, Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(window.pos(), start + QPoint(20, 10));
    allowed = false;
    Mouse(QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseMove, {45, 5}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(window.pos(), start + QPoint(20, 10));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&area)->role(), QAccessible::StaticText);
}

// A role given a widget is what a screen reader reads, with the checked state told.
TEST(Accessible, RolesAndCheckedStates) {
    QWidget window;
    HotArea tile("ImOdp1", "Odpowiedź A", {0, 0, 35, 35}, &window);
    SetAccessibleRole(&tile, QAccessible::CheckBox);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&tile);
    EXPECT_EQ(accessible->role(), QAccessible::CheckBox);
    EXPECT_FALSE(accessible->state().checked);
    SetAccessibleChecked(&tile, true);
    EXPECT_TRUE(accessible->state().checked);
}
