#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

class TpkXML;

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

// Special folders of the user: application data and documents.
inline constexpr int kFolderAppData = 26;
inline constexpr int kFolderDocuments = 5;
std::filesystem::path SpecialFolderPath(int folder);

// Creates Tarvix/Orvel/Ludra under the application-data folder (failures ignored)
// and sets the settings, journal and documents paths.
void PrepareFolders();
// Fills every setting from the file, or from defaults written to a new file.
void LoadSettings();
void CreateDefaultSettings();
void SaveWindowMode();
void SetJournalLevel(std::int32_t level);

// Values of the settings document; reading a missing or empty element raises StorageError.
std::string ReadSettingText(std::u16string_view key, TpkXML& document);
bool ReadSettingFlag(std::u16string_view key, TpkXML& document);
bool ReadSettingNumber(std::u16string_view key, TpkXML& document, std::int32_t& value);
void WriteSettingText(std::u16string_view key, std::string_view text, TpkXML& document);
void WriteSettingNumber(std::u16string_view key, std::int32_t value, TpkXML& document);
void WriteSettingFlag(std::u16string_view key, bool value, TpkXML& document);

// Reads the settings file into the document (a missing file leaves it empty; one nested
// deeper than settings ever are is damaged) and writes it back in one atomic replace,
// which a link in the file's place refuses; a successful save clears away what killed
// saves left. Both raise StorageError.
void LoadSettingsDocument(TpkXML& document);
void SaveSettingsDocument(const TpkXML& document);
