// Operations on MEM list internals shared by the list entries and the
// configuration library.
#pragma once

#include "companion/mem_list.h"

namespace cmnw::companion {

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
bool PlaceByKey(MEMListRec *list, MEMItemRec *item) noexcept;
// As PlaceByKey with the index position already known (a lower bound).
bool PlaceByKeyHint(MEMListRec *list, MEMItemRec *item, KeyIndex::iterator hint) noexcept;
// Removes and frees one element.
void RemoveItem(MEMItemRec *item) noexcept;
// Keys the list and sorts what it holds (stable); false when out of memory or
// the key range overflows, the list then being left unkeyed.
bool SetListKey(MEMListRec *list, size_t position, size_t length, MEMCompareFunc compare) noexcept;
// Moves an element of a keyed list whose key changed to its place in order.
// The element must already be out of the index (indexed false).
bool Resort(MEMItemRec *item) noexcept;
// Frees list and its elements and clears its registered holder.
void DestroyList(MEMListRec *list) noexcept;

}  // namespace cmnw::companion
