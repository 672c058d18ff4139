#!/usr/bin/env bash
# A short tour of the cmnw tool. Usage: demo.sh path/to/cmnw
set -uo pipefail
cmnw=$1
here=$(cd "$(dirname "$0")" && pwd)
defs=$here/examples/fields.csv
records=$here/examples/records.csv
run() { echo "\$ cmnw $*"; "$cmnw" "$@"; echo "(exit status $?)"; echo; }

echo "== The fields job: ${records##*/} checked against ${defs##*/}, in two locales"
for locale in USD DEM; do
    echo "\$ cmnw fields --header --locale $locale fields.csv records.csv"
    "$cmnw" fields --header --locale "$locale" "$defs" "$records" >/tmp/cmnw-demo.$$.out \
        2>/tmp/cmnw-demo.$$.err
    status=$?
    echo "-- the first records of the output:"
    head -n 6 /tmp/cmnw-demo.$$.out
    echo "-- $(wc -l </tmp/cmnw-demo.$$.err) values reported; the first ones:"
    head -n 8 /tmp/cmnw-demo.$$.err
    echo "(exit status $status)"
    echo
done
rm -f /tmp/cmnw-demo.$$.out /tmp/cmnw-demo.$$.err

echo "== A few of the other services"
run date validate --locale DEM --format 4 "24. Mai 2007" "5/24/2007"
run date picture 1/4 J4
run version
