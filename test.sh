#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine, builds, and runs the whole test suite.
#   KC_SANITIZE=1 ./test.sh   builds and runs with AddressSanitizer + UBSan (folder build-asan)
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh

build=build
extra=()
if [ "${KC_SANITIZE:-0}" = 1 ]; then
  build=build-asan
  extra+=(-DKC_SANITIZE=ON)
  # Reaches the tests and every program they start.
  export LSAN_OPTIONS="suppressions=$(pwd)/tests/sanitizers/lsan.supp:print_suppressions=0"
fi

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${extra[@]}"
cmake --build "$build" -j2
cd "$build"
ctest --output-on-failure -j2 --timeout 600
