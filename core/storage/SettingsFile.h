#pragma once

#include "core/base/Journal.h"
#include "core/base/Random.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

class XmlDocument;

// The learner's settings, read at start-up. The file keeps every value scrambled.
struct Settings {
    std::string ListFilePath; // UTF-8 path of the set list file; empty: the default list
    bool ConfirmResign = true;
    bool RepeatWrong = false;
    bool ReloadAttachments = true;
    bool SoundOn = true;
    std::int32_t WindowMode = 0; // 0 rounded window, 1 whole work area
    std::int32_t JournalLevel = 0;
    // Added later, so older files lack them: a missing or unreadable one reads as off.
    bool KeepSideWindows = false;      // the text and picture windows stay where the learner left them
    bool KeysCloseInfoWindows = false; // Enter and Escape close the summary and the information window
};

// The setting that a key of the file fills; the header fills none.
using SettingTarget = std::variant<std::monostate, std::string Settings::*, bool Settings::*, std::int32_t Settings::*>;
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
    {"sct", &Settings::ListFilePath, ""},
    {"al", &Settings::ConfirmResign, "1"},
    {"rq", &Settings::RepeatWrong, "0"},
    {"rr", &Settings::ReloadAttachments, "1"},
    {"voi", &Settings::SoundOn, "1"},
    {"wo", &Settings::WindowMode, "0", 0, 1, 0},
    {"dfpz", &Settings::JournalLevel, "0", 0, 4, 1},
}};

// Optional keys: read when present, never a reason to recreate the file, and written by the
// settings window only, so a new file holds the keys above alone.
inline constexpr std::array<SettingKey, 2> kOptionalSettingKeys = {{
    {"zpo", &Settings::KeepSideWindows, "0"},
    {"kzp", &Settings::KeysCloseInfoWindows, "0"},
}};

// Special folders of the user, by their numbers on the system the sets come from.
enum class SpecialFolder { AppData = 26, Documents = 5 };
std::filesystem::path SpecialFolderPath(SpecialFolder folder);
// Tarvix/Orvel/Ludra under the application-data folder: the settings and the journal live there.
std::filesystem::path ProgramDataFolder();

// The settings file and the journal beside it. Loading and saving write to the journal.
class SettingsFile {
public:
    SettingsFile(std::filesystem::path file, Journal& journal, Random& random)
        : file_(std::move(file)), journal_(journal), random_(random) {}
    const std::filesystem::path& Path() const { return file_; }

    // Fills every setting from the file, or from defaults written to a new file.
    void Load(Settings& settings);
    void CreateDefaults(Settings& settings);
    void SaveWindowMode(const Settings& settings);
    // The journal's level, kept in the file.
    void SetJournalLevel(Settings& settings, std::int32_t level);
    // Stores the flags' current values under their keys in one atomic save; raises StorageError.
    void SaveFlags(const Settings& settings, std::span<bool Settings::*const> flags);

    // Reads the file into the document (a missing file leaves it empty; one nested deeper than
    // settings ever are is damaged) and writes it back in one atomic replace, which a link in the
    // file's place refuses; a successful save clears away what killed saves left. Both raise
    // StorageError.
    void LoadDocument(XmlDocument& document) const;
    void SaveDocument(const XmlDocument& document) const;

private:
    bool ReadFile(Settings& settings, XmlDocument& document) const;
    void StoreNumber(const SettingKey& key, const Settings& settings) const;

    std::filesystem::path file_;
    Journal& journal_;
    Random& random_; // scrambles what is written
};

// Values of the settings document; reading a missing or empty element raises StorageError.
std::string ReadSettingText(std::u16string_view key, XmlDocument& document);
bool ReadSettingFlag(std::u16string_view key, XmlDocument& document);
bool ReadSettingNumber(std::u16string_view key, XmlDocument& document, std::int32_t& value);
void WriteSettingText(std::u16string_view key, std::string_view text, XmlDocument& document, Random& random);
void WriteSettingNumber(std::u16string_view key, std::int32_t value, XmlDocument& document, Random& random);
void WriteSettingFlag(std::u16string_view key, bool value, XmlDocument& document, Random& random);
