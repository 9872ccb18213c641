#include "core/layout/WarningLogic.h"

std::string WarningLanguage = "pl";

namespace {

constexpr int kTak = static_cast<int>(WarningButton::Tak);
constexpr int kNie = static_cast<int>(WarningButton::Nie);
constexpr int kAnuluj = static_cast<int>(WarningButton::Anuluj);

bool IsPolish(std::string_view language) { return language == "pl"; }

bool Matches(int key, std::string_view letters) {
    for (const char letter : letters)
        if (key == static_cast<unsigned char>(letter))
            return true;
    return false;
}

} // namespace

int WarningButtonResult(WarningButton button) {
    return button == WarningButton::Zamknij ? 0 : static_cast<int>(button);
}

bool StartWarning(int buttonSet, WarningBox& box) {
    box.Focus = buttonSet == 1 ? static_cast<int>(WarningButton::Zamknij) : kTak;
    if (buttonSet == 1)
        box.Visible = {false, false, false, true};
    else if (buttonSet == 3)
        box.Visible = {true, true, true, false};
    return buttonSet == 1 || buttonSet == 3;
}

bool StartsHighlighted(WarningButton button, const WarningBox& box) {
    return button == WarningButton::Tak || static_cast<int>(button) == box.Focus;
}

int FocusRight(int focus) {
    switch (focus) {
    case kTak: return kNie;
    case kNie: return kAnuluj;
    case kAnuluj: return kTak;
    default: return focus;
    }
}

int FocusLeft(int focus) {
    switch (focus) {
    case kTak: return kAnuluj;
    case kNie: return kTak;
    case kAnuluj: return kNie;
    default: return focus;
    }
}

WarningKeyOutcome WarningKeyDown(const WarningBox& box, int key, bool tabMark, std::string_view language) {
    WarningKeyOutcome outcome{std::nullopt, box.Focus};
    if (tabMark)
        outcome.Focus = FocusRight(outcome.Focus);
    for (const WarningButton button : kWarningButtons)
        if (box.Shows(button) && Matches(key, WarningButtonLetters(button, language)))
            outcome.Close = WarningButtonResult(button);
    if (box.Shows(WarningButton::Zamknij) && key == kKeyEscape)
        outcome.Close = 0;
    if (key == kKeyEnter)
        outcome.Close = outcome.Focus == static_cast<int>(WarningButton::Zamknij) ? 0 : outcome.Focus;
    if (key == kKeyLeft)
        outcome.Focus = FocusLeft(outcome.Focus);
    else if (key == kKeyRight)
        outcome.Focus = FocusRight(outcome.Focus);
    return outcome;
}

std::optional<int> WarningCloseSpotClick(const WarningBox& box) {
    std::optional<int> result;
    if (box.Shows(WarningButton::Anuluj))
        result = WarningButtonResult(WarningButton::Anuluj);
    if (box.Shows(WarningButton::Zamknij))
        result = WarningButtonResult(WarningButton::Zamknij);
    return result;
}

std::string_view WarningButtonLetters(WarningButton button, std::string_view language) {
    const bool polish = IsPolish(language);
    switch (button) {
    case WarningButton::Tak: return polish ? "Tt" : "Yy";
    case WarningButton::Nie: return "Nn";
    case WarningButton::Anuluj: return polish ? "Aa" : "Cc";
    case WarningButton::Zamknij: return polish ? "Zz" : "Cc";
    }
    return {};
}

std::string WarningButtonPicture(WarningButton button, bool highlighted, std::string_view language) {
    const bool polish = IsPolish(language);
    std::string name;
    switch (button) {
    case WarningButton::Tak: name = polish ? "buttak" : "butyes"; break;
    case WarningButton::Nie: name = polish ? "butnie" : "butno"; break;
    case WarningButton::Anuluj: name = polish ? "butanuluj" : "butcancel"; break;
    case WarningButton::Zamknij: name = polish ? "butzamknij" : "butclose"; break;
    }
    if (highlighted)
        name += "akt";
    return name;
}

std::string_view WarningIconPicture(int iconKind) {
    switch (iconKind) {
    case 1: return "ikoinfo";
    case 2: return "ikopytanie";
    case 3: return "ikouwaga";
    default: return {};
    }
}
