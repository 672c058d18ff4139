// Picture alphabet and placement rules, and the picture check export.
#include "format/numeric_picture.h"

#include <cstring>

#include "cmnw32/number.h"
#include "common/text.h"

namespace cmnw::number {

namespace {

// The counts of a picture scanned so far and what its placement rules look
// back on.
struct PictureScan {
    PictureInfo r;
    bool seenNine = false, seenZed = false, seenStar = false, seenLiteral = false;
    bool seenFractionZero = false, seenSignLike = false;

    void Literal() noexcept {
        ++r.literals;
        seenLiteral = true;
    }

    // A digit position ("9", "Z", "$", "*" or a fraction's "0"); false when
    // it breaks a placement rule.
    bool TakeDigitPosition(char c) noexcept {
        const bool inFraction = r.point >= 0;
        switch (c) {
            case '9':
                if (seenFractionZero) return false;
                ++r.nines;
                seenNine = true;
                return true;
            case 'Z':
            case 'z':
                if (seenNine && !inFraction) return false;
                ++r.zeds;
                seenZed = true;
                return true;
            case '$':
                if (seenNine || seenZed || inFraction || seenLiteral || seenStar) return false;
                ++r.dollars;
                return true;
            case '*':
                if (r.dollars == 0 || seenNine || seenZed || seenLiteral || inFraction)
                    return false;
                ++r.stars;
                seenStar = true;
                return true;
            default:  // '0'
                if (!inFraction) return false;
                seenFractionZero = true;
                return true;
        }
    }

    // Any other character at index i; false for one outside the alphabet.
    bool TakeOther(char c, int i, ScanMode mode) noexcept {
        switch (c) {
            case '.':
                if (r.point >= 0)
                    Literal();
                else
                    r.point = i;
                return true;
            case '+':
            case '-':
                if (mode == ScanMode::Format && seenSignLike) {
                    Literal();
                    return true;
                }
                [[fallthrough]];
            case '(':
            case ')':
            case 'C':
            case 'R':
            case 'D':
            case 'B':
                ++r.signs;
                if (r.point >= 0) ++r.fractionSigns;
                seenSignLike = true;
                return true;
            case ',':
            case '%':
                return true;
            case ':':
                if (mode == ScanMode::Check) return false;
                [[fallthrough]];
            case '/':
            case '_':
            case 'b':
                Literal();
                return true;
            default:
                return false;
        }
    }
};

}  // namespace

bool ScanPicture(const char *picture, int n, ScanMode mode, PictureInfo *info) noexcept {
    PictureScan scan;
    for (int i = 0; i < n; ++i) {
        const char c = picture[i];
        const bool taken = (IsDigitPosition(c) || c == '0') ? scan.TakeDigitPosition(c)
                                                            : scan.TakeOther(c, i, mode);
        if (!taken) return false;
    }
    *info = scan.r;
    return true;
}

}  // namespace cmnw::number

extern "C" int FMTValidNumericFormat(char *picture) noexcept {
    using namespace cmnw::number;
    if (picture == nullptr) return 3;
    size_t n = std::strcspn(picture, " ");
    cmnw::StoreIfChanged(picture[n], '\0');
    if (n > static_cast<size_t>(kPictureMax)) return 1;
    PictureInfo info;
    return ScanPicture(picture, static_cast<int>(n), ScanMode::Check, &info) ? 0 : 3;
}
