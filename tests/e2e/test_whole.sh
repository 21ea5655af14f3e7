#!/usr/bin/env bash
# The whole program as a user meets it, installed and started from its menu entry, in one sitting: a hidden
# start, a second start, typing,
# following words and going back, speech, the clipboard watch, the view, mail, help and about,
# the tray and its Exit, and a new start that finds everything as it was left.
source "$E2E_LIB"
e2e_start_desktop
conf="$XDG_CONFIG_HOME/Ostrand/Verbarium.conf"
# The program as a user has it: installed (into a throwaway root) and started by its menu entry.
: "${VERBARIUM_INSTALL_ROOT:?}" "${PKG_DATAROOTDIR:?}" "${PKG_PROGRAMDIR:?}"
e2e_menu_command "$VERBARIUM_INSTALL_ROOT" "$VERBARIUM_INSTALL_ROOT$PKG_DATAROOTDIR/applications/verbarium.desktop"
installed_program=$VERBARIUM_INSTALL_ROOT$PKG_PROGRAMDIR/verbarium

step=0
shot() {
    step=$((step + 1))
    e2e_screenshot "$(printf 'whole-%02d-%s' "$step" "$1")"
}

# --- sound server with a null sink whose monitor is recorded ---
e2e_start_sound_sink

# --- a fake mail handler that records the mailto link it gets ---
recorded="$E2E_TMP/mailto.txt"
e2e_fake_mail_handler "$recorded"

# --- helpers ---
# Records the null sink for $1 seconds while the given keys are pressed; prints the RMS amplitude.
speech_rms() {
    local seconds=$1 file="$E2E_TMP/speech-$step.wav" rec
    shift
    parecord --device=e2e.monitor --file-format=wav "$file" &
    rec=$!
    sleep 0.3
    # The keys must reach the main window, not whatever a previous step left focused.
    xdotool windowactivate --sync "$win" 2>/dev/null || true
    xdotool key --clearmodifiers "$@"
    sleep "$seconds"
    kill "$rec"; wait "$rec" 2>/dev/null || true
    sox "$file" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}'
}

loud_enough() {
    awk -v r="$1" 'BEGIN { exit !(r > 0.005) }'
}

# --- "/m": only the icon ---
e2e_start_from_menu /m
icon=$(e2e_wait_tray_icon 20) || fail "no tray icon after a start with /m"
[ "$(readlink "/proc/$E2E_APP_PID/exe")" = "$installed_program" ] || fail "the menu entry did not start $installed_program"
sleep 0.8
[ -z "$(main_window 0 || true)" ] || fail "a start with /m mapped the main window"
shot hidden-start
echo "ok: /m starts with only the tray icon"

# --- a second start shows the window of the first ---
(cd "$HOME" && exec "${E2E_MENU_COMMAND[@]}") >"$E2E_TMP/second.log" 2>&1 && status=0 || status=$?
[ "$status" -eq 0 ] || fail "the second start exited $status"
win=$(main_window 5) || fail "a second start did not show the window"
e2e_alive || fail "the first instance ended"
xdotool windowactivate --sync "$win" 2>/dev/null || true
sleep 0.5
shot second-start
echo "ok: a second start shows the window"

# --- typing letter by letter ---
point 80 $((box_top + 23))
xdotool click 1
sleep 0.2
xdotool type --delay 60 "dictionar"
sleep 0.5
shot typed
entry=$(read_entry)
case "$entry" in
    *"alphabetical list of words"*) ;;
    *) fail "typing \"dictionar\" did not show the entry of \"dictionary\": ${entry:0:200}" ;;
esac
echo "ok: typing shows the entry of \"dictionary\""

# --- following two words, then back along the history ---
point 294 178   # "wordbook", third line of the entry
xdotool click --repeat 2 --delay 80 1
sleep 0.5
[ "$(read_search_box)" = "wordbook" ] || fail "the first double-click did not look up \"wordbook\""
point 339 194   # "lexicon", in the kinds line of wordbook's entry
xdotool click --repeat 2 --delay 80 1
sleep 0.5
shot followed-two
[ "$(read_search_box)" = "lexicon" ] || fail "the second double-click did not look up \"lexicon\""
echo "ok: followed \"wordbook\" and \"lexicon\""

point 33 33     # the arrow part of the first toolbar button
xdotool click 1
sleep 0.6
[ "$(xdotool search --onlyvisible --class '^verbarium$' 2>/dev/null | grep -vx -e "$win" -e "$icon" | wc -l)" -ge 1 ] \
    || fail "the arrow of the back button opened no menu"
shot back-menu
# From no selection, Up lands on the last, oldest item.
xdotool key Up
sleep 0.2
xdotool key Return
sleep 0.6
back=$(read_search_box)
shot went-back
# The menu lists the followed words newest first: "lexicon", "wordbook".
[ "$back" = "wordbook" ] || fail "the back drop-down put \"$back\" into the search box"
entry=$(read_entry)
[ -n "$entry" ] || fail "no entry after going back"
echo "ok: the back drop-down returned to \"$back\""

# --- speech: the word, then the entry ---
xdotool windowactivate --sync "$win" 2>/dev/null || true
rms=$(speech_rms 1.5 ctrl+t)
# The sound server may still be warming up its sink on the very first text: one more try.
loud_enough "$rms" || rms=$(speech_rms 1.5 ctrl+t)
loud_enough "$rms" || fail "speaking the word reached no sound (RMS $rms)"
echo "ok: Ctrl+T spoke the word (RMS $rms)"
rms=$(speech_rms 2 ctrl+w)
xdotool key --clearmodifiers ctrl+o
loud_enough "$rms" || fail "speaking the entry reached no sound (RMS $rms)"
echo "ok: Ctrl+W spoke the entry (RMS $rms)"
shot spoken

# --- the clipboard watch ---
menu o Down Down Return   # "&Options": Always on Top, Auto Restore, -, Check Clipboard
printf 'serendipity' | xclip -selection clipboard
sleep 1
shot clipboard-lookup
entry=$(read_entry)
case "$entry" in
    *"fortunate discoveries"*) ;;
    *) fail "the copied word was not looked up: ${entry:0:200}" ;;
esac
echo "ok: a word copied with xclip was looked up"

# --- hiding the word list ---
wide=$(placement "$win" | cut -d' ' -f3)
menu v Down Down Return   # "&View": Toolbar, Status Bar, -, Hide Words Explorer
narrow=$(placement "$win" | cut -d' ' -f3)
[ "$narrow" -lt "$wide" ] || fail "hiding the word list left the window $narrow px wide (was $wide)"
shot list-hidden
echo "ok: the word list is hidden ($wide -> $narrow px)"

# --- mail to the fake handler ---
menu f d                  # "&File", "Sen&d word definition"
for _ in $(seq 100); do
    [ -s "$recorded" ] && break
    sleep 0.1
done
[ -s "$recorded" ] || fail "the mail handler received nothing"
case "$(cat "$recorded")" in
    mailto:\?*subject=definitions%3A%20serendipity*) ;;
    *) fail "the mail handler got: $(head -c 200 "$recorded")" ;;
esac
[ "$(e2e_visible_count Error)" -eq 0 ] || fail "an error box appeared although the handler took the mail"
shot mail-sent
echo "ok: the entry went to the mail handler"

# --- help, then the about panel ---
menu h Return             # "&Help": Contents and Index
help=$(e2e_wait_window 'Verbarium Help' 10) || fail "the help window did not open"
sleep 0.5
shot help
wmctrl -c 'Verbarium Help'
e2e_wait_no_window 'Verbarium Help' 5 || fail "the help window did not close"
before_about=$(import -window "$win" png:- | convert png:- -format '%#' info:)
menu h Up Return          # the last item: "&About..."
shot about
after_about=$(import -window "$win" png:- | convert png:- -format '%#' info:)
[ "$before_about" != "$after_about" ] || fail "the about panel did not change the window"
menu h Up Return          # and away again
echo "ok: help window and about panel"

# --- leave it somewhere, close to the tray, Exit from the tray menu ---
xdotool windowmove "$win" 200 150
sleep 0.5
left_at=$(placement "$win")
wmctrl -c Verbarium
e2e_wait_no_window Verbarium 5 || true
sleep 0.3
[ -z "$(main_window 0 || true)" ] || fail "closing left the main window mapped"
e2e_alive || fail "closing ended the program"
shot closed-to-tray
xdotool mousemove --window "$icon" 11 11 click 3
sleep 0.7
shot tray-menu
xdotool key x
e2e_wait_exit 10 || fail "E&xit from the tray menu did not end the program"
[ "$E2E_STATUS" -eq 0 ] || fail "E&xit ended with status $E2E_STATUS"
[ -f "$conf" ] || fail "no settings file at $conf"
cp "$conf" "$E2E_ARTIFACTS/whole-settings.conf"
grep -qx 'WordsExplorer=No' "$conf" || fail "the hidden word list was not saved: $(cat "$conf")"
grep -qx 'CheckClip=Yes' "$conf" || fail "the watch mode was not saved: $(cat "$conf")"
echo "ok: E&xit from the tray saved the settings ($left_at)"

# --- a new start finds everything as it was left ---
e2e_start_from_menu
win=$(main_window 15) || fail "the main window did not map on the new start"
sleep 0.5
shot restarted
again=$(placement "$win")
[ "$again" = "$left_at" ] || fail "the window came back at '$again', left at '$left_at'"
eval "$(xdotool getwindowgeometry --shell "$win")"
echo "window geometry now ${X},${Y} ${WIDTH}x${HEIGHT}"
[ "$WIDTH" -eq "$narrow" ] || fail "the word list is not hidden after the new start ($WIDTH px)"
grep -qx 'CheckClip=Yes' "$conf" || fail "the new start lost the watch mode"
printf 'lexicon' | xclip -selection clipboard
sleep 1
entry=$(read_entry 20)   # the word list is hidden: the entry starts at the window's left
case "$entry" in
    *"wordbook"*) ;;
    *) fail "the watch mode is off after the new start: ${entry:0:200}" ;;
esac
shot restarted-watching
echo "ok: the new start has the word list hidden, the watch on and the window where it was left"
kill "$E2E_APP_PID"
wait "$E2E_APP_PID" 2>/dev/null || true
E2E_APP_PID=""
