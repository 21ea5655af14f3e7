#!/usr/bin/env bash
# Installs what Verbarium needs, builds it with its dictionary, and starts it.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/scripts/install-deps.sh"
# Only what runs: the tests and benchmarks are built by ./test.sh.
"$root/scripts/build.sh" --program
build=${VERBARIUM_BUILD_DIR:-$root/build}
echo "== Starting Verbarium"
# The program opens data.dat from its working folder.
cd "$build/data"
exec "$build/src/app/verbarium" "$@"
