// Reads the input as the settings file; a damaged file is replaced by defaults.
#include "core/base/Bytes.h"
#include "core/base/Journal.h"
#include "core/storage/SettingsFile.h"

#include <cstdlib>
#include <fstream>

namespace {

// The settings folder of this run, removed when the fuzzer ends.
class ScratchFolder {
public:
    ScratchFolder() {
        char pattern[] = "/tmp/ludra-fuzz-settings-XXXXXX";
        if (!mkdtemp(pattern))
            std::abort();
        path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScratchFolder folder;
    Journal journal;
    Random random(static_cast<std::uint32_t>(size));
    SettingsFile file(folder.Path() / "Ludra.ini", journal, random);
    {
        std::ofstream out(file.Path(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    Settings settings;
    file.Load(settings);
    file.SaveWindowMode(settings);
    return 0;
}
