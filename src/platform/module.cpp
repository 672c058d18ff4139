// Dynamic modules: names pass through the configured substitution before
// they are loaded; "module->function" references resolve in one call.
#include <cstring>

#include "cmnw32/errors.h"
#include "cmnw32/messages.h"
#include "cmnw32/process.h"
#include "cmnw32/sys.h"
#include "cmnw32/trace.h"
#include "common/os.h"
#include "common/text.h"

namespace cmnw::platform {
namespace {

constexpr size_t kMappedNameSize = 257;
constexpr size_t kReferenceMax = 271;

// Loads the mapped name; a failure writes message 17 to the trace.
UTLHMODULE LoadMapped(const char *callerName, const char *mapped) noexcept {
    constexpr int32_t kLoadFailedMessage = 17;
    char errorText[100] = "";
    void *module = SYSLoadModule(mapped, errorText, sizeof errorText);
    if (module == nullptr) {
        UTLLogTrace(UTLErrorMsg(kLoadFailedMessage), callerName, mapped, errorText);
    }
    return module;
}

}  // namespace

UTLHMODULE LoadLibrary(const char *name) noexcept {
    if (name == nullptr) return nullptr;
    char mapped[kMappedNameSize];
    UTLGetINISubs(name, mapped, sizeof mapped);
    return LoadMapped(name, mapped);
}

}  // namespace cmnw::platform

extern "C" UTLHMODULE UTLLoadLibrary(const char *name) noexcept { return cmnw::platform::LoadLibrary(name); }

extern "C" UTLHMODULE UTLQueryLibrary(const char *name) noexcept {
    if (name == nullptr || *name == '\0') return nullptr;
    char mapped[cmnw::platform::kMappedNameSize];
    UTLGetINISubs(name, mapped, sizeof mapped);
    char native[cmnw::os::kNativeSize];
    if (!cmnw::os::ToNative(mapped, native)) return nullptr;
    // RTLD_NOLOAD finds a loaded module only; the reference it adds is
    // given back at once, so the caller owns none.
    void *module = cmnw::os::LoadModule(native, RTLD_LAZY | RTLD_NOLOAD);
    if (module != nullptr) cmnw::os::FreeModule(module);
    return module;
}

extern "C" int32_t UTLFreeLibrary(UTLHMODULE module) noexcept {
    if (module != nullptr) SYSFreeModule(module);
    return 0;
}

extern "C" void *UTLQueryProcAddr(UTLHMODULE module, const char *name) noexcept {
    if (module == nullptr || name == nullptr) return nullptr;
    return SYSModuleSymbol(module, name);
}

extern "C" void *UTLGetProcAddr(const char *module, const char *function) noexcept {
    if (module == nullptr || function == nullptr) return nullptr;
    char mapped[cmnw::platform::kMappedNameSize];
    UTLGetINISubs(module, mapped, sizeof mapped);
    UTLHMODULE handle = cmnw::platform::LoadLibrary(mapped);
    return handle != nullptr ? SYSModuleSymbol(handle, function) : nullptr;
}

extern "C" void *UTLQueryFunction(const char *reference, UTLHMODULE *module) noexcept {
    using namespace cmnw::platform;
    if (module != nullptr) *module = nullptr;
    if (reference == nullptr || module == nullptr) return nullptr;
    char text[kReferenceMax + 1];
    cmnw::CopyBounded(text, sizeof text, reference);
    char *arrow = std::strstr(text, "->");
    if (arrow == nullptr) return nullptr;
    *arrow = '\0';
    const char *function = arrow + 2;
    char mapped[CMNW_MAX_PATH];
    UTLGetINISubs(text, mapped, sizeof mapped);
    UTLHMODULE handle = LoadLibrary(mapped);
    if (handle == nullptr) return nullptr;
    *module = handle;
    void *address = SYSModuleSymbol(handle, function);
    if (address == nullptr) *module = nullptr;
    return address;
}
