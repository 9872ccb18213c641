// Reads the input as the settings file; a damaged file is replaced by defaults.
#include "app/Journal.h"
#include "app/UIni.h"
#include "storage/Bytes.h"

#include <cstdlib>
#include <fstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path folder = [] {
        char pattern[] = "/tmp/ludra-fuzz-settings-XXXXXX";
        return std::filesystem::path(mkdtemp(pattern));
    }();
    SettingsPath = folder / "Ludra.ini";
    {
        std::ofstream out(SettingsPath, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    LoadSettings();
    SaveWindowMode();
    return 0;
}
