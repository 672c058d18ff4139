// Shared modules through the dynamic loader.
#include <cerrno>
#include <cstring>

#include "cmnw32/sys.h"
#include "common/os.h"
#include "common/text.h"

extern "C" void *SYSLoadModule(const char *name, char *errorText, size_t errorSize) noexcept {
    if (errorText != nullptr && errorSize > 0) errorText[0] = '\0';
    if (name == nullptr || name[0] == '\0') {
        cmnw::CopyBounded(errorText, errorSize, "no module name given");
        return nullptr;
    }
    char native[cmnw::os::kNativeSize];
    if (!cmnw::os::ToNative(name, native)) {
        cmnw::CopyBounded(errorText, errorSize, std::strerror(ENAMETOOLONG));
        return nullptr;
    }
    void *module = cmnw::os::LoadModule(native, RTLD_NOW);
    if (module == nullptr) {
        const char *why = cmnw::os::ModuleError();
        cmnw::CopyBounded(errorText, errorSize, why != nullptr ? why : "module could not be loaded");
    }
    return module;
}

extern "C" int SYSFreeModule(void *module) noexcept {
    if (module == nullptr) return -1;
    return cmnw::os::FreeModule(module) == 0 ? 0 : -1;
}

extern "C" void *SYSModuleSymbol(void *module, const char *name) noexcept {
    if (module == nullptr || name == nullptr) return nullptr;
    return cmnw::os::ModuleSymbol(module, name);
}
