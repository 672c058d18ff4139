#!/bin/sh
# check_readme.sh README FILE...: each FILE (examples/NAME.c) must appear in
# README as a ```c block whose first line is "/* examples/NAME.c ...", byte
# for byte.
readme=$1
shift
status=0
for file in "$@"; do
    name=examples/$(basename "$file")
    block=$(awk -v name="$name" '
        /^```c$/ { grab = 1; first = 1; next }
        /^```$/ { if (found) exit; grab = 0; next }
        grab && first { first = 0; if (index($0, "/* " name) != 1) { grab = 0; next } found = 1 }
        grab && found { print }' "$readme")
    if [ -z "$block" ]; then
        echo "README has no block for $name"
        status=1
    elif [ "$block" != "$(cat "$file")" ]; then
        echo "README's $name differs from the file:"
        printf '%s\n' "$block" | diff - "$file"
        status=1
    fi
done
exit $status
