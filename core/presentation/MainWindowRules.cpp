#include "core/presentation/MainWindowRules.h"

#include "core/base/StoredNames.h"

#include <algorithm>
#include <cctype>

std::optional<WindowLayout> LayoutForWindowMode(int mode, int workRight, int workBottom) {
    WindowLayout layout;
    if (mode == 0) {
        layout.Width = kMainPanelWidth;
        layout.Height = kMainPanelHeight;
        layout.RoundedOutline = true;
        layout.WindowAt = {(workRight - kMainPanelWidth) / 2, (workBottom - kMainPanelHeight) / 2};
        return layout;
    }
    if (mode == 1) {
        layout.Width = workRight;
        layout.Height = workBottom;
        layout.BackgroundAt = ScreenPoint{(workRight - kBackgroundWidth) / 2, (workBottom - kBackgroundHeight) / 2};
        layout.MainPanelAt = {(workRight - kMainPanelWidth) / 2, (workBottom - kMainPanelHeight) / 2};
        return layout;
    }
    return std::nullopt;
}

int ToggledWindowMode(int mode) { return mode == 0 ? 1 : 0; }

KeyAction MainWindowKey(MainKey key, KeyModifiers modifiers, int digit) {
    const bool altAlone = modifiers.Alt && !modifiers.Ctrl && !modifiers.Shift && !modifiers.Meta;
    const bool ctrlAlone = modifiers.Ctrl && !modifiers.Alt && !modifiers.Shift && !modifiers.Meta;
    const bool ctrlAlt = modifiers.Ctrl && modifiers.Alt && !modifiers.Shift && !modifiers.Meta;
    if (key == MainKey::F4 && altAlone)
        return {KeyAction::Kind::Swallow};
    if (key == MainKey::F1)
        return {KeyAction::Kind::OpenHelp};
    if (key == MainKey::F4 && ctrlAlone)
        return {KeyAction::Kind::ToggleWindowMode};
    if (key == MainKey::Digit && ctrlAlt && digit >= 0 && digit <= 4)
        return {KeyAction::Kind::SetJournalLevel, digit};
    return {};
}

std::optional<std::u16string> MenuDescription(MenuItem item) {
    switch (item) {
    case MenuItem::TestZNazwiskiem:
        return u"Jeśli zestaw pytań, z którym chcesz pracować\rznajduje się na liście zestawów pytań,\rwówczas możesz "
               u"skorzystać z tej opcji.";
    case MenuItem::TestAnonimowo:
        return u"Jeśli chcesz popracować z losowym zestawem\rpytań dołączonym do listy zestawów, wówczas\rkorzystasz z "
               u"tej opcji.";
    case MenuItem::OProgramie: return u"Krótka informacja o programie.\r\rKto, kiedy, wersja programu.";
    case MenuItem::Help:
        return u"Pomoc do programu.\rPomoc do programu z którym pracujesz.\r\rMasz pytania, wątpliwości - najpierw "
               u"zajrzyj tutaj.";
    case MenuItem::StronaDomowa:
        return u"Strona domowa programu.\rTu znajdzisz szereg innych programów edukacyjnych\ri rozrywkowych dla "
               u"intelektualistów.\r\rZapraszamy.";
    }
    return std::nullopt;
}

namespace {

constexpr std::u16string_view kUseTheMenu = u"\rOtwórz zestaw pytań korzystając z menu programu.";
constexpr std::u16string_view kNotOurFile = u"\rModuł Ludra nie obsługuje plików tego typu.";

// The extension of the name part, from its last dot, in lower case; empty without a dot.
std::string LowerExtension(std::string_view path) {
    const std::string_view name = path.substr(path.find_last_of("/\\") + 1);
    const std::size_t dot = name.rfind('.');
    std::string extension(dot == std::string_view::npos ? std::string_view{} : name.substr(dot));
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

} // namespace

std::optional<std::u16string> CommandLineMessage(const std::vector<std::string>& arguments) {
    if (arguments.empty() || LowerExtension(arguments.front()) == stored::kQuestionFileExtension)
        return std::nullopt;
    return std::u16string(kUseTheMenu);
}

std::u16string DroppedFilesMessage(const std::vector<std::string>& names) {
    const bool questionFile = !names.empty() && LowerExtension(names.front()) == stored::kQuestionFileExtension;
    return std::u16string(questionFile ? kUseTheMenu : kNotOurFile);
}
