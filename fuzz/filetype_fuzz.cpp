// File type detection of arbitrary content, through a real file and through
// the signature tests directly with the content's length stretched.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cmnw32/filetype.h"
#include "platform/platform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    using cmnw::filetype::kHeadBytes;
    using cmnw::filetype::TypeFromContent;
    if (size > 4 * kHeadBytes) return 0;
    const size_t head = std::min(size, kHeadBytes);
    const int32_t type = TypeFromContent(data, head, size);
    if (type < 0 || type > 12) abort();
    // Files are slow to write; one input in eight also goes through one.
    if (size % 8 == 0) {
        static const std::string path = "/tmp/cmnw_filetype_fuzz_" + std::to_string(getpid());
        FILE *file = std::fopen(path.c_str(), "wb");
        if (file == nullptr) return 0;
        std::fwrite(data, 1, size, file);
        std::fclose(file);
        const int32_t fromFile = UTLFileType(path.c_str());
        unlink(path.c_str());
        if (fromFile != type) abort();
    }
    // The same head as the start of a much longer file.
    const int32_t longer = TypeFromContent(data, head, size + (uint64_t{1} << 33));
    if (longer < 0 || longer > 12) abort();
    return 0;
}
