// Class table access, classification and case mapping of single codes.
#include "cmnw32/ctype.h"

#include <unicode/uchar.h>

#include <atomic>

#include "chars/ctype_state.h"
#include "chars/ctype_tables.h"

namespace cmnw::chars {
namespace {

constexpr bool IsByte(int32_t c) noexcept {
    return static_cast<uint32_t>(c) <= 0xFF;
}

int32_t TableFlags(int32_t c, uint16_t mask) noexcept {
    return CTypeTableInForce()[c] & mask;
}

// Graphic in the sense of the wide-character classes: letter, digit or
// punctuation, where symbols and marks count as punctuation.
bool IsWideGraphic(uint16_t unit) noexcept {
    constexpr uint32_t kGraphicCategories =
        U_GC_L_MASK | U_GC_M_MASK | U_GC_N_MASK | U_GC_P_MASK | U_GC_S_MASK;
    return (U_GET_GC_MASK(unit) & kGraphicCategories) != 0;
}

bool IsWideHexDigit(uint16_t unit) noexcept {
    auto in = [unit](uint16_t first, uint16_t last) { return unit >= first && unit <= last; };
    return in(u'0', u'9') || in(u'A', u'F') || in(u'a', u'f') || in(0xFF10, 0xFF19) ||
           in(0xFF21, 0xFF26) || in(0xFF41, 0xFF46);
}

}  // namespace

constinit std::atomic<const uint16_t *> g_ctypeTable{kDefaultCTypeTable.data()};

const uint16_t *InstallCTypeTable(const uint16_t *table) noexcept {
    if (table == nullptr) return nullptr;
    return g_ctypeTable.exchange(table, std::memory_order_acq_rel);
}

}  // namespace cmnw::chars

using cmnw::chars::IsByte;
using cmnw::chars::TableFlags;

extern "C" const uint16_t *SetCTypeTable(const uint16_t *table) noexcept {
    return cmnw::chars::InstallCTypeTable(table);
}

extern "C" const uint16_t *GetCTypeTable(void) noexcept {
    return cmnw::chars::CTypeTableInForce();
}

extern "C" int32_t UTLisalnum(int32_t c) noexcept {
    return IsByte(c) ? TableFlags(c, CT_ALPHA | CT_DIGIT) : u_isalnum(c) != 0;
}

extern "C" int32_t UTLisalpha(int32_t c) noexcept {
    return IsByte(c) ? TableFlags(c, CT_ALPHA) : u_isalpha(c) != 0;
}

extern "C" int32_t UTLiscntrl(int32_t c) noexcept {
    return IsByte(c) ? TableFlags(c, CT_CNTRL) : u_iscntrl(c) != 0;
}

extern "C" int32_t UTLisdigit(int32_t c) noexcept {
    return IsByte(c) ? TableFlags(c, CT_DIGIT) : u_isdigit(c) != 0;
}

extern "C" int32_t UTLisgraph(int32_t c) noexcept {
    if (IsByte(c)) return TableFlags(c, CT_ALPHA | CT_DIGIT | CT_PUNCT);
    return cmnw::chars::IsWideGraphic(static_cast<uint16_t>(c));
}

extern "C" int32_t UTLislower(int32_t c) noexcept {
    return IsByte(c) ? TableFlags(c, CT_LOWER) : u_islower(c) != 0;
}

extern "C" int32_t UTLisprint(int32_t c) noexcept {
    return IsByte(c) ? TableFlags(c, CT_ALPHA | CT_DIGIT | CT_BLANK | CT_PUNCT) : u_isprint(c) != 0;
}

extern "C" int32_t UTLispunct(int32_t c) noexcept {
    if (IsByte(c)) return TableFlags(c, CT_PUNCT);
    constexpr uint32_t kPunctuationCategories = U_GC_PD_MASK | U_GC_PS_MASK | U_GC_PE_MASK |
                                                U_GC_PC_MASK | U_GC_PO_MASK | U_GC_PI_MASK |
                                                U_GC_PF_MASK;
    return static_cast<int32_t>(U_GET_GC_MASK(c) & kPunctuationCategories);
}

extern "C" int32_t UTLisspace(int32_t c) noexcept {
    return IsByte(c) ? TableFlags(c, CT_SPACE) : u_isspace(c) != 0;
}

extern "C" int32_t UTLisupper(int32_t c) noexcept {
    return IsByte(c) ? TableFlags(c, CT_UPPER) : u_isupper(c) != 0;
}

extern "C" int32_t UTLisxdigit(int32_t c) noexcept {
    if (IsByte(c)) return TableFlags(c, CT_XDIGIT);
    return cmnw::chars::IsWideHexDigit(static_cast<uint16_t>(c));
}

extern "C" int32_t UTLtolower(int32_t c) noexcept {
    if (IsByte(c)) return static_cast<int16_t>(cmnw::chars::CTypeTableInForce()[CT_LOWER_MAP + c]);
    return u_tolower(c);
}

extern "C" int32_t UTLtoupper(int32_t c) noexcept {
    if (IsByte(c)) return static_cast<int16_t>(cmnw::chars::CTypeTableInForce()[CT_UPPER_MAP + c]);
    return u_toupper(c);
}
