#!/usr/bin/env bash
# Builds every fuzz target with clang, replays its corpus (fuzz/corpus/<target>/)
# and then mutates from it for a fixed number of runs with a fixed seed, so the
# same tree explores the same inputs on every machine; the time limit only
# caps a slow machine. Usage: fuzz-smoke.sh [runs-per-target] [seconds-cap]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-100000}
seconds=${2:-15}
if ! ls fuzz/*_fuzz.cpp >/dev/null 2>&1; then echo "no fuzz targets"; exit 0; fi
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMNW_FUZZ=ON -DCMNW_TESTS=OFF -DCMNW_BENCH=OFF -DCMNW_TOOL=OFF >/dev/null
cmake --build build/fuzz -j "$(nproc)"
for src in fuzz/*_fuzz.cpp; do
  name=$(basename "$src" .cpp)
  corpus=fuzz/corpus/$name
  mkdir -p "$corpus"
  work=$(mktemp -d)
  echo "-- $name"
  if ! ASAN_OPTIONS=detect_leaks=1 build/fuzz/$name -seed=1 -runs="$runs" \
      -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      "$work" "$corpus" >"$work.log" 2>&1; then
    tail -n 60 "$work.log"
    echo "fuzz target $name failed"
    exit 1
  fi
  grep -E 'stat::number_of_executed_units' "$work.log" || true
  rm -rf "$work" "$work.log"
done
