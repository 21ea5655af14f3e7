#!/usr/bin/env bash
# Builds Verbarium and runs the whole test suite: unit, widget and end-to-end tests; then builds it again with
# AddressSanitizer and UndefinedBehaviorSanitizer and runs the unit, widget and most end-to-end tests there.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
build=${VERBARIUM_BUILD_DIR:-$root/build}
start=$SECONDS
"$root/scripts/build.sh" -DBUILD_TESTING=ON
echo "== Running the tests"
ctest --test-dir "$build" --output-on-failure --timeout 300 "$@"
VERBARIUM_BUILD_DIR="$build" "$root/scripts/sanitize.sh" --timeout 300 "$@"
echo "== All tests passed in $(((SECONDS - start) / 60)) min $(((SECONDS - start) % 60)) s"
