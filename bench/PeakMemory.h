#pragma once

#include <fstream>
#include <string>

// The process's peak resident memory, reset before each case so that one case's peak is not another's.
// Linux keeps it as VmHWM; writing 5 to clear_refs starts it again from the present size.
inline void ResetPeakMemory() { std::ofstream("/proc/self/clear_refs") << "5"; }

inline double PeakMemoryMB() {
    std::ifstream status("/proc/self/status");
    for (std::string field; status >> field;) {
        if (field == "VmHWM:") {
            double kilobytes = 0;
            status >> kilobytes;
            return kilobytes / 1024;
        }
    }
    return 0;
}
