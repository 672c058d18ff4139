#!/usr/bin/env bash
# Fails when the source tree leaves its layout:
# - a file under src/ other than the operating-system seam (src/common/os.h,
#   src/common/os.cpp) and the test builds' fault switch beneath it
#   (src/common/fault.cpp, src/common/fault_new.cpp) calls a file, lock,
#   shared-memory or module function of the system directly;
# - a family under src/ includes an internal header of another family other
#   than that family's front door, src/<family>/<family>.h (src/common/ and
#   the public headers are free to use).
set -euo pipefail
cd "$(dirname "$0")/.."
status=0

calls='open|openat|creat|read|pread|pread64|readv|write|pwrite|pwrite64|writev|fsync|fdatasync|rename|renameat|renameat2|unlink|unlinkat|ftruncate|truncate|close|fcntl|flock|lockf|fstat|fstatat|stat|lstat|access|faccessat|fchmod|chmod|mkdir|mkdirat|rmdir|mkstemp|mkostemp|lseek|getcwd|opendir|fdopendir|readdir|closedir|fdopen|shm_open|shm_unlink|mmap|munmap|dlopen|dlclose|dlsym|dlerror'
# Comments are dropped first; a call is the bare name (or ::name) followed by
# "(", not a member, not a longer identifier, not a qualified name.
found=$(grep -rnE --include='*.cpp' --include='*.h' "(^|[^A-Za-z0-9_.>:])(::)?($calls)[[:space:]]*\(" src |
  grep -vE '^src/common/(os|fault|fault_new)\.(h|cpp):' |
  awk -F: '{ line = $0; sub(/^[^:]*:[0-9]+:/, "", line); sub(/\/\/.*$/, "", line);
             if (line ~ /(^|[^A-Za-z0-9_.>:])(::)?('"$calls"')[[:space:]]*\(/) print }' || true)
if [ -n "$found" ]; then
  echo "system calls outside the seam (use common/os.h):"
  echo "$found"
  status=1
fi

# An internal include "fam/name.h" from a file of another family must be
# that family's front door, "fam/fam.h".
doors=$(grep -rnE --include='*.cpp' --include='*.h' '^[[:space:]]*#[[:space:]]*include[[:space:]]+"[a-z_]+/[^"]+"' src |
  awk -F: '{ split($1, from, "/"); match($0, /"[^"]+"/); inc = substr($0, RSTART + 1, RLENGTH - 2);
             split(inc, to, "/"); fam = to[1];
             if (fam != from[2] && fam != "common" && fam != "cmnw32" && inc != fam "/" fam ".h") print }')
if [ -n "$doors" ]; then
  echo "includes past another family's front door (src/<family>/<family>.h):"
  echo "$doors"
  status=1
fi

if [ "$status" -eq 0 ]; then echo "layout ok"; fi
exit "$status"
