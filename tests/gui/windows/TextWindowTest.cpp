#include "gui/windows/TextWindow.h"

#include "core/base/CodePage.h"
#include "core/session/QuestionLoader.h"
#include "core/session/TestRun.h"
#include "core/storage/SettingsFile.h"
#include "gui/widgets/ScrollBar.h"
#include "support/FreshProgramState.h"
#include "support/MainWindowStandIn.h"
#include "support/Recorder.h"

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QRegion>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Lines(int count) {
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i)
        lines.push_back("wiersz " + std::to_string(i));
    return lines;
}

// The text window opened beside a stand-in main window.
class TextWindowTest : public ::testing::Test {
protected:
    TextWindowTest() { window.Open(anchor); }
    ~TextWindowTest() override {
        state.Run.Current.AttachedText.clear();
        state.Run.LastShownTextName.clear();
    }

    void Show(std::vector<std::string> lines, const std::string& name = "opis.txt") {
        state.Run.Current.AttachedText = std::move(lines);
        window.ShowAttachedText(name);
    }

    QWidget& Child(const char* name) {
        auto* child = window.findChild<QWidget*>(QString::fromLatin1(name));
        if (!child)
            throw std::runtime_error(std::string("no child ") + name);
        return *child;
    }
    QRect At(const char* name) { return Child(name).geometry(); }
    void Click(const char* name) { QTest::mouseClick(&Child(name), Qt::LeftButton, {}, QPoint(5, 5)); }
    QPlainTextEdit& Text() { return static_cast<QPlainTextEdit&>(Child("Mtekst")); }
    ScrollBar& Bar() { return static_cast<ScrollBar&>(Child("ListwaV")); }
    bool BarShown() { return !Child("PPodListwe").isHidden(); }

    // Drags the resize corner to the given distance below the window's top.
    void DragCornerTo(int belowTop, QWidget** frameWhileTracking = nullptr) {
        QWidget& corner = Child("LCiongnijOkno");
        const QPoint grip(6, 7);
        const QPoint target = corner.mapFromGlobal(QPoint(corner.mapToGlobal(grip).x(), window.y() + belowTop));
        QTest::mousePress(&corner, Qt::LeftButton, {}, grip);
        QTest::mouseMove(&corner, target);
        if (frameWhileTracking)
            *frameWhileTracking = VisibleDottedFrame();
        QTest::mouseRelease(&corner, Qt::LeftButton, {}, target);
    }
    static QWidget* VisibleDottedFrame() {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->objectName() == "DottedFrame" && top->isVisible())
                return top;
        }
        return nullptr;
    }

    MainWindowStandIn main;
    QWidget& anchor = main.top;
    Recorder record;
    FreshProgramState state{record};
    TextWindow window{state.Run, state.LearnerSettings};
};

} // namespace

TEST_F(TextWindowTest, OpensFoldedToItsBarBesideTheMainWindow) {
    EXPECT_EQ(window.objectName(), "FOknoTekstu");
    EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(window.pos(), QPoint(350, 105));
    EXPECT_EQ(window.size(), QSize(465, 26));
    EXPECT_TRUE(window.IsCollapsed());
    EXPECT_TRUE(Child("PPodstawaBig").isHidden());
    EXPECT_EQ(window.TextFontSize(), 9);
    // Opening again while open does not move it.
    window.move(10, 10);
    window.Open(anchor);
    EXPECT_EQ(window.pos(), QPoint(10, 10));
}

TEST_F(TextWindowTest, OpensBesideTheMainPanelInWholeScreenMode) {
    window.hide();
    window.Open(main.panel);
    EXPECT_EQ(window.pos(), QPoint(100 + 30 + 250, 50 + 40 + 55));
}

TEST_F(TextWindowTest, FoldedBarHasItsPiecesAndCutCorners) {
    EXPECT_EQ(At("PZwiniete"), QRect(0, 0, 465, 26));
    EXPECT_EQ(At("PLeft"), QRect(0, 0, 85, 26));
    EXPECT_EQ(At("PMidlle"), QRect(85, 0, 350, 26));
    EXPECT_EQ(At("LListwaNaListwie"), QRect(0, 3, 340, 17));
    EXPECT_EQ(At("PRight"), QRect(435, 0, 30, 26));
    EXPECT_EQ(At("LRozwinOkno"), QRect(5, 5, 18, 17));
    const QRegion outline = window.mask();
    EXPECT_EQ(outline.boundingRect(), QRect(0, 0, 465, 26));
    EXPECT_FALSE(outline.contains(QPoint(0, 0)));
    EXPECT_FALSE(outline.contains(QPoint(464, 25)));
    EXPECT_TRUE(outline.contains(QPoint(4, 1)));
}

TEST_F(TextWindowTest, ShownTextExpandsTheWindowWithEveryPieceInPlace) {
    Show({"Pierwszy wiersz", "Drugi wiersz"});
    EXPECT_EQ(state.Run.LastShownTextName, "opis.txt");
    EXPECT_EQ(window.size(), QSize(465, 250));
    EXPECT_FALSE(window.IsCollapsed());
    EXPECT_TRUE(Child("PZwiniete").isHidden());
    // The frame's pieces come from its layout; the window's own pieces sit in them.
    EXPECT_EQ(At("PLeftTop"), QRect(0, 0, 85, 200));
    EXPECT_EQ(At("PZmniejsz"), QRect(23, 40, 40, 45));
    EXPECT_EQ(At("PZwieksz"), QRect(23, 90, 40, 45));
    EXPECT_EQ(At("PPodIcoKopiuj"), QRect(23, 138, 40, 45));
    EXPECT_EQ(At("LListwaTop"), QRect(0, 5, 340, 17));
    EXPECT_EQ(At("LZwinOkno"), QRect(5, 5, 18, 17));
    EXPECT_EQ(At("PRightBottom"), QRect(435, 221, 30, 30));
    EXPECT_EQ(At("LCiongnijOkno"), QRect(12, 10, 13, 14));
    EXPECT_EQ(At("PCentrum"), QRect(85, 40, 350, 190));
    EXPECT_EQ(At("PPodTxt"), QRect(0, 0, 329, 185));
    EXPECT_EQ(At("Mtekst"), QRect(3, 4, 343, 180));
    EXPECT_EQ(At("PPodListwe"), QRect(332, 0, 16, 170));
    EXPECT_EQ(Text().toPlainText(), "Pierwszy wiersz\nDrugi wiersz");
    const QRegion outline = window.mask();
    EXPECT_EQ(outline.boundingRect(), QRect(0, 0, 465, 250));
    EXPECT_FALSE(outline.contains(QPoint(1, 248)));
    EXPECT_TRUE(outline.contains(QPoint(4, 249)));
}

TEST_F(TextWindowTest, ToolsCarryTheirHints) {
    EXPECT_EQ(Child("PZmniejsz").toolTip(), "Zmniejsz rozmiar czcionki");
    EXPECT_EQ(Child("PZwieksz").toolTip(), "Zwiększ rozmiar czcionki");
    EXPECT_EQ(Child("PPodIcoKopiuj").toolTip(), "Kopiuj tekst");
}

TEST_F(TextWindowTest, TextBoxIsReadOnlyAndNeverTakesTheFocus) {
    Show({"tekst"});
    EXPECT_TRUE(Text().isReadOnly());
    EXPECT_EQ(Text().focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(Text().contextMenuPolicy(), Qt::NoContextMenu);
    EXPECT_EQ(Text().font().family(), "Tahoma");
    EXPECT_EQ(Text().font().pointSize(), 9);
}

TEST_F(TextWindowTest, PolishLettersOfTheCodePageShowRight) {
    Show({Utf8ToAnsi("Zażółć gęślą jaźń"), Utf8ToAnsi("ZAŻÓŁĆ GĘŚLĄ JAŹŃ")});
    EXPECT_EQ(Text().toPlainText(), QString::fromUtf8("Zażółć gęślą jaźń\nZAŻÓŁĆ GĘŚLĄ JAŹŃ"));
}

TEST_F(TextWindowTest, FontButtonsStopAtEightAndEleven) {
    Show(Lines(3));
    Click("ImZmniejsz");
    EXPECT_EQ(window.TextFontSize(), 8);
    EXPECT_EQ(Text().font().pointSize(), 8);
    EXPECT_TRUE(Child("PZmniejsz").isHidden());
    EXPECT_FALSE(Child("PZwieksz").isHidden());
    // A click where the hidden button was does nothing.
    QTest::mouseClick(&Child("PLeftTop"), Qt::LeftButton, {}, QPoint(43, 62));
    window.ShrinkClick();
    EXPECT_EQ(window.TextFontSize(), 8);

    for (int i = 0; i < 3; ++i)
        Click("ImZwieksz");
    EXPECT_EQ(window.TextFontSize(), 11);
    EXPECT_EQ(Text().font().pointSize(), 11);
    EXPECT_TRUE(Child("PZwieksz").isHidden());
    EXPECT_FALSE(Child("PZmniejsz").isHidden());
    window.GrowClick();
    EXPECT_EQ(window.TextFontSize(), 11);
}

TEST_F(TextWindowTest, KeysUseTheFontToolsAndCopy) {
    Show({"jeden", "dwa"});
    QTest::keyClick(&window, Qt::Key_Plus);
    EXPECT_EQ(Text().font().pointSize(), 10);
    QTest::keyClick(&window, Qt::Key_Minus);
    QTest::keyClick(&window, Qt::Key_Minus);
    EXPECT_EQ(Text().font().pointSize(), 8);
    QApplication::clipboard()->clear();
    QTest::keyClick(&window, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("jeden\ndwa"));
}

TEST_F(TextWindowTest, ShowingAgainStartsAtSizeNineWithBothFontButtons) {
    Show(Lines(3));
    for (int i = 0; i < 2; ++i)
        Click("ImZwieksz");
    ASSERT_TRUE(Child("PZwieksz").isHidden());
    window.hide();
    window.Open(anchor);
    EXPECT_EQ(window.TextFontSize(), 9);
    EXPECT_EQ(Text().font().pointSize(), 9);
    EXPECT_FALSE(Child("PZwieksz").isHidden());
    EXPECT_FALSE(Child("PZmniejsz").isHidden());
    EXPECT_TRUE(window.IsCollapsed());
    EXPECT_EQ(window.size(), QSize(465, 26));
}

TEST_F(TextWindowTest, TextThatFitsShowsNoScrollBarAndOneLineMoreShowsItWithMaxOne) {
    Show(Lines(1));
    const int fit = window.LinesThatFit();
    ASSERT_GT(fit, 5);
    Show(Lines(fit));
    EXPECT_FALSE(BarShown());
    Show(Lines(fit + 1));
    ASSERT_TRUE(BarShown());
    EXPECT_EQ(Bar().Max(), 1);
    EXPECT_EQ(Bar().LargeChange(), fit - 1);
    EXPECT_EQ(Bar().SmallChange(), fit - 2);
    EXPECT_EQ(Bar().SmallChangeMax(), 5);
    EXPECT_EQ(Bar().Position(), 0);
    EXPECT_EQ(Bar().geometry(), QRect(0, 0, 16, 170));
}

TEST_F(TextWindowTest, WrappedLinesCountAsTheyAreShown) {
    Show(Lines(1));
    const int fit = window.LinesThatFit();
    std::string paragraph;
    for (int i = 0; i < 60 * fit; ++i)
        paragraph += "słowo ";
    Show({Utf8ToAnsi(paragraph)});
    ASSERT_TRUE(BarShown());
    EXPECT_GT(Bar().Max(), fit);
    EXPECT_EQ(Bar().Max() + fit, Text().document()->lineCount());
}

TEST_F(TextWindowTest, ScrollBarAndTextBoxScrollTogether) {
    Show(Lines(60));
    ASSERT_TRUE(BarShown());
    QScrollBar& own = *Text().verticalScrollBar();
    Bar().SetPosition(7);
    EXPECT_EQ(own.value(), 7);
    own.setValue(12);
    EXPECT_EQ(Bar().Position(), 12);
    // The wheel over the text scrolls both.
    QWheelEvent wheel(QPointF(50, 50), Text().viewport()->mapToGlobal(QPointF(50, 50)), {}, QPoint(0, -120),
                      Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Text().viewport(), &wheel);
    EXPECT_GT(own.value(), 12);
    EXPECT_EQ(Bar().Position(), own.value());
}

TEST_F(TextWindowTest, NewFontSizeShowsTheTextFromItsBeginning) {
    Show(Lines(60));
    const int maxAtNine = Bar().Max();
    Bar().SetPosition(20);
    Click("ImZwieksz");
    EXPECT_EQ(Text().verticalScrollBar()->value(), 0);
    EXPECT_EQ(Bar().Position(), 0);
    EXPECT_GT(Bar().Max(), maxAtNine) << "fewer lines fit in a larger font";
    EXPECT_EQ(Text().toPlainText().count('\n'), 59);
}

TEST_F(TextWindowTest, EmptyTextShowsAWhiteAreaWithoutScrollBar) {
    Show({});
    EXPECT_FALSE(window.IsCollapsed());
    EXPECT_TRUE(Text().toPlainText().isEmpty());
    EXPECT_FALSE(BarShown());
}

TEST_F(TextWindowTest, CopyPutsTheWholeTextOnTheClipboardAndLeavesItAlone) {
    Show({Utf8ToAnsi("Źródło: ćwiczenie"), "drugi"});
    QApplication::clipboard()->clear();
    Click("ImIcoKopiuj");
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("Źródło: ćwiczenie\ndrugi"));
    EXPECT_EQ(Text().toPlainText(), QString::fromUtf8("Źródło: ćwiczenie\ndrugi"));
    EXPECT_FALSE(Text().textCursor().hasSelection());
}

TEST_F(TextWindowTest, HugeTextsShowTheirBeginningWithTheCutMarkAndAFittedScrollBar) {
    const QString mark = QString::fromUtf8("\n[…] Dalsza część tekstu została pominięta.");
    const auto expectCutAndFitted = [&](const QString& beginning) {
        const QString shown = Text().toPlainText();
        EXPECT_TRUE(shown.startsWith(beginning));
        EXPECT_TRUE(shown.endsWith(mark));
        EXPECT_LT(shown.size(), 100'000);
        ASSERT_TRUE(BarShown());
        EXPECT_EQ(Bar().Max() + window.LinesThatFit(), Text().document()->lineCount());
    };
    Show({std::string(1 << 20, 'x')});
    expectCutAndFitted(QString(1000, 'x'));
    Show(Lines(2'000'000));
    expectCutAndFitted("wiersz 1\nwiersz 2\n");
    // A new font size puts in the same beginning again.
    Click("ImZwieksz");
    expectCutAndFitted("wiersz 1\nwiersz 2\n");
}

TEST_F(TextWindowTest, CopyOfACutTextTakesTheWholeTextWithoutTheMark) {
    Show({std::string(1 << 20, 'x'), "koniec"});
    QApplication::clipboard()->clear();
    Click("ImIcoKopiuj");
    const QString copied = QApplication::clipboard()->text();
    EXPECT_EQ(copied.size(), (1 << 20) + 7);
    EXPECT_TRUE(copied.endsWith("x\nkoniec"));
}

TEST_F(TextWindowTest, ResizeCornerSetsTheHeightButNeverBelow250) {
    Show(Lines(40));
    QWidget* frame = nullptr;
    DragCornerTo(400, &frame);
    ASSERT_NE(frame, nullptr) << "the dotted frame shows while dragging";
    EXPECT_EQ(frame->geometry(), QRect(window.x(), window.y(), frame->width(), 400));
    EXPECT_EQ(VisibleDottedFrame(), nullptr) << "the frame is erased at the end";
    EXPECT_EQ(window.size(), QSize(465, 400));
    EXPECT_EQ(window.TextWindowHeight(), 400);
    EXPECT_EQ(At("PPodListwe"), QRect(332, 0, 16, 320));
    EXPECT_EQ(At("PRightBottom"), QRect(435, 371, 30, 30));
    EXPECT_EQ(window.mask().boundingRect(), QRect(0, 0, 465, 400));

    DragCornerTo(100);
    EXPECT_EQ(window.size(), QSize(465, 250));
}

TEST_F(TextWindowTest, TallerWindowFitsMoreLines) {
    Show(Lines(30));
    const int fitAt250 = window.LinesThatFit();
    DragCornerTo(600);
    EXPECT_GT(window.LinesThatFit(), fitAt250);
    EXPECT_FALSE(BarShown()) << "30 lines fit a window of 600";
}

TEST_F(TextWindowTest, CollapseAndExpandKeepTheHeightTheLearnerLeft) {
    Show(Lines(5));
    DragCornerTo(380);
    Click("LZwinOkno");
    EXPECT_TRUE(window.IsCollapsed());
    EXPECT_EQ(window.size(), QSize(465, 26));
    EXPECT_EQ(window.mask().boundingRect(), QRect(0, 0, 465, 26));
    Click("LRozwinOkno");
    EXPECT_FALSE(window.IsCollapsed());
    EXPECT_EQ(window.size(), QSize(465, 380));
}

TEST_F(TextWindowTest, WithoutATextTheBarStaysFolded) {
    Show(Lines(5));
    window.HideAttachedText();
    EXPECT_TRUE(window.IsCollapsed());
    EXPECT_FALSE(window.Expandable());
    EXPECT_TRUE(state.Run.LastShownTextName.empty());
    Click("LRozwinOkno");
    EXPECT_TRUE(window.IsCollapsed());
    EXPECT_EQ(window.size(), QSize(465, 26));
}

TEST_F(TextWindowTest, NewTextStartsAt250WhateverTheHeightBefore) {
    Show(Lines(5));
    DragCornerTo(450);
    Show(Lines(5), "inny.txt");
    EXPECT_EQ(window.size(), QSize(465, 250));
}

TEST_F(TextWindowTest, BothTitleStripsMoveTheWindow) {
    const auto drag = [this](const char* stripName, QPoint by) {
        QWidget& strip = Child(stripName);
        const QPoint start = window.pos();
        QTest::mousePress(&strip, Qt::LeftButton, {}, QPoint(20, 8));
        QTest::mouseMove(&strip, QPoint(20, 8) + by);
        QTest::mouseRelease(&strip, Qt::LeftButton, {}, QPoint(20, 8) + by);
        return window.pos() - start;
    };
    EXPECT_EQ(drag("LListwaNaListwie", {30, 12}), QPoint(30, 12));
    Show(Lines(2));
    EXPECT_EQ(drag("LListwaTop", {-25, 40}), QPoint(-25, 40));
}

TEST_F(TextWindowTest, WithTheSettingOnTheNextTextKeepsTheHeightAndFoldTheLearnerLeftUntilTheRunEnds) {
    state.LearnerSettings.KeepSideWindows = true;
    Show(Lines(5));
    DragCornerTo(450);
    Show(Lines(5), "inny.txt");
    EXPECT_EQ(window.size(), QSize(465, 450));
    Click("LZwinOkno");
    Show(Lines(5), "trzeci.txt");
    EXPECT_TRUE(window.IsCollapsed());
    Click("LRozwinOkno");
    EXPECT_EQ(window.size(), QSize(465, 450));

    window.hide(); // the run ends
    window.Open(anchor);
    Show(Lines(5));
    EXPECT_EQ(window.size(), QSize(465, 250));
    state.LearnerSettings.KeepSideWindows = false;
}
