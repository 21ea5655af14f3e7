#!/usr/bin/env bash
# "Find in Entries" on the real program: Ctrl+F opens the panel, a description finds the word, Enter
# shows its entry in the main window with the search box set to it; a pattern lists headwords.
source "$E2E_LIB"
e2e_start_desktop notray
work=$(e2e_workdir)

e2e_open_main_window "$work"
win=$E2E_WIN

xdotool key --clearmodifiers ctrl+f
panel=$(e2e_wait_window "Find in Entries" 10) || fail "Ctrl+F opened no window titled Find in Entries"
xdotool windowactivate --sync "$panel" 2>/dev/null || true
xdotool type --delay 40 "fear of open spaces"
sleep 1.5
e2e_screenshot find-results
xdotool key Return
sleep 0.8
e2e_screenshot find-chosen
box=$(read_search_box)
[ "$box" = "agoraphobia" ] || fail "Enter on the best result put \"$box\" into the search box"
entry=$(read_entry)
case "$entry" in
    *"fear of open spaces"*) ;;
    *) fail "the entry of agoraphobia is not shown: ${entry:0:200}" ;;
esac
echo "ok: \"fear of open spaces\" finds agoraphobia first and Enter shows its entry"

# A pattern: the headwords it matches, the chosen one shown.
xdotool windowactivate --sync "$panel" 2>/dev/null || true
xdotool key ctrl+a
xdotool type --delay 40 "agoraphob?c"
sleep 0.5
xdotool key Return
sleep 0.8
box=$(read_search_box)
[ "$box" = "agoraphobic" ] || fail "the pattern agoraphob?c led to \"$box\""
echo "ok: the pattern agoraphob?c finds agoraphobic"

# Esc closes the panel; the program goes on.
xdotool windowactivate --sync "$panel" 2>/dev/null || true
xdotool key Escape
e2e_wait_no_window "Find in Entries" 5 || fail "Esc did not close the panel"
e2e_alive || fail "the program ended"
echo "ok: Esc closes the panel"
