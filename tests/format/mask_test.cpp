// Field type names, custom masks and display pictures.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>

#include "cmnw32/mask.h"

namespace {

TEST(Mask, TypeNamesByCodeAndNoneForOthers) {
    const std::pair<char, const char *> cases[] = {
        {'A', "Uppercase alphabetic"}, {'I', "Int'l Uppercase alphabetic"}, {'a', "Alphabetic"},
        {'y', "(Y)es or (N)o"}, {'Y', ""}, {0, ""},
    };
    for (const auto &[code, name] : cases) EXPECT_STREQ(FMTTypeString(code), name) << code;
}

// Applying and removing masks; on failure nothing is written.
TEST(Mask, ApplyAndRemoveMasks) {
    const std::string big(1020, '7'), bigDash = big + "-", bigTail = big + "123456";
    const struct { bool removing; const char *text, *mask; unsigned outSize; int rc; const char *want; } rows[] = {
        {false, "123456789", "3,-,2,-", 64, 0, "123-45-6789"}, {false, "12", "3,-,2,-", 64, 0, "12 -  -"},
        {false, "", "3,-,2,-", 64, 0, "   -  -"}, {false, "123456789", " 3,(,2,) ", 64, 0, "123(45) 6789"},
        {false, "123456789", "3,,2,", 64, 0, "123456789"}, {false, "123456789", "3,-,4", 64, 3, ""},
        {false, "123456789012", "", 11, 2, ""}, {false, "123456789012", nullptr, 12, 0, "123456789012"},
        {false, "123456789", "3,-,2,-", 10, 2, ""}, {false, "123456789", "3,-,2,-", 11, 0, "123-45-6789"},
        {false, nullptr, "2,/", 64, 0, "  /"}, {false, big.c_str(), "1020,-,", 2000, 3, ""},
        {false, big.c_str(), "1020,-", 2000, 0, bigDash.c_str()},
        {false, big.c_str(), "1020,-----,", 2000, 3, ""}, {false, big.c_str(), "1026,", 2000, 3, ""},
        {false, "12", "99999999999999999999,", 2000, 3, ""}, {false, bigTail.c_str(), "1,-", 2000, 3, ""},
        {true, "123-45-6789", "3,-,2,-", 64, 0, "123456789"}, {true, "123 45 6789", "3,-,2,-", 64, 3, ""},
        {true, "12 -  -", "3,-,2,-", 64, 0, "12   "}, {true, "12", "3,-,2,-", 64, 3, ""},
        {true, "123(45) 6789", " 3,(,2,) ", 64, 0, "123456789"}, {true, "123-45-6789", "3,-,4", 64, 3, ""},
        {true, "123-45-6789", "", 64, 0, "123-45-6789"}, {true, "123-45-6789", "3,-,2,-", 8, 2, ""},
    };
    for (const auto &r : rows) {
        char out[2100];
        std::memset(out, '#', sizeof out);
        out[sizeof out - 1] = '\0';
        const int rc = (r.removing ? FMTDefmtString : FMTFmtString)(r.text, out, r.outSize, r.mask);
        EXPECT_EQ(rc, r.rc) << "[" << r.text << "] mask [" << (r.mask ? r.mask : "(null)") << "]";
        EXPECT_EQ(rc == 0 ? std::string(out) : std::string(1, out[0]), rc == 0 ? r.want : "#") << r.text;
    }
}

TEST(Mask, DisplayPictures) {
    const std::string long90 = std::string(90, 'X') + "-" + std::string(8, 'X') + "-";
    const struct { char type; const char *mask, *want; } cases[] = {
        {'C', "3,-,2,-", "XXX-XX-"}, {'C', "2,/,2,/,4", ""}, {'C', "90,-,9,-", ""},  // 101 characters
        {'C', "90,-,8,-", long90.c_str()}, {'n', "$ZZZ,ZZ9.99CR", "$ZZZ,ZZ9.99CR"},
        {'n', "ZZ9.99 trailing", "ZZ9.99"}, {'n', "Z$9", ""}, {'C', nullptr, ""},
        {'d', "1/4", "MM/DD/YYYY"}, {'T', "4.", "HH.MM xM"}, {'x', "1/4", ""},
    };
    for (const auto &c : cases) EXPECT_STREQ(FMTFormatString(c.type, c.mask), c.want) << c.type << (c.mask ? c.mask : "null");
}

}  // namespace
