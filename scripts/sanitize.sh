#!/usr/bin/env bash
# Builds Verbarium with AddressSanitizer and UndefinedBehaviorSanitizer into ./build-asan and runs the unit
# and widget tests there, then the end-to-end tests that drive the real program (start, settings, typing,
# following words, speech, clipboard, mail, tray) on the dictionary of the normal build in ./build. Qt and fontconfig keep caches
# for the life of the process, so leak reports are switched off; every other finding fails the run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VERBARIUM_ASAN_DIR:-$root/build-asan}
dictionary=${VERBARIUM_BUILD_DIR:-$root/build}/data/data.dat
werror=OFF
if [ -n "${CI:-}" ]; then werror=ON; fi
echo "== Configuring the sanitizer build in $build"
mkdir -p "$build"
# Line tables are enough for the reports and build faster than full debug information.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DVERBARIUM_SANITIZE=ON -DVERBARIUM_WERROR=$werror \
    -DVERBARIUM_BUILD_DICTIONARY=OFF -DVERBARIUM_BUILD_BENCH=OFF -DVERBARIUM_PREBUILT_DICTIONARY="$dictionary" \
    >"$build/configure.log" 2>&1 || { cat "$build/configure.log"; echo "Configuring failed: see above." >&2; exit 1; }
echo "== Building with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --build "$build" -j"$(nproc)"
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1
echo "== Unit and widget tests under the sanitizers"
ctest --test-dir "$build" -LE e2e --output-on-failure "$@"
if [ -f "$dictionary" ]; then
    echo "== The real program under the sanitizers"
    ctest --test-dir "$build" -R '^e2e_test_(startup|settings|clipboard|mail|lookup|tray|hostile_files)$' --output-on-failure "$@"
else
    echo "No dictionary at $dictionary (build ./build first): the end-to-end part is left out." >&2
fi
