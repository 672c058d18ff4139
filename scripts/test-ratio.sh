#!/usr/bin/env bash
# Prints how large the tests are against the code they test: non-blank lines
# of the C, C++, shell and Python files tracked under tests/ and
# tools/cmnw/tests/, against the same under src/, include/ and tools/cmnw/
# (its tests/ left out), and fails when the tests are above one third of the
# code.
set -euo pipefail
cd "$(dirname "$0")/.."

count() {
    git ls-files -- "$@" | grep -E '\.(c|cc|cpp|h|hpp|sh|py)$' | tr '\n' '\0' |
        xargs -0 -r cat | grep -cv '^[[:space:]]*$' || true
}

tests=$(count tests tools/cmnw/tests)
code=$(( $(count src include tools/cmnw) - $(count tools/cmnw/tests) ))
echo "test code: $tests lines against $code lines of code ($(( tests * 1000 / code / 10 )).$(( tests * 1000 / code % 10 ))%)"
if (( tests * 3 > code )); then
    echo "the tests are above one third of the code" >&2
    exit 1
fi
