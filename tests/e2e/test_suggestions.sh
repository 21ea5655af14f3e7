#!/usr/bin/env bash
# A misspelling typed into the real program on the full dictionary: the line over the entry offers the
# word meant, and Tab then Enter looks it up. Needs Hunspell's en_US dictionary (hunspell-en-us).
source "$E2E_LIB"
[ -f /usr/share/hunspell/en_US.dic ] || { echo "skip: hunspell-en-us is not installed"; exit 0; }
e2e_start_desktop notray
work=$(e2e_workdir)

e2e_start_app "$work"
win=$(e2e_wait_window Verbarium 15) || fail "the main window titled Verbarium did not map"
xdotool windowactivate --sync "$win" 2>/dev/null || true
sleep 1
box_top=47

point 80 $((box_top + 23))
xdotool click 1
sleep 0.2
xdotool type --delay 60 "recieve"
sleep 0.6
e2e_screenshot suggestions-recieve
# Tab from the search box goes to the line's first word, Enter follows it.
xdotool key Tab
sleep 0.2
xdotool key Return
sleep 0.5
e2e_screenshot suggestions-followed
chosen=$(read_search_box)
[ "$chosen" = "receive" ] || fail "Tab and Enter after \"recieve\" put \"$chosen\" into the search box"
entry=$(read_entry)
case "$entry" in
    *"get something"*|*"receive"*|*"come into possession"*) ;;
    *) fail "the entry of \"receive\" is not shown: ${entry:0:200}" ;;
esac
echo "ok: \"recieve\" offers \"receive\" first, and choosing it looks it up"
e2e_alive || fail "the program ended"
