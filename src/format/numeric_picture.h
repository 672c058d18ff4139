// Scanning numeric pictures: the alphabet, the placement rules and the counts
// the formatter works from.
#pragma once

namespace cmnw::number {

inline constexpr int kPictureMax = 32;

// How "+", "-" and ":" are read: when formatting, a "+" or "-" after another
// sign or marker character is a literal and ":" is a literal; when checking a
// stored picture, "+" and "-" are always signs and ":" is refused.
enum class ScanMode { Format, Check };

struct PictureInfo {
    int dollars = 0;
    int stars = 0;
    int nines = 0;
    int zeds = 0;
    int literals = 0;
    int signs = 0;          // sign and marker characters: + - ( ) C R D B
    int fractionSigns = 0;  // of those, the ones after the "."
    int point = -1;         // index of the first ".", or -1
    int Capacity() const noexcept { return dollars + stars + nines + zeds; }
};

// Scans the n characters of picture; false when a character is outside the
// alphabet or a placement rule is broken.
bool ScanPicture(const char *picture, int n, ScanMode mode, PictureInfo *info) noexcept;

inline bool IsSignOrMarker(char c) noexcept {
    return c == '+' || c == '-' || c == '(' || c == ')' || c == 'C' || c == 'R' || c == 'D' ||
           c == 'B';
}

inline bool IsDigitPosition(char c) noexcept {
    return c == '9' || c == 'Z' || c == 'z' || c == '$' || c == '*';
}

}  // namespace cmnw::number
