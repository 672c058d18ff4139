// Time format descriptors: decoding, building, output templates, pictures
// and the stored default descriptor.
#include <cstring>

#include "cmnw32/time.h"
#include "common/text.h"
#include "datetime/date_internal.h"
#include "datetime/datetime_state.h"
#include "datetime/time_internal.h"

namespace cmnw::datetime {
namespace {

constexpr char kTimeSeparators[] = ":-., ";
// Copies src into dst and returns the position after it, within end.
char *Put(char *dst, const char *end, const char *src) noexcept {
    while (*src != '\0' && dst < end) *dst++ = *src++;
    return dst;
}

}  // namespace

TimeLayout DecodeTimeDescriptor(const char *descriptor) noexcept {
    TimeLayout layout;
    if (descriptor == nullptr || descriptor[0] == '\0') return layout;
    if (descriptor[0] >= '1' && descriptor[0] <= '4') layout.fmtNum = descriptor[0] - '0';
    const char c = descriptor[1];
    if (c == 'b' || c == 'B') layout.sep = ' ';
    else if (c != '\0' && IsTimeSeparator(static_cast<unsigned char>(c))) layout.sep = c;
    return layout;
}

void StoredTimeDescriptor(char *out) noexcept {
    KeepDefaultDescriptor(DescriptorKind::Time, out, 'G');
}

}  // namespace cmnw::datetime

using namespace cmnw::datetime;

extern "C" const char *FMTTimeSepStr(void) noexcept { return kTimeSeparators; }

extern "C" int FMTIsTimeSep(int ch) noexcept { return ch != 0 && IsTimeSeparator(ch) ? 1 : 0; }

extern "C" int FMTGetTimeFmtNum(const char *descriptor) noexcept {
    return DecodeTimeDescriptor(descriptor).fmtNum;
}

extern "C" void FMTGetTimeFmtSep(const char *descriptor, char *sep) noexcept {
    if (sep == nullptr) return;
    sep[0] = DecodeTimeDescriptor(descriptor).sep;
    sep[1] = '\0';
}

extern "C" int FMTGetTimeFmtString(char *out, int fmtNum, char *sep) noexcept {
    if (out == nullptr) return 0;
    char *p = out;
    *p++ = (fmtNum >= 1 && fmtNum <= 4) ? static_cast<char>('0' + fmtNum) : '1';
    if (sep != nullptr) {
        if (sep[0] == 'B') sep[0] = 'b';
        const char c = sep[0];
        if (c == 'b' || (c != '\0' && IsTimeSeparator(static_cast<unsigned char>(c))))
            *p++ = c == ' ' ? 'b' : c;
    }
    *p = '\0';
    return 0;
}

extern "C" int FMTGetTimeFmtSprintf(char *out, int fmtNum, const char *sep) noexcept {
    if (out == nullptr) return 0;
    if (sep == nullptr) sep = "";
    const char *end = out + kTimeTemplateSize - 1;
    char *p = Put(out, end, "%02d");
    p = Put(p, end, sep);
    p = Put(p, end, "%02d");
    if (HasSecondsField(fmtNum)) {
        p = Put(p, end, sep);
        p = Put(p, end, "%02d");
    }
    if (IsTwelveHourFormat(fmtNum)) p = Put(p, end, " %s");
    *p = '\0';
    return 0;
}

extern "C" int FMTGetTimeFmtInfo(const char *descriptor, int *fmtNum, char *sep,
                                 char *templ) noexcept {
    const TimeLayout layout = DecodeTimeDescriptor(descriptor);
    if (fmtNum != nullptr) *fmtNum = layout.fmtNum;
    const char sepText[2] = {layout.sep, '\0'};
    if (sep != nullptr) std::memcpy(sep, sepText, sizeof sepText);
    if (templ != nullptr) FMTGetTimeFmtSprintf(templ, layout.fmtNum, sepText);
    return 0;
}

extern "C" int FMTDefTimeFormat(char *descriptor, char mode) noexcept {
    KeepDefaultDescriptor(DescriptorKind::Time, descriptor, mode);
    return 0;
}

extern "C" int FMTTimeFormatString(const char *descriptor, char *out, unsigned outSize) noexcept {
    if (out == nullptr || outSize == 0) return 2;
    std::memset(out, 0, outSize);
    const TimeLayout layout = DecodeTimeDescriptor(descriptor);
    char picture[16];
    char *p = picture;
    const char *end = picture + sizeof picture - 1;
    const char sep[2] = {layout.sep, '\0'};
    p = Put(p, end, "HH");
    p = Put(p, end, sep);
    p = Put(p, end, "MM");
    if (HasSecondsField(layout.fmtNum)) {
        p = Put(p, end, sep);
        p = Put(p, end, "SS");
    }
    if (IsTwelveHourFormat(layout.fmtNum)) p = Put(p, end, " xM");
    *p = '\0';
    const size_t length = static_cast<size_t>(p - picture);
    if (length + 1 > outSize) return 2;
    std::memcpy(out, picture, length);
    return 0;
}

extern "C" const char *FMTHour12Name(int hour) noexcept {
    if (hour >= 0 && hour <= 11) return "AM";
    if (hour >= 12 && hour <= 23) return "PM";
    return "";
}
