// The built-in name substitution table.
#pragma once

#include <cstddef>

namespace cmnw::diag {

struct SubstPair {
    const char *oldName;
    const char *newName;
};

inline constexpr size_t kSubstCount = 132;

// kSubstCount pairs followed by the empty end marker.
extern const SubstPair kSubstTable[kSubstCount + 1];

}  // namespace cmnw::diag
