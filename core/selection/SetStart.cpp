#include "core/selection/SetStart.h"

#include "core/base/ShowWarning.h"
#include "core/selection/SetFolders.h"
#include "core/selection/SetTree.h"
#include "core/session/TestRun.h"

#include <string_view>

namespace {

void StartSetOrTell(std::u16string_view emptyMessage) {
    QuestionFiles.clear();
    ListQuestionFiles(SetFolder, QuestionFiles);
    if (QuestionFiles.empty())
        ShowWarning(WarningButtonSet::Close, WarningIcon::Warning, emptyMessage);
    else
        StartSession();
}

} // namespace

void StartSetFromList() {
    SetName = ChosenSetName;
    StartSetOrTell(u"\rWskazany zestaw nie zawiera plików pytań.");
}

void StartSetFromFolder(const std::filesystem::path& folder) {
    SetFolder = folder;
    SetName.clear();
    StartSetOrTell(u"\rWskazany folder nie zawiera plików pytań.");
}
