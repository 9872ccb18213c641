// ls, pack and unpack: archives as files of entries.
#include "core/base/AtomicFile.h"
#include "core/base/CodePage.h"
#include "core/base/FileAccess.h"
#include "core/base/StorageError.h"
#include "core/storage/PackArchive.h"
#include "core/storage/PakWriter.h"
#include "tools/skq/SkqJson.h"
#include "tools/skq/SkqQuestionForms.h"
#include "tools/skq/SkqTool.h"
#include "tools/skq/SkqUtf8Sources.h"
#include "tools/skq/i18n/Translation.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <set>
#include <sstream>

namespace skq {

namespace {

namespace fs = std::filesystem;

// No archive can be larger: its offsets are signed 32-bit numbers.
constexpr std::uintmax_t kMaxArchiveSize = std::numeric_limits<std::int32_t>::max();

bool StartsWithMagic(const fs::path& path) {
    const ReadableFile file(path);
    std::array<std::uint8_t, 4> magic{};
    return file.IsOpen() && file.ReadAt(0, magic) && std::equal(magic.begin(), magic.end(), "PACK");
}

// ---- pack

// No entry name, from an archive or a document, may name a place outside the target folder.
bool IsSafeEntryName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string_view::npos;
}

StoredForm FormFromOptions(const Arguments& arguments) {
    StoredForm form;
    form.Legacy = arguments.Has("legacy");
    form.Form40.Encoded = arguments.Has("encoded");
    form.Form40.WideText = arguments.Has("utf16");
    if (form.Legacy && (form.Form40.Encoded || form.Form40.WideText))
        throw UsageError(Tr("--legacy can't be combined with --encoded or --utf16"));
    return form;
}

std::string EntryNameOf(const fs::path& file) {
    const std::string name = file.filename().string();
    std::string ansi = Utf8ToAnsi(name);
    if (AnsiToUtf8(ansi) != name)
        throw ToolFailure(Format(Tr("{1}: the name has characters outside Windows-1250"), name));
    if (ansi.size() > PackArchive::kNameSize)
        throw ToolFailure(Format(Tr("{1}: the name is longer than 120 bytes"), name));
    return ansi;
}

// The regular files of the folder sorted by name, OUT left out should it lie there.
std::vector<fs::path> FolderFiles(const fs::path& folder, const fs::path& out) {
    std::error_code error;
    if (!fs::is_directory(folder, error))
        throw ToolFailure(Format(Tr("{1} is not a folder"), folder.string()));
    std::vector<fs::path> files;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code ignored;
        if (it->is_regular_file(ignored) && !fs::equivalent(it->path(), out, ignored))
            files.push_back(it->path());
    }
    if (error)
        throw ToolFailure(Format(Tr("can't list {1}: {2}"), folder.string(), error.message()));
    std::sort(files.begin(), files.end(),
              [](const fs::path& a, const fs::path& b) { return a.filename().string() < b.filename().string(); });
    return files;
}

// READ, when given, gets the path of every file read.
std::vector<PakEntry> ReadFolderEntries(const fs::path& folder, const fs::path& out,
                                        std::vector<fs::path>* read = nullptr) {
    std::vector<PakEntry> entries;
    std::uintmax_t total = 0;
    for (const fs::path& file : FolderFiles(folder, out)) {
        PakEntry entry{EntryNameOf(file), {}};
        if (const int same = FindEntry(entries, entry.Name); same >= 0)
            throw ToolFailure(
                Format(Tr("{1} and {2} differ only in letter case; the program would read only one of them"),
                       file.filename().string(), AnsiToUtf8(entries[same].Name)));
        entry.Data = ReadWholeFile(file, kMaxArchiveSize - total);
        if (read)
            read->push_back(file);
        total += entry.Data.size();
        entries.push_back(std::move(entry));
    }
    return entries;
}

void ConvertAttachedText(std::vector<PakEntry>& entries, const std::string& textName) {
    const int text = textName.empty() ? -1 : FindEntry(entries, textName);
    if (text >= 0 && IsUtf8Text(entries[text].Data))
        entries[text].Data = Utf8TextToAnsi(entries[text].Data, AnsiToUtf8(entries[text].Name));
}

// The question document in the options' form and UTF-8 sources in forms the program
// reads; anything else stays as it is.
void PrepareQuestion(std::vector<PakEntry>& entries, const StoredForm& form, std::ostream& warnings) {
    const bool convert = form.Legacy || form.Form40.Encoded || form.Form40.WideText;
    const int source = FindEntry(entries, kQuestionDocument40);
    if (source < 0) {
        if (convert)
            throw ToolFailure(Format(Tr("the folder holds no {1} to convert"), kQuestionDocument40));
        return;
    }
    const Bytes& data = entries[source].Data;
    QuestionDocument question;
    std::optional<Bytes> stored;
    if (IsUtf8Document(data)) {
        PackedQuestion packed = PackUtf8Question(data, AnsiToUtf8(entries[source].Name), form, warnings);
        question = std::move(packed.Fields);
        stored = std::move(packed.Stored);
    } else {
        question = ParseQuestionXml(data);
        if (convert)
            stored = WriteQuestionDocument(question, form);
    }
    if (convert)
        ReplaceQuestionDocument(entries, PakEntry{std::string(form.EntryName()), std::move(*stored)});
    else if (stored)
        entries[source].Data = std::move(*stored);
    ConvertAttachedText(entries, question.TextName);
}

// ---- pack-set

// A question of a set's source: a folder with its own files, or a document in the set's folder
// whose picture and text lie beside it.
struct QuestionSource {
    fs::path Path;
    bool Folder = false;

    fs::path FileName() const { return (Folder ? Path.filename() : Path.stem()).string() + ".skq"; }
};

bool HoldsQuestionDocument(const fs::path& folder) {
    std::error_code error;
    return fs::is_regular_file(folder / kQuestionDocument40, error) ||
           fs::is_regular_file(folder / kQuestionDocument35, error);
}

std::vector<QuestionSource> QuestionSources(const fs::path& source) {
    std::vector<QuestionSource> sources;
    std::error_code error;
    for (fs::directory_iterator it(source, error), end; !error && it != end; it.increment(error)) {
        std::error_code ignored;
        if (it->is_directory(ignored) && HoldsQuestionDocument(it->path()))
            sources.push_back({it->path(), true});
        else if (it->is_regular_file(ignored) && SameAnsiTextIgnoringCase(it->path().extension().string(), ".xml"))
            sources.push_back({it->path(), false});
    }
    if (error)
        throw ToolFailure("can't list " + source.string() + ": " + error.message());
    std::sort(sources.begin(), sources.end(),
              [](const QuestionSource& a, const QuestionSource& b) { return a.Path.filename() < b.Path.filename(); });
    return sources;
}

// A lone document and the files it names, taken from its folder; their paths are added to READ.
std::vector<PakEntry> DocumentEntries(const fs::path& document, std::vector<fs::path>& read) {
    PakEntry entry{std::string(kQuestionDocument40), ReadWholeFile(document, EntryCap::kQuestionDocument)};
    read.push_back(document);
    std::ostringstream ignored; // pack reports the document's problems when it stores it
    const QuestionDocument fields = IsUtf8Document(entry.Data)
                                        ? PackUtf8Question(entry.Data, document.string(), {}, ignored).Fields
                                        : ParseQuestionXml(entry.Data);
    std::vector<PakEntry> entries = {std::move(entry)};
    for (const std::string& name : {fields.PictureName, fields.TextName}) {
        if (name.empty() || FindEntry(entries, name) >= 0)
            continue;
        if (!IsSafeEntryName(name))
            throw ToolFailure(Format(Tr("names \"{1}\", which is no file beside it"), AnsiToUtf8(name)));
        const fs::path file = document.parent_path() / AnsiToUtf8(name);
        entries.push_back({name, ReadWholeFile(file, EntryCap::kPicture)});
        read.push_back(file);
    }
    return entries;
}

// A file name as Make and Ninja read it back from a rule, escaped as compilers write it: a space,
// '#' and '$' escaped, and the backslashes before a space doubled, since there one escapes the next.
std::string DepfileName(const std::string& name) {
    std::string escaped;
    std::size_t backslashes = 0;
    for (const char c : name) {
        if (c == ' ')
            escaped.append(backslashes + 1, '\\');
        else if (c == '#')
            escaped += '\\';
        else if (c == '$')
            escaped += '$';
        escaped += c;
        backslashes = c == '\\' ? backslashes + 1 : 0;
    }
    return escaped;
}

// "OUT...: IN...", each file read named once, so that a build tool repacks when any of them changes.
Bytes DepfileRule(const std::vector<fs::path>& written, const std::vector<fs::path>& read) {
    std::string rule;
    for (const fs::path& file : written)
        rule += DepfileName(file.string()) + ' ';
    rule.back() = ':';
    std::set<fs::path> listed;
    for (const fs::path& file : read)
        if (listed.insert(file).second)
            rule += " \\\n  " + DepfileName(file.string());
    rule += '\n';
    return Bytes(rule.begin(), rule.end());
}

// ---- unpack

// What unpack writes: an archive entry by index, or bytes made here (Index -1).
struct PlannedFile {
    std::string Name;
    int Index = -1;
    Bytes Data;
};

void OpenArchive(PackArchive& pak, const fs::path& file) {
    bool magic = false;
    try {
        magic = pak.Open(file);
    } catch (const StorageError&) {
        throw ToolFailure(Format(Tr("{1} can't be read as an archive"), file.string()));
    }
    if (!magic)
        throw ToolFailure(Format(Tr("{1} is not an archive"), file.string()));
}

// Every entry of the archive, each name once (the first, which the program reads), checked
// against the file before anything is extracted.
std::vector<PlannedFile> PlanEntries(const PackArchive& pak, std::ostream& err) {
    std::error_code error;
    const std::uintmax_t fileSize = fs::file_size(pak.FileName(), error);
    if (error)
        throw ToolFailure(Format(Tr("can't read {1}: {2}"), pak.FileName().string(), error.message()));
    std::vector<PlannedFile> planned;
    for (int i = 0; i < pak.EntryCount(); ++i) {
        const std::string& name = pak.NameAt(i);
        if (!IsSafeEntryName(name))
            throw ToolFailure(
                Format(Tr("the entry name \"{1}\" points outside the folder; nothing was written"), AnsiToUtf8(name)));
        if (pak.OffsetAt(i) < 0 || pak.SizeAt(i) < 0 ||
            std::uintmax_t(pak.OffsetAt(i)) + std::uintmax_t(pak.SizeAt(i)) > fileSize)
            throw ToolFailure(Format(Tr("the entry {1} lies outside the file; nothing was written"), AnsiToUtf8(name)));
        if (FindEntry(planned, name) >= 0) {
            err << Format(Tr("skipped a later entry named {1} (the program reads the first)"), AnsiToUtf8(name))
                << '\n';
            continue;
        }
        planned.push_back({name, i, {}});
    }
    return planned;
}

// Replaces the question document the program reads (3.5 before 4.0) by a plain 4.0 one.
void DecodeQuestionDocument(std::vector<PlannedFile>& planned, const PackArchive& pak, std::ostream& err) {
    QuestionDocument question;
    if (const int txp = FindEntry(planned, kQuestionDocument35); txp >= 0)
        question = ParseQuestionLines(pak.ExtractAt(planned[txp].Index, EntryCap::kQuestionDocument));
    else if (const int xml = FindEntry(planned, kQuestionDocument40); xml >= 0)
        question = ParseQuestionXml(pak.ExtractAt(planned[xml].Index, EntryCap::kQuestionDocument));
    else {
        err << Tr("no question document to decode; the entries are written as stored") << '\n';
        return;
    }
    ReplaceQuestionDocument(planned, PlannedFile{std::string(kQuestionDocument40), -1, WriteQuestion40(question)});
}

} // namespace

int RunLs(const Arguments& arguments, Io& io) {
    RequirePositional(arguments, 1, 1);
    const fs::path path = arguments.Positional[0];
    PackArchive pak;
    bool ok = false;
    try {
        ok = pak.Open(path);
    } catch (const StorageError&) {
    }
    PrintJson(io.Out, ArchiveJson(ok, StartsWithMagic(path), pak));
    return ok ? kExitOk : kExitFailed;
}

int RunPack(const Arguments& arguments, Io& io) {
    RequirePositional(arguments, 2, 2);
    const StoredForm form = FormFromOptions(arguments);
    const fs::path source = arguments.Positional[0];
    const fs::path out = arguments.Positional[1];
    RefuseExisting(std::span(&out, 1), arguments.Has("force"));

    std::vector<PakEntry> entries = ReadFolderEntries(source, out);
    PrepareQuestion(entries, form, io.Err);
    FileBatch written;
    written.Write(out, BuildPak(entries));
    written.Commit();
    io.Out << Format(TrPlural("{1}: {2} entry", "{1}: {2} entries", entries.size()), out.string(), entries.size())
           << '\n';
    return kExitOk;
}

int RunPackSet(const Arguments& arguments, Io& io) {
    RequirePositional(arguments, 2, 2);
    const StoredForm form = FormFromOptions(arguments);
    const fs::path source = arguments.Positional[0];
    const fs::path out = arguments.Positional[1];
    std::error_code error;
    if (!fs::is_directory(source, error))
        throw ToolFailure(Format(Tr("{1} is not a folder"), source.string()));
    if (HoldsQuestionDocument(source))
        throw ToolFailure(
            Format(Tr("{1} is the folder of one question; pack it with \"ludra-skq pack\""), source.string()));
    const std::vector<QuestionSource> sources = QuestionSources(source);
    if (sources.empty())
        throw ToolFailure(Format(Tr("{1} holds no question folder and no question document (.xml)"), source.string()));
    std::vector<fs::path> targets;
    for (const QuestionSource& question : sources)
        targets.push_back(out / question.FileName());
    RefuseExisting(targets, arguments.Has("force"));
    CreateFolder(out);

    std::size_t failed = 0;
    FileBatch written;
    std::vector<fs::path> read;
    for (std::size_t i = 0; i < sources.size(); ++i) {
        try {
            std::vector<PakEntry> entries = sources[i].Folder ? ReadFolderEntries(sources[i].Path, targets[i], &read)
                                                              : DocumentEntries(sources[i].Path, read);
            PrepareQuestion(entries, form, io.Err);
            written.Write(targets[i], BuildPak(entries));
        } catch (const ToolFailure& failure) {
            io.Err << sources[i].Path.filename().string() << ": " << failure.what() << '\n';
            ++failed;
        }
    }
    if (const std::string* depfile = arguments.Value("depfile"))
        written.Write(*depfile, DepfileRule(targets, read));
    written.Commit();
    // TRANSLATORS: "Zestawy/Ulamki: 12 of 13 questions packed"
    io.Out << Format(TrPlural("{1}: {2} of {3} question packed", "{1}: {2} of {3} questions packed", sources.size()),
                     out.string(), sources.size() - failed, sources.size());
    io.Out << (failed ? Format(Tr(", {1} failed"), failed) : std::string()) << '\n';
    return failed ? kExitFailed : kExitOk;
}

int RunUnpack(const Arguments& arguments, Io& io) {
    RequirePositional(arguments, 2, 2);
    const fs::path file = arguments.Positional[0];
    const fs::path folder = arguments.Positional[1];
    PackArchive pak;
    OpenArchive(pak, file);
    std::vector<PlannedFile> planned = PlanEntries(pak, io.Err);
    if (arguments.Has("decode"))
        DecodeQuestionDocument(planned, pak, io.Err);

    std::vector<fs::path> targets;
    for (const PlannedFile& entry : planned)
        targets.push_back(folder / AnsiToUtf8(entry.Name));
    RefuseExisting(targets, arguments.Has("force"));
    CreateFolder(folder);
    FileBatch written;
    for (std::size_t i = 0; i < planned.size(); ++i) {
        const PlannedFile& entry = planned[i];
        written.Write(targets[i], entry.Index < 0 ? entry.Data : pak.ExtractAt(entry.Index, EntryCap::kLargest));
    }
    written.Commit();
    io.Out << Format(TrPlural("{1}: {2} file", "{1}: {2} files", planned.size()), folder.string(), planned.size())
           << '\n';
    return kExitOk;
}

} // namespace skq
