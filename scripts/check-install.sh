#!/usr/bin/env bash
# Installs a build into a temporary prefix and builds a small C program
# against it twice: through pkg-config and through find_package(CMNW32).
set -euo pipefail
build=$1
here=$(dirname "$0")
prefix=$(mktemp -d)
work=$(mktemp -d)
trap 'rm -rf "$prefix" "$work"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
cat > "$work/use.c" <<'C'
#include <cmnw32.h>
#include <stdio.h>
int main(void) {
    const UTLVersionRec *v = UTLLibVersion();
    printf("%s %s\n", v->version, UTLErrorMsg(5));
    return 0;
}
C
bash "$here/build-against.sh" "$prefix" "$work/use.c" "$work"
