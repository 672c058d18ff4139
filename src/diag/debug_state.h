// The debug settings shared by the trace writer and the debug switches.
#pragma once

#include <cstdint>

namespace cmnw::diag {

// The time-stamp switch: non-zero (including "not read yet") means trace
// lines carry the prefix.
int32_t TimeStampSwitch() noexcept;

}  // namespace cmnw::diag
