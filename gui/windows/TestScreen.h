#pragma once

#include "core/presentation/TestScreenKeys.h"
#include "core/session/QuestionRecord.h"
#include "core/session/TestRun.h"

#include <QImage>
#include <QObject>

#include <array>
#include <functional>

class HotArea;
class QKeyEvent;
class QLabel;
class QWidget;

// The test panel of the main window: builds its controls inside the given panel,
// shows what the engine asks as its test screen view and routes the learner's
// clicks to the engine.
class TestScreen : public QObject, public TestScreenView {
    Q_OBJECT
public:
    static constexpr int kTile = 35;

    TestScreen(TestRun& run, QWidget* panel);

    void PrepareTestScreen();
    void ResetAnswerLayout();
    void ShowQuestion() override;
    // Position is the display position (1..5); others draw nothing.
    void DrawMark(TileLook look, int position);
    void ClearMarks() override;
    void ShowSelectionMarks() override;
    void ShowVerdictMarks() override;
    void UpdateStatusLine(const std::u16string& text) override;
    void ShowCheckButton() override;
    void HideCheckButton() override;
    void ShowTestPanel() override;
    void HideTestPanel() override;
    void HideHintButton() override;
    void ShowHintPanel();
    void HideHintPanel() override;

    // The text and picture windows, which T and O hand the keyboard to.
    void SetSideWindows(std::function<QWidget*()> text, std::function<QWidget*()> picture);

    // A key while the panel is shown does what a click on its control does; false
    // when it is none of the screen's.
    bool HandleKey(const QKeyEvent& event, KeyModifiers modifiers);

    const QImage& LetterSheet() const { return letterSheet_; }

private:
    void Build();
    void BuildRunTexts();
    void ClickCheckButton();
    void DescribeTile(int position, bool checked);
    TestScreenState KeyState() const;

    QWidget* PTest;
    TestRun& run_;
    QImage letterSheet_;
    HotArea* ImTloTest = nullptr;
    QLabel* LPytanie = nullptr;
    std::array<QLabel*, 5> LOdp{};
    std::array<QWidget*, 5> POdp{};
    std::array<HotArea*, 5> ImOdp{};
    QWidget* PKilkaOdpowiedzi = nullptr;
    QLabel* LStan = nullptr;
    QWidget* PButStop = nullptr;
    QWidget* PPodpowiedz = nullptr;
    QWidget* ptekstPodpowiedzi = nullptr;
    QLabel* LtrescPodpowiedzi = nullptr;
    QLabel* LWerdykt = nullptr;
    QLabel* LPostep = nullptr;
    std::function<QWidget*()> textWindow_;
    std::function<QWidget*()> pictureWindow_;
};
