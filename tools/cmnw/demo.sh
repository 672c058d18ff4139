#!/usr/bin/env bash
# A short tour of the cmnw tool. Usage: demo.sh path/to/cmnw
set -euo pipefail
cmnw=$1
run() { echo "\$ cmnw $*"; "$cmnw" "$@"; echo; }
run version
run message 5 17 19 32
