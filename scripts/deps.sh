#!/usr/bin/env bash
# Installs every package the build, the tests, the benchmarks and the fuzz
# targets need, from Debian's archive. Safe to run again.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config git
  libicu-dev libdeflate-dev uuid-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  zlib1g-dev libssl-dev libmagic-dev libcli11-dev
  clang libclang-rt-14-dev llvm
  gcovr doxygen
  tzdata
  dpkg-dev fakeroot file lintian python3
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
