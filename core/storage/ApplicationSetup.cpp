#include "core/storage/ApplicationSetup.h"

#include "core/base/Journal.h"
#include "core/base/Random.h"
#include "core/base/StoredNames.h"
#include "core/storage/SettingsFile.h"

#include <chrono>

const char* const kHomePage = LUDRA_HOME_PAGE;
const char* const kVersion = LUDRA_VERSION;

std::filesystem::path ProgramPaths::DataFolder() const {
    std::error_code error;
    for (const std::filesystem::path& folder :
         {ProgramFolder, (ProgramFolder / ".." / "share" / "ludra").lexically_normal()})
        if (std::filesystem::is_directory(folder / stored::kSetsFolder, error) ||
            std::filesystem::is_directory(folder / stored::kHelpFolder, error))
            return folder;
    return ProgramFolder;
}

std::filesystem::path ProgramPaths::DefaultListFile() const {
    return DataFolder() / stored::kSetsFolder / stored::kSetListFile;
}

std::filesystem::path ProgramPaths::ResultsFile() const {
    return SettingsFile.empty() ? std::filesystem::path() : SettingsFile.parent_path() / stored::kResultsFile;
}

void PrepareFolders(ProgramPaths& paths) {
    const std::filesystem::path folder = ProgramDataFolder();
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    paths.SettingsFile = folder / stored::kSettingsFile;
    paths.JournalFile = folder / stored::kJournalFile;
    paths.DocumentsFolder = SpecialFolderPath(SpecialFolder::Documents);
}

std::filesystem::path ProgramPaths::HelpPage() const { return DataFolder() / stored::kHelpFolder / stored::kHelpIndex; }

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

void CheckListFilePath(Settings& settings, const ProgramPaths& paths, const Journal& journal) {
    std::error_code error;
    if (!settings.ListFilePath.empty() && std::filesystem::is_regular_file(settings.ListFilePath, error))
        return;
    settings.ListFilePath = paths.DefaultListFile().string();
    if (std::filesystem::is_regular_file(settings.ListFilePath, error))
        journal.Write(0, u"Ścieżka do pliku listy zestawów pytań zawarta w ini jest błędna.Wczytano domyślną listę "
                         u"zestawów z folderu Zestawy.");
    else
        journal.Write(0, u"Ścieżka do pliku listy zestawów pytań jest błędna.Brak również pliku Lista w folderze "
                         u"Zestawy.");
}

std::uint32_t ClockSeed() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    return static_cast<std::uint32_t>(duration_cast<milliseconds>(now - floor<days>(now)).count());
}
