#!/usr/bin/env bash
# View, options, watch mode and position survive "E&xit" from the tray menu and a new start, a position half
# off the screen too; a start whose settings folder cannot be made shows the administrator-rights box and runs
# all the same.
source "$E2E_LIB"
e2e_start_desktop
work=$(e2e_workdir)
conf="$XDG_CONFIG_HOME/Ostrand/Verbarium.conf"

client_width() {
    placement "$1" | cut -d' ' -f3
}

# Right-clicks the program's icon in trayer and chooses "E&xit" by its access key.
exit_from_tray() {
    local icon="" w
    for w in $(xdotool search --class verbarium 2>/dev/null); do
        if xwininfo -id "$w" | grep -q 'Map State: IsViewable' \
            && [ "$(xwininfo -id "$w" | awk '/Width:/ {print $2}')" -le 64 ]; then
            icon=$w
            break
        fi
    done
    [ -n "$icon" ] || fail "no tray icon window under trayer"
    xdotool mousemove --window "$icon" 10 10 click 3
    sleep 0.7
    e2e_screenshot "settings-tray-menu-$1"
    xdotool key x
}

# --- First start: the shipped vrb.ini, no user settings yet --------------------------------------
e2e_start_app "$work"
win=$(main_window) || fail "the main window did not map"
sleep 0.5
wide=$(client_width "$win")
echo "ok: first start, window $wide px wide"

menu v Down Down Return   # "&View": Toolbar, Status Bar, -, Hide Words Explorer
narrow=$(client_width "$win")
[ "$narrow" -lt "$wide" ] || fail "hiding the word list left the window $narrow px wide (was $wide)"
# The narrow window is the entry view (345) and its margins (24).
[ "$narrow" -eq 369 ] || fail "the narrow window is $narrow px wide, not 369"
menu v Return             # Toolbar off
menu o Down Down Return   # "&Options": Always on Top, Auto Restore, -, Check Clipboard
menu o Return             # Always on Top on
xdotool windowmove "$win" 200 150
sleep 0.5
before=$(placement "$win")
e2e_screenshot settings-changed
echo "ok: view, watch mode and position changed ($before)"

exit_from_tray first
e2e_wait_exit 10 || fail "E&xit from the tray menu did not end the program"
[ "$E2E_STATUS" -eq 0 ] || fail "E&xit ended with status $E2E_STATUS"
[ -f "$conf" ] || fail "no settings file at $conf"
cp "$conf" "$E2E_ARTIFACTS/settings-after-exit.conf"
expected="[1.0.0.0]
WinState=0
ToolBar=No
StatusBar=Yes
WordsExplorer=No
WindowTop=TOP
WindowLeft=LEFT
AoT=Yes
ARA=Yes
CheckClip=Yes
CheckClipSound=No"
top=$(sed -n 's/^WindowTop=//p' "$conf")
left=$(sed -n 's/^WindowLeft=//p' "$conf")
actual=$(sed -e 's/^WindowTop=.*/WindowTop=TOP/' -e 's/^WindowLeft=.*/WindowLeft=LEFT/' "$conf")
[ "$actual" = "$expected" ] || fail "settings file after E&xit:
$(cat "$conf")"
# The stored edge is the frame's: the window manager's border and title lie just outside the client.
[ "$left" -ge 170 ] && [ "$left" -le 200 ] || fail "WindowLeft=$left after moving to 200"
[ "$top" -ge 100 ] && [ "$top" -le 150 ] || fail "WindowTop=$top after moving to 150"
echo "ok: E&xit wrote all ten values (left $left, top $top)"

# The window's left 50 px off the screen: its title bar can still be grabbed, so it comes back there.
sed -i 's/^WindowLeft=.*/WindowLeft=-50/' "$conf"
cp "$conf" "$E2E_ARTIFACTS/settings-before-second-start.conf"

# --- Second start: everything as it was left ----------------------------------------------------
e2e_start_app "$work"
win=$(main_window) || fail "the main window did not map on the second start"
sleep 0.5
after=$(placement "$win")
e2e_screenshot settings-restarted
read -r before_x before_y before_width <<<"$before"
# The client area lies inside the frame by the border's width, the frame's left edge now at -50.
[ "$after" = "$((before_x - left - 50)) $before_y $before_width" ] \
    || fail "the window came back at '$after', left at '$before' and stored at left -50"
cmp -s "$conf" "$E2E_ARTIFACTS/settings-before-second-start.conf" || fail "starting changed the settings file"
echo "ok: second start at left -50, the same top and width ($after)"

# Showing the word list again gives the first width back.
menu v Down Down Return   # now "Show Words Explorer"
width_now=$(client_width "$win")
[ "$width_now" -eq "$wide" ] || fail "showing the word list gave $width_now px, not $wide"
echo "ok: the word list comes back at the first width"
exit_from_tray second
e2e_wait_exit 10 || fail "E&xit from the tray menu did not end the second start"
grep -qx 'WindowLeft=-50' "$conf" && grep -qx "WindowTop=$top" "$conf" \
    || fail "E&xit stored another position: $(grep '^Window' "$conf" | tr '\n' ' ')"
echo "ok: E&xit keeps WindowLeft=-50"

# --- A settings folder that cannot be made ------------------------------------------------------
echo "not a folder" >"$E2E_TMP/blocker"
export XDG_CONFIG_HOME="$E2E_TMP/blocker/config"
e2e_start_app "$work"
box=$(e2e_wait_window 'Error\.\.\.' 15) || fail "no administrator-rights box"
sleep 0.5
e2e_screenshot settings-admin-box
e2e_alive || fail "the program ended at the box"
xdotool windowactivate --sync "$box" key Return 2>/dev/null || xdotool key Return
e2e_wait_no_window 'Error\.\.\.' 5 || fail "the box stayed after Return"
win=$(main_window) || fail "the main window did not map after the box"
sleep 0.5
e2e_screenshot settings-admin-window
# The layout's values: the word list shown, the window where the layout puts it.
[ "$(client_width "$win")" -eq "$wide" ] || fail "without settings the window is $(client_width "$win") px wide"
echo "ok: unwritable settings folder: the box, then the window"

# Leaving says the same again and still ends the program.
exit_from_tray unwritable
box=$(e2e_wait_window 'Error\.\.\.' 10) || fail "no box when saving at E&xit"
xdotool windowactivate --sync "$box" key Return 2>/dev/null || xdotool key Return
e2e_wait_exit 10 || fail "the program did not end after the failed save"
[ "$E2E_STATUS" -eq 0 ] || fail "E&xit ended with status $E2E_STATUS"
echo "ok: E&xit with an unwritable folder: the box, and the program ends"
