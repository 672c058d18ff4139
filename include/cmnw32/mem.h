/* Memory companion: memory blocks and MEM lists.
 *
 * A MEM list is an ordered list of elements, each holding its own copy of a
 * record. Element handles are stable: an element keeps its handle (and its
 * record's address) until it is removed or its record is resized, whatever is
 * inserted or removed around it. A keyed list compares records on a key (a
 * byte range at a fixed position in every record) and keeps its elements in
 * key order; insertion and lookup by key take logarithmic time.
 *
 * Lists are not internally locked; a list is used by one thread at a time.
 *
 * Threads: MEMAlloc, MEMRealloc and MEMFree may run on any number of threads
 * at once. The list functions may run on several threads at once, each on
 * lists of its own; a list shared between threads needs the caller's lock. */
#ifndef CMNW32_MEM_H
#define CMNW32_MEM_H

#include "cmnw32/api.h"

CMNW_BEGIN_DECLS

typedef struct MEMListRec *MEMLIST; /* opaque, pointer-sized */
typedef struct MEMItemRec *MEMITEM; /* opaque, pointer-sized */

/* Compares two keys of keyLength bytes: negative, zero or positive. */
typedef int (*MEMCompareFunc)(const void *keyA, const void *keyB, size_t keyLength);

/* Blocks: MEMAlloc gives size bytes (at least 1) or null; MEMFree(null) does
 * nothing; MEMRealloc keeps the contents and returns the new block, or null
 * with the old block untouched. */
CMNW_API void *MEMAlloc(size_t size) CMNW_NOEXCEPT;
CMNW_API void MEMFree(void *block) CMNW_NOEXCEPT;
CMNW_API void *MEMRealloc(void *block, size_t size) CMNW_NOEXCEPT;

/* A new, empty, unkeyed list; 0 on failure. */
CMNW_API MEMLIST MEMCreateList(void) CMNW_NOEXCEPT;
/* Frees the list and its elements; a registered holder variable is set to 0. */
CMNW_API void MEMDestroyList(MEMLIST list) CMNW_NOEXCEPT;
/* Removes every element; the list and its key stay. */
CMNW_API void MEMEmptyList(MEMLIST list) CMNW_NOEXCEPT;
/* Remembers the variable that holds list, so that MEMDestroyList clears it. */
CMNW_API void MEMRegisterList(MEMLIST list, MEMLIST *holder) CMNW_NOEXCEPT;

/* Keys the list on bytes [keyPosition, keyPosition + keyLength) of each
 * record, compared with compare (memcmp when null), and sorts the elements
 * already present. MEMSortList is the same with memcmp. */
CMNW_API void MEMKeyList(MEMLIST list, size_t keyPosition, size_t keyLength, MEMCompareFunc compare) CMNW_NOEXCEPT;
CMNW_API void MEMSortList(MEMLIST list, size_t keyPosition, size_t keyLength) CMNW_NOEXCEPT;

/* Adds a copy of record (size bytes): appended to an unkeyed list, placed in
 * key order (after equal keys) in a keyed one. Returns the element, 0 on
 * failure. */
CMNW_API MEMITEM MEMAddItem(MEMLIST list, const void *record, size_t size) CMNW_NOEXCEPT;
/* Appends a copy at the end, whatever the key. */
CMNW_API MEMITEM MEMAppendItem(MEMLIST list, const void *record, size_t size) CMNW_NOEXCEPT;
/* Inserts into a keyed list unless an element with an equal key exists.
 * *status (may be null) receives 0 when inserted, 1 when the key was already
 * present (that element is returned, unchanged), -1 on failure (0 returned).
 * On an unkeyed list the copy is appended (status 0). */
CMNW_API MEMITEM MEMInsertItem(MEMLIST list, const void *record, size_t size, int32_t *status) CMNW_NOEXCEPT;
/* As MEMInsertItem, but an existing element with an equal key gets its record
 * replaced by the new one (*status 1). Used for summary lists. */
CMNW_API MEMITEM MEMInsertSummary(MEMLIST list, const void *record, size_t size, int32_t *status) CMNW_NOEXCEPT;

/* The first element whose key equals key (keyLength bytes of the list's key);
 * *found is 1 then. When none matches, *found is 0 and the result is the
 * element before which such a key would go (0 at the end). An unkeyed list
 * gives 0 with *found 0. Records shorter than the key's end compare as if
 * padded with zero bytes. */
CMNW_API MEMITEM MEMFindKey(MEMLIST list, const void *key, int16_t *found) CMNW_NOEXCEPT;
/* The first element whose record equals record (same size, same bytes). */
CMNW_API MEMITEM MEMFindData(MEMLIST list, const void *record, size_t size, int16_t *found) CMNW_NOEXCEPT;
/* The element at 1-based position; *found 0 and result 0 past the end. */
CMNW_API MEMITEM MEMItemAt(MEMLIST list, size_t position, int16_t *found) CMNW_NOEXCEPT;
/* The element position steps (0-based) after item; 0 past the end. */
CMNW_API MEMITEM MEMItemFrom(MEMITEM item, size_t position) CMNW_NOEXCEPT;

/* Copies the record out (at most size bytes); returns the bytes copied. */
CMNW_API size_t MEMGetItem(MEMITEM item, void *buffer, size_t size) CMNW_NOEXCEPT;
/* Overwrites the record with size bytes (at most its own size). A keyed list
 * re-sorts the element when its key changed. Returns non-zero on success. */
CMNW_API int MEMReplaceItem(MEMITEM item, const void *buffer, size_t size) CMNW_NOEXCEPT;
/* Replaces the record with one of a new size; the handle stays the same, the
 * record's address may change. A null buffer keeps the old contents that fit
 * and zero-fills the rest. Returns non-zero on success. */
CMNW_API int MEMResizeItem(MEMITEM item, const void *buffer, size_t newSize) CMNW_NOEXCEPT;
/* Removes and frees one element. */
CMNW_API void MEMRemoveItem(MEMITEM item) CMNW_NOEXCEPT;

/* Walking: first and next element (0 at the end), the record and its size,
 * the number of elements. */
CMNW_API MEMITEM MEMFirstItem(MEMLIST list) CMNW_NOEXCEPT;
CMNW_API MEMITEM MEMNextItem(MEMITEM item) CMNW_NOEXCEPT;
CMNW_API void *MEMItemData(MEMITEM item) CMNW_NOEXCEPT;
CMNW_API size_t MEMItemSize(MEMITEM item) CMNW_NOEXCEPT;
CMNW_API size_t MEMCount(MEMLIST list) CMNW_NOEXCEPT;

/* Prepares a list of file records before it is walked (flags must be 0).
 * Here it only checks the list; records stay in their order. */
CMNW_API void MEMPrepareFileList(MEMLIST list, int32_t flags) CMNW_NOEXCEPT;

CMNW_END_DECLS

#endif
