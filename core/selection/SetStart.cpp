#include "core/selection/SetStart.h"

#include "core/base/ShowWarning.h"
#include "core/selection/SetFolders.h"
#include "core/selection/SetTree.h"
#include "core/session/TestRun.h"

#include <string_view>

namespace {

void StartSetOrTell(TestRun& run, std::u16string_view emptyMessage) {
    run.QuestionFiles.clear();
    ListQuestionFiles(run.SetFolder, run.QuestionFiles);
    if (run.QuestionFiles.empty())
        run.Reports().Box.Show(WarningButtonSet::Close, WarningIcon::Warning, emptyMessage);
    else
        run.StartSession();
}

} // namespace

void StartSetFromList(TestRun& run, const ChosenSet& chosen) {
    run.SetFolder = chosen.Folder;
    run.SetName = chosen.Name;
    StartSetOrTell(run, u"\rWskazany zestaw nie zawiera plików pytań.");
}

void StartSetFromFolder(TestRun& run, const std::filesystem::path& folder) {
    run.SetFolder = folder;
    run.SetName.clear();
    StartSetOrTell(run, u"\rWskazany folder nie zawiera plików pytań.");
}
