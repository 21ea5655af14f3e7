#!/usr/bin/env bash
# Configures and builds Verbarium and its dictionary into ./build (or $VERBARIUM_BUILD_DIR).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VERBARIUM_BUILD_DIR:-$root/build}
werror=OFF
if [ -n "${CI:-}" ]; then werror=ON; fi
echo "== Configuring in $build"
mkdir -p "$build"
# Line tables (-g1) are enough for backtraces and compile a quarter faster than full debug information.
cmake -S "$root" -B "$build" -G Ninja -DVERBARIUM_WERROR=$werror -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" \
    "$@" > "$build/configure.log" 2>&1 || {
    cat "$build/configure.log"; echo "Configuring failed: see the messages above." >&2; exit 1; }
echo "== Building (the program, its tests and the WordNet dictionary)"
cmake --build "$build" -j"$(nproc)"
