#include <gtest/gtest.h>

#include <clocale>
#include <optional>
#include <string>
#include <vector>

#include "cmnw32/errors.h"
#include "cmnw32/keyword.h"

namespace {

// The messages reported, each as "where: message"; every one is a plain
// error with no number or detail.
std::vector<std::string> gReports;

int32_t Capture(const char *where, int32_t number, uint32_t detail, const char *message) {
    EXPECT_EQ(number, 0);
    EXPECT_EQ(detail, 0u);
    gReports.push_back(std::string(where) + ": " + message);
    return 77;
}

// What one parse gave: its result, the value when one was stored, the text
// left after the cursor and the one message reported ("" for none).
struct Parsed {
    int32_t result;
    std::optional<std::string> value;
    std::string rest, message;
};

// kind: 'i' and 'l' integer (Int, Long), 'd' double, 's' string, 'b' flag;
// the keyword is "key" in any case.
Parsed Parse(char kind, std::string buf) {
    static const char *const names[] = {"Int", "Long", "Double", "Str", "Bool"};
    gReports.clear();
    const UTLErrorNotifyFunc previous = UTLSetErrorNotify(Capture);
    char *cursor = buf.data(), *text = nullptr;
    int32_t number = kind == 'b' ? 0 : -555;
    double real = -1.0;
    Parsed p{};
    switch (kind) {
        case 'i': p.result = UTLParseKeywordInt(&cursor, &number, "KEY"); break;
        case 'l': p.result = UTLParseKeywordLong(&cursor, &number, "Key"); break;
        case 'd': p.result = UTLParseKeywordDouble(&cursor, &real, "key"); break;
        case 's': p.result = UTLParseKeywordStr(&cursor, &text, "key"); break;
        default: p.result = UTLParseKeywordBool(&cursor, &number, "key");
    }
    UTLSetErrorNotify(previous);
    if (number != -555) p.value = std::to_string(number);
    if (real != -1.0) p.value = testing::PrintToString(real);
    if (text != nullptr) p.value = text;
    p.rest = cursor;
    EXPECT_LE(gReports.size(), 1u);
    const std::string where = std::string("UTLParseKeyword") + names[std::string("ildsb").find(kind)];
    if (!gReports.empty()) {
        EXPECT_EQ(gReports[0].substr(0, where.size() + 2), where + ": ");
        p.message = gReports[0].substr(std::min(gReports[0].size(), where.size() + 2));
    }
    return p;
}

TEST(Keyword, EntriesOfEachKind) {
    const struct {
        const char *kinds, *text;
        int32_t result;
        const char *value, *rest, *message;  // value nullptr: none stored
    } cases[] = {
        {"il", "key( 12 ),next", 1, "12", "next", ""},
        {"il", "Key (-7) , \t next", 1, "-7", "next", ""},
        {"il", "key(-2147483648)", 1, "-2147483648", "", ""},
        {"il", "key(   )", 1, "0", "", ""},
        {"ilds", "keys(3)", 0, nullptr, "keys(3)", ""},
        {"ilds", "key", 0, nullptr, "key", ""},
        {"il", "key 12", 0, nullptr, "12", "Error: Invalid parameter <key 12>.\n"},
        {"il", "key((1)", 0, nullptr, "(1)", "Error: Unbalanced parentheses on <key((1)>.\n"},
        {"il", "key(12x), b", 0, nullptr, "b", "Error: Invalid interger value <12x>.\n"},
        {"il", "key(-99999999999)", 0, nullptr, "",
         "Error: Interger value is too small <-99999999999>.\n"},
        {"il", "key(2147483648)", 0, nullptr, "",
         "Error: Interger value is too large <2147483648>.\n"},
        {"d", "key(1.5)", 1, "1.5", "", ""},
        {"d", "KEY( -2.5e3 )", 1, "-2500", "", ""},
        {"d", "key()", 1, "0", "", ""},
        {"d", "key(1e999)", 0, nullptr, "", "Error: Value out of range <1e999>.\n"},
        {"d", "key(1,5)", 0, nullptr, "", "Error: Invalid double value <1,5>.\n"},
        {"d", "key(inf)", 0, nullptr, "", "Error: Invalid double value <inf>.\n"},
        {"s", "Key ( 1(2) 3 )  ,  next(x)", 1, "1(2) 3", "next(x)", ""},
        {"s", "key 5", 0, nullptr, "5", "Error: Invalid parameter <key 5>.\n"},
        {"b", "key , other", 1, "1", "other", ""},
        {"b", "Key", 1, "1", "", ""},
        {"b", "key,,x", 1, "1", ",x", ""},
        {"b", "key(1)", 0, "0", "key(1)", ""},
        {"b", "keys", 0, "0", "keys", ""},
    };
    for (const auto &c : cases) {
        for (const char *kind = c.kinds; *kind != '\0'; ++kind) {
            SCOPED_TRACE(std::string(1, *kind) + " " + c.text);
            const Parsed p = Parse(*kind, c.text);
            EXPECT_EQ(p.result, c.result);
            EXPECT_EQ(p.value, c.value ? std::optional<std::string>(c.value) : std::nullopt);
            EXPECT_EQ(p.rest, c.rest);
            EXPECT_EQ(p.message, c.message);
        }
    }
}

TEST(Keyword, DoubleIgnoresTheCallersNumericLocale) {
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no de_DE locale";
    const Parsed p = Parse('d', "key(2.75)");
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(p.value, "2.75");
}

// The leads are cut so that every message holds at most 255 characters and
// still ends with its closing part.
TEST(Keyword, LongQuotedTextIsCutToTheMessageBuffer) {
    const std::string longValue(5000, '7');
    for (const std::string &text : {"key " + longValue, "key(-" + longValue + ")"}) {
        const Parsed p = Parse('i', text);
        EXPECT_EQ(p.message.size(), 255u) << p.message.substr(0, 40);
        EXPECT_EQ(p.message.substr(p.message.size() - 3), ">.\n");
    }
}

}  // namespace
