#include "core/base/ShowWarning.h"

#include <utility>

int WarningResult = 0;

namespace {
WarningHandler handler;
}

WarningHandler SetWarningHandler(WarningHandler newHandler) { return std::exchange(handler, std::move(newHandler)); }

void ShowWarning(int buttonSet, int iconKind, std::u16string_view text) {
    WarningResult = 2;
    if (handler)
        WarningResult = handler(buttonSet, iconKind, text);
}
