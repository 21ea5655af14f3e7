#!/usr/bin/env bash
# Start-up, single instance, closing to the tray, and starts without a dictionary or without speech data.
source "$E2E_LIB"
e2e_start_desktop
work=$(e2e_workdir)

e2e_start_app "$work"
win=$(e2e_wait_window Verbarium 15) || fail "the main window titled Verbarium did not map"
first_pid=$E2E_APP_PID
sleep 0.5
e2e_screenshot startup-window
echo "ok: the window maps"

# A second start hands over to the first and ends with 0 within a second.
xdotool windowminimize "$win" 2>/dev/null || true
e2e_wait_no_window Verbarium 5 || fail "the minimised window stayed mapped"
start=$(date +%s%N)
(cd "$work" && "$VERBARIUM_BIN") >"$E2E_TMP/second.log" 2>&1 && status=0 || status=$?
elapsed_ms=$(( ($(date +%s%N) - start) / 1000000 ))
[ "$status" -eq 0 ] || fail "second start exited $status"
[ "$elapsed_ms" -lt 1000 ] || fail "second start took ${elapsed_ms} ms"
e2e_wait_window Verbarium 5 >/dev/null || fail "the first window did not come back"
# Only the copies this script started count: a Verbarium open elsewhere on the machine is none of its business.
[ "$(pgrep -c -P $$ -f "^$VERBARIUM_BIN")" -eq 1 ] || fail "more than one process runs"
kill -0 "$first_pid" || fail "the first instance ended"
active=$(xdotool getactivewindow getwindowname 2>/dev/null || true)
[ "$active" = "Verbarium" ] || fail "the first window is not in front (active: $active)"
echo "ok: second start handed over in ${elapsed_ms} ms"

# Closing through the window manager hides the window; the process lives on.
wmctrl -c Verbarium
e2e_wait_no_window Verbarium 5 || fail "the window is still mapped after closing"
sleep 0.5
e2e_alive || fail "closing the window ended the program"
echo "ok: closing hides to the tray"
kill "$E2E_APP_PID"; wait "$E2E_APP_PID" 2>/dev/null || true; E2E_APP_PID=""

# Without data.dat: the engine's message, then a non-zero exit.
empty="$E2E_TMP/empty"
mkdir -p "$empty"
e2e_start_app "$empty"
box=$(e2e_wait_window Verbarium 15) || fail "no error box without data.dat"
e2e_screenshot startup-missing-dictionary
xdotool windowactivate --sync "$box" key Return 2>/dev/null || xdotool key Return
e2e_wait_exit 10 || fail "the program did not end after the error"
[ "$E2E_STATUS" -ne 0 ] || fail "a start without a dictionary exited 0"
[ ! -e "$empty/data.dat" ] || fail "the failed open created data.dat"
echo "ok: missing dictionary: message and exit status $E2E_STATUS"

# With espeak-ng's data folder empty there is no engine: its ownerless box, no main window, exit status 1.
nodata="$E2E_TMP/no-espeak-data"
mkdir -p "$nodata"
export ESPEAK_DATA_PATH="$nodata"
e2e_start_app "$work"
unset ESPEAK_DATA_PATH
box=$(e2e_wait_window Error 15) || fail "no message box without speech data"
e2e_screenshot startup-missing-speech-data
[ -z "$(xdotool search --onlyvisible --name '^Verbarium$' 2>/dev/null)" ] || fail "the main window appeared without speech"
xdotool windowactivate --sync "$box" key Return 2>/dev/null || xdotool key Return
e2e_wait_exit 10 || fail "the program did not end after the speech message"
[ "$E2E_STATUS" -eq 1 ] || fail "a start without speech data exited $E2E_STATUS"
echo "ok: missing speech data: message and exit status 1"
