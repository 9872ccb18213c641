#include "core/storage/SettingsFile.h"

#include "core/base/AtomicFile.h"
#include "core/base/CodePage.h"
#include "core/base/FileAccess.h"
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
bool TakeSetting(const SettingKey& key, XmlDocument& document, Settings& settings) {
    const std::u16string name = key.WideName();
    return std::visit(Overloaded{
                          [&](std::monostate) { return ReadSettingText(name, document) == key.Default; },
                          [&](std::string Settings::*path) {
                              settings.*path = AnsiToUtf8(ReadSettingText(name, document));
                              return true;
                          },
                          [&](bool Settings::*flag) {
                              settings.*flag = ReadSettingFlag(name, document);
                              return true;
                          },
                          [&](std::int32_t Settings::*number) {
                              if (!ReadSettingNumber(name, document, settings.*number))
                                  settings.*number = key.Fallback;
                              return true;
                          },
                      },
                      key.Target);
}

void TakeOptionalSettings(XmlDocument& document, Settings& settings) {
    for (const SettingKey& key : kOptionalSettingKeys) {
        bool Settings::*flag = std::get<bool Settings::*>(key.Target);
        try {
            settings.*flag = ReadSettingFlag(key.WideName(), document);
        } catch (const StorageError&) {
            settings.*flag = false;
        }
    }
}

void ResetOptionalSettings(Settings& settings) {
    for (const SettingKey& key : kOptionalSettingKeys)
        settings.*std::get<bool Settings::*>(key.Target) = key.Default == "1";
}

// The text the key's setting holds now, as the file stores it.
std::string CurrentText(const SettingKey& key, const Settings& settings) {
    return std::visit(Overloaded{
                          [&](std::monostate) { return std::string(key.Default); },
                          [&](std::string Settings::*path) { return Utf8ToAnsi(settings.*path); },
                          [&](bool Settings::*flag) { return std::string(settings.*flag ? "1" : "0"); },
                          [&](std::int32_t Settings::*number) { return std::to_string(settings.*number); },
                      },
                      key.Target);
}

// A file that lost a described key (or was removed meanwhile) is given the value in use, so that
// saving a few flags never leaves a file that the next start takes for damaged.
void KeepFileComplete(XmlDocument& document, const Settings& settings, Random& random) {
    for (const SettingKey& key : kSettingKeys) {
        try {
            ReadSettingText(key.WideName(), document);
        } catch (const StorageError&) {
            WriteSettingText(key.WideName(), CurrentText(key, settings), document, random);
        }
    }
}

const SettingKey& FlagKeyOf(bool Settings::*flag) {
    for (const auto& keys :
         {std::span<const SettingKey>(kSettingKeys), std::span<const SettingKey>(kOptionalSettingKeys)}) {
        for (const SettingKey& key : keys) {
            if (key.Target == SettingTarget(flag))
                return key;
        }
    }
    throw StorageError("no settings key holds this flag");
}

// Found while building, so a setting without a key is caught there.
consteval const SettingKey& KeyOf(std::int32_t Settings::*setting) {
    return *std::find_if(kSettingKeys.begin(), kSettingKeys.end(),
                         [&](const SettingKey& key) { return key.Target == SettingTarget(setting); });
}

} // namespace

std::filesystem::path SpecialFolderPath(SpecialFolder folder) {
    return folder == SpecialFolder::Documents ? XdgDocumentsFolder() : ConfigFolder();
}

std::filesystem::path ProgramDataFolder() {
    return SpecialFolderPath(SpecialFolder::AppData) / stored::kMakerFolder / stored::kSuiteFolder /
           stored::kProgramFolder;
}

// False for a file of another header; raises on a damaged one.
bool SettingsFile::ReadFile(Settings& settings, XmlDocument& document) const {
    LoadDocument(document);
    for (const SettingKey& key : kSettingKeys) {
        if (!TakeSetting(key, document, settings))
            return false;
    }
    TakeOptionalSettings(document, settings);
    return true;
}

// Loads the file, stores the number's value under its key and writes the whole file back.
void SettingsFile::StoreNumber(const SettingKey& key, const Settings& settings) const {
    XmlDocument document;
    LoadDocument(document);
    WriteSettingNumber(key.WideName(), settings.*std::get<std::int32_t Settings::*>(key.Target), document, random_);
    SaveDocument(document);
}

void SettingsFile::LoadDocument(XmlDocument& document) const {
    document.LoadFromFile(file_);
    if (IsDeeperThan(document.Root, kMaxSettingsDepth))
        throw StorageError("settings nested deeper than " + std::to_string(kMaxSettingsDepth) + " levels");
}

void SettingsFile::SaveDocument(const XmlDocument& document) const {
    Bytes bytes;
    document.SaveToStream(bytes);
    WriteFileAtomically(file_, bytes);
    RemoveStaleTemporaries(file_);
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

void WriteSettingText(std::u16string_view key, std::string_view text, XmlDocument& document, Random& random) {
    SettingNode(key, document).Text = AnsiToWide(ScrambleText(text, random));
}

void WriteSettingNumber(std::u16string_view key, std::int32_t value, XmlDocument& document, Random& random) {
    WriteSettingText(key, std::to_string(value), document, random);
}

void WriteSettingFlag(std::u16string_view key, bool value, XmlDocument& document, Random& random) {
    WriteSettingText(key, value ? "1" : "0", document, random);
}

void SettingsFile::CreateDefaults(Settings& settings) {
    ResetOptionalSettings(settings);
    try {
        XmlDocument document;
        for (const SettingKey& key : kSettingKeys) {
            WriteSettingText(key.WideName(), key.Default, document, random_);
            TakeSetting(key, document, settings); // the setting as the new file gives it
        }
        journal_.SetLevel(settings.JournalLevel);
        SaveDocument(document);
        journal_.Write(3, u"Utworzono nowy plik ini.");
    } catch (const StorageError&) {
        journal_.Write(1, u"Problem z zapisem nowego pliku ini.");
    }
}

void SettingsFile::Load(Settings& settings) {
    std::error_code error;
    if (!std::filesystem::exists(file_, error)) {
        CreateDefaults(settings);
        journal_.Write(0, u"Brak pliku ini. Utworzono nowy plik.");
        return;
    }
    try {
        XmlDocument document;
        if (ReadFile(settings, document)) {
            journal_.SetLevel(settings.JournalLevel);
            journal_.Write(3, u"Poprawnie wczytano plik Ludra.ini.");
        } else {
            CreateDefaults(settings);
            journal_.Write(1, u"Błędny nagłówek pliku ini. Utworzono nowy plik.");
        }
    } catch (const StorageError&) {
        CreateDefaults(settings);
        journal_.Write(0, u"Uszkodzony plik ini. Utworzono nowy plik.");
    }
}

void SettingsFile::SaveWindowMode(const Settings& settings) {
    try {
        StoreNumber(KeyOf(&Settings::WindowMode), settings);
        journal_.Write(3, u"Zmieniono w ini wielkość okna.");
    } catch (const StorageError&) {
        journal_.Write(1, u"Problem z zapisem zmiany ustawień do ini.");
    }
}

void SettingsFile::SetJournalLevel(Settings& settings, std::int32_t level) {
    settings.JournalLevel = level;
    journal_.SetLevel(level);
    try {
        StoreNumber(KeyOf(&Settings::JournalLevel), settings);
        journal_.Write(2, u"Zmieniono poziom zdarzen. Aktualny poziom, to: " + Decimal(level));
    } catch (const StorageError&) {
        journal_.Write(2, u"Problem z zapisem zmiany ustawień do ini.");
    }
}

void SettingsFile::SaveFlags(const Settings& settings, std::span<bool Settings::*const> flags) {
    XmlDocument document;
    LoadDocument(document);
    KeepFileComplete(document, settings, random_);
    for (bool Settings::*flag : flags)
        WriteSettingFlag(FlagKeyOf(flag).WideName(), settings.*flag, document, random_);
    SaveDocument(document);
}
