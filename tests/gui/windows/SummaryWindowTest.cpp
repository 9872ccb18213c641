#include "gui/windows/SummaryWindow.h"

#include "core/session/SummaryReport.h"
#include "core/storage/SettingsFile.h"
#include "gui/resources/Resources.h"
#include "support/FreshProgramState.h"
#include "support/MainWindowStandIn.h"
#include "support/Recorder.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

class Summary : public ::testing::Test {
protected:
    Summary() {
        QObject::connect(&window, &QDialog::finished, [this] { ++closes; });
    }

    QWidget& Child(const char* name) {
        auto* child = window.findChild<QWidget*>(QString::fromLatin1(name));
        if (!child)
            throw std::runtime_error(std::string("no child ") + name);
        return *child;
    }

    QLabel& Text() { return static_cast<QLabel&>(Child("LPodsumowanie")); }

    Recorder record;
    FreshProgramState state{record};
    SummaryWindow window{state.Run, state.LearnerSettings};
    int closes = 0;
};

} // namespace

TEST_F(Summary, FramelessStayOnTopWithFixedClientSizeAndRoundedOutline) {
    EXPECT_EQ(window.objectName(), "FPodsumowanie");
    EXPECT_EQ(window.size(), QSize(409, 235));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(window.isHidden());
    const QRegion outline = window.mask();
    EXPECT_EQ(outline.boundingRect(), QRect(0, 0, 409, 235));
    EXPECT_FALSE(outline.contains(QPoint(0, 0)));
    EXPECT_FALSE(outline.contains(QPoint(408, 234)));
    EXPECT_FALSE(outline.contains(QPoint(408, 0)));
    EXPECT_FALSE(outline.contains(QPoint(0, 234)));
    EXPECT_TRUE(outline.contains(QPoint(6, 0)));
    EXPECT_TRUE(outline.contains(QPoint(0, 6)));
    EXPECT_TRUE(outline.contains(QPoint(204, 117)));
    EXPECT_TRUE(outline.contains(QPoint(400, 230)));
}

TEST_F(Summary, ComponentsKeepTheirPlaces) {
    EXPECT_EQ(Child("ImTlo").geometry(), QRect(0, 0, 409, 235));
    EXPECT_EQ(Child("LPodsumowanie").geometry(), QRect(100, 64, 265, 124));
    EXPECT_EQ(Child("LClosePodsumowanie").geometry(), QRect(380, 6, 17, 17));
    EXPECT_EQ(Child("LListwa").geometry(), QRect(8, 6, 361, 17));
    EXPECT_EQ(Child("LClosePodsumowanie").cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(window.childAt(388, 14), &Child("LClosePodsumowanie"));
    EXPECT_EQ(window.childAt(20, 10), &Child("LListwa"));
    EXPECT_EQ(window.childAt(374, 14), &Child("ImTlo"));
    EXPECT_EQ(window.childAt(50, 100), &Child("ImTlo"));
    if (!ResourceImage(QStringLiteral("oknopodsumowanie")).isNull()) {
        EXPECT_EQ(static_cast<QLabel&>(Child("ImTlo")).pixmap().size(), QSize(409, 235));
    }
}

TEST_F(Summary, TextUsesTheFormFontWrappedInWindowTextColour) {
    QLabel& text = Text();
    EXPECT_TRUE(text.wordWrap());
    EXPECT_EQ(text.textFormat(), Qt::PlainText);
    EXPECT_EQ(text.font().family(), "MS Sans Serif");
    EXPECT_EQ(text.font().pixelSize(), 11);
    EXPECT_EQ(text.palette().color(QPalette::WindowText), QColor(Qt::black));
    EXPECT_TRUE(text.testAttribute(Qt::WA_TranslucentBackground));
}

TEST_F(Summary, ShowsTheReportWithItsLineBreaks) {
    const MainWindowStandIn main;
    const SummaryReport report = MakeSummaryReport(10, 7, 12, 45000.0, 45000.0 + 42.0 / 86400.0);
    window.Prepare(report.Text, main.top);
    const QStringList lines = Text().text().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 9);
    EXPECT_EQ(lines[0], "  ZESTAWIENIE ");
    EXPECT_EQ(lines[1], " =============");
    EXPECT_EQ(lines[2], "Pytań w zestawie: 10");
    EXPECT_EQ(lines[3], "Poprawnych odpowiedzi: 7");
    EXPECT_EQ(lines[4], "Skuteczność: 70%");
    EXPECT_EQ(lines[5], "");
    EXPECT_EQ(lines[6], "Udzielonych odpowiedzi: 12");
    EXPECT_EQ(lines[7], "Czas pracy: 0 min 42 s");
    EXPECT_EQ(lines[8], "Reasumując: Jest tak sobie.");
    EXPECT_FALSE(Text().text().contains(QLatin1Char('\r')));
}

TEST_F(Summary, EachShowingReplacesTheText) {
    const MainWindowStandIn main;
    window.Prepare(u"Pierwszy\rtekst", main.top);
    EXPECT_EQ(Text().text(), "Pierwszy\ntekst");
    window.Prepare(u"Drugi", main.top);
    EXPECT_EQ(Text().text(), "Drugi");
}

TEST_F(Summary, CtrlCCopiesTheReportWithoutClosing) {
    const MainWindowStandIn main;
    QGuiApplication::clipboard()->setText(QStringLiteral("przedtem"));
    window.Prepare(u"  ZESTAWIENIE \rSkuteczność: 70%", main.top);
    window.show();
    QTest::keyClick(&window, Qt::Key_C);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "przedtem");
    QTest::keyClick(&window, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "  ZESTAWIENIE \nSkuteczność: 70%");
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(closes, 0);
}

TEST_F(Summary, StandsBesideTheMainWindowOrItsMainPanel) {
    const MainWindowStandIn main;
    window.Place(main.top);
    window.show();
    EXPECT_EQ(window.pos(), main.top.pos() + QPoint(355, 222));
    window.Place(main.panel);
    EXPECT_EQ(window.pos(), main.top.pos() + QPoint(30 + 355, 40 + 222));
}

TEST_F(Summary, PlacedAfreshOnEveryShowing) {
    MainWindowStandIn main;
    window.Prepare(u"a", main.top);
    window.show();
    QTest::mouseClick(&Child("LClosePodsumowanie"), Qt::LeftButton);
    main.top.move(300, 120);
    window.Prepare(u"b", main.top);
    window.show();
    EXPECT_EQ(window.pos(), QPoint(655, 342));
}

TEST_F(Summary, OnlyTheCloseSpotClosesAndOnlyWithTheLeftButton) {
    const MainWindowStandIn main;
    window.Prepare(u"tekst", main.top);
    window.show();
    QTest::mouseClick(&Child("ImTlo"), Qt::LeftButton);
    QTest::mouseClick(&Child("LPodsumowanie"), Qt::LeftButton);
    QTest::mouseClick(&Child("LClosePodsumowanie"), Qt::RightButton);
    QTest::mouseClick(&Child("LClosePodsumowanie"), Qt::MiddleButton);
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_Tab})
        QTest::keyClick(&window, key);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(closes, 0);
    QTest::mouseClick(&Child("LClosePodsumowanie"), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(closes, 1);
}

TEST_F(Summary, DraggingTheTitleStripMovesTheWindow) {
    const MainWindowStandIn main;
    window.Prepare(u"tekst", main.top);
    window.show();
    const QPoint start = window.pos();
    QWidget& strip = Child("LListwa");
    const QPoint grip = strip.mapToGlobal(QPoint(10, 8));
    // The pointer's path on the screen; the strip moves under it.
    const auto moveTo = [&strip](QPoint screen) { QTest::mouseMove(&strip, strip.mapFromGlobal(screen)); };
    QTest::mousePress(&strip, Qt::LeftButton, {}, QPoint(10, 8));
    moveTo(grip + QPoint(40, 25));
    EXPECT_EQ(window.pos(), start + QPoint(40, 25));
    moveTo(grip + QPoint(-15, 60));
    EXPECT_EQ(window.pos(), start + QPoint(-15, 60));
    QTest::mouseRelease(&strip, Qt::LeftButton, {}, strip.mapFromGlobal(grip + QPoint(-15, 60)));
    const QPoint dropped = window.pos();
    moveTo(grip + QPoint(100, 100));
    EXPECT_EQ(window.pos(), dropped) << "a move after the release must not drag";
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(closes, 0);
}

TEST_F(Summary, ShowSummaryWindowIsModalUntilTheCloseSpotIsClicked) {
    const MainWindowStandIn main;
    QPoint shownAt;
    QString shownText;
    QTimer::singleShot(0, [&] {
        if (QApplication::activeModalWidget() != &window) {
            ADD_FAILURE() << "the summary is not the modal window";
            window.done(0);
            return;
        }
        shownAt = window.pos();
        shownText = Text().text();
        QTest::mouseClick(window.findChild<QWidget*>("LClosePodsumowanie"), Qt::LeftButton);
    });
    window.ShowSummaryWindow(u"Pytań w zestawie: 3\rReasumując: Jest fatalnie.", main.panel);
    EXPECT_EQ(shownAt, main.top.pos() + QPoint(385, 262));
    EXPECT_EQ(shownText, "Pytań w zestawie: 3\nReasumując: Jest fatalnie.");
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(closes, 1);
}
