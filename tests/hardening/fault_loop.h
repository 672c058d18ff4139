// The fault loop shared by the fault tests: an operation is run with the
// Nth call of a kind failing, for N = 1, 2, ... until it runs without the
// fault being injected.
#pragma once

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <functional>
#include <string>

#include "common/fault.h"

namespace cmnw::test {

// The text of an operation's result, formatted with the switch disarmed so
// that a fault never lands in the test's own allocations.
inline std::string Result(const char *format, ...) __attribute__((format(printf, 1, 2)));
inline std::string Result(const char *format, ...) {
    fault::Disarm();
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

// run performs the operation, undoes what it built and describes the result
// in a text (which includes any damage it saw). Without a fault the text must
// equal the first clean run's; with one it must equal it or satisfy
// isFailure (the documented failure result); after each faulted run a clean
// run must give the reference again. Returns the number of fault points.
inline long RunFaultLoop(const char *name, fault::Kind kind, int error, bool shortWrite,
                         const std::function<std::string()> &run,
                         const std::function<bool(const std::string &)> &isFailure) {
    const std::string reference = run();
    long n = 1;
    for (;; ++n) {
        fault::Arm(kind, n, error, shortWrite);
        const std::string faulted = run();
        if (!fault::Disarm()) {
            EXPECT_EQ(faulted, reference) << name << ": run without a fault";
            break;
        }
        EXPECT_TRUE(faulted == reference || isFailure(faulted))
            << name << ": fault at call " << n << " gave \"" << faulted << "\"";
        EXPECT_EQ(run(), reference) << name << ": clean run after a fault at call " << n;
        if (n > 100000) break;
    }
    std::printf("fault points: %s: %ld\n", name, n - 1);
    std::fflush(stdout);
    return n - 1;
}

}  // namespace cmnw::test
