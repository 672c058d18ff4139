// The numbered message table.
#pragma once

#include <cstdint>

namespace cmnw::diag {

inline constexpr int32_t kFirstMessage = 1;
inline constexpr int32_t kLastMessage = 77;
inline constexpr const char *kUnknownMessage = "Unknown QRM error";

// The built-in text of a message number, or null when the table has none.
const char *BuiltInMessage(int32_t errorNumber) noexcept;

}  // namespace cmnw::diag
