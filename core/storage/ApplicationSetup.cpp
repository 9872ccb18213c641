#include "core/storage/ApplicationSetup.h"

#include "core/base/Journal.h"
#include "core/base/Random.h"
#include "core/storage/UIni.h"

#include <chrono>

std::filesystem::path ExeFolder;
const char* const kHomePage = LUDRA_HOME_PAGE;

std::filesystem::path DefaultListFilePath() { return ExeFolder / "Zestawy" / "Lista.skz"; }

std::filesystem::path HelpPagePath() { return ExeFolder / "Pomoc" / "index.htm"; }

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
