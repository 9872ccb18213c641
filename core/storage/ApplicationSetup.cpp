#include "core/storage/ApplicationSetup.h"

#include "core/base/Journal.h"
#include "core/base/Random.h"
#include "core/base/StoredNames.h"
#include "core/storage/SettingsFile.h"

#include <chrono>

std::filesystem::path ExeFolder;
const char* const kHomePage = LUDRA_HOME_PAGE;
const char* const kVersion = LUDRA_VERSION;

std::filesystem::path DataFolder() {
    std::error_code error;
    for (const std::filesystem::path& folder : {ExeFolder, (ExeFolder / ".." / "share" / "ludra").lexically_normal()})
        if (std::filesystem::is_directory(folder / stored::kSetsFolder, error) ||
            std::filesystem::is_directory(folder / stored::kHelpFolder, error))
            return folder;
    return ExeFolder;
}

std::filesystem::path DefaultListFilePath() { return DataFolder() / stored::kSetsFolder / stored::kSetListFile; }

std::filesystem::path HelpPagePath() { return DataFolder() / stored::kHelpFolder / stored::kHelpIndex; }

std::string MainWindowTitle() { return std::string("Orvel - Ludra ") + kVersion; }

std::optional<std::string> CommandLineInformation(const std::vector<std::string>& arguments) {
    if (arguments.size() != 1)
        return std::nullopt;
    if (arguments[0] == "--version")
        return std::string("ludra ") + kVersion + "\n";
    if (arguments[0] == "--help")
        return "Użycie: ludra [--version | --help]\n"
               "Ludra to program do rozwiązywania testów wyboru. Zestaw pytań wybiera się w programie,\n"
               "z menu \"Testy\"; klawisz F1 otwiera pomoc.\n";
    return std::nullopt;
}

void CheckListFilePath() {
    std::error_code error;
    if (!ListFilePath.empty() && std::filesystem::is_regular_file(ListFilePath, error))
        return;
    ListFilePath = DefaultListFilePath().string();
    if (std::filesystem::is_regular_file(ListFilePath, error))
        WriteJournal(0, u"Ścieżka do pliku listy zestawów pytań zawarta w ini jest błędna.Wczytano domyślną listę "
                        u"zestawów z folderu Zestawy.");
    else
        WriteJournal(0, u"Ścieżka do pliku listy zestawów pytań jest błędna.Brak również pliku Lista w folderze "
                        u"Zestawy.");
}

void SeedRandomFromClock() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const auto sinceMidnight = duration_cast<milliseconds>(now - floor<days>(now)).count();
    SeedRandom(static_cast<std::uint32_t>(sinceMidnight));
}
