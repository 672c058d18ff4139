#include "cmnw32/mem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

struct Rec {
    char name[8];
    int32_t serial;
};

Rec MakeRec(const char *name, int32_t serial) {
    Rec r = {};
    std::strncpy(r.name, name, sizeof r.name - 1);
    r.serial = serial;
    return r;
}

std::vector<int32_t> Serials(MEMLIST list) {
    std::vector<int32_t> out;
    for (MEMITEM it = MEMFirstItem(list); it != nullptr; it = MEMNextItem(it))
        out.push_back(static_cast<Rec *>(MEMItemData(it))->serial);
    return out;
}

TEST(MemBlock, AllocReallocFree) {
    void *b = MEMAlloc(0);
    ASSERT_NE(b, nullptr);
    b = MEMRealloc(b, 100);
    ASSERT_NE(b, nullptr);
    std::memset(b, 7, 100);
    b = MEMRealloc(b, 200);
    EXPECT_EQ(static_cast<unsigned char *>(b)[99], 7);
    MEMFree(b);
    MEMFree(nullptr);
}

TEST(MemList, UnkeyedAppendsAndCopies) {
    MEMLIST list = MEMCreateList();
    ASSERT_NE(list, nullptr);
    Rec r = MakeRec("b", 1);
    MEMITEM first = MEMAddItem(list, &r, sizeof r);
    r = MakeRec("a", 2);
    MEMAddItem(list, &r, sizeof r);
    r.serial = 99;  // the list holds its own copy
    EXPECT_EQ(Serials(list), (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(MEMCount(list), 2u);
    EXPECT_EQ(MEMItemSize(first), sizeof(Rec));
    int16_t found = -1;
    EXPECT_EQ(MEMItemAt(list, 1, &found), first);
    EXPECT_EQ(found, 1);
    EXPECT_EQ(MEMItemAt(list, 3, &found), nullptr);
    EXPECT_EQ(found, 0);
    EXPECT_EQ(MEMItemFrom(first, 1), MEMNextItem(first));
    EXPECT_EQ(MEMItemFrom(first, 2), nullptr);
    MEMDestroyList(list);
}

TEST(MemList, SortedOrderUnderRandomInsertionsMatchesStableSort) {
    MEMLIST list = MEMCreateList();
    MEMSortList(list, 0, 3);
    std::mt19937 rng(12345);
    std::vector<Rec> model;
    for (int32_t i = 0; i < 3000; ++i) {
        char name[4] = {static_cast<char>('a' + rng() % 6), static_cast<char>('a' + rng() % 6),
                        static_cast<char>('a' + rng() % 6), 0};
        Rec r = MakeRec(name, i);
        ASSERT_NE(MEMAddItem(list, &r, sizeof r), nullptr);
        model.push_back(r);
    }
    std::stable_sort(model.begin(), model.end(),
                     [](const Rec &a, const Rec &b) { return std::memcmp(a.name, b.name, 3) < 0; });
    std::vector<int32_t> want;
    for (const Rec &r : model) want.push_back(r.serial);
    EXPECT_EQ(Serials(list), want);
    MEMDestroyList(list);
}

TEST(MemList, RegisteredHolderIsCleared) {
    MEMLIST holder = MEMCreateList();
    MEMRegisterList(holder, &holder);
    MEMDestroyList(holder);
    EXPECT_EQ(holder, nullptr);
}

}  // namespace
