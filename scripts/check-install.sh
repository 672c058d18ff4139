#!/usr/bin/env bash
# Installs a build into a temporary prefix and builds a small C program
# against it twice: through pkg-config and through find_package(CMNW32).
set -euo pipefail
build=$1
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
export PKG_CONFIG_PATH="$prefix/lib/pkgconfig:$prefix/lib/x86_64-linux-gnu/pkgconfig"
cc -std=c11 -Wall -Werror "$work/use.c" -o "$work/use-pc" $(pkg-config --cflags --libs cmnw32)
LD_LIBRARY_PATH="$prefix/lib:$prefix/lib/x86_64-linux-gnu" "$work/use-pc"
mkdir -p "$work/cm"
cat > "$work/cm/CMakeLists.txt" <<'CM'
cmake_minimum_required(VERSION 3.25)
project(use C)
find_package(CMNW32 REQUIRED)
add_executable(use ../use.c)
target_link_libraries(use PRIVATE CMNW32::cmnw32)
CM
cmake -S "$work/cm" -B "$work/cm/build" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/cm/build" >/dev/null
"$work/cm/build/use"
