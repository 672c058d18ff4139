#!/usr/bin/env bash
# Fails when the shared library's exported symbols differ from the ABI lists.
set -euo pipefail
lib=$1
expected=$2
actual=$(nm -D --defined-only "$lib" | awk '{print $3}' | sed 's/@.*//' | { grep -v '^CMNW32_1$' || true; } | sort -u)
want=$({ grep -v '^\s*$' "$expected" || true; } | sort -u)
if [ "$actual" != "$want" ]; then
  echo "exported symbols differ from abi/*.txt:"
  diff <(echo "$want") <(echo "$actual") || true
  exit 1
fi
echo "exports match: $(echo "$want" | grep -c . || true) symbols"
