#include "core/storage/SetListFile.h"

#include "core/base/CodePage.h"
#include "core/base/Journal.h"
#include "core/base/ShowWarning.h"
#include "core/base/StorageError.h"
#include "core/storage/DocumentFormat.h"
#include "core/storage/UPak.h"
#include "core/storage/UProcReadWrite.h"
#include "core/storage/pkXML.h"

#include <unordered_map>

SetListHeader ListHeader;

namespace {

// The first child of each upper-cased name, so thousands of entries are found
// without a scan each.
std::unordered_map<std::u16string, const TpkXMLNode*> IndexChildren(const TpkXMLNode& node) {
    std::unordered_map<std::u16string, const TpkXMLNode*> index;
    for (int i = 0; i < node.ChildCount(); ++i)
        index.try_emplace(UpperCase(node.Child(i)->Name), node.Child(i));
    return index;
}

void ReadEntryLines(TpkXML& document, bool decode, std::int32_t count, std::vector<std::string>& lines) {
    const auto entries = IndexChildren(document.FindOrAddNode(SetListElement::Top));
    const std::u16string prefix = UpperCase(SetListElement::EntryPrefix);
    for (std::int32_t i = 0; i < count; ++i) {
        const auto found = entries.find(prefix + AnsiToWide(std::to_string(i)));
        if (found == entries.end())
            break;
        FieldError error = FieldError::None;
        lines.push_back(DecodeFieldText(decode, found->second->Text, error));
    }
}

} // namespace

bool ReadSetList40(const TVfsPAK& pak, std::vector<std::string>& lines) {
    bool result = true;
    TpkXML document;
    try {
        const std::optional<Bytes> data = PakExtract(kSetListDocument40, EntryCap::kSetListDocument, pak);
        if (!data)
            throw StorageError("no list document");
        document.LoadFromStream(*data);
        namespace E = SetListElement;
        FieldError error = FieldError::None;
        const bool decode = ReadFieldText(false, E::Top, E::Encoding, error, document) == kEncodedMark;
        const std::int32_t count = ReadFieldInt(decode, E::Top, E::EntryCount, error, document);
        if (error != FieldError::None) {
            WriteJournal(0, u"Lista jest uszkodzona. Brak informacji o ilości wpisów.");
            result = false;
        }
        ListHeader.Name = ReadFieldText(decode, E::Top, E::Name, error, document);
        ListHeader.Dtu = ReadFieldText(decode, E::Top, E::Date, error, document);
        ListHeader.Uwg = ReadFieldText(decode, E::Top, E::Note, error, document);
        lines.clear();
        ReadEntryLines(document, decode, count, lines);
    } catch (const StorageError&) {
        WriteJournal(0, u"Odczyt listy zestawów. Ver 40. Błąd odczytu.");
        result = false;
    }
    return result;
}

bool LoadSetList(const std::filesystem::path& path, std::vector<std::string>& lines) {
    bool result = true;
    try {
        TVfsPAK pak;
        ListHeader = SetListHeader{};
        PakOpen(path, pak);
        if (PakExists(kSetListDocument35, pak)) {
            ShowWarning(WarningButtonSet::Close, WarningIcon::Information,
                        u"Plik listy zestawów, to plik w werjsi 3.5.Skorzystaj z modułu Sabrel, by zapisać listę w "
                        u"nowej wersji.");
            result = false;
        } else {
            result = ReadSetList40(pak, lines);
        }
    } catch (const StorageError&) {
        WriteJournal(0, u"Odczyt. Problemy z wczytaniem pliku listy zestawów pytań.");
    }
    if (!result)
        ShowWarning(WarningButtonSet::Close, WarningIcon::Warning,
                    u"Problem z otwarciem pliku listy zestawów.\rBrak pliku lub plik jest uszkodzony.");
    return result;
}
