#!/usr/bin/env bash
# Makes dist/screenshots/main-window.png, the picture in the README and the AppStream file: the program under Xvfb
# and openbox, looking up "serendipity". Run it again whenever the window changes.
# Usage: scripts/screenshot.sh [build folder]   (default: ./build, built with scripts/build.sh)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
out="$root/dist/screenshots/main-window.png"
[ -x "$build/src/app/verbarium" ] && [ -f "$build/data/data.dat" ] \
    || { echo "No program or dictionary in $build: build first (scripts/build.sh)." >&2; exit 1; }
for tool in Xvfb openbox xdotool import convert; do
    command -v "$tool" >/dev/null || { echo "$tool is missing: install the packages of scripts/apt-packages.txt." >&2; exit 1; }
done

tmp=$(mktemp -d)
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT

# A first start of its own: no settings, no session bus, the shipped defaults.
export HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/.config" XDG_RUNTIME_DIR="$tmp/run"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM SESSION_MANAGER
export DBUS_SESSION_BUS_ADDRESS="unix:path=$XDG_RUNTIME_DIR/no-session-bus"

echo "== Starting Xvfb and openbox"
exec 5>"$tmp/display"
Xvfb -displayfd 5 -screen 0 1024x700x24 -nolisten tcp >"$tmp/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.05; done
export DISPLAY=":$(head -n1 "$tmp/display")"
openbox >"$tmp/openbox.log" 2>&1 &
pids+=($!)
sleep 0.5

echo "== Starting Verbarium and looking up \"serendipity\""
(cd "$build/data" && exec "$build/src/app/verbarium") >"$tmp/app.log" 2>&1 &
pids+=($!)
win=""
for _ in $(seq 150); do
    win=$(xdotool search --onlyvisible --name '^Verbarium$' 2>/dev/null | head -n1 || true)
    [ -n "$win" ] && break
    sleep 0.1
done
[ -n "$win" ] || { cat "$tmp/app.log" >&2; echo "The main window did not appear." >&2; exit 1; }
xdotool windowactivate --sync "$win" 2>/dev/null || true
xdotool windowmove --sync "$win" 40 40 2>/dev/null || true
sleep 0.5
xdotool type --delay 40 serendipity
# The pronunciation comes after the spelling dictionary has loaded.
sleep 2

echo "== Writing $out"
mkdir -p "$(dirname "$out")"
# The window with its frame, in 256 colours: the text stays sharp and the file stays small.
import -frame -window "$win" "$tmp/shot.png"
convert "$tmp/shot.png" -strip -colors 256 -define png:compression-level=9 "PNG8:$out"
echo "$(du -k "$out" | cut -f1) KB: look at it before committing."
