#include "tools/skq/SkqTool.h"

#include "core/base/CodePage.h"
#include "core/base/FileAccess.h"
#include "tools/skq/i18n/Translation.h"

#include <algorithm>

namespace skq {

const std::string* Arguments::Value(std::string_view name) const {
    const auto found = Options.find(name);
    return found == Options.end() ? nullptr : &found->second;
}

Arguments ParseArguments(std::span<const std::string> args, std::span<const OptionSpec> options) {
    Arguments parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || !arg.starts_with("--")) {
            parsed.Positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        const std::string_view name = std::string_view(arg).substr(2);
        if (name == "help") {
            parsed.Options["help"];
            continue;
        }
        const auto spec =
            std::find_if(options.begin(), options.end(), [&](const OptionSpec& option) { return option.Name == name; });
        if (spec == options.end())
            throw UsageError(Format(Tr("unknown option {1}"), arg));
        if (!spec->TakesValue) {
            parsed.Options[std::string(name)];
        } else if (i + 1 < args.size()) {
            parsed.Options[std::string(name)] = args[++i];
        } else {
            throw UsageError(Format(Tr("{1} needs a value"), arg));
        }
    }
    return parsed;
}

void RequirePositional(const Arguments& arguments, std::size_t min, std::size_t max) {
    const std::size_t count = arguments.Positional.size();
    if (count < min)
        throw UsageError(Tr("too few arguments"));
    if (count > max)
        throw UsageError(Format(Tr("unexpected argument {1}"), arguments.Positional[max]));
}

ReportCollector::ReportCollector() {
    Log.SetObserver([this](int, std::u16string_view message) { JournalRecords.push_back(WideToUtf8(message)); });
}

WarningButton ReportCollector::Show(WarningButtonSet, WarningIcon, std::u16string_view text) {
    Messages.push_back(WideToUtf8(text));
    return WarningButton::Close;
}

std::string ReportCollector::FirstReport() const {
    if (!JournalRecords.empty())
        return JournalRecords.front();
    if (Messages.empty())
        return {};
    std::string text = Messages.front();
    std::replace(text.begin(), text.end(), '\r', ' ');
    text.erase(0, text.find_first_not_of(' '));
    return text;
}

Bytes ReadWholeFile(const std::filesystem::path& path, std::uintmax_t limit) {
    const ReadableFile file(path);
    if (!file.IsOpen())
        throw ToolFailure(Format(Tr("can't read {1}: {2}"), path.string(), file.Problem()));
    if (static_cast<std::uintmax_t>(file.Size()) > limit)
        throw ToolFailure(Format(Tr("{1} is too large"), path.string()));
    Bytes bytes;
    if (!file.ReadAll(bytes))
        throw ToolFailure(Format(Tr("can't read {1}"), path.string()));
    return bytes;
}

void RefuseExisting(std::span<const std::filesystem::path> paths, bool force) {
    if (force)
        return;
    for (const std::filesystem::path& path : paths) {
        std::error_code error;
        if (std::filesystem::exists(std::filesystem::symlink_status(path, error)))
            throw ToolFailure(Format(Tr("{1} exists; use --force to replace it"), path.string()));
    }
}

void CreateFolder(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        throw ToolFailure(Format(Tr("can't create {1}: {2}"), folder.string(), error.message()));
}

} // namespace skq
