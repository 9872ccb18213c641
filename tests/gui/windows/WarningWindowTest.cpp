#include "gui/windows/WarningWindow.h"

#include "core/base/ShowWarning.h"
#include "gui/resources/Resources.h"

#include <QAccessible>
#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using enum WarningButton;

// Runs the action on the modal window once the caller's exec() is under way.
void WhenModal(std::function<void(QWidget&)> action) {
    QTimer::singleShot(0, [action = std::move(action)] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            action(*modal);
            return;
        }
        ADD_FAILURE() << "no modal window";
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<QDialog*>(window); dialog && dialog->isVisible())
                dialog->done(-1);
    });
}

bool SamePicture(const QLabel& image, const char* name) {
    return image.pixmap().toImage().convertToFormat(QImage::Format_RGB32) ==
           ResourceImage(QString::fromLatin1(name)).convertToFormat(QImage::Format_RGB32);
}

class WarningBoxTest : public ::testing::Test {
protected:
    WarningBoxTest() {
        QObject::connect(&box, &QDialog::finished, [this](int result) { closes.push_back(result); });
    }

    void Open(WarningButtonSet buttons, WarningIcon icon = WarningIcon::Warning, std::u16string_view text = u"Tekst") {
        closes.clear();
        box.Prepare(buttons, icon, text);
        box.show();
    }

    template <class Widget = QWidget> Widget& Child(const char* name) {
        auto* child = box.findChild<Widget*>(QString::fromLatin1(name));
        if (!child)
            throw std::runtime_error(std::string("no child ") + name);
        return *child;
    }

    void Key(int key) { QTest::keyClick(&box, static_cast<Qt::Key>(key)); }
    void Keys(std::initializer_list<int> keys) {
        for (const int key : keys)
            Key(key);
    }
    void Click(const char* name) { QTest::mouseClick(&Child(name), Qt::LeftButton); }

    // The button the box closed with, or nothing while it stays open.
    std::optional<WarningButton> Closed() const {
        EXPECT_LE(closes.size(), 1u);
        EXPECT_EQ(box.isVisible(), closes.empty());
        if (closes.empty())
            return std::nullopt;
        return static_cast<WarningButton>(closes.back());
    }

    static bool HaveArt() { return !ResourceImage(QStringLiteral("buttak")).isNull(); }

    WarningWindow box;
    std::vector<int> closes;
};

using WarningBoxLayout = WarningBoxTest;
using WarningBoxCloseOnly = WarningBoxTest;
using WarningBoxThreeButtons = WarningBoxTest;
using WarningBoxCalls = WarningBoxTest;
using WarningBoxPosition = WarningBoxTest;

} // namespace

TEST_F(WarningBoxLayout, FramelessStayOnTopWithFixedClientSize) {
    EXPECT_EQ(box.objectName(), "FWarning");
    EXPECT_EQ(box.size(), QSize(350, 150));
    EXPECT_EQ(box.minimumSize(), box.maximumSize());
    EXPECT_TRUE(box.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(box.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(box.isHidden());
}

TEST_F(WarningBoxLayout, ComponentsKeepTheirNamesPlacesAndSizes) {
    struct Place {
        const char* Name;
        const char* Parent;
        QRect Geometry;
    };
    const Place places[] = {
        {"ImWarning", "FWarning", {0, 0, 350, 150}},     {"PIkona", "FWarning", {12, 4, 42, 43}},
        {"ImIkona", "PIkona", {0, 0, 42, 43}},           {"LTekstWarning", "FWarning", {17, 51, 313, 53}},
        {"PButTak", "FWarning", {63, 116, 88, 26}},      {"ImButTak", "PButTak", {0, 0, 88, 26}},
        {"PButNie", "FWarning", {156, 116, 88, 26}},     {"ImButNie", "PButNie", {0, 0, 88, 26}},
        {"PButAnuluj", "FWarning", {248, 116, 88, 26}},  {"ImButAnuluj", "PButAnuluj", {0, 0, 88, 26}},
        {"pButZamknij", "FWarning", {190, 116, 88, 26}}, {"ImButZamknij", "pButZamknij", {0, 0, 88, 26}},
        {"LClose", "FWarning", {323, 8, 17, 17}},        {"LListwa", "FWarning", {56, 5, 281, 23}},
    };
    for (const Place& place : places) {
        const QWidget& child = Child(place.Name);
        EXPECT_EQ(child.geometry(), place.Geometry) << place.Name;
        EXPECT_EQ(child.parentWidget()->objectName(), place.Parent) << place.Name;
    }
}

TEST_F(WarningBoxLayout, ClickAreasLieOnTopWithPolishNames) {
    Open(WarningButtonSet::YesNoCancel);
    EXPECT_EQ(box.childAt(330, 15), &Child("LClose")); // where it overlaps the strip
    EXPECT_EQ(box.childAt(100, 15), &Child("LListwa"));
    EXPECT_EQ(box.childAt(100, 125), &Child("ImButTak"));
    EXPECT_EQ(box.childAt(200, 125), &Child("ImButNie"));
    EXPECT_EQ(box.childAt(300, 125), &Child("ImButAnuluj"));
    EXPECT_EQ(box.childAt(100, 70), &Child("LTekstWarning"));
    EXPECT_EQ(Child("ImButTak").accessibleName(), "Tak");
    EXPECT_EQ(Child("ImButNie").accessibleName(), "Nie");
    EXPECT_EQ(Child("ImButAnuluj").accessibleName(), "Anuluj");
    EXPECT_EQ(Child("ImButZamknij").accessibleName(), "Zamknij");
    EXPECT_FALSE(Child("LClose").accessibleName().isEmpty());
    EXPECT_FALSE(Child("LListwa").accessibleName().isEmpty());
    for (const char* panel : {"PButTak", "PButNie", "PButAnuluj", "pButZamknij"})
        EXPECT_EQ(Child(panel).cursor().shape(), Qt::PointingHandCursor) << panel;
}

TEST_F(WarningBoxLayout, TextIsGreyTwelvePixelWrappedFromTheTopLeft) {
    const auto& text = Child<QLabel>("LTekstWarning");
    EXPECT_EQ(text.font().family(), "MS Sans Serif");
    EXPECT_EQ(text.font().pixelSize(), 12);
    EXPECT_TRUE(text.wordWrap());
    EXPECT_EQ(text.alignment(), Qt::AlignLeft | Qt::AlignTop);
    EXPECT_EQ(text.palette().color(QPalette::WindowText), QColor(68, 68, 68));
    EXPECT_FALSE(text.autoFillBackground());
    const QString shown = QFontInfo(text.font()).family();
    EXPECT_TRUE(shown == "Liberation Sans" || shown == "DejaVu Sans") << shown.toStdString();
}

TEST_F(WarningBoxLayout, CarriageReturnBreaksTheLine) {
    Open(WarningButtonSet::YesNoCancel, WarningIcon::Question,
         u"Nie dokończyłeś pracy z zestawem pytań.\rCzy rzeczywiście chcesz zamknąć?");
    EXPECT_EQ(Child<QLabel>("LTekstWarning").text(),
              QStringLiteral("Nie dokończyłeś pracy z zestawem pytań.\nCzy rzeczywiście chcesz zamknąć?"));
    Open(WarningButtonSet::Close, WarningIcon::Warning, u"\rWskazany folder nie zawiera plików pytań.");
    EXPECT_EQ(Child<QLabel>("LTekstWarning").text(), QStringLiteral("\nWskazany folder nie zawiera plików pytań."));
    Open(WarningButtonSet::Close, WarningIcon::Warning, u"<b>1 < 2</b>");
    EXPECT_EQ(Child<QLabel>("LTekstWarning").textFormat(), Qt::PlainText);
}

TEST_F(WarningBoxCloseOnly, ShowsZamknijAlone) {
    Open(WarningButtonSet::Close);
    EXPECT_TRUE(Child("pButZamknij").isVisible());
    EXPECT_FALSE(Child("PButTak").isVisible());
    EXPECT_FALSE(Child("PButNie").isVisible());
    EXPECT_FALSE(Child("PButAnuluj").isVisible());
}

TEST_F(WarningBoxCloseOnly, EnterEscapeAndZGiveZamknij) {
    for (const int key : {int{Qt::Key_Return}, int{Qt::Key_Enter}, int{Qt::Key_Escape}, int{Qt::Key_Z}}) {
        Open(WarningButtonSet::Close);
        Key(key);
        EXPECT_EQ(Closed(), Close) << key;
    }
    Open(WarningButtonSet::Close);
    QTest::keyClick(&box, 'z');
    EXPECT_EQ(Closed(), Close);
}

TEST_F(WarningBoxCloseOnly, ClicksOnZamknijAndTheCloseSpotGiveZamknij) {
    Open(WarningButtonSet::Close);
    Click("ImButZamknij");
    EXPECT_EQ(Closed(), Close);
    Open(WarningButtonSet::Close);
    Click("LClose");
    EXPECT_EQ(Closed(), Close);
}

TEST_F(WarningBoxCloseOnly, ArrowsTabAndOtherLettersChangeNothing) {
    Open(WarningButtonSet::Close);
    Keys(
        {Qt::Key_Left, Qt::Key_Right, Qt::Key_Tab, Qt::Key_T, Qt::Key_N, Qt::Key_A, Qt::Key_Y, Qt::Key_C, Qt::Key_F11});
    EXPECT_EQ(Closed(), std::nullopt);
    if (HaveArt()) {
        EXPECT_TRUE(SamePicture(Child<QLabel>("ImButZamknij"), "butzamknijakt"));
    }
    Key(Qt::Key_Return);
    EXPECT_EQ(Closed(), Close);
}

TEST_F(WarningBoxCloseOnly, ClickOnTheStripOrTextDoesNotClose) {
    Open(WarningButtonSet::Close);
    Click("LListwa");
    Click("LTekstWarning");
    Click("ImWarning");
    EXPECT_EQ(Closed(), std::nullopt);
}

TEST_F(WarningBoxThreeButtons, ShowsTakNieAnuluj) {
    Open(WarningButtonSet::YesNoCancel);
    EXPECT_TRUE(Child("PButTak").isVisible());
    EXPECT_TRUE(Child("PButNie").isVisible());
    EXPECT_TRUE(Child("PButAnuluj").isVisible());
    EXPECT_FALSE(Child("pButZamknij").isVisible());
}

TEST_F(WarningBoxThreeButtons, EnterChoosesTheHighlightedButton) {
    Open(WarningButtonSet::YesNoCancel);
    Key(Qt::Key_Return);
    EXPECT_EQ(Closed(), Yes);
    Open(WarningButtonSet::YesNoCancel);
    Keys({Qt::Key_Right, Qt::Key_Right, Qt::Key_Return});
    EXPECT_EQ(Closed(), Cancel);
    Open(WarningButtonSet::YesNoCancel);
    Keys({Qt::Key_Left, Qt::Key_Enter});
    EXPECT_EQ(Closed(), Cancel);
    Open(WarningButtonSet::YesNoCancel);
    Keys({Qt::Key_Left, Qt::Key_Left, Qt::Key_Left, Qt::Key_Right, Qt::Key_Return});
    EXPECT_EQ(Closed(), No);
}

TEST_F(WarningBoxThreeButtons, TabMovesTheHighlightLikeRight) {
    Open(WarningButtonSet::YesNoCancel);
    Key(Qt::Key_Tab);
    EXPECT_EQ(Closed(), std::nullopt);
    Key(Qt::Key_Return);
    EXPECT_EQ(Closed(), No);
    Open(WarningButtonSet::YesNoCancel);
    Keys({Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Right, Qt::Key_Return});
    EXPECT_EQ(Closed(), No);
    // Through the platform window, as a real key comes.
    Open(WarningButtonSet::YesNoCancel);
    QTest::keyClick(box.windowHandle(), Qt::Key_Tab);
    QTest::keyClick(box.windowHandle(), Qt::Key_Tab);
    QTest::keyClick(box.windowHandle(), Qt::Key_Return);
    EXPECT_EQ(Closed(), Cancel);
}

TEST_F(WarningBoxThreeButtons, LettersChooseTheirButtons) {
    const std::pair<char, WarningButton> letters[] = {{'T', Yes}, {'N', No}, {'A', Cancel},
                                                      {'t', Yes}, {'n', No}, {'a', Cancel}};
    for (const auto& [letter, result] : letters) {
        Open(WarningButtonSet::YesNoCancel);
        Key(Qt::Key_Right); // a letter ignores the highlight
        QTest::keyClick(&box, letter);
        EXPECT_EQ(Closed(), result) << letter;
    }
}

TEST_F(WarningBoxThreeButtons, EscapeZAndFunctionKeysDoNothing) {
    Open(WarningButtonSet::YesNoCancel);
    // F5, F11 and the keypad's 1 carry the codes of "t", "z" and "a" on the original platform.
    Keys({Qt::Key_Escape, Qt::Key_Z, Qt::Key_Y, Qt::Key_C, Qt::Key_F5, Qt::Key_F11, Qt::Key_Up, Qt::Key_Down});
    QTest::keyClick(&box, Qt::Key_1, Qt::KeypadModifier);
    EXPECT_EQ(Closed(), std::nullopt);
}

TEST_F(WarningBoxThreeButtons, ClicksChooseTheirButtons) {
    const std::pair<const char*, WarningButton> clicks[] = {
        {"ImButTak", Yes}, {"ImButNie", No}, {"ImButAnuluj", Cancel}, {"LClose", Cancel}};
    for (const auto& [name, result] : clicks) {
        Open(WarningButtonSet::YesNoCancel);
        Key(Qt::Key_Right);
        Click(name);
        EXPECT_EQ(Closed(), result) << name;
    }
}

// A screen reader hears the box as an alert and presses its drawn buttons as a click does.
TEST_F(WarningBoxThreeButtons, ScreenReadersHearTheBoxAndPressItsButtons) {
    Open(WarningButtonSet::YesNoCancel, WarningIcon::Warning, u"Czy zapisać?");
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&box);
    EXPECT_EQ(window->role(), QAccessible::AlertMessage);
    EXPECT_EQ(window->text(QAccessible::Name), "Komunikat");
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(&Child("ImButZamknij"))->state().invisible);
    QAccessibleInterface* no = QAccessible::queryAccessibleInterface(&Child("ImButNie"));
    EXPECT_EQ(no->role(), QAccessible::Button);
    EXPECT_EQ(no->text(QAccessible::Name), "Nie");
    no->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(Closed(), std::nullopt) << "the press is posted, never run inside the reader's call";
    QApplication::processEvents();
    EXPECT_EQ(Closed(), No);
}

TEST_F(WarningBoxThreeButtons, OnlyTheLeftButtonClicks) {
    Open(WarningButtonSet::YesNoCancel);
    QTest::mouseClick(&Child("ImButTak"), Qt::RightButton);
    EXPECT_EQ(Closed(), std::nullopt);
}

TEST_F(WarningBoxThreeButtons, ClosedByTheWindowSystemLeavesNie) {
    Open(WarningButtonSet::YesNoCancel);
    Key(Qt::Key_Right);
    box.close();
    EXPECT_EQ(Closed(), No);
}

TEST_F(WarningBoxThreeButtons, HighlightedButtonShowsItsHighlightedFace) {
    if (!HaveArt())
        GTEST_SKIP() << "artwork not built";
    Open(WarningButtonSet::YesNoCancel);
    EXPECT_TRUE(SamePicture(Child<QLabel>("ImButTak"), "buttakakt"));
    EXPECT_TRUE(SamePicture(Child<QLabel>("ImButNie"), "butnie"));
    EXPECT_TRUE(SamePicture(Child<QLabel>("ImButAnuluj"), "butanuluj"));
    EXPECT_TRUE(SamePicture(Child<QLabel>("ImWarning"), "oknowarning"));
    Key(Qt::Key_Left);
    EXPECT_TRUE(SamePicture(Child<QLabel>("ImButTak"), "buttak"));
    EXPECT_TRUE(SamePicture(Child<QLabel>("ImButAnuluj"), "butanulujakt"));
    Key(Qt::Key_Tab);
    EXPECT_TRUE(SamePicture(Child<QLabel>("ImButAnuluj"), "butanuluj"));
    EXPECT_TRUE(SamePicture(Child<QLabel>("ImButTak"), "buttakakt"));
}

TEST_F(WarningBoxCalls, SecondCallShowsItsTextWithFreshButtons) {
    Open(WarningButtonSet::YesNoCancel, WarningIcon::Question, u"Pierwszy");
    Keys({Qt::Key_Right, Qt::Key_Right, Qt::Key_N});
    EXPECT_EQ(Closed(), No);
    Open(WarningButtonSet::YesNoCancel, WarningIcon::Question, u"Drugi");
    EXPECT_EQ(box.result(), static_cast<int>(No));
    EXPECT_EQ(Child<QLabel>("LTekstWarning").text(), "Drugi");
    Key(Qt::Key_Return);
    EXPECT_EQ(Closed(), Yes);
}

TEST_F(WarningBoxCalls, ButtonSetsSwapBetweenCalls) {
    Open(WarningButtonSet::YesNoCancel);
    Key(Qt::Key_Right);
    Key(Qt::Key_T);
    EXPECT_EQ(Closed(), Yes);
    Open(WarningButtonSet::Close);
    EXPECT_FALSE(Child("PButTak").isVisible());
    EXPECT_TRUE(Child("pButZamknij").isVisible());
    Key(Qt::Key_T); // the letter of a hidden button
    EXPECT_EQ(Closed(), std::nullopt);
    Key(Qt::Key_Return);
    EXPECT_EQ(Closed(), Close);
    Open(WarningButtonSet::YesNoCancel);
    EXPECT_FALSE(Child("pButZamknij").isVisible());
    Key(Qt::Key_Z);
    EXPECT_EQ(Closed(), std::nullopt);
    Key(Qt::Key_Return);
    EXPECT_EQ(Closed(), Yes);
}

TEST_F(WarningBoxCalls, IconFollowsTheKindAndAnOtherKindKeepsTheLastOne) {
    if (!HaveArt())
        GTEST_SKIP() << "artwork not built";
    Open(WarningButtonSet::Close, WarningIcon::Information);
    EXPECT_TRUE(SamePicture(Child<QLabel>("ImIkona"), "ikoinfo"));
    Open(WarningButtonSet::YesNoCancel, WarningIcon::Question);
    EXPECT_TRUE(SamePicture(Child<QLabel>("ImIkona"), "ikopytanie"));
    Open(WarningButtonSet::Close, static_cast<WarningIcon>(7));
    EXPECT_TRUE(SamePicture(Child<QLabel>("ImIkona"), "ikopytanie"));
    Open(WarningButtonSet::Close, WarningIcon::Warning);
    EXPECT_TRUE(SamePicture(Child<QLabel>("ImIkona"), "ikouwaga"));
}

TEST_F(WarningBoxCalls, OtherLanguageUsesEnglishLettersAndFaces) {
    box.SetLanguage("en");
    Open(WarningButtonSet::YesNoCancel);
    if (HaveArt()) {
        EXPECT_TRUE(SamePicture(Child<QLabel>("ImButTak"), "butyesakt"));
    }
    Keys({Qt::Key_T, Qt::Key_A});
    EXPECT_EQ(Closed(), std::nullopt);
    Key(Qt::Key_Y);
    EXPECT_EQ(Closed(), Yes);
    Open(WarningButtonSet::YesNoCancel);
    Key(Qt::Key_C);
    EXPECT_EQ(Closed(), Cancel);
    Open(WarningButtonSet::Close);
    Key(Qt::Key_C);
    EXPECT_EQ(Closed(), Close);
}

TEST_F(WarningBoxPosition, FirstShowingIsCentredOnTheScreen) {
    Open(WarningButtonSet::Close);
    const QRect screen = box.screen()->geometry();
    EXPECT_EQ(box.geometry().center(), screen.center());
}

TEST_F(WarningBoxPosition, DraggingTheStripMovesTheBoxWhichStaysThere) {
    Open(WarningButtonSet::Close);
    const QPoint start = box.pos();
    QWidget& strip = Child("LListwa");
    const QPoint grip = strip.mapToGlobal(QPoint(10, 10));
    // The pointer's path on the screen; the strip moves under it.
    const auto moveTo = [&strip](QPoint screen) { QTest::mouseMove(&strip, strip.mapFromGlobal(screen)); };
    QTest::mousePress(&strip, Qt::LeftButton, {}, QPoint(10, 10));
    moveTo(grip + QPoint(30, 20));
    EXPECT_EQ(box.pos(), start + QPoint(30, 20));
    moveTo(grip + QPoint(25, -40));
    const QPoint moved = start + QPoint(25, -40);
    EXPECT_EQ(box.pos(), moved);
    QTest::mouseRelease(&strip, Qt::LeftButton, {}, strip.mapFromGlobal(grip + QPoint(25, -40)));
    Key(Qt::Key_Escape);
    EXPECT_EQ(Closed(), Close);
    Open(WarningButtonSet::YesNoCancel);
    EXPECT_EQ(box.pos(), moved);
}

TEST_F(WarningBoxPosition, MovesWithoutAPressDoNothing) {
    Open(WarningButtonSet::Close);
    const QPoint start = box.pos();
    QWidget& strip = Child("LListwa");
    QTest::mousePress(&strip, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(&strip, Qt::LeftButton, {}, QPoint(10, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(60, 20), strip.mapToGlobal(QPointF(60, 20)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&strip, &move);
    EXPECT_EQ(box.pos(), start);
}

TEST(TabFilter, SwallowsTabForEveryWidgetOfTheApplication) {
    const WarningWindow box;
    QPlainTextEdit edit;
    edit.show();
    QTest::keyClick(&edit, Qt::Key_Tab);
    EXPECT_TRUE(TabMarked());
    QTest::keyClick(&edit, Qt::Key_Backtab, Qt::ShiftModifier);
    QTest::keyClick(&edit, Qt::Key_Tab, Qt::ControlModifier);
    QTest::keyClick(&edit, Qt::Key_X);
    EXPECT_FALSE(TabMarked());
    // Also on the way through the platform window to the focus widget.
    QTest::keyClick(edit.windowHandle(), Qt::Key_Tab);
    QTest::keyClick(edit.windowHandle(), Qt::Key_Y);
    EXPECT_EQ(edit.toPlainText(), "xy");
}

TEST(TabFilter, OnlyKeyEventsClearTheMark) {
    const WarningWindow box;
    QPlainTextEdit edit;
    edit.show();
    QTest::keyPress(&edit, Qt::Key_Tab);
    QTest::keyRelease(&edit, Qt::Key_Tab);
    EXPECT_TRUE(TabMarked());
    QTest::mouseClick(edit.viewport(), Qt::LeftButton);
    EXPECT_TRUE(TabMarked());
    // The release of Shift after Shift+Tab is a key of its own.
    QTest::keyRelease(&edit, Qt::Key_Shift);
    EXPECT_FALSE(TabMarked());
}

TEST(ShowWarningHandler, AsTheCoresMessageBoxItReturnsTheChosenButton) {
    WarningWindow window;
    MessageBox& box = window;
    QString shownText;
    WhenModal([&shownText](QWidget& modal) {
        shownText = modal.findChild<QLabel*>("LTekstWarning")->text();
        QTest::keyClick(&modal, Qt::Key_Left);
        QTest::keyClick(&modal, Qt::Key_Return);
    });
    EXPECT_EQ(box.Show(WarningButtonSet::YesNoCancel, WarningIcon::Question,
                       u"Nie dokończyłeś pracy z zestawem pytań.\rCzy rzeczywiście chcesz zamknąć?"),
              Cancel);
    EXPECT_EQ(shownText, QStringLiteral("Nie dokończyłeś pracy z zestawem pytań.\nCzy rzeczywiście chcesz zamknąć?"));
    EXPECT_FALSE(window.isVisible());

    WhenModal([](QWidget& modal) { QTest::mouseClick(modal.findChild<QWidget*>("ImButTak"), Qt::LeftButton); });
    EXPECT_EQ(box.Show(WarningButtonSet::YesNoCancel, WarningIcon::Question, u"Drugi raz"), Yes);

    WhenModal([](QWidget& modal) { QTest::mouseClick(modal.findChild<QWidget*>("LClose"), Qt::LeftButton); });
    EXPECT_EQ(box.Show(WarningButtonSet::Close, WarningIcon::Warning, u"\rDokonaj wyboru odpowiedzi."), Close);
}

TEST(ShowWarningHandler, ExecuteBlocksUntilTheBoxCloses) {
    WarningWindow box;
    bool modalWhileOpen = false;
    WhenModal([&](QWidget& modal) {
        modalWhileOpen = &modal == &box && box.isVisible();
        QTest::keyClick(&modal, Qt::Key_A);
    });
    EXPECT_EQ(box.Execute(WarningButtonSet::YesNoCancel, WarningIcon::Question, u"Tekst"), Cancel);
    EXPECT_TRUE(modalWhileOpen);
    EXPECT_FALSE(box.isVisible());
}
