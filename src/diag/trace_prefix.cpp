#include "diag/trace_prefix.h"

#include <pthread.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <ctime>

namespace cmnw::diag {
namespace {

// English names whatever the C library's locale.
constexpr const char *kDays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char *kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// "Www Mmm dd hh:mm:ss" of one second, and " yyyy pid=%08d " after the
// milliseconds: the local-time conversion runs once a second, not once a
// line. A fork clears the process id, which rebuilds the tail.
struct StampCache {
    time_t second;
    bool valid;
    char when[20];
    char tail[40];
    size_t tailLen;
    long year;
    pid_t pid;
    bool forkHookSet;
};

constinit StampCache g_stamp{0, false, {}, {}, 0, 0, 0, false};

void ForgetPid() noexcept {
    g_stamp.pid = 0;
}

// value in decimal, right-aligned to at least width columns filled with fill.
char *PutPadded(char *out, unsigned value, int width, char fill) noexcept {
    char digits[10];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    for (int i = n; i < width; ++i) *out++ = fill;
    while (n > 0) *out++ = digits[--n];
    return out;
}

void RefreshStamp(time_t seconds) noexcept {
    tm local{};
    localtime_r(&seconds, &local);
    char *p = g_stamp.when;
    std::memcpy(p, kDays[local.tm_wday % 7], 3);
    p[3] = ' ';
    std::memcpy(p + 4, kMonths[local.tm_mon % 12], 3);
    p[7] = ' ';
    PutPadded(p + 8, static_cast<unsigned>(local.tm_mday) % 100, 2, '0');
    p[10] = ' ';
    PutPadded(p + 11, static_cast<unsigned>(local.tm_hour) % 100, 2, '0');
    p[13] = ':';
    PutPadded(p + 14, static_cast<unsigned>(local.tm_min) % 100, 2, '0');
    p[16] = ':';
    PutPadded(p + 17, static_cast<unsigned>(local.tm_sec) % 100, 2, '0');
    g_stamp.year = static_cast<long>(local.tm_year) + 1900;
    g_stamp.second = seconds;
    g_stamp.valid = true;
    g_stamp.tailLen = 0;
}

// " yyyy pid=%08d ": "%d" of the year, a negative year keeping its sign.
void RefreshTail() noexcept {
    char *p = g_stamp.tail;
    *p++ = ' ';
    long year = g_stamp.year;
    if (year < 0) {
        *p++ = '-';
        year = -year;
    }
    p = PutPadded(p, static_cast<unsigned>(year), 1, '0');
    std::memcpy(p, " pid=", 5);
    p = PutPadded(p + 5, static_cast<unsigned>(g_stamp.pid), 8, '0');
    *p++ = ' ';
    g_stamp.tailLen = static_cast<size_t>(p - g_stamp.tail);
}

}  // namespace

size_t FormatTracePrefix(char *out, size_t outSize, uint32_t number) noexcept {
    if (outSize == 0) return 0;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    if (!g_stamp.valid || g_stamp.second != now.tv_sec) RefreshStamp(now.tv_sec);
    if (g_stamp.pid == 0) {
        if (!g_stamp.forkHookSet) {
            g_stamp.forkHookSet = pthread_atfork(nullptr, nullptr, ForgetPid) == 0;
        }
        g_stamp.pid = getpid();
        g_stamp.tailLen = 0;
    }
    if (g_stamp.tailLen == 0) RefreshTail();
    // "%4u. %s.%03d %s pid=%08d ": the traditional "% 4u" prints as "%4u",
    // the blank flag having no effect on an unsigned conversion.
    char line[kTracePrefixMax];
    char *p = outSize >= kTracePrefixMax ? out : line;
    char *end = PutPadded(p, number, 4, ' ');
    end[0] = '.';
    end[1] = ' ';
    std::memcpy(end + 2, g_stamp.when, sizeof g_stamp.when - 1);
    end += 2 + sizeof g_stamp.when - 1;
    const unsigned ms = static_cast<unsigned>(now.tv_nsec / 1000000) % 1000;
    end[0] = '.';
    end[1] = static_cast<char>('0' + ms / 100);
    end[2] = static_cast<char>('0' + ms / 10 % 10);
    end[3] = static_cast<char>('0' + ms % 10);
    std::memcpy(end + 4, g_stamp.tail, g_stamp.tailLen);
    end += 4 + g_stamp.tailLen;
    const size_t length = std::min(static_cast<size_t>(end - p), outSize - 1);
    if (p != out) std::memcpy(out, p, length);
    out[length] = '\0';
    return length;
}

}  // namespace cmnw::diag
