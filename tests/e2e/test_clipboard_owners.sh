#!/usr/bin/env bash
# Clipboard owners that misbehave: one that never answers must not hold up the window, and one that
# offers only a list of files gives the clipboard watch nothing to look up.
source "$E2E_LIB"
: "${CLIPBOARD_OWNER:?set by the test runner}"
e2e_start_desktop notray

mkdir -p "$XDG_CONFIG_HOME/Ostrand"
printf '[1.0.0.0]\nCheckClip=Yes\nCheckClipSound=No\nARA=No\n' >"$XDG_CONFIG_HOME/Ostrand/Verbarium.conf"
work=$(e2e_workdir)
e2e_open_main_window "$work"
win=$E2E_WIN

# Starts the test owner in mode $1 and waits until it holds the clipboard.
owner_pid=""
take_clipboard() {
    [ -z "$owner_pid" ] || { kill "$owner_pid" 2>/dev/null || true; wait "$owner_pid" 2>/dev/null || true; }
    coproc OWNER { exec "$CLIPBOARD_OWNER" "$1"; }
    owner_pid=$OWNER_PID
    E2E_PIDS+=("$owner_pid")
    local line=""
    read -r -t 5 line <&"${OWNER[0]}" || true
    [ "$line" = ready ] || fail "the test owner did not take the clipboard ($1)"
}

# The search box's text, read back from the program itself: it answers only while its window's thread runs.
box_text() {
    # Without --sync: it waits for a motion that never comes when the pointer is there already.
    xdotool mousemove --window "$win" 80 $((box_top + 23))
    xdotool click --repeat 2 --delay 80 1
    sleep 0.2
    timeout 2 xclip -o -selection primary 2>/dev/null || echo "<no answer>"
}

take_clipboard silent
point 80 $((box_top + 23))
xdotool click 1
start=$SECONDS
xdotool key --delay 60 ctrl+a z e b r a
sleep 0.3
text=$(box_text)
[ "$text" = zebra ] || fail "typing with a silent clipboard owner left the box at '$text'"
# Each key used to wait up to ten seconds for the owner; five keys and the read-back take well under one.
[ $((SECONDS - start)) -lt 8 ] || fail "the window stalled while the owner stayed silent"
e2e_screenshot owners-silent
echo "ok: typing goes on while the clipboard owner never answers"

# The watch passes over the silent owner and takes the next good copy.
printf 'serendipity' | xclip -selection clipboard
sleep 1.5
text=$(box_text)
[ "$text" = serendipity ] || fail "the copy after the silent owner was not looked up (box: '$text')"
echo "ok: the next good copy is looked up"

# A file manager's copy: a list of files and no text.
take_clipboard urilist
sleep 1.5
text=$(box_text)
[ "$text" = serendipity ] || fail "a copied file list reached the search box ('$text')"
echo "ok: a list of files is not taken as text"
