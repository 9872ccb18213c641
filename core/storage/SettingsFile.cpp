#include "core/storage/SettingsFile.h"

#include "core/base/AtomicFile.h"
#include "core/base/CodePage.h"
#include "core/base/FileAccess.h"
#include "core/base/Journal.h"
#include "core/base/StorageError.h"
#include "core/base/StoredNames.h"
#include "core/storage/DocumentFields.h"
#include "core/storage/Scrambler.h"
#include "core/storage/XmlDocument.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
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
bool KeepSideWindows = false;
bool KeysCloseInfoWindows = false;

namespace {

constexpr std::u16string_view kRoot = u"Ini";
static_assert(kSettingKeys.front().Kind() == SettingKind::Header);

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

bool IsDeeperThan(const XmlNode& root, int limit) {
    std::vector<std::pair<const XmlNode*, int>> pending{{&root, 0}};
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

XmlNode& SettingNode(std::u16string_view key, XmlDocument& document) {
    return FindOrAddChild(document.FindOrAddNode(kRoot), key);
}

template <class... Visitors> struct Overloaded : Visitors... { using Visitors::operator()...; };
template <class... Visitors> Overloaded(Visitors...) -> Overloaded<Visitors...>; // clang 14 deduces no aggregates

// Sets the key's variable from the document; false for a header other than ours. A missing or damaged
// text or flag raises StorageError, while a number falls back.
bool TakeSetting(const SettingKey& key, XmlDocument& document) {
    const std::u16string name = key.WideName();
    return std::visit(Overloaded{
                          [&](std::monostate) { return ReadSettingText(name, document) == key.Default; },
                          [&](std::string* path) {
                              *path = AnsiToUtf8(ReadSettingText(name, document));
                              return true;
                          },
                          [&](bool* flag) {
                              *flag = ReadSettingFlag(name, document);
                              return true;
                          },
                          [&](std::int32_t* number) {
                              if (!ReadSettingNumber(name, document, *number))
                                  *number = key.Fallback;
                              return true;
                          },
                      },
                      key.Target);
}

void TakeOptionalSettings(XmlDocument& document) {
    for (const SettingKey& key : kOptionalSettingKeys) {
        try {
            *std::get<bool*>(key.Target) = ReadSettingFlag(key.WideName(), document);
        } catch (const StorageError&) {
            *std::get<bool*>(key.Target) = false;
        }
    }
}

void ResetOptionalSettings() {
    for (const SettingKey& key : kOptionalSettingKeys)
        *std::get<bool*>(key.Target) = key.Default == "1";
}

// False for a file of another header; raises on a damaged one.
bool ReadSettingsFile(XmlDocument& document) {
    LoadSettingsDocument(document);
    for (const SettingKey& key : kSettingKeys) {
        if (!TakeSetting(key, document))
            return false;
    }
    TakeOptionalSettings(document);
    return true;
}

// The text the key's variable holds now, as the file stores it.
std::string CurrentText(const SettingKey& key) {
    return std::visit(Overloaded{
                          [&](std::monostate) { return std::string(key.Default); },
                          [](std::string* path) { return Utf8ToAnsi(*path); },
                          [](bool* flag) { return std::string(*flag ? "1" : "0"); },
                          [](std::int32_t* number) { return std::to_string(*number); },
                      },
                      key.Target);
}

// A file that lost a described key (or was removed meanwhile) is given the value in use, so that
// saving a few flags never leaves a file that the next start takes for damaged.
void KeepFileComplete(XmlDocument& document) {
    for (const SettingKey& key : kSettingKeys) {
        try {
            ReadSettingText(key.WideName(), document);
        } catch (const StorageError&) {
            WriteSettingText(key.WideName(), CurrentText(key), document);
        }
    }
}

const SettingKey& FlagKeyOf(bool* flag) {
    for (const auto& keys :
         {std::span<const SettingKey>(kSettingKeys), std::span<const SettingKey>(kOptionalSettingKeys)}) {
        for (const SettingKey& key : keys) {
            if (key.Target == SettingTarget(flag))
                return key;
        }
    }
    throw StorageError("no settings key holds this flag");
}

// Found while building, so a variable without a key is caught there.
consteval const SettingKey& KeyOf(std::int32_t* variable) {
    return *std::find_if(kSettingKeys.begin(), kSettingKeys.end(),
                         [&](const SettingKey& key) { return key.Target == SettingTarget(variable); });
}

// Loads the file, stores the number's value under its key and writes the whole file back.
void StoreSetting(const SettingKey& key) {
    XmlDocument document;
    LoadSettingsDocument(document);
    WriteSettingNumber(key.WideName(), *std::get<std::int32_t*>(key.Target), document);
    SaveSettingsDocument(document);
}

} // namespace

std::filesystem::path SpecialFolderPath(SpecialFolder folder) {
    return folder == SpecialFolder::Documents ? XdgDocumentsFolder() : ConfigFolder();
}

std::filesystem::path ProgramDataFolder() {
    return SpecialFolderPath(SpecialFolder::AppData) / stored::kMakerFolder / stored::kSuiteFolder /
           stored::kProgramFolder;
}

void PrepareFolders() {
    const std::filesystem::path folder = ProgramDataFolder();
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    SettingsPath = folder / stored::kSettingsFile;
    DocumentsFolder = SpecialFolderPath(SpecialFolder::Documents);
    JournalPath = folder / stored::kJournalFile;
    WriteJournal(3, u"Utworzono foldery i ustawiono ścieżki.");
}

void LoadSettingsDocument(XmlDocument& document) {
    document.LoadFromFile(SettingsPath);
    if (IsDeeperThan(document.Root, kMaxSettingsDepth))
        throw StorageError("settings nested deeper than " + std::to_string(kMaxSettingsDepth) + " levels");
}

void SaveSettingsDocument(const XmlDocument& document) {
    Bytes bytes;
    document.SaveToStream(bytes);
    WriteFileAtomically(SettingsPath, bytes);
    RemoveStaleTemporaries(SettingsPath);
}

std::string ReadSettingText(std::u16string_view key, XmlDocument& document) {
    return UnscrambleText(WideToAnsi(SettingNode(key, document).Text));
}

bool ReadSettingFlag(std::u16string_view key, XmlDocument& document) { return ReadSettingText(key, document) == "1"; }

bool ReadSettingNumber(std::u16string_view key, XmlDocument& document, std::int32_t& value) {
    value = 0;
    try {
        if (ParseInteger(ReadSettingText(key, document), value))
            return true;
    } catch (const StorageError&) {
    }
    value = 0;
    return false;
}

void WriteSettingText(std::u16string_view key, std::string_view text, XmlDocument& document) {
    SettingNode(key, document).Text = AnsiToWide(ScrambleText(text));
}

void WriteSettingNumber(std::u16string_view key, std::int32_t value, XmlDocument& document) {
    WriteSettingText(key, std::to_string(value), document);
}

void WriteSettingFlag(std::u16string_view key, bool value, XmlDocument& document) {
    WriteSettingText(key, value ? "1" : "0", document);
}

void CreateDefaultSettings() {
    ResetOptionalSettings();
    try {
        XmlDocument document;
        for (const SettingKey& key : kSettingKeys) {
            WriteSettingText(key.WideName(), key.Default, document);
            TakeSetting(key, document); // the variable as the new file gives it
        }
        SaveSettingsDocument(document);
        WriteJournal(3, u"Utworzono nowy plik ini.");
    } catch (const StorageError&) {
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
        XmlDocument document;
        if (ReadSettingsFile(document)) {
            WriteJournal(3, u"Poprawnie wczytano plik Ludra.ini.");
        } else {
            CreateDefaultSettings();
            WriteJournal(1, u"Błędny nagłówek pliku ini. Utworzono nowy plik.");
        }
    } catch (const StorageError&) {
        CreateDefaultSettings();
        WriteJournal(0, u"Uszkodzony plik ini. Utworzono nowy plik.");
    }
}

void SaveWindowMode() {
    try {
        StoreSetting(KeyOf(&WindowMode));
        WriteJournal(3, u"Zmieniono w ini wielkość okna.");
    } catch (const StorageError&) {
        WriteJournal(1, u"Problem z zapisem zmiany ustawień do ini.");
    }
}

void SetJournalLevel(std::int32_t level) {
    JournalLevel = level;
    try {
        StoreSetting(KeyOf(&JournalLevel));
        WriteJournal(2, u"Zmieniono poziom zdarzen. Aktualny poziom, to: " + Decimal(level));
    } catch (const StorageError&) {
        WriteJournal(2, u"Problem z zapisem zmiany ustawień do ini.");
    }
}

void SaveSettingFlags(std::span<bool* const> flags) {
    XmlDocument document;
    LoadSettingsDocument(document);
    KeepFileComplete(document);
    for (bool* flag : flags)
        WriteSettingFlag(FlagKeyOf(flag).WideName(), *flag, document);
    SaveSettingsDocument(document);
}
