#!/usr/bin/env bash
# The program in the notification area: the icon, closing and minimising to it, a double click to
# come back, the tray menu with its Exit, and a start hidden with "/m".
source "$E2E_LIB"
e2e_start_desktop
work=$(e2e_workdir)

wait_no_tray_icon() {
    local end=$((SECONDS + ${1:-5}))
    while [ $SECONDS -lt $end ]; do
        e2e_tray_icon >/dev/null || return 0
        sleep 0.1
    done
    return 1
}

# A popup of the program that is neither the main window nor the icon: the open tray menu.
wait_popup() {
    local end=$((SECONDS + 5)) w
    while [ $SECONDS -lt $end ]; do
        for w in $(xdotool search --onlyvisible --class '^verbarium$' 2>/dev/null); do
            [ "$w" = "$icon" ] || [ "$w" = "$win" ] && continue
            echo "$w"
            return 0
        done
        sleep 0.1
    done
    return 1
}

double_click_icon() {
    xdotool mousemove --window "$icon" 11 11 click --repeat 2 --delay 80 1
}

# --- a normal start: the icon comes with the window ---
e2e_start_app "$work"
if ! win=$(e2e_wait_window Verbarium 20); then
    e2e_alive || fail "the program ended without a window (handed over to an instance on another display?)"
    fail "the main window did not map"
fi
icon=$(e2e_wait_tray_icon 10) || fail "no icon of the program in the tray"
eval "$(xdotool getwindowgeometry --shell "$icon")"
# The icon shows a picture, not an empty square.
spread=$(import -window root -crop "22x22+$X+$Y" +repage png:- | convert png:- -format '%[fx:standard_deviation]' info:)
awk -v s="$spread" 'BEGIN { exit !(s > 0.01) }' || fail "the tray icon is blank (spread $spread)"
echo "ok: the icon is in the tray at $X,$Y"

# Closing unmaps the window; the program and its icon stay.
wmctrl -c Verbarium
e2e_wait_no_window Verbarium 5 || fail "the window is still mapped after closing"
sleep 0.3
e2e_alive || fail "closing the window ended the program"
[ "$(e2e_tray_icon)" = "$icon" ] || fail "the tray icon went away with the window"
echo "ok: closing hides to the tray"

double_click_icon
win=$(e2e_wait_window Verbarium 5) || fail "a double click on the icon did not bring the window back"
sleep 0.3
[ "$(xdotool getactivewindow 2>/dev/null)" = "$win" ] || fail "the restored window is not in front"
echo "ok: a double click on the icon maps the window"

# A minimise leaves no window mapped, not even an iconified one; a second start brings it back.
xdotool windowminimize "$win"
e2e_wait_no_window Verbarium 5 || fail "the minimised window stayed mapped"
sleep 0.3
e2e_alive || fail "minimising ended the program"
[ -z "$(wmctrl -l | grep -w Verbarium || true)" ] || fail "a minimised window is still listed: $(wmctrl -l)"
(cd "$work" && "$VERBARIUM_BIN") >"$E2E_TMP/second.log" 2>&1 && status=0 || status=$?
[ "$status" -eq 0 ] || fail "the second start exited $status"
e2e_wait_window Verbarium 5 >/dev/null || fail "a second start did not bring the minimised window back"
echo "ok: minimising hides to the tray; a second start brings the window back"

# The tray menu, opened over a hidden window, and its Exit.
wmctrl -c Verbarium
e2e_wait_no_window Verbarium 5 || fail "the window is still mapped after closing again"
xdotool mousemove --window "$icon" 11 11 click 3
menu=$(wait_popup) || fail "a right click on the icon opened no menu"
sleep 0.3
e2e_screenshot tray-menu
! xwininfo -id "$win" | grep -q IsViewable || fail "the menu brought the window back"
# From no selection, Up lands on the last item: "E&xit".
xdotool key Up
sleep 0.2
xdotool key Return
e2e_wait_exit 10 || fail "Exit from the tray menu did not end the program"
[ "$E2E_STATUS" -eq 0 ] || fail "Exit from the tray menu ended with status $E2E_STATUS"
wait_no_tray_icon 5 || fail "the icon stayed in the tray after Exit"
echo "ok: the tray menu opens on a right click; Exit ends with status 0 and removes the icon"

# --- "/m": nothing on screen but the icon ---
e2e_start_app "$work" /m
icon=$(e2e_wait_tray_icon 20) || fail "no tray icon after a start with /m"
sleep 1
[ "$(e2e_visible_count Verbarium)" -eq 0 ] || fail "a start with /m mapped the main window"
others=$(xdotool search --onlyvisible --class '^verbarium$' 2>/dev/null | grep -vx "$icon" || true)
[ -z "$others" ] || fail "a start with /m mapped windows besides the icon: $others"
[ -z "$(wmctrl -l | grep -w Verbarium || true)" ] || fail "a start with /m left a window listed: $(wmctrl -l)"
e2e_screenshot tray-start-hidden
double_click_icon
e2e_wait_window Verbarium 5 >/dev/null || fail "a double click did not show the window started with /m"
echo "ok: /m starts with only the icon; a double click shows the window"
kill "$E2E_APP_PID"
wait "$E2E_APP_PID" 2>/dev/null || true
E2E_APP_PID=""
