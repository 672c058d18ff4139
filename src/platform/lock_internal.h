// Shared by the lock functions: the retry loop's pause and the shared open of
// archive files.
#pragma once

#include <cstdint>
#include <cstdio>

namespace cmnw::lock {

// What the retry loops do around their tries. The default pause sleeps one
// second; tests put in shorter pauses and count tries.
struct RetryHooks {
    void (*pause)() = nullptr;  // null: sleep one second
    void (*tried)() = nullptr;  // called after every refused try, when set
};

// Installs hooks for every retry loop of the process; returns the previous
// ones.
RetryHooks SetRetryHooks(RetryHooks hooks) noexcept;

// One pause between tries (the hook, or one second).
void PauseBetweenTries() noexcept;
// Tells the hook that a try was refused.
void NoteRefusedTry() noexcept;

// The retry count of a shared open: KVRWAIT read as a decimal number (a text
// that is not a number counts as 0, values beyond the int range are clamped),
// 600 when it is not set. Negative means without end.
int RetryCountFromEnvironment() noexcept;

// Opens name denying others writing ("r+b" for accessMode 2, else "rb").
// When another open refuses it, tries again at once, then once after each
// pause while the number of tries again stays below the retry count
// (RetryCountFromEnvironment; negative: without end). Returns null at once
// for a missing file or a name that can never be opened.
FILE *SharedOpen(const char *name, int32_t accessMode) noexcept;

// The mode text of the shared open for accessMode.
const char *SharedOpenMode(int32_t accessMode) noexcept;

// SharedOpen after its first try was refused with error: the same answer as
// SharedOpen would give from there on.
FILE *SharedOpenAfterRefusal(const char *name, int32_t accessMode, int error) noexcept;

}  // namespace cmnw::lock
