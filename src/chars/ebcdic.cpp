// EBCDIC/ASCII translation through the replaceable tables, and zoned-sign
// number strings.
#include "cmnw32/ebcdic.h"

#include <cstring>

#include "chars/ebcdic_tables.h"
#include "common/text.h"

namespace cmnw::chars {
namespace {

struct EbcdicState {
    const uint8_t *toAscii;
    const uint8_t *toEbcdic;
};

constinit EbcdicState g_ebcdic{kEbcdicToAscii.data(), kAsciiToEbcdic.data()};

constexpr char kSignDigits[] = "0123456789??????";
constexpr uint8_t kEbcdicSpace = 0x40;

const uint8_t *Replace(const uint8_t *&slot, const uint8_t *table) noexcept {
    if (table == nullptr) return nullptr;
    const uint8_t *previous = slot;
    slot = table;
    return previous;
}

void TranslateForward(void *buffer, uint16_t len, const uint8_t *table, bool crToSpace) noexcept {
    if (buffer == nullptr) return;
    auto *bytes = static_cast<uint8_t *>(buffer);
    for (uint16_t i = 0; i < len; ++i) {
        StoreIfChanged(bytes[i], crToSpace && bytes[i] == '\r' ? kEbcdicSpace : table[bytes[i]]);
    }
}

int32_t SignOfZone(uint8_t zone) noexcept {
    switch (zone) {
        case 0xA0:
        case 0xC0:
        case 0xE0:
        case 0xF0:
        case 0x30:
            return 1;
        case 0xB0:
        case 0xD0:
        case 0x70:
            return -1;
        default:
            return 0;
    }
}

int32_t UnzoneLastDigit(char *s, uint16_t len, bool insertMinus, int *error) noexcept {
    if (s == nullptr || len == 0) {
        if (error != nullptr) *error = 1;
        return 0;
    }
    auto last = static_cast<uint8_t>(s[len - 1]);
    bool asciiDigit = last >= '0' && last <= '9';
    bool asciiNegative = last >= 0x70 && last <= 0x79;
    if (!asciiDigit && !asciiNegative) last = g_ebcdic.toEbcdic[last];
    int32_t sign = SignOfZone(last & 0xF0);
    unsigned digit = last & 0x0F;
    if (error != nullptr) *error = sign == 0 || digit > 9 ? 1 : 0;
    StoreIfChanged(s[len - 1], kSignDigits[digit]);
    if (insertMinus && sign == -1) {
        // The whole string moves, not only the len characters that hold
        // the number's sign.
        const size_t n = std::strlen(s);
        std::memmove(s + 1, s, n + 1);
        s[0] = '-';
    }
    return sign;
}

}  // namespace
}  // namespace cmnw::chars

using cmnw::chars::g_ebcdic;

extern "C" const uint8_t *SetEBC2ASCTable(const uint8_t *table) noexcept {
    return cmnw::chars::Replace(g_ebcdic.toAscii, table);
}

extern "C" const uint8_t *GetEBC2ASCTable(void) noexcept {
    return g_ebcdic.toAscii;
}

extern "C" uint8_t EBC2ASC(uint8_t c) noexcept {
    return g_ebcdic.toAscii[c];
}

extern "C" void EBCDIC2ASCII(void *buffer, uint16_t len) noexcept {
    if (buffer == nullptr) return;
    auto *bytes = static_cast<uint8_t *>(buffer);
    for (uint16_t i = len; i > 0; --i)
        cmnw::StoreIfChanged(bytes[i - 1], g_ebcdic.toAscii[bytes[i - 1]]);
}

extern "C" const uint8_t *SetASC2EBCTable(const uint8_t *table) noexcept {
    return cmnw::chars::Replace(g_ebcdic.toEbcdic, table);
}

extern "C" const uint8_t *GetASC2EBCTable(void) noexcept {
    return g_ebcdic.toEbcdic;
}

extern "C" uint8_t ASC2EBC(uint8_t c) noexcept {
    return g_ebcdic.toEbcdic[c];
}

extern "C" uint8_t ForceASC2EBC(uint8_t c) noexcept {
    return g_ebcdic.toEbcdic[c];
}

extern "C" void ASCII2EBCDIC(void *buffer, uint16_t len) noexcept {
    cmnw::chars::TranslateForward(buffer, len, g_ebcdic.toEbcdic, false);
}

extern "C" void ForceASCII2EBCDIC(void *buffer, uint16_t len) noexcept {
    cmnw::chars::TranslateForward(buffer, len, g_ebcdic.toEbcdic, false);
}

extern "C" void ForceASCII2EBCDICCR2Space(void *buffer, uint16_t len) noexcept {
    cmnw::chars::TranslateForward(buffer, len, g_ebcdic.toEbcdic, true);
}

extern "C" const uint8_t *UTLDef_OS400_A2Etable(void) noexcept {
    return cmnw::chars::Replace(g_ebcdic.toEbcdic, cmnw::chars::kOs400AsciiToEbcdic.data());
}

extern "C" const uint8_t *UTLDef_MVS_A2Etable(void) noexcept {
    return cmnw::chars::Replace(g_ebcdic.toEbcdic, cmnw::chars::kAsciiToEbcdic.data());
}

extern "C" int32_t UTLSignedStrToStrExt(char *s, uint16_t len, int insertMinus,
                                        int *error) noexcept {
    return cmnw::chars::UnzoneLastDigit(s, len, insertMinus != 0, error);
}

extern "C" int32_t UTLSignedStrToStr(char *s, uint16_t len, int insertMinus) noexcept {
    return cmnw::chars::UnzoneLastDigit(s, len, insertMinus != 0, nullptr);
}
