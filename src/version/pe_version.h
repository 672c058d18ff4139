// Version resources of PE/COFF module files, read from the file's bytes.
// Every read goes through a ByteSource that refuses ranges outside the data,
// and every offset taken from the data is checked before it is used.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace cmnw::version {

// The little-endian 16-bit value at p.
inline uint16_t Le16(const uint8_t *p) noexcept { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// Random access to the bytes of a module image.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Copies [offset, offset + size) into out; false when any of it lies
    // outside the data or cannot be read.
    virtual bool Read(uint64_t offset, void *out, size_t size) const noexcept = 0;
};

// An image held in memory.
class MemorySource final : public ByteSource {
public:
    MemorySource(const void *data, size_t size) noexcept
        : data_(static_cast<const uint8_t *>(data)), size_(size) {}
    bool Read(uint64_t offset, void *out, size_t size) const noexcept override;

private:
    const uint8_t *data_;
    size_t size_;
};

// An image in an open stream (not closed here).
class StreamSource final : public ByteSource {
public:
    explicit StreamSource(FILE *file) noexcept : file_(file) {}
    bool Read(uint64_t offset, void *out, size_t size) const noexcept override;

private:
    FILE *file_;
};

// Where the version resource (type 16; name 1, else the first name; language
// 0x0000, else 0x0400, else 0x0800, else 0x0409, else the first) lies in the
// image, and its size (at most kMaxVersionSize).
struct ResourceSpan {
    uint64_t offset;
    uint32_t size;
};
inline constexpr uint32_t kMaxVersionSize = 0xFFFF;
bool FindVersionResource(const ByteSource &image, ResourceSpan &span) noexcept;

// Size of the block that holds a version resource of rawSize bytes and the
// single-byte (code page 1252) copies of its texts.
uint32_t VersionBlockSize(uint32_t rawSize) noexcept;

// Completes a block whose first rawSize bytes hold the resource (size bytes
// in all, at least VersionBlockSize(rawSize)): limits the root length to the
// bytes present and writes the single-byte copies. False when the resource
// does not start with a readable root entry.
bool PrepareVersionBlock(uint8_t *block, uint32_t size, uint32_t rawSize) noexcept;

// The value at subBlock in a prepared block (see SYSVerQueryValue).
bool QueryVersionValue(const uint8_t *block, const char *subBlock, const void **value,
                       uint32_t *length) noexcept;

}  // namespace cmnw::version
