#pragma once

#include "core/presentation/MainWindowRules.h"

// What a key does on the test screen: the same as a click on the control it stands for.
// T ("tekst") and O ("obrazek") hand the keyboard to the text and picture windows.

struct TestScreenKey {
    enum class Kind { Character, Enter, Space, Escape, Other } What = Kind::Other;
    char Character = 0; // a letter in upper case or a digit, for Kind::Character
    KeyModifiers Modifiers;
    bool Repeated = false; // sent again by a key held down
};

// What the screen shows when the key comes.
struct TestScreenState {
    int AnswerCount = 0;       // tiles shown
    bool CheckShowing = false; // the check button, else the next button under it
    bool RunInProgress = false;
    bool HintOffered = false; // the hint button is shown
    bool TextWindowShown = false;
    bool PictureWindowShown = false;
};

struct TestScreenAction {
    enum class Kind {
        Nothing,
        ToggleAnswer,
        CheckAnswer,
        NextQuestion,
        ShowHint,
        Resign,
        FocusTextWindow, // the keyboard goes to the window, whose own keys then work
        FocusPictureWindow,
    } What = Kind::Nothing;
    int Position = 0; // display position, for ToggleAnswer
};

TestScreenAction TestScreenKeyAction(const TestScreenKey& key, const TestScreenState& state);
