#!/usr/bin/env bash
# Builds the Debian package (kestral-config_<version>_<arch>.deb) into the current folder, from a
# build folder of its own without the test suite (build-deb/ beside build/, or $KC_PACKAGE_BUILD_DIR).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(pwd)
build=${KC_PACKAGE_BUILD_DIR:-$root/build-deb}

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKC_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target kestral-config kc_icons

staging=$(mktemp -d "$build/package.XXXXXX")
trap 'rm -rf "$staging"' EXIT
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$staging" >/dev/null
for deb in "$staging"/*.deb; do
    mv -f "$deb" "$out/"
    echo "$out/$(basename "$deb")"
done
