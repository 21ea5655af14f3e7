# Shared harness of the end-to-end tests: a real X server, window manager and tray, a private
# home for the program, and helpers to drive and watch it from outside.
set -euo pipefail

: "${VERBARIUM_BIN:?set by the test runner}"
: "${VERBARIUM_DATA_DAT:?set by the test runner}"
E2E_ARTIFACTS=${E2E_ARTIFACTS:-$PWD/e2e-artifacts}
mkdir -p "$E2E_ARTIFACTS"

E2E_TMP=$(mktemp -d /tmp/verbarium-e2e.XXXXXX)
E2E_PIDS=()
E2E_APP_PID=""

e2e_cleanup() {
    local pid
    for pid in $E2E_APP_PID "${E2E_PIDS[@]}"; do
        [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    e2e_screenshot "failure-$(basename "$0" .sh)" || true
    exit 1
}

# Every test process gets its own home, settings and runtime folder.
e2e_private_home() {
    export HOME="$E2E_TMP/home"
    export XDG_CONFIG_HOME="$HOME/.config"
    export XDG_RUNTIME_DIR="$E2E_TMP/run"
    mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    unset WAYLAND_DISPLAY QT_QPA_PLATFORM SESSION_MANAGER
    # No session bus unless a test starts one: asking for a missing one would start a stray one for the display.
    export DBUS_SESSION_BUS_ADDRESS="unix:path=$XDG_RUNTIME_DIR/no-session-bus"
    # The built-in dictionary alone, whatever dictd packages the machine has; the added-dictionaries test opens them.
    export XDG_CACHE_HOME="$HOME/.cache"
    export VERBARIUM_DICTIONARY_FOLDERS=""
}

# Starts Xvfb on a free display, openbox, and (unless "notray") a trayer notification area.
e2e_start_desktop() {
    e2e_private_home
    exec 5>"$E2E_TMP/display"
    Xvfb -displayfd 5 -screen 0 1280x800x24 -nolisten tcp >"$E2E_TMP/xvfb.log" 2>&1 &
    E2E_PIDS+=($!)
    local i
    for i in $(seq 100); do
        [ -s "$E2E_TMP/display" ] && break
        sleep 0.05
    done
    export DISPLAY=":$(head -n1 "$E2E_TMP/display")"
    openbox >"$E2E_TMP/openbox.log" 2>&1 &
    E2E_PIDS+=($!)
    if [ "${1:-}" != "notray" ]; then
        trayer --edge bottom --align right --widthtype pixel --width 120 --height 24 --transparent false \
            --tint 0x404040 >"$E2E_TMP/trayer.log" 2>&1 &
        E2E_PIDS+=($!)
    fi
    sleep 0.5
}

# A working folder holding the dictionary, as the installed launcher provides.
e2e_workdir() {
    local dir="$E2E_TMP/work"
    mkdir -p "$dir"
    ln -sf "$VERBARIUM_DATA_DAT" "$dir/data.dat"
    echo "$dir"
}

# Starts the program in the background in folder $1 with the remaining arguments.
e2e_start_app() {
    local dir=$1
    shift
    (cd "$dir" && exec "$VERBARIUM_BIN" "$@") >"$E2E_TMP/app.log" 2>&1 &
    E2E_APP_PID=$!
}

# The command of the desktop entry $2 of a layout installed under the root $1, as the applications menu
# runs it: its absolute paths moved into the root and its field codes dropped. Sets E2E_MENU_COMMAND.
e2e_menu_command() {
    local root=$1 desktop=$2 word words
    [ -f "$desktop" ] || fail "no desktop entry at $desktop"
    read -r -a words <<<"$(sed -n 's/^Exec=//p' "$desktop")"
    E2E_MENU_COMMAND=()
    for word in "${words[@]}"; do
        case $word in
            %?) ;;
            /*) E2E_MENU_COMMAND+=("$root$word") ;;
            *) E2E_MENU_COMMAND+=("$word") ;;
        esac
    done
    [ "${#E2E_MENU_COMMAND[@]}" -ge 1 ] && [ -x "${E2E_MENU_COMMAND[0]}" ] \
        || fail "the desktop entry's Exec does not name an installed program"
}

# Starts the program as the menu does, from the home folder where no dictionary lies, in the background.
# The launcher execs the program, which so keeps the process id.
e2e_start_from_menu() {
    (cd "$HOME" && exec "${E2E_MENU_COMMAND[@]}" "$@") >"$E2E_TMP/app.log" 2>&1 &
    E2E_APP_PID=$!
}

# Menu bar and toolbar sit above the scroll box that holds the controls (window coordinates): the top of
# that box, which the pointing helpers below measure from.
box_top=47

# Starts the program in folder $1 (further arguments go to it), waits for its main window and activates it;
# the window's id is left in E2E_WIN.
e2e_open_main_window() {
    e2e_start_app "$@"
    E2E_WIN=$(e2e_wait_window Verbarium 15) || fail "the main window titled Verbarium did not map"
    xdotool windowactivate --sync "$E2E_WIN" 2>/dev/null || true
    sleep 0.5
}

# The main window's id, waiting up to $1 seconds (15 if not given; 0 looks once). The tray icon is also a
# visible window named "Verbarium": the main window is the wide one.
main_window() {
    local end=$((SECONDS + ${1:-15})) w width
    while :; do
        for w in $(xdotool search --onlyvisible --name '^Verbarium$' 2>/dev/null); do
            width=$(xwininfo -id "$w" 2>/dev/null | awk '/Width:/ {print $2}')
            if [ -n "$width" ] && [ "$width" -gt 100 ]; then
                echo "$w"
                return 0
            fi
        done
        [ $SECONDS -lt $end ] || return 1
        sleep 0.1
    done
}

# "x y width" of a window's client area on the screen.
placement() {
    xwininfo -id "$1" | awk '/Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4} /Width:/ {w=$2}
                             END {print x, y, w}'
}

# Waits until a visible window named exactly $1 exists; prints its id.
e2e_wait_window() {
    local name=$1 timeout=${2:-10} id=""
    local end=$((SECONDS + timeout))
    while [ $SECONDS -lt $end ]; do
        id=$(xdotool search --onlyvisible --name "^${name}\$" 2>/dev/null | head -n1 || true)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

e2e_wait_no_window() {
    local name=$1 timeout=${2:-10}
    local end=$((SECONDS + timeout))
    while [ $SECONDS -lt $end ]; do
        xdotool search --onlyvisible --name "^${name}\$" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    return 1
}

e2e_visible_count() {
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | wc -l
}

e2e_screenshot() {
    import -window root "$E2E_ARTIFACTS/$1.png" 2>/dev/null
}

# Waits for the program to end and puts its exit status in E2E_STATUS (not in a subshell: only
# this shell can collect its child's status).
e2e_wait_exit() {
    local timeout=${1:-10}
    local end=$((SECONDS + timeout))
    while kill -0 "$E2E_APP_PID" 2>/dev/null; do
        [ $SECONDS -lt $end ] || return 1
        sleep 0.1
    done
    E2E_STATUS=0
    wait "$E2E_APP_PID" || E2E_STATUS=$?
    E2E_APP_PID=""
}

e2e_alive() {
    kill -0 "$E2E_APP_PID" 2>/dev/null
}

# The program's icon as trayer embeds it: a viewable 22x22 window of the program inside the panel.
e2e_tray_icon() {
    local panel w
    panel=$(xdotool search --onlyvisible --classname '^panel$' 2>/dev/null | head -n1)
    [ -n "$panel" ] || return 1
    eval "$(xdotool getwindowgeometry --shell "$panel" | sed 's/^/P_/')"
    for w in $(xdotool search --onlyvisible --class '^verbarium$' 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$w")"
        if [ "$WIDTH" -eq 22 ] && [ "$HEIGHT" -eq 22 ] && [ "$X" -ge "$P_X" ] && [ "$Y" -ge "$P_Y" ] \
            && [ $((X + WIDTH)) -le $((P_X + P_WIDTH)) ] && [ $((Y + HEIGHT)) -le $((P_Y + P_HEIGHT)) ]; then
            echo "$w"
            return 0
        fi
    done
    return 1
}

e2e_wait_tray_icon() {
    local end=$((SECONDS + ${1:-10})) id
    while [ $SECONDS -lt $end ]; do
        id=$(e2e_tray_icon) && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}


# Registers a fake mail handler that writes the mailto link it is given to the file $1, and makes the
# mail hand-off find only that handler, whatever the machine has installed.
e2e_fake_mail_handler() {
    local recorded=$1
    export XDG_DATA_HOME="$HOME/.local/share"
    export BROWSER=false
    unset MAILER XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID MATE_DESKTOP_SESSION_ID
    mkdir -p "$XDG_DATA_HOME/applications"
    cat >"$E2E_TMP/fake-mail.sh" <<EOF
#!/bin/sh
printf '%s' "\$1" >"$recorded.part" && mv "$recorded.part" "$recorded"
EOF
    chmod +x "$E2E_TMP/fake-mail.sh"
    cat >"$XDG_DATA_HOME/applications/verbarium-fake-mail.desktop" <<EOF
[Desktop Entry]
Type=Application
Name=Fake mail
Exec=$E2E_TMP/fake-mail.sh %u
MimeType=x-scheme-handler/mailto;
NoDisplay=true
EOF
    xdg-mime default verbarium-fake-mail.desktop x-scheme-handler/mailto
}

# A private sound server whose null sink "e2e" is the default output; record its monitor.
e2e_start_sound_sink() {
    export PULSE_RUNTIME_PATH="$XDG_RUNTIME_DIR/pulse"
    mkdir -p "$PULSE_RUNTIME_PATH"
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --disable-shm=true \
        --load="module-null-sink sink_name=e2e" --load="module-native-protocol-unix" >"$E2E_TMP/pulse.log" 2>&1 &
    E2E_PIDS+=($!)
    for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
    pactl info >/dev/null 2>&1 || fail "the sound server did not start"
    pactl set-default-sink e2e
}

# Helpers for tests that drive the main window: they use the test's $win (the main window) and
# $box_top (above).

# Moves the pointer to x, y inside the window's client area.
point() {
    xdotool mousemove --sync --window "$win" "$1" "$2"
}

# Selects the entry view's text by dragging across it and prints the primary selection. $1: where the text
# starts in the window, beside the word list unless the list is hidden.
read_entry() {
    local left=${1:-182}
    point "$left" $((box_top + 52))
    xdotool mousedown 1
    point $((left + 218)) $((box_top + 150))
    point $((left + 318)) $((box_top + 280))
    xdotool mouseup 1
    sleep 0.3
    xclip -o -selection primary 2>/dev/null || true
}

# Selects the search box's text and prints it.
read_search_box() {
    point 80 $((box_top + 23))
    xdotool click --repeat 2 --delay 80 1
    sleep 0.3
    xclip -o -selection primary 2>/dev/null || true
}

# Opens a main menu by its access key and walks it with the given keys.
menu() {
    local letter=$1
    shift
    xdotool windowactivate --sync "$win" 2>/dev/null || true
    xdotool key --clearmodifiers "alt+$letter"
    sleep 0.4
    xdotool key "$@"
    sleep 0.5
}

# A panel that holds status-notifier items, the way KDE, XFCE, GNOME's AppIndicator and Wayland panels hold icons:
# a private session bus and xfce4-panel with only its status tray, on the running X server.
e2e_start_status_notifier_host() {
    local conf="$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml" end
    mkdir -p "$conf"
    cp "$(dirname "${BASH_SOURCE[0]}")/xfce4-panel.xml" "$conf/"
    eval "$(dbus-launch --sh-syntax)"
    E2E_PIDS+=("$DBUS_SESSION_BUS_PID")
    xfce4-panel >"$E2E_TMP/panel.log" 2>&1 &
    E2E_PIDS+=($!)
    end=$((SECONDS + 15))
    until dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
        string:org.kde.StatusNotifierWatcher 2>/dev/null | grep -q true; do
        [ $SECONDS -lt $end ] || fail "the panel registered no status-notifier watcher"
        sleep 0.2
    done
}

# The program's window as the window manager lists it (a taskbar entry), iconified or not; prints its id.
e2e_listed_window() {
    local end=$((SECONDS + ${1:-10})) id
    while [ $SECONDS -lt $end ]; do
        id=$(wmctrl -lp 2>/dev/null | awk -v pid="$E2E_APP_PID" '$3 == pid {print $1; exit}')
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

e2e_iconified() {
    xprop -id "$1" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_HIDDEN
}

# A session bus with the accessibility bus beside it, as a desktop session has, and atspi: the AT-SPI driver
# (helpers/atspi_driver.py) aimed at the program started by e2e_start_app.
e2e_start_atspi() {
    eval "$(dbus-launch --sh-syntax)"
    E2E_PIDS+=("$DBUS_SESSION_BUS_PID")
    /usr/libexec/at-spi-bus-launcher --launch-immediately >"$E2E_TMP/at-spi.log" 2>&1 &
    E2E_PIDS+=($!)
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
}
E2E_ATSPI_DRIVER="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/helpers/atspi_driver.py"
atspi() { /usr/bin/python3 "$E2E_ATSPI_DRIVER" "$E2E_APP_PID" "$@"; }
