// The registry of code page sets and the shared, counted load of the code
// page file (or of the built-in set when the file cannot be read).
#include <new>

#include "chars/codepage_set.h"
#include "cmnw32/cfg.h"
#include "cmnw32/codepage.h"

namespace cmnw::codepage {
namespace {

struct RegistryState {
    CodePageSet *first = nullptr;  // sets in creation order
    int32_t loadCount = 0;         // users of the shared set
    uint16_t walkIndex = 0;        // position of the first/next walk
};

constinit RegistryState g_registry;

void LinkSet(CodePageSet *set) noexcept {
    CodePageSet **link = &g_registry.first;
    while (*link != nullptr) link = &(*link)->next;
    *link = set;
}

void UnlinkSet(CodePageSet *set) noexcept {
    for (CodePageSet **link = &g_registry.first; *link != nullptr; link = &(*link)->next) {
        if (*link == set) {
            *link = set->next;
            return;
        }
    }
}

// Makes the configuration that was in force current again after the one
// opened for loading has been discarded.
void RestoreConfig(CFGHANDLE remembered) noexcept {
    CFGDiscard();
    CFGSetCurrent(remembered);
}

UTLCPSET LoadSharedSet() noexcept {
    if (g_registry.loadCount > 0 && g_registry.first != nullptr) {
        ++g_registry.loadCount;
        return reinterpret_cast<UTLCPSET>(g_registry.first);
    }
    ++g_registry.loadCount;

    char path[CMNW_MAX_PATH];
    CodePageFilePath(path, sizeof path);
    CFGHANDLE remembered = CFGCurrent();
    if (CFGLoadINI(path) == nullptr) {
        if (CFGCurrent() != remembered) CFGDiscard();
        if (BuildDefaultConfig() == nullptr) {
            CFGSetCurrent(remembered);
            return nullptr;
        }
    }
    CodePageSet *set = NewSet();
    if (set == nullptr) {
        RestoreConfig(remembered);
        return nullptr;
    }
    try {
        LoadPagesFromConfig(*set);
        LoadCharsFromConfig(*set);
    } catch (const std::bad_alloc &) {
        // What was loaded before memory ran out stays in the set.
    }
    RestoreConfig(remembered);
    return reinterpret_cast<UTLCPSET>(set);
}

}  // namespace

CodePageSet *SetFromHandle(UTLCPSET handle) noexcept {
    if (handle == nullptr) return nullptr;
    for (CodePageSet *set = g_registry.first; set != nullptr; set = set->next)
        if (reinterpret_cast<UTLCPSET>(set) == handle) return set;
    return nullptr;
}

CodePageSet *NewSet() noexcept {
    CodePageSet *set = new (std::nothrow) CodePageSet();
    if (set != nullptr) LinkSet(set);
    return set;
}

void FreeSet(CodePageSet *set) noexcept {
    UnlinkSet(set);
    delete set;
}

uint16_t &WalkIndex() noexcept {
    return g_registry.walkIndex;
}

}  // namespace cmnw::codepage

using namespace cmnw::codepage;

extern "C" UTLCPSET UTLCreateCodePage(void) noexcept {
    return reinterpret_cast<UTLCPSET>(NewSet());
}

extern "C" uint16_t UTLDestroyCodePage(UTLCPSET handle) noexcept {
    CodePageSet *set = SetFromHandle(handle);
    if (set == nullptr) return UTL_CP_FAIL;
    if (g_registry.loadCount > 0) --g_registry.loadCount;
    if (g_registry.loadCount > 0) return UTL_CP_OK;
    FreeSet(set);
    return UTL_CP_OK;
}

extern "C" UTLCPSET UTLLoadCodePage(void) noexcept {
    return LoadSharedSet();
}
