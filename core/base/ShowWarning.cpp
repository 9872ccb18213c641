#include "core/base/ShowWarning.h"

#include <utility>

WarningButton WarningResult = WarningButton::Zamknij;

namespace {
WarningHandler handler;
}

WarningHandler SetWarningHandler(WarningHandler newHandler) { return std::exchange(handler, std::move(newHandler)); }

void ShowWarning(WarningButtonSet buttons, WarningIcon icon, std::u16string_view text) {
    WarningResult = WarningButton::Nie;
    if (handler)
        WarningResult = handler(buttons, icon, text);
}
