#pragma once

#include "core/base/Bytes.h"
#include "core/base/Journal.h"
#include "core/base/ShowWarning.h"

#include <filesystem>
#include <iosfwd>
#include <map>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// What the commands of ludra-skq share: exit codes, argument parsing, the report
// collector and small file helpers.
namespace skq {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// A command line that can't be run as written; RunSkq turns it into exit status 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file or folder the command could not use; RunSkq turns it into exit status 1.
class ToolFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Io {
    std::istream& In;
    std::ostream& Out;
    std::ostream& Err;
};

struct OptionSpec {
    std::string_view Name; // without the leading "--"
    bool TakesValue = false;
};

struct Arguments {
    std::vector<std::string> Positional;
    std::map<std::string, std::string, std::less<>> Options; // a flag maps to ""

    bool Has(std::string_view name) const { return Options.find(name) != Options.end(); }
    // The option's value, or nullptr when it was not given.
    const std::string* Value(std::string_view name) const;
};

// Splits the arguments after the command name. "--help" is known to every command;
// "--" ends the options. Throws UsageError for an unknown option or a missing value.
Arguments ParseArguments(std::span<const std::string> args, std::span<const OptionSpec> options);
// Throws UsageError unless the count of positional arguments lies in min..max.
void RequirePositional(const Arguments& arguments, std::size_t min, std::size_t max);

// Everything the core reports while a collector lives: journal records of any level
// and message box texts (each box answered with Zamknij), all in UTF-8.
class ReportCollector final : public MessageBox {
public:
    ReportCollector();
    ReportCollector(const ReportCollector&) = delete;
    ReportCollector& operator=(const ReportCollector&) = delete;

    // Every box is answered with Zamknij.
    WarningButton Show(WarningButtonSet buttons, WarningIcon icon, std::u16string_view text) override;
    // The journal and the box, for what the core reports.
    Reporting AsReporting() { return {Log, *this}; }

    std::vector<std::string> JournalRecords;
    std::vector<std::string> Messages;
    // A journal that writes no file and gives its records to JournalRecords.
    ::Journal Log;

    // The first journal record, else the first message box text on one line; empty when neither.
    std::string FirstReport() const;
};

// A whole file, refusing one larger than the limit before reading it. Throws ToolFailure.
Bytes ReadWholeFile(const std::filesystem::path& path, std::uintmax_t limit);
// Throws ToolFailure for the first path that exists, unless replacing is allowed.
void RefuseExisting(std::span<const std::filesystem::path> paths, bool force);
// The folder and the folders above it, as far as they are missing. Throws ToolFailure.
void CreateFolder(const std::filesystem::path& folder);

// The commands; each returns the exit status and throws UsageError or ToolFailure.
int RunShow(const Arguments& arguments, Io& io);
int RunList(const Arguments& arguments, Io& io);
// "list build ROOT OUT": a set list from a folder tree.
int RunListBuild(const Arguments& arguments, Io& io);
// The set list OUT of the sets under ROOT, with a line saying what it holds. Throws ToolFailure.
void WriteSetList(const std::filesystem::path& root, const std::filesystem::path& out, bool force,
                  std::ostream& report);
// A set in a folder tree, with the titles (UTF-8) of the folders from below the root down to it.
struct TreeSet {
    std::filesystem::path Folder;
    std::vector<std::string> Titles;
};
// The sets under ROOT in the order and with the titles "list build" gives them.
std::vector<TreeSet> SetsInTree(const std::filesystem::path& root);
int RunCheck(const Arguments& arguments, Io& io);
int RunLs(const Arguments& arguments, Io& io);
int RunPack(const Arguments& arguments, Io& io);
int RunUnpack(const Arguments& arguments, Io& io);
int RunScramble(const Arguments& arguments, Io& io);
int RunUnscramble(const Arguments& arguments, Io& io);
int RunImport(const Arguments& arguments, Io& io);
int RunExport(const Arguments& arguments, Io& io);
int RunPackSet(const Arguments& arguments, Io& io);
int RunConfig(const Arguments& arguments, Io& io);
int RunHelp(const Arguments& arguments, Io& io);

// Help texts in the user's language.
void PrintOverview(std::ostream& out);
// False when there is no such command.
bool PrintCommandHelp(std::string_view command, std::ostream& out);

} // namespace skq
