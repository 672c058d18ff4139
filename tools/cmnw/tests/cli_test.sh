#!/usr/bin/env bash
# Runs the built cmnw binary: the example fields job against its expected
# output, error reports and exit statuses, and each subcommand's ordinary
# use and one bad input. Usage: cli_test.sh path/to/cmnw tools/cmnw-dir
set -u
cmnw=$1
dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 2
export CMNW32_INI=/nonexistent TZ=UTC
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# check STATUS EXPECTED-STDOUT ARGS...: exit status and standard output.
check() {
    local want_status=$1 want_out=$2; shift 2
    local out status
    out=$("$cmnw" "$@" 2>"$work/stderr")
    status=$?
    [ "$status" = "$want_status" ] || fail "cmnw $* exited $status, expected $want_status"
    [ "$out" = "$want_out" ] || fail "cmnw $*: got '$out', expected '$want_out'"
    if [ "$want_status" != 0 ] && [ ! -s "$work/stderr" ]; then
        fail "cmnw $*: failed without a message"
    fi
}

# fails STATUS ARGS...: each ARGS (split at spaces) exits STATUS with a
# message and no output.
fails() {
    local want_status=$1 args; shift
    for args in "$@"; do check "$want_status" "" $args; done
}

# The example job in both locales, output and reports compared whole.
for locale in USD DEM; do
    "$cmnw" fields --header --locale $locale "$dir/examples/fields.csv" \
        "$dir/examples/records.csv" >out.csv 2>err.txt
    [ $? = 1 ] || fail "fields $locale: exit status should be 1"
    cmp -s out.csv "$dir/tests/expected/records.$locale.csv" || fail "fields $locale: output differs"
    cmp -s err.txt "$dir/tests/expected/records.$locale.err" || fail "fields $locale: reports differ"
done

# JSON reports: each line parses and says what the text report says;
# values as UTF-8 with bad bytes replaced and control characters escaped.
"$cmnw" fields --header --locale USD --errors-format json --errors err.json \
    "$dir/examples/fields.csv" "$dir/examples/records.csv" >/dev/null 2>err.txt
[ $? = 1 ] && [ ! -s err.txt ] || fail "fields --errors: status or standard error"
python3 - err.json "$dir/tests/expected/records.USD.err" <<'PY' || fail "JSON reports"
import json, sys
text = []
for line in open(sys.argv[1], encoding="utf-8"):
    r = json.loads(line)
    assert ("value" in r) == (r["field"] is not None), r
    field = "field %s: " % r["field"] if r["field"] is not None else ""
    text.append("%d:%d: %s%s\n" % (r["line"], r["column"], field, r["message"]))
assert "".join(text) == open(sys.argv[2], encoding="utf-8").read()
PY
printf 't,A\n' >defs.csv
printf 'b\377c\001\n' | "$cmnw" fields --errors-format json defs.csv 2>&1 >/dev/null |
    python3 -c 'import json, sys; assert json.load(sys.stdin)["value"] == "b\ufffdc\x01"' ||
    fail "JSON value of bad UTF-8"

# Any number of jobs gives the same output, reports and status: the example
# job, and a generated file of several blocks with bad values, quoted line
# breaks and short records spread through it.
awk 'BEGIN { for (i = 1; i <= 120000; i++) {
    d = (i % 101 == 0) ? "2/30/2001" : (i % 12 + 1) "/" (i % 28 + 1) "/20" (i % 90 + 10)
    printf "%d,%s,%s", i, d, (i % 997 == 0) ? "maybe" : "y"
    print (i % 1009 == 0) ? "" : (i % 89 == 0) ? ",\"two\nlines\"" : ",text"
    if (i % 1013 == 0) print "" } }' >many.csv
printf 'id,n,ZZZZZZ9\nday,d,1/4\nok,y\nnote,t\n' >defs.csv
for job in "--header $dir/examples/fields.csv $dir/examples/records.csv" "defs.csv many.csv"; do
    "$cmnw" fields --jobs 1 $job >one.out 2>one.err; one=$?
    "$cmnw" fields --jobs 3 $job >three.out 2>three.err; three=$?
    [ $one = $three ] && cmp -s one.out three.out && cmp -s one.err three.err ||
        fail "fields --jobs 3 differs from --jobs 1: $job"
done
[ "$(wc -l <one.err)" -gt 1000 ] || fail "generated job: too few reports"

# Fields: clean input, standard input, CRLF kept, quoting, bad usage.
printf 'amount,n,"ZZ,ZZ9.99"\nday,d,2.4\nok,y\n' >defs.csv
printf '1234.5,24.5.2007,y\r\n-1,1/2/03,N\r\n' >in.csv
check 0 $'" 1,234.50",24.05.2007,Y\r\n    -1.00,01.02.2003,N\r' fields defs.csv in.csv
"$cmnw" fields defs.csv <in.csv >/dev/null 2>&1 || fail "fields from standard input"
printf '12,31.2.2007,maybe\n' | "$cmnw" fields defs.csv >/dev/null 2>err.txt
[ "$(cat err.txt)" = "1:2: field day: not a valid date for DD.MM.YYYY
1:3: field ok: not Yes or No" ] || fail "fields reports: $(cat err.txt)"
printf 'a,Q\n' >bad.csv
fails 2 "fields missing.csv in.csv" "fields defs.csv missing.csv" \
    "fields --locale XYZ defs.csv in.csv" "fields bad.csv in.csv" "fields"

# Dates, times and combined forms.
check 0 $'05/24/2007\n05/24/2007' date validate 5/24/07 -f 1/4 "May 24 2007"
check 0 "Mai 24, 2007" date validate --locale DEM -f 4 "24. Mai 2007"
check 0 "2007-05-24" date convert -f 1/4 -t 3-4 5/24/2007
check 0 "02/29/2008" date add -f 1/4 --days -1 --months 1 2/1/2008
check 0 "12" date diff -f 1/4 --unit months 1/31/2007 1/31/2008
check 0 $'MM/DD/YYYY\nDD MonthName, YYYY' date picture 1/4 J4
check 0 "02:05:09 PM" time validate -f 2: 14:05:09
fails 1 "date validate -f 1/4 2/30/2007" "date convert -f 1/4 -t 3-4 nonsense" \
    "date diff -f 1/4 1/31/2007 never" "time validate -f 1: 25:00"
check 0 "14:05" time convert -f 2: -t 3: "2:05:09 pm"
check 0 "00:00:30" time add -f 1: --seconds 90 23:59:00
check 0 "90" time diff -f 3: --unit minutes 10:00 11:30
check 0 "HH.MM xM" time picture 4.
check 0 "2007-5-24-14.5.9.0" datetime convert -f "1/4% 1:" -t DB2 "05/24/2007 14:05:09"
check 2 "" datetime convert -f S1 -t DB2 x

# Numbers, masks, bar codes.
check 0 "  1.234,50-" num format --locale DEM "ZZZ,ZZ9.99-" -- -1234.5
check 1 "" num format "ZZ9.99" 12345
check 0 "-1234.50" num deformat --locale DEM "1.234,50-"
check 0 "ZZZ.ZZ9,99DMCR" num convert --locale DEM '$ZZZ,ZZ9.99CR'
check 0 "ZZ9.99: valid" num check ZZ9.99
check 0 "123-45-6789" mask apply 3,-,2,- 123456789
check 0 "123456789" mask remove 3,-,2,- 123-45-6789
check 1 "" mask remove 3,-,2,- "123 45 6789"
check 0 "XXX-XX-" mask picture 3,-,2,-
check 0 "ABC-1" barcode check A abc-1
fails 1 "num check 9Z" "barcode check L 123"

# Locales and paper.
"$cmnw" locale show DEM | grep -q "^monthName .*März" || fail "locale show DEM"
[ "$("$cmnw" locale list | wc -l)" = 47 ] || fail "locale list"
"$cmnw" paper list | grep -q "ISO A4" || fail "paper list"
check 0 "0 US Letter" paper closest 11in 8.5in
fails 2 "locale show XYZ" "paper closest tall wide"

# Code pages, EBCDIC, UTF, encodings.
check 0 "SP010000 32" codepage find SP010000
check 0 "65 LA020000 A " codepage find --byte 65
check 1 "" codepage find no-such-character
[ "$("$cmnw" codepage list | wc -l)" = 742 ] || fail "codepage list"
[ "$(printf 'Hello' | "$cmnw" ebcdic to-ebcdic | od -An -tx1 | tr -d ' ')" = c885939396 ] || fail "ebcdic"
[ "$(printf 'Hello' | "$cmnw" ebcdic to-ebcdic | "$cmnw" ebcdic to-ascii)" = Hello ] || fail "ebcdic round trip"
[ "$(printf 'caf\xe9' | "$cmnw" utf to-utf8)" = "café" ] || fail "utf to-utf8"
[ "$(printf 'hé' | "$cmnw" utf to-utf16 | "$cmnw" utf from-utf16)" = "hé" ] || fail "utf16 round trip"
printf 'abc' | "$cmnw" utf from-utf16 >/dev/null 2>&1; [ $? = 1 ] || fail "odd UTF-16 input"
printf 'hello' >h.txt
check 0 "3610a686  23AC41M  h.txt" crc --name h.txt
fails 2 "codepage translate -f 1004 -t 4242" "crc missing.txt"
check 0 "aGVsbG8=" base64 h.txt
[ "$(echo aGVsbG8= | "$cmnw" base64 -d)" = hello ] || fail "base64 -d"
[ "$("$cmnw" text h.txt | "$cmnw" text -d)" = hello ] || fail "text round trip"
echo 9zz | "$cmnw" text -d >/dev/null 2>&1; [ $? = 1 ] || fail "text -d of a bad text"

# Patch records and version resources.
fx=$dir/../../tests/fixtures/version
"$cmnw" verinfo "$fx/verinfo.dll" | grep -q "^fileVersion *11.2.0.222$" || fail "verinfo"
"$cmnw" verinfo "$fx/multilang.dll" | grep -q "^productName *Euro € Trade™ café ? ? end$" || fail "verinfo text as UTF-8"
"$cmnw" verinfo "$fx/noversion.dll" >/dev/null 2>&1; [ $? = 1 ] || fail "verinfo without resource"
printf 'x@@QVS PATCH 11.2:P03:PCR 1:1:x:May 24 2007:15:54:00:\0' >mod.bin
check 0 "mod.bin: QVS PATCH 11.2:P03:PCR 1:1:x:May 24 2007:15:54:00:" patches mod.bin
[ "$("$cmnw" patches --check mod.bin | grep -c 'Not detected')" = 2 ] || fail "patches --check"
"$cmnw" versions "$fx" | grep -q "^release   11.2$" || fail "versions"
fails 2 "verinfo missing.dll" "patches missing.bin" "versions missing-dir"

# Platform services.
check 0 "3: Initialization has already been performed" message 3
[ "$("$cmnw" unique --form hex | tr -d '0-9A-F\n' | wc -c)" = 0 ] || fail "unique hex"
[ "$("$cmnw" unique -n 3 | sort -u | wc -l)" = 3 ] || fail "unique count"
printf '%%PDF-1.4 body' >doc.pdf
check 0 "doc.pdf: 1 PDF" filetype doc.pdf
check 0 "trace" trace "hello from the test"
grep -q "hello from the test" trace || fail "trace line not written"
"$cmnw" version | grep -q '^CMNW32 ' || fail "version"
fails 2 "unique --form nonsense" "filetype missing.pdf" "nonsense-command"
"$cmnw" --help | grep -q "fields" || fail "--help lists the commands"

# Bash completion from the command table: commands, subcommands, options.
"$cmnw" --completion bash >complete.bash || fail "--completion bash"
for words in "fi:fields filetype" "date v:validate" "date validate -:-h --help -f --format -l --locale" "fields --he:--help --header"; do
    got=$(bash -c 'source complete.bash; COMP_WORDS=(cmnw $1); COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
        _cmnw; echo "${COMPREPLY[*]}"' _ "${words%%:*}")
    [ "$got" = "${words#*:}" ] || fail "completion of 'cmnw ${words%%:*}': $got"
done

echo "$failures failures"
[ "$failures" = 0 ]
