#include "core/presentation/TestScreenKeys.h"

namespace {

using Action = TestScreenAction::Kind;

// A–E and 1–5 name display positions 1–5.
int PositionOf(char character) {
    if (character >= 'A' && character <= 'E')
        return character - 'A' + 1;
    if (character >= '1' && character <= '5')
        return character - '0';
    return 0;
}

TestScreenAction CharacterAction(char character, const TestScreenState& state) {
    if (character == 'H')
        return {state.HintOffered ? Action::ShowHint : Action::Nothing};
    if (character == 'T')
        return {state.TextWindowShown ? Action::FocusTextWindow : Action::Nothing};
    if (character == 'O')
        return {state.PictureWindowShown ? Action::FocusPictureWindow : Action::Nothing};
    const int position = PositionOf(character);
    // A judged answer stays as it is until the next question, as a click leaves it.
    if (position == 0 || position > state.AnswerCount || !state.RunInProgress || !state.CheckShowing)
        return {};
    return {Action::ToggleAnswer, position};
}

} // namespace

TestScreenAction TestScreenKeyAction(const TestScreenKey& key, const TestScreenState& state) {
    // Ctrl, Alt and Meta belong to the main window's shortcuts; Shift only gives capitals.
    const KeyModifiers& modifiers = key.Modifiers;
    if (modifiers.Ctrl || modifiers.Alt || modifiers.Meta || key.Repeated)
        return {};
    switch (key.What) {
    case TestScreenKey::Kind::Character: return CharacterAction(key.Character, state);
    case TestScreenKey::Kind::Enter:
    case TestScreenKey::Kind::Space:
        if (!state.RunInProgress)
            return {};
        return {state.CheckShowing ? Action::CheckAnswer : Action::NextQuestion};
    case TestScreenKey::Kind::Escape: return {Action::Resign};
    case TestScreenKey::Kind::Other: return {};
    }
    return {};
}
