// config, scramble and unscramble: the settings file and the scrambler that guards its values.
#include "core/base/CodePage.h"
#include "core/base/StorageError.h"
#include "core/base/StoredNames.h"
#include "core/storage/ApplicationSetup.h"
#include "core/storage/Scrambler.h"
#include "core/storage/SettingsFile.h"
#include "core/storage/XmlDocument.h"
#include "tools/skq/SkqTool.h"
#include "tools/skq/i18n/Translation.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <istream>
#include <ostream>

namespace skq {

namespace {

namespace fs = std::filesystem;

// Every key the tool knows: the program's own, then the optional ones of the settings window.
constexpr auto kToolKeys = [] {
    std::array<SettingKey, kSettingKeys.size() + kOptionalSettingKeys.size()> keys{};
    std::copy(kSettingKeys.begin(), kSettingKeys.end(), keys.begin());
    std::copy(kOptionalSettingKeys.begin(), kOptionalSettingKeys.end(), keys.begin() + kSettingKeys.size());
    return keys;
}();

bool IsOptional(const SettingKey& key) { return &key - kToolKeys.data() >= std::ssize(kSettingKeys); }

std::string KeyNames() {
    std::string names;
    for (const SettingKey& key : kToolKeys)
        names += (names.empty() ? "" : ", ") + std::string(key.Name);
    return names;
}

const SettingKey& FindKey(std::string_view name) {
    const auto found =
        std::find_if(kToolKeys.begin(), kToolKeys.end(), [&](const SettingKey& key) { return key.Name == name; });
    if (found == kToolKeys.end())
        throw UsageError(Format(Tr("unknown setting {1}; the settings are {2}"), name, KeyNames()));
    return *found;
}

fs::path DefaultSettingsPath() { return ProgramDataFolder() / stored::kSettingsFile; }

// ---- reading

struct SettingValue {
    bool Readable = false;
    std::string Text; // UTF-8; for an unreadable number, the value the program takes instead
};

SettingValue ReadValue(const SettingKey& key, XmlDocument& document) {
    if (key.Kind() == SettingKind::Number) {
        std::int32_t number = 0;
        const bool read = ReadSettingNumber(key.WideName(), document, number);
        return {read, std::to_string(read ? number : key.Fallback)};
    }
    try {
        if (key.Kind() == SettingKind::Flag)
            return {true, ReadSettingFlag(key.WideName(), document) ? "1" : "0"};
        return {true, AnsiToUtf8(ReadSettingText(key.WideName(), document))};
    } catch (const StorageError&) {
        return {false, {}};
    }
}

// The file as the program finds it at start-up.
struct SettingsReport {
    std::array<SettingValue, kToolKeys.size()> Values;
    std::vector<std::string> Problems;
    bool Replaced = false; // the program would replace the whole file with defaults
};

SettingsReport InspectSettings(const SettingsFile& file) {
    std::error_code error;
    if (!fs::exists(file.Path(), error))
        throw ToolFailure(Format(Tr("no settings file at {1}; the program writes one with defaults when it starts"),
                                 file.Path().string()));
    XmlDocument document;
    try {
        file.LoadDocument(document);
    } catch (const StorageError& failure) {
        throw ToolFailure(Format(Tr("can't read the settings file: {1}"), failure.what()));
    }
    SettingsReport report;
    for (std::size_t i = 0; i < kToolKeys.size(); ++i) {
        const SettingKey& key = kToolKeys[i];
        SettingValue& value = report.Values[i] = ReadValue(key, document);
        if (!value.Readable && IsOptional(key)) {
            value.Text = key.Default; // the program reads a missing optional key as its default
        } else if (!value.Readable && key.Kind() == SettingKind::Number) {
            report.Problems.push_back(
                Format(Tr("{1} is missing or damaged; the program takes {2}"), key.Name, value.Text));
        } else if (!value.Readable) {
            report.Problems.push_back(Format(Tr("{1} is missing or damaged"), key.Name));
            report.Replaced = true;
        } else if (key.Kind() == SettingKind::Header && value.Text != key.Default) {
            report.Problems.push_back(Format(Tr("the header {1} is not {2}"), key.Name, key.Default));
            report.Replaced = true;
        }
    }
    return report;
}

// Prints the problems and gives the exit status.
int ReportProblems(const SettingsReport& report, const SettingsFile& file, std::ostream& err) {
    for (const std::string& problem : report.Problems)
        err << file.Path().string() << ": " << problem << '\n';
    if (report.Replaced)
        err << Tr("the program would replace this file with defaults") << '\n';
    return report.Problems.empty() ? kExitOk : kExitFailed;
}

int ShowSettings(const SettingsFile& file, Io& io) {
    const SettingsReport report = InspectSettings(file);
    for (std::size_t i = 0; i < kToolKeys.size(); ++i)
        io.Out << kToolKeys[i].Name << '=' << report.Values[i].Text << '\n';
    return ReportProblems(report, file, io.Err);
}

int GetSetting(const SettingKey& key, const SettingsFile& file, Io& io) {
    const SettingsReport report = InspectSettings(file);
    io.Out << report.Values[&key - kToolKeys.data()].Text << '\n';
    return ReportProblems(report, file, io.Err);
}

// ---- writing

// The value as the settings file stores it (Windows-1250 text, "1"/"0", or a decimal integer); throws UsageError.
std::string StoredText(const SettingKey& key, const std::string& value) {
    switch (key.Kind()) {
    case SettingKind::Header: throw UsageError(Format(Tr("{1} is the header of the file and can't be set"), key.Name));
    case SettingKind::Path: {
        std::string text = Utf8ToAnsi(value);
        if (AnsiToUtf8(text) != value)
            throw UsageError(Tr("the value has characters outside Windows-1250"));
        return text;
    }
    case SettingKind::Flag: {
        std::string lower = value;
        std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
        if (lower == "1" || lower == "yes")
            return "1";
        if (lower == "0" || lower == "no")
            return "0";
        throw UsageError(Format(Tr("{1} takes 1 or 0 (yes or no)"), key.Name));
    }
    case SettingKind::Number: break;
    }
    std::int32_t number = 0;
    const char* end = value.data() + value.size();
    const auto [stop, error] = std::from_chars(value.data(), end, number);
    if (value.empty() || error != std::errc{} || stop != end || number < key.Min || number > key.Max)
        throw UsageError(Format(Tr("{1} takes a whole number from {2} to {3}"), key.Name, key.Min, key.Max));
    return std::to_string(number);
}

// A new file with every default, written by the program's own code.
void CreateSettingsFile(SettingsFile& file, bool defaultLocation, std::ostream& err) {
    std::error_code error;
    if (defaultLocation)
        fs::create_directories(file.Path().parent_path(), error);
    Settings defaults;
    file.CreateDefaults(defaults);
    if (!fs::exists(file.Path(), error))
        throw ToolFailure(Format(Tr("can't create {1}"), file.Path().string()));
    err << Format(Tr("created {1} with the default settings"), file.Path().string()) << '\n';
}

int SetSetting(const SettingKey& key, const std::string& value, SettingsFile& file, Random& random,
               bool defaultLocation, Io& io) {
    const std::string stored = StoredText(key, value);
    std::error_code error;
    if (!fs::exists(file.Path(), error))
        CreateSettingsFile(file, defaultLocation, io.Err);
    if (const SettingsReport report = InspectSettings(file); report.Replaced) {
        ReportProblems(report, file, io.Err);
        throw ToolFailure(Tr("the change would be lost; remove the file and run set again"));
    }
    XmlDocument document;
    file.LoadDocument(document);
    WriteSettingText(key.WideName(), stored, document, random);
    file.SaveDocument(document);
    return kExitOk;
}

// ---- scrambler

// One line as the program splits text: at CR LF, a lone CR or a lone LF. False at the end of the input.
bool ReadLine(std::istream& in, std::string& line) {
    line.clear();
    std::streambuf& buffer = *in.rdbuf();
    using Traits = std::istream::traits_type;
    Traits::int_type c = buffer.sbumpc();
    if (Traits::eq_int_type(c, Traits::eof()))
        return false;
    while (!Traits::eq_int_type(c, Traits::eof()) && c != '\r' && c != '\n') {
        line.push_back(Traits::to_char_type(c));
        c = buffer.sbumpc();
    }
    if (c == '\r' && buffer.sgetc() == '\n')
        buffer.sbumpc();
    return true;
}

} // namespace

int RunConfig(const Arguments& arguments, Io& io) {
    RequirePositional(arguments, 1, 3);
    const std::string& action = arguments.Positional[0];
    const std::string* named = arguments.Value("file");
    // The tool writes no journal: the learner's stays the program's own.
    Journal unwritten;
    Random random(ClockSeed());
    SettingsFile file(named ? fs::path(*named) : DefaultSettingsPath(), unwritten, random);
    if (action == "show") {
        RequirePositional(arguments, 1, 1);
        return ShowSettings(file, io);
    }
    if (action == "get") {
        RequirePositional(arguments, 2, 2);
        return GetSetting(FindKey(arguments.Positional[1]), file, io);
    }
    if (action == "set") {
        RequirePositional(arguments, 3, 3);
        return SetSetting(FindKey(arguments.Positional[1]), arguments.Positional[2], file, random, named == nullptr,
                          io);
    }
    throw UsageError(Tr("config takes show, get KEY or set KEY VALUE"));
}

int RunScramble(const Arguments& arguments, Io& io) {
    RequirePositional(arguments, 0, 0);
    int failures = 0;
    Random random(ClockSeed());
    std::string line;
    for (int number = 1; ReadLine(io.In, line); ++number) {
        const std::string text = Utf8ToAnsi(line);
        if (AnsiToUtf8(text) != line) {
            io.Err << Format(Tr("line {1}: characters outside Windows-1250 became \"?\""), number) << '\n';
            ++failures;
        }
        io.Out << ScrambleText(text, random) << '\n';
    }
    return failures == 0 ? kExitOk : kExitFailed;
}

int RunUnscramble(const Arguments& arguments, Io& io) {
    RequirePositional(arguments, 0, 0);
    int failures = 0;
    std::string line;
    for (int number = 1; ReadLine(io.In, line); ++number) {
        try {
            io.Out << AnsiToUtf8(UnscrambleText(line));
        } catch (const StorageError&) {
            io.Err << Format(Tr("line {1} is empty, which is no scrambled text"), number) << '\n';
            ++failures;
        }
        io.Out << '\n';
    }
    return failures == 0 ? kExitOk : kExitFailed;
}

} // namespace skq
