#!/usr/bin/env bash
# Runs the cmnw fields example job, its records repeated to many blocks, on
# two threads (under ThreadSanitizer when the tool was built with it) and
# compares output, reports and exit status with one thread.
# Usage: check-fields-jobs.sh path/to/cmnw
set -euo pipefail
cmnw=$1
examples=$(dirname "$0")/../tools/cmnw/examples
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
head -n 1 "$examples/records.csv" >"$work/records.csv"
for _ in $(seq 300); do tail -n +2 "$examples/records.csv"; done >>"$work/records.csv"
for jobs in 1 2; do
  status=0
  TSAN_OPTIONS=halt_on_error=1 "$cmnw" fields -q --jobs $jobs --header --locale DEM \
    "$examples/fields.csv" "$work/records.csv" >"$work/out$jobs" 2>"$work/err$jobs" || status=$?
  [ "$status" = 1 ] || { echo "fields --jobs $jobs exited $status"; tail -n 30 "$work/err$jobs"; exit 1; }
done
cmp "$work/out1" "$work/out2" && cmp "$work/err1" "$work/err2"
echo "fields --jobs 2: $(wc -l <"$work/records.csv") records, the same as --jobs 1"
