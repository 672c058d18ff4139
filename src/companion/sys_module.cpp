// Shared modules through the dynamic loader.
#include <dlfcn.h>

#include "cmnw32/sys.h"
#include "common/text.h"
#include "companion/sys_path.h"

extern "C" void *SYSLoadModule(const char *name, char *errorText, size_t errorSize) noexcept {
    if (errorText != nullptr && errorSize > 0) errorText[0] = '\0';
    if (name == nullptr || name[0] == '\0') {
        cmnw::CopyBounded(errorText, errorSize, "no module name given");
        return nullptr;
    }
    try {
        std::string native = cmnw::companion::NativePath(name);
        void *module = dlopen(native.c_str(), RTLD_NOW);
        if (module == nullptr) {
            const char *why = dlerror();
            cmnw::CopyBounded(errorText, errorSize, why != nullptr ? why : "module could not be loaded");
        }
        return module;
    } catch (...) {
        cmnw::CopyBounded(errorText, errorSize, "out of memory");
        return nullptr;
    }
}

extern "C" int SYSFreeModule(void *module) noexcept {
    if (module == nullptr) return -1;
    return dlclose(module) == 0 ? 0 : -1;
}

extern "C" void *SYSModuleSymbol(void *module, const char *name) noexcept {
    if (module == nullptr || name == nullptr) return nullptr;
    return dlsym(module, name);
}
