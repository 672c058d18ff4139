// Paper lookups: by id, and the smallest paper a page fits on.
#include "cmnw32/paper.h"
#include "cmnw32/locale.h"
#include "locale/paper_tables.h"

using cmnw::paper::kPaperTable;

extern "C" const PaperType *UTLGetPageSizesArray(void) noexcept {
    return kPaperTable;
}

extern "C" const PaperType *UTLGetPaperType(int32_t id) noexcept {
    for (const PaperType *entry = kPaperTable; entry->height != 0; ++entry)
        if (entry->id == id) return entry;
    return nullptr;
}

extern "C" int16_t UTLGetPageSize(int32_t id, int32_t *height, int32_t *width) noexcept {
    if (id == UTL_PAPER_CUSTOM) return 0;
    const PaperType *entry = UTLGetPaperType(id);
    if (entry == nullptr) return -1;
    if (height != nullptr) *height = entry->height;
    if (width != nullptr) *width = entry->width;
    return 0;
}

extern "C" int16_t UTLGetClosestPaperType(int32_t height, int32_t width, int32_t *id) noexcept {
    int32_t defaultId = UTLGetDefPaperSize();
    if (id == nullptr) return -1;

    // "Custom" has no size of its own: it holds no page by this rule.
    int32_t defaultHeight = 0;
    int32_t defaultWidth = 0;
    if (defaultId != UTL_PAPER_CUSTOM &&
        UTLGetPageSize(defaultId, &defaultHeight, &defaultWidth) == 0 && height < defaultHeight &&
        width < defaultWidth) {
        *id = defaultId;
        return 0;
    }

    const PaperType *best = nullptr;
    for (const PaperType *entry = kPaperTable; entry->name[0] != '\0'; ++entry) {
        if (entry->width < width || entry->height < height) continue;
        if (best == nullptr || entry->width < best->width ||
            (entry->width == best->width && entry->height < best->height)) {
            best = entry;
            if (best->width == width && best->height == height) break;
        }
    }
    if (best == nullptr) return -1;
    *id = best->id;
    return 0;
}
