#include "core/presentation/WarningLogic.h"

namespace {

bool IsPolish(std::string_view language) { return language == "pl"; }

bool Matches(int key, std::string_view letters) {
    for (const char letter : letters)
        if (key == static_cast<unsigned char>(letter))
            return true;
    return false;
}

} // namespace

bool StartWarning(WarningButtonSet buttons, WarningBox& box) {
    const bool closeOnly = buttons == WarningButtonSet::Close;
    const bool yesNoCancel = buttons == WarningButtonSet::YesNoCancel;
    box.Focus = closeOnly ? WarningButton::Close : WarningButton::Yes;
    if (closeOnly)
        box.Visible = {true, false, false, false};
    else if (yesNoCancel)
        box.Visible = {false, true, true, true};
    return closeOnly || yesNoCancel;
}

bool StartsHighlighted(WarningButton button, const WarningBox& box) {
    return button == WarningButton::Yes || button == box.Focus;
}

WarningButton FocusRight(WarningButton focus) {
    switch (focus) {
    case WarningButton::Yes: return WarningButton::No;
    case WarningButton::No: return WarningButton::Cancel;
    case WarningButton::Cancel: return WarningButton::Yes;
    default: return focus;
    }
}

WarningButton FocusLeft(WarningButton focus) {
    switch (focus) {
    case WarningButton::Yes: return WarningButton::Cancel;
    case WarningButton::No: return WarningButton::Yes;
    case WarningButton::Cancel: return WarningButton::No;
    default: return focus;
    }
}

WarningKeyOutcome WarningKeyDown(const WarningBox& box, int key, bool tabMark, std::string_view language) {
    WarningKeyOutcome outcome{std::nullopt, box.Focus};
    if (tabMark)
        outcome.Focus = FocusRight(outcome.Focus);
    for (const WarningButton button : kWarningButtons)
        if (box.Shows(button) && Matches(key, WarningButtonLetters(button, language)))
            outcome.Close = button;
    if (box.Shows(WarningButton::Close) && key == kKeyEscape)
        outcome.Close = WarningButton::Close;
    if (key == kKeyEnter)
        outcome.Close = outcome.Focus;
    if (key == kKeyLeft)
        outcome.Focus = FocusLeft(outcome.Focus);
    else if (key == kKeyRight)
        outcome.Focus = FocusRight(outcome.Focus);
    return outcome;
}

std::optional<WarningButton> WarningCloseSpotClick(const WarningBox& box) {
    std::optional<WarningButton> result;
    if (box.Shows(WarningButton::Cancel))
        result = WarningButton::Cancel;
    if (box.Shows(WarningButton::Close))
        result = WarningButton::Close;
    return result;
}

std::string_view WarningButtonLetters(WarningButton button, std::string_view language) {
    const bool polish = IsPolish(language);
    switch (button) {
    case WarningButton::Yes: return polish ? "Tt" : "Yy";
    case WarningButton::No: return "Nn";
    case WarningButton::Cancel: return polish ? "Aa" : "Cc";
    case WarningButton::Close: return polish ? "Zz" : "Cc";
    }
    return {};
}

std::string WarningButtonPicture(WarningButton button, bool highlighted, std::string_view language) {
    const bool polish = IsPolish(language);
    std::string name;
    switch (button) {
    case WarningButton::Yes: name = polish ? "buttak" : "butyes"; break;
    case WarningButton::No: name = polish ? "butnie" : "butno"; break;
    case WarningButton::Cancel: name = polish ? "butanuluj" : "butcancel"; break;
    case WarningButton::Close: name = polish ? "butzamknij" : "butclose"; break;
    }
    if (highlighted)
        name += "akt";
    return name;
}

std::string_view WarningIconPicture(WarningIcon icon) {
    switch (icon) {
    case WarningIcon::Information: return "ikoinfo";
    case WarningIcon::Question: return "ikopytanie";
    case WarningIcon::Warning: return "ikouwaga";
    }
    return {};
}
