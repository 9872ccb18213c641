#include "core/storage/UProcReadWrite.h"

#include "core/base/CodePage.h"
#include "core/base/Journal.h"
#include "core/base/ShowWarning.h"
#include "core/base/StorageError.h"
#include "core/storage/UCrypto.h"
#include "core/storage/pkXML.h"

#include <array>
#include <limits>

namespace {

constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::uint8_t kPad = 64;
constexpr std::uint8_t kInvalid = 255;

constexpr std::array<std::uint8_t, 256> MakeValues() {
    std::array<std::uint8_t, 256> values{};
    values.fill(kInvalid);
    for (std::size_t i = 0; i < kAlphabet.size(); ++i)
        values[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::uint8_t>(i);
    values['='] = kPad;
    return values;
}
constexpr std::array<std::uint8_t, 256> kValues = MakeValues();

std::uint8_t ValueOf(char c) {
    const std::uint8_t value = kValues[static_cast<unsigned char>(c)];
    if (value == kInvalid)
        throw StorageError("not a base64 character");
    return value;
}

} // namespace

Bytes DecodeBase64(std::string_view text) {
    Bytes out;
    out.reserve(text.size() / 4 * 3);
    for (std::size_t at = 0; at + 4 <= text.size(); at += 4) {
        const unsigned w = ValueOf(text[at]), x = ValueOf(text[at + 1]);
        const unsigned y = ValueOf(text[at + 2]), z = ValueOf(text[at + 3]);
        out.push_back(static_cast<std::uint8_t>(w * 4 + x / 16));
        if (y == kPad)
            continue;
        out.push_back(static_cast<std::uint8_t>(x * 16 + y / 4));
        if (z != kPad)
            out.push_back(static_cast<std::uint8_t>(y * 64 + z));
    }
    return out;
}

std::u16string DecodeBase64Utf16(std::u16string_view text) {
    std::string narrow(text.size(), '\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        narrow[i] = text[i] < 0x80 ? static_cast<char>(text[i]) : '\x80'; // '\x80' is outside the alphabet
    const Bytes bytes = DecodeBase64(narrow);
    std::u16string wide(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < wide.size(); ++i)
        wide[i] = static_cast<char16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    return wide;
}

std::string EncodeBase64(ByteView bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t at = 0; at < bytes.size(); at += 3) {
        const std::size_t left = bytes.size() - at;
        const unsigned group = bytes[at] << 16 | (left > 1 ? bytes[at + 1] << 8 : 0) | (left > 2 ? bytes[at + 2] : 0);
        out.push_back(kAlphabet[group >> 18 & 63]);
        out.push_back(kAlphabet[group >> 12 & 63]);
        out.push_back(left > 1 ? kAlphabet[group >> 6 & 63] : '=');
        out.push_back(left > 2 ? kAlphabet[group & 63] : '=');
    }
    return out;
}

std::u16string EncodeBase64Utf16(std::u16string_view text) {
    Bytes bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    const std::string encoded = EncodeBase64(bytes);
    return std::u16string(encoded.begin(), encoded.end());
}

namespace {

int DigitValue(char c, int base) {
    int value = 99;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

} // namespace

bool ParseInteger(std::string_view text, std::int32_t& value) {
    std::size_t at = text.find_first_not_of(' ');
    if (at == std::string_view::npos)
        return false;
    const bool negative = text[at] == '-';
    if (text[at] == '-' || text[at] == '+')
        ++at;
    int base = 10;
    if (at < text.size() && text[at] == '$') {
        base = 16;
        ++at;
    } else if (text.substr(at, 2) == "0x" || text.substr(at, 2) == "0X") {
        base = 16;
        at += 2;
    }
    if (at == text.size())
        return false;
    // Hexadecimal spans all 32 bits ($FFFFFFFF is -1); decimal must fit the signed range.
    const std::uint64_t limit =
        base == 16 ? 0xFFFFFFFFull : std::uint64_t{std::numeric_limits<std::int32_t>::max()} + negative;
    std::uint64_t magnitude = 0;
    for (; at < text.size(); ++at) {
        const int digit = DigitValue(text[at], base);
        if (digit < 0)
            return false;
        magnitude = magnitude * base + digit;
        if (magnitude > limit)
            return false;
    }
    const auto bits = static_cast<std::uint32_t>(negative ? 0 - magnitude : magnitude);
    value = static_cast<std::int32_t>(bits);
    return true;
}

namespace {

// The element's raw text, or nullptr with the error set when the lookup fails.
const std::u16string* FindFieldText(std::u16string_view element, std::u16string_view child, int& error,
                                    TpkXML& document) {
    try {
        return &FindOrAddChild(document.FindOrAddNode(element), child).Text;
    } catch (const std::exception&) {
        error = kFieldLookupFailed;
        return nullptr;
    }
}

} // namespace

std::string DecodeFieldText(bool decode, const std::u16string& text, int& error) {
    if (!decode)
        return WideToAnsi(text);
    try {
        return WideToAnsi(DecodeBase64Utf16(text));
    } catch (const StorageError&) {
        error = kFieldNotDecoded;
        return {};
    }
}

std::string ReadFieldText(bool decode, std::u16string_view element, std::u16string_view child, int& error,
                          TpkXML& document) {
    error = kFieldRead;
    const std::u16string* text = FindFieldText(element, child, error, document);
    return text ? DecodeFieldText(decode, *text, error) : std::string{};
}

std::int32_t ReadFieldInt(bool decode, std::u16string_view element, std::u16string_view child, int& error,
                          TpkXML& document) {
    error = kFieldRead;
    const std::u16string* text = FindFieldText(element, child, error, document);
    if (!text)
        return 0;
    std::u16string value = *text;
    if (decode) {
        try {
            value = DecodeBase64Utf16(*text);
        } catch (const StorageError&) {
            error = kFieldNotDecoded;
        }
    }
    std::int32_t number = 0;
    if (!ParseInteger(WideToAnsi(value), number)) {
        error = kFieldNotInteger;
        return 0;
    }
    return number;
}

QuestionRecord CurrentQuestion;
Bitmap PictureBitmap;
TextLines AttachedTextLines;

namespace {

constexpr std::string_view kDocument40 = "Sezz0.xml";
constexpr std::string_view kDocument35 = "Sezz0.txp";

// The last steps of both layouts; a damaged picture or text raises, and a question
// that can't be ordered (empty key, impossible answer count) is damaged too.
void LoadAttachmentsAndOrder(const TVfsPAK& pak) {
    QuestionRecord& question = CurrentQuestion;
    if (!question.PictureName.empty())
        PakLoadPicture(question.PictureName, PictureBitmap, pak);
    if (!question.TextName.empty())
        PakLoadText(question.TextName, AttachedTextLines, pak);
    if (!SetUpAnswerOrder(question))
        throw StorageError("question can't be ordered");
}

void ReadFields40(TpkXML& document) {
    QuestionRecord& question = CurrentQuestion;
    int error = kFieldRead;
    const bool decode = ReadFieldText(false, u"pyt", u"cd", error, document) == "tr";
    const auto text = [&](std::u16string_view name) { return ReadFieldText(decode, u"pyt", name, error, document); };
    question.QuestionType = ReadFieldInt(decode, u"pyt", u"typ", error, document);
    question.AnswerCount = ReadFieldInt(decode, u"pyt", u"ilo", error, document);
    question.QuestionText = text(u"tr");
    for (int k = 1; k <= QuestionRecord::kMaxAnswers; ++k)
        question.Answer(k).Text = text(u"od" + std::u16string(1, static_cast<char16_t>(u'0' + k)));
    question.Key = text(u"odp");
    question.TextName = text(u"plr");
    question.PictureName = text(u"plimg");
    question.Hint = text(u"kom");
    question.Date = text(u"dtu");
}

std::int32_t LineNumber(const std::string& line) {
    std::int32_t number = 0;
    if (!ParseInteger(line, number))
        throw StorageError("not a number");
    return number;
}

void ReadLines35(const TextLines& lines) {
    constexpr std::size_t kLastField = 12;
    if (lines.size() <= kLastField)
        throw StorageError("too few lines");
    std::array<std::string, kLastField + 1> field;
    for (std::size_t i = 2; i <= kLastField; ++i)
        field[i] = UnscrambleText(lines[i]);
    QuestionRecord& question = CurrentQuestion;
    question.QuestionType = LineNumber(field[2]);
    question.AnswerCount = LineNumber(field[3]);
    question.QuestionText = field[4];
    for (int k = 1; k <= 4; ++k)
        question.Answer(k).Text = field[4 + k];
    question.Key = field[9];
    question.TextName = field[10];
    question.PictureName = field[11];
    question.Hint = field[12];
}

} // namespace

int LoadQuestion40(const TVfsPAK& pak) {
    const std::optional<Bytes> data = PakExtract(kDocument40, EntryCap::kQuestionDocument, pak);
    if (!data)
        throw StorageError("no question document");
    TpkXML document;
    document.LoadFromStream(*data);
    try {
        ReadFields40(document);
        LoadAttachmentsAndOrder(pak);
        return kQuestionLoaded;
    } catch (const std::exception&) {
        WriteJournal(0, u"Odczyt. Ver 40. Błąd dekodowania pytaniu solo.");
        return kQuestionDamaged;
    }
}

int LoadQuestion35(const TVfsPAK& pak) {
    const std::optional<Bytes> data = PakExtract(kDocument35, EntryCap::kQuestionDocument, pak);
    if (!data)
        throw StorageError("no question document");
    const TextLines lines = SplitLines(*data);
    try {
        ReadLines35(lines);
        LoadAttachmentsAndOrder(pak);
        return kQuestionLoaded;
    } catch (const std::exception&) {
        WriteJournal(0, u"Odczyt. Ver 35. Błąd dekodowania pytaniu solo.");
        return kQuestionDamaged;
    }
}

bool OpenQuestionFile(const std::filesystem::path& path) {
    bool result = true;
    int code = kQuestionLoaded;
    try {
        TVfsPAK pak;
        ResetQuestionRecord(CurrentQuestion);
        PakOpen(path, pak);
        code = PakExists(kDocument35, pak) ? LoadQuestion35(pak) : LoadQuestion40(pak);
        result = code == kQuestionLoaded;
    } catch (const std::exception&) {
        WriteJournal(0, u"Odczyt. Błąd wczytywania pliku Sezz0.");
        result = false;
    }
    if (code == kQuestionDamaged)
        ShowWarning(WarningButtonSet::Close, WarningIcon::Information,
                    u"Problemy z otwarciem pliku pytania.\rPrawdopodobnie plik jest uszkodzony.");
    return result;
}
