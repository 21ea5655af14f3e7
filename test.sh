#!/usr/bin/env bash
# Builds Verbarium and runs the whole test suite: unit, widget and end-to-end tests.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
build=${VERBARIUM_BUILD_DIR:-$root/build}
"$root/scripts/build.sh"
echo "== Running the tests"
ctest --test-dir "$build" --output-on-failure --timeout 300 "$@"
