#!/usr/bin/env bash
# The way one start finds the running program is the user's own: another local user can neither hand the
# running window a word nor, by taking its name first, keep the user's program from starting.
source "$E2E_LIB"
[ "$(id -u)" -eq 0 ] || { echo "skipped: creating a second user needs root"; exit 0; }
e2e_start_desktop notray
work=$(e2e_workdir)

stranger=verbarium-e2e-stranger
id "$stranger" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$stranger"
name="Verbarium-$(id -u)-${DISPLAY//[^A-Za-z0-9]/_}"
# Python as the stranger; setpriv execs it, so a process started in the background keeps its id.
as_stranger=(setpriv --reuid="$stranger" --regid="$stranger" --clear-groups /usr/bin/python3 -c)

e2e_open_main_window "$work"
win=$E2E_WIN
answer=$("${as_stranger[@]}" "
import socket
s = socket.socket(socket.AF_UNIX)
s.settimeout(3)
s.connect('\0$name')
try:
    s.sendall(b'lookup stranger\n')
    print(s.recv(16) or 'closed')
except (ConnectionResetError, BrokenPipeError):
    print('closed')
except socket.timeout:
    print('no answer')
")
[ "$answer" = closed ] || fail "the stranger's request got \"$answer\" instead of a closed connection"
typed=$(read_search_box)
[ -z "$typed" ] || fail "the stranger's word reached the search box: \"$typed\""
wmctrl -c Verbarium
e2e_wait_exit 10 || fail "closing the window did not end the program"
echo "ok: another user's request is refused and changes nothing"

# The stranger takes the name before the user's program starts.
"${as_stranger[@]}" "
import socket, time
s = socket.socket(socket.AF_UNIX)
s.bind('\0$name')
s.listen()
time.sleep(60)
" &
E2E_PIDS+=($!)
end=$((SECONDS + 10))
until grep -q "@$name\$" /proc/net/unix; do [ $SECONDS -lt $end ] || fail "the stranger did not take the name"; sleep 0.1; done

e2e_open_main_window "$work"
first=$E2E_APP_PID
grep -q "Another user holds the name" "$E2E_TMP/app.log" || fail "nothing said about the stranger: $(cat "$E2E_TMP/app.log")"
[ -S "$XDG_RUNTIME_DIR/verbarium/$name" ] || fail "no private socket in $XDG_RUNTIME_DIR/verbarium"
[ "$(stat -c %a "$XDG_RUNTIME_DIR/verbarium")" = 700 ] || fail "the private folder is open to others"
# A second start of the user's finds the first over the private socket and hands over.
(cd "$work" && exec "$VERBARIUM_BIN") >"$E2E_TMP/second.log" 2>&1 || fail "the second start failed: $(cat "$E2E_TMP/second.log")"
kill -0 "$first" 2>/dev/null || fail "the first program ended"
sleep 0.5
[ "$(e2e_visible_count Verbarium)" -eq 1 ] || fail "$(e2e_visible_count Verbarium) windows after the second start"
e2e_screenshot private-channel
wmctrl -c Verbarium
e2e_wait_exit 10 || fail "closing the window did not end the program"
[ "$E2E_STATUS" -eq 0 ] || fail "the program ended with status $E2E_STATUS"
[ ! -e "$XDG_RUNTIME_DIR/verbarium/$name" ] || fail "the private socket was left behind"
echo "ok: another user's listener on the name does not stop the start; one window, exit 0"
