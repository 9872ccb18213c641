#include "core/session/ProgramState.h"

void PrepareProgram(ProgramState& state) {
    PrepareFolders(state.Paths);
    state.EventJournal.SetFile(state.Paths.JournalFile);
    state.EventJournal.Write(3, u"Utworzono foldery i ustawiono ścieżki.");
    state.SettingsStore().Load(state.LearnerSettings);
    CheckListFilePath(state.LearnerSettings, state.Paths, state.EventJournal);
}
