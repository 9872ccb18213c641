// Loads a question whose document is the input: the first byte picks the layout,
// and the archive also holds a picture and a text the document may name.
#include "core/base/Journal.h"
#include "core/base/Random.h"
#include "core/base/ShowWarning.h"
#include "core/session/QuestionLoader.h"
#include "core/storage/PakWriter.h"
#include "fuzz/FuzzFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const bool oldLayout = data[0] & 1;
    const Bytes document(data + 1, data + size);
    static const Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0,   0, 0, ',', 0,
                              0,   0,   0,   1,   0,   1,   0, 0, 2, 2, 'D', 1, 0, ';'};
    const Bytes pak = BuildPak({{oldLayout ? "Sezz0.txp" : "Sezz0.xml", document},
                                {"a.gif", gif},
                                {"a.txt", {'L', 'i', 'n', 'e', '\r', '\n', 'T', 'w', 'o'}}});
    Random random(static_cast<std::uint32_t>(size));
    LoadedQuestion loaded;
    const Journal journal;
    UnseenBox box;
    OpenQuestionFile(FuzzFile(pak.data(), pak.size()), loaded, {journal, box}, random);
    return 0;
}
