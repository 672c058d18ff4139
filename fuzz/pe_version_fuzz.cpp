// The PE version-resource reader on arbitrary images and on their first
// halves: it must find resources only inside the image and answer queries
// from inside the block.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "version/pe_version.h"

namespace {

void ReadImage(const uint8_t *data, size_t size) {
    using namespace cmnw::version;
    ResourceSpan span{};
    if (!FindVersionResource(MemorySource(data, size), span)) return;
    if (span.offset > size || span.size > size - span.offset) abort();
    const uint32_t blockSize = VersionBlockSize(span.size);
    std::vector<uint8_t> block(blockSize);
    std::memcpy(block.data(), data + span.offset, span.size);
    if (!PrepareVersionBlock(block.data(), blockSize, span.size)) return;
    for (const char *sub :
         {"\\", "\\VarFileInfo\\Translation", "\\StringFileInfo\\040904e4\\CompanyName",
          "\\StringFileInfo\\000004e4\\ProductVersion"}) {
        const void *value = nullptr;
        uint32_t length = 0;
        if (!QueryVersionValue(block.data(), sub, &value, &length)) continue;
        const auto *v = static_cast<const uint8_t *>(value);
        if (v < block.data() || length > blockSize || v + length > block.data() + blockSize)
            abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    ReadImage(data, size);
    ReadImage(data, size / 2);
    return 0;
}
