// Loads a code page file of arbitrary content and exercises every lookup,
// the walk, a translation table and writing the set back.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "cmnw32/cfg.h"
#include "cmnw32/codepage.h"

namespace {

std::string codePageFile;

void WriteFile(const std::string &path, const uint8_t *data, size_t size) {
    FILE *f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) abort();
    if (size > 0) std::fwrite(data, 1, size, f);
    std::fclose(f);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    char dir[] = "/tmp/cmnw_cpfuzz_XXXXXX";
    if (mkdtemp(dir) == nullptr) abort();
    codePageFile = std::string(dir) + "/codepage.ini";
    CFGCreate();
    CFGSetString("KTRes", "DefLib", dir);
    CFGSetString("KTRes", "Codepage", "codepage.ini");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    WriteFile(codePageFile, data, size);
    UTLCPSET set = UTLLoadCodePage();
    if (set == nullptr) abort();  // a file that does not load falls back to the built-in set

    const uint16_t pages = UTLCodePageCount(set);
    uint8_t byte;
    char id[UTL_CP_IDENT_SIZE], name[UTL_CP_NAME_SIZE], alias[UTL_CP_NAME_SIZE];
    if (UTLGetFirstCodePageChar(set, &byte, id, name, alias) != UTL_CP_FAIL) abort();
    // Code page ids come back through the walk of a table between the first
    // two code pages; ids of the built-in set are probed as well.
    const int32_t ids[] = {1004, 9999, 9998, 0, -1};
    for (int32_t pid : ids) {
        if (UTLSetDefCodePage(set, pid, nullptr) != UTL_CP_OK) continue;
        int walked = 0;
        for (uint16_t st = UTLGetFirstCodePageChar(set, &byte, id, name, alias); st == UTL_CP_OK;
             st = UTLGetNextCodePageChar(set, &byte, id, name, alias)) {
            if (++walked > 1025) abort();
            if (UTLLocateCharByName(set, id, name, alias) == UTL_CP_FAIL) abort();
        }
        for (int b = 0; b < 256; b += 17) UTLLocateNameByChar(set, b, id, name, alias);
    }
    UTLCp2CpTable table;
    if (pages > 0 && UTLSetupCp2CpTable(&table, set, 1004, nullptr, 9999, nullptr, 63) == 0) {
        char out[16];
        UTLCpTranslateString(&table, out, "Hello, world", sizeof out);
    }
    CFGHANDLE inForce = CFGCurrent();
    CFGCreate();
    UTLUnloadCodePages(set);
    UTLUnloadCodePagesChars(set);
    CFGDiscard();
    CFGSetCurrent(inForce);
    if (UTLDestroyCodePage(set) != UTL_CP_OK) abort();
    return 0;
}
