// Locating the version resource in a PE/COFF image: DOS header, PE header,
// the resource data directory, the section that holds it, and the three
// levels of the resource tree (type, name, language).
#include <sys/types.h>

#include <cstring>
#include <initializer_list>

#include "version/pe_version.h"

namespace cmnw::version {
namespace {

// The magic numbers of the two optional-header forms.
enum OptionalForm : uint16_t { kOptionalPe32 = 0x10b, kOptionalPe32Plus = 0x20b };
constexpr uint32_t kResourceDirectoryIndex = 2;
constexpr uint32_t kVersionType = 16;
constexpr uint32_t kVersionName = 1;
// Of several languages of the resource: neutral, the user's default, the
// system's default, US English; else the first in the file.
constexpr std::initializer_list<uint32_t> kLanguageOrder = {0x0000, 0x0400, 0x0800, 0x0409};
constexpr uint32_t kSubdirectoryBit = 0x80000000u;
constexpr uint16_t kMaxSections = 96;
constexpr uint32_t kMaxEntries = 4096;

uint32_t Le32(const uint8_t *p) noexcept {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

struct Section {
    uint32_t virtualAddress;
    uint32_t rawSize;
    uint32_t rawOffset;
};

class Image {
public:
    explicit Image(const ByteSource &source) noexcept : source_(source) {}

    bool ReadHeaders() noexcept;
    // The file offset of [rva, rva + size), which must lie in one section's
    // raw data.
    bool MapRva(uint32_t rva, uint32_t size, uint64_t &offset) const noexcept;
    bool ReadRva(uint32_t rva, void *out, uint32_t size) const noexcept {
        uint64_t offset = 0;
        return MapRva(rva, size, offset) && source_.Read(offset, out, size);
    }
    uint32_t resourceRva = 0;

private:
    const ByteSource &source_;
    Section sections_[kMaxSections] = {};
    uint16_t sectionCount_ = 0;
};

bool Image::ReadHeaders() noexcept {
    uint8_t dos[64];
    if (!source_.Read(0, dos, sizeof dos) || dos[0] != 'M' || dos[1] != 'Z') return false;
    const uint64_t peOffset = Le32(dos + 0x3C);
    uint8_t pe[24];
    if (!source_.Read(peOffset, pe, sizeof pe) || std::memcmp(pe, "PE\0\0", 4) != 0) return false;
    const uint16_t sectionCount = Le16(pe + 6);
    const uint16_t optionalSize = Le16(pe + 20);
    if (sectionCount > kMaxSections) return false;
    uint8_t optional[256] = {};
    const size_t optionalRead = optionalSize < sizeof optional ? optionalSize : sizeof optional;
    if (optionalRead < 2 || !source_.Read(peOffset + 24, optional, optionalRead)) return false;
    size_t countAt = 0;
    switch (Le16(optional)) {
        case kOptionalPe32:
            countAt = 92;
            break;
        case kOptionalPe32Plus:
            countAt = 108;
            break;
        default:
            return false;
    }
    const size_t directoryAt = countAt + 4 + kResourceDirectoryIndex * 8;
    if (directoryAt + 8 > optionalRead || Le32(optional + countAt) <= kResourceDirectoryIndex)
        return false;
    resourceRva = Le32(optional + directoryAt);
    if (resourceRva == 0 || Le32(optional + directoryAt + 4) == 0) return false;

    uint8_t header[40];
    const uint64_t tableAt = peOffset + 24 + optionalSize;
    for (uint16_t i = 0; i < sectionCount; ++i) {
        if (!source_.Read(tableAt + 40u * i, header, sizeof header)) return false;
        sections_[i] = {Le32(header + 12), Le32(header + 16), Le32(header + 20)};
    }
    sectionCount_ = sectionCount;
    return true;
}

bool Image::MapRva(uint32_t rva, uint32_t size, uint64_t &offset) const noexcept {
    for (uint16_t i = 0; i < sectionCount_; ++i) {
        const Section &s = sections_[i];
        if (rva < s.virtualAddress) continue;
        const uint32_t into = rva - s.virtualAddress;
        if (into >= s.rawSize || size > s.rawSize - into) continue;
        offset = uint64_t{s.rawOffset} + into;
        return true;
    }
    return false;
}

// The entry of the directory at offset (within the resource tree) whose
// numeric id comes first in preferred, else (fallBackToFirst) the first
// entry. Gives the entry's target offset and whether it is a subdirectory.
bool FindEntry(const Image &image, uint32_t directory, std::initializer_list<uint32_t> preferred,
               bool fallBackToFirst, uint32_t &target, bool &subdirectory) noexcept {
    uint8_t header[16];
    if (!image.ReadRva(image.resourceRva + directory, header, sizeof header)) return false;
    const uint32_t count = uint32_t{Le16(header + 12)} + Le16(header + 14);
    size_t bestRank = preferred.size();  // rank of the first entry, or none
    bool found = false;
    for (uint32_t k = 0; k < count && k < kMaxEntries && bestRank > 0; ++k) {
        uint8_t entry[8];
        if (!image.ReadRva(image.resourceRva + directory + 16 + 8 * k, entry, sizeof entry))
            return false;
        const uint32_t name = Le32(entry);
        size_t rank = 0;
        while (rank < preferred.size() &&
               ((name & kSubdirectoryBit) != 0 || name != preferred.begin()[rank]))
            ++rank;
        if (rank >= bestRank && !(fallBackToFirst && k == 0)) continue;
        if (rank < bestRank) bestRank = rank;
        target = Le32(entry + 4) & ~kSubdirectoryBit;
        subdirectory = (Le32(entry + 4) & kSubdirectoryBit) != 0;
        found = true;
    }
    return found;
}

}  // namespace

bool MemorySource::Read(uint64_t offset, void *out, size_t size) const noexcept {
    if (offset > size_ || size > size_ - offset) return false;
    if (size > 0) std::memcpy(out, data_ + offset, size);
    return true;
}

bool StreamSource::Read(uint64_t offset, void *out, size_t size) const noexcept {
    if (file_ == nullptr || offset > static_cast<uint64_t>(INT64_MAX)) return false;
    if (fseeko(file_, static_cast<off_t>(offset), SEEK_SET) != 0) return false;
    return std::fread(out, 1, size, file_) == size;
}

bool FindVersionResource(const ByteSource &source, ResourceSpan &span) noexcept {
    Image image(source);
    if (!image.ReadHeaders()) return false;
    uint32_t names = 0, languages = 0, data = 0;
    bool sub = false;
    if (!FindEntry(image, 0, {kVersionType}, false, names, sub) || !sub) return false;
    if (!FindEntry(image, names, {kVersionName}, true, languages, sub) || !sub) return false;
    if (!FindEntry(image, languages, kLanguageOrder, true, data, sub) || sub) return false;
    uint8_t entry[16];
    if (!image.ReadRva(image.resourceRva + data, entry, sizeof entry)) return false;
    const uint32_t rva = Le32(entry);
    uint32_t size = Le32(entry + 4);
    if (size > kMaxVersionSize) size = kMaxVersionSize;
    uint64_t offset = 0;
    uint8_t last = 0;
    if (size < 6 || !image.MapRva(rva, size, offset) || !source.Read(offset + size - 1, &last, 1))
        return false;
    span = {offset, size};
    return true;
}

}  // namespace cmnw::version
