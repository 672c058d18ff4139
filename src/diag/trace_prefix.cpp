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

// "Www Mmm dd hh:mm:ss" and "yyyy" of one second, and the process id: the
// local-time conversion runs once a second, not once a line. A fork clears
// the process id.
struct StampCache {
    time_t second;
    bool valid;
    char when[20];
    char year[12];
    size_t yearLen;
    pid_t pid;
    bool forkHookSet;
};

constinit StampCache gStamp{0, false, {}, {}, 0, 0, false};

void ForgetPid() noexcept {
    gStamp.pid = 0;
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
    char *p = gStamp.when;
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
    // "%d" of the year; a negative year keeps its sign.
    long year = static_cast<long>(local.tm_year) + 1900;
    char *y = gStamp.year;
    if (year < 0) {
        *y++ = '-';
        year = -year;
    }
    y = PutPadded(y, static_cast<unsigned>(year), 1, '0');
    gStamp.yearLen = static_cast<size_t>(y - gStamp.year);
    gStamp.second = seconds;
    gStamp.valid = true;
}

}  // namespace

size_t FormatTracePrefix(char *out, size_t outSize, uint32_t number) noexcept {
    if (outSize == 0) return 0;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    if (!gStamp.valid || gStamp.second != now.tv_sec) RefreshStamp(now.tv_sec);
    if (gStamp.pid == 0) {
        if (!gStamp.forkHookSet) {
            gStamp.forkHookSet = pthread_atfork(nullptr, nullptr, ForgetPid) == 0;
        }
        gStamp.pid = getpid();
    }
    // "%4u. %s.%03d %s pid=%08d ": the traditional "% 4u" prints as "%4u",
    // the blank flag having no effect on an unsigned conversion.
    char line[kTracePrefixMax];
    char *p = PutPadded(line, number, 4, ' ');
    *p++ = '.';
    *p++ = ' ';
    std::memcpy(p, gStamp.when, sizeof gStamp.when - 1);
    p += sizeof gStamp.when - 1;
    *p++ = '.';
    p = PutPadded(p, static_cast<unsigned>(now.tv_nsec / 1000000) % 1000, 3, '0');
    *p++ = ' ';
    std::memcpy(p, gStamp.year, gStamp.yearLen);
    p += gStamp.yearLen;
    std::memcpy(p, " pid=", 5);
    p += 5;
    p = PutPadded(p, static_cast<unsigned>(gStamp.pid), 8, '0');
    *p++ = ' ';
    const size_t length = std::min(static_cast<size_t>(p - line), outSize - 1);
    std::memcpy(out, line, length);
    out[length] = '\0';
    return length;
}

}  // namespace cmnw::diag
