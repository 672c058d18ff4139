// Inner layout of MEM lists: a doubly linked list of elements gives the order
// and stable handles; a keyed list adds an ordered index over the elements
// (compared on their key bytes) for logarithmic insertion and key lookup.
#pragma once

#include <cstddef>
#include <set>

#include "cmnw32/mem.h"

struct MEMItemRec;

namespace cmnw::companion {

// A key looked up without an element: keyLength bytes of the list's key.
struct KeyProbe {
    const void *key;
};

// Orders elements of one keyed list by their keys (records shorter than the
// key's end compare as if padded with zero bytes).
struct ItemKeyLess {
    using is_transparent = void;
    const MEMListRec *list;
    bool operator()(const MEMItemRec *a, const MEMItemRec *b) const;
    bool operator()(const MEMItemRec *a, const KeyProbe &b) const;
    bool operator()(const KeyProbe &a, const MEMItemRec *b) const;
};

using KeyIndex = std::multiset<MEMItemRec *, ItemKeyLess>;

// Compares the keys of two elements of list: negative, zero or positive.
int CompareItemKeys(const MEMListRec *list, const MEMItemRec *a, const MEMItemRec *b);

}  // namespace cmnw::companion

struct MEMItemRec {
    MEMItemRec *prev = nullptr;
    MEMItemRec *next = nullptr;
    MEMListRec *list = nullptr;
    unsigned char *data = nullptr;  // at least one byte, even for an empty record
    size_t size = 0;
    cmnw::companion::KeyIndex::iterator indexPos{};  // valid while indexed
    bool indexed = false;
};

// Every member has a constant initial value, so a list can be a constinit
// static (the configuration library's list of loaded files is one).
struct MEMListRec {
    MEMItemRec *first = nullptr;
    MEMItemRec *last = nullptr;
    size_t count = 0;
    MEMLIST *holder = nullptr;
    bool keyed = false;
    bool staticStorage = false;  // never freed: destroying it only empties it
    size_t keyPosition = 0;
    size_t keyLength = 0;
    MEMCompareFunc compare = nullptr;
    cmnw::companion::KeyIndex *index = nullptr;  // owned; present while keyed
};

namespace cmnw::companion {

// Appends a copy of record to list (whatever its key); null on failure.
MEMItemRec *AppendRecord(MEMListRec *list, const void *record, size_t size) noexcept;
// Removes every element of list.
void EmptyList(MEMListRec *list) noexcept;

}  // namespace cmnw::companion
