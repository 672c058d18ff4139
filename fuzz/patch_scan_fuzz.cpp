// Patch scanning of arbitrary file content, then the orderings and the
// consecutiveness check on what was found.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "cmnw32/mem.h"
#include "cmnw32/version.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const std::string path = "/tmp/cmnw_patch_scan_fuzz_" + std::to_string(getpid());
    FILE *file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    MEMLIST records = MEMCreateList();
    MEMLIST summaries = MEMCreateList();
    if (UTLQueryPatchInfo(path.c_str(), records, summaries) != 0) abort();
    unlink(path.c_str());
    if (MEMCount(records) != MEMCount(summaries)) abort();
    std::vector<const char *> texts;
    for (MEMITEM item = MEMFirstItem(summaries); item != nullptr; item = MEMNextItem(item)) {
        const char *summary = static_cast<const char *>(MEMItemData(item));
        if (std::strlen(summary) + 1 != MEMItemSize(item) ||
            UTLKVRVERFindChar(summary, ':', 2) != nullptr)
            abort();
        texts.push_back(summary);
    }
    for (MEMITEM item = MEMFirstItem(records); item != nullptr; item = MEMNextItem(item)) {
        const char *record = static_cast<const char *>(MEMItemData(item));
        if (UTLKVRVERFindChar(record, ':', 2) == nullptr) abort();
        texts.push_back(record);
    }
    for (size_t i = 0; i < texts.size(); ++i) {
        const char *next = texts[(i + 1) % texts.size()];
        if ((UTLKVRVERCompareFunc(texts[i], next) > 0) !=
            (UTLKVRVERCompareFunc(next, texts[i]) < 0))
            abort();
        if ((UTLKVRVERCompareFunc2(texts[i], next) > 0) !=
            (UTLKVRVERCompareFunc2(next, texts[i]) < 0))
            abort();
        std::vector<char> line(std::strlen(texts[i]) + 35 < 80 ? 80 : std::strlen(texts[i]) + 35);
        for (int calls = 0; calls < 1000 && UTLKVRVERCheckConsecutive(texts[i], line.data()) == 0;
             ++calls) {
        }
    }
    MEMDestroyList(records);
    MEMDestroyList(summaries);
    return 0;
}
