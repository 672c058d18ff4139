#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cmnw32/version.h"
#include "version/patch_test_util.h"

namespace {

using cmnw::test::Utf16Le;

int Sign(int v) {
    return (v > 0) - (v < 0);
}

TEST(PatchOrder, ComparePatchKnowsTheFiveMarkers) {
    struct {
        std::string bytes;
        int32_t result;
    } cases[] = {
        {"@@QVS PATCH 11.2:P03:", 0}, {"@@RWT PATCH", 0}, {"@@3RD PATCH", 0},
        {Utf16Le("@@MXTRLOG PATCH"), 0}, {Utf16Le("@@RWT PATCH"), 0}, {Utf16Le("@@QVS PATCH"), 1},
        {"@@MXTRLOG PATCH", 1}, {"@@qvs PATCH", 1}, {"@QVS PATCH", 1}, {"", 1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(UTLKVRVERComparePatch(c.bytes.c_str()), c.result) << c.bytes;
    EXPECT_EQ(UTLKVRVERComparePatch(nullptr), 1);
}

TEST(PatchOrder, FindCharGivesTheNthOccurrence) {
    const char *text = "a:b:c";
    EXPECT_EQ(UTLKVRVERFindChar(text, ':', 1), text + 1);
    EXPECT_EQ(UTLKVRVERFindChar(text, ':', 2), text + 3);
    EXPECT_EQ(UTLKVRVERFindChar(text, ':', 3), nullptr);
    EXPECT_EQ(UTLKVRVERFindChar(text, ':', 0), nullptr);
    EXPECT_EQ(UTLKVRVERFindChar(text, 'c', 1), text + 4);
    EXPECT_EQ(UTLKVRVERFindChar(nullptr, ':', 1), nullptr);
}

TEST(PatchOrder, SummariesSortByWordPrefixAndNumber) {
    // Each row sorts strictly before the next.
    const std::vector<std::string> sorted = {
        "3RD PATCH 1.0:P2",   "QVS PATCH 11.2:P",  // no digits sorts first
        "QVS PATCH 11.2:P9",  "QVS PATCH 10.0:P10", "QVS PATCH 11.2:P11",
        "QVS PATCH 11.2:UP1", "QVS PATCH 11.2",  // no colon sorts last
        "RWT PATCH 1:P1",
    };
    for (size_t i = 0; i < sorted.size(); ++i) {
        for (size_t j = 0; j < sorted.size(); ++j) {
            int want = i < j ? -1 : (i > j ? 1 : 0);
            EXPECT_EQ(Sign(UTLKVRVERCompareFunc(sorted[i].c_str(), sorted[j].c_str())), want)
                << sorted[i] << " vs " << sorted[j];
        }
    }
    EXPECT_EQ(UTLKVRVERCompareFunc("QVS PATCH 11.2:P10a", "QVS PATCH 9:P10A"),
              0);  // release and case ignored
}

TEST(PatchOrder, RecordsSortByIdentifierField) {
    const std::vector<std::string> sorted = {"ZZZ:P1:x", "A:p2:a",     "A:P3",
                                             "B:P10:a",  "QVS:UP10:b", "no field"};
    for (size_t i = 0; i < sorted.size(); ++i) {
        for (size_t j = 0; j < sorted.size(); ++j) {
            int want = i < j ? -1 : (i > j ? 1 : 0);
            EXPECT_EQ(Sign(UTLKVRVERCompareFunc2(sorted[i].c_str(), sorted[j].c_str())), want)
                << sorted[i] << " vs " << sorted[j];
        }
    }
}

std::string Field(const std::string &text) {
    return (text + std::string(25, ' ')).substr(0, 25);
}

TEST(PatchOrder, ConsecutiveCheckReportsEachMissingNumber) {
    char line[256];
    struct Step {
        const char *summary;
        std::string line;
        int32_t result;
    } steps[] = {
        {"QVS PATCH 11.2:P03",
         Field("QVS PATCH 11.2:P01") + "* Not detected, see explanation below.", 0},
        {"QVS PATCH 11.2:P03",
         Field("QVS PATCH 11.2:P02") + "* Not detected, see explanation below.", 0},
        {"QVS PATCH 11.2:P03", "QVS PATCH 11.2:P03", 1},
        {"QVS PATCH 11.2:P04", "QVS PATCH 11.2:P04", 1},
        {"QVS PATCH 11.2:UP1", "QVS PATCH 11.2:UP1", 1},  // own counter
        {"QVS PATCH 11.2:UP12",
         Field("QVS PATCH 11.2:UP02") + "* Not detected, see explanation below.", 0},
        {"RWT PATCH 1:P1", "RWT PATCH 1:P1", 1},
        {"MXTRLOG PATCH 1:P12",
         Field("MXTRLOG PATCH 1:P01") + "* Not detected, see explanation below.", 0},
        {"MXTRLOG PATCH 1:P12",
         Field("MXTRLOG PATCH 1:P02") + "* Not detected, see explanation below.", 0},
        {"3RD PATCH 4:X7", "3RD PATCH 4:X7", 1},  // prefix the entry does not know
        {"ABC PATCH 1:P5", "ABC PATCH 1:P5", 1},  // no entry
        {"QVS PATCH 11.2", Field("QVS PATCH 11.2") + " Problem with Patch Info (no colon).", 1},
        {"QVS PATCH 11.2:03", Field("QVS PATCH 11.2:03") + " Problem with Patch Info (no prefix).",
         1},
        {"QVS PATCH 11.2:P1000",
         Field("QVS PATCH 11.2:P1000") + " Problem with Patch Info (incorrect patch number).", 1},
        {"QVS PATCH 11.2:P", Field("QVS PATCH 11.2:P") + "   Problem with Patch Info (no digit).",
         1},
        {"QVS PATCH 11.2:P 5",
         Field("QVS PATCH 11.2:P 5") + "   Problem with Patch Info (no digit).", 1},
        {"QVS PATCH 11.2:P05 with a long release text",
         "QVS PATCH 11.2:P05 with a long release text", 1},
    };
    for (const Step &s : steps) {
        EXPECT_EQ(UTLKVRVERCheckConsecutive(s.summary, line), s.result) << s.summary;
        EXPECT_EQ(std::string(line), s.line) << s.summary;
    }
    // A scan of any "@" starts the counters again.
    EXPECT_EQ(UTLKVRVERComparePatch("x"), 1);
    EXPECT_EQ(UTLKVRVERCheckConsecutive("QVS PATCH 11.2:P02", line), 0);
    EXPECT_EQ(std::string(line),
              Field("QVS PATCH 11.2:P01") + "* Not detected, see explanation below.");
    EXPECT_EQ(UTLKVRVERCheckConsecutive("QVS PATCH 11.2:P02", nullptr), 1);
}

}  // namespace
