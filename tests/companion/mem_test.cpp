#include "cmnw32/mem.h"

#include <gtest/gtest.h>

#include <strings.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <map>
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
    std::memcpy(r.name, name, std::min(std::strlen(name), sizeof r.name - 1));
    r.serial = serial;
    return r;
}

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

TEST(MemBlock, ReallocKeepsContentsAndRegisteredListHolderIsCleared) {
    void *b = MEMAlloc(0);
    ASSERT_NE(b = MEMRealloc(b, 100), nullptr);
    std::memset(b, 7, 100);
    b = MEMRealloc(b, 200);
    EXPECT_EQ(static_cast<unsigned char *>(b)[99], 7);
    MEMFree(b);
    MEMFree(nullptr);
    MEMLIST holder = MEMCreateList();
    MEMRegisterList(holder, &holder);
    MEMDestroyList(holder);
    EXPECT_EQ(holder, nullptr);
}

// A random run of adds, inserts, summaries, replacements, removals and key
// look-ups on a keyed list, step by step against std::multimap (which also
// places a new key after its equals). Handles and record addresses must stay.
TEST(MemList, KeyedListAgreesWithMultimap) {
    struct Entry {
        int32_t serial;
        MEMITEM item;
        void *data;
    };
    std::multimap<std::string, Entry> model;
    MEMLIST list = KeyedByName();
    std::mt19937 rng(7);
    auto randomName = [&] { return std::string(1 + rng() % 2, 'a') + static_cast<char>('a' + rng() % 5); };
    auto nth = [&](size_t n) { return std::next(model.begin(), static_cast<std::ptrdiff_t>(n)); };
    for (int32_t step = 0; step < 6000; ++step) {
        const std::string name = randomName();
        Rec r = MakeRec(name.c_str(), step);
        const auto equal = model.find(name);
        int32_t status = 9;
        int16_t found = -1;
        switch (rng() % 6) {
            case 0: {
                MEMITEM it = MEMAddItem(list, &r, sizeof r);
                model.emplace(name, Entry{step, it, MEMItemData(it)});
                break;
            }
            case 1: {
                MEMITEM it = MEMInsertItem(list, &r, sizeof r, &status);
                ASSERT_EQ(status, equal != model.end() ? 1 : 0);
                if (equal == model.end()) model.emplace(name, Entry{step, it, MEMItemData(it)});
                ASSERT_TRUE(equal == model.end() || it == equal->second.item);
                break;
            }
            case 2: {
                MEMITEM it = MEMInsertSummary(list, &r, sizeof r, &status);
                ASSERT_EQ(status, equal != model.end() ? 1 : 0);
                if (equal != model.end()) {
                    ASSERT_EQ(it, equal->second.item);
                    equal->second.serial = step;
                } else {
                    model.emplace(name, Entry{step, it, MEMItemData(it)});
                }
                break;
            }
            case 3:
                if (!model.empty()) {
                    auto victim = nth(rng() % model.size());
                    MEMRemoveItem(victim->second.item);
                    model.erase(victim);
                }
                break;
            case 4:
                if (!model.empty()) {
                    auto target = nth(rng() % model.size());
                    if (rng() % 2 != 0) r = MakeRec(target->first.c_str(), step);
                    ASSERT_EQ(MEMReplaceItem(target->second.item, &r, sizeof r), 1);
                    Entry e{step, target->second.item, target->second.data};
                    if (target->first == r.name) target->second = e;  // keeps its place among equals
                    if (target->first != r.name) model.erase(target), model.emplace(r.name, e);
                }
                break;
            default: {
                // The first equal key, else the element the key would go before.
                const auto at = model.lower_bound(name);
                ASSERT_EQ(MEMFindKey(list, r.name, &found), at == model.end() ? nullptr : at->second.item);
                ASSERT_EQ(found, equal != model.end() ? 1 : 0) << name;
            }
        }
        if (step % 97 != 0) continue;
        ASSERT_EQ(MEMCount(list), model.size());
        MEMITEM it = MEMFirstItem(list);
        size_t pos = 1;
        for (const auto &[key, e] : model) {
            ASSERT_EQ(it, e.item) << "position " << pos << " step " << step;
            ASSERT_EQ(MEMItemData(it), e.data);
            ASSERT_EQ(static_cast<Rec *>(e.data)->serial, e.serial);
            ASSERT_STREQ(static_cast<Rec *>(e.data)->name, key.c_str());
            ASSERT_TRUE(pos % 13 != 0 || MEMItemAt(list, pos, &found) == it) << pos;
            it = MEMNextItem(it);
            ++pos;
        }
        ASSERT_EQ(it, nullptr);
    }
    MEMDestroyList(list);
}

// Records shorter than a key too long to pad on the stack sort zero-padded.
TEST(MemList, LongKeysPadShortRecordsWithZeros) {
    MEMLIST list = MEMCreateList();
    MEMSortList(list, 0, 100);
    const std::string longer(100, 'b');
    for (const std::string &record : {longer, std::string("c"), std::string("b")})
        ASSERT_NE(MEMAddItem(list, record.data(), record.size()), nullptr);
    std::string order;
    for (MEMITEM it = MEMFirstItem(list); it != nullptr; it = MEMNextItem(it))
        order += static_cast<char *>(MEMItemData(it))[0] + std::to_string(MEMItemSize(it)) + " ";
    EXPECT_EQ(order, "b1 b100 c1 ");
    MEMDestroyList(list);
}

TEST(MemList, ReplaceStaysInTheRecordAndResizeKeepsTheHandle) {
    MEMLIST list = KeyedByName();
    MEMITEM e = Add(list, "e", 11);
    Add(list, "d", 2);
    MEMITEM b = Add(list, "b", 3);
    const std::string big = std::string(7, 'z') + std::string(57, '\0');
    EXPECT_EQ(MEMReplaceItem(b, big.data(), big.size()), 1);
    EXPECT_EQ(MEMItemSize(b), sizeof(Rec));
    EXPECT_EQ(Names(list), "d,e,zzzzzzz");
    // Resize: same handle, new size, contents given or kept.
    EXPECT_TRUE(MEMResizeItem(b, "a", 2) == 1 && MEMItemSize(b) == 2);
    EXPECT_EQ(MEMFirstItem(list), b);  // "a" padded with zeros sorts first
    EXPECT_EQ(MEMResizeItem(b, nullptr, 12), 1);
    EXPECT_STREQ(static_cast<char *>(MEMItemData(b)), "a");
    Rec out = {};
    EXPECT_TRUE(MEMGetItem(e, &out, sizeof out) == sizeof out && out.serial == 11);
    EXPECT_EQ(MEMGetItem(e, &out, 2), 2u);
    // On an unkeyed list an insert appends.
    MEMLIST plain = MEMCreateList();
    int32_t status = 9;
    int16_t found = -1;
    EXPECT_NE(MEMInsertItem(plain, &out, sizeof out, &status), nullptr);
    EXPECT_NE(MEMInsertItem(plain, &out, sizeof out, nullptr), nullptr);  // status may be null
    EXPECT_EQ(std::make_pair(status, MEMCount(plain)), std::make_pair(0, size_t{2}));
    EXPECT_TRUE(MEMFindKey(plain, "a", &found) == nullptr && found == 0);
    MEMDestroyList(plain);
    EXPECT_TRUE(MEMInsertItem(list, nullptr, 4, &status) == nullptr && status == -1);
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
    EXPECT_TRUE(MEMFindKey(list, key, &found) != nullptr && found == 1);
    MEMEmptyList(list);
    EXPECT_TRUE(MEMCount(list) == 0 && MEMFirstItem(list) == nullptr);
    Add(list, "b", 1);
    Add(list, "A", 2);
    EXPECT_EQ(Names(list), "A,b");  // still keyed, still case-blind
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
    list = MEMCreateList();
    MEMSortList(list, static_cast<size_t>(-1), 2);  // key range overflows: ignored
    MEMAddItem(list, "b", 1);
    MEMAddItem(list, "a", 1);
    EXPECT_EQ(*static_cast<char *>(MEMItemData(MEMFirstItem(list))), 'b');
    MEMDestroyList(list);
}

}  // namespace
