// The reference-counted locale registry and the ICU default locale id.
#include <unicode/uloc.h>

#include <cstring>
#include <new>

#include "cmnw32/locale.h"
#include "common/text.h"
#include "locale/locale.h"

// A registry entry; its address is the handle callers hold.
struct UTLLocaleEntry {
    UTLLocaleEntry *next;
    char name[1];  // allocated to the name's length
};

namespace cmnw::locale {
namespace {

struct RegistryState {
    bool exists;
    UTLLocaleEntry *first;
    UTLLocaleEntry *last;
    unsigned users;  // UTLInitLocale calls not yet matched by UTLTermLocale
    char icuId[UTL_ICU_ID_SIZE];
};

constinit RegistryState g_registry{false, nullptr, nullptr, 0, {}};

void DestroyRegistry() noexcept {
    for (UTLLocaleEntry *entry = g_registry.first; entry != nullptr;) {
        UTLLocaleEntry *next = entry->next;
        ::operator delete(entry);
        entry = next;
    }
    g_registry.first = g_registry.last = nullptr;
    g_registry.exists = false;
}

}  // namespace
}  // namespace cmnw::locale

using cmnw::locale::g_registry;

extern "C" void UTLInitLocale(void) noexcept {
    g_registry.exists = true;
    ++g_registry.users;
    cmnw::locale::RearmConfigRead();
}

extern "C" void UTLTermLocale(void) noexcept {
    if (g_registry.users > 0) --g_registry.users;
    if (g_registry.users == 0 && g_registry.exists) cmnw::locale::DestroyRegistry();
    cmnw::locale::RearmConfigRead();
}

extern "C" UTLLOCALE UTLFindLocale(const char *name) noexcept {
    if (name == nullptr || !g_registry.exists) return nullptr;
    for (UTLLocaleEntry *entry = g_registry.first; entry != nullptr; entry = entry->next)
        if (std::strcmp(entry->name, name) == 0) return entry;
    return nullptr;
}

extern "C" UTLLOCALE UTLAddLocale(const char *name) noexcept {
    if (name == nullptr) return nullptr;
    if (UTLLOCALE found = UTLFindLocale(name)) return found;
    if (name[0] == '\0' || !g_registry.exists) return nullptr;
    size_t length = std::strlen(name);
    void *block = ::operator new(sizeof(UTLLocaleEntry) + length, std::nothrow);
    if (block == nullptr) return nullptr;
    auto *entry = static_cast<UTLLocaleEntry *>(block);
    entry->next = nullptr;
    std::memcpy(entry->name, name, length + 1);
    if (g_registry.last != nullptr)
        g_registry.last->next = entry;
    else
        g_registry.first = entry;
    g_registry.last = entry;
    return entry;
}

extern "C" const char *UTLGetLocaleName(UTLLOCALE handle, int wantDefault) noexcept {
    if (cmnw::locale::DefaultLocaleNameEmpty())
        cmnw::CopyBounded(g_registry.icuId, sizeof g_registry.icuId, uloc_getDefault());
    if (handle != nullptr) return handle->name;
    return wantDefault != 0 ? g_registry.icuId : nullptr;
}

extern "C" void UTLSetDefICULocale(const char *id) noexcept {
    std::memset(g_registry.icuId, 0, sizeof g_registry.icuId);
    if (id != nullptr) cmnw::CopyBounded(g_registry.icuId, sizeof g_registry.icuId, id);
}

extern "C" int32_t UTLMatchALocale(void) noexcept {
    return 0;
}
