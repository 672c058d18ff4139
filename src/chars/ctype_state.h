// The class table in force, shared by the classification and string
// functions of this folder.
#pragma once

#include <cstdint>

namespace cmnw::chars {

// Never null: a null table cannot be installed.
const uint16_t *CTypeTableInForce() noexcept;

}  // namespace cmnw::chars
