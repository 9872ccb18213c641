#include "core/base/ShowWarning.h"

#include <utility>

namespace {
WarningHandler handler;
}

WarningHandler SetWarningHandler(WarningHandler newHandler) { return std::exchange(handler, std::move(newHandler)); }

WarningButton ShowWarning(WarningButtonSet buttons, WarningIcon icon, std::u16string_view text) {
    return handler ? handler(buttons, icon, text) : WarningButton::No;
}
