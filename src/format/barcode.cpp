// Bar code type lookup and validation of field data against a type.
#include "cmnw32/barcode.h"
#include "format/barcode_tables.h"

using cmnw::barcode::kBarTypes;

namespace cmnw::barcode {
namespace {

bool IsDigit(unsigned char c) noexcept { return c >= '0' && c <= '9'; }

// Code 39 and Code 93 data: upper case, digits and seven symbols.
unsigned char AcceptCode39(unsigned char c) noexcept {
    if (c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 'a' + 'A');
    if (IsDigit(c) || (c >= 'A' && c <= 'Z')) return c;
    switch (c) {
        case '-': case '.': case ' ': case '$': case '/': case '+': case '%':
            return c;
        default:
            return 0;
    }
}

// Codabar data: start/stop characters a..d at both ends, digits and six
// symbols between them.
unsigned char AcceptCodabar(unsigned char c, uint16_t pos, uint16_t dataLen) noexcept {
    if (c >= 'A' && c <= 'D') c = static_cast<unsigned char>(c - 'A' + 'a');
    if (pos == 0 || static_cast<int>(pos) == static_cast<int>(dataLen) - 1)
        return (c >= 'a' && c <= 'd') ? c : 0;
    if (IsDigit(c)) return c;
    switch (c) {
        case '-': case '$': case ':': case '/': case '.': case '+':
            return c;
        default:
            return 0;
    }
}

unsigned char AcceptChar(const UTLBarType &type, unsigned char c, uint16_t pos,
                         uint16_t dataLen) noexcept {
    if (type.maxLength != 0 && pos >= type.maxLength) return 0;
    switch (type.typeLetter) {
        case 'A': case 'B': case 'C': case 'M': case 'Y':
            return AcceptCode39(c);
        case 'D': case 'E':
            return AcceptCodabar(c, pos, dataLen);
        case 'R': case 'S': case 'T': case 'U':
            return c < 0x80 ? c : 0;
        default:
            return IsDigit(c) ? c : 0;
    }
}

}  // namespace
}  // namespace cmnw::barcode

extern "C" const UTLBarType *UTLFindBarType(char type) noexcept {
    if (type == 0) return nullptr;
    for (const UTLBarType *entry = kBarTypes; entry->typeLetter != 0; ++entry)
        if (entry->typeLetter == type) return entry;
    return nullptr;
}

extern "C" int16_t UTLBarcodeMaxLen(const char *type) noexcept {
    if (type == nullptr) return 0;
    const UTLBarType *entry = UTLFindBarType(type[0]);
    return entry == nullptr ? 0 : static_cast<int16_t>(entry->maxLength);
}

extern "C" char UTLBarcodeChar(const char *type, char ch, uint16_t pos, uint16_t dataLen) noexcept {
    if (type == nullptr) return 0;
    const UTLBarType *entry = UTLFindBarType(type[0]);
    if (entry == nullptr) return 0;
    return static_cast<char>(
        cmnw::barcode::AcceptChar(*entry, static_cast<unsigned char>(ch), pos, dataLen));
}

extern "C" int32_t FMTValBarcode(const char *data, int dataLen, const char *type) noexcept {
    if (dataLen <= 0) return 0;
    const UTLBarType *entry = type == nullptr ? nullptr : UTLFindBarType(type[0]);
    int expected = entry == nullptr ? 0 : entry->maxLength;
    if (entry != nullptr && entry->typeLetter == 'Z') {
        if (dataLen == 11 || dataLen == 9 || dataLen == 5) expected = dataLen;
    } else if (entry != nullptr && entry->typeLetter == '4') {
        if (dataLen == 20 || dataLen == 25 || dataLen == 29 || dataLen == 31) expected = dataLen;
    }
    if (dataLen != expected && expected != UTL_BARCODE_VARIABLE)
        return dataLen < expected ? 4 : 2;
    if (data == nullptr) return 1;
    // Positions are 16-bit; a variable-length type refuses position 254 on,
    // so no position past that is ever examined.
    for (int pos = 0; pos < dataLen; ++pos) {
        if (cmnw::barcode::AcceptChar(*entry, static_cast<unsigned char>(data[pos]),
                                      static_cast<uint16_t>(pos),
                                      static_cast<uint16_t>(dataLen > 0xFFFF ? 0xFFFF : dataLen)) == 0)
            return 1;
    }
    return 0;
}
