// Date format descriptors: decoding, building, output templates and the
// stored default descriptor.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "cmnw32/date.h"
#include "common/text.h"
#include "datetime/date_internal.h"
#include "datetime/datetime_state.h"

namespace cmnw::datetime {
namespace {

constexpr char kDateSeparators[] = "/-., ";
// The descriptor's characters, cut at kMaxDescriptor; reads past the end give
// '\0'. Only the first three characters decide the format, the separator and
// the year length; the case marks may stand anywhere.
class DescriptorText {
public:
    // One pass gives the length, the first characters and the case flag.
    explicit DescriptorText(const char *text) noexcept {
        if (text == nullptr) return;
        size_t n = 0;
        for (; n < kMaxDescriptor && text[n] != '\0'; ++n) {
            const char c = text[n];
            if (n < sizeof head_) head_[n] = c;
            lower_ |= c == '<';
            upper_ |= c == '>';
        }
        length_ = n;
    }
    char operator[](size_t i) const noexcept { return i < sizeof head_ ? head_[i] : '\0'; }
    size_t size() const noexcept { return length_; }
    bool StartsWith99() const noexcept { return head_[0] == '9' && head_[1] == '9'; }
    // "<" wins over ">" wherever they stand.
    CaseFlag Case() const noexcept {
        return lower_ ? CaseFlag::Lower : (upper_ ? CaseFlag::Upper : CaseFlag::None);
    }

private:
    char head_[3] = {};
    size_t length_ = 0;
    bool lower_ = false;
    bool upper_ = false;
};

}  // namespace

DateLayout DecodeDescriptor(const char *descriptor) noexcept {
    const DescriptorText d(descriptor);
    DateLayout layout;
    layout.caseFlag = d.Case();
    if (d.StartsWith99()) {
        layout.fmtNum = 1;
        layout.sep = '/';
        layout.yrLen = 0;
        return layout;
    }
    const DescriptorCode code = kDescriptorCodes[static_cast<unsigned char>(d[0])];
    layout.fmtNum = code.fmtNum;
    const char fallback = code.separator;
    const char second = kDescriptorSeparators[static_cast<unsigned char>(d[1])];
    if (fallback == '\0') {
        layout.sep = '\0';
    } else if (fallback == ',' && d[1] == '/') {
        layout.sep = ',';
    } else {
        layout.sep = second != '\0' ? second : fallback;
    }
    // The year length follows the code and the separator character, if any;
    // a descriptor of one character may be a year length alone.
    const size_t i = d.size() > 1 ? 1 : 0;
    const size_t yearAt = kDescriptorSeparators[static_cast<unsigned char>(d[i])] != '\0' ? i + 1 : i;
    layout.yrLen = kDescriptorYearLengths[static_cast<unsigned char>(d[yearAt])];
    return layout;
}

int DecodeFormatNumber(const char *descriptor) noexcept {
    return DecodeDescriptor(descriptor).fmtNum;
}

char DecodeSeparator(const char *descriptor) noexcept {
    return DecodeDescriptor(descriptor).sep;
}

int DecodeYearLength(const char *descriptor) noexcept {
    return DecodeDescriptor(descriptor).yrLen;
}

size_t BuildDateTemplate(char *out, size_t outSize, int fmtNum, const char *sep,
                         int yrLen) noexcept {
    if (out == nullptr || outSize == 0) return 0;
    out[0] = '\0';
    const DateFormat &f = FormatOf(fmtNum);
    if (f.month == MonthShow::Alone) return AppendBounded(out, outSize, "%s");
    const int64_t absYear = yrLen < 0 ? -static_cast<int64_t>(yrLen) : yrLen;
    const int yearWidth = absYear == 0 ? 2 : static_cast<int>(absYear > 9999 ? 9999 : absYear);
    const char *s = sep != nullptr ? sep : "";
    static constexpr const char *kNumberConversions[] = {"%02d", "%-d", "%2d"};
    const char *number = kNumberConversions[static_cast<int>(f.pad)];
    const DateParts &parts = PartsOfFormat(fmtNum);
    size_t length = 0;
    for (int i = 0; i < parts.count; ++i) {
        if (i > 0) {
            const DateJoint joint = parts.joint[i - 1];
            if (joint != DateJoint::Blank) AppendBounded(out, outSize, s);
            if (joint == DateJoint::Blank ||
                (joint == DateJoint::SeparatorBlank && std::strcmp(s, " ") != 0))
                AppendBounded(out, outSize, " ");
        }
        char conversion[16];
        switch (parts.part[i]) {
            case DatePart::Month:
                CopyBounded(conversion, sizeof conversion, f.ShowsName() ? "%s" : number);
                break;
            // Words print the day as "%d".
            case DatePart::Day:
                CopyBounded(conversion, sizeof conversion,
                            f.month == MonthShow::Words ? "%d" : number);
                break;
            case DatePart::Year:
                FormatBounded(conversion, sizeof conversion, "%%0%dd", yearWidth);
                break;
            case DatePart::DayOfYear:
                CopyBounded(conversion, sizeof conversion, "%03d");
                break;
        }
        length = AppendBounded(out, outSize, conversion);
    }
    return length;
}

}  // namespace cmnw::datetime

using namespace cmnw::datetime;

extern "C" const char *FMTDateSepStr(void) noexcept { return kDateSeparators; }

extern "C" int FMTIsDateSep(int ch) noexcept { return IsDateSeparator(ch) ? 1 : 0; }

extern "C" int FMTGetDateFmtNum(const char *descriptor) noexcept {
    return DecodeFormatNumber(descriptor);
}

extern "C" int FMTGetDateFmtSep(const char *descriptor, char *sep) noexcept {
    if (sep == nullptr) return 0;
    sep[0] = DecodeSeparator(descriptor);
    sep[1] = '\0';
    return 0;
}

extern "C" int FMTGetDateFmtYrLen(const char *descriptor) noexcept {
    return DecodeYearLength(descriptor);
}

extern "C" int FMTGetDateFmtString(char *out, int fmtNum, char *sep, int yrLen) noexcept {
    if (out == nullptr) return 0;
    size_t n = 0;
    out[n++] = FormatOf(fmtNum).code;
    if (sep != nullptr) {
        if (sep[0] == 'B') sep[0] = 'b';
        if (sep[0] == 'b' || sep[0] == ' ') {
            out[n++] = 'b';
        } else if (IsDateSeparator(static_cast<unsigned char>(sep[0]))) {
            out[n++] = sep[0];
        }
    }
    switch (yrLen) {
        case 2: out[n++] = '2'; break;
        case 4: out[n++] = '4'; break;
        case -2: case 3: out[n++] = '3'; break;
        case -4: case 5: out[n++] = '5'; break;
        default: break;
    }
    out[n] = '\0';
    return 0;
}

extern "C" int FMTGetDateFmtSprintf(char *out, int fmtNum, const char *sep, int yrLen) noexcept {
    if (out != nullptr) BuildDateTemplate(out, kTemplateSize, fmtNum, sep, yrLen);
    return 0;
}

extern "C" int FMTGetDateFmtInfo(const char *descriptor, int *fmtNum, char *sep, int *yrLen,
                                 char *templ) noexcept {
    const DateLayout layout = DecodeDescriptor(descriptor);
    if (fmtNum != nullptr) *fmtNum = layout.fmtNum;
    if (sep != nullptr) {
        sep[0] = layout.sep;
        sep[1] = '\0';
    }
    if (yrLen != nullptr) *yrLen = layout.yrLen;
    if (templ != nullptr) {
        const char sepText[2] = {layout.sep, '\0'};
        BuildDateTemplate(templ, kTemplateSize, layout.fmtNum, sepText, layout.yrLen);
    }
    return 0;
}

extern "C" int FMTDefDateFormat(char *descriptor, char mode) noexcept {
    KeepDefaultDescriptor(DescriptorKind::Date, descriptor, mode);
    return 0;
}
