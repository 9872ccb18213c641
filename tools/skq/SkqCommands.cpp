#include "tools/skq/SkqCommands.h"

#include "core/storage/ApplicationSetup.h"
#include "core/storage/SettingsFile.h"
#include "tools/skq/SkqTool.h"
#include "tools/skq/i18n/Translation.h"

#include <algorithm>
#include <ostream>
#include <span>
#include <streambuf>
#include <string>
#include <utility>

namespace {

using namespace skq;

// Starts every line written through it with the command's name, so that each message of a
// command says where it comes from in the one form "ludra-skq COMMAND: ".
class PrefixedLines : public std::streambuf {
public:
    PrefixedLines(std::streambuf* target, std::string prefix) : target_(target), prefix_(std::move(prefix)) {}

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        if (atLineStart_ && target_->sputn(prefix_.data(), static_cast<std::streamsize>(prefix_.size())) !=
                                static_cast<std::streamsize>(prefix_.size()))
            return traits_type::eof();
        atLineStart_ = traits_type::to_char_type(c) == '\n';
        return target_->sputc(traits_type::to_char_type(c));
    }
    int sync() override { return target_->pubsync(); }

private:
    std::streambuf* target_;
    std::string prefix_;
    bool atLineStart_ = true;
};

struct Command {
    std::string_view Name;
    std::span<const OptionSpec> Options;
    int (*Run)(const Arguments&, Io&);
};

constexpr OptionSpec kShowOptions[] = {{"seed", true}};
constexpr OptionSpec kPackOptions[] = {{"encoded"}, {"utf16"}, {"legacy"}, {"force"}};
constexpr OptionSpec kPackSetOptions[] = {{"encoded"}, {"utf16"}, {"legacy"}, {"force"}, {"depfile", true}};
constexpr OptionSpec kUnpackOptions[] = {{"decode"}, {"force"}};
constexpr OptionSpec kConfigOptions[] = {{"file", true}};
constexpr OptionSpec kCheckOptions[] = {{"strict"}};
constexpr OptionSpec kListOptions[] = {{"force"}};
constexpr OptionSpec kImportOptions[] = {{"format", true}, {"list"}, {"force"}};
constexpr OptionSpec kExportOptions[] = {{"format", true}, {"force"}};

const Command kCommands[] = {
    {"show", kShowOptions, RunShow},
    {"ls", {}, RunLs},
    {"list", kListOptions, RunList},
    {"check", kCheckOptions, RunCheck},
    {"pack", kPackOptions, RunPack},
    {"pack-set", kPackSetOptions, RunPackSet},
    {"unpack", kUnpackOptions, RunUnpack},
    {"import", kImportOptions, RunImport},
    {"export", kExportOptions, RunExport},
    {"scramble", {}, RunScramble},
    {"unscramble", {}, RunUnscramble},
    {"config", kConfigOptions, RunConfig},
    {"help", {}, RunHelp},
};

const Command* FindCommand(std::string_view name) {
    const auto found = std::find_if(std::begin(kCommands), std::end(kCommands),
                                    [&](const Command& command) { return command.Name == name; });
    return found == std::end(kCommands) ? nullptr : found;
}

} // namespace

int RunSkq(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        PrintOverview(err);
        return kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h") {
        PrintOverview(out);
        return kExitOk;
    }
    if (args[0] == "--version") {
        out << "ludra-skq " << kVersion << '\n';
        return kExitOk;
    }
    const Command* command = FindCommand(args[0]);
    if (!command) {
        err << "ludra-skq: " << Format(Tr("unknown command {1}"), args[0]) << '\n'
            << Tr("Run \"ludra-skq --help\" for the commands.") << '\n';
        return kExitUsage;
    }
    PrefixedLines prefixed(err.rdbuf(), "ludra-skq " + std::string(command->Name) + ": ");
    std::ostream messages(&prefixed);
    Io io{in, out, messages};
    try {
        const Arguments arguments = ParseArguments(std::span(args).subspan(1), command->Options);
        if (arguments.Has("help")) {
            PrintCommandHelp(command->Name, out);
            return kExitOk;
        }
        return command->Run(arguments, io);
    } catch (const UsageError& error) {
        messages << error.what() << '\n';
        err << Format(Tr("Run \"ludra-skq help {1}\" for the usage."), command->Name) << '\n';
        return kExitUsage;
    } catch (const std::exception& error) {
        messages << error.what() << '\n';
        return kExitFailed;
    }
}
