#!/usr/bin/env bash
# The clipboard watch on a Wayland desktop (sway, headless): while a native Wayland window has the focus, as the
# user's editor would, a copy still reaches the program on XWayland, through the compositor's data control; and
# --lookup-selection reads the Wayland primary selection the same way. Sway refuses to run as root, so the
# session runs as a user this test creates.
source "$E2E_LIB"
[ "$(id -u)" -eq 0 ] || { echo "skipped: creating the session's user needs root"; exit 0; }
for tool in sway swaymsg wl-copy; do
    command -v "$tool" >/dev/null || fail "$tool is missing: install the packages of scripts/apt-packages.txt"
done
e2e_private_home
user=verbarium-e2e-wayland
id "$user" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$user"
# The session's folders lie inside the test's own, which the user may pass through but not list.
chmod 711 "$E2E_TMP"
home="$E2E_TMP/wayland"
mkdir -p "$home/run" "$home/config/Ostrand" "$home/work"
chmod 700 "$home/run"
ln -s "$VERBARIUM_DATA_DAT" "$home/work/data.dat"
# The watch on, and no auto restore: the native window keeps the focus.
printf '[1.0.0.0]\nCheckClip=Yes\nARA=No\n' >"$home/config/Ostrand/Verbarium.conf"
printf 'xwayland enable\n' >"$home/sway.conf"
chown -R "$user:" "$home"
as_user=(setpriv --reuid="$user" --regid="$user" --clear-groups env -i PATH=/usr/bin:/bin HOME="$home"
         XDG_RUNTIME_DIR="$home/run" XDG_CONFIG_HOME="$home/config" WAYLAND_DISPLAY=wayland-1)

# The session's processes are not this shell's children: they are stopped by their ids, and waited for, before
# the folders go.
session_pids=()
stop_session() {
    local pid end=$((SECONDS + 5))
    for pid in "${session_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${session_pids[@]}"; do
        while kill -0 "$pid" 2>/dev/null && [ $SECONDS -lt $end ]; do sleep 0.1; done
    done
    # Sway's own helpers (XWayland) tidy the runtime folder as they go: the folder is removed once they are done.
    [ -z "${sway_pid:-}" ] || { kill "$sway_pid" 2>/dev/null || true; wait "$sway_pid" 2>/dev/null || true; }
    rm -rf "$home" 2>/dev/null || { sleep 1; rm -rf "$home"; }
}
trap 'stop_session; e2e_cleanup' EXIT

"${as_user[@]}" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    sway -c "$home/sway.conf" >"$E2E_TMP/sway.log" 2>&1 &
sway_pid=$!
end=$((SECONDS + 15))
until [ -S "$home/run/wayland-1" ] && ls "$home"/run/sway-ipc.*.sock >/dev/null 2>&1; do
    [ $SECONDS -lt $end ] || fail "sway did not start: $(cat "$E2E_TMP/sway.log")"
    sleep 0.1
done
sway_ipc=$(ls "$home"/run/sway-ipc.*.sock | head -n1)
swaymsg_user() { "${as_user[@]}" SWAYSOCK="$sway_ipc" swaymsg "$@"; }

# Started by the compositor, the program gets its XWayland display; it reports each entry painted.
swaymsg_user exec "echo \$\$ >$home/app.pid && cd $home/work && VERBARIUM_BENCH_READY=1 exec $VERBARIUM_BIN >$home/app.log 2>&1" >/dev/null
end=$((SECONDS + 30))
until grep -q '^ready$' "$home/app.log" 2>/dev/null; do
    [ $SECONDS -lt $end ] || fail "the program did not paint its first entry: $(cat "$home/app.log" 2>&1)"
    sleep 0.2
done
session_pids+=("$(cat "$home/app.pid")")

swaymsg_user exec "echo \$\$ >$home/window.pid && QT_QPA_PLATFORM=wayland exec $WAYLAND_WINDOW" >/dev/null
focused() { swaymsg_user -t get_tree | python3 -c '
import json, sys
def walk(n):
    if n.get("focused"): print(n.get("shell", "")); return True
    return any(walk(c) for c in n.get("nodes", []) + n.get("floating_nodes", []))
walk(json.load(sys.stdin))'; }
end=$((SECONDS + 15))
until [ "$(focused)" = xdg_shell ]; do
    [ $SECONDS -lt $end ] || fail "the native Wayland window did not take the focus (focused: $(focused))"
    sleep 0.2
done
session_pids+=("$(cat "$home/window.pid")")

"${as_user[@]}" wl-copy --foreground wordbook &
session_pids+=($!)
end=$((SECONDS + 10))
until grep -q '^painted wordbook$' "$home/app.log"; do
    [ $SECONDS -lt $end ] || fail "a copy under a native Wayland window did not reach the search box: $(cat "$home/app.log")"
    sleep 0.1
done
[ "$(focused)" = xdg_shell ] || fail "the copy took the focus from the native window"
echo "ok: a copy made while a native Wayland window has the focus is looked up"

"${as_user[@]}" wl-copy --foreground --primary lexicon &
session_pids+=($!)
end=$((SECONDS + 5))
until [ "$("${as_user[@]}" wl-paste --primary --no-newline 2>/dev/null)" = lexicon ]; do
    [ $SECONDS -lt $end ] || fail "wl-copy did not take the primary selection"
    sleep 0.1
done
"${as_user[@]}" DISPLAY= "$VERBARIUM_BIN" --lookup-selection >"$E2E_TMP/selection.log" 2>&1 \
    || fail "--lookup-selection failed: $(cat "$E2E_TMP/selection.log")"
end=$((SECONDS + 10))
until grep -q '^painted lexicon$' "$home/app.log"; do
    [ $SECONDS -lt $end ] || fail "the Wayland primary selection did not reach the program: $(cat "$home/app.log")"
    sleep 0.1
done
echo "ok: --lookup-selection reads the Wayland primary selection"
