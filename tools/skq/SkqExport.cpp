// export: a set in the quiz formats other platforms read.
#include "core/base/AtomicFile.h"
#include "core/base/CodePage.h"
#include "core/base/StorageError.h"
#include "core/selection/SetFolders.h"
#include "core/selection/SetTree.h"
#include "core/storage/PackArchive.h"
#include "core/storage/SetListFile.h"
#include "tools/skq/SkqFileNames.h"
#include "tools/skq/SkqQuestionForms.h"
#include "tools/skq/SkqTool.h"
#include "tools/skq/formats/ShownPicture.h"
#include "tools/skq/formats/SourceBank.h"
#include "tools/skq/i18n/Translation.h"

#include <algorithm>
#include <map>
#include <optional>
#include <ostream>
#include <set>

namespace skq {

namespace {

namespace fs = std::filesystem;

// Texts as the formats hold them: UTF-8 with Unix line ends.
std::string ExportedText(std::string_view ansi) {
    std::string text = AnsiToUtf8(ansi);
    std::string tidy;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] != '\r')
            tidy += text[i];
        else if (i + 1 == text.size() || text[i + 1] != '\n')
            tidy += '\n';
    return tidy;
}

QuestionDocument ReadDocument(const PackArchive& pak) {
    // The program reads the old layout first.
    if (PakExists(kQuestionDocument35, pak))
        return ParseQuestionLines(*PakExtract(kQuestionDocument35, EntryCap::kQuestionDocument, pak));
    if (PakExists(kQuestionDocument40, pak))
        return ParseQuestionXml(*PakExtract(kQuestionDocument40, EntryCap::kQuestionDocument, pak));
    throw ToolFailure(Tr("no question document"));
}

// The question's picture as it goes out. Its name becomes a file beside a GIFT document: a plain
// name only, never a path.
std::optional<ShownPicture> PictureOf(const QuestionDocument& document, const PackArchive& pak) {
    const std::string& name = document.PictureName;
    if (name.empty() || name.find_first_of("/\\") != std::string::npos || name == "." || name == "..")
        return std::nullopt;
    std::optional<Bytes> picture = PakExtract(name, EntryCap::kPicture, pak);
    return picture ? std::optional(ExportedPicture(AnsiToUtf8(name), *picture)) : std::nullopt;
}

// A question file as the formats hold it; throws ToolFailure for one the program can't run.
SourceQuestion ReadSetQuestion(const fs::path& file, const std::string& where, std::ostream& report) {
    PackArchive pak;
    if (!PakOpen(file, pak))
        throw ToolFailure(Tr("not an archive the program reads"));
    try {
        const QuestionDocument document = ReadDocument(pak);
        if (document.AnswerCount < 3 || document.AnswerCount > 5)
            throw ToolFailure(Format(Tr("ilo is {1}; a question has 3 to 5 answers"), document.AnswerCount));
        SourceQuestion question;
        question.Where = where;
        question.Text.Text = ExportedText(document.QuestionText);
        for (int i = 0; i < document.AnswerCount; ++i) {
            question.Answers.push_back({ExportedText(document.Answers[i]), false});
            question.Right.push_back(i < int(document.Key.size()) && document.Key[i] == '1');
        }
        question.SeveralRight = document.QuestionType != 0;
        question.Hint.Text = ExportedText(document.Hint);
        if (std::optional<ShownPicture> picture = PictureOf(document, pak)) {
            question.Picture = picture->Name;
            question.Files.push_back({picture->Name, std::move(picture->Data)});
        }
        if (!document.TextName.empty())
            report << Format(Tr("{1}: the attached text {2} is left out; the format has no place for it"),
                             question.Where, AnsiToUtf8(document.TextName))
                   << '\n';
        return question;
    } catch (const StorageError& error) {
        throw ToolFailure(error.what());
    }
}

// GIFT names its pictures as files beside it, under names of ours: safe characters only, never
// the document's own name, each name once in any letter case (a second picture of the same name
// numbered). A name that changes is noted. Only the names are kept while the questions are read:
// each picture is taken from its question file again when it is written.
class PicturesBeside {
public:
    PicturesBeside(const fs::path& out, std::ostream& report) : out_(out), report_(report) {
        taken_.Take(out.filename().string());
    }

    // Gives the question's picture its file and lets go of the picture's data.
    void Place(SourceQuestion& question, const fs::path& questionFile) {
        if (question.Files.empty())
            return;
        const Bytes& data = question.Files.front().Data;
        const std::size_t digest =
            std::hash<std::string_view>{}(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
        const auto [first, last] = placed_.equal_range(question.Picture);
        auto placed = std::find_if(first, last, [&](const auto& known) {
            return known.second.Digest == digest && known.second.Size == data.size();
        });
        if (placed == last) {
            const fs::path file = NewFile(SafePictureFileName(question.Picture));
            if (file.filename() != question.Picture)
                report_ << Format(Tr("{1}: the picture {2} is written as {3}"), question.Where, question.Picture,
                                  file.filename().string())
                        << '\n';
            placed = placed_.emplace(question.Picture, Placed{file, digest, data.size(), questionFile});
        }
        question.Picture = placed->second.File.filename().string();
        question.Files.clear();
    }

    std::vector<fs::path> Files() const {
        std::vector<fs::path> files;
        for (const auto& [name, placed] : placed_)
            files.push_back(placed.File);
        return files;
    }

    void Write(FileBatch& batch) const {
        for (const auto& [name, placed] : placed_) {
            PackArchive pak;
            std::optional<ShownPicture> picture;
            try {
                if (PakOpen(placed.QuestionFile, pak))
                    picture = PictureOf(ReadDocument(pak), pak);
            } catch (const std::exception&) {
                picture.reset(); // told below
            }
            if (!picture || picture->Name != name || picture->Data.size() != placed.Size)
                throw ToolFailure(Format(Tr("{1} changed while it was read"), placed.QuestionFile.string()));
            batch.Write(placed.File, picture->Data);
        }
    }

private:
    struct Placed {
        fs::path File;
        std::size_t Digest = 0;
        std::size_t Size = 0;
        fs::path QuestionFile;
    };

    fs::path NewFile(const fs::path& name) {
        fs::path file = name;
        for (int n = 2; !taken_.Take(file.string()); ++n)
            file = name.stem().string() + "-" + std::to_string(n) + name.extension().string();
        return out_.parent_path() / file;
    }

    fs::path out_;
    std::ostream& report_;
    FolderNames taken_;
    std::multimap<std::string, Placed> placed_; // by the name the question file gives
};

// The sets of a set list, each with the names of the categories above it and its own.
std::vector<TreeSet> SetsInList(const fs::path& list) {
    ReportCollector reports;
    std::vector<std::string> lines;
    SetListHeader header;
    if (!LoadSetList(list, lines, header, reports.AsReporting()))
        throw ToolFailure(Format(Tr("{1}: damaged: {2}"), list.string(), reports.FirstReport()));
    std::map<std::int32_t, SetListEntry> byId;
    std::vector<TreeSet> sets;
    for (const std::string& line : lines) {
        SetListEntry entry;
        if (!ParseEntryLine(line, entry))
            break; // the tree stops there, as in the program
        byId.try_emplace(entry.Id, entry);
        if (entry.Folder.empty())
            continue;
        TreeSet set{ResolveSetFolder(list, entry.Folder), {AnsiToUtf8(entry.Name)}};
        // Each category once, so a parent loop in a damaged list ends.
        std::set<std::int32_t> seen = {entry.Id};
        for (auto parent = byId.find(entry.ParentId); parent != byId.end() && seen.insert(parent->first).second;
             parent = byId.find(parent->second.ParentId))
            set.Titles.insert(set.Titles.begin(), AnsiToUtf8(parent->second.Name));
        sets.push_back(std::move(set));
    }
    return sets;
}

// The sets a source names, each with its category path: a set folder alone and without one; a
// folder of sets, or a set list, with the tree they make.
std::vector<TreeSet> SetsToExport(const fs::path& source) {
    std::error_code error;
    if (fs::is_regular_file(source, error))
        return SetsInList(source);
    if (!fs::is_directory(source, error))
        throw ToolFailure(Format(Tr("{1} is not a folder"), source.string()));
    std::vector<std::string> files;
    ListQuestionFiles(source, files);
    return files.empty() ? SetsInTree(source) : std::vector<TreeSet>{{source, {}}};
}

} // namespace

int RunExport(const Arguments& arguments, Io& io) {
    RequirePositional(arguments, 2, 2);
    const fs::path source = arguments.Positional[0];
    const fs::path out = arguments.Positional[1];
    const std::string* format = arguments.Value("format");
    if (!format || (*format != "gift" && *format != "moodle"))
        throw UsageError(Tr("--format gift or --format moodle is needed"));
    const bool gift = *format == "gift";
    PicturesBeside pictures(out, io.Err);
    std::vector<SourceQuestion> questions;
    std::size_t leftOut = 0;
    for (const TreeSet& set : SetsToExport(source)) {
        std::vector<std::string> files;
        ListQuestionFiles(set.Folder, files);
        for (const std::string& name : files) {
            const fs::path file = set.Folder / AnsiToUtf8(name);
            // Named from the source, as questions of several sets share their file names.
            const std::string where =
                set.Titles.empty() ? AnsiToUtf8(name) : fs::relative(file, source.parent_path()).string();
            try {
                questions.push_back(ReadSetQuestion(file, where, io.Err));
            } catch (const ToolFailure& failure) {
                io.Err << Format(Tr("{1} is left out: {2}"), where, failure.what()) << '\n';
                ++leftOut;
                continue;
            }
            questions.back().Category = set.Titles;
            if (gift)
                pictures.Place(questions.back(), file);
        }
    }
    if (questions.empty())
        throw ToolFailure(Format(Tr("{1} holds no question file to export"), source.string()));

    std::vector<fs::path> targets = pictures.Files();
    targets.push_back(out);
    RefuseExisting(targets, arguments.Has("force"));
    const std::string document = gift ? WriteGift(questions) : WriteMoodleXml(questions);
    FileBatch written;
    pictures.Write(written);
    written.Write(out, Bytes(document.begin(), document.end()));
    written.Commit();
    // TRANSLATORS: "ulamki.xml: 12 questions exported, 1 left out"
    io.Out << Format(TrPlural("{1}: {2} question exported, {3} left out", "{1}: {2} questions exported, {3} left out",
                              questions.size()),
                     out.string(), questions.size(), leftOut)
           << '\n';
    return kExitOk;
}

} // namespace skq
