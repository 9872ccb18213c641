// show, list and check: question files and set lists read by the program's own loaders.
#include "core/base/Random.h"
#include "core/selection/SetFolders.h"
#include "core/selection/SetTree.h"
#include "core/session/QuestionLoader.h"
#include "core/storage/ApplicationSetup.h"
#include "core/storage/PackArchive.h"
#include "core/storage/SetListFile.h"
#include "tools/skq/SkqJson.h"
#include "tools/skq/SkqQuestionForms.h"
#include "tools/skq/SkqTool.h"
#include "tools/skq/SkqWarnings.h"
#include "tools/skq/i18n/Translation.h"

#include <charconv>
#include <limits>
#include <ostream>
#include <set>

namespace skq {

namespace {

namespace fs = std::filesystem;

std::uint32_t ParseSeed(const std::string& text) {
    std::uint32_t seed = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, seed);
    if (text.empty() || error != std::errc{} || stop != end)
        throw UsageError(Tr("--seed needs a whole number from 0 to 4294967295"));
    return seed;
}

// A line that no text entry gives (a text ends at its first NUL), so it shows whether a load replaced the lines.
const TextLines kNothingLoaded = {std::string(1, '\0')};

std::string_view LayoutOf(const fs::path& file) {
    PackArchive pak;
    PakOpen(file, pak);
    return PakExists(kQuestionDocument35, pak) ? "3.5" : "4.0";
}

bool IsSetList(const fs::path& file) {
    PackArchive pak;
    return PakOpen(file, pak) && (PakExists(kSetListDocument40, pak) || PakExists(kSetListDocument35, pak));
}

// The texts the program shows for a folder without question files, without the leading line break.
constexpr std::string_view kEmptyFolder = "Wskazany folder nie zawiera plików pytań.";
constexpr std::string_view kEmptySet = "Wskazany zestaw nie zawiera plików pytań.";

// Walks paths as the program would open them and prints one verdict per file or folder.
class Checker {
public:
    Checker(std::ostream& out, bool strict) : out_(out), strict_(strict) {}

    void CheckPath(const fs::path& path);
    // Prints the summary and gives the exit status.
    int Finish();

private:
    void CheckFile(const fs::path& file);
    void CheckQuestionFile(const fs::path& file);
    void CheckListFile(const fs::path& file);
    void CheckFolder(const fs::path& folder, std::string_view emptyMessage);
    // False for a path already checked in this run.
    bool FirstVisit(const fs::path& path);

    void Ok(const fs::path& path);
    void Damaged(const fs::path& path, std::string_view detail);
    void Missing(const fs::path& path);
    void Warn(const fs::path& path, const std::vector<std::string>& warnings);

    std::ostream& out_;
    bool strict_;
    std::set<fs::path> visited_;
    int ok_ = 0;
    int damaged_ = 0;
    int missing_ = 0;
    int warnings_ = 0;
    Random random_{ClockSeed()}; // the answer order, as the program would draw one
};

void Checker::CheckPath(const fs::path& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (!fs::exists(status))
        Missing(path);
    else if (fs::is_directory(status))
        CheckFolder(path, kEmptyFolder);
    else
        CheckFile(path);
}

void Checker::CheckFile(const fs::path& file) {
    if (!FirstVisit(file))
        return;
    if (IsSetList(file))
        CheckListFile(file);
    else
        CheckQuestionFile(file);
}

void Checker::CheckQuestionFile(const fs::path& file) {
    ReportCollector reports;
    ::LoadedQuestion loaded;
    if (!OpenQuestionFile(file, loaded, reports.AsReporting(), random_)) {
        Damaged(file, reports.FirstReport());
        return;
    }
    Ok(file);
    PackArchive pak;
    PakOpen(file, pak);
    Warn(file, QuestionWarnings(pak));
}

void Checker::CheckListFile(const fs::path& file) {
    std::vector<std::string> lines;
    std::string report;
    bool loaded = false;
    {
        ReportCollector reports;
        SetListHeader header;
        loaded = LoadSetList(file, lines, header, reports.AsReporting());
        report = reports.FirstReport();
    }
    if (!loaded) {
        Damaged(file, report);
        return;
    }
    // The program's list path is a full one; the set folders hang off its folder.
    const fs::path listFile = fs::absolute(file);
    std::vector<fs::path> folders;
    std::string problem;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SetListEntry entry;
        if (!ParseEntryLine(lines[i], entry)) {
            // The set tree stops building at such a line.
            problem = Format(Tr("entry {1} is not an entry line; the sets from there on can't be chosen"), i);
            break;
        }
        if (!entry.Folder.empty())
            folders.push_back(ResolveSetFolder(listFile, entry.Folder));
    }
    if (problem.empty())
        Ok(file);
    else
        Damaged(file, problem);
    PackArchive pak;
    PakOpen(file, pak);
    Warn(file, SetListWarnings(pak, lines));
    for (const fs::path& folder : folders)
        CheckFolder(folder, kEmptySet);
}

void Checker::CheckFolder(const fs::path& folder, std::string_view emptyMessage) {
    if (!FirstVisit(folder))
        return;
    std::error_code error;
    if (!fs::exists(folder, error)) {
        Missing(folder);
        return;
    }
    std::vector<std::string> names;
    ListQuestionFiles(folder, names);
    if (names.empty())
        Damaged(folder, emptyMessage);
    for (const std::string& name : names) {
        const fs::path file = folder / name;
        if (FirstVisit(file))
            CheckQuestionFile(file);
    }
}

bool Checker::FirstVisit(const fs::path& path) {
    fs::path key = fs::absolute(path).lexically_normal();
    if (!key.has_filename())
        key = key.parent_path();
    return visited_.insert(std::move(key)).second;
}

void Checker::Ok(const fs::path& path) {
    ++ok_;
    out_ << Format(Tr("{1}: ok"), path.string()) << '\n';
}

void Checker::Damaged(const fs::path& path, std::string_view detail) {
    ++damaged_;
    out_ << Format(Tr("{1}: damaged: {2}"), path.string(), detail.empty() ? Tr("the program refuses it") : detail)
         << '\n';
}

void Checker::Missing(const fs::path& path) {
    ++missing_;
    out_ << Format(Tr("{1}: missing"), path.string()) << '\n';
}

void Checker::Warn(const fs::path& path, const std::vector<std::string>& warnings) {
    warnings_ += static_cast<int>(warnings.size());
    for (const std::string& warning : warnings)
        out_ << Format(Tr("{1}: warning: {2}"), path.string(), warning) << '\n';
}

int Checker::Finish() {
    out_ << Format(Tr("{1} checked: {2} ok, {3} damaged, {4} missing"), ok_ + damaged_ + missing_, ok_, damaged_,
                   missing_);
    if (warnings_ > 0)
        out_ << Format(TrPlural("; {1} warning", "; {1} warnings", static_cast<unsigned long>(warnings_)), warnings_);
    out_ << '\n';
    const bool failed = damaged_ + missing_ > 0 || (strict_ && warnings_ > 0);
    return failed ? kExitFailed : kExitOk;
}

} // namespace

int RunShow(const Arguments& arguments, Io& io) {
    RequirePositional(arguments, 1, 1);
    const std::string* seed = arguments.Value("seed");
    Random random(seed ? ParseSeed(*seed) : ClockSeed());
    const fs::path file = arguments.Positional[0];

    ReportCollector reports;
    // The text starts as a mark, so what it holds afterwards is what this load put there.
    ::LoadedQuestion loaded;
    loaded.AttachedText = kNothingLoaded;
    const bool ok = OpenQuestionFile(file, loaded, reports.AsReporting(), random);
    Json question = nullptr;
    if (ok) {
        question = QuestionJson({LayoutOf(file), loaded.Question, loaded.Picture.Width > 0 ? &loaded.Picture : nullptr,
                                 loaded.AttachedText != kNothingLoaded ? &loaded.AttachedText : nullptr});
    }
    PrintJson(io.Out, ShowJson(ok, std::move(question), reports));
    return ok ? kExitOk : kExitFailed;
}

int RunList(const Arguments& arguments, Io& io) {
    if (arguments.Positional.size() == 3 && arguments.Positional[0] == "build")
        return RunListBuild(arguments, io);
    RequirePositional(arguments, 1, 1);
    ReportCollector reports;
    std::vector<std::string> lines;
    SetListHeader header;
    const bool ok = LoadSetList(arguments.Positional[0], lines, header, reports.AsReporting());
    PrintJson(io.Out, ListJson(ok, header, lines, reports));
    return ok ? kExitOk : kExitFailed;
}

int RunCheck(const Arguments& arguments, Io& io) {
    RequirePositional(arguments, 1, std::numeric_limits<std::size_t>::max());
    Checker checker(io.Out, arguments.Has("strict"));
    for (const std::string& path : arguments.Positional)
        checker.CheckPath(path);
    return checker.Finish();
}

} // namespace skq
