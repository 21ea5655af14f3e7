#!/usr/bin/env bash
# A panel that holds status-notifier items (KDE, XFCE, GNOME's AppIndicator, Wayland panels): the icon registers
# with it, a click on it brings the hidden window back, a right click opens the tray menu, whose "E&xit" ends the
# program with status 0.
source "$E2E_LIB"
e2e_start_desktop notray
e2e_start_status_notifier_host
work=$(e2e_workdir)

# The bus names of the items registered with the panel's watcher.
items() {
    dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
        org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher string:RegisteredStatusNotifierItems \
        | sed -n 's|.*string "\([^/]*\)/.*|\1|p'
}

registered() {
    local name
    for name in $(items); do
        dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.GetConnectionUnixProcessID \
            "string:$name" | grep -qw "uint32 $E2E_APP_PID" && return 0
    done
    return 1
}

e2e_start_app "$work"
win=$(e2e_wait_window Verbarium 20) || fail "the main window did not map"
end=$((SECONDS + 10))
until registered; do
    [ $SECONDS -lt $end ] || fail "the program's item is not registered with the panel: $(items)"
    sleep 0.2
done
echo "ok: the item is registered with the panel"

# The panel runs along the bottom; its only item, the program's, is the first of its status tray.
eval "$(xdotool getwindowgeometry --shell "$(xdotool search --onlyvisible --classname '^xfce4-panel$' | tail -n1)" \
    | sed 's/^/P_/')"
icon_x=$((P_X + 13))
icon_y=$((P_Y + P_HEIGHT / 2))

wmctrl -c Verbarium
e2e_wait_no_window Verbarium 5 || fail "the window is still mapped after closing"
e2e_alive || fail "closing the window ended the program"
sleep 0.5
xdotool mousemove --sync "$icon_x" "$icon_y" click 1
e2e_wait_window Verbarium 5 >/dev/null || fail "a click on the icon did not bring the window back"
echo "ok: a click on the icon brings the hidden window back"

wmctrl -c Verbarium
e2e_wait_no_window Verbarium 5 || fail "the window is still mapped after closing again"
sleep 0.5
xdotool mousemove --sync "$icon_x" "$icon_y" click 3
sleep 1
e2e_screenshot status-notifier-menu
xdotool key x
e2e_wait_exit 10 || fail "E&xit from the panel's menu of the icon did not end the program"
[ "$E2E_STATUS" -eq 0 ] || fail "E&xit ended with status $E2E_STATUS"
echo "ok: a right click opens the tray menu; its E&xit ends with status 0"
