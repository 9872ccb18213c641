#pragma once

#include "core/base/Journal.h"
#include "core/base/ShowWarning.h"

// A message box nobody answers, for code measured without a window.
inline MessageBox& SilentBox() {
    static UnseenBox box;
    return box;
}

// Where the measured code reports to: a journal without a file and the silent box.
inline Reporting SilentReports() {
    static const Journal journal;
    return {journal, SilentBox()};
}
