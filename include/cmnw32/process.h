/* Processes, threads, critical sections, semaphores and dynamic modules.
 *
 * Each wrapper does one system operation and reports in the suite's terms:
 * 0 for success, 1 for failure, or a handle (null for none). Handles are
 * pointer-sized opaque values.
 *
 * Critical sections are recursive mutexes living in a caller-owned
 * UTLCRITICAL_SECTION.
 *
 * Named semaphores have a maximum count of 1 and are shared by the processes
 * of one account (effective user) that use the same name. Each one is a
 * small POSIX shared memory object ("/cmnw32.sem.<name>", under /dev/shm)
 * holding only the count and a magic number; waiters sleep on the count
 * itself (a futex), so the object holds no lock and no address. It is
 * created with O_EXCL and mode 0600, readable and writable by its owner
 * alone. An existing object is used only when it belongs to the effective
 * user and grants neither group nor others write; one of another account
 * (made first under the same name, or left behind) gives handle 0, as a
 * named object of another user does on the old platform. Semaphores are
 * therefore not shared between accounts, not even of one group. Every
 * handle holds an advisory read lock on the object; open and close run under
 * an exclusive flock of the object, waited for about two seconds at most
 * (then handle 0, or the object is left for the last user), and the closer
 * that finds no other reader unlinks it, so nothing is left behind once the
 * last handle is closed. A process that dies keeps no handle: its locks go
 * with it, and the next creator of the name starts afresh with its own
 * initial count while an open of a name nobody holds fails. Handles are not
 * inherited across exec. A handle is checked before use: one already closed,
 * or a value that never was a handle, gets the failure result. A handle
 * closed while another thread still waits on it stays usable for that wait.
 * Another process of the same account can write the count at will (any
 * process of an account can act for it): it can make a wait succeed, or
 * keep it waiting until its time-out, but never make this process write
 * outside the object or wait past its time-out.
 *
 * Threads may start suspended and may be suspended while running. A thread
 * created suspended waits before its start routine runs. A running thread is
 * suspended by a real-time signal (UTL_SUSPEND_SIGNAL) whose handler parks
 * the thread until it is resumed; the handler is installed on the first
 * UTLSuspendThread. As with any such mechanism, a thread suspended while it
 * holds a lock (inside malloc, stdio ...) keeps it until resumed; a thread
 * that blocks the signal is suspended only when it unblocks it.
 *
 * Threads: every function here may run on several threads at once, each
 * handle being valid until it is closed. */
#ifndef CMNW32_PROCESS_H
#define CMNW32_PROCESS_H

#include "cmnw32/api.h"

CMNW_BEGIN_DECLS

/* Lock object of the critical-section wrappers; callers allocate it and must
 * not copy it once initialised. */
typedef struct UTLCRITICAL_SECTION {
    uint64_t opaque[8];
} UTLCRITICAL_SECTION;

typedef struct UTLSemaphoreRec *UTLHSEM;   /* semaphore handle; 0 for none */
typedef struct UTLThreadRec *UTLHTHREAD;   /* thread handle; 0 for none */
typedef void *UTLHMODULE;                  /* module handle; 0 for none */

/* Thread start routine: one pointer argument, a 32-bit exit code. */
typedef uint32_t (*UTLThreadFunc)(void *argument);

#define UTL_WAIT_TIMEOUT 258u        /* UTLRequestSemaphore: time ran out */
#define UTL_INFINITE 0xFFFFFFFFu     /* wait without end */
#define UTL_STILL_ACTIVE 259u        /* exit code of a thread still running */
/* Signal that parks a suspended thread (needs <signal.h>). */
#define UTL_SUSPEND_SIGNAL (SIGRTMAX - 3)

/* Critical sections: initialise, enter (waits as long as needed; the holder
 * may enter again and must leave as often), leave. Each returns 0; a null
 * lock object is ignored, and so is a leave by a thread that does not hold
 * the section. UTLCleanupCriticalSection releases the system
 * resources and may be called once per lock object after its last use. */
CMNW_API int32_t UTLInitializeCriticalSection(UTLCRITICAL_SECTION *section) CMNW_NOEXCEPT;
CMNW_API int32_t UTLEnterCriticalSection(UTLCRITICAL_SECTION *section) CMNW_NOEXCEPT;
CMNW_API int32_t UTLLeaveCriticalSection(UTLCRITICAL_SECTION *section) CMNW_NOEXCEPT;
CMNW_API int32_t UTLCleanupCriticalSection(UTLCRITICAL_SECTION *section) CMNW_NOEXCEPT;

/* The process name: a 20-byte process-wide text, empty at load.
 * UTLInitProcess empties it; UTLSetProcessName stores at most 19 characters
 * of name; UTLGetProcessName copies it into buffer (at least 20 bytes). Each
 * returns 0. */
CMNW_API int32_t UTLInitProcess(void) CMNW_NOEXCEPT;
CMNW_API int32_t UTLSetProcessName(const char *name) CMNW_NOEXCEPT;
CMNW_API int32_t UTLGetProcessName(char *buffer) CMNW_NOEXCEPT;

/* Creates the semaphore called name (only the part after its last "\"
 * counts; null makes an unnamed one for this process), or opens it when it
 * exists already. A new semaphore has count 0 when initiallyTaken is
 * non-zero, 1 otherwise. *handle receives the handle, 0 on failure. Returns
 * 1 when handle is null, else 0. reserved is not used. */
CMNW_API int32_t UTLCreateSemaphore(const char *name, UTLHSEM *handle, uint32_t reserved,
                                    int32_t initiallyTaken) CMNW_NOEXCEPT;
/* Opens an existing semaphore by name (after its last "\"); *handle is 0
 * when none exists. Returns 1 when handle is null, else 0. */
CMNW_API int32_t UTLOpenSemaphore(const char *name, UTLHSEM *handle) CMNW_NOEXCEPT;
/* Takes the semaphore, waiting up to timeout milliseconds (UTL_INFINITE:
 * without end). Returns 0 when taken, 258 when the time ran out, 1 on failure
 * or for handle 0. */
CMNW_API int32_t UTLRequestSemaphore(UTLHSEM handle, uint32_t timeout) CMNW_NOEXCEPT;
/* Gives the semaphore back. Returns 0, or 1 for handle 0 or when the count is
 * at its maximum already. */
CMNW_API int32_t UTLReleaseSemaphore(UTLHSEM handle) CMNW_NOEXCEPT;
/* Closes the handle (the semaphore goes when its last handle is closed).
 * Returns 0, also for handle 0; 1 after the trace line "Close Handle failed
 * %s" when closing failed. */
CMNW_API int32_t UTLDestroySemaphore(UTLHSEM handle) CMNW_NOEXCEPT;

/* Sleeps for milliseconds. */
CMNW_API void UTLSleep(uint32_t milliseconds) CMNW_NOEXCEPT;

/* Starts routine(argument) on a new thread with the default stack size,
 * waiting for UTLResumeThread first when suspended is non-zero. Returns the
 * thread handle, or 0. The handle stays valid until UTLCleanupThread, which
 * does not stop the thread. */
CMNW_API UTLHTHREAD UTLCreateThread(UTLThreadFunc routine, void *argument, int32_t suspended) CMNW_NOEXCEPT;
/* *exitCode receives the routine's result, or UTL_STILL_ACTIVE while the
 * thread runs. Returns non-zero on success, 0 for a null argument. */
CMNW_API int32_t UTLGetExitCodeThread(UTLHTHREAD thread, uint32_t *exitCode) CMNW_NOEXCEPT;
/* Suspends the thread (suspensions count; each needs its resume). Returns 0
 * once the thread is parked, 1 for handle 0, a finished thread or a failed
 * signal. */
CMNW_API int32_t UTLSuspendThread(UTLHTHREAD thread) CMNW_NOEXCEPT;
/* Undoes one suspension; the thread runs on when none is left. Returns 0
 * (also when the thread was not suspended), 1 for handle 0. */
CMNW_API int32_t UTLResumeThread(UTLHTHREAD thread) CMNW_NOEXCEPT;
/* Closes the handle; the thread itself runs on. Returns 0, 1 for handle 0. */
CMNW_API int32_t UTLCleanupThread(UTLHTHREAD thread) CMNW_NOEXCEPT;

/* Loads a module after mapping its name through UTLGetINISubs. Returns the
 * handle, or 0 after a trace line made from error message 17 (the given name,
 * the mapped name and the loader's reason). */
CMNW_API UTLHMODULE UTLLoadLibrary(const char *name) CMNW_NOEXCEPT;
/* The handle of the module of that (mapped) name if the process has it
 * loaded already, else 0. Loads nothing and takes no reference. */
CMNW_API UTLHMODULE UTLQueryLibrary(const char *name) CMNW_NOEXCEPT;
/* Releases one load of the module. Returns 0. */
CMNW_API int32_t UTLFreeLibrary(UTLHMODULE module) CMNW_NOEXCEPT;
/* Address of the exported function name of module, or 0. */
CMNW_API void *UTLQueryProcAddr(UTLHMODULE module, const char *name) CMNW_NOEXCEPT;
/* Loads module (name mapped) and returns the address of function in it, or
 * 0; the module stays loaded. */
CMNW_API void *UTLGetProcAddr(const char *module, const char *function) CMNW_NOEXCEPT;
/* Resolves a reference "module->function" (at most 271 characters): loads
 * the module, stores its handle in *module and returns the function's
 * address. Without "->", or when loading fails, returns 0 with *module 0;
 * when the function is missing, returns 0 with *module 0 and the module
 * stays loaded. */
CMNW_API void *UTLQueryFunction(const char *reference, UTLHMODULE *module) CMNW_NOEXCEPT;

CMNW_END_DECLS

#endif
