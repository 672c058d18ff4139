// Field-level date operations: validating a typed date, deformatting it, the
// picture of a descriptor, and converting a date text between descriptors,
// either side possibly a hextime.
#include <cstring>
#include <ctime>

#include "cmnw32/date.h"
#include "cmnw32/time.h"
#include "common/text.h"
#include "datetime/date_internal.h"
#include "datetime/date_validate.h"
#include "datetime/datetime_state.h"
#include "datetime/time_internal.h"
#include "locale/locale.h"

namespace cmnw::datetime {
namespace {

// Typed dates are read up to this many characters.
constexpr size_t kMaxTypedDate = 61;
constexpr size_t kWorkSize = kMaxTypedDate + 1;

bool IsDateSepChar(int ch) { return IsDateSeparator(ch); }

bool IsHextimeDescriptor(const char *descriptor) noexcept {
    return descriptor != nullptr && (descriptor[0] == 'X' || descriptor[0] == 'x');
}

// descriptor cut to 31 characters, or the stored default for null.
void ResolveDateDescriptor(const char *descriptor, char (&out)[kDescriptorBuffer]) noexcept {
    if (descriptor == nullptr) {
        KeepDefaultDescriptor(DescriptorKind::Date, out, 'G');
    } else {
        CopyBoundedN(out, sizeof out, descriptor, kMaxDescriptor);
    }
}

// The text that stands for "no date" in a field of the layout: a blank for
// a format of names in words, else two blanks a number parted by the
// separator.
void WriteBlankPicture(char *text, const DateLayout &layout) noexcept {
    const DateFormat &f = FormatOf(layout.fmtNum);
    if (f.month == MonthShow::Words || f.month == MonthShow::Alone) {
        std::memcpy(text, " ", 2);
        return;
    }
    const char sep[2] = {layout.sep, '\0'};
    text[0] = '\0';
    for (int i = 0; i < PartsOfFormat(layout.fmtNum).count; ++i) {
        if (i > 0) AppendBounded(text, kMaxDateText, sep);
        AppendBounded(text, kMaxDateText, "  ");
    }
}

// Copies at most min(maxLen, kMaxTypedDate) characters of text into work and
// returns the copy with white space trimmed at both ends (a pointer into
// work).
const char *CopyTypedDate(char (&work)[kWorkSize], const char *text, unsigned maxLen) noexcept {
    const size_t limit = maxLen < kMaxTypedDate ? maxLen : kMaxTypedDate;
    size_t n = 0;
    for (; n < limit && text[n] != '\0'; ++n) work[n] = text[n];
    while (n > 0 && IsBlankChar(static_cast<unsigned char>(work[n - 1]))) --n;
    work[n] = '\0';
    const char *typed = work;
    while (IsBlankChar(static_cast<unsigned char>(*typed))) ++typed;
    return typed;
}

// How a picture shows one part of a date of format f.
const char *PartPicture(const DateFormat &f, DatePart part, int yrLen) noexcept {
    switch (part) {
        case DatePart::Month:
            return !f.ShowsName() ? "MM" : (f.abbrev ? "Mon" : "MonthName");
        case DatePart::Day:
            return "DD";
        case DatePart::Year:
            return (yrLen == 4 || yrLen == -4) ? "YYYY" : "YY";
        case DatePart::DayOfYear:
            return "DOY";
    }
    return "";
}

}  // namespace

DateEntry ValidateDateEntry(char *text, unsigned maxLen, const char *descriptor,
                           DateFields *fields) noexcept {
    const DateLayout layout = DecodeDescriptor(descriptor);
    char work[kWorkSize];
    const char *typed = CopyTypedDate(work, text, maxLen);
    if (typed[0] == '\0') return DateEntry::Empty;
    char canonical[kMaxDateText];
    // A typed date rarely starts with a separator: the first test spares the call.
    if (IsDateSeparator(static_cast<unsigned char>(typed[0])) &&
        IsBlankEntry(typed, IsDateSepChar)) {
        WriteBlankPicture(canonical, layout);
        ReplaceIfChanged(text, canonical);
        return DateEntry::Blank;
    }
    int month = 0, day = 0, year = 0;
    if (ParseDate(typed, layout.fmtNum, layout.yrLen, &month, &day, &year) != 0)
        return DateEntry::Invalid;
    if (day >= 1 && month >= 1 && year >= 0) {
        const size_t length = MakeDate(canonical, sizeof canonical, layout, month, day, year);
        ReplaceIfChanged(text, canonical, length);
    }
    if (fields != nullptr) *fields = DateFields{month, day, year};
    return DateEntry::Date;
}

size_t MakeDateOfLocal(const std::tm &local, const char *descriptor, char *out,
                       size_t outSize) noexcept {
    char resolved[kDescriptorBuffer];
    ResolveDateDescriptor(descriptor, resolved);
    return MakeDate(out, outSize, DecodeDescriptor(resolved), local.tm_mon + 1, local.tm_mday,
                    local.tm_year + 1900);
}

}  // namespace cmnw::datetime

using namespace cmnw::datetime;

extern "C" int FMTIntlValDate(char *text, unsigned maxLen, const char *descriptor,
                              const char *locale) noexcept {
    if (text == nullptr) return 1;
    const cmnw::locale::CallLocale call(locale);
    return ValidateDateEntry(text, maxLen, descriptor) == DateEntry::Invalid ? 1 : 0;
}

extern "C" int FMTDeformatDate(char *text, unsigned maxLen, const char *descriptor,
                               const char *locale) noexcept {
    if (text == nullptr) return 1;
    const cmnw::locale::CallLocale call(locale);
    char work[kWorkSize];
    cmnw::CopyBoundedN(work, sizeof work, text, maxLen < kMaxTypedDate ? maxLen : kMaxTypedDate);
    const DateLayout layout = DecodeDescriptor(descriptor);
    int month = 0, day = 0, year = 0;
    if (ParseDate(work, layout.fmtNum, layout.yrLen, &month, &day, &year) != 0) return 1;
    if (month >= 1 && day >= 1 && year >= 0) {
        char canonical[kMaxDateText];
        const size_t length = MakeDate(canonical, sizeof canonical, layout, month, day, year);
        cmnw::ReplaceIfChanged(text, canonical, length);
    }
    return 0;
}

extern "C" int FMTDateFormatString(const char *descriptor, char *out, unsigned outSize) noexcept {
    if (out == nullptr || outSize == 0) return 2;
    std::memset(out, 0, outSize);
    const DateLayout layout = DecodeDescriptor(descriptor);
    const DateFormat &f = FormatOf(layout.fmtNum);
    const char sep[2] = {layout.sep, '\0'};
    const DateParts &parts = PartsOfFormat(layout.fmtNum);
    char picture[48] = "";
    size_t length = 0;
    for (int i = 0; i < parts.count; ++i) {
        if (i > 0) {
            static constexpr const char *kJoints[] = {"", " ", ", "};
            const DateJoint joint = parts.joint[i - 1];
            length = cmnw::AppendBounded(
                picture, sizeof picture,
                joint == DateJoint::Separator ? sep : kJoints[static_cast<int>(joint)]);
        }
        length = cmnw::AppendBounded(picture, sizeof picture,
                                     PartPicture(f, parts.part[i], layout.yrLen));
    }
    if (length + 1 > outSize) return 2;
    std::memcpy(out, picture, length);
    return 0;
}

extern "C" int FMTDate2Date(const char *text, const char *fromDescriptor, char *out,
                            const char *toDescriptor) noexcept {
    if (text == nullptr || out == nullptr) return 1;
    const cmnw::locale::CallLocale call;  // one locale for reading and writing
    if (IsHextimeDescriptor(fromDescriptor) && !IsHextimeDescriptor(toDescriptor)) {
        // The local date of the stamp, as its "%m/%d/%Y" text reads back.
        std::tm local{};
        if (!HextimeToLocal(text, &local)) return 1;
        out[0] = '\0';
        MakeDateOfLocal(local, toDescriptor, out, kMaxDateText);
        return 0;
    }
    char work[kWorkSize];
    char from[kDescriptorBuffer];
    if (IsHextimeDescriptor(fromDescriptor)) {
        FMTHextime2Date(text, work, sizeof work);
        cmnw::CopyBounded(from, sizeof from, "1/4");
    } else {
        cmnw::CopyBoundedN(work, sizeof work, text, kMaxTypedDate);
        ResolveDateDescriptor(fromDescriptor, from);
    }
    if (IsHextimeDescriptor(toDescriptor)) {
        // A date that does not read still gives a stamp, of whatever the
        // work text holds.
        char canonical[kMaxDateText];
        if (FMTDate2Date(work, from, canonical, "14") == 0)
            cmnw::CopyBounded(work, sizeof work, canonical);
        std::memset(out, 0, kHextimeSize);
        FMTDate2Hextime(work, out, kHextimeSize);
        return 0;
    }
    const DateLayout layout = DecodeDescriptor(from);
    int month = 0, day = 0, year = 0;
    if (ParseDate(work, layout.fmtNum, layout.yrLen, &month, &day, &year) != 0) return 1;
    char to[kDescriptorBuffer];
    ResolveDateDescriptor(toDescriptor, to);
    out[0] = '\0';
    MakeDate(out, kMaxDateText, DecodeDescriptor(to), month, day, year);
    return 0;
}
