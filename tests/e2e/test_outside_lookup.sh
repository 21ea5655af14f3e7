#!/usr/bin/env bash
# Words from outside the window: "verbarium --lookup WORD" and "--lookup-selection" (the highlighted text) reach
# the running program, which looks them up and comes back from the taskbar; without one, the lookup starts it.
source "$E2E_LIB"
e2e_start_desktop notray
work=$(e2e_workdir)

outside() {
    (cd "$work" && exec "$VERBARIUM_BIN" "$@") >"$E2E_TMP/outside.log" 2>&1
}
# The pointer leaves the box first: a synchronous move to where it already is waits for a motion that never comes.
search_box_text() {
    xdotool mousemove 5 5
    read_search_box
}

# No program runs: the lookup starts one on that word.
e2e_start_app "$work" --lookup dictionary
win=$(e2e_wait_window Verbarium 20) || fail "--lookup with no program running opened no window"
sleep 0.5
[ "$(search_box_text)" = dictionary ] || fail "the started program does not show \"dictionary\""
echo "ok: --lookup with no program running starts one on the word"

# The running program, minimised, is handed a word.
xdotool windowminimize "$win"
end=$((SECONDS + 5))
until e2e_iconified "$win"; do [ $SECONDS -lt $end ] || fail "the window did not minimise"; sleep 0.1; done
outside --lookup wordbook || fail "--lookup ended with status $?: $(cat "$E2E_TMP/outside.log")"
sleep 0.3
e2e_iconified "$win" && fail "the minimised window was not restored"
[ "$(search_box_text)" = wordbook ] || fail "the running program does not show \"wordbook\""
e2e_screenshot outside-lookup
echo "ok: --lookup hands the word to the running program, which comes back from the taskbar"

# The highlighted text, blanks around it, goes the same way.
printf '  lexicon\n' | xclip -selection primary -loops 1 &
sleep 0.3
outside --lookup-selection || fail "--lookup-selection ended with status $?: $(cat "$E2E_TMP/outside.log")"
sleep 0.3
[ "$(search_box_text)" = lexicon ] || fail "the running program does not show the selected \"lexicon\""
echo "ok: --lookup-selection looks the highlighted text up"

# An owner of the selection that never answers costs the time limit, not a frozen command.
"$CLIPBOARD_OWNER" silent primary >"$E2E_TMP/owner.log" &
E2E_PIDS+=($!)
end=$((SECONDS + 5))
until grep -q ready "$E2E_TMP/owner.log"; do [ $SECONDS -lt $end ] || fail "the silent owner did not start"; sleep 0.1; done
status=0
timeout 5 "$VERBARIUM_BIN" --lookup-selection >"$E2E_TMP/outside.log" 2>&1 || status=$?
[ "$status" -eq 1 ] || fail "--lookup-selection with a silent owner ended with status $status"
grep -q "did not answer within 300 ms" "$E2E_TMP/outside.log" || fail "no word about the silent owner: $(cat "$E2E_TMP/outside.log")"
echo "ok: a silent selection owner is reported, status 1"

e2e_alive || fail "the program ended"
[ "$(e2e_visible_count Verbarium)" -eq 1 ] || fail "$(e2e_visible_count Verbarium) windows after the lookups"
echo "ok: one program and one window after the lookups"
