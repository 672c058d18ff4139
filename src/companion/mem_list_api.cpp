// MEM list entries: argument checks around the list internals.
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "common/boundary.h"
#include "companion/companion.h"
#include "companion/mem_list.h"

namespace mc = cmnw::companion;

namespace {

void SetFound(int16_t *found, bool value) {
    if (found != nullptr) *found = value ? 1 : 0;
}

void SetStatus(int32_t *status, int32_t value) {
    if (status != nullptr) *status = value;
}

bool RecordUsable(const void *record, size_t size) { return record != nullptr || size == 0; }

// Gives item a copy of record (same key, so its place stays); false when out
// of memory, the old record then being kept.
bool ReplaceRecord(MEMItemRec *item, const void *record, size_t size) {
    if (size == item->size) {
        if (size > 0) std::memmove(item->data, record, size);
        return true;
    }
    auto *block = static_cast<unsigned char *>(MEMAlloc(size));
    if (block == nullptr) return false;
    if (size > 0) std::memcpy(block, record, size);
    mc::SetItemData(item, block, size);
    return true;
}

// Inserts unless an equal key exists; replaceEqual overwrites that element's
// record instead.
MEMITEM InsertKeyed(MEMLIST list, const void *record, size_t size, int32_t *status, bool replaceEqual) {
    SetStatus(status, -1);
    if (list == nullptr || !RecordUsable(record, size) || !mc::KeyReady(list)) return nullptr;
    if (!list->keyed) {
        MEMItemRec *item = mc::AppendRecord(list, record, size);
        if (item != nullptr) SetStatus(status, 0);
        return item;
    }
    MEMItemRec *item = mc::NewItem(record, size);
    if (item == nullptr) return nullptr;
    mc::KeyIndex::iterator pos;
    try {
        pos = list->index->lower_bound(mc::EntryOf(list, item));
    } catch (...) {
        mc::DeleteItem(item);
        return nullptr;
    }
    if (pos != list->index->end() && mc::CompareItemKeys(list, item, pos->item) == 0) {
        MEMItemRec *existing = pos->item;
        mc::DeleteItem(item);
        if (replaceEqual && !ReplaceRecord(existing, record, size)) return nullptr;
        SetStatus(status, 1);
        return existing;
    }
    if (!mc::PlaceByKey(list, item, &pos)) {
        mc::DeleteItem(item);
        return nullptr;
    }
    SetStatus(status, 0);
    return item;
}

// After the record of an indexed element changed (it was oldData), moves the
// element to its place in key order when its key changed; an element whose
// key is unchanged keeps its place among equal keys.
bool KeepOrder(MEMItemRec *item, const unsigned char *oldData, size_t oldSize) {
    MEMItemRec before;
    before.data = const_cast<unsigned char *>(oldData);
    before.size = oldSize;
    if (mc::CompareItemKeys(item->list, &before, item) == 0) return true;
    return mc::Resort(item);
}

}  // namespace

namespace cmnw::companion {
bool ListInKeyOrder(MEMLIST list) noexcept { return list->keyed; }
}  // namespace cmnw::companion

extern "C" MEMLIST MEMCreateList(void) noexcept { return new (std::nothrow) MEMListRec; }

extern "C" void MEMDestroyList(MEMLIST list) noexcept {
    if (list != nullptr) mc::DestroyList(list);
}

extern "C" void MEMEmptyList(MEMLIST list) noexcept {
    if (list != nullptr) mc::EmptyList(list);
}

extern "C" void MEMRegisterList(MEMLIST list, MEMLIST *holder) noexcept {
    if (list != nullptr) list->holder = holder;
}

extern "C" void MEMKeyList(MEMLIST list, size_t keyPosition, size_t keyLength,
                           MEMCompareFunc compare) noexcept {
    if (list != nullptr) mc::SetListKey(list, keyPosition, keyLength, compare);
}

extern "C" void MEMSortList(MEMLIST list, size_t keyPosition, size_t keyLength) noexcept {
    if (list != nullptr) mc::SetListKey(list, keyPosition, keyLength, nullptr);
}

extern "C" MEMITEM MEMAddItem(MEMLIST list, const void *record, size_t size) noexcept {
    if (list == nullptr || !RecordUsable(record, size) || !mc::KeyReady(list)) return nullptr;
    if (!list->keyed) return mc::AppendRecord(list, record, size);
    MEMItemRec *item = mc::NewItem(record, size);
    if (item == nullptr) return nullptr;
    if (!mc::PlaceByKey(list, item)) {
        mc::DeleteItem(item);
        return nullptr;
    }
    return item;
}

extern "C" MEMITEM MEMAppendItem(MEMLIST list, const void *record, size_t size) noexcept {
    if (list == nullptr || !RecordUsable(record, size) || !mc::KeyReady(list)) return nullptr;
    return mc::AppendRecord(list, record, size);
}

extern "C" MEMITEM MEMInsertItem(MEMLIST list, const void *record, size_t size, int32_t *status) noexcept {
    return InsertKeyed(list, record, size, status, false);
}

extern "C" MEMITEM MEMInsertSummary(MEMLIST list, const void *record, size_t size,
                                    int32_t *status) noexcept {
    return InsertKeyed(list, record, size, status, true);
}

extern "C" MEMITEM MEMFindKey(MEMLIST list, const void *key, int16_t *found) noexcept {
    SetFound(found, false);
    if (list == nullptr || key == nullptr || !mc::KeyReady(list) || !list->keyed) return nullptr;
    return cmnw::UnlessOutOfMemory(static_cast<MEMITEM>(nullptr), [&]() -> MEMITEM {
        mc::KeyProbe probe = mc::ProbeOf(list, key);
        auto pos = list->index->lower_bound(probe);
        if (pos == list->index->end()) return nullptr;
        if (!list->index->key_comp()(probe, *pos)) SetFound(found, true);
        return pos->item;
    });
}

extern "C" MEMITEM MEMFindData(MEMLIST list, const void *record, size_t size, int16_t *found) noexcept {
    SetFound(found, false);
    if (list == nullptr || !RecordUsable(record, size)) return nullptr;
    for (MEMItemRec *item = list->first; item != nullptr; item = item->next) {
        if (item->size == size && (size == 0 || std::memcmp(item->data, record, size) == 0)) {
            SetFound(found, true);
            return item;
        }
    }
    return nullptr;
}

extern "C" MEMITEM MEMItemAt(MEMLIST list, size_t position, int16_t *found) noexcept {
    SetFound(found, false);
    if (list == nullptr || position == 0 || position > list->count) return nullptr;
    MEMItemRec *item;
    if (position <= list->count / 2 + 1) {
        item = list->first;
        for (size_t i = 1; i < position; ++i) item = item->next;
    } else {
        item = list->last;
        for (size_t i = list->count; i > position; --i) item = item->prev;
    }
    SetFound(found, true);
    return item;
}

extern "C" MEMITEM MEMItemFrom(MEMITEM item, size_t position) noexcept {
    while (item != nullptr && position > 0) {
        item = item->next;
        --position;
    }
    return item;
}

extern "C" size_t MEMGetItem(MEMITEM item, void *buffer, size_t size) noexcept {
    if (item == nullptr || buffer == nullptr) return 0;
    size_t n = size < item->size ? size : item->size;
    if (n > 0) std::memcpy(buffer, item->data, n);
    return n;
}

extern "C" int MEMReplaceItem(MEMITEM item, const void *buffer, size_t size) noexcept {
    if (item == nullptr || !RecordUsable(buffer, size)) return 0;
    size_t n = size < item->size ? size : item->size;
    if (!item->indexed) {
        if (n > 0) std::memmove(item->data, buffer, n);
        return 1;
    }
    return cmnw::UnlessOutOfMemory(0, [&] {
        std::vector<unsigned char> old(item->data, item->data + item->size);
        if (n > 0) std::memmove(item->data, buffer, n);
        return KeepOrder(item, old.data(), old.size()) ? 1 : 0;
    });
}

extern "C" int MEMResizeItem(MEMITEM item, const void *buffer, size_t newSize) noexcept {
    if (item == nullptr) return 0;
    auto *data = static_cast<unsigned char *>(MEMAlloc(newSize));
    if (data == nullptr) return 0;
    if (buffer != nullptr) {
        if (newSize > 0) std::memcpy(data, buffer, newSize);
    } else {
        // No new contents: keep what fits and zero the rest.
        size_t keep = newSize < item->size ? newSize : item->size;
        if (keep > 0) std::memcpy(data, item->data, keep);
        if (newSize > keep) std::memset(data + keep, 0, newSize - keep);
    }
    // The old record is kept until the order is settled: KeepOrder compares
    // the old key with the new one.
    MEMItemRec oldView;
    oldView.data = item->data;
    oldView.size = item->size;
    bool freeOld = item->ownBlock;
    item->ownBlock = false;
    mc::SetItemData(item, data, newSize);
    bool ok = true;
    if (item->indexed) {
        try {
            ok = KeepOrder(item, oldView.data, oldView.size);
        } catch (...) {
            ok = false;
        }
    }
    if (freeOld) MEMFree(oldView.data);
    return ok ? 1 : 0;
}

extern "C" void MEMRemoveItem(MEMITEM item) noexcept {
    if (item != nullptr) mc::RemoveItem(item);
}

extern "C" MEMITEM MEMFirstItem(MEMLIST list) noexcept { return list != nullptr ? list->first : nullptr; }

extern "C" MEMITEM MEMNextItem(MEMITEM item) noexcept { return item != nullptr ? item->next : nullptr; }

extern "C" void *MEMItemData(MEMITEM item) noexcept { return item != nullptr ? item->data : nullptr; }

extern "C" size_t MEMItemSize(MEMITEM item) noexcept { return item != nullptr ? item->size : 0; }

extern "C" size_t MEMCount(MEMLIST list) noexcept { return list != nullptr ? list->count : 0; }

extern "C" void MEMPrepareFileList(MEMLIST list, int32_t flags) noexcept {
    (void)list;
    (void)flags;
}
