#!/usr/bin/env bash
# Installs the dependencies, checks the source layout, then builds and runs
# every test: the normal build (with a check that it holds no fault switch;
# then prints the size of the tests against the code), the same tests under
# AddressSanitizer and UndefinedBehaviorSanitizer with the fault switch on
# (the loops that fail every allocation and system call of an operation in
# turn), the C11 header check, the export check, an install used from C through
# pkg-config and CMake, the Debian packages unpacked and used the same way,
# the concurrency tests and the cmnw fields job on two threads under
# ThreadSanitizer, and a short run of every fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
jobs=$(nproc)
export CTEST_OUTPUT_ON_FAILURE=1

echo "== source layout: the system seam and the families' front doors"
bash scripts/check-layout.sh

echo "== build and test (warnings are errors)"
cmake -S . -B build/ci -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMNW_FAULTS=OFF >/dev/null
cmake --build build/ci -j "$jobs"
ctest --test-dir build/ci -j "$jobs" --timeout 300
bash scripts/test-ratio.sh

echo "== install and use from C"
bash scripts/check-install.sh build/ci

echo "== Debian packages: contents, use from C, lintian"
bash scripts/check-packages.sh build/ci

echo "== build and test under ASan+UBSan"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMNW_SANITIZE=ON -DCMNW_FAULTS=ON \
  -DCMNW_BENCH=OFF >/dev/null
cmake --build build/asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build/asan -j "$jobs" --timeout 600

echo "== concurrency tests under ThreadSanitizer"
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMNW_TSAN=ON -DCMNW_BENCH=OFF \
  >/dev/null
cmake --build build/tsan -j "$jobs" --target cmnw32_tests cmnw
TSAN_OPTIONS=halt_on_error=1 ctest --test-dir build/tsan -j "$jobs" --timeout 600 -R '^Concurrency\.'
bash scripts/check-fields-jobs.sh build/tsan/tools/cmnw/cmnw

echo "== fuzz smoke"
bash scripts/fuzz-smoke.sh
