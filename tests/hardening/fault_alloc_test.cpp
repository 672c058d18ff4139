// Allocation failure at every allocation of the functions that allocate: each
// gives its documented failure result (or, where failing is not in its
// contract, still the right answer), leaks nothing and leaves nothing
// half-built; the next call works.
#include "common/fault.h"
#if CMNW_FAULTS
#include <cstdint>
#include <string>
#include <vector>

#include "cmnw32.h"
#include "common/test_support.h"
#include "hardening/fault_loop.h"

namespace {

using cmnw::fault::Kind;
using cmnw::test::Result;

std::string LocaleRecord() {
    UTLInitLocale();
    UTLLOCALE h = UTLAddLocale("fr_FAULT");
    char name[32] = "null";
    if (h != nullptr) snprintf(name, sizeof name, "%s", UTLGetLocaleName(h, 0));
    const bool stray = UTLFindLocale("fr_FAULT") != h;
    UTLTermLocale();
    return Result("%s%s", name, stray ? " stray entry" : "");
}

std::string CodePageSet() {
    UTLCPSET set = UTLLoadCodePage();
    if (set == nullptr) return Result("null");
    char ids[4096];
    int used = snprintf(ids, sizeof ids, "%u", UTLCodePageCount(set));
    uint8_t byte = 0;
    char id[UTL_CP_IDENT_SIZE], name[UTL_CP_NAME_SIZE], alias[UTL_CP_NAME_SIZE];
    for (uint16_t st = UTLGetFirstCodePageChar(set, &byte, id, name, alias); st == UTL_CP_OK && used < 4000;
         st = UTLGetNextCodePageChar(set, &byte, id, name, alias))
        used += snprintf(ids + used, sizeof ids - used, " %s", id);
    UTLDestroyCodePage(set);
    return Result("%s", ids);
}

std::string IniLoad(const std::string &path) {
    CFGHANDLE prior = CFGCurrent();
    CFGHANDLE h = CFGLoadINI(path.c_str());
    if (h == nullptr) return Result(CFGCurrent() == prior ? "null" : "null, another configuration in force");
    char a[32] = "", b[32] = "";
    CFGGetString("A", "k", a, sizeof a);
    CFGGetString("B", "y", b, sizeof b);
    CFGDiscard();
    CFGSetCurrent(prior);
    return Result("%s,%s", a, b);
}

// A keyed list filled, probed and resized; "failed" when some call reported
// failure and the list still holds exactly what the calls that succeeded put in.
std::string MemoryList() {
    MEMLIST list = MEMCreateList();
    if (list == nullptr) return Result("failed");
    MEMKeyList(list, 0, 4, nullptr);
    size_t added = 0;
    bool failed = false;
    for (uint32_t i = 0; i < 40; ++i) {
        const uint32_t key = __builtin_bswap32((i * 7) % 40);
        const bool put = MEMAddItem(list, &key, sizeof key) != nullptr;
        added += put, failed |= !put;
    }
    int32_t status = 0;
    const uint32_t again = __builtin_bswap32(5);
    MEMInsertItem(list, &again, sizeof again, &status);
    failed |= status == -1;
    added += status == 0;
    const char grown[100] = "\0\0\0\0grown";
    failed |= MEMFirstItem(list) != nullptr && MEMResizeItem(MEMFirstItem(list), grown, sizeof grown) == 0;
    bool whole = MEMCount(list) == added;
    uint32_t previous = 0;
    for (MEMITEM it = MEMFirstItem(list); it != nullptr; it = MEMNextItem(it)) {
        uint32_t key = 0;
        MEMGetItem(it, &key, sizeof key);
        whole &= __builtin_bswap32(key) >= previous;
        previous = __builtin_bswap32(key);
        int16_t found = 0;
        whole &= MEMFindKey(list, &key, &found) != nullptr && found == 1;
    }
    MEMDestroyList(list);
    return whole && failed ? Result("failed") : Result(whole ? "%zu" : "broken", added);
}

std::string Keywords() {
    char text[] = "NAME(abc), SIZE(12), FLAG";
    char *cursor = text, *value = nullptr;
    int32_t number = 0, flag = 0;
    const int name = UTLParseKeywordStr(&cursor, &value, "NAME");
    const int size = UTLParseKeywordInt(&cursor, &number, "SIZE");
    const int bare = UTLParseKeywordBool(&cursor, &flag, "FLAG");
    return Result("%d%s %d%d %d%d", name, value != nullptr ? value : "", size, number, bare, flag);
}

TEST(AllocationFaults, EveryAllocationOfEveryAllocatingFunction) {
    cmnw::test::TempDir dir, patches;
    const std::string ini = dir.Write("a.ini", "top=1\n[A]\nk=v\n; note\n[B]\nx=1\ny=2\n");
    patches.Write("a.dll", "head@@QVS PATCH 11.2:P03:PCR 1:400.112:..\\C\\unit:May 24 2007:15:54:00:" + std::string(1, '\0') + "tail");
    patches.Write("b.txt", "plain text\n");
    auto exactly = [](const char *text) { return [=](const std::string &s) { return s == text; }; };
    const struct {
        const char *name;
        std::function<std::string()> run;
        std::function<bool(const std::string &)> isFailure;
    } cases[] = {
        {"locale record", LocaleRecord, exactly("null")},
        {"code page set", CodePageSet, exactly("null")},
        {"INI load", [&] { return IniLoad(ini); }, exactly("null")},
        {"memory list", MemoryList, exactly("failed")},
        // A missing insert is left as written.
        {"message with inserts",
         [] {
             char out[64];
             UTLFmtMsgString(out, sizeof out, "%1-%2-%3", 3, "a", "b", "c");
             return Result("%s", out);
         },
         [](const std::string &s) { return s == "%1-%2-%3" || s == "a-%2-%3" || s == "a-b-%3"; }},
        {"keyword parsing", Keywords, exactly("")},  // nothing to fail
        // Without its buffer the record is the one of a file without a resource.
        {"version record",
         [] {
             const UTLVerInfo info = UTLGetVerInfo(CMNW_TEST_SOURCE_DIR "/tests/fixtures/version/verinfo.dll");
             return Result("%s|%s|%s|%s|%s", info.fileName, info.fileVersion, info.companyName,
                           info.productVersion, info.fileTime);
         },
         exactly("||||")},
        // Always "succeeds": a report it cannot make leaves the caller's values.
        {"directory report",
         [&] {
             long mainPatch = 0, thirdParty = 0;
             unsigned long crc = 0xFFFFFFFFul;
             char release[16] = "stale";
             UTLGetVersions(patches.path().c_str(), &mainPatch, &thirdParty, &crc, release, sizeof release, nullptr, 0, 0);
             return Result("%ld,%ld,%lu,%s", mainPatch, thirdParty, crc, release);
         },
         exactly("0,0,4294967295,")},
    };
    for (const auto &c : cases)
        cmnw::test::RunFaultLoop(c.name, Kind::Allocation, 0, false, c.run, c.isFailure);
}

}  // namespace

#endif
