#include "core/base/ShowWarning.h"

#include <utility>

WarningButton WarningResult = WarningButton::Close;

namespace {
WarningHandler handler;
}

WarningHandler SetWarningHandler(WarningHandler newHandler) { return std::exchange(handler, std::move(newHandler)); }

void ShowWarning(WarningButtonSet buttons, WarningIcon icon, std::u16string_view text) {
    WarningResult = WarningButton::No;
    if (handler)
        WarningResult = handler(buttons, icon, text);
}
