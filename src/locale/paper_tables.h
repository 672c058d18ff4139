// The built-in paper table.
#pragma once

#include <cstddef>

#include "cmnw32/paper.h"

namespace cmnw::paper {

static_assert(sizeof(PaperType) == 33, "paper entries are packed 33-byte records");

inline constexpr size_t kPaperEntryCount = 58;

// kPaperEntryCount entries in table order, then the all-zero terminator.
extern const PaperType kPaperTable[kPaperEntryCount + 1];

}  // namespace cmnw::paper
