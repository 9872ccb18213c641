// import: question files from the quiz formats teachers already use.
#include "core/base/AtomicFile.h"
#include "core/base/CodePage.h"
#include "core/base/FileAccess.h"
#include "core/selection/SetFolders.h"
#include "core/storage/DocumentFormat.h"
#include "core/storage/PakWriter.h"
#include "core/storage/UPak.h"
#include "core/storage/pkXML.h"
#include "tools/skq/SkqQuestionForms.h"
#include "tools/skq/SkqTool.h"
#include "tools/skq/SkqUtf8Sources.h"
#include "tools/skq/formats/HtmlText.h"
#include "tools/skq/formats/ShownPicture.h"
#include "tools/skq/formats/SourceBank.h"
#include "tools/skq/i18n/Translation.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <ostream>

namespace skq {

namespace {

namespace fs = std::filesystem;

// Far above any real question bank; keeps a wrong file from being read whole.
constexpr std::uintmax_t kMaxSourceSize = 256u << 20;
constexpr std::size_t kMaxFolderName = 64;

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

struct QuestionFile {
    std::vector<std::string> Category;
    std::vector<PakEntry> Entries; // the document first
};

// Plain text as the labels show it: Unix line ends, no control characters, no edge spaces
// (the program's reader trims those anyway).
std::string Tidy(std::string text) {
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
    return Tidy(std::move(flat.Text));
}

std::string PercentDecoded(std::string_view text) {
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto hex = [&](std::size_t at) {
            return at < text.size() && std::isxdigit(static_cast<unsigned char>(text[at]));
        };
        if (text[i] == '%' && hex(i + 1) && hex(i + 2)) {
            decoded += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

// The name under which the picture is stored: its own when the program can look it up, else a plain one.
std::string PictureEntryName(const ShownPicture& picture) {
    const std::string name = fs::path(picture.Name).filename().string();
    const std::string ansi = Utf8ToAnsi(name);
    if (!name.empty() && AnsiToUtf8(ansi) == name && ansi.size() <= TVfsPAK::kNameSize && !IsQuestionDocument(ansi) &&
        IsShownPictureName(ansi))
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

class Importer {
public:
    Importer(fs::path sourceFolder, std::ostream& report) : sourceFolder_(std::move(sourceFolder)), report_(report) {}

    // The question file, or nothing when the program can't hold the question (noted in Skipped).
    std::optional<QuestionFile> Convert(const SourceQuestion& question) {
        std::vector<std::string> images;
        const std::string text = PlainText(question.Text, &images);
        std::vector<std::string> answers;
        for (const SourceText& answer : question.Answers)
            answers.push_back(PlainText(answer));
        if (const std::string why = Unfit(question, text, answers); !why.empty()) {
            Skipped.push_back({question.Where, why});
            return std::nullopt;
        }
        const std::string reference = !question.Picture.empty() ? question.Picture
                                      : images.empty()          ? std::string()
                                                                : images.front();
        std::optional<PakEntry> picture = reference.empty() ? std::nullopt : PictureOf(question, reference);

        TpkXML document;
        TpkXMLNode& top = document.Root.AddChild(QuestionElement::Top);
        const auto field = [&](std::u16string_view name, const std::string& value) {
            if (!value.empty())
                top.AddChild(name).Text = Utf8ToWide(value);
        };
        field(QuestionElement::Type, question.SeveralRight ? "1" : "0");
        field(QuestionElement::AnswerCount, std::to_string(answers.size()));
        field(QuestionElement::Text, text);
        std::string key;
        for (std::size_t i = 0; i < answers.size(); ++i) {
            field(QuestionElement::Answer(static_cast<int>(i + 1)), answers[i]);
            key += question.Right[i] ? '1' : '0';
        }
        field(QuestionElement::Key, key);
        field(QuestionElement::PictureName, picture ? AnsiToUtf8(picture->Name) : std::string());
        field(QuestionElement::Hint, PlainText(question.Hint));

        QuestionFile file{question.Category, {}};
        PackedQuestion packed = PackWideQuestion(document, question.Where, StoredForm{}, report_);
        file.Entries.push_back({std::string(kQuestionDocument40), std::move(packed.Stored)});
        if (picture)
            file.Entries.push_back(std::move(*picture));
        return file;
    }

    std::vector<SkippedQuestion> Skipped;

private:
    static std::string Unfit(const SourceQuestion& question, const std::string& text,
                             const std::vector<std::string>& answers) {
        const auto right = std::count(question.Right.begin(), question.Right.end(), true);
        if (answers.size() < 3 || answers.size() > 5)
            return Format(TrPlural("{1} answer; a question here has 3 to 5", "{1} answers; a question here has 3 to 5",
                                   answers.size()),
                          answers.size());
        if (question.Right.size() != answers.size() || right == 0)
            return Tr("no right answer");
        if (right > 1 && !question.SeveralRight)
            return Tr("several right answers, but only one answer can be chosen");
        if (text.empty() && question.Picture.empty())
            return Tr("no question text");
        for (std::size_t i = 0; i < answers.size(); ++i)
            if (answers[i].empty())
                return Format(Tr("answer {1} is empty"), std::string(1, static_cast<char>('A' + i)));
        return {};
    }

    void Warn(const SourceQuestion& question, const std::string& what) {
        report_ << "ludra-skq import: " << Format(Tr("{1}: {2}; imported without the picture"), question.Where, what)
                << '\n';
    }

    std::optional<PakEntry> PictureOf(const SourceQuestion& question, const std::string& reference) {
        std::string name = PercentDecoded(reference);
        if (name.starts_with("@@PLUGINFILE@@/"))
            name.erase(0, 15);
        std::optional<Bytes> data;
        for (const EmbeddedFile& file : question.Files)
            if (file.Name == name)
                data = file.Data;
        if (!data && !(data = FileBeside(question, name)))
            return std::nullopt;
        try {
            ShownPicture picture = ToShownPicture(name, *data);
            return PakEntry{PictureEntryName(picture), std::move(picture.Data)};
        } catch (const PictureProblem& problem) {
            Warn(question, problem.what());
        }
        return std::nullopt;
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
};

// ---- folders

// A folder name every system takes, from a category's name.
std::string FolderName(const std::string& name) {
    std::string folder;
    for (const char32_t c : Utf8ToWide(name)) {
        const std::u16string one(1, static_cast<char16_t>(c));
        const bool storable = AnsiToWide(WideToAnsi(one)) == one;
        const bool reserved =
            c < 0x20 || std::u16string_view(u"/\\:*?\"<>|").find(static_cast<char16_t>(c)) != std::u16string_view::npos;
        folder += storable && !reserved ? WideToUtf8(one) : "_";
    }
    while (!folder.empty() && (folder.back() == '.' || folder.back() == ' '))
        folder.pop_back();
    while (folder.size() > kMaxFolderName)
        folder.pop_back();
    while (!folder.empty() && FindInvalidUtf8(folder) != std::string::npos)
        folder.pop_back(); // a character cut in two
    return folder.empty() ? "kategoria" : folder;
}

// A title the set list stores: Windows-1250 without the field separator.
std::string ListTitle(const std::string& name) {
    std::string title = AnsiToUtf8(Utf8ToAnsi(name));
    std::replace(title.begin(), title.end(), '*', '-');
    return title;
}

struct SetFolder {
    fs::path Folder;
    std::vector<QuestionFile> Questions;
};

// Categories deeper than this share the folder of their ancestor at this depth.
constexpr std::size_t kMaxCategoryDepth = 8;

// Folders for category paths: each part named once, names that clash within a parent
// numbered, and a title file wherever the folder's name differs from the category's.
class FolderPlan {
public:
    explicit FolderPlan(fs::path root) : root_(std::move(root)) {}

    // An empty last part stands for a category's own questions, kept beside its subcategories
    // under its name; at the top they take the source's name.
    fs::path FolderOf(std::vector<std::string> path, const std::string& ownName) {
        path.resize(std::min(path.size(), kMaxCategoryDepth));
        fs::path folder = root_;
        for (std::size_t depth = 1; depth <= path.size(); ++depth) {
            const std::vector<std::string> key(path.begin(), path.begin() + depth);
            const auto known = folders_.find(key);
            const std::string& name = !key.back().empty() ? key.back() : depth > 1 ? key[depth - 2] : ownName;
            folder = known != folders_.end() ? known->second : Add(key, folder, name);
        }
        return folder;
    }

    std::vector<std::pair<fs::path, std::string>> Titles;

private:
    fs::path Add(const std::vector<std::string>& key, const fs::path& parent, const std::string& name) {
        fs::path folder = parent / FolderName(name);
        for (int n = 2;
             std::any_of(folders_.begin(), folders_.end(), [&](const auto& used) { return used.second == folder; });
             ++n)
            folder = parent / (FolderName(name) + " " + std::to_string(n));
        folders_[key] = folder;
        if (folder.filename() != name)
            Titles.emplace_back(folder, ListTitle(name));
        return folder;
    }

    fs::path root_;
    std::map<std::vector<std::string>, fs::path> folders_;
};

bool IsPrefix(const std::vector<std::string>& prefix, const std::vector<std::string>& path) {
    return prefix.size() < path.size() && std::equal(prefix.begin(), prefix.end(), path.begin());
}

// One set folder per category with questions, in the order the categories first appear.
std::vector<SetFolder> PlanSets(std::vector<QuestionFile> questions, FolderPlan& plan, const std::string& stem) {
    std::vector<std::vector<std::string>> categories;
    for (const QuestionFile& question : questions)
        if (std::find(categories.begin(), categories.end(), question.Category) == categories.end())
            categories.push_back(question.Category);
    std::vector<SetFolder> sets;
    for (std::vector<std::string> category : categories) {
        SetFolder set;
        for (QuestionFile& question : questions)
            if (question.Category == category)
                set.Questions.push_back(std::move(question));
        const bool hasSubsets = std::any_of(categories.begin(), categories.end(),
                                            [&](const auto& other) { return IsPrefix(category, other); });
        if (hasSubsets)
            category.emplace_back();
        set.Folder = plan.FolderOf(category, stem);
        sets.push_back(std::move(set));
    }
    return sets;
}

std::string QuestionFileName(std::size_t index, std::size_t count) {
    const std::string number = std::to_string(index + 1);
    const std::size_t width = std::max<std::size_t>(2, std::to_string(count).size());
    return "pytanie" + std::string(width - number.size(), '0') + number + ".skq";
}

// Every file the import writes, refused when one exists (or, with force, replaced), and
// refused when a set folder holds other question files, which would join the set.
void RefuseClashes(const std::vector<SetFolder>& sets, const FolderPlan& plan, bool force) {
    std::vector<fs::path> targets;
    for (const auto& [folder, title] : plan.Titles)
        targets.push_back(folder / kTitleFile);
    for (const SetFolder& set : sets) {
        std::vector<std::string> present;
        std::error_code error;
        if (fs::is_directory(set.Folder, error))
            ListQuestionFiles(set.Folder, present);
        for (std::size_t i = 0; i < set.Questions.size(); ++i)
            targets.push_back(set.Folder / QuestionFileName(i, set.Questions.size()));
        for (const std::string& name : present) {
            const fs::path file = set.Folder / AnsiToUtf8(name);
            if (std::find(targets.end() - set.Questions.size(), targets.end(), file) == targets.end())
                throw ToolFailure(
                    Format(Tr("{1} already holds other question files ({2}); import into an empty folder"),
                           set.Folder.string(), AnsiToUtf8(name)));
        }
    }
    RefuseExisting(targets, force);
}

void WriteFolders(const std::vector<SetFolder>& sets, const FolderPlan& plan) {
    for (const auto& [folder, title] : plan.Titles) {
        CreateFolder(folder);
        const std::string line = title + "\n";
        WriteFileAtomically(folder / kTitleFile, Bytes(line.begin(), line.end()));
    }
    for (const SetFolder& set : sets) {
        CreateFolder(set.Folder);
        for (std::size_t i = 0; i < set.Questions.size(); ++i)
            WritePakFile(set.Folder / QuestionFileName(i, set.Questions.size()), set.Questions[i].Entries);
    }
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
    report << "ludra-skq import: " << Format(Tr("{1} is not UTF-8; read as Windows-1250"), name) << '\n';
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

    Importer importer(source.parent_path(), io.Err);
    importer.Skipped = bank.Skipped;
    std::vector<QuestionFile> questions;
    for (const SourceQuestion& question : bank.Questions)
        if (std::optional<QuestionFile> file = importer.Convert(question))
            questions.push_back(std::move(*file));
    for (const SkippedQuestion& skipped : importer.Skipped)
        io.Err << "ludra-skq import: " << Format(Tr("skipped {1}: {2}"), skipped.Where, skipped.Why) << '\n';
    for (const SourceNote& note : bank.Notes)
        io.Err << "ludra-skq import: " << Format(Tr("{1}: {2}"), note.Where, note.What) << '\n';
    if (questions.empty())
        throw ToolFailure(
            Format(Tr("{1}: no question to import ({2} skipped)"), source.string(), importer.Skipped.size()));

    const std::size_t imported = questions.size();
    FolderPlan plan(out);
    const std::vector<SetFolder> sets = PlanSets(std::move(questions), plan, source.stem().string());
    RefuseClashes(sets, plan, arguments.Has("force"));
    WriteFolders(sets, plan);
    // TRANSLATORS: "bank.gift (gift): 12 questions imported into 2 sets in Zestawy, 1 skipped"
    io.Out << Format(Tr("{1} ({2}): {3} imported into {4} in {5}, {6} skipped"), source.string(), format.Name,
                     Format(TrPlural("{1} question", "{1} questions", imported), imported),
                     Format(TrPlural("{1} set", "{1} sets", sets.size()), sets.size()), out.string(),
                     importer.Skipped.size())
           << '\n';
    if (arguments.Has("list"))
        WriteSetList(out, out / "Lista.skz", arguments.Has("force"), io.Out);
    return kExitOk;
}

} // namespace skq
