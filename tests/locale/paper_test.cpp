#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <random>
#include <utility>

#include "cmnw32/paper.h"

namespace {

static_assert(sizeof(PaperType) == 33 && offsetof(PaperType, id) == 21);
static_assert(offsetof(PaperType, width) == 25 && offsetof(PaperType, height) == 29);

TEST(Paper, LookupsById) {
    struct Case {
        int32_t id;
        const char *name;
        int32_t width, height;
    };
    const Case known[] = {
        {0, "US Letter", 20400, 26400}, {2, "ISO A4", 19842, 28063},
        {71, "ISO DL", 10394, 20787},   {90, "JIS B10", 3024, 4252},
    };
    for (const Case &c : known) {
        const PaperType *p = UTLGetPaperType(c.id);
        ASSERT_NE(p, nullptr) << c.id;
        EXPECT_STREQ(p->name, c.name);
        int32_t h = -1, w = -1;
        EXPECT_EQ(UTLGetPageSize(c.id, &h, &w), 0);
        EXPECT_EQ(std::make_pair(h, w), std::make_pair(c.height, c.width)) << c.id;
        EXPECT_EQ(UTLGetPageSize(c.id, nullptr, nullptr), 0);
    }
    for (int32_t id : {9, 24, 31, 99, -1, 98}) EXPECT_EQ(UTLGetPaperType(id), nullptr) << id;
    int32_t h = 7, w = 8;
    EXPECT_EQ(UTLGetPageSize(98, &h, &w), 0);  // Custom: no size
    EXPECT_EQ(std::make_pair(h, w), std::make_pair(7, 8));
    EXPECT_EQ(UTLGetPageSize(99, &h, &w), -1);
    EXPECT_EQ(UTLGetPageSize(-1, &h, &w), -1);
}

// A second model of the choice, without a default locale (default "US
// Letter"): the fitting entry of least (width, height, position).
TEST(Paper, ClosestAgreesWithASimpleModel) {
    unsetenv("CMNW32_INI");
    const PaperType *table = UTLGetPageSizesArray();
    std::mt19937 rng(2026);
    std::uniform_int_distribution<int32_t> size(-100, 280000);
    for (int i = 0; i < 5000; ++i) {
        int32_t h = size(rng) >> (rng() % 4 * 3), w = size(rng) >> (rng() % 4 * 3);
        int16_t wantStatus = -1;
        int32_t wantId = -5;
        if (h < 26400 && w < 20400) {
            wantStatus = 0;
            wantId = 0;
        } else {
            int32_t bestW = 0, bestH = 0;
            for (size_t e = 0; table[e].name[0] != '\0'; ++e) {
                int32_t ew = table[e].width, eh = table[e].height;
                if (ew < w || eh < h) continue;
                if (wantStatus != 0 || ew < bestW || (ew == bestW && eh < bestH)) {
                    wantStatus = 0;
                    wantId = table[e].id;
                    bestW = ew;
                    bestH = eh;
                }
            }
        }
        int32_t id = -5;
        ASSERT_EQ(UTLGetClosestPaperType(h, w, &id), wantStatus) << h << "x" << w;
        ASSERT_EQ(id, wantId) << h << "x" << w;
    }
    EXPECT_EQ(UTLGetClosestPaperType(10, 10, nullptr), -1);
}

}  // namespace
