#!/usr/bin/env bash
# Regenerates the committed default installation under modules/ (settings, gun presets, languages,
# tray icon). Run from anywhere; review the diff and commit the output.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(mktemp -d)
trap 'rm -rf "$build"' EXIT

cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 >/dev/null
"$build/installation-writer" "$root/modules"
"$here/make-logo.sh" "$root/modules/img/logo.ico"
touch "$root/modules/macro/.gitkeep"
