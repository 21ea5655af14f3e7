#!/usr/bin/env bash
# A word typed into the running program; what the window then shows is read back from outside:
# the entry view's text through the primary selection, and a screenshot.
source "$E2E_LIB"
e2e_start_desktop notray
work=$(e2e_workdir)

e2e_open_main_window "$work"
win=$E2E_WIN




e2e_screenshot lookup-start
before=$(read_entry)
[ -n "$before" ] || fail "no text could be selected in the entry view at start"

# Back to the search box, empty at start, and type as a user would.
point 80 $((box_top + 23))
xdotool click 1
sleep 0.2
xdotool type --delay 60 "dictionar"
sleep 0.5
e2e_screenshot lookup-typed
after=$(read_entry)
echo "entry after typing: $(echo "$after" | tr '\n' ' ' | cut -c1-160)"
[ "$after" != "$before" ] || fail "the entry did not change after typing"
case "$after" in
    *"alphabetical list of words"*) ;;
    *) fail "the entry of \"dictionary\" is not shown: ${after:0:200}" ;;
esac
# The box keeps the text as typed; it is not completed to the headword found.
typed=$(read_search_box)
[ "$typed" = "dictionar" ] || fail "the search box holds \"$typed\""
echo "ok: typing \"dictionar\" shows the entry of \"dictionary\" and the box keeps \"dictionar\""

# A double-click on "wordbook" (third line of the entry) looks that word up in turn.
point 294 178
xdotool click --repeat 2 --delay 80 1
sleep 0.5
e2e_screenshot lookup-followed
followed=$(read_search_box)
[ "$followed" = "wordbook" ] || fail "the double-click put \"$followed\" into the search box"
entry=$(read_entry)
[ "$entry" != "$after" ] || fail "the entry did not change after the double-click"
echo "ok: double-clicking \"wordbook\" looks it up: $(echo "$entry" | tr '\n' ' ' | cut -c1-100)"
e2e_alive || fail "the program ended"
