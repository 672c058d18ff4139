// The allocation-failure boundary between the C entry points and the C++
// inside: internal code reports running out of memory only by throwing
// (std::bad_alloc), and no exception crosses into a C caller.
#pragma once

#include <cerrno>
#include <type_traits>

namespace cmnw {

// What body returns, or failed when it throws (memory ran out); with error
// non-zero, errno is set to it then.
template <class Body>
std::invoke_result_t<Body> UnlessOutOfMemory(std::invoke_result_t<Body> failed, Body &&body,
                                             int error = 0) noexcept {
    try {
        return body();
    } catch (...) {
        if (error != 0) errno = error;
        return failed;
    }
}

}  // namespace cmnw
