#!/usr/bin/env bash
# Installs the dependencies, builds the library and the cmnw tool, and runs
# the tool's demonstration.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMNW_TESTS=OFF -DCMNW_BENCH=OFF >/dev/null
cmake --build build/release
bash tools/cmnw/demo.sh build/release/tools/cmnw/cmnw
