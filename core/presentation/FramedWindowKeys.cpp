#include "core/presentation/FramedWindowKeys.h"

namespace {

enum class Kind { Plus, Minus, Fold, Unfold, Copy, Leave, Other };
using Action = FramedWindowAction;

Kind KindOf(char32_t character) {
    switch (character) {
    case U'+':
    case U'=': return Kind::Plus;
    case U'-': return Kind::Minus;
    case U'Z': return Kind::Fold;
    case U'R': return Kind::Unfold;
    case U'C': return Kind::Copy;
    case U'\x1b': return Kind::Leave;
    default: return Kind::Other;
    }
}

Action WhenShown(bool shown, Action action) { return shown ? action : Action::Nothing; }

// The tools sit in the unfolded frame; the bar only unfolds.
Action ToolAction(Kind kind, const FramedWindowState& state) {
    const bool expanded = !state.Collapsed;
    switch (kind) {
    case Kind::Plus: return WhenShown(expanded && state.LargerShown, Action::Larger);
    case Kind::Minus: return WhenShown(expanded && state.SmallerShown, Action::Smaller);
    case Kind::Fold: return WhenShown(expanded && state.Expandable, Action::Fold);
    case Kind::Unfold: return WhenShown(state.Collapsed && state.Expandable, Action::Unfold);
    case Kind::Copy: return WhenShown(expanded, Action::Copy);
    case Kind::Leave: return Action::Leave;
    case Kind::Other: return Action::Nothing;
    }
    return Action::Nothing;
}

} // namespace

FramedWindowAction FramedWindowKeyAction(const FramedWindowKey& key, const FramedWindowState& state) {
    // Copying takes Ctrl alone; every other key none of Ctrl, Alt and Meta, which belong
    // to the main window's shortcuts. Shift only gives "+" on many layouts.
    const KeyModifiers& modifiers = key.Modifiers;
    const Kind kind = KindOf(key.Character);
    const bool copy = kind == Kind::Copy;
    if (modifiers.Ctrl != copy || modifiers.Alt || modifiers.Meta || (copy && modifiers.Shift))
        return Action::Nothing;
    return ToolAction(kind, state);
}
