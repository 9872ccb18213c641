#include "gui/windows/InfoWindow.h"

#include "core/storage/SettingsFile.h"
#include "gui/resources/Resources.h"
#include "support/FreshProgramState.h"
#include "support/MainWindowStandIn.h"
#include "support/Recorder.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

class Vignette : public ::testing::Test {
protected:
    Vignette() {
        QObject::connect(&window, &QDialog::finished, [this] { ++closes; });
    }

    QWidget& Child(const char* name) {
        auto* child = window.findChild<QWidget*>(QString::fromLatin1(name));
        if (!child)
            throw std::runtime_error(std::string("no child ") + name);
        return *child;
    }

    Recorder record;
    FreshProgramState state{record};
    InfoWindow window{state.LearnerSettings};
    int closes = 0;
};

} // namespace

TEST_F(Vignette, FramelessStayOnTopWithFixedClientSize) {
    EXPECT_EQ(window.objectName(), "FWinieta");
    EXPECT_EQ(window.size(), QSize(366, 239));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(window.isHidden());
}

TEST_F(Vignette, PictureAndCloseSpotKeepTheirPlaces) {
    EXPECT_EQ(Child("Image1").geometry(), QRect(0, 0, 366, 239));
    EXPECT_EQ(Child("LCloseWinieta").geometry(), QRect(322, 21, 24, 17));
    EXPECT_EQ(Child("LCloseWinieta").cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(Child("LCloseWinieta").accessibleName(), "Zamknij");
    EXPECT_EQ(window.childAt(330, 25), &Child("LCloseWinieta"));
    EXPECT_EQ(window.childAt(321, 25), &Child("Image1"));
    if (!ResourceImage(QStringLiteral("winieta")).isNull()) {
        EXPECT_EQ(static_cast<QLabel&>(Child("Image1")).pixmap().size(), QSize(366, 239));
    }
}

TEST_F(Vignette, StandsBesideTheMainWindowOrItsMainPanel) {
    const MainWindowStandIn main;
    window.Place(main.top);
    window.show();
    EXPECT_EQ(window.pos(), main.top.pos() + QPoint(260, 160));
    window.Place(main.panel);
    EXPECT_EQ(window.pos(), main.top.pos() + QPoint(30 + 260, 40 + 160));
}

TEST_F(Vignette, FollowsTheAnchorOnEveryShowing) {
    MainWindowStandIn main;
    window.Place(main.top);
    window.show();
    window.hide();
    main.top.move(300, 120);
    window.Place(main.top);
    window.show();
    EXPECT_EQ(window.pos(), QPoint(560, 280));
}

TEST_F(Vignette, OnlyTheCloseSpotCloses) {
    const MainWindowStandIn main;
    window.Place(main.top);
    window.show();
    QTest::mouseClick(&Child("Image1"), Qt::LeftButton);
    QTest::mouseClick(&Child("LCloseWinieta"), Qt::RightButton);
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Space, Qt::Key_Tab})
        QTest::keyClick(&window, key);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(closes, 0);
    QTest::mouseClick(&Child("LCloseWinieta"), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(closes, 1);
}

TEST_F(Vignette, ExecuteIsModalUntilTheCloseSpotIsClicked) {
    const MainWindowStandIn main;
    QPoint shownAt;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != &window) {
            ADD_FAILURE() << "the vignette is not the modal window";
            window.done(0);
            return;
        }
        shownAt = window.pos();
        QTest::mouseClick(window.findChild<QWidget*>("LCloseWinieta"), Qt::LeftButton);
    });
    window.Execute(main.panel);
    EXPECT_EQ(shownAt, main.top.pos() + QPoint(290, 200));
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(closes, 1);
}
