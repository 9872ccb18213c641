#include "gui/windows/TestScreen.h"

#include "core/base/CodePage.h"
#include "core/presentation/AccessibleTexts.h"
#include "core/presentation/TestScreenKeys.h"
#include "core/presentation/TestScreenRules.h"
#include "core/session/QuestionLoader.h"
#include "core/session/QuestionRecord.h"
#include "core/session/TestScreenTexts.h"
#include "gui/resources/Resources.h"
#include "gui/widgets/Accessible.h"
#include "gui/widgets/Controls.h"
#include "gui/widgets/HotArea.h"

#include <QFont>
#include <QKeyEvent>
#include <QPixmap>

namespace {

// Delphi colours are 0x00BBGGRR.
const QColor kTextColour(0x0F, 0x24, 0x10);        // 1057807
const QColor kStatusColour(0x11, 0x28, 0x17);      // 1517591
constexpr int kSheetWidth = 5 * TestScreen::kTile; // a fifth column for the fifth answer
constexpr int kSheetHeight = 4 * TestScreen::kTile;
// Free spots of the background: the verdict under the owl of the control column, level
// with the answers box's title; the progress at the right of the question box's title.
constexpr QRect kVerdictPlace{15, 267, 233, 22};
constexpr QRect kProgressPlace{545, 156, 185, 16};

QFont ScreenFont() {
    QFont font("MS Sans Serif");
    font.setPixelSize(kScreenFontPixels);
    return font;
}

QString FromAnsi(const std::string& text) {
    const std::u16string wide = AnsiToWide(text);
    return DisplayText(wide);
}

// Fixed size, word wrap, transparent; what doesn't fit is cut off.
QLabel* TextLabel(const QString& name, const QRect& geometry, QWidget* parent) {
    QLabel* label = MakeLabel(name, geometry, parent);
    label->setWordWrap(true);
    label->setFont(ScreenFont());
    label->setAttribute(Qt::WA_TranslucentBackground);
    SetTextColour(label, kTextColour);
    return label;
}

HotArea* ClickPicture(const QString& name, const QString& accessibleName, const QString& resource,
                      const QRect& geometry, QWidget* parent) {
    auto* picture = new HotArea(name, accessibleName, geometry, parent);
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (!resource.isEmpty())
        ResJpegToImage(resource, picture);
    return picture;
}

TestScreenKey KeyOf(const QKeyEvent& event, KeyModifiers modifiers) {
    using Kind = TestScreenKey::Kind;
    TestScreenKey key{Kind::Other, 0, modifiers, event.isAutoRepeat()};
    const int code = event.key();
    if (code >= Qt::Key_A && code <= Qt::Key_Z) {
        key.What = Kind::Character;
        key.Character = static_cast<char>('A' + (code - Qt::Key_A));
    } else if (code >= Qt::Key_0 && code <= Qt::Key_9) {
        key.What = Kind::Character;
        key.Character = static_cast<char>('0' + (code - Qt::Key_0));
    } else if (code == Qt::Key_Return || code == Qt::Key_Enter) {
        key.What = Kind::Enter;
    } else if (code == Qt::Key_Space) {
        key.What = Kind::Space;
    } else if (code == Qt::Key_Escape) {
        key.What = Kind::Escape;
    }
    return key;
}

// The window, when it is made and on screen.
QWidget* Shown(const std::function<QWidget*()>& window) {
    QWidget* made = window ? window() : nullptr;
    return made && made->isVisible() ? made : nullptr;
}

void GiveKeyboardTo(QWidget* window) {
    window->raise();
    window->activateWindow();
}

} // namespace

TestScreen::TestScreen(TestRun& run, QWidget* panel) : QObject(panel), PTest(panel), run_(run) {
    Build();
    PrepareTestScreen();
}

void TestScreen::Build() {
    ImTloTest = ClickPicture("ImTloTest", "Tło testu", {}, {0, 0, 790, 581}, PTest);
    // Its click only closes the hint, which has its own close spot: no button to read out.
    SetAccessibleRole(ImTloTest, QAccessible::Graphic);
    // Under everything, the title strip made before it included.
    ImTloTest->lower();
    connect(ImTloTest, &HotArea::clicked, this, &TestScreen::HideHintPanel);

    LPytanie = TextLabel("LPytanie", {288, 180, kQuestionLabel.Width, kQuestionLabel.Height}, PTest);
    LPytanie->setAccessibleDescription(QStringLiteral("Treść pytania"));
    static constexpr std::array<int, 5> kTextTops{320, 360, 400, 440, 474};
    static constexpr std::array<int, 5> kTileTops{313, 353, 393, 433, 473};
    const QString letters = QStringLiteral("ABCDE");
    for (int i = 0; i < 5; ++i) {
        const QString number = QString::number(i + 1);
        LOdp[i] = TextLabel("LOdp" + number, {357, kTextTops[i], kAnswerLabel.Width, kAnswerLabel.Height}, PTest);
        POdp[i] = MakePanel("POdp" + number, {295, kTileTops[i], kTile, kTile}, PTest);
        ImOdp[i] = ClickPicture("ImOdp" + number, QStringLiteral("Odpowiedź ") + letters[i], {}, {0, 0, kTile, kTile},
                                POdp[i]);
        POdp[i]->setCursor(Qt::PointingHandCursor);
        ImOdp[i]->setCursor(Qt::PointingHandCursor);
        connect(ImOdp[i], &HotArea::clicked, this, [this, i] { run_.AnswerClick(i + 1); });
    }

    PKilkaOdpowiedzi = MakePanel("PKilkaOdpowiedzi", {280, 275, 401, 15}, PTest);
    MakePicture("Image1", "kilkaodpowiedzi", {0, 0, 413, 15}, PKilkaOdpowiedzi);

    LStan = MakeLabel("LStan", {46, 320, 177, 75}, PTest);
    SetAccessibleRole(LStan, QAccessible::StatusBar);
    LStan->setText("LStan");
    LStan->setWordWrap(false);
    LStan->setFont(ScreenFont());
    LStan->setAttribute(Qt::WA_TranslucentBackground);
    SetTextColour(LStan, kStatusColour);

    // Made before the check button so that the check button covers it while visible.
    auto* next = new HotArea("LButNastepne", "Następne pytanie", {114, 414, 34, 32}, PTest);
    next->setCursor(Qt::PointingHandCursor);
    connect(next, &HotArea::clicked, this, [this] { run_.NextQuestion(); });

    PButStop = MakePanel("PButStop", {104, 404, 51, 56}, PTest);
    auto* check = ClickPicture("ImButStop", "Sprawdź", "butsprawdz", {0, 0, 51, 56}, PButStop);
    PButStop->setCursor(Qt::PointingHandCursor);
    check->setCursor(Qt::PointingHandCursor);
    connect(check, &HotArea::clicked, this, &TestScreen::ClickCheckButton);

    auto* resign = new HotArea("LZrezygnuj", "Zamknij", {651, 521, 91, 24}, PTest);
    resign->setCursor(Qt::PointingHandCursor);
    connect(resign, &HotArea::clicked, this, [this] { run_.Resign(); });

    PPodpowiedz = MakePanel("PPodpowiedz", {264, 511, 115, 47}, PTest);
    MakePicture("ImPodpowiedz", "butpodpowiedz", {0, 0, 115, 47}, PPodpowiedz)->setCursor(Qt::PointingHandCursor);
    auto* hint = new HotArea("LPodpowiedzKlik", "Podpowiedź", {8, 8, 97, 25}, PPodpowiedz);
    hint->setCursor(Qt::PointingHandCursor);
    connect(hint, &HotArea::clicked, this, &TestScreen::ShowHintPanel);

    ptekstPodpowiedzi = MakePanel("ptekstPodpowiedzi", {378, 491, 386, 67}, PTest);
    MakePicture("ImTekstPodpowiedzi", "ramkapodpowiedzi", {0, 0, 386, 67}, ptekstPodpowiedzi);
    LtrescPodpowiedzi =
        TextLabel("LtrescPodpowiedzi", {16, 16, kHintLabel.Width, kHintLabel.Height}, ptekstPodpowiedzi);
    auto* closeHint = new HotArea("lClosePodpowiedz", "Zamknij podpowiedź", {356, 10, 17, 16}, ptekstPodpowiedzi);
    connect(closeHint, &HotArea::clicked, this, &TestScreen::HideHintPanel);
    ptekstPodpowiedzi->hide();
    BuildRunTexts();
}

void TestScreen::BuildRunTexts() {
    LWerdykt = TextLabel("LWerdykt", kVerdictPlace, PTest);
    LWerdykt->setAlignment(Qt::AlignCenter);
    QFont bold = ScreenFont();
    bold.setBold(true);
    LWerdykt->setFont(bold);
    SetAccessibleRole(LWerdykt, QAccessible::AlertMessage);
    LPostep = TextLabel("LPostep", kProgressPlace, PTest);
    LPostep->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    SetTextColour(LPostep, kStatusColour);
    SetAccessibleRole(LPostep, QAccessible::StatusBar);
}

void TestScreen::ClickCheckButton() {
    if (run_.SessionRunning)
        run_.CheckAnswer();
}

void TestScreen::PrepareTestScreen() {
    const int scale = ArtScale(PTest->devicePixelRatioF());
    letterSheet_ = QImage(kSheetWidth * scale, kSheetHeight * scale, QImage::Format_RGB32);
    letterSheet_.setDevicePixelRatio(scale);
    letterSheet_.fill(Qt::white);
    ResJpegToBitmap("LiteryDuze50", letterSheet_);
    ResetAnswerLayout();
}

void TestScreen::ResetAnswerLayout() {
    for (int i = 0; i < 4; ++i) {
        POdp[i]->move(POdp[i]->x(), 313 + 40 * i);
        LOdp[i]->move(LOdp[i]->x(), 320 + 40 * i);
    }
    POdp[4]->hide();
    LOdp[4]->hide();
    LPytanie->move(LPytanie->x(), 180);
    PKilkaOdpowiedzi->move(PKilkaOdpowiedzi->x(), 275);
    PKilkaOdpowiedzi->hide();
}

void TestScreen::ShowQuestion() {
    const QuestionRecord& question = run_.Current.Question;
    ClearMarks();
    LPytanie->setText(FromAnsi(question.QuestionText));
    for (int p = 1; p <= 3; ++p)
        LOdp[p - 1]->setText(FromAnsi(AnswerTextAtPosition(question, p)));
    for (int p = 4; p <= 5; ++p) {
        const bool offered = question.AnswerCount >= p;
        if (offered)
            LOdp[p - 1]->setText(FromAnsi(AnswerTextAtPosition(question, p)));
        POdp[p - 1]->setVisible(offered);
        LOdp[p - 1]->setVisible(offered);
    }
    PKilkaOdpowiedzi->setVisible(question.QuestionType == 1);
    PPodpowiedz->setVisible(!question.Hint.empty());
    HideHintPanel();
    LWerdykt->clear();
    LPostep->setText(DisplayText(ProgressText(run_.Progress, run_.CurrentQuestionIndex, run_.FirstTimeRight)));
}

void TestScreen::DrawMark(TileLook look, int position) {
    if (position < 1 || position > 5)
        return;
    // The copy keeps the sheet's pixel ratio, so a tile cut from the 2x sheet shows at the same size.
    const int side = kTile * static_cast<int>(letterSheet_.devicePixelRatio());
    const QImage tile = letterSheet_.copy(side * (position - 1), side * static_cast<int>(look), side, side);
    ImOdp[position - 1]->setPixmap(QPixmap::fromImage(tile));
}

void TestScreen::ClearMarks() {
    for (int p = 1; p <= run_.Current.Question.AnswerCount; ++p) {
        DrawMark(TileLook::Plain, p);
        DescribeTile(p, false);
    }
}

// Screen readers learn from the tile what its look shows: letter, answer, and state.
void TestScreen::DescribeTile(int position, bool checked) {
    HotArea* tile = ImOdp[position - 1];
    const int answer = AnswerAtPosition(run_.Current.Question, position);
    if (answer < 1)
        return;
    const AnswerSlot& slot = run_.Current.Question.Answer(answer);
    const std::u16string text = AnsiToWide(slot.Text);
    SetAccessibleRole(tile, run_.Current.Question.QuestionType != 0 ? QAccessible::CheckBox : QAccessible::RadioButton);
    tile->setAccessibleName(
        QString::fromStdU16String(AnswerTileName({position, text, slot.Selected, checked, slot.Correct})));
    SetAccessibleChecked(tile, slot.Selected);
}

void TestScreen::ShowSelectionMarks() {
    for (int p = 1; p <= run_.Current.Question.AnswerCount; ++p) {
        const int answer = AnswerAtPosition(run_.Current.Question, p);
        DrawMark(answer > 0 ? SelectionLook(run_.Current.Question.Answer(answer)) : TileLook::Plain, p);
        DescribeTile(p, false);
    }
}

void TestScreen::ShowVerdictMarks() {
    for (int p = 1; p <= run_.Current.Question.AnswerCount; ++p) {
        const int answer = AnswerAtPosition(run_.Current.Question, p);
        if (answer < 1)
            continue;
        DrawMark(VerdictLook(run_.Current.Question.Answer(answer)), p);
        DescribeTile(p, true);
    }
    LWerdykt->setText(DisplayText(VerdictText(run_.Current.Question)));
    Announce(LWerdykt);
}

void TestScreen::UpdateStatusLine(const std::u16string& text) {
    LStan->setText(DisplayText(text));
    LStan->repaint();
}

void TestScreen::ShowHintPanel() {
    if (ptekstPodpowiedzi->isVisible())
        return;
    LtrescPodpowiedzi->setText(FromAnsi(run_.Current.Question.Hint));
    ptekstPodpowiedzi->show();
    ptekstPodpowiedzi->raise();
}

void TestScreen::HideHintPanel() { ptekstPodpowiedzi->hide(); }

void TestScreen::ShowCheckButton() {
    PButStop->show();
    PButStop->raise();
}

void TestScreen::HideCheckButton() { PButStop->hide(); }

void TestScreen::ShowTestPanel() {
    if (PTest->isHidden()) {
        // Decoded when first shown: the first frame is the menu's.
        if (ImTloTest->pixmap().isNull())
            ResJpegToImage("OknoLudra50", ImTloTest);
        PTest->raise();
        PTest->show();
    }
}

void TestScreen::HideTestPanel() { PTest->hide(); }

void TestScreen::HideHintButton() { PPodpowiedz->hide(); }

void TestScreen::SetSideWindows(std::function<QWidget*()> text, std::function<QWidget*()> picture) {
    textWindow_ = std::move(text);
    pictureWindow_ = std::move(picture);
}

TestScreenState TestScreen::KeyState() const {
    return {run_.Current.Question.AnswerCount, !PButStop->isHidden(),         run_.SessionRunning,
            !PPodpowiedz->isHidden(),          Shown(textWindow_) != nullptr, Shown(pictureWindow_) != nullptr};
}

bool TestScreen::HandleKey(const QKeyEvent& event, KeyModifiers modifiers) {
    if (!PTest->isVisible())
        return false;
    const TestScreenAction action = TestScreenKeyAction(KeyOf(event, modifiers), KeyState());
    switch (action.What) {
    case TestScreenAction::Kind::Nothing: return false;
    case TestScreenAction::Kind::ToggleAnswer: run_.AnswerClick(action.Position); break;
    case TestScreenAction::Kind::CheckAnswer: ClickCheckButton(); break;
    case TestScreenAction::Kind::NextQuestion: run_.NextQuestion(); break;
    case TestScreenAction::Kind::ShowHint: ShowHintPanel(); break;
    case TestScreenAction::Kind::Resign: run_.Resign(); break;
    case TestScreenAction::Kind::FocusTextWindow: GiveKeyboardTo(Shown(textWindow_)); break;
    case TestScreenAction::Kind::FocusPictureWindow: GiveKeyboardTo(Shown(pictureWindow_)); break;
    }
    return true;
}
