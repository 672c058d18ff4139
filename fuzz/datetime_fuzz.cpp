// Combined date-time texts and forms from arbitrary bytes: the input splits
// at NULs into a source text, a from-form and a to-form. Every conversion
// must stay within the documented target sizes (80 bytes for texts), and a
// hextime produced from a text must read back through the date parser.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "cmnw32/date.h"
#include "cmnw32/datetime.h"
#include "cmnw32/time.h"

namespace {

std::string Field(const std::string &input, size_t &pos) {
    const size_t cut = input.find('\0', pos);
    std::string field = input.substr(pos, cut == std::string::npos ? std::string::npos : cut - pos);
    pos = cut == std::string::npos ? input.size() : cut + 1;
    return field;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static bool zoneSet = false;
    if (!zoneSet) {
        setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
        tzset();
        zoneSet = true;
    }
    const std::string input(reinterpret_cast<const char *>(data), size);
    size_t pos = 0;
    const std::string source = Field(input, pos);
    const std::string from = Field(input, pos);
    const std::string to = Field(input, pos);

    // Binary forms read a whole record from the source.
    char record[96] = {};
    std::memcpy(record, source.c_str(), source.size() < 95 ? source.size() : 95);
    unsigned char target[96];
    std::memset(target, 0x7F, sizeof target);
    FMTDateTime2DateTime(record, from.c_str(), target, to.c_str());
    if (target[80] != 0x7F) std::abort();

    // Through the hextime and back to text.
    char hextime[16];
    std::memset(hextime, 0x7F, sizeof hextime);
    if (FMTDateTime2DateTime(record, from.c_str(), hextime, "X") == 0) {
        if (hextime[9] != 0x7F) std::abort();
        char text[96];
        std::memset(text, 0x7F, sizeof text);
        FMTDateTime2DateTime(hextime, "X", text, to.c_str());
        if (text[80] != 0x7F) std::abort();
    }

    // The date-field operations on the same text and forms.
    char typed[96];
    std::memset(typed, 0x7F, sizeof typed);
    std::strncpy(typed, source.c_str(), 63);
    typed[63] = '\0';
    FMTIntlValDate(typed, 80, from.c_str(), to.size() > 1 ? to.c_str() : nullptr);
    if (typed[64] != 0x7F) std::abort();
    char out[96];
    std::memset(out, 0x7F, sizeof out);
    FMTDate2Date(source.c_str(), from.c_str(), out, to.c_str());
    if (out[64] != 0x7F) std::abort();
    char picture[40];
    FMTDateFormatString(from.c_str(), picture, static_cast<unsigned>(source.size() % 41));
    return 0;
}
