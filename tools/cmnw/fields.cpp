// Field definitions and the check of one value by the library's functions.
#include "fields.h"

#include <cstring>

#include "cmnw32.h"
#include "csv.h"
#include "tool_text.h"

namespace cmnw::tool {
namespace {

constexpr std::string_view kTypeCodes = "ABCIKMTXadikmntxy";

// Numeric pictures holding one of these are masks laid over the value.
bool IsMaskPicture(const std::string &picture) {
    return picture.find_first_of("/:_b") != std::string::npos;
}

std::string BarTypeText(const FieldDef &def) { return "bar code type " + def.format; }

}  // namespace

bool UseLocale(const std::string &name) {
    if (!name.empty() && !IsBuiltInLocale(name)) return false;
    UTLSetLocale(name.c_str());
    FMTSetHostLocale(UTLGetLocale());
    return true;
}

bool CompleteFieldDef(FieldDef &def, std::string &error) {
    if (kTypeCodes.find(def.type) == std::string_view::npos) {
        error = std::string("unknown field type '") + def.type + "' (one of " +
                std::string(kTypeCodes) + ")";
        return false;
    }
    char buffer[FMT_DISPLAY_PICTURE_MAX + 1];
    switch (def.type) {
        case 'n': {
            if (def.format.empty()) def.format = "ZZZZZZZZ9.99";
            char picture[FMT_NUM_PICTURE_MAX * 2];
            CopyText(picture, sizeof picture, def.format);
            if (def.format.size() > FMT_NUM_PICTURE_MAX ||
                def.format.find(' ') != std::string::npos ||
                (!IsMaskPicture(def.format) && FMTValidNumericFormat(picture) != 0)) {
                error = "not a valid numeric picture: " + def.format;
                return false;
            }
            def.picture = def.format;
            break;
        }
        case 'd':
            if (def.format.empty()) def.format = "1/4";
            if (FMTDateFormatString(def.format.c_str(), buffer, sizeof buffer) != 0) {
                error = "not a valid date descriptor: " + def.format;
                return false;
            }
            def.picture = buffer;
            break;
        case 'T':
            if (def.format.empty()) def.format = "1:";
            if (FMTTimeFormatString(def.format.c_str(), buffer, sizeof buffer) != 0) {
                error = "not a valid time descriptor: " + def.format;
                return false;
            }
            def.picture = buffer;
            break;
        case 'C':
            def.picture = FMTFormatString('C', def.format.c_str());
            if (!def.format.empty() && def.picture.empty()) {
                error = "not a valid custom mask: " + def.format;
                return false;
            }
            break;
        case 'B':
            if (def.format.size() != 1 || UTLFindBarType(def.format[0]) == nullptr) {
                error = "not a bar code type: " + def.format;
                return false;
            }
            def.picture = BarTypeText(def);
            break;
        default:
            def.picture = FMTTypeString(def.type);
            break;
    }
    return true;
}

bool ReadFieldDefs(std::FILE *in, std::string_view fileName, std::vector<FieldDef> &defs,
                   std::string &error) {
    CsvReader reader(in);
    std::vector<std::string_view> f;
    auto fail = [&](const std::string &message) {
        error = std::string(fileName) + ":" + std::to_string(reader.Line()) + ": " + message;
        return false;
    };
    while (reader.Next(f)) {
        if (f[0].empty() || f[0][0] == '#') continue;
        if (f.size() < 2 || f.size() > 4 || f[1].size() != 1)
            return fail("expected name,type[,format[,length]]");
        FieldDef def;
        def.name = std::string(f[0]);
        def.type = f[1][0];
        if (f.size() > 2) def.format = std::string(f[2]);
        if (f.size() > 3 && !f[3].empty()) {
            if (!ParseInt(f[3], def.maxLength) || def.maxLength < 0)
                return fail("field " + def.name + ": not a length: " + std::string(f[3]));
        }
        std::string message;
        if (!CompleteFieldDef(def, message)) return fail("field " + def.name + ": " + message);
        defs.push_back(std::move(def));
    }
    if (reader.ReadFailed()) return fail("cannot read the file");
    if (defs.empty()) return fail("no field definitions");
    return true;
}

bool FieldChecker::Check(const FieldDef &def, std::string_view value, std::string &out,
                         std::string &message) {
    work_.assign(value);
    const bool high = !latin1_ && HasHighBytes(work_);
    if (high) Utf8ToLatin(work_);
    if (def.maxLength > 0 && work_.size() > static_cast<size_t>(def.maxLength)) {
        message = "longer than " + std::to_string(def.maxLength) + " characters";
        out.assign(value);
        return false;
    }
    bool ok;
    switch (def.type) {
        case 'n': ok = CheckNumber(def, message); break;
        case 'd': ok = CheckDate(def, message); break;
        case 'T': ok = CheckTime(def, message); break;
        case 'C': ok = CheckMask(def, message); break;
        case 'y': ok = CheckYesNo(message); break;
        case 'B': ok = CheckBarcode(def, message); break;
        default: ok = CheckText(def, message); break;
    }
    if (!ok) {
        out.assign(value);
        return false;
    }
    if (!latin1_ && (high || def.type == 'd' || def.type == 'n' || def.type == 'y') &&
        HasHighBytes(work_)) {
        out.clear();
        LatinToUtf8(work_, out);
    } else {
        out.swap(work_);
    }
    return true;
}

// A plain number ("-1234.5") fitted into the picture, shown in the current
// locale's presentation of it.
bool FieldChecker::CheckNumber(const FieldDef &def, std::string &message) {
    const int len = static_cast<int>(def.format.size());
    TrimBlanks(work_);
    if (work_.size() > static_cast<size_t>(len)) {
        message = "longer than the picture " + def.picture;
        return false;
    }
    char picture[FMT_NUM_PICTURE_MAX + 1];
    char value[FMT_NUM_PICTURE_MAX + 1];
    std::memcpy(picture, def.format.data(), def.format.size() + 1);
    std::memcpy(value, work_.data(), work_.size() + 1);
    switch (FMTValNumFormat(len, picture, value)) {
        case 0: break;
        case 2: message = "too many digits for the picture " + def.picture; return false;
        default: message = "not a number for the picture " + def.picture; return false;
    }
    if (work_.empty()) return true;
    char shown[FMT_NUM_PICTURE_MAX * 2];
    FMTConvertNumFormat(value, nullptr, sizeof shown - 1, shown);
    work_.assign(shown);
    return true;
}

bool FieldChecker::CheckDate(const FieldDef &def, std::string &message) {
    char text[64];
    if (work_.size() > 61) {
        message = "not a valid date for " + def.picture;
        return false;
    }
    std::memcpy(text, work_.data(), work_.size() + 1);
    if (FMTIntlValDate(text, 61, def.format.c_str(), nullptr) != 0) {
        message = "not a valid date for " + def.picture;
        return false;
    }
    work_.assign(text);
    return true;
}

bool FieldChecker::CheckTime(const FieldDef &def, std::string &message) {
    char text[64];
    TrimBlanks(work_);
    if (work_.size() > 14) {
        message = "not a valid time for " + def.picture;
        return false;
    }
    std::memcpy(text, work_.data(), work_.size() + 1);
    if (FMTValTime(text, 14, def.format.c_str()) != 0) {
        message = "not a valid time for " + def.picture;
        return false;
    }
    work_.assign(text);
    return true;
}

// Raw text gets the mask; text that already shows the mask is taken back to
// its raw characters first, so both come out the same.
bool FieldChecker::CheckMask(const FieldDef &def, std::string &message) {
    if (def.format.empty()) return true;
    char out[FMT_MASK_TEXT_MAX + 1];
    const char *raw = work_.c_str();
    if (FMTDefmtString(raw, out, FMT_MASK_TEXT_MAX, def.format.c_str()) == 0) {
        scratch_.assign(out);
        raw = scratch_.c_str();
    }
    if (FMTFmtString(raw, out, FMT_MASK_TEXT_MAX, def.format.c_str()) != 0) {
        message = "does not fit the mask " + def.picture;
        return false;
    }
    work_.assign(out);
    return true;
}

// The locale's word for yes or no, or a beginning of it, in any case; shown
// as its first letter.
bool FieldChecker::CheckYesNo(std::string &message) {
    TrimBlanks(work_);
    if (work_.empty()) return true;
    const int letter = UTLGetValidYesNo(static_cast<unsigned char>(work_[0]), nullptr, nullptr);
    if (!haveSettings_) {
        UTLGetLocaleSettings((" " + std::string(UTLGetLocale())).c_str(), &settings_);
        haveSettings_ = true;
    }
    const LocaleSettings &ls = settings_;
    if (letter != 0) {
        const char *word =
            UTLtoupper(static_cast<unsigned char>(ls.yesText[0])) == letter ? ls.yesText : ls.noText;
        if (work_.size() <= std::strlen(word) &&
            UTLstrnicmp(work_.c_str(), word, work_.size()) == 0) {
            work_.assign(1, static_cast<char>(letter));
            return true;
        }
    }
    scratch_.clear();
    LatinToUtf8(std::string(ls.yesText) + " or " + ls.noText, scratch_);
    message = "not " + scratch_;
    return false;
}

// Characters are taken as the bar type takes them (lower-case letters of
// Code 39 become upper case), then the length is checked.
bool FieldChecker::CheckBarcode(const FieldDef &def, std::string &message) {
    const char *type = def.format.c_str();
    const auto n = static_cast<uint16_t>(work_.size() > 65535 ? 65535 : work_.size());
    const int16_t max = UTLBarcodeMaxLen(type);
    if (work_.size() <= static_cast<size_t>(max)) {
        for (uint16_t i = 0; i < n; ++i) {
            const char c = UTLBarcodeChar(type, work_[i], i, n);
            if (c == 0) {
                message = "character " + QuoteChar(work_[i], latin1_) + " at position " +
                          std::to_string(i + 1) + " is not allowed in " + def.picture;
                return false;
            }
            work_[i] = c;
        }
    }
    switch (FMTValBarcode(work_.data(), static_cast<int>(n), type)) {
        case 0: return true;
        case 1: message = "a character is not allowed in " + def.picture; return false;
        case 2:
            message = "longer than " + def.picture + " allows (" + std::to_string(max) + ")";
            return false;
        default: message = "too short for " + def.picture; return false;
    }
}

// The text kinds: alphabetic ones take letters and blanks, alphanumeric ones
// any printable character, "m" only "X" and blanks; the plain kinds stay in
// ASCII, the international ones take every letter of the code page; the
// upper-case kinds are shown in upper case.
bool FieldChecker::CheckText(const FieldDef &def, std::string &message) {
    const char t = def.type;
    if (t == 'M' || t == 't') return true;
    const bool alpha = t == 'a' || t == 'A' || t == 'i' || t == 'I';
    const bool intl = t == 'i' || t == 'I' || t == 'k' || t == 'K';
    const bool upper = t == 'A' || t == 'I' || t == 'X' || t == 'K' || t == 'm';
    for (size_t i = 0; i < work_.size(); ++i) {
        const auto c = static_cast<unsigned char>(work_[i]);
        bool good;
        if (t == 'm') {
            good = c == ' ' || c == 'x' || c == 'X';
        } else if (c >= 0x80 && !intl) {
            good = false;
        } else {
            good = alpha ? (c == ' ' || UTLisalpha(c) != 0) : (c >= 0x20 && c != 0x7F);
        }
        if (!good) {
            message = "character " + QuoteChar(work_[i], latin1_) + " at position " +
                      std::to_string(i + 1) + " is not allowed in " + def.picture + " text";
            return false;
        }
    }
    if (upper) UTLstrupr(work_.data());
    return true;
}

}  // namespace cmnw::tool
