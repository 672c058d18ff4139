#!/usr/bin/env bash
# Builds a C program against the library installed (or unpacked) under
# PREFIX twice, through pkg-config and through find_package(CMNW32), and
# runs both builds in WORKDIR. Usage: build-against.sh PREFIX PROGRAM.c WORKDIR
set -euo pipefail
prefix=$1
source=$(realpath "$2")
work=$3
libdirs="$prefix/lib:$prefix/lib/x86_64-linux-gnu"
cd "$work"
export PKG_CONFIG_PATH="$prefix/lib/pkgconfig:$prefix/lib/x86_64-linux-gnu/pkgconfig"
cc -std=c11 -Wall -Werror "$source" -o use-pc $(pkg-config --cflags --libs cmnw32)
LD_LIBRARY_PATH=$libdirs ./use-pc
mkdir -p cm
cat > cm/CMakeLists.txt <<CM
cmake_minimum_required(VERSION 3.25)
project(use C)
find_package(CMNW32 REQUIRED)
add_executable(use "$source")
target_link_libraries(use PRIVATE CMNW32::cmnw32)
CM
cmake -S cm -B cm/build -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build cm/build >/dev/null
LD_LIBRARY_PATH=$libdirs cm/build/use
