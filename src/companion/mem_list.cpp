// MEM list internals: element allocation, linking, and the key index that
// keeps a keyed list in order.
#include "companion/mem_list.h"

#include "common/boundary.h"
#include "common/fault.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>


namespace cmnw::companion {
namespace {

// The key bytes of a record; a record that ends inside the key is copied into
// a zero-padded scratch buffer so that every key has keyLength bytes. Keys of
// up to kInlineKey bytes are padded on the stack, so comparing them cannot
// run out of memory; only a longer key allocates (and may throw).
class KeyView {
public:
    KeyView(const MEMListRec *list, const MEMItemRec *item) {
        if (item->size >= list->keyPosition && item->size - list->keyPosition >= list->keyLength) {
            bytes_ = item->data + list->keyPosition;
            return;
        }
        unsigned char *padded = inline_;
        if (list->keyLength > kInlineKey) {
            heap_.reset(new unsigned char[list->keyLength]);
            padded = heap_.get();
        }
        const size_t present = item->size > list->keyPosition ? item->size - list->keyPosition : 0;
        if (present > 0) std::memcpy(padded, item->data + list->keyPosition, present);
        std::memset(padded + present, 0, list->keyLength - present);
        bytes_ = padded;
    }
    const void *bytes() const { return bytes_; }

private:
    static constexpr size_t kInlineKey = 64;
    const unsigned char *bytes_ = nullptr;
    unsigned char inline_[kInlineKey];
    std::unique_ptr<unsigned char[]> heap_;
};

// Element header size, rounded so that the record behind it is aligned as
// malloc aligns a block.
constexpr size_t kHeaderSize = (sizeof(MEMItemRec) + alignof(std::max_align_t) - 1) &
                               ~(alignof(std::max_align_t) - 1);

// The first eight key bytes (zero-padded) as a big-endian number: numbers
// order as memcmp orders the bytes.
uint64_t PrefixOf(const MEMListRec *list, const void *key) {
    unsigned char bytes[8] = {};
    std::memcpy(bytes, key, list->keyLength < 8 ? list->keyLength : 8);
    uint64_t value = 0;
    for (unsigned char b : bytes) value = (value << 8) | b;
    return value;
}

int CompareRaw(const MEMListRec *list, const void *a, const void *b) {
    if (list->keyLength == 0) return 0;
    if (list->compare != nullptr) return list->compare(a, b, list->keyLength);
    return std::memcmp(a, b, list->keyLength);
}

void Link(MEMListRec *list, MEMItemRec *item, MEMItemRec *before) noexcept {
    item->list = list;
    item->next = before;
    item->prev = before != nullptr ? before->prev : list->last;
    if (item->prev != nullptr)
        item->prev->next = item;
    else
        list->first = item;
    if (before != nullptr)
        before->prev = item;
    else
        list->last = item;
    ++list->count;
}

}  // namespace

int CompareItemKeys(const MEMListRec *list, const MEMItemRec *a, const MEMItemRec *b) {
    KeyView ka(list, a);
    KeyView kb(list, b);
    return CompareRaw(list, ka.bytes(), kb.bytes());
}

IndexEntry EntryOf(const MEMListRec *list, MEMItemRec *item) {
    if (list->compare != nullptr) return IndexEntry{0, item};
    KeyView key(list, item);
    return IndexEntry{PrefixOf(list, key.bytes()), item};
}

KeyProbe ProbeOf(const MEMListRec *list, const void *key) {
    return KeyProbe{key, list->compare != nullptr ? 0 : PrefixOf(list, key)};
}

bool ItemKeyLess::operator()(const IndexEntry &a, const IndexEntry &b) const {
    if (a.prefix != b.prefix) return a.prefix < b.prefix;
    if (list->compare == nullptr && list->keyLength <= 8) return false;
    return CompareItemKeys(list, a.item, b.item) < 0;
}
bool ItemKeyLess::operator()(const IndexEntry &a, const KeyProbe &b) const {
    if (a.prefix != b.prefix) return a.prefix < b.prefix;
    if (list->compare == nullptr && list->keyLength <= 8) return false;
    KeyView ka(list, a.item);
    return CompareRaw(list, ka.bytes(), b.key) < 0;
}
bool ItemKeyLess::operator()(const KeyProbe &a, const IndexEntry &b) const {
    if (a.prefix != b.prefix) return a.prefix < b.prefix;
    if (list->compare == nullptr && list->keyLength <= 8) return false;
    KeyView kb(list, b.item);
    return CompareRaw(list, a.key, kb.bytes()) < 0;
}

MEMItemRec *NewItem(const void *record, size_t size) noexcept {
    if (size > static_cast<size_t>(-1) - kHeaderSize - 1) return nullptr;
    if (fault::AllocationFails()) return nullptr;
    void *block = std::malloc(kHeaderSize + (size == 0 ? 1 : size));
    if (block == nullptr) return nullptr;
    auto *item = new (block) MEMItemRec;
    item->data = static_cast<unsigned char *>(block) + kHeaderSize;
    if (size > 0) std::memcpy(item->data, record, size);
    item->size = size;
    return item;
}

void SetItemData(MEMItemRec *item, unsigned char *block, size_t size) noexcept {
    if (item->ownBlock) std::free(item->data);
    item->data = block;
    item->size = size;
    item->ownBlock = true;
}

void DeleteItem(MEMItemRec *item) noexcept {
    if (item->ownBlock) std::free(item->data);
    item->~MEMItemRec();
    std::free(item);
}

void Unlink(MEMItemRec *item) noexcept {
    MEMListRec *list = item->list;
    if (item->prev != nullptr)
        item->prev->next = item->next;
    else
        list->first = item->next;
    if (item->next != nullptr)
        item->next->prev = item->prev;
    else
        list->last = item->prev;
    item->prev = item->next = nullptr;
    --list->count;
}

bool PlaceByKey(MEMListRec *list, MEMItemRec *item, const KeyIndex::iterator *hint) noexcept {
    return UnlessOutOfMemory(false, [&] {
        auto pos = hint != nullptr ? list->index->emplace_hint(*hint, EntryOf(list, item))
                                   : list->index->insert(EntryOf(list, item));
        item->indexPos = pos;
        item->indexed = true;
        auto after = std::next(pos);
        Link(list, item, after == list->index->end() ? nullptr : after->item);
        return true;
    });
}

MEMItemRec *AppendRecord(MEMListRec *list, const void *record, size_t size) noexcept {
    MEMItemRec *item = NewItem(record, size);
    if (item == nullptr) return nullptr;
    if (list->keyed) {
        try {
            item->indexPos = list->index->insert(EntryOf(list, item));
            item->indexed = true;
        } catch (...) {
            DeleteItem(item);
            return nullptr;
        }
    }
    Link(list, item, nullptr);
    return item;
}

void RemoveItem(MEMItemRec *item) noexcept {
    MEMListRec *list = item->list;
    if (item->indexed) list->index->erase(item->indexPos);
    Unlink(item);
    DeleteItem(item);
}

void EmptyList(MEMListRec *list) noexcept {
    if (list->index != nullptr) list->index->clear();
    MEMItemRec *item = list->first;
    while (item != nullptr) {
        MEMItemRec *next = item->next;
        DeleteItem(item);
        item = next;
    }
    list->first = list->last = nullptr;
    list->count = 0;
}

bool SetListKey(MEMListRec *list, size_t position, size_t length, MEMCompareFunc compare) noexcept {
    if (position > static_cast<size_t>(-1) - length) return false;
    if (list->index != nullptr) list->index->clear();
    for (MEMItemRec *it = list->first; it != nullptr; it = it->next) it->indexed = false;
    list->keyed = false;
    list->keyPosition = position;
    list->keyLength = length;
    list->compare = compare;
    try {
        if (list->index == nullptr) list->index = new KeyIndex(ItemKeyLess{list});

        std::vector<MEMItemRec *> items;
        items.reserve(list->count);
        for (MEMItemRec *it = list->first; it != nullptr; it = it->next) items.push_back(it);
        std::stable_sort(items.begin(), items.end(), [list](const MEMItemRec *a, const MEMItemRec *b) {
            return CompareItemKeys(list, a, b) < 0;
        });
        list->first = list->last = nullptr;
        list->count = 0;
        for (MEMItemRec *it : items) Link(list, it, nullptr);
        for (MEMItemRec *it : items) {
            it->indexPos = list->index->emplace_hint(list->index->end(), EntryOf(list, it));
            it->indexed = true;
        }
        list->keyed = true;
        list->keyPending = false;
        return true;
    } catch (...) {
        // Out of memory: the list stays complete but unkeyed until a later
        // call that needs the key manages to set it up (KeyReady).
        list->keyPending = true;
        if (list->index != nullptr) list->index->clear();
        for (MEMItemRec *it = list->first; it != nullptr; it = it->next) it->indexed = false;
        return false;
    }
}

bool Resort(MEMItemRec *item) noexcept {
    MEMListRec *list = item->list;
    KeyIndex::node_type node;
    try {
        IndexEntry entry = EntryOf(list, item);
        node = list->index->extract(item->indexPos);
        node.value() = entry;
        item->indexPos = list->index->insert(std::move(node));
    } catch (...) {
        // Padding a key longer than KeyView keeps on the stack ran out of
        // memory: the element keeps its place in the list, out of the index.
        if (node.empty()) list->index->erase(item->indexPos);
        item->indexed = false;
        return false;
    }
    Unlink(item);
    auto after = std::next(item->indexPos);
    Link(list, item, after == list->index->end() ? nullptr : after->item);
    return true;
}

bool KeyReady(MEMListRec *list) noexcept {
    return !list->keyPending || SetListKey(list, list->keyPosition, list->keyLength, list->compare);
}

void DestroyList(MEMListRec *list) noexcept {
    EmptyList(list);
    if (list->holder != nullptr) *list->holder = nullptr;
    list->holder = nullptr;
    if (list->staticStorage) return;
    delete list->index;
    delete list;
}

}  // namespace cmnw::companion
