#pragma once

#include "core/base/Journal.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <variant>

class XmlDocument;

// Paths set by PrepareFolders.
extern std::filesystem::path SettingsPath;
extern std::filesystem::path DocumentsFolder;

// Settings read at start-up. The file keeps every value scrambled.
extern std::string ListFilePath; // UTF-8 path of the set list file; empty: the default list
extern bool ConfirmResign;
extern bool RepeatWrong;
extern bool ReloadAttachments;
extern bool SoundOn;
extern std::int32_t WindowMode; // 0 rounded window, 1 whole work area
// Added later, so older files lack them: a missing or unreadable one reads as off.
extern bool KeepSideWindows;      // the text and picture windows stay where the learner left them
extern bool KeysCloseInfoWindows; // Enter and Escape close the summary and the information window

// The program's variable that a key of the file fills; the header fills none.
using SettingTarget = std::variant<std::monostate, std::string*, bool*, std::int32_t*>;
enum class SettingKind { Header, Path, Flag, Number }; // in the order of SettingTarget's alternatives

// A key of the settings file. Every value is stored as scrambled text: "1" or "0" for a flag, a
// number in decimal.
struct SettingKey {
    std::string_view Name;
    SettingTarget Target;
    std::string_view Default; // what a new file holds
    std::int32_t Min = 0;     // numbers: the values the program knows
    std::int32_t Max = 0;
    std::int32_t Fallback = 0; // numbers: what the program takes when the value can't be read

    constexpr SettingKind Kind() const { return static_cast<SettingKind>(Target.index()); }
    std::u16string WideName() const { return {Name.begin(), Name.end()}; } // names are ASCII
};

// Every key, in the order of a new file; the header comes first, so that a file of another header
// changes no setting.
inline constexpr std::array<SettingKey, 8> kSettingKeys = {{
    {"ed", {}, "Ludra"},
    {"sct", &ListFilePath, ""},
    {"al", &ConfirmResign, "1"},
    {"rq", &RepeatWrong, "0"},
    {"rr", &ReloadAttachments, "1"},
    {"voi", &SoundOn, "1"},
    {"wo", &WindowMode, "0", 0, 1, 0},
    {"dfpz", &JournalLevel, "0", 0, 4, 1},
}};

// Optional keys: read when present, never a reason to recreate the file, and written by the
// settings window only, so a new file holds the keys above alone.
inline constexpr std::array<SettingKey, 2> kOptionalSettingKeys = {{
    {"zpo", &KeepSideWindows, "0"},
    {"kzp", &KeysCloseInfoWindows, "0"},
}};

// Special folders of the user, by their numbers on the system the sets come from.
enum class SpecialFolder { AppData = 26, Documents = 5 };
std::filesystem::path SpecialFolderPath(SpecialFolder folder);
// Tarvix/Orvel/Ludra under the application-data folder: the settings and the journal live there.
std::filesystem::path ProgramDataFolder();

// Creates the program's data folder (failures ignored) and sets the settings,
// journal and documents paths.
void PrepareFolders();
// Fills every setting from the file, or from defaults written to a new file.
void LoadSettings();
void CreateDefaultSettings();
void SaveWindowMode();
void SetJournalLevel(std::int32_t level);
// Stores the flags' current values under their keys in one atomic save; raises StorageError.
void SaveSettingFlags(std::span<bool* const> flags);

// Values of the settings document; reading a missing or empty element raises StorageError.
std::string ReadSettingText(std::u16string_view key, XmlDocument& document);
bool ReadSettingFlag(std::u16string_view key, XmlDocument& document);
bool ReadSettingNumber(std::u16string_view key, XmlDocument& document, std::int32_t& value);
void WriteSettingText(std::u16string_view key, std::string_view text, XmlDocument& document);
void WriteSettingNumber(std::u16string_view key, std::int32_t value, XmlDocument& document);
void WriteSettingFlag(std::u16string_view key, bool value, XmlDocument& document);

// Reads the settings file into the document (a missing file leaves it empty; one nested
// deeper than settings ever are is damaged) and writes it back in one atomic replace,
// which a link in the file's place refuses; a successful save clears away what killed
// saves left. Both raise StorageError.
void LoadSettingsDocument(XmlDocument& document);
void SaveSettingsDocument(const XmlDocument& document);
