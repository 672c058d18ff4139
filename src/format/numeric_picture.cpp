// Picture alphabet and placement rules, and the picture check export.
#include "format/numeric_picture.h"

#include <cstring>

#include "cmnw32/number.h"
#include "common/text.h"

namespace cmnw::number {

bool ScanPicture(const char *picture, int n, ScanMode mode, PictureInfo *info) noexcept {
    PictureInfo r;
    bool seenNine = false, seenZed = false, seenStar = false, seenLiteral = false;
    bool seenFractionZero = false, seenSignLike = false;
    for (int i = 0; i < n; ++i) {
        const char c = picture[i];
        const bool inFraction = r.point >= 0;
        switch (c) {
            case '9':
                if (seenFractionZero) return false;
                ++r.nines;
                seenNine = true;
                break;
            case 'Z':
            case 'z':
                if (seenNine && !inFraction) return false;
                ++r.zeds;
                seenZed = true;
                break;
            case '$':
                if (seenNine || seenZed || inFraction || seenLiteral || seenStar) return false;
                ++r.dollars;
                break;
            case '*':
                if (r.dollars == 0 || seenNine || seenZed || seenLiteral || inFraction)
                    return false;
                ++r.stars;
                seenStar = true;
                break;
            case '0':
                if (!inFraction) return false;
                seenFractionZero = true;
                break;
            case '.':
                if (inFraction) {
                    ++r.literals;
                    seenLiteral = true;
                } else {
                    r.point = i;
                }
                break;
            case '+':
            case '-':
                if (mode == ScanMode::Format && seenSignLike) {
                    ++r.literals;
                    seenLiteral = true;
                    break;
                }
                [[fallthrough]];
            case '(':
            case ')':
            case 'C':
            case 'R':
            case 'D':
            case 'B':
                ++r.signs;
                if (inFraction) ++r.fractionSigns;
                seenSignLike = true;
                break;
            case ',':
            case '%':
                break;
            case ':':
                if (mode == ScanMode::Check) return false;
                [[fallthrough]];
            case '/':
            case '_':
            case 'b':
                ++r.literals;
                seenLiteral = true;
                break;
            default:
                return false;
        }
    }
    *info = r;
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
