#include <gtest/gtest.h>

#include <string>

#include "cmnw32/filetype.h"
#include "common/test_support.h"

namespace {

// size bytes of zeros with the given bytes placed at their offsets.
std::string Bytes(size_t size, std::initializer_list<std::pair<size_t, std::string>> parts) {
    std::string s(size, '\0');
    for (const auto &[offset, bytes] : parts) s.replace(offset, bytes.size(), bytes);
    return s;
}

std::string Word(uint16_t v) { return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }

// A layout of type 12 at offset base: "P", words 2, 4, 18, 20, 22 non-zero,
// word 16 at most 255.
std::string Type12(size_t size, size_t base, uint16_t word16 = 255) {
    return Bytes(size, {{base, "P"}, {base + 2, Word(1)}, {base + 4, Word(7)},
                        {base + 16, Word(word16)}, {base + 18, Word(1)}, {base + 20, Word(2)},
                        {base + 22, Word(3)}});
}

TEST(FileType, SignatureTable) {
    cmnw::test::TempDir dir;
    const std::string star = Bytes(1, {{0, "*"}});
    const struct {
        const char *what;
        std::string content;
        int32_t type;
    } cases[] = {
        {"pdf mark late in the first KiB", Bytes(2000, {{1018, "%PDF-1"}}), 1},
        {"pdf mark with no byte after it in the first KiB", Bytes(2000, {{1019, "%PDF-1"}}), 0},
        {"pdf mark ending the file", "%PDF-", 0}, {"pdf wins over bitmap", "BM    %PDF-1.7 ", 1},
        {"tiff intel", Bytes(64, {{0, "II*"}}), 2}, {"h2400 any case", "h,2400 rest", 3},
        {"tiff motorola", Bytes(64, {{0, "MM"}, {3, "*"}}), 2},
        {"bitmap", Bytes(40, {{0, "BA"}}), 5},
        {"jpeg", "\xFF\xD8\xFF\xE0", 9}, {"png", "\x89PNG\r\n\x1A\n", 10},
        {"pcx too short", Bytes(100, {{0, "\x0A"}}), 0}, {"pcx", Bytes(200, {{0, "\x0A"}}), 4},
        {"type 12", Type12(152, 0), 12}, {"type 12 too short", Type12(151, 0), 0},
        {"type 12 word 16 too large", Type12(152, 0, 256), 0},
        {"type 12 behind a header", Type12(152, 128) .replace(127, 1, "*"), 12},
        {"type 7", Bytes(176, {{0, "J"}, {46, Word(16)}}), 7},
        {"type 7 bad word 46", Bytes(176, {{0, "J"}, {46, Word(3)}}), 0},
        {"metafile", Bytes(18, {{0, "\x01"}, {2, Word(9)}}), 11},
        {"modca 00 03", std::string("\x7F\x00\x03", 3), 6}, {"modca 5A..D3", "\x5A\x01\x02\xD3", 6},
        {"modca zeros then 03", Bytes(9, {{0, "\x01\x01"}, {4, "\x01\x01"}, {8, "\x03"}}), 6},
        {"modca zeros then 04", Bytes(9, {{0, "\x01\x01"}, {4, "\x01\x01"}, {8, "\x04"}}), 0},
        {"type 8", Bytes(600, {{512, "p"}}), 8},
        {"type 8 behind a header", Bytes(700, {{127, "*"}, {640, "p"}}), 8},
        {"type 8 behind a header looks at 640 only", Bytes(700, {{127, "*"}, {512, "p"}}), 0},
        {"empty", "", 0},
    };
    for (const auto &c : cases) EXPECT_EQ(UTLFileType(dir.Write("f", c.content).c_str()), c.type) << c.what;
    // Names that cannot be read, a directory among them.
    for (const std::string &name : {std::string(), dir.File("missing"), dir.path()}) {
        EXPECT_EQ(UTLFileType(name.c_str()), -1) << name;
    }
}

}  // namespace
