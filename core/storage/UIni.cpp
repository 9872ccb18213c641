#include "core/storage/UIni.h"

#include "core/base/AtomicFile.h"
#include "core/base/CodePage.h"
#include "core/base/FileAccess.h"
#include "core/base/Journal.h"
#include "core/base/StorageError.h"
#include "core/storage/UCrypto.h"
#include "core/storage/UProcReadWrite.h"
#include "core/storage/pkXML.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>
#include <utility>
#include <vector>

std::filesystem::path SettingsPath;
std::filesystem::path DocumentsFolder;

std::string ListFilePath;
bool ConfirmResign = true;
bool RepeatWrong = false;
bool ReloadAttachments = true;
bool SoundOn = true;
std::int32_t WindowMode = 0;

namespace {

constexpr std::u16string_view kRoot = u"Ini";
constexpr std::string_view kHeader = "Ludra";

std::filesystem::path HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir)
        return entry->pw_dir;
    return "/";
}

std::filesystem::path ConfigFolder() {
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/')
        return config;
    return HomeFolder() / ".config";
}

// The folder list is a few lines; a larger file is not read.
constexpr std::int64_t kMaxUserDirsSize = 64 * 1024;

// Empty when the file is missing, no regular file or too large.
std::string UserDirsText() {
    const ReadableFile file(ConfigFolder() / "user-dirs.dirs");
    Bytes bytes;
    if (!file.IsOpen() || file.Size() > kMaxUserDirsSize || !file.ReadAll(bytes))
        return {};
    return std::string(bytes.begin(), bytes.end());
}

// XDG_DOCUMENTS_DIR from user-dirs.dirs: "$HOME/..." or an absolute path.
std::filesystem::path XdgDocumentsFolder() {
    std::istringstream dirs(UserDirsText());
    constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR=\"";
    for (std::string line; std::getline(dirs, line);) {
        if (!line.starts_with(kKey) || !line.ends_with('"'))
            continue;
        std::string value = line.substr(kKey.size(), line.size() - kKey.size() - 1);
        if (value.starts_with("$HOME"))
            return HomeFolder().string() + value.substr(5);
        if (value.starts_with('/'))
            return value;
    }
    return HomeFolder();
}

// The settings file has two levels, Ini and its keys. A much deeper document is a damaged
// file: written back, each level would cost a tab on every line.
constexpr int kMaxSettingsDepth = 8;

bool IsDeeperThan(const TpkXMLNode& root, int limit) {
    std::vector<std::pair<const TpkXMLNode*, int>> pending{{&root, 0}};
    while (!pending.empty()) {
        const auto [node, depth] = pending.back();
        pending.pop_back();
        if (depth > limit)
            return true;
        for (int i = 0; i < node->ChildCount(); ++i)
            pending.emplace_back(node->Child(i), depth + 1);
    }
    return false;
}

TpkXMLNode& SettingNode(std::u16string_view key, TpkXML& document) {
    return FindOrAddChild(document.FindOrAddNode(kRoot), key);
}

// False for a file of another header; raises on a damaged one.
bool ReadSettingsFile(TpkXML& document) {
    LoadSettingsDocument(document);
    if (ReadSettingText(u"ed", document) != kHeader)
        return false;
    ListFilePath = AnsiToUtf8(ReadSettingText(u"sct", document));
    ConfirmResign = ReadSettingFlag(u"al", document);
    RepeatWrong = ReadSettingFlag(u"rq", document);
    ReloadAttachments = ReadSettingFlag(u"rr", document);
    SoundOn = ReadSettingFlag(u"voi", document);
    if (!ReadSettingNumber(u"wo", document, WindowMode))
        WindowMode = 0;
    if (!ReadSettingNumber(u"dfpz", document, JournalLevel))
        JournalLevel = 1;
    return true;
}

// Loads the file, changes one key and writes the whole file back.
void StoreSettingNumber(std::u16string_view key, std::int32_t value) {
    TpkXML document;
    LoadSettingsDocument(document);
    WriteSettingNumber(key, value, document);
    SaveSettingsDocument(document);
}

} // namespace

std::filesystem::path SpecialFolderPath(int folder) {
    return folder == kFolderDocuments ? XdgDocumentsFolder() : ConfigFolder();
}

void PrepareFolders() {
    std::filesystem::path folder = SpecialFolderPath(kFolderAppData);
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    for (const char* level : {"Tarvix", "Orvel", "Ludra"}) {
        folder /= level;
        std::filesystem::create_directory(folder, ignored);
    }
    SettingsPath = folder / "Ludra.ini";
    DocumentsFolder = SpecialFolderPath(kFolderDocuments);
    JournalPath = folder / "Dziennik.txt";
    WriteJournal(3, u"Utworzono foldery i ustawiono ścieżki.");
}

void LoadSettingsDocument(TpkXML& document) {
    document.LoadFromFile(SettingsPath);
    if (IsDeeperThan(document.Root, kMaxSettingsDepth))
        throw StorageError("settings nested deeper than " + std::to_string(kMaxSettingsDepth) + " levels");
}

void SaveSettingsDocument(const TpkXML& document) {
    Bytes bytes;
    document.SaveToStream(bytes);
    WriteFileAtomically(SettingsPath, bytes);
    RemoveStaleTemporaries(SettingsPath);
}

std::string ReadSettingText(std::u16string_view key, TpkXML& document) {
    return UnscrambleText(WideToAnsi(SettingNode(key, document).Text));
}

bool ReadSettingFlag(std::u16string_view key, TpkXML& document) { return ReadSettingText(key, document) == "1"; }

bool ReadSettingNumber(std::u16string_view key, TpkXML& document, std::int32_t& value) {
    value = 0;
    try {
        if (ParseInteger(ReadSettingText(key, document), value))
            return true;
    } catch (const StorageError&) {
    }
    value = 0;
    return false;
}

void WriteSettingText(std::u16string_view key, std::string_view text, TpkXML& document) {
    SettingNode(key, document).Text = AnsiToWide(ScrambleText(text));
}

void WriteSettingNumber(std::u16string_view key, std::int32_t value, TpkXML& document) {
    WriteSettingText(key, std::to_string(value), document);
}

void WriteSettingFlag(std::u16string_view key, bool value, TpkXML& document) {
    WriteSettingText(key, value ? "1" : "0", document);
}

void CreateDefaultSettings() {
    try {
        TpkXML document;
        WriteSettingText(u"ed", kHeader, document);
        ListFilePath.clear();
        WriteSettingText(u"sct", "", document);
        WriteSettingFlag(u"al", ConfirmResign = true, document);
        WriteSettingFlag(u"rq", RepeatWrong = false, document);
        WriteSettingFlag(u"rr", ReloadAttachments = true, document);
        WriteSettingFlag(u"voi", SoundOn = true, document);
        WriteSettingNumber(u"wo", WindowMode = 0, document);
        WriteSettingNumber(u"dfpz", JournalLevel = 0, document);
        SaveSettingsDocument(document);
        WriteJournal(3, u"Utworzono nowy plik ini.");
    } catch (const std::exception&) {
        WriteJournal(1, u"Problem z zapisem nowego pliku ini.");
    }
}

void LoadSettings() {
    std::error_code error;
    if (!std::filesystem::exists(SettingsPath, error)) {
        CreateDefaultSettings();
        WriteJournal(0, u"Brak pliku ini. Utworzono nowy plik.");
        return;
    }
    try {
        TpkXML document;
        if (ReadSettingsFile(document)) {
            WriteJournal(3, u"Poprawnie wczytano plik Ludra.ini.");
        } else {
            CreateDefaultSettings();
            WriteJournal(1, u"Błędny nagłówek pliku ini. Utworzono nowy plik.");
        }
    } catch (const std::exception&) {
        CreateDefaultSettings();
        WriteJournal(0, u"Uszkodzony plik ini. Utworzono nowy plik.");
    }
}

void SaveWindowMode() {
    try {
        StoreSettingNumber(u"wo", WindowMode);
        WriteJournal(3, u"Zmieniono w ini wielkość okna.");
    } catch (const std::exception&) {
        WriteJournal(1, u"Problem z zapisem zmiany ustawień do ini.");
    }
}

void SetJournalLevel(std::int32_t level) {
    JournalLevel = level;
    try {
        StoreSettingNumber(u"dfpz", level);
        WriteJournal(2, u"Zmieniono poziom zdarzen. Aktualny poziom, to: " + AnsiToWide(std::to_string(level)));
    } catch (const std::exception&) {
        WriteJournal(2, u"Problem z zapisem zmiany ustawień do ini.");
    }
}
