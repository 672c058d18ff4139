// Configured and built-in name substitution.
#include <cstring>

#include "cmnw32/cfg.h"
#include "cmnw32/messages.h"
#include "common/text.h"
#include "diag/subst_tables.h"

namespace cmnw::diag {
namespace {

constexpr const char *kSubsSection = "Window32Subs";

inline unsigned char FoldAscii(unsigned char c) noexcept {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

bool EqualNoCase(const char *a, const char *b) noexcept {
    for (;; ++a, ++b) {
        unsigned char ca = FoldAscii(static_cast<unsigned char>(*a));
        unsigned char cb = FoldAscii(static_cast<unsigned char>(*b));
        if (ca != cb) return false;
        if (ca == '\0') return true;
    }
}

const SubstPair *FindBuiltIn(const char *name) noexcept {
    for (size_t i = 0; i < kSubstCount; ++i) {
        if (EqualNoCase(kSubstTable[i].oldName, name)) return &kSubstTable[i];
    }
    return nullptr;
}

// Shared body of both lookups; withDefault copies name when nothing is known.
void LookUpSubstitute(const char *name, char *out, size_t outSize, bool withDefault) noexcept {
    if (out == nullptr || outSize == 0) return;
    out[0] = '\0';
    if (name == nullptr || *name == '\0') return;
    if (CFGGetString(kSubsSection, name, out, outSize) != 0) return;
    out[0] = '\0';
    if (withDefault) CopyBounded(out, outSize, name);
    if (const SubstPair *pair = FindBuiltIn(name)) {
        CopyBounded(out, outSize, pair->newName);
        CFGSetString(kSubsSection, name, pair->newName);
    }
}

}  // namespace
}  // namespace cmnw::diag

extern "C" void UTLGetINISubs(const char *name, char *out, uint32_t outSize) noexcept {
    cmnw::diag::LookUpSubstitute(name, out, outSize, true);
}

extern "C" void UTLGetINISubsNoDef(const char *name, char *out, uint32_t outSize) noexcept {
    cmnw::diag::LookUpSubstitute(name, out, outSize, false);
}

extern "C" const char *UTLAccessSublist(int32_t index) noexcept {
    using cmnw::diag::kSubstCount;
    using cmnw::diag::kSubstTable;
    if (index < 0 || static_cast<size_t>(index) >= kSubstCount) return kSubstTable[kSubstCount].newName;
    return kSubstTable[index].newName;
}
