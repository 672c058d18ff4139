// A short text kept for the life of the process (a stored default) that
// threads may read while another replaces it: each read copies one whole
// text, as it stood before a replacement or after it, never a mix.
#pragma once

#include <cstddef>
#include <cstring>
#include <mutex>

#include "common/text.h"

namespace cmnw {

template <size_t N>
class StoredText {
public:
    // text (shorter than N) is the value at load.
    constexpr explicit StoredText(const char *text) noexcept {
        for (size_t i = 0; i < N - 1 && text[i] != '\0'; ++i) text_[i] = text[i];
    }

    // Copies the whole text, NUL-padded to N bytes, into out.
    void CopyTo(char *out) const noexcept {
        const std::lock_guard hold(lock_);
        std::memcpy(out, text_, N);
    }

    // Stores at most maxLength characters of text (null stores "").
    void Replace(const char *text, size_t maxLength) noexcept {
        const std::lock_guard hold(lock_);
        std::memset(text_, 0, N);
        CopyBoundedN(text_, N, text, maxLength);
    }

private:
    mutable std::mutex lock_;
    char text_[N] = {};
};

}  // namespace cmnw
