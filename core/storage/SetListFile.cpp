#include "core/storage/SetListFile.h"

#include "core/base/CodePage.h"
#include "core/base/Journal.h"
#include "core/base/ShowWarning.h"
#include "core/base/StorageError.h"
#include "core/storage/DocumentFields.h"
#include "core/storage/DocumentFormat.h"
#include "core/storage/PackArchive.h"
#include "core/storage/XmlDocument.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace {

// The number n of an entry element's name: the prefix in any letter case, then n in decimal as
// the name "dx" + n is spelled (no sign, no leading zero), below the limit. Nothing otherwise.
std::optional<std::size_t> EntryNumber(std::u16string_view name, std::size_t limit) {
    const std::u16string_view prefix = SetListElement::EntryPrefix;
    const std::u16string_view digits = name.substr(std::min(prefix.size(), name.size()));
    if (digits.empty() || digits.size() > 10 || (digits[0] == u'0' && digits.size() > 1) ||
        UpperCase(name.substr(0, prefix.size())) != UpperCase(prefix))
        return std::nullopt;
    std::uint64_t number = 0;
    for (const char16_t c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        number = number * 10 + (c - u'0');
    }
    return number < limit ? std::optional<std::size_t>(number) : std::nullopt;
}

// The first entry element of each number below the count, found in one pass over the children.
// The list can't hold more entries than there are children, whatever count it claims.
std::vector<const XmlNode*> IndexEntries(const XmlNode& top, std::int32_t count) {
    const std::size_t limit = std::min<std::size_t>(count > 0 ? static_cast<std::size_t>(count) : 0,
                                                    static_cast<std::size_t>(top.ChildCount()));
    std::vector<const XmlNode*> entries(limit, nullptr);
    for (int i = 0; i < top.ChildCount(); ++i) {
        const XmlNode* child = top.Child(i);
        const std::optional<std::size_t> number = EntryNumber(child->Name, limit);
        if (number && entries[*number] == nullptr)
            entries[*number] = child;
    }
    return entries;
}

void ReadEntryLines(XmlDocument& document, bool decode, std::int32_t count, std::vector<std::string>& lines) {
    const std::vector<const XmlNode*> entries = IndexEntries(document.FindOrAddNode(SetListElement::Top), count);
    lines.reserve(entries.size());
    for (const XmlNode* entry : entries) {
        if (entry == nullptr)
            break;
        FieldError error = FieldError::None;
        lines.push_back(DecodeFieldText(decode, entry->Text, error));
    }
}

} // namespace

bool ReadSetList40(const PackArchive& pak, std::vector<std::string>& lines, SetListHeader& header,
                   const Journal& journal) {
    bool result = true;
    XmlDocument document;
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
            journal.Write(0, u"Lista jest uszkodzona. Brak informacji o ilości wpisów.");
            result = false;
        }
        header.Name = ReadFieldText(decode, E::Top, E::Name, error, document);
        header.Dtu = ReadFieldText(decode, E::Top, E::Date, error, document);
        header.Uwg = ReadFieldText(decode, E::Top, E::Note, error, document);
        lines.clear();
        ReadEntryLines(document, decode, count, lines);
    } catch (const StorageError&) {
        journal.Write(0, u"Odczyt listy zestawów. Ver 40. Błąd odczytu.");
        result = false;
    }
    return result;
}

bool LoadSetList(const std::filesystem::path& path, std::vector<std::string>& lines, SetListHeader& header,
                 const Reporting& reports) {
    bool result = true;
    try {
        PackArchive pak;
        header = SetListHeader{};
        PakOpen(path, pak);
        if (PakExists(kSetListDocument35, pak)) {
            reports.Box.Show(
                WarningButtonSet::Close, WarningIcon::Information,
                u"Plik listy zestawów, to plik w werjsi 3.5.Skorzystaj z modułu Sabrel, by zapisać listę w "
                u"nowej wersji.");
            result = false;
        } else {
            result = ReadSetList40(pak, lines, header, reports.Log);
        }
    } catch (const StorageError&) {
        reports.Log.Write(0, u"Odczyt. Problemy z wczytaniem pliku listy zestawów pytań.");
    }
    if (!result)
        reports.Box.Show(WarningButtonSet::Close, WarningIcon::Warning,
                         u"Problem z otwarciem pliku listy zestawów.\rBrak pliku lub plik jest uszkodzony.");
    return result;
}
