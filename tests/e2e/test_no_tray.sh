#!/usr/bin/env bash
# A desktop with no notification area at all (a bare window manager, stock GNOME): the program never strands
# itself. Closing ends it as "E&xit" does, minimising keeps its taskbar entry, "/m" starts minimised to it.
source "$E2E_LIB"
e2e_start_desktop notray
work=$(e2e_workdir)
conf="$XDG_CONFIG_HOME/Ostrand/Verbarium.conf"

e2e_start_app "$work"
win=$(e2e_wait_window Verbarium 20) || fail "the main window did not map"
sleep 0.5
xdotool windowminimize "$win"
end=$((SECONDS + 5))
until e2e_iconified "$win"; do [ $SECONDS -lt $end ] || fail "the minimised window is not iconified"; sleep 0.1; done
[ "$(e2e_listed_window 2)" = "$(printf '0x%08x' "$win")" ] || fail "the minimised window left the taskbar: $(wmctrl -lp)"
e2e_alive || fail "minimising ended the program"
echo "ok: minimising iconifies the window and keeps its taskbar entry"

wmctrl -i -a "$win"
e2e_wait_window Verbarium 5 >/dev/null || fail "the iconified window did not come back"
menu o Return   # "&Options": Always on Top, off as shipped, now on
wmctrl -c Verbarium
e2e_wait_exit 10 || fail "closing the window did not end the program"
[ "$E2E_STATUS" -eq 0 ] || fail "closing ended with status $E2E_STATUS"
grep -qx 'AoT=Yes' "$conf" || fail "closing did not save the settings: $(cat "$conf" 2>&1)"
[ "$(grep -c '=' "$conf")" -eq 10 ] || fail "closing saved not all ten values: $(cat "$conf")"
echo "ok: closing ends with status 0 and saves the settings"

e2e_start_app "$work" /m
win=$(e2e_listed_window 20) || fail "a start with /m left no taskbar entry"
sleep 0.5
e2e_iconified "$win" || fail "a start with /m is not iconified: $(xprop -id "$win" _NET_WM_STATE)"
e2e_screenshot no-tray-start-hidden
wmctrl -i -c "$win"
e2e_wait_exit 10 || fail "the window started with /m could not be closed"
[ "$E2E_STATUS" -eq 0 ] || fail "closing ended with status $E2E_STATUS"
echo "ok: /m starts iconified in the taskbar, and closing it ends the program"
