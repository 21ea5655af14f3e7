#!/usr/bin/env bash
# Builds Verbarium with AddressSanitizer and UndefinedBehaviorSanitizer into ./build-asan and runs the
# unit and widget tests there. Qt and fontconfig keep caches for the life of the process, so leak
# reports are switched off; every other finding fails the run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VERBARIUM_ASAN_DIR:-$root/build-asan}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVERBARIUM_SANITIZE=ON -DVERBARIUM_BUILD_DICTIONARY=OFF
cmake --build "$build" -j"$(nproc)"
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir "$build" -LE e2e --output-on-failure "$@"
