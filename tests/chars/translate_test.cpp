// Translation tables between the code pages of a set, and translation of
// bytes and strings through them.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "chars/codepage_fixture.h"
#include "cmnw32/codepage.h"

using cmnw::testing::ScratchDir;

namespace {

constexpr int32_t kPageIds[3] = {1004, 9999, 9998};

// A character of the built-in set: identifier, name, alias, then its byte
// in each of kPageIds.
struct Row {
    std::string text[3];
    uint8_t bytes[3];
};

// A second, plain model of the table: each source character is looked up by
// scanning every row, identifier first (up to its hundredth occurrence),
// then name, then alias.
uint8_t ModelLookup(const std::vector<Row> &rows, int target, const Row &probe) {
    for (int field = 0; field < 3; ++field) {
        const std::string &wanted = probe.text[field];
        if (field > 0 && wanted.empty()) continue;
        int seen = 0;
        for (const Row &row : rows) {
            if (row.text[field] != wanted) continue;
            if (++seen > 100 || (wanted.empty() && seen > 1)) break;
            if (row.bytes[target] != 0) return row.bytes[target];
        }
    }
    return 0;
}

class Translate : public ::testing::Test {
protected:
    void SetUp() override {
        scratch_.UseConfig();
        set_ = UTLLoadCodePage();
        ASSERT_NE(set_, nullptr);
        for (const std::string &line : cmnw::testing::Walk(set_, {1004, 9999, 9998})) {
            Row row{};
            std::istringstream fields(line);
            for (std::string &text : row.text) std::getline(fields, text, ',');
            for (uint8_t &byte : row.bytes) {
                int value = 0;
                fields >> value;
                fields.ignore();
                byte = static_cast<uint8_t>(value);
            }
            rows_.push_back(row);
        }
    }
    void TearDown() override { EXPECT_EQ(UTLDestroyCodePage(set_), UTL_CP_OK); }

    ScratchDir scratch_;
    UTLCPSET set_ = nullptr;
    std::vector<Row> rows_;
};

TEST_F(Translate, TablesBetweenEveryPairOfCodePagesMatchThePlainModel) {
    for (int source = 0; source < 3; ++source) {
        for (int target = 0; target < 3; ++target) {
            if (source == target) continue;
            uint8_t expected[256] = {};
            for (const Row &row : rows_) {
                const uint8_t found = ModelLookup(rows_, target, row);
                if (found != 0) expected[row.bytes[source]] = found;
            }
            UTLCp2CpTable table;
            std::memset(&table, 0xAB, sizeof table);
            ASSERT_EQ(UTLSetupCp2CpTable(&table, set_, kPageIds[source], nullptr, kPageIds[target],
                                         nullptr, 0x3F),
                      0);
            EXPECT_TRUE(table.set == set_ && table.identity == 0 &&
                        table.sourceId == kPageIds[source] && table.targetId == kPageIds[target] &&
                        (table.reserved[0] | table.reserved[1]) == 0);
            for (int b = 1; b < 256; ++b) {
                EXPECT_EQ(table.map[b], expected[b])
                    << kPageIds[source] << "->" << kPageIds[target] << " " << b;
                EXPECT_EQ(UTLCpTranslateChar(&table, static_cast<uint8_t>(b)),
                          expected[b] != 0 ? expected[b] : 0x3F);
            }
            // The set's default is the source code page afterwards.
            char name[UTL_CP_NAME_SIZE];
            ASSERT_EQ(UTLLocateNameByChar(set_, 33, nullptr, name, nullptr), UTL_CP_OK);
            EXPECT_EQ(name, rows_[source == 0 ? 1 : source == 1 ? 298 : 741].text[1]);
        }
    }
}

TEST_F(Translate, IdentityTablesAndFailures) {
    UTLCp2CpTable table;
    char w1[] = "W1", lower[] = "w1", wd[] = " WD ";
    ASSERT_EQ(UTLSetupCp2CpTable(&table, set_, 1004, nullptr, 1004, nullptr, 0), 0);
    EXPECT_EQ(table.identity, 1);
    for (int b = 0; b < 256; ++b) EXPECT_EQ(UTLCpTranslateChar(&table, static_cast<uint8_t>(b)), b);
    ASSERT_EQ(UTLSetupCp2CpTable(&table, set_, 1004, w1, 1004, lower, 0), 0);
    EXPECT_EQ(table.identity, 1);
    for (uint8_t byte : table.map) EXPECT_EQ(byte, 0);

    EXPECT_EQ(UTLSetupCp2CpTable(&table, set_, 1004, nullptr, 4711, nullptr, 0), -1);
    EXPECT_EQ(UTLSetupCp2CpTable(&table, set_, 4711, nullptr, 1004, nullptr, 0), -1);
    EXPECT_EQ(UTLSetupCp2CpTable(&table, nullptr, 1004, nullptr, 9999, nullptr, 0), -1);
    EXPECT_EQ(UTLSetupCp2CpTable(&table, set_, 9999, wd, 1004, w1, 0), 0);
    EXPECT_STREQ(wd, "WD");  // trimmed in place
    EXPECT_EQ(UTLSetupCp2CpTable(&table, set_, 9999, lower, 1004, nullptr, 0), -1);
}

TEST_F(Translate, LibraryTableAndStrings) {
    // Before any set-up the library's own table translates nothing.
    char out[8] = "xxxxxxx";
    EXPECT_EQ(UTLCpTranslateChar(nullptr, 65), 0xFFFF);
    EXPECT_EQ(UTLCpTranslateChar(nullptr, 0), 0);
    EXPECT_EQ(UTLCpTranslateString(nullptr, out, "abc", sizeof out), -1);
    EXPECT_EQ(out[0], '\0');

    ASSERT_EQ(UTLSetupCp2CpTable(nullptr, set_, 1004, nullptr, 9999, nullptr, 0xFFFFFFFFu), 0);
    std::strcpy(out, "xxxxxxx");
    EXPECT_EQ(UTLCpTranslateString(nullptr, out, "abcdef", 4), 0);
    EXPECT_STREQ(out, "abc");
    EXPECT_EQ(out[4], 'x');  // nothing written past the size
    EXPECT_EQ(UTLCpTranslateString(nullptr, out, nullptr, sizeof out), -1);
    EXPECT_EQ(UTLCpTranslateString(nullptr, out, "a", 0), -1);
    EXPECT_EQ(UTLCpTranslateString(nullptr, out, "abc", 1), 0);
    EXPECT_STREQ(out, "");

    UTLCp2CpTable table;
    ASSERT_EQ(UTLSetupCp2CpTable(&table, set_, 1004, nullptr, 9999, nullptr, 0x1234), 0);
    EXPECT_EQ(UTLCpTranslateChar(&table, 'A'), 0x1234);
    EXPECT_EQ(UTLCpTranslateString(&table, out, " A ", sizeof out), 0x1234);
    EXPECT_STREQ(out, " ");  // what was translated before the stop
    std::memset(&table, 0, sizeof table);
    EXPECT_EQ(UTLCpTranslateString(&table, out, "a", sizeof out), -1);
}

}  // namespace
