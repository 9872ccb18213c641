#include "core/session/ResultsHistory.h"

#include "core/base/CodePage.h"
#include "core/base/FileAccess.h"
#include "core/base/Journal.h"
#include "core/base/ShowWarning.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <utility>

namespace {

constexpr std::string_view kLineBreak = "\r\n";
// Spreadsheets take the file for UTF-8 by this mark.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string WithoutControls(std::string_view utf8) {
    std::string text;
    std::size_t offset = 0;
    while (offset < utf8.size()) {
        const std::size_t bad = FindInvalidUtf8(utf8.substr(offset));
        const std::string_view good = utf8.substr(offset, bad == std::string_view::npos ? utf8.size() - offset : bad);
        for (const char c : good)
            text += (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) ? ' ' : c;
        offset += good.size();
        if (offset < utf8.size()) {
            text += '?';
            ++offset;
        }
    }
    return text;
}

bool NeedsQuotes(std::string_view field) {
    return field.find_first_of(";\"") != std::string_view::npos ||
           (!field.empty() && (field.front() == ' ' || field.back() == ' '));
}

// What goes before the line: the header in a new file, a line break where a spreadsheet
// saved the file without its last one.
std::string LeadIn(int fd, off_t size) {
    if (size == 0)
        return std::string(kByteOrderMark) + std::string(kResultsHeader) + std::string(kLineBreak);
    char last = 0;
    return ::pread(fd, &last, 1, size - 1) == 1 && last == '\n' ? std::string() : std::string(kLineBreak);
}

// Takes the file's lock, trying again after short sleeps until the wait is over: another
// run's append ends in a moment, and a process that holds the lock longer has hung.
bool LockWithin(int fd, std::chrono::milliseconds wait) {
    using Clock = std::chrono::steady_clock;
    constexpr std::chrono::milliseconds kLongestPause{20};
    const Clock::time_point deadline = Clock::now() + wait;
    std::chrono::milliseconds pause{1};
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR)
            return false;
        const Clock::time_point now = Clock::now();
        if (now >= deadline)
            return false;
        std::this_thread::sleep_for(std::min<Clock::duration>(pause, deadline - now));
        pause = std::min(pause * 2, kLongestPause);
    }
    return true;
}

} // namespace

std::string CsvField(std::string_view utf8) {
    std::string field = WithoutControls(utf8);
    // A spreadsheet would run a field starting like a formula; a set's name comes from anyone.
    if (!field.empty() && std::string_view("=+-@").find(field.front()) != std::string_view::npos)
        field.insert(0, 1, '\'');
    if (!NeedsQuotes(field))
        return field;
    std::string quoted = "\"";
    for (const char c : field)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + '"';
}

std::string ResultsDateTime(double dateTime) {
    using namespace std::chrono;
    // Far outside any clock's range a date-time is taken for the epoch itself.
    const bool usable = std::isfinite(dateTime) && std::fabs(dateTime) < 3e6;
    const auto seconds = usable ? static_cast<std::int64_t>(std::llround(dateTime * 86400.0)) : 0;
    const sys_days epoch{year{1899} / December / 30};
    const auto moment = sys_seconds{epoch} + std::chrono::seconds{seconds};
    const auto day = floor<days>(moment);
    const year_month_day date{day};
    const hh_mm_ss time{moment - day};
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
    return text;
}

std::string ResultsLine(const SummaryReport& report, std::string_view setName, const std::filesystem::path& folder) {
    char time[40];
    std::snprintf(time, sizeof time, "%lld:%02lld:%02d", static_cast<long long>(report.Time.Minutes / 60),
                  static_cast<long long>(report.Time.Minutes % 60), report.Time.Seconds);
    const std::string fields[] = {
        ResultsDateTime(report.EndTime),
        CsvField(setName),
        CsvField(folder.string()),
        std::to_string(report.QuestionCount),
        std::to_string(report.FirstTimeRight),
        std::to_string(report.Percent) + "%",
        std::to_string(report.GivenCount),
        time,
        CsvField(WideToUtf8(GradeText(report.Percent))),
    };
    std::string line;
    for (const std::string& field : fields)
        line += (line.empty() ? "" : ";") + field;
    return line;
}

bool AppendResultsLine(const std::filesystem::path& file, std::string_view line, std::chrono::milliseconds lockWait) {
    const FileDescriptor out = OpenForAppend(file);
    if (!out.IsOpen())
        return false;
    struct stat info {};
    if (!LockWithin(out.Get(), lockWait) || ::fstat(out.Get(), &info) != 0)
        return false;
    const std::string record = LeadIn(out.Get(), info.st_size) + std::string(line) + std::string(kLineBreak);
    if (WriteAll(out.Get(), ByteView(reinterpret_cast<const std::uint8_t*>(record.data()), record.size())))
        return true;
    // Half a line would shift every field after it: what landed is cut off again.
    [[maybe_unused]] const int undone = ::ftruncate(out.Get(), info.st_size);
    return false;
}

bool ResultsRecorder::Record(const std::filesystem::path& file, std::string_view line, const Reporting& reports) {
    if (AppendResultsLine(file, line, lockWait_))
        return true;
    reports.Log.Write(1, u"Problem z zapisem wyniku do pliku wyników.");
    if (!std::exchange(learnerTold_, true))
        reports.Box.Show(WarningButtonSet::Close, WarningIcon::Warning, kResultsNotSaved);
    return false;
}

std::string FolderSetName(const std::filesystem::path& folder) {
    const std::filesystem::path name = folder.has_filename() ? folder.filename() : folder.parent_path().filename();
    return name.string();
}
