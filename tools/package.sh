#!/usr/bin/env bash
# Makes the Debian package sekreta_VERSION_ARCH.deb from a release build (building what is
# missing first) and prints its path. It installs with `apt install ./sekreta_*.deb`.
#
#   tools/package.sh [BUILD_FOLDER]      (default: build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/release}")
tools/install-packages.sh package

cache=$build/CMakeCache.txt
setting() { sed -n "s/^$1:[A-Z]*=//p" "$cache" 2>/dev/null; }
if [ "$(setting CMAKE_BUILD_TYPE)" != Release ] || [ "$(setting SEKRETA_SANITIZE)" = ON ] \
  || [ "$(setting SEKRETA_DESKTOP)" = OFF ]; then
  echo "package: $build is not a release build with the desktop program; make one with" >&2
  echo "  cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release" >&2
  exit 1
fi
# The build first, which also brings CPack's settings up to date; CPack then installs it into
# its own staging folder.
cmake --build "$build" >&2
(cd "$build" && cpack -G DEB) >&2
echo "$build/sekreta_$(setting CMAKE_PROJECT_VERSION)_$(dpkg --print-architecture).deb"
