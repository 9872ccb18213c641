// import: question files from the quiz formats teachers already use.
#include "core/base/AtomicFile.h"
#include "core/base/CodePage.h"
#include "core/base/FileAccess.h"
#include "core/base/StorageError.h"
#include "core/base/StoredNames.h"
#include "core/selection/SetFolders.h"
#include "core/storage/DocumentFormat.h"
#include "core/storage/PackArchive.h"
#include "core/storage/PakWriter.h"
#include "core/storage/XmlDocument.h"
#include "tools/skq/SkqFolderPlan.h"
#include "tools/skq/SkqQuestionForms.h"
#include "tools/skq/SkqTool.h"
#include "tools/skq/SkqUtf8Sources.h"
#include "tools/skq/formats/HtmlText.h"
#include "tools/skq/formats/ShownPicture.h"
#include "tools/skq/formats/SourceBank.h"
#include "tools/skq/i18n/Translation.h"

#include <algorithm>
#include <fstream>
#include <ostream>
#include <set>
#include <unordered_map>

namespace skq {

namespace {

namespace fs = std::filesystem;

// Far above any real question bank; keeps a wrong file from being read whole.
constexpr std::uintmax_t kMaxSourceSize = 256u << 20;

struct QuizFormat {
    std::string_view Name;
    SourceBank (*Read)(std::string_view);
};

constexpr QuizFormat kFormats[] = {
    {"aiken", ReadAiken},
    {"gift", ReadGift},
    {"moodle", ReadMoodleXml},
    {"csv", ReadCsv},
};

const QuizFormat& FormatNamed(std::string_view name) {
    for (const QuizFormat& format : kFormats)
        if (format.Name == name)
            return format;
    throw UsageError(Tr("--format must be aiken, gift, moodle or csv"));
}

bool HasLineStarting(std::string_view text, std::string_view start) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        std::string_view line = text.substr(at, end - at);
        line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
        if (line.starts_with(start))
            return true;
        at = end + 1;
    }
    return false;
}

std::string LowerExtension(const fs::path& file) {
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return extension;
}

// The format the content shows, the extension deciding where the content could be either.
const QuizFormat& GuessFormat(std::string_view text, const fs::path& file) {
    const std::string extension = LowerExtension(file);
    const std::string_view start = text.substr(std::min(text.find_first_not_of(" \t\r\n"), text.size()));
    if (extension == ".xml" || start.starts_with('<'))
        return FormatNamed("moodle");
    if (extension == ".csv" || extension == ".tsv")
        return FormatNamed("csv");
    if (extension == ".gift")
        return FormatNamed("gift");
    if (HasLineStarting(text, "ANSWER:"))
        return FormatNamed("aiken");
    if (text.find('{') != std::string_view::npos && text.find('}') != std::string_view::npos)
        return FormatNamed("gift");
    const std::string_view firstLine = text.substr(0, text.find('\n'));
    if (firstLine.find_first_of(";\t,") != std::string_view::npos)
        return FormatNamed("csv");
    throw UsageError(Format(Tr("can't tell the format of {1}; give it with --format"), file.string()));
}

// ---- questions

// Far above any real question's texts: a text beyond it is refused before it is flattened.
constexpr std::size_t kMaxSourceTexts = 16 * static_cast<std::size_t>(EntryCap::kQuestionDocument);
// What the converted pictures kept for questions to come may take.
constexpr std::size_t kPictureCacheBudget = 64u << 20;

// Plain text as the labels show it: Unix line ends, no control characters, no edge spaces
// (the program's reader trims those anyway).
std::string Tidy(std::string_view text) {
    std::string tidy;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r')
            tidy += i + 1 < text.size() && text[i + 1] == '\n' ? "" : "\n";
        else if (static_cast<unsigned char>(c) >= 0x20 || c == '\n' || c == '\t')
            tidy += c;
    }
    const std::size_t first = tidy.find_first_not_of(" \t\n");
    if (first == std::string::npos)
        return {};
    return tidy.substr(first, tidy.find_last_not_of(" \t\n") - first + 1);
}

std::string PlainText(const SourceText& text, std::vector<std::string>* images = nullptr) {
    if (!text.Html)
        return Tidy(text.Text);
    FlatText flat = FlattenHtml(text.Text);
    if (images)
        *images = std::move(flat.Images);
    return Tidy(flat.Text);
}

// The name under which the picture is stored: its own when the program can look it up, else a plain one.
std::string PictureEntryName(const ShownPicture& picture) {
    const std::string name = fs::path(picture.Name).filename().string();
    const std::string ansi = Utf8ToAnsi(name);
    if (!name.empty() && AnsiToUtf8(ansi) == name && ansi.size() <= PackArchive::kNameSize &&
        !IsQuestionDocument(ansi) && IsShownPictureName(ansi))
        return ansi;
    return "obrazek" + fs::path(picture.Name).extension().string();
}

// A relative path that stays in the folder, also where links lead.
bool LiesInside(const fs::path& folder, const fs::path& relative) {
    if (relative.is_absolute() || relative.empty() || *relative.begin() == "..")
        return false;
    std::error_code error;
    const fs::path real = fs::weakly_canonical(folder / relative, error);
    const fs::path base = fs::weakly_canonical(folder, error);
    const fs::path inside = fs::relative(real, base, error);
    return !error && !inside.empty() && *inside.begin() != "..";
}

std::size_t CodePointCount(std::string_view utf8) {
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// A question's texts as the program shows them, ready to be stored.
struct PreparedQuestion {
    const SourceQuestion* Source = nullptr;
    std::string Text;
    std::vector<std::string> Answers;
    std::string Hint;
    std::string PictureReference; // as the source names it; empty: none
};

// A picture converted for the program, or why it can't be shown.
struct ConvertedPicture {
    std::optional<PakEntry> Entry;
    std::string Problem;
};

// Each distinct picture is converted once however many questions show it; what is kept for
// the questions to come stays within a budget, so pictures never pile up in memory.
class PictureCache {
public:
    const ConvertedPicture& Convert(const std::string& name, ByteView data) {
        const std::size_t key = std::hash<std::string_view>{}(AsText(data)) ^ std::hash<std::string>{}(name);
        for (auto [at, end] = kept_.equal_range(key); at != end; ++at)
            if (at->second.Name == name &&
                std::equal(data.begin(), data.end(), at->second.Source.begin(), at->second.Source.end()))
                return at->second.Picture;
        Kept kept{name, Bytes(data.begin(), data.end()), ToPicture(name, data)};
        const std::size_t size = kept.Source.size() + (kept.Picture.Entry ? kept.Picture.Entry->Data.size() : 0);
        if (keptBytes_ + size > kPictureCacheBudget) {
            kept_.clear();
            keptBytes_ = 0;
        }
        keptBytes_ += size;
        return kept_.emplace(key, std::move(kept))->second.Picture;
    }

private:
    struct Kept {
        std::string Name;
        Bytes Source;
        ConvertedPicture Picture;
    };

    static std::string_view AsText(ByteView data) { return {reinterpret_cast<const char*>(data.data()), data.size()}; }

    static ConvertedPicture ToPicture(const std::string& name, ByteView data) {
        try {
            ShownPicture picture = ToShownPicture(name, data);
            return {PakEntry{PictureEntryName(picture), std::move(picture.Data)}, {}};
        } catch (const PictureProblem& problem) {
            return {std::nullopt, problem.what()};
        }
    }

    std::unordered_multimap<std::size_t, Kept> kept_;
    std::size_t keptBytes_ = 0;
};

class Importer {
public:
    Importer(fs::path sourceFolder, std::ostream& report) : sourceFolder_(std::move(sourceFolder)), report_(report) {}

    // The question's texts, or nothing when the program can't hold the question (noted in Skipped).
    std::optional<PreparedQuestion> Prepare(const SourceQuestion& question) {
        if (SourceSize(question) > kMaxSourceTexts)
            return Skip(question, TooLarge());
        if (NeedsSoundOrVideo(question))
            return Skip(question, SoundOrVideoReason());
        PreparedQuestion prepared{&question, {}, {}, {}, {}};
        std::vector<std::string> images;
        prepared.Text = PlainText(question.Text, &images);
        for (const SourceText& answer : question.Answers)
            prepared.Answers.push_back(PlainText(answer));
        prepared.Hint = PlainText(question.Hint);
        prepared.PictureReference = !question.Picture.empty() ? question.Picture
                                    : images.empty()          ? std::string()
                                                              : images.front();
        if (std::string why = Unfit(prepared); !why.empty())
            return Skip(question, std::move(why));
        if (!FitsItsDocument(prepared))
            return Skip(question, TooLarge());
        return prepared;
    }

    // The question file's entries, the document first; nothing when it can't be stored after all.
    std::optional<std::vector<PakEntry>> Entries(const PreparedQuestion& prepared) {
        const SourceQuestion& question = *prepared.Source;
        const std::optional<PakEntry> picture =
            prepared.PictureReference.empty() ? std::nullopt : PictureOf(question, prepared.PictureReference);
        if (prepared.Text.empty() && !picture)
            return Skip(question, Tr("no question text"));
        Bytes document = Document(prepared, picture ? picture->Name : std::string(), report_);
        if (document.size() > static_cast<std::size_t>(EntryCap::kQuestionDocument))
            return Skip(question, TooLarge());
        std::vector<PakEntry> entries{{std::string(kQuestionDocument40), std::move(document)}};
        if (picture)
            entries.push_back(std::move(*picture));
        return entries;
    }

    std::vector<SkippedQuestion> Skipped;

private:
    static std::size_t SourceSize(const SourceQuestion& question) {
        std::size_t size = question.Text.Text.size() + question.Hint.Text.size();
        for (const SourceText& answer : question.Answers)
            size += answer.Text.size();
        return size;
    }

    static std::size_t TextCodePoints(const PreparedQuestion& prepared) {
        std::size_t count = CodePointCount(prepared.Text) + CodePointCount(prepared.Hint);
        for (const std::string& answer : prepared.Answers)
            count += CodePointCount(answer);
        return count;
    }

    // Every character takes a byte of the document at least, and a dozen at most (escapes,
    // UTF-16); near the cap, the document is built to know, with a picture name as long as any.
    bool FitsItsDocument(const PreparedQuestion& prepared) {
        constexpr auto kCap = static_cast<std::size_t>(EntryCap::kQuestionDocument);
        constexpr std::size_t kMostBytesPerChar = 12, kFrame = 4096;
        const std::size_t chars = TextCodePoints(prepared);
        if (chars > kCap)
            return false;
        std::ostream silent(nullptr);
        return chars * kMostBytesPerChar + kFrame <= kCap ||
               Document(prepared, std::string(PackArchive::kNameSize, 'x'), silent).size() <= kCap;
    }

    static std::string TooLarge() { return Tr("too large: a question document holds at most 4 MB"); }

    std::nullopt_t Skip(const SourceQuestion& question, std::string why) {
        Skipped.push_back({question.Where, std::move(why)});
        return std::nullopt;
    }

    static std::string Unfit(const PreparedQuestion& prepared) {
        const SourceQuestion& question = *prepared.Source;
        const std::vector<std::string>& answers = prepared.Answers;
        const auto right = std::count(question.Right.begin(), question.Right.end(), true);
        if (answers.size() < 3 || answers.size() > 5)
            return Format(TrPlural("{1} answer; a question here has 3 to 5", "{1} answers; a question here has 3 to 5",
                                   answers.size()),
                          answers.size());
        if (question.Right.size() != answers.size() || right == 0)
            return Tr("no right answer");
        if (right > 1 && !question.SeveralRight)
            return Tr("several right answers, but only one answer can be chosen");
        // A picture alone makes a question too.
        if (prepared.Text.empty() && prepared.PictureReference.empty())
            return Tr("no question text");
        for (std::size_t i = 0; i < answers.size(); ++i)
            if (answers[i].empty())
                return Format(Tr("answer {1} is empty"), std::string(1, static_cast<char>('A' + i)));
        return {};
    }

    static Bytes Document(const PreparedQuestion& prepared, const std::string& pictureName, std::ostream& warnings) {
        const SourceQuestion& question = *prepared.Source;
        XmlDocument document;
        XmlNode& top = document.Root.AddChild(QuestionElement::Top);
        const auto field = [&](std::u16string_view name, const std::string& value) {
            if (!value.empty())
                top.AddChild(name).Text = Utf8ToWide(value);
        };
        field(QuestionElement::Type, question.SeveralRight ? "1" : "0");
        field(QuestionElement::AnswerCount, std::to_string(prepared.Answers.size()));
        field(QuestionElement::Text, prepared.Text);
        std::string key;
        for (std::size_t i = 0; i < prepared.Answers.size(); ++i) {
            field(QuestionElement::Answer(static_cast<int>(i + 1)), prepared.Answers[i]);
            key += question.Right[i] ? '1' : '0';
        }
        field(QuestionElement::Key, key);
        field(QuestionElement::PictureName, AnsiToUtf8(pictureName));
        field(QuestionElement::Hint, prepared.Hint);
        return PackWideQuestion(document, question.Where, StoredForm{}, warnings).Stored;
    }

    void Warn(const SourceQuestion& question, const std::string& what) {
        report_ << Format(Tr("{1}: {2}; imported without the picture"), question.Where, what) << '\n';
    }

    std::optional<PakEntry> PictureOf(const SourceQuestion& question, const std::string& reference) {
        std::string name = PercentDecoded(reference);
        if (name.starts_with("@@PLUGINFILE@@/"))
            name.erase(0, 15);
        const auto embedded = std::find_if(question.Files.begin(), question.Files.end(),
                                           [&](const EmbeddedFile& file) { return file.Name == name; });
        std::optional<Bytes> beside;
        if (embedded == question.Files.end() && !(beside = FileBeside(question, name)))
            return std::nullopt;
        const ConvertedPicture& picture =
            pictures_.Convert(name, beside ? ByteView(*beside) : ByteView(embedded->Data));
        if (!picture.Entry)
            Warn(question, picture.Problem);
        return picture.Entry;
    }

    // A picture file the source names: only inside the source's folder, never from the web,
    // so an imported file can't carry away other files of the teacher's.
    std::optional<Bytes> FileBeside(const SourceQuestion& question, const std::string& name) {
        const fs::path relative = fs::path(name).lexically_normal();
        if (name.find("://") != std::string::npos || name.starts_with("data:")) {
            Warn(question, Format(Tr("the picture {1} is not a file beside the source"), name));
            return std::nullopt;
        }
        if (!LiesInside(sourceFolder_, relative)) {
            Warn(question, Format(Tr("the picture {1} lies outside the source's folder"), name));
            return std::nullopt;
        }
        try {
            return ReadWholeFile(sourceFolder_ / relative, EntryCap::kPicture);
        } catch (const ToolFailure& failure) {
            Warn(question, failure.what());
        }
        return std::nullopt;
    }

    fs::path sourceFolder_;
    std::ostream& report_;
    PictureCache pictures_;
};

// ---- folders

std::string QuestionFileName(std::size_t index, std::size_t count) {
    const std::string number = std::to_string(index + 1);
    const std::size_t width = std::max<std::size_t>(2, std::to_string(count).size());
    return std::string(stored::kQuestionFileStem) + std::string(width - number.size(), '0') + number +
           std::string(stored::kQuestionFileExtension);
}

// A question file as an import names it.
bool IsImportedQuestionName(std::string_view name) {
    constexpr std::string_view kStart = stored::kQuestionFileStem, kEnd = stored::kQuestionFileExtension;
    if (!name.starts_with(kStart) || !name.ends_with(kEnd) || name.size() < kStart.size() + kEnd.size() + 2)
        return false;
    const std::string_view number = name.substr(kStart.size(), name.size() - kStart.size() - kEnd.size());
    return std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Every file the import writes, refused when one exists (or, with force, replaced), and
// refused when a set folder holds other question files, which would join the set. The
// question files an earlier import wrote that this one doesn't write again: with force, the
// set replaces them, so they go once it is written.
std::vector<fs::path> RefuseClashes(const std::vector<PlannedSet>& sets, const FolderPlan& plan, bool force) {
    std::vector<fs::path> targets, earlier;
    for (const auto& [folder, title] : plan.Titles)
        targets.push_back(folder / stored::kSetTitleFile);
    for (const PlannedSet& set : sets) {
        std::vector<std::string> present;
        std::error_code error;
        if (fs::is_directory(set.Folder, error))
            ListQuestionFiles(set.Folder, present);
        std::set<std::string> own;
        for (std::size_t i = 0; i < set.Questions.size(); ++i)
            targets.push_back(set.Folder / *own.insert(QuestionFileName(i, set.Questions.size())).first);
        for (const std::string& name : present) {
            // What an earlier import that was killed left is cleared away by this one.
            if (IsTemporaryFileName(name) || own.contains(name))
                continue;
            if (!IsImportedQuestionName(name))
                throw ToolFailure(
                    Format(Tr("{1} already holds other question files ({2}); import into an empty folder"),
                           set.Folder.string(), AnsiToUtf8(name)));
            earlier.push_back(set.Folder / name);
        }
    }
    targets.insert(targets.end(), earlier.begin(), earlier.end());
    RefuseExisting(targets, force);
    return earlier;
}

void WriteTitles(const FolderPlan& plan) {
    FileBatch titles;
    for (const auto& [folder, title] : plan.Titles) {
        CreateFolder(folder);
        const std::string line = title + "\n";
        titles.Write(folder / stored::kSetTitleFile, Bytes(line.begin(), line.end()));
    }
    titles.Commit();
}

// Each question is converted and written in turn, so no more than one question's pictures are
// held at a time. The count of questions written.
std::size_t WriteSets(const std::vector<PlannedSet>& sets, const std::vector<PreparedQuestion>& questions,
                      Importer& importer, FileBatch& files) {
    std::size_t written = 0;
    for (const PlannedSet& set : sets) {
        CreateFolder(set.Folder);
        for (std::size_t i = 0; i < set.Questions.size(); ++i) {
            if (const auto entries = importer.Entries(questions[set.Questions[i]])) {
                files.Write(set.Folder / QuestionFileName(i, set.Questions.size()), BuildPak(*entries));
                ++written;
            }
        }
    }
    files.Commit();
    return written;
}

// The source's text in UTF-8: a byte order mark says UTF-8 or UTF-16, else valid UTF-8 is
// taken as such and anything else as Windows-1250, what older Polish editors write.
std::string SourceAsUtf8(ByteView bytes, std::string_view name, std::ostream& report) {
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const bool little = text.starts_with("\xFF\xFE"), big = text.starts_with("\xFE\xFF");
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3); // one mark; what follows is text, marks included
    } else if (little || big) {
        std::u16string wide;
        for (std::size_t i = 2; i + 1 < text.size(); i += 2)
            wide += static_cast<char16_t>(little ? bytes[i] | bytes[i + 1] << 8 : bytes[i] << 8 | bytes[i + 1]);
        return WideToUtf8(wide);
    }
    if (FindInvalidUtf8(text) == std::string_view::npos)
        return std::string(text);
    report << Format(Tr("{1} is not UTF-8; read as Windows-1250"), name) << '\n';
    return AnsiToUtf8(text);
}

} // namespace

int RunImport(const Arguments& arguments, Io& io) {
    RequirePositional(arguments, 2, 2);
    const fs::path source = arguments.Positional[0];
    const fs::path out = arguments.Positional[1];
    const std::string text = SourceAsUtf8(ReadWholeFile(source, kMaxSourceSize), source.string(), io.Err);
    const QuizFormat& format =
        arguments.Value("format") ? FormatNamed(*arguments.Value("format")) : GuessFormat(text, source);
    const SourceBank bank = format.Read(text);

    // A bare file name lies in the current folder.
    Importer importer(source.has_parent_path() ? source.parent_path() : fs::path("."), io.Err);
    importer.Skipped = bank.Skipped;
    std::vector<PreparedQuestion> questions;
    for (const SourceQuestion& question : bank.Questions)
        if (std::optional<PreparedQuestion> prepared = importer.Prepare(question))
            questions.push_back(std::move(*prepared));
    auto reportSkipped = [&, reported = std::size_t{0}]() mutable {
        for (; reported < importer.Skipped.size(); ++reported)
            io.Err << Format(Tr("skipped {1}: {2}"), importer.Skipped[reported].Where, importer.Skipped[reported].Why)
                   << '\n';
    };
    reportSkipped();
    for (const SourceNote& note : bank.Notes)
        io.Err << Format(Tr("{1}: {2}"), note.Where, note.What) << '\n';
    if (questions.empty())
        throw ToolFailure(
            Format(Tr("{1}: no question to import ({2} skipped)"), source.string(), importer.Skipped.size()));

    FolderPlan plan(out);
    std::vector<std::vector<std::string>> categories;
    for (const PreparedQuestion& question : questions)
        categories.push_back(question.Source->Category);
    const std::vector<PlannedSet> sets = PlanSets(categories, plan, source.stem().string());
    const std::vector<fs::path> earlier = RefuseClashes(sets, plan, arguments.Has("force"));
    FileBatch files;
    std::size_t imported = 0;
    try {
        WriteTitles(plan);
        imported = WriteSets(sets, questions, importer, files);
    } catch (const StorageError& error) {
        reportSkipped();
        // TRANSLATORS: "can't write Zestawy/pytanie040.skq: No space left on device; the sets in Zestawy are
        // incomplete: 39 of 100 questions written"
        throw ToolFailure(Format(Tr("{1}; the sets in {2} are incomplete: {3} of {4} questions written"), error.what(),
                                 out.string(), files.Committed(), questions.size()));
    }
    reportSkipped();
    for (const fs::path& file : earlier) {
        std::error_code gone;
        fs::remove(file, gone);
    }
    // TRANSLATORS: "bank.gift (gift): 12 questions imported into 2 sets in Zestawy, 1 skipped"
    io.Out << Format(Tr("{1} ({2}): {3} imported into {4} in {5}, {6} skipped"), source.string(), format.Name,
                     Format(TrPlural("{1} question", "{1} questions", imported), imported),
                     Format(TrPlural("{1} set", "{1} sets", sets.size()), sets.size()), out.string(),
                     importer.Skipped.size())
           << '\n';
    if (arguments.Has("list"))
        WriteSetList(out, out / stored::kSetListFile, arguments.Has("force"), io.Out);
    return kExitOk;
}

} // namespace skq
