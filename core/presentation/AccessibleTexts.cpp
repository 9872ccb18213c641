#include "core/presentation/AccessibleTexts.h"

#include "core/base/CodePage.h"

#include <algorithm>

std::u16string AnswerTileName(const AnswerTileFacts& tile) {
    std::u16string name = u"Odpowiedź";
    if (tile.Position >= 1 && tile.Position <= 5)
        name += std::u16string(u" ") + static_cast<char16_t>(u'A' + tile.Position - 1);
    if (!tile.Text.empty())
        name.append(u": ").append(tile.Text);
    if (tile.Chosen)
        name += u", zaznaczona";
    if (tile.Checked && tile.Correct)
        name += u", poprawna";
    else if (tile.Checked && tile.Chosen)
        name += u", błędna";
    return name;
}

std::u16string SetTreeRowName(const SetTreeRowFacts& row) {
    std::u16string name(row.Name);
    name += row.Category ? u", kategoria" : u", zestaw";
    // Levels come from a file: a negative one is shown as the top.
    name += u", poziom " + Decimal(std::max<std::int64_t>(std::int64_t{row.Level} + 1, 1));
    if (row.Category)
        name += row.Open ? u", rozwinięta" : u", zwinięta";
    return name;
}
