#!/usr/bin/env bash
# The stored window state and position across starts, and the end of the session: a stored minimised state
# starts iconified at the stored place; minimising to the tray is not stored as the window's state; SIGTERM
# keeps the changed settings.
source "$E2E_LIB"
e2e_start_desktop
work=$(e2e_workdir)
conf="$XDG_CONFIG_HOME/Ostrand/Verbarium.conf"
mkdir -p "$(dirname "$conf")"

value() {
    sed -n "s/^$1=//p" "$conf"
}

# The window was stored in state $1, at the place where it first came up.
stored_as() {
    [ "$(value WinState)" = "$1" ] || fail "$2, the window was stored as WinState=$(value WinState)"
    [ "$(value WindowTop)/$(value WindowLeft)" = 96/120 ] \
        || fail "$2, the position moved from 96/120 to $(value WindowTop)/$(value WindowLeft)"
}

exit_from_tray() {
    local icon
    icon=$(e2e_wait_tray_icon 10) || fail "no icon of the program in the tray"
    xdotool mousemove --window "$icon" 11 11 click 3
    sleep 0.7
    xdotool key x
    e2e_wait_exit 10 || fail "E&xit from the tray menu did not end the program"
    [ "$E2E_STATUS" -eq 0 ] || fail "E&xit ended with status $E2E_STATUS"
}

# --- "WinState" 1: iconified from the start, and where it was stored once restored ---
printf '[1.0.0.0]\nWinState=1\nWindowTop=96\nWindowLeft=120\n' >"$conf"
e2e_start_app "$work"
win=$(e2e_listed_window 20) || fail "the program shows no window in the taskbar"
sleep 1
e2e_iconified "$win" || fail "a stored minimised state did not start iconified: $(xprop -id "$win" _NET_WM_STATE)"
[ "$(e2e_visible_count Verbarium)" -le 1 ] || fail "a window is on screen beside the icon"
echo "ok: WinState=1 starts iconified"

wmctrl -i -a "$win"
e2e_wait_window Verbarium 5 >/dev/null || fail "the iconified window did not come back"
sleep 0.5
e2e_screenshot window-state-restored
exit_from_tray
stored_as 0 "restored from the taskbar"
echo "ok: restored from the taskbar, it was where it was stored, and stays there"

# --- Minimised to the tray, then "E&xit": the window itself was normal ---
e2e_start_app "$work"
win=$(e2e_wait_window Verbarium 20) || fail "the main window did not map"
sleep 0.5
xdotool windowminimize "$win"
e2e_wait_no_window Verbarium 5 || fail "the minimised window stayed on screen"
exit_from_tray
stored_as 0 "minimised to the tray"
echo "ok: minimising to the tray stores WinState=0"

# --- The session ends with SIGTERM: the changed options are kept ---
e2e_start_app "$work"
win=$(e2e_wait_window Verbarium 20) || fail "the main window did not map"
sleep 0.5
menu o Return   # "&Options": Always on Top, off as shipped, now on
before=$(cat "$conf")
kill -TERM "$E2E_APP_PID"
e2e_wait_exit 10 || fail "SIGTERM did not end the program"
[ "$E2E_STATUS" -eq 0 ] || fail "SIGTERM ended the program with status $E2E_STATUS"
[ "$(value AoT)" = Yes ] || fail "SIGTERM lost the changed option: $(cat "$conf")"
[ "$(sed 's/^AoT=.*//' "$conf")" = "$(sed 's/^AoT=.*//' <<<"$before")" ] \
    || fail "SIGTERM changed more than the option: $(cat "$conf")"
echo "ok: SIGTERM ends with status 0 and keeps the settings"
