// Opens the input as an archive file and reads every entry as text and picture.
#include "core/base/StorageError.h"
#include "core/storage/PackArchive.h"
#include "fuzz/FuzzFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    PackArchive pak;
    if (!PakOpen(FuzzFile(data, size), pak))
        return 0;
    for (int i = 0; i < pak.EntryCount(); ++i) {
        try {
            SplitLines(pak.ExtractAt(i, EntryCap::kAttachedText));
            Bitmap bitmap;
            PakLoadPicture(pak.NameAt(i), bitmap, pak);
        } catch (const StorageError&) {
        }
    }
    return 0;
}
