// The class table in force, shared by the classification and string
// functions of this folder.
#pragma once

#include <atomic>
#include <cstdint>

namespace cmnw::chars {

// Never null: a null table cannot be installed. Readers load the pointer
// once per call, so a call sees one whole table even while another thread
// installs a new one.
extern std::atomic<const uint16_t *> g_ctypeTable;

inline const uint16_t *CTypeTableInForce() noexcept {
    return g_ctypeTable.load(std::memory_order_acquire);
}

}  // namespace cmnw::chars
