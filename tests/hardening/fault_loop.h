// The fault loop of the fault tests.
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
__attribute__((format(printf, 1, 2))) inline std::string Result(const char *format, ...) {
    fault::Disarm();
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

// Runs run with the nth call of kind failing, n = 1, 2, ... until no fault is
// injected. run performs the operation, undoes what it built and describes
// the result (and any damage it saw) in a text: with a fault it must equal
// the clean run's or satisfy isFailure (the documented failure result), and
// the clean run after it must give the clean text again.
inline long RunFaultLoop(const char *name, fault::Kind kind, int error, bool shortWrite,
                         const std::function<std::string()> &run,
                         const std::function<bool(const std::string &)> &isFailure) {
    const std::string reference = run();
    long n = 1;
    for (; n <= 100000; ++n) {
        fault::Arm(kind, n, error, shortWrite);
        const std::string faulted = run();
        if (!fault::Disarm()) {
            EXPECT_EQ(faulted, reference) << name << ": run without a fault";
            break;
        }
        EXPECT_TRUE(faulted == reference || isFailure(faulted))
            << name << ": fault at call " << n << " gave \"" << faulted << "\"";
        EXPECT_EQ(run(), reference) << name << ": clean run after a fault at call " << n;
    }
    std::printf("fault points: %s: %ld\n", name, n - 1);
    return n - 1;
}

}  // namespace cmnw::test
