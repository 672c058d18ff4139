#!/usr/bin/env bash
# Builds the Debian packages of a build folder and checks them without
# installing them: each is unpacked with dpkg -x into a throw-away folder,
# the files they hold together must be exactly what cmake --install
# installs, the README's C example is built against the unpacked files
# through pkg-config and CMake and run, the unpacked cmnw reports its
# version, and lintian finds no errors. Usage: check-packages.sh BUILD
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

rm -f "$build"/*.deb
if ! out=$(cmake --build "$build" --target package 2>&1); then echo "$out"; exit 1; fi
debs=()
for name in libcmnw32-1 libcmnw32-dev cmnw; do
  deb=$(ls "$build/${name}_"*.deb)
  debs+=("$deb")
  dpkg -x "$deb" "$work/root"
  dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {sub(/^\.\/usr\//, "", $6); print $6}' >>"$work/packaged"
done

cmake --install "$build" --prefix "$work/inst" >/dev/null
sed "s|^$work/inst/||" "$build/install_manifest.txt" | sort >"$work/installed"
sort -o "$work/packaged" "$work/packaged"
if ! cmp -s "$work/installed" "$work/packaged"; then
  echo "packages and cmake --install differ (< installed only, > packaged only):"
  diff "$work/installed" "$work/packaged" || true
  exit 1
fi
echo "packages hold the $(wc -l <"$work/installed") installed files"

awk '/^```c/ {on = 1; next} /^```/ {if (on) exit} on' "$here/../README.md" >"$work/hello.c"
[ -s "$work/hello.c" ] || { echo "no C example in README.md"; exit 1; }
mkdir "$work/use"
bash "$here/build-against.sh" "$work/root/usr" "$work/hello.c" "$work/use"
LD_LIBRARY_PATH="$work/root/usr/lib" "$work/root/usr/bin/cmnw" --version

status=0
lintian --fail-on error "${debs[@]}" >"$work/lintian" 2>&1 || status=$?
grep -v 'running with root privileges' "$work/lintian" || true
[ "$status" = 0 ] || { echo "lintian reports errors"; exit 1; }
