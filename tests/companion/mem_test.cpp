#include "cmnw32/mem.h"

#include <gtest/gtest.h>

#include <strings.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
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

namespace {

// Case-insensitive comparison of the name key, as the settings cache uses.
int CompareNoCase(const void *a, const void *b, size_t n) { return strncasecmp(static_cast<const char *>(a), static_cast<const char *>(b), n); }

MEMLIST KeyedByName() {
    MEMLIST list = MEMCreateList();
    MEMSortList(list, offsetof(Rec, name), sizeof(Rec::name));
    return list;
}

MEMITEM Add(MEMLIST list, const char *name, int32_t serial) {
    Rec r = MakeRec(name, serial);
    return MEMAddItem(list, &r, sizeof r);
}

std::string Names(MEMLIST list) {
    std::string out;
    for (MEMITEM it = MEMFirstItem(list); it != nullptr; it = MEMNextItem(it)) {
        if (!out.empty()) out += ",";
        out += static_cast<Rec *>(MEMItemData(it))->name;
    }
    return out;
}

TEST(MemList, HandlesAndRecordAddressesStableAcrossInsertsAndRemovals) {
    MEMLIST list = KeyedByName();
    std::mt19937 rng(7);
    std::vector<std::pair<MEMITEM, void *>> kept;
    std::vector<MEMITEM> doomed;
    for (int32_t i = 0; i < 2000; ++i) {
        char name[5];
        std::snprintf(name, sizeof name, "%04u", static_cast<unsigned>(rng() % 10000));
        MEMITEM it = Add(list, name, i);
        ASSERT_NE(it, nullptr);
        if (i % 3 == 0)
            doomed.push_back(it);
        else
            kept.emplace_back(it, MEMItemData(it));
    }
    for (MEMITEM it : doomed) MEMRemoveItem(it);
    EXPECT_EQ(MEMCount(list), kept.size());
    for (auto &[it, data] : kept) {
        EXPECT_EQ(MEMItemData(it), data);
        int16_t found = 0;
        MEMITEM byKey = MEMFindKey(list, static_cast<Rec *>(data)->name, &found);
        EXPECT_EQ(found, 1);
        EXPECT_EQ(std::memcmp(MEMItemData(byKey), data, 4), 0);
    }
    std::vector<std::string> split;
    for (MEMITEM it = MEMFirstItem(list); it != nullptr; it = MEMNextItem(it))
        split.emplace_back(static_cast<Rec *>(MEMItemData(it))->name);
    EXPECT_TRUE(std::is_sorted(split.begin(), split.end()));
    MEMDestroyList(list);
}

TEST(MemList, FindKeyFoundAndInsertionPoint) {
    MEMLIST list = KeyedByName();
    Add(list, "bob", 1);
    MEMITEM dora1 = Add(list, "dora", 2);
    Add(list, "dora", 3);
    MEMITEM fred = Add(list, "fred", 4);
    char key[8] = {};
    int16_t found = -1;
    std::strcpy(key, "dora");
    EXPECT_EQ(MEMFindKey(list, key, &found), dora1);  // first of equal keys
    EXPECT_EQ(found, 1);
    std::strcpy(key, "eve");
    EXPECT_EQ(MEMFindKey(list, key, &found), fred);  // where "eve" would go
    EXPECT_EQ(found, 0);
    std::strcpy(key, "zed");
    EXPECT_EQ(MEMFindKey(list, key, &found), nullptr);
    EXPECT_EQ(found, 0);
    EXPECT_EQ(MEMFindKey(nullptr, key, &found), nullptr);
    MEMLIST plain = MEMCreateList();
    EXPECT_EQ(MEMFindKey(plain, key, &found), nullptr);
    MEMDestroyList(plain);
    MEMDestroyList(list);
}

TEST(MemList, InsertAndSummaryStatuses) {
    MEMLIST list = KeyedByName();
    int32_t status = 9;
    Rec r = MakeRec("k", 1);
    MEMITEM first = MEMInsertItem(list, &r, sizeof r, &status);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(status, 0);
    r.serial = 2;
    EXPECT_EQ(MEMInsertItem(list, &r, sizeof r, &status), first);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(static_cast<Rec *>(MEMItemData(first))->serial, 1);  // unchanged
    r.serial = 3;
    EXPECT_EQ(MEMInsertSummary(list, &r, sizeof r, &status), first);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(static_cast<Rec *>(MEMItemData(first))->serial, 3);  // replaced
    EXPECT_EQ(MEMCount(list), 1u);
    r = MakeRec("a", 4);
    EXPECT_NE(MEMInsertSummary(list, &r, sizeof r, &status), nullptr);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(Names(list), "a,k");
    EXPECT_EQ(MEMInsertItem(nullptr, &r, sizeof r, &status), nullptr);
    EXPECT_EQ(status, -1);
    EXPECT_EQ(MEMInsertItem(list, nullptr, 4, &status), nullptr);
    EXPECT_EQ(status, -1);
    EXPECT_NE(MEMInsertItem(list, &r, sizeof r, nullptr), nullptr);  // status may be null
    // On an unkeyed list an insert appends.
    MEMLIST plain = MEMCreateList();
    EXPECT_NE(MEMInsertItem(plain, &r, sizeof r, &status), nullptr);
    EXPECT_NE(MEMInsertItem(plain, &r, sizeof r, &status), nullptr);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(MEMCount(plain), 2u);
    MEMDestroyList(plain);
    MEMDestroyList(list);
}

TEST(MemList, ReplaceAndResizeKeepHandlesAndOrder) {
    MEMLIST list = KeyedByName();
    MEMITEM b = Add(list, "b", 1);
    Add(list, "d", 2);
    MEMITEM b2 = Add(list, "b", 3);
    EXPECT_EQ(Names(list), "b,b,d");
    // Same key: the element keeps its place among equals.
    Rec r = MakeRec("b", 10);
    EXPECT_EQ(MEMReplaceItem(b, &r, sizeof r), 1);
    EXPECT_EQ(MEMFirstItem(list), b);
    // New key: the element moves to its place in order.
    r = MakeRec("e", 11);
    EXPECT_EQ(MEMReplaceItem(b, &r, sizeof r), 1);
    EXPECT_EQ(Names(list), "b,d,e");
    EXPECT_EQ(MEMItemAt(list, 3, nullptr), b);
    // Replace never writes past the record.
    char big[64];
    std::memset(big, 'z', sizeof big);
    big[7] = 0;
    EXPECT_EQ(MEMReplaceItem(b2, big, sizeof big), 1);
    EXPECT_EQ(MEMItemSize(b2), sizeof(Rec));
    EXPECT_EQ(Names(list), "d,e,zzzzzzz");
    // Resize: same handle, new size, contents given or kept.
    EXPECT_EQ(MEMResizeItem(b2, "a", 2), 1);
    EXPECT_EQ(MEMItemSize(b2), 2u);
    EXPECT_EQ(MEMFirstItem(list), b2);  // "a" padded with zeros sorts first
    EXPECT_EQ(MEMResizeItem(b2, nullptr, 12), 1);
    EXPECT_STREQ(static_cast<char *>(MEMItemData(b2)), "a");
    Rec out = {};
    EXPECT_EQ(MEMGetItem(b, &out, sizeof out), sizeof out);
    EXPECT_EQ(out.serial, 11);
    EXPECT_EQ(MEMGetItem(b, &out, 2), 2u);
    MEMDestroyList(list);
}

TEST(MemList, KeyListSortsExistingWithComparatorAndEmptyKeepsKey) {
    MEMLIST list = MEMCreateList();
    const char *names[] = {"delta", "Alpha", "charlie", "BRAVO", "alpha"};
    for (int32_t i = 0; i < 5; ++i) Add(list, names[i], i);
    EXPECT_EQ(Names(list), "delta,Alpha,charlie,BRAVO,alpha");
    MEMKeyList(list, 0, sizeof(Rec::name), CompareNoCase);
    EXPECT_EQ(Names(list), "Alpha,alpha,BRAVO,charlie,delta");
    char key[8] = "CHARLIE";
    int16_t found = 0;
    EXPECT_NE(MEMFindKey(list, key, &found), nullptr);
    EXPECT_EQ(found, 1);
    MEMEmptyList(list);
    EXPECT_EQ(MEMCount(list), 0u);
    EXPECT_EQ(MEMFirstItem(list), nullptr);
    Add(list, "b", 1);
    Add(list, "A", 2);
    EXPECT_EQ(Names(list), "A,b");  // still keyed, still case-blind
    MEMDestroyList(list);
}

TEST(MemList, AppendFindDataAndPositions) {
    MEMLIST list = KeyedByName();
    Add(list, "m", 1);
    Rec z = MakeRec("a", 2);
    MEMITEM appended = MEMAppendItem(list, &z, sizeof z);  // at the end whatever its key
    EXPECT_EQ(Names(list), "m,a");
    int16_t found = 0;
    EXPECT_EQ(MEMFindData(list, &z, sizeof z, &found), appended);
    EXPECT_EQ(found, 1);
    EXPECT_EQ(MEMFindData(list, &z, sizeof z - 1, &found), nullptr);
    EXPECT_EQ(found, 0);
    for (size_t pos = 1; pos <= 2; ++pos) EXPECT_EQ(MEMItemFrom(MEMFirstItem(list), pos - 1), MEMItemAt(list, pos, &found));
    EXPECT_EQ(MEMItemAt(list, 0, &found), nullptr);
    MEMPrepareFileList(list, 0);
    EXPECT_EQ(Names(list), "m,a");
    MEMDestroyList(list);
}

TEST(MemList, ShortRecordsCompareAsZeroPadded) {
    MEMLIST list = MEMCreateList();
    MEMSortList(list, 2, 4);
    MEMAddItem(list, "xxcc", 4);
    MEMAddItem(list, "xxb", 3);  // key "b\0\0\0"
    MEMAddItem(list, "x", 1);    // key entirely missing: all zero
    MEMAddItem(list, "", 0);
    MEMAddItem(list, "xxbbbb", 6);
    std::vector<size_t> sizes;
    for (MEMITEM it = MEMFirstItem(list); it != nullptr; it = MEMNextItem(it)) sizes.push_back(MEMItemSize(it));
    EXPECT_EQ(sizes, (std::vector<size_t>{1, 0, 3, 6, 4}));
    MEMDestroyList(list);
}

TEST(MemList, NullArgumentsFailQuietly) {
    EXPECT_EQ(MEMAddItem(nullptr, "a", 1), nullptr);
    EXPECT_EQ(MEMCount(nullptr), 0u);
    EXPECT_EQ(MEMFirstItem(nullptr), nullptr);
    EXPECT_EQ(MEMNextItem(nullptr), nullptr);
    EXPECT_EQ(MEMItemData(nullptr), nullptr);
    EXPECT_EQ(MEMItemSize(nullptr), 0u);
    EXPECT_EQ(MEMGetItem(nullptr, nullptr, 4), 0u);
    EXPECT_EQ(MEMReplaceItem(nullptr, "a", 1), 0);
    EXPECT_EQ(MEMResizeItem(nullptr, "a", 1), 0);
    MEMRemoveItem(nullptr);
    MEMDestroyList(nullptr);
    MEMEmptyList(nullptr);
    MEMKeyList(nullptr, 0, 1, nullptr);
    MEMRegisterList(nullptr, nullptr);
    MEMLIST list = MEMCreateList();
    MEMSortList(list, static_cast<size_t>(-1), 2);  // key range overflows: ignored
    MEMAddItem(list, "b", 1);
    MEMAddItem(list, "a", 1);
    EXPECT_EQ(*static_cast<char *>(MEMItemData(MEMFirstItem(list))), 'b');
    MEMDestroyList(list);
}

}  // namespace
