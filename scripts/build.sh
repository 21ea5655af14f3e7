#!/usr/bin/env bash
# Configures and builds Verbarium and its dictionary into ./build (or $VERBARIUM_BUILD_DIR).
# Usage: scripts/build.sh [--program] [cmake options...]
#   --program   only what running the program needs: the program, the dictionary builder, the dictionary
#               and the help (setup.sh); without it everything, tests and benchmarks too (test.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VERBARIUM_BUILD_DIR:-$root/build}
targets=()
what="the program, its tests and the WordNet dictionary"
if [ "${1:-}" = "--program" ]; then
    shift
    targets=(--target verbarium verbarium-command verbarium-define verbarium-mkdict dictionary)
    what="the program and the WordNet dictionary"
fi
werror=OFF
if [ -n "${CI:-}" ]; then werror=ON; fi
echo "== Configuring in $build"
mkdir -p "$build"
# Line tables (-g1) are enough for backtraces and compile a quarter faster than full debug information.
cmake -S "$root" -B "$build" -G Ninja -DVERBARIUM_WERROR=$werror -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" \
    "$@" > "$build/configure.log" 2>&1 || {
    cat "$build/configure.log"; echo "Configuring failed: see the messages above." >&2; exit 1; }
echo "== Building $what on $(nproc) cores (the [done/total] count shows how far it is)"
start=$SECONDS
cmake --build "$build" -j"$(nproc)" "${targets[@]}"
echo "== Built in $(((SECONDS - start) / 60)) min $(((SECONDS - start) % 60)) s"
