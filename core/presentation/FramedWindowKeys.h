#pragma once

#include "core/presentation/MainWindowRules.h"

// What a key does in the text or picture window while it has the focus: the same as a
// click on the tool it stands for, and only while that tool is shown.

// A key by the character it carries, letters in upper case: "+" or "=" (one key on many
// layouts) for a larger font or window, "-" for a smaller one, Z folds ("Zwiń"), R unfolds
// ("Rozwiń"), Ctrl+C copies and Escape (U+001B) gives the keyboard back to the main window.
struct FramedWindowKey {
    char32_t Character = 0;
    KeyModifiers Modifiers;
};

struct FramedWindowState {
    bool Collapsed = false;
    bool Expandable = false;
    bool SmallerShown = false; // the tool that makes the font or the window smaller
    bool LargerShown = false;
};

enum class FramedWindowAction { Nothing, Smaller, Larger, Fold, Unfold, Copy, Leave };

FramedWindowAction FramedWindowKeyAction(const FramedWindowKey& key, const FramedWindowState& state);
