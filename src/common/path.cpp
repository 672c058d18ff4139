#include "common/path.h"

#include <cstring>

#include "common/text.h"

namespace cmnw {
namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// Writes characters one at a time without passing the end of the buffer.
class BoundedWriter {
public:
    BoundedWriter(char *out, size_t size) : out_(out), size_(size) {}
    void Put(char c) {
        if (used_ + 1 < size_) out_[used_++] = c;
    }
    void PutText(const char *text) {
        if (text == nullptr) return;
        while (*text != '\0' && used_ + 1 < size_) out_[used_++] = *text++;
    }
    void Finish() {
        if (size_ > 0) out_[used_] = '\0';
    }

private:
    char *out_;
    size_t size_;
    size_t used_ = 0;
};

// A directory such as "http://host/" or "file:///x/" keeps forward slashes.
bool LooksLikeUrl(const char *dir) {
    size_t len = std::strlen(dir);
    return (len > 6 && dir[3] == ':') || (len > 7 && dir[4] == ':') || (len > 8 && dir[5] == ':');
}

}  // namespace

void UTLSplitPath(const char *path, char *drive, char *dir, char *fname, char *ext) noexcept {
    if (drive != nullptr) drive[0] = '\0';
    if (dir != nullptr) dir[0] = '\0';
    if (fname != nullptr) fname[0] = '\0';
    if (ext != nullptr) ext[0] = '\0';
    if (path == nullptr) return;

    const char *p = path;
    if (p[0] != '\0' && p[1] == ':') {
        CopyBoundedN(drive, kDriveSize, p, 2);
        p += 2;
    }
    const char *nameStart = p;
    const char *extStart = nullptr;
    const char *end = p;
    for (; *end != '\0' && *end != ';'; ++end) {
        if (IsSeparator(*end)) {
            nameStart = end + 1;
            extStart = nullptr;
        } else if (*end == '.' && LengthBounded(end + 1, 4) <= 3) {
            extStart = end;
        }
    }
    if (dir != nullptr && nameStart > p) {
        size_t n = CopyBoundedN(dir, kDirSize, p, static_cast<size_t>(nameStart - p));
        for (size_t i = 0; i < n; ++i) {
            if (dir[i] == '/') dir[i] = '\\';
        }
    }
    const char *nameEnd = extStart != nullptr ? extStart : end;
    CopyBoundedN(fname, kNameSize, nameStart, static_cast<size_t>(nameEnd - nameStart));
    if (extStart != nullptr) {
        CopyBoundedN(ext, kExtSize, extStart, static_cast<size_t>(end - extStart));
    }
}

void MakePathBounded(char *out, size_t outSize, const char *drive, const char *dir,
                     const char *fname, const char *ext) noexcept {
    if (out == nullptr || outSize == 0) return;
    BoundedWriter w(out, outSize);
    if (drive != nullptr && drive[0] != '\0') {
        w.Put(drive[0]);
        w.Put(':');
    }
    if (dir != nullptr && dir[0] != '\0') {
        const bool url = LooksLikeUrl(dir);
        const char sep = url ? '/' : '\\';
        char last = '\0';
        for (const char *d = dir; *d != '\0' && *d != ';'; ++d) {
            last = IsSeparator(*d) ? sep : *d;
            w.Put(last);
        }
        if (last != '\0' && last != sep) w.Put(sep);
    }
    w.PutText(fname);
    if (ext != nullptr) {
        if (ext[0] != '\0' && ext[0] != '.') w.Put('.');
        w.PutText(ext);
    }
    w.Finish();
}

}  // namespace cmnw
