#!/usr/bin/env bash
# Times reading the program's whole accessibility tree once through AT-SPI, as a screen reader's first look
# at the window does (the word list's rows as far as they are shown). Median of 10 rounds; budget 2 s.
# Usage: bench_accessibility.sh BUILD_FOLDER   (runs its own Xvfb, session bus and accessibility bus)
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
driver="$here/../../tests/e2e/helpers/atspi_driver.py"
if [ -z "${BENCH_ACCESSIBILITY_INSIDE:-}" ]; then
    export BENCH_ACCESSIBILITY_INSIDE=1
    exec xvfb-run -a -s "-screen 0 1280x800x24" dbus-run-session -- "$0" "$@"
fi

tmp=$(mktemp -d /tmp/verbarium-bench-a11y.XXXXXX)
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT
export HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/.config" XDG_RUNTIME_DIR="$tmp/run"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" "$tmp/work"
chmod 700 "$XDG_RUNTIME_DIR"
ln -s "$build/data/data.dat" "$tmp/work/data.dat"

/usr/libexec/at-spi-bus-launcher --launch-immediately >"$tmp/at-spi.log" 2>&1 &
pids+=($!)
openbox >"$tmp/openbox.log" 2>&1 &
pids+=($!)
(cd "$tmp/work" && QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 exec "$build/src/app/verbarium") >"$tmp/app.log" 2>&1 &
app=$!
pids+=("$app")
/usr/bin/python3 "$driver" "$app" wait
/usr/bin/python3 "$driver" "$app" walk 10 | sed -n 's/^objects /objects read per round: /p; s/^median \(.*\)/whole tree read once: \1 median (budget 2 s)/p'
