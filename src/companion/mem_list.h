// Inner layout of MEM lists: a doubly linked list of elements gives the order
// and stable handles; a keyed list adds an ordered index over the elements
// (compared on their key bytes) for logarithmic insertion and key lookup.
// Also the operations on these internals shared by the list entries and the
// configuration library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <set>

#include "cmnw32/mem.h"

struct MEMItemRec;

namespace cmnw::companion {

// One element in the key index. For lists compared byte by byte the first
// eight key bytes ride along as a big-endian number, so that most
// comparisons are settled without reaching the record.
struct IndexEntry {
    uint64_t prefix;
    MEMItemRec *item;
};

// A key looked up without an element: keyLength bytes of the list's key.
struct KeyProbe {
    const void *key;
    uint64_t prefix;
};

// Orders elements of one keyed list by their keys (records shorter than the
// key's end compare as if padded with zero bytes).
struct ItemKeyLess {
    using is_transparent = void;
    const MEMListRec *list;
    bool operator()(const IndexEntry &a, const IndexEntry &b) const;
    bool operator()(const IndexEntry &a, const KeyProbe &b) const;
    bool operator()(const KeyProbe &a, const IndexEntry &b) const;
};

using KeyIndex = std::multiset<IndexEntry, ItemKeyLess>;

// The index entry of item, and the probe of a key, in list.
IndexEntry EntryOf(const MEMListRec *list, MEMItemRec *item);
KeyProbe ProbeOf(const MEMListRec *list, const void *key);

// Compares the keys of two elements of list: negative, zero or positive.
int CompareItemKeys(const MEMListRec *list, const MEMItemRec *a, const MEMItemRec *b);

}  // namespace cmnw::companion

// An element and, right behind it in the same block, its record; a record
// given a new size by MEMResizeItem lives in a block of its own instead.
struct MEMItemRec {
    MEMItemRec *prev = nullptr;
    MEMItemRec *next = nullptr;
    MEMListRec *list = nullptr;
    unsigned char *data = nullptr;  // at least one byte, even for an empty record
    size_t size = 0;
    bool ownBlock = false;  // data is a separate block (freed with the element)
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
    bool keyPending = false;  // keyed while out of memory: set up the key at next need
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

// A new element holding a copy of record, linked nowhere yet; null when out
// of memory.
MEMItemRec *NewItem(const void *record, size_t size) noexcept;
void DeleteItem(MEMItemRec *item) noexcept;
// Gives item the record in block (size bytes, from malloc, now owned by the
// element), freeing a record block of its own that it had.
void SetItemData(MEMItemRec *item, unsigned char *block, size_t size) noexcept;
// Takes item out of its list's links (not out of the key index).
void Unlink(MEMItemRec *item) noexcept;
// Puts an unlinked element of a keyed list into the index (after equal keys)
// and links it before its successor in key order. False when out of memory.
// With hint (the index position already known, a lower bound), the element
// goes right before it instead.
bool PlaceByKey(MEMListRec *list, MEMItemRec *item, const KeyIndex::iterator *hint = nullptr) noexcept;
// Removes and frees one element.
void RemoveItem(MEMItemRec *item) noexcept;
// Keys the list and sorts what it holds (stable); false when out of memory or
// the key range overflows, the list then being left unkeyed.
bool SetListKey(MEMListRec *list, size_t position, size_t length, MEMCompareFunc compare) noexcept;
// Moves an indexed element whose key changed to its place in order, reusing
// its index node, so that running out of memory cannot drop it from the
// index (false only when comparing keys that need scratch memory ran out).
bool Resort(MEMItemRec *item) noexcept;
// False when list was keyed while memory ran out and its key still cannot be
// set up; the calls that order or look up by key then fail.
bool KeyReady(MEMListRec *list) noexcept;
// Frees list and its elements and clears its registered holder.
void DestroyList(MEMListRec *list) noexcept;

}  // namespace cmnw::companion
